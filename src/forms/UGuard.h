#pragma once

#include "UErrorBox.h"
#include "UOrvError.h"

#include <QCoreApplication>

#include <exception>
#include <utility>

class QWidget;

// Runs a handler's body and shows whatever it raises in the application-wide
// error box, so no exception ever reaches Qt's event loop. The body cleans up
// by object lifetime, so its cursor, repaint and list guards have all run by
// the time the box shows. Returns true when the body finished normally.
template <class TBody> bool OrvGuard(QWidget* parent, TBody&& body) noexcept {
    QString message;
    try {
        std::forward<TBody>(body)();
        return true;
    } catch (const TOrvError& e) {
        message = e.message();
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = QCoreApplication::translate("OrvGuard", "Neznáma chyba");
    }
    try {
        ShowOrvError(parent, message);
    } catch (...) {
        // Nothing sensible is left to tell the user with.
    }
    return false;
}
