#pragma once

// What every window test needs: settings in a scratch folder, the portal
// simulator in-process on a free loopback port with a small known account,
// the application-wide core, and message boxes answered without showing.
// Without the simulator (ORV_FORMS_TEST_SIM 0, on Windows) only the
// dialog helpers are there.

#include "UDialogs.h"
#include "UOrvApp.h"
#include "URegistry.h"
#if ORV_FORMS_TEST_SIM
#include "USimServer.h"
#endif

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class QDialog;
class QTimer;
class TFileRegistry;

namespace FormsTest {

inline constexpr char Subjekt[] = "30012345";
inline constexpr char Osoba[] = "anna";
inline constexpr char Heslo[] = "Tajné-Heslo 1";

// Keeps the test away from the user's own configuration: call first in
// initTestCase, before anything reads a setting.
void IsolateConfiguration();

#if ORV_FORMS_TEST_SIM
class TFixture {
public:
    TFixture();
    ~TFixture();
    TFixture(const TFixture&) = delete;
    TFixture& operator=(const TFixture&) = delete;

    Sim::TSimServer& Server() { return *SimServer; }
    QString Url() const;
    QString TempPath(const QString& name) const;

    // Stores the simulator's URL and the account's credentials as settings.
    void StoreAccountSettings();
    // Creates the application's core from the stored settings.
    void CreateCore();

    // The account's data on the simulator: submissions received the given
    // hours ago, each with a receipt document one minute later.
    struct TItem {
        QString Id;
        QString Biznis;
        double HoursAgo;
    };
    void SetData(const std::vector<TItem>& podania);
    bool PisomnostPrecitana(const QString& id);

    // The machine hive's text (registry export format).
    void SetMachineHive(const QByteArray& text);
    // The registry the fixture installed, for tests that wrap it.
    IRegistry& FileRegistryRef();
    // How many requests of the operation the simulator has answered.
    int Requests(const QString& operation) const;

private:
    QTemporaryDir Dir;
    std::unique_ptr<TFileRegistry> FileRegistry;
    std::unique_ptr<TRegistryOverride> RegistryOverride;
    std::unique_ptr<Sim::TSimServer> SimServer;
    std::unique_ptr<TOrvApp> App;
    mutable std::mutex LogMutex;
    std::map<QString, int> Counts;
};
#endif

// Runs action on the next modal dialog as soon as it shows, then closes it
// if the action left it open; for windows that exec() themselves. Watches
// for as long as it lives.
class TOnModal {
public:
    explicit TOnModal(std::function<void(QDialog*)> action);
    ~TOnModal();
    TOnModal(const TOnModal&) = delete;
    TOnModal& operator=(const TOnModal&) = delete;

    // How many dialogs it has handled (at most one).
    int Count() const { return Handled; }

private:
    std::unique_ptr<QTimer> Timer;
    std::function<void(QDialog*)> Action;
    int Handled = 0;
};

// The error boxes shown so far, their texts in order.
QStringList ShownErrors();

// The named child of a window; a missing one ends the test at once, since
// every later step would only fail less clearly.
template <class T> T* FindChild(const QObject* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

} // namespace FormsTest
