// The English language module: taken at the next start when "ENG" is
// stored, for the windows and the core alike, and complete.

#include "DFrmJazyk.h"
#include "DFrmORV.h"
#include "DFrmORVInfo.h"
#include "DFrmORVKonfig.h"
#include "UDMORV.h"
#include "UFormsTestKit.h"
#include "ULanguage.h"
#include "UStartup.h"
#include "UWinRegistry.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <memory>

using namespace FormsTest;

namespace {

const QString ModuleFolder = QStringLiteral(ORV_TRANSLATIONS_DIR);

struct TMessage {
    QString Context;
    QString Source;
    QString Translation;
    QString Type;
};

QList<TMessage> ReadTs() {
    QFile file(QStringLiteral(ORV_SOURCE_DIR "/src/forms/translations/orv_en.ts"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no orv_en.ts");
    QList<TMessage> messages;
    QXmlStreamReader xml(&file);
    QString context;
    TMessage message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QStringLiteral("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QStringLiteral("source")) {
            message = {context, xml.readElementText(), {}, {}};
        } else if (xml.name() == QStringLiteral("translation")) {
            message.Type = xml.attributes().value(QStringLiteral("type")).toString();
            message.Translation = xml.readElementText();
            messages.append(message);
        }
    }
    return messages;
}

} // namespace

class TestEnglish : public QObject {
    Q_OBJECT

    std::unique_ptr<TFixture> Fix;

private Q_SLOTS:
    void initTestCase() { IsolateConfiguration(); }
    void init() {
        Fix = std::make_unique<TFixture>();
        Fix->StoreAccountSettings();
        Fix->CreateCore();
    }
    void cleanup() { Fix.reset(); }

    void everyTextIsTranslated() {
        const QList<TMessage> messages = ReadTs();
        QVERIFY(messages.size() > 50);
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral("orv_en"), ModuleFolder));
        for (const TMessage& m : messages) {
            const QString where = m.Context + QStringLiteral(": ") + m.Source;
            QVERIFY2(m.Type.isEmpty(), qPrintable(where));
            QVERIFY2(!m.Translation.isEmpty(), qPrintable(where));
            // The shipped module is built from this very file.
            QCOMPARE(
                translator.translate(m.Context.toUtf8().constData(), m.Source.toUtf8().constData()),
                m.Translation);
        }
    }

    void englishAfterARestartWithEng() {
        // The dialog stores the choice; the running program is not touched.
        {
            TFrmJazyk dialog(nullptr);
            dialog.show();
            dialog.findChild<QRadioButton*>(QStringLiteral("rbAnglicky"))->setChecked(true);
            dialog.findChild<QPushButton*>(QStringLiteral("btnUlozit"))->click();
        }
        QCOMPARE(ReadLanguageCode(), QStringLiteral("ENG"));

        // Start-up: the stored code decides before any window is made.
        QTranslator translator;
        QVERIFY(InstallLanguage(ReadLanguageCode(), {ModuleFolder}, translator));
        TFrmORV form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Communication with ORV"));
        auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("pgCtrlMain"));
        QCOMPARE(tabs->tabText(0), QStringLiteral("Submissions"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Documents"));
        auto* list = form.findChild<QTableWidget*>(QStringLiteral("lvPodania"));
        QCOMPARE(list->horizontalHeaderItem(0)->text(), QStringLiteral("Submission ID"));
        QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("btnPodaniaNacitat"))->text(),
                 QStringLiteral("Load"));
        QCOMPARE(form.findChild<QAction*>(QStringLiteral("actKonfiguracia"))->iconText(),
                 QStringLiteral("ORV &configuration"));
        TFrmORVKonfig konfig(nullptr);
        QCOMPARE(konfig.windowTitle(), QStringLiteral("ORV communication settings"));
        TFrmORVInfo viewer(nullptr);
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Information..."));

        // The core's messages come from the same module.
        DMORV().Heslo = TDMORV::HashHeslo(QStringLiteral("zlé"));
        form.findChild<QPushButton*>(QStringLiteral("btnPodaniaNacitat"))->click();
        QCOMPARE(ShownErrors().size(), 1);
        QVERIFY2(
            ShownErrors().first().startsWith(QStringLiteral("Error communicating with ORV:\r\n")),
            qPrintable(ShownErrors().first()));
    }

    void otherCodesKeepSlovak_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("folder");
        QTest::newRow("sk-SK") << QStringLiteral("sk-SK") << ModuleFolder;
        QTest::newRow("nothing stored") << QString() << ModuleFolder;
        QTest::newRow("letter case") << QStringLiteral("eng") << ModuleFolder;
        QTest::newRow("module missing")
            << QStringLiteral("ENG") << QStringLiteral("/nonexistent/orv-duriza/translations");
    }

    void otherCodesKeepSlovak() {
        QFETCH(QString, code);
        QFETCH(QString, folder);
        QTranslator translator;
        QVERIFY(!InstallLanguage(code, {folder}, translator));
        TFrmORV form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Komunikácia s ORV"));
    }

    void failedStartUpIsShownAndEndsTheProgram() {
        WriteSetting(QStringLiteral("ORV"), QStringLiteral("Url"), QStringLiteral("mailto:orv"));
        TDialogs::ClearShown();
        QCOMPARE(RunOrvDuriza(), 1);
        QCOMPARE(ShownErrors(),
                 QStringList{QStringLiteral(
                     "Invalid url 'mailto:orv' - only supports 'http' and 'https' schemes.")});
        QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().cbegin(),
                             QApplication::topLevelWidgets().cend(),
                             [](QWidget* w) { return qobject_cast<TFrmORV*>(w) != nullptr; }));
    }
};

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
