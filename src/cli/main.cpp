// orv: the command-line front end over the client core, for scripts.

#include "UCliOutput.h"
#include "UClock.h"
#include "UComApartment.h"
#include "UDMORV.h"
#include "UEphVersion.h"
#include "ULanguage.h"
#include "UOrvError.h"
#include "UOrvSettings.h"
#include "UPasswordPrompt.h"
#include "USettingsChange.h"
#include "USignerPrompt.h"
#include "UWinRegistry.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>

#include <cmath>
#include <cstdio>

namespace {

constexpr int ExitError = 1;
constexpr int ExitUsage = 2;

struct TCli {
    Q_DECLARE_TR_FUNCTIONS(orv)
};

// A wrong command line; main prints it with the usage.
class TUsageError {
public:
    explicit TUsageError(QString message)
        : Message(std::move(message)) {}
    QString Message;
};

void Print(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

void PrintError(const QString& message) {
    std::fputs((message + u'\n').toUtf8().constData(), stderr);
}

struct TOptions {
    QCommandLineOption Od{QStringLiteral("od"),
                          TCli::tr("Dátum od (rrrr-mm-dd), predvolene dnes - 30 dní."),
                          QStringLiteral("datum")};
    QCommandLineOption Do{QStringLiteral("do"), TCli::tr("Dátum do (rrrr-mm-dd), predvolene dnes."),
                          QStringLiteral("datum")};
    QCommandLineOption Biznis{QStringLiteral("biznis"), TCli::tr("Identifikátor biznis prípadu."),
                              QStringLiteral("id")};
    QCommandLineOption Json{QStringLiteral("json"), TCli::tr("Zoznam vo formáte JSON.")};
    QCommandLineOption Out{QStringLiteral("out"), TCli::tr("Uložiť obsah do súboru (UTF-8 s BOM)."),
                           QStringLiteral("subor")};
    QCommandLineOption Url{QStringLiteral("url"), TCli::tr("URL pre komunikáciu s ORV."),
                           QStringLiteral("url")};
    QCommandLineOption Subjekt{QStringLiteral("subjekt"), TCli::tr("Subjekt."),
                               QStringLiteral("id")};
    QCommandLineOption Osoba{QStringLiteral("osoba"), TCli::tr("Osoba."), QStringLiteral("id")};
    QCommandLineOption Politika{QStringLiteral("politika"),
                                TCli::tr("Podpisová politika (identifikátor z inštalácie "
                                         "podpisovača); algoritmus sa odvodí z nej."),
                                QStringLiteral("id")};
    QCommandLineOption Id{QStringLiteral("id"),
                          TCli::tr("Identifikátor EPH, predvolene názov súboru po prvú bodku."),
                          QStringLiteral("ephid")};
    QCommandLineOption Verzia{QStringLiteral("verzia"), TCli::tr("Verzia EPH: 0.1, 2.0 alebo 3.0."),
                              QStringLiteral("verzia")};
};

TDateTime Today() {
    return std::floor(Clock().Now());
}

TDateTime DateOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                     TDateTime fallback) {
    if (!parser.isSet(option))
        return fallback;
    const QString text = parser.value(option);
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        throw TUsageError(TCli::tr("Neplatný dátum \"%1\", očakáva sa rrrr-mm-dd.").arg(text));
    return EncodeDateTime({date.year(), date.month(), date.day(), 0, 0, 0, 0});
}

// Only the options of the command may be given.
void AllowOnly(const QCommandLineParser& parser, const QStringList& allowed) {
    for (const QString& name : parser.optionNames())
        if (!allowed.contains(name))
            throw TUsageError(TCli::tr("Voľba --%1 sa s týmto príkazom nedá použiť.").arg(name));
}

QString OneArgument(const QStringList& arguments) {
    if (arguments.size() != 2)
        throw TUsageError(
            TCli::tr("Príkaz %1 očakáva jeden identifikátor.").arg(arguments.value(0)));
    return arguments.at(1);
}

int CheckLogin() {
    TDMORV core(nullptr);
    core.EnsureLogin();
    Print((TCli::tr("Prihlasovacie údaje sú platné.") + u'\n').toUtf8());
    return 0;
}

template <class TRows>
int PrintList(const std::optional<TRows>& rows, bool json, QString (*table)(const TRows&),
              QByteArray (*toJson)(const TRows&)) {
    // The portal sent no list at all, which is not the same as an empty one.
    if (!rows) {
        if (json)
            Print("null\n");
        return 0;
    }
    Print(json ? toJson(*rows) : table(*rows).toUtf8());
    return 0;
}

int List(const QCommandLineParser& parser, const TOptions& options, bool podania) {
    AllowOnly(parser, {QStringLiteral("od"), QStringLiteral("do"), QStringLiteral("biznis"),
                       QStringLiteral("json")});
    if (parser.positionalArguments().size() != 1)
        throw TUsageError(
            TCli::tr("Príkaz %1 nemá ďalšie argumenty.").arg(parser.positionalArguments()[0]));
    // As the main window: from 30 days ago to today, both at midnight.
    const TDateTime today = Today();
    const TDateTime od = DateOption(parser, options.Od, today - 30);
    const TDateTime do_ = DateOption(parser, options.Do, today);
    const QString biznis = parser.value(options.Biznis);
    const bool json = parser.isSet(options.Json);

    TDMORV core(nullptr);
    core.EnsureLogin();
    if (podania)
        return PrintList(core.ListPodanie(biznis, od, do_), json, &PodaniaTable, &PodaniaJson);
    return PrintList(core.ListSuborPisomnosti(biznis, od, do_), json, &PisomnostiTable,
                     &PisomnostiJson);
}

void WriteContent(const QString& obsah, const QCommandLineParser& parser, const TOptions& options) {
    const QByteArray text = ContentText(obsah).toUtf8();
    if (!parser.isSet(options.Out)) {
        Print(text);
        return;
    }
    const QString path = parser.value(options.Out);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write("\xEF\xBB\xBF" + text) != text.size() + 3 || !file.flush())
        throw TOrvError(QCoreApplication::translate("TFrmORVInfo", "Cannot create file \"%1\". %2")
                            .arg(QFile(path).fileName(), file.errorString()));
}

int Fetch(const QCommandLineParser& parser, const TOptions& options, bool podanie) {
    AllowOnly(parser, {QStringLiteral("out")});
    const QString id = OneArgument(parser.positionalArguments());
    TDMORV core(nullptr);
    if (podanie) {
        TPodanie row;
        core.GetPodanie(id, row);
        WriteContent(row.Obsah, parser, options);
    } else {
        TPisomnost row;
        core.GetSuborPisomnosti(id, row);
        WriteContent(row.Obsah, parser, options);
    }
    return 0;
}

QString TypedPassword() {
    if (!StdinIsTerminal())
        return ReadPassword(QString());
    const QString heslo =
        ReadPassword(QCoreApplication::translate("TFrmORVKonfig", "Heslo:") + u' ');
    const QString potvrdenie =
        ReadPassword(QCoreApplication::translate("TFrmORVKonfig", "Potvrdenie hesla:") + u' ');
    if (heslo != potvrdenie)
        throw TOrvError(QCoreApplication::translate("TFrmORVKonfig", "Zadané heslá sa nezhodujú!"));
    return heslo;
}

// As the configuration dialog: verify against the typed address through a
// temporary core first, store only then. An empty password keeps the digest.
int Konfiguracia(const QCommandLineParser& parser, const TOptions& options) {
    AllowOnly(parser, {QStringLiteral("url"), QStringLiteral("subjekt"), QStringLiteral("osoba"),
                       QStringLiteral("verzia"), QStringLiteral("politika")});
    if (parser.positionalArguments().size() != 1)
        throw TUsageError(TCli::tr("Príkaz konfiguracia nemá ďalšie argumenty."));
    const QString verzia = parser.value(options.Verzia);
    if (parser.isSet(options.Verzia) && !EphVerziaFromText(verzia))
        throw TUsageError(TCli::tr("Neplatná verzia EPH \"%1\".").arg(verzia));

    TSettingsChange change;
    change.Heslo = TypedPassword();
    // The stored settings, read without binding their address, which may be
    // the very thing being corrected.
    change.Url = parser.isSet(options.Url) ? parser.value(options.Url) : LoadOrvSettings().Url;
    TDMORV stored(nullptr, change.Url);
    change.Subjekt = parser.isSet(options.Subjekt) ? parser.value(options.Subjekt) : stored.Subjekt;
    change.Osoba = parser.isSet(options.Osoba) ? parser.value(options.Osoba) : stored.Osoba;
    if (parser.isSet(options.Verzia))
        change.VerziaPodaja = verzia;
    if (parser.isSet(options.Politika))
        change.SignaturePolicy = parser.value(options.Politika);
    VerifyAndSaveSettings(stored, change, nullptr);
    Print((TCli::tr("Nastavenia sú overené a uložené.") + u'\n').toUtf8());
    return 0;
}

// As the submission dialog: the version from the settings, the file and
// identifier remembered only after the portal accepted the submission.
int Podaj(const QCommandLineParser& parser, const TOptions& options) {
    AllowOnly(parser, {QStringLiteral("id")});
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        throw TUsageError(TCli::tr("Príkaz podaj očakáva jeden súbor EPH."));
    const QString subor = QFileInfo(arguments.at(1)).absoluteFilePath();
    // Without --id, as the dialog derives it: the file name up to its first dot.
    const QString ephId =
        parser.isSet(options.Id) ? parser.value(options.Id) : EphIdFromPath(subor);

    const TSignerHost signer(std::make_shared<TCliSignerPrompt>());
    TDMORV core(nullptr);
    if (!core.PodajEPHVerziePodaja(ephId, subor))
        throw TOrvError(
            QCoreApplication::translate("TFrmORVPodajEPH", "Nie je zvolená platná verzia EPH!"));

    const QString section = QString::fromUtf16(SettingsSectionEph);
    WriteSetting(section, QStringLiteral("Subor"), subor);
    WriteSetting(section, QStringLiteral("EPHId"), ephId);
    Print((QCoreApplication::translate("TFrmORV", "EPH bol podaný!") + u'\n').toUtf8());
    return 0;
}

int Run(QCommandLineParser& parser, const TOptions& options) {
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty())
        throw TUsageError(TCli::tr("Chýba príkaz."));
    const QString command = arguments.first();
    if (command == u"check-login") {
        AllowOnly(parser, {});
        if (arguments.size() != 1)
            throw TUsageError(TCli::tr("Príkaz check-login nemá ďalšie argumenty."));
        return CheckLogin();
    }
    if (command == u"podania" || command == u"pisomnosti")
        return List(parser, options, command == u"podania");
    if (command == u"podanie" || command == u"pisomnost")
        return Fetch(parser, options, command == u"podanie");
    if (command == u"konfiguracia")
        return Konfiguracia(parser, options);
    if (command == u"podaj")
        return Podaj(parser, options);
    throw TUsageError(TCli::tr("Neznámy príkaz \"%1\".").arg(command));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const TComApartment apartment;
    QCoreApplication::setApplicationName(QStringLiteral("orv"));
    // Before the options are made, so every text comes from one language.
    QTranslator translator;
    InstallStoredLanguage(translator);

    const TOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        TCli::tr("Komunikácia s ORV z príkazového riadku.\n\n"
                 "Príkazy:\n"
                 "  check-login              overí uložené prihlasovacie údaje\n"
                 "  podania [--od --do --biznis --json]     zoznam podaní\n"
                 "  pisomnosti [--od --do --biznis --json]  zoznam písomností\n"
                 "  podanie ID [--out SUBOR]                obsah podania\n"
                 "  pisomnost ID [--out SUBOR]              obsah písomnosti\n"
                 "  podaj SUBOR [--id EPHID]                podpíše a podá EPH verzie\n"
                 "                           z nastavení; heslo ku kľúču číta z terminálu,\n"
                 "                           zo vstupu alebo z premennej ORV_SIGNER_PIN\n"
                 "  konfiguracia [--url --subjekt --osoba --verzia --politika]\n"
                 "                           overí a uloží nastavenia; heslo číta zo vstupu"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("prikaz"), TCli::tr("Príkaz a jeho argumenty."));
    parser.addOptions({options.Od, options.Do, options.Biznis, options.Json, options.Out,
                       options.Url, options.Subjekt, options.Osoba, options.Verzia,
                       options.Politika, options.Id});

    if (!parser.parse(QCoreApplication::arguments())) {
        PrintError(parser.errorText());
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        Print(parser.helpText().toUtf8());
        return 0;
    }
    try {
        return Run(parser, options);
    } catch (const TUsageError& error) {
        PrintError(error.Message);
        PrintError(TCli::tr("Pomoc: orv --help"));
        return ExitUsage;
    } catch (const TOrvError& error) {
        PrintError(error.message());
        return ExitError;
    }
}
