#include "UStartup.h"

#include "DFrmORV.h"
#include "UFormLook.h"
#include "UGuard.h"
#include "ULanguage.h"
#include "UOrvApp.h"
#include "USignerHost.h"
#include "USignerPrompt.h"

#ifdef ORV_HAS_PODAJ_EPH
#include "DFrmORVPodajEPH.h"
#endif

#include <QApplication>
#include <QIcon>
#include <QTranslator>

#include <memory>

int RunOrvDuriza(QApplication& app) {
    Q_UNUSED(app);
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
    if (!OrvGuard(nullptr, [&orvApp] { orvApp.CreateCore(); }))
        return 1;

    TFrmORV form;
#ifdef ORV_HAS_PODAJ_EPH
    form.SetPodajEPHFactory([](QWidget* owner) -> std::unique_ptr<QDialog> {
        return std::make_unique<TFrmORVPodajEPH>(owner);
    });
#endif
    form.show();
    return QApplication::exec();
}
