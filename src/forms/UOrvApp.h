#pragma once

#include "UBusyCursor.h"

#include <QString>

#include <memory>

class TDMORV;

// The application's title; it also titles the application-wide error box.
inline QString OrvAppTitle() {
    return QStringLiteral("ORV Duriza");
}

// The hourglass shown around portal calls and long handlers.
class THourglass : public IBusyIndicator {
public:
    void Begin() override;
    void End() override;
};

// The application-wide reference to the client core. The windows reach the
// core through DMORV() at the moment of use and never keep their own pointer,
// because the configuration dialog replaces it.
class TOrvApp {
public:
    // Becomes the application's instance and installs the hourglass.
    TOrvApp();
    ~TOrvApp();
    TOrvApp(const TOrvApp&) = delete;
    TOrvApp& operator=(const TOrvApp&) = delete;

    static TOrvApp& Instance();

    // Raises when there is no core, which only a failed start-up leaves.
    TDMORV& Core() const;
    bool HasCore() const noexcept;

    // Makes a new core from the stored settings and only then drops the old
    // one, if any, so a failure leaves the old core in place and nothing
    // dangling; raises what the core's constructor raises.
    void ReplaceCore();

private:
    std::unique_ptr<TDMORV> CoreInstance;
    THourglass Hourglass;
    TOrvApp* Previous;
};

// The application's client core, reached at the moment of use.
TDMORV& DMORV();
