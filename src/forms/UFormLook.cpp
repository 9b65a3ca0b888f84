#include "UFormLook.h"

#include <QFont>
#include <QWidget>

// The images live in a static library, whose resources the linker keeps only
// when something names them.
void InitFormImages() {
    static const bool done = [] {
        Q_INIT_RESOURCE(forms);
        return true;
    }();
    Q_UNUSED(done);
}

void ApplyFormFont(QWidget* window) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    window->setFont(font);
}
