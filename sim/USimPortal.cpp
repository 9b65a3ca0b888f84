#include "USimPortal.h"

#include "USimContract.h"
#include "USimCrypto.h"
#include "USimDocuments.h"
#include "USimXml.h"

#include <algorithm>

namespace Sim {

namespace {

const std::string ZleUdaje =
    "Nesprávne prihlasovacie údaje: subjekt, osoba alebo heslo nie sú platné.";
const std::string ZleUdajeOsoby = "Nesprávne prihlasovacie údaje: osoba alebo heslo nie sú platné.";

std::string Field(const TSimRequest& r, const char* name) {
    return r.Text(name).value_or("");
}

TSimEnvelope IntAnswer(const std::string& op, int result, std::optional<std::string> popis) {
    TSimEnvelope env(op);
    env.IntResult(result);
    env.PopisChyby(popis);
    return env;
}

TSimEnvelope Refusal(const std::string& op, const std::string& popis) {
    TSimEnvelope env(op);
    env.NilResult();
    env.PopisChyby(popis);
    return env;
}

} // namespace

TSimPortal::TSimPortal(TSimDatabase& database, TSimPortalOptions options)
    : Database(database)
    , Options(std::move(options)) {}

TUtcMs TSimPortal::Now() const {
    return Options.Clock ? Options.Clock() : NowUtcMs();
}

bool TSimPortal::LoggedIn(const TSimRequest& r) {
    return Database.Authenticate(Field(r, "subjekt"), Field(r, "osoba"), Field(r, "heslo"));
}

std::vector<std::string> TSimPortal::SubjektsOf(const TSimRequest& r) {
    return Database.SubjektsOf(Field(r, "osoba"), Field(r, "heslo"));
}

TSimEnvelope TSimPortal::Answer(const TSimRequest& r) {
    const std::string& op = r.Operation;
    if (op == "PodajPodanie")
        return PodajPodanie(r);
    if (op == "CheckLogin")
        return CheckLogin(r);
    if (op == "GetPortalMaxRows")
        return GetPortalMaxRows(r);
    if (op == "ListPodanie")
        return ListPodanie(r);
    if (op == "GetPodanie")
        return GetPodanie(r);
    if (op == "ListSuborPisomnosti")
        return ListSuborPisomnosti(r);
    if (op == "GetSuborPisomnosti")
        return GetSuborPisomnosti(r);
    if (op == "ListTypObjektu")
        return ListTypObjektu(r);
    throw TSimFault("Operácia " + op + " nie je portálu známa.", "ActionNotSupported");
}

TSimEnvelope TSimPortal::CheckLogin(const TSimRequest& r) {
    if (!LoggedIn(r))
        return IntAnswer(r.Operation, 1, ZleUdaje);
    return IntAnswer(r.Operation, 0, std::nullopt);
}

TSimEnvelope TSimPortal::GetPortalMaxRows(const TSimRequest& r) {
    if (SubjektsOf(r).empty())
        return IntAnswer(r.Operation, 0, ZleUdajeOsoby);
    return IntAnswer(r.Operation, Options.MaxRows, std::nullopt);
}

TListFilter TSimPortal::Filter(const TSimRequest& r, bool documents) const {
    TListFilter f;
    f.Subjekt = Field(r, "subjekt");
    f.FromUtc = r.DateTime("dtFromUtc");
    f.ToUtc = r.DateTime("dtToUtc");
    f.Biznis = r.Text("identifikatorBiznisPripadu");
    if (documents)
        f.Precitany = r.Bool("precitany");
    const int asked = r.Int("maxRows").value_or(0);
    f.MaxRows = asked > 0 ? std::min(asked, Options.MaxRows) : Options.MaxRows;
    f.Descending = r.Enum("sortType", {"Asc", "Desc"}).value_or(0) == 1;
    const int column =
        documents ? r.Enum("sortColumn", {"identifikatorBiznisPripadu", "DatumACasPrijatia",
                                          "KodTypuHlavnehoObjektu", "Precitany"})
                        .value_or(0)
                  : r.Enum("sortColumn", {"identifikatorBiznisPripadu", "DatumACasPrijatia",
                                          "KodTypuHlavnehoObjektu", "StavPodania"})
                        .value_or(0);
    static constexpr TSortColumn podanie[] = {TSortColumn::Biznis, TSortColumn::Datum,
                                              TSortColumn::Typ, TSortColumn::Stav};
    static constexpr TSortColumn pisomnost[] = {TSortColumn::Biznis, TSortColumn::Datum,
                                                TSortColumn::Typ, TSortColumn::Precitany};
    f.Column = documents ? pisomnost[column] : podanie[column];
    return f;
}

TSimEnvelope TSimPortal::ListPodanie(const TSimRequest& r) {
    const TListFilter filter = Filter(r, false); // malformed fields fault before anything
    if (!LoggedIn(r))
        return Refusal(r.Operation, ZleUdaje);
    const auto rows = Database.ListPodanie(filter);
    TSimEnvelope env(r.Operation);
    xmlNode* result = env.Result(DataNs);
    for (const TSimPodanie& p : rows)
        env.PodanieFields(env.Element(result, "Podanie"), p, false);
    env.PopisChyby(std::nullopt);
    return env;
}

TSimEnvelope TSimPortal::ListSuborPisomnosti(const TSimRequest& r) {
    const TListFilter filter = Filter(r, true);
    if (!LoggedIn(r))
        return Refusal(r.Operation, ZleUdaje);
    const auto rows = Database.ListPisomnosti(filter);
    TSimEnvelope env(r.Operation);
    xmlNode* result = env.Result(DataNs);
    for (const TSimPisomnost& d : rows)
        env.PisomnostFields(env.Element(result, "SuborPisomnosti"), d, false);
    env.PopisChyby(std::nullopt);
    return env;
}

TSimEnvelope TSimPortal::GetPodanie(const TSimRequest& r) {
    const auto subjekts = SubjektsOf(r);
    if (subjekts.empty())
        return Refusal(r.Operation, ZleUdajeOsoby);
    const std::string id = Field(r, "IdentifikatorPodania");
    // Another subject's submission reads as unknown: its existence is not told.
    const auto podanie = Database.GetPodanie(id, subjekts);
    if (!podanie)
        return Refusal(r.Operation, "Podanie s identifikátorom „" + id + "“ neexistuje.");
    TSimEnvelope env(r.Operation);
    xmlNode* result = env.Result(DataNs);
    env.PodanieFields(result, *podanie, true);
    env.PopisChyby(std::nullopt);
    return env;
}

TSimEnvelope TSimPortal::GetSuborPisomnosti(const TSimRequest& r) {
    const bool markRead = r.Bool("nastavPrecitany").value_or(false);
    const auto subjekts = SubjektsOf(r);
    if (subjekts.empty())
        return Refusal(r.Operation, ZleUdajeOsoby);
    const std::string id = Field(r, "IdentifikatorSuborPisomnosti");
    const auto pisomnost = Database.GetPisomnost(id, subjekts, markRead);
    if (!pisomnost)
        return Refusal(r.Operation, "Písomnosť s identifikátorom „" + id + "“ neexistuje.");
    TSimEnvelope env(r.Operation);
    xmlNode* result = env.Result(DataNs);
    env.PisomnostFields(result, *pisomnost, true);
    env.PopisChyby(std::nullopt);
    return env;
}

TSimEnvelope TSimPortal::ListTypObjektu(const TSimRequest& r) {
    if (SubjektsOf(r).empty())
        return Refusal(r.Operation, ZleUdajeOsoby);
    static constexpr const char* typy[][2] = {
        {"KT_PODAJ_v01", "Elektronický podací poštový hárok, verzia 1"},
        {"KT_PODAJ_v02", "Elektronický podací poštový hárok, verzia 2"},
        {"KT_PODAJ_v03", "Elektronický podací poštový hárok, verzia 3"},
        {TypPotvrdenie, "Potvrdenie o prijatí podania"},
        {TypOznamenie, "Oznámenie o spracovaní podania"},
        {TypVyzva, "Výzva na doplnenie podania"},
    };
    TSimEnvelope env(r.Operation);
    xmlNode* result = env.Result(SysDataNs);
    for (const auto& typ : typy) {
        xmlNode* item = env.Element(result, "TypObjektu");
        env.Text(item, "kodField", std::string(typ[0]));
        env.Text(item, "nazovField", std::string(typ[1]));
    }
    env.PopisChyby(std::nullopt);
    return env;
}

TSimEnvelope TSimPortal::PodajPodanie(const TSimRequest& r) {
    const std::string& op = r.Operation;
    if (!LoggedIn(r))
        return IntAnswer(op, PodajZleUdaje, ZleUdaje);
    const std::string sluzba = Field(r, "sluzba");
    if (sluzba != SluzbaHromadnyPodaj)
        return IntAnswer(op, PodajNeznamaSluzba,
                         "Neznáma služba „" + sluzba + "“: portál prijíma podania služby " +
                             SluzbaHromadnyPodaj + ".");
    const std::string typ = Field(r, "typPodania");
    if (std::find(TypyPodania.begin(), TypyPodania.end(), typ) == TypyPodania.end())
        return IntAnswer(op, PodajNeznamyTyp,
                         "Neznámy typ podania „" + typ +
                             "“: portál prijíma typy KT_PODAJ_v01, KT_PODAJ_v02 a KT_PODAJ_v03.");
    const auto document = DecodeBase64(Field(r, "podanieB64"));
    if (!document)
        return IntAnswer(op, PodajZlyBase64, "Podanie (podanieB64) nie je platný text Base64.");
    if (document->empty())
        return IntAnswer(op, PodajZlyBase64, "Podanie (podanieB64) je prázdne.");
    const TXmlParsed parsed = ParseUntrusted(*document);
    if (parsed.HasDtd)
        return IntAnswer(op, PodajZleXml,
                         "Podanie nesmie obsahovať definíciu typu dokumentu (DOCTYPE).");
    if (!parsed.Doc)
        return IntAnswer(op, PodajZleXml,
                         "Podanie nie je správne vytvorený dokument XML: " + parsed.Error + ".");
    if (Options.SubmissionCheck)
        if (const auto refusal = Options.SubmissionCheck->Check(typ, *document))
            return IntAnswer(op, PodajOdmietnute, *refusal);

    TSimPodanie podanie;
    podanie.Id = RandomGuid();
    podanie.Subjekt = Field(r, "subjekt");
    podanie.Osoba = Field(r, "osoba");
    podanie.Biznis = "BP-" + podanie.Id.substr(0, 8);
    std::transform(podanie.Biznis.begin(), podanie.Biznis.end(), podanie.Biznis.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    podanie.ReceivedUtc = Now();
    podanie.Typ = typ;
    podanie.Sluzba = sluzba;
    // A document check in place has verified it by now.
    podanie.StavOverenia = Options.SubmissionCheck ? "Overené" : "Neoverené";
    podanie.StavPodania = "Prijaté";
    podanie.Document = *document;

    const TSimPisomnost potvrdenie = Potvrdenie(podanie, RandomGuid(), podanie.ReceivedUtc);

    Database.InsertPodanie(podanie, potvrdenie);
    return IntAnswer(op, PodajPrijate, std::nullopt);
}

} // namespace Sim
