#include "UOrvApp.h"

#include "UDMORV.h"
#include "UOrvError.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace {
TOrvApp* CurrentApp = nullptr;
} // namespace

void THourglass::Begin() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void THourglass::End() {
    QGuiApplication::restoreOverrideCursor();
}

TOrvApp::TOrvApp()
    : Previous(CurrentApp) {
    CurrentApp = this;
    SetBusyIndicator(&Hourglass);
}

TOrvApp::~TOrvApp() {
    CoreInstance.reset();
    SetBusyIndicator(nullptr);
    CurrentApp = Previous;
    if (CurrentApp)
        SetBusyIndicator(&CurrentApp->Hourglass);
}

TOrvApp& TOrvApp::Instance() {
    if (!CurrentApp)
        throw TOrvError(QCoreApplication::translate("TOrvApp", "Aplikácia nie je spustená"));
    return *CurrentApp;
}

TDMORV& TOrvApp::Core() const {
    if (!CoreInstance)
        throw TOrvError(QCoreApplication::translate("TOrvApp", "Spojenie s ORV nie je pripravené"));
    return *CoreInstance;
}

bool TOrvApp::HasCore() const noexcept {
    return CoreInstance != nullptr;
}

void TOrvApp::ReplaceCore() {
    auto fresh = std::make_unique<TDMORV>(nullptr);
    CoreInstance = std::move(fresh);
}

TDMORV& DMORV() {
    return TOrvApp::Instance().Core();
}
