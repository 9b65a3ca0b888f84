#include "UFormLook.h"

#include <QFont>
#include <QWidget>

void ApplyFormFont(QWidget* window) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    window->setFont(font);
}
