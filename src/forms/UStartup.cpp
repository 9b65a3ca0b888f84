#include "UStartup.h"

#include "DFrmORV.h"
#include "UFormLook.h"
#include "UGuard.h"
#include "ULanguage.h"
#include "UOrvApp.h"
#include "USignerHost.h"
#include "USignerPrompt.h"

#include <QApplication>
#include <QIcon>
#include <QTranslator>

#include <memory>

int RunOrvDuriza() {
    QApplication::setApplicationName(QStringLiteral("orv-duriza"));
    QApplication::setDesktopFileName(QStringLiteral("orv-duriza"));
    InitFormImages();
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/forms/images/orv-duriza-%1.png").arg(size));
    QApplication::setWindowIcon(icon);

    // Before any window exists, so every text comes from one language.
    QTranslator translator;
    InstallStoredLanguage(translator);

    // The signer components stay available for as long as the windows run.
    std::unique_ptr<TSignerHost> signerHost;
    OrvGuard(nullptr, [&signerHost] {
        signerHost = std::make_unique<TSignerHost>(std::make_shared<TSignerPasswordDialog>());
    });

    TOrvApp orvApp;
    if (!OrvGuard(nullptr, [&orvApp] { orvApp.ReplaceCore(); }))
        return 1;

    TFrmORV form;
    form.show();
    return QApplication::exec();
}
