#pragma once

// The wait cursor shown around every portal call. The desktop application
// installs the hourglass; the command line installs nothing.
class IBusyIndicator {
public:
    virtual ~IBusyIndicator() = default;
    // Remembers what is shown now and shows the wait indication.
    virtual void Begin() = 0;
    // Restores what Begin remembered. Calls nest: each End undoes one Begin.
    virtual void End() = 0;
};

// The process-wide indicator; null (the default) shows nothing. The caller
// keeps the object alive while it is installed.
void SetBusyIndicator(IBusyIndicator* indicator) noexcept;

// Shows the wait indication for its lifetime, so it is restored on every way
// out of the call it guards.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    IBusyIndicator* Indicator;
};
