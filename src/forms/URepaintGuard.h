#pragma once

#include <QPointer>
#include <QWidget>

// Suspends a widget's repainting for its lifetime; one repaint follows.
class TRepaintGuard {
public:
    explicit TRepaintGuard(QWidget* widget)
        : Widget(widget)
        , WasEnabled(widget->updatesEnabled()) {
        widget->setUpdatesEnabled(false);
    }
    ~TRepaintGuard() {
        if (Widget)
            Widget->setUpdatesEnabled(WasEnabled);
    }
    TRepaintGuard(const TRepaintGuard&) = delete;
    TRepaintGuard& operator=(const TRepaintGuard&) = delete;

private:
    QPointer<QWidget> Widget;
    bool WasEnabled;
};
