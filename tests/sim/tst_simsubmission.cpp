// PodajPodanie: what is stored, the receipt delivered with it, and refusals.

#include "USimDocuments.h"
#include "USimTestKit.h"

#include <QTest>

#include <openssl/evp.h>

#include <optional>

using namespace SimTest;

namespace {

const char* const Eph = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<EPH xmlns=\"urn:test:eph\"><Meno>Ľubomír Šťastný</Meno></EPH>";

// Base64 with CR LF after every 76 characters, as the client wraps it.
std::string Wrapped(const std::string& bytes) {
    std::string plain(4 * ((bytes.size() + 2) / 3), '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(plain.data()),
                                  reinterpret_cast<const unsigned char*>(bytes.data()),
                                  static_cast<int>(bytes.size()));
    plain.resize(static_cast<std::size_t>(n));
    std::string out;
    for (std::size_t i = 0; i < plain.size(); i += 76) {
        if (i)
            out += "\r\n";
        out += plain.substr(i, 76);
    }
    return out;
}

std::string Podaj(const std::string& b64, const std::string& typ = "KT_PODAJ_v03",
                  const std::string& sluzba = "KT_HromadnyPodaj",
                  const std::string& password = "Heslo-1") {
    return Field("podanieB64", b64) + Field("sluzba", sluzba) + Field("typPodania", typ) +
           TSimFixture::Login("S-1", "olga", password);
}

const std::string Result = "/s:Envelope/s:Body/c:PodajPodanieResponse/c:PodajPodanieResult";
const std::string Popis = "/s:Envelope/s:Body/c:PodajPodanieResponse/c:popisChyby";

class TRefuseAll : public Sim::ISimSubmissionCheck {
public:
    std::optional<std::string> Check(const std::string& typ, const std::string&) override {
        return "Podpis podania typu " + typ + " nie je platný.";
    }
};

} // namespace

class TestSimSubmission : public QObject {
    Q_OBJECT

private:
    std::optional<TSimFixture> Sim_;
    TSimFixture& F() { return *Sim_; }
    const std::string Login = TSimFixture::Login("S-1", "olga", "Heslo-1");

private Q_SLOTS:
    void init() {
        Sim::TSimServerOptions options;
        options.Portal.Clock = [] { return At("2024-04-02T07:08:09.123Z"); };
        Sim_.emplace(std::move(options));
        F().Db().AddAccount({"S-1", "olga", Sim::HesloDigest("Heslo-1")});
        F().Db().AddAccount({"S-2", "pavol", Sim::HesloDigest("Heslo-2")});
    }
    void cleanup() { Sim_.reset(); }

    void submissionIsStoredAndItsReceiptDelivered() {
        const TReply r = F().Call("PodajPodanie", Podaj(Wrapped(Eph)));
        QCOMPARE(r.Status, 200);
        QCOMPARE(r.Value(Result), std::string("0"));
        QCOMPARE(r.Value(Popis + "/@i:nil"), std::string("true"));

        const std::string list = Field("maxRows", "1000") + Field("sortType", "Desc") +
                                 Field("sortColumn", "DatumACasPrijatia") + Login;
        TReply l = F().Call("ListPodanie", list);
        const std::string item =
            "/s:Envelope/s:Body/c:ListPodanieResponse/c:ListPodanieResult/a:Podanie";
        QCOMPARE(l.Count(item), 1);
        const std::string id = l.Value(item + "/a:identifikatorPodaniaField");
        QVERIFY(!id.empty());
        QCOMPARE(l.Value(item + "/a:kodTypuPodaniaField"), std::string("KT_PODAJ_v03"));
        QCOMPARE(l.Value(item + "/a:kodSluzbyField"), std::string("KT_HromadnyPodaj"));
        QCOMPARE(l.Value(item + "/a:identifikatorSubjektuField"), std::string("S-1"));
        QCOMPARE(*Sim::ParseXsDateTime(l.Value(item + "/a:datumACasPrijatiaField")),
                 At("2024-04-02T07:08:09.123Z"));
        const std::string biznis = l.Value(item + "/a:identifikatorBiznisPripaduField");
        QVERIFY(!biznis.empty());

        const std::string person =
            Field("osoba", "olga") + Field("heslo", Sim::HesloDigest("Heslo-1"));
        TReply g = F().Call("GetPodanie", Field("IdentifikatorPodania", id) + person);
        const std::string data =
            "/s:Envelope/s:Body/c:GetPodanieResponse/c:GetPodanieResult/a:dataField";
        QCOMPARE(g.Value(data + "/*[local-name()='EPH']/*"), std::string("Ľubomír Šťastný"));

        TReply d = F().Call("ListSuborPisomnosti", list);
        const std::string doc = "/s:Envelope/s:Body/c:ListSuborPisomnostiResponse/"
                                "c:ListSuborPisomnostiResult/a:SuborPisomnosti";
        QCOMPARE(d.Count(doc), 1);
        QCOMPARE(d.Value(doc + "/a:identifikatorPodania"), id);
        QCOMPARE(d.Value(doc + "/a:identifikatorBiznisPripaduField"), biznis);
        QCOMPARE(d.Value(doc + "/a:kodTypuSuboruPisomnostiField"), std::string(Sim::TypPotvrdenie));
        QCOMPARE(d.Value(doc + "/a:precitanyField"), std::string("false"));
        const std::string docId = d.Value(doc + "/a:identifikatorSuborPisomnostiField");
        TReply p = F().Call("GetSuborPisomnosti", Field("IdentifikatorSuborPisomnosti", docId) +
                                                      person + Field("nastavPrecitany", "true"));
        const std::string receipt = "/s:Envelope/s:Body/c:GetSuborPisomnostiResponse/"
                                    "c:GetSuborPisomnostiResult/a:dataField/*";
        QCOMPARE(p.Value("local-name(" + receipt + ")"), std::string("Potvrdenie"));
        QCOMPARE(p.Value(receipt + "/*[local-name()='IdentifikatorPodania']"), id);
        QCOMPARE(*Sim::ParseXsDateTime(p.Value(receipt + "/*[local-name()='DatumACasPrijatia']")),
                 At("2024-04-02T07:08:09.123Z"));

        // Nothing of it reaches another subject.
        QCOMPARE(F().Db().CountPodanie("S-2"), 0);
        QCOMPARE(F().Db().CountPisomnosti("S-2"), 0);
    }

    void base64WithoutLineBreaksIsAccepted() {
        std::string b64 = Wrapped(Eph);
        b64.erase(std::remove(b64.begin(), b64.end(), '\r'), b64.end());
        b64.erase(std::remove(b64.begin(), b64.end(), '\n'), b64.end());
        QCOMPARE(F().Call("PodajPodanie", Podaj(b64)).Value(Result), std::string("0"));
        QCOMPARE(F().Db().CountPodanie("S-1"), 1);
    }

    // Its Base64 text is one text node of over 10 MB, which libxml2 cuts
    // short unless told otherwise.
    void largeSubmissionIsStoredWhole() {
        std::string eph = "<EPH xmlns=\"urn:test:eph\">";
        for (int i = 0; eph.size() < 8'200'000; ++i)
            eph += "<Zasielka><Cislo>" + std::to_string(i) + "</Cislo></Zasielka>";
        eph += "</EPH>";
        const std::string b64 = Wrapped(eph);
        QVERIFY(b64.size() > 10'500'000);

        const TReply r = F().Call("PodajPodanie", Podaj(b64));
        QCOMPARE(r.Value(Popis + "/@i:nil"), std::string("true"));
        QCOMPARE(r.Value(Result), std::string("0"));
        QCOMPARE(F().Db().CountPodanie("S-1"), 1);
        const std::string list = Field("maxRows", "1") + Field("sortType", "Desc") +
                                 Field("sortColumn", "DatumACasPrijatia") + Login;
        const std::string id =
            F().Call("ListPodanie", list)
                .Value("/s:Envelope/s:Body/c:ListPodanieResponse/c:ListPodanieResult/a:Podanie/"
                       "a:identifikatorPodaniaField");
        const auto stored = F().Db().GetPodanie(id, {"S-1"});
        QVERIFY(stored);
        QCOMPARE(stored->Document.size(), eph.size());
        QVERIFY(stored->Document == eph);
    }

    void refusalsStoreNothing_data() {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("popis");
        const auto row = [](const char* name, const std::string& fields, int result,
                            const char* popis) {
            QTest::newRow(name) << QString::fromStdString(fields) << result
                                << QString::fromUtf8(popis);
        };
        const std::string eph = Wrapped(Eph);
        row("wrong password", Podaj(eph, "KT_PODAJ_v03", "KT_HromadnyPodaj", "x"), 1,
            "Nesprávne prihlasovacie údaje");
        row("unknown service", Podaj(eph, "KT_PODAJ_v03", "KT_Iny"), 2, "Neznáma služba „KT_Iny“");
        row("unknown type", Podaj(eph, "KT_PODAJ_v04"), 3, "Neznámy typ podania „KT_PODAJ_v04“");
        row("type letter case", Podaj(eph, "kt_podaj_v01"), 3, "Neznámy typ podania");
        row("not Base64", Podaj("PD94bWwg*dmVy"), 4, "nie je platný text Base64");
        row("Base64 with bad padding", Podaj("PEE+=A=="), 4, "nie je platný text Base64");
        row("Base64 with spaces", Podaj("PEEv Pg=="), 4, "nie je platný text Base64");
        row("empty", Podaj(""), 4, "je prázdne");
        row("not XML", Podaj(Wrapped("Toto nie je XML <")), 5,
            "nie je správne vytvorený dokument XML");
        row("two roots", Podaj(Wrapped("<a/><b/>")), 5, "nie je správne vytvorený dokument XML");
        row("DOCTYPE", Podaj(Wrapped("<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>")), 5, "DOCTYPE");
        row("external entity", Podaj(Wrapped("<!DOCTYPE a SYSTEM \"file:///etc/passwd\"><a/>")), 5,
            "DOCTYPE");
        row("missing fields", TSimFixture::Login("S-1", "olga", "Heslo-1"), 2, "Neznáma služba");
    }
    void refusalsStoreNothing() {
        QFETCH(QString, fields);
        QFETCH(int, result);
        QFETCH(QString, popis);
        const TReply r = F().Call("PodajPodanie", fields.toStdString());
        QCOMPARE(r.Status, 200);
        QCOMPARE(r.Value(Result), std::to_string(result));
        const std::string text = r.Value(Popis);
        QVERIFY2(text.find(popis.toStdString()) != std::string::npos, text.c_str());
        QCOMPARE(F().Db().CountPodanie("S-1"), 0);
        QCOMPARE(F().Db().CountPisomnosti("S-1"), 0);
    }

    void documentChecksPlugIn() {
        Sim::TSimServerOptions options;
        options.Portal.SubmissionCheck = std::make_shared<TRefuseAll>();
        TSimFixture strict(std::move(options));
        strict.Db().AddAccount({"S-1", "olga", Sim::HesloDigest("Heslo-1")});
        const TReply r = strict.Call("PodajPodanie", Podaj(Wrapped(Eph), "KT_PODAJ_v01"));
        QCOMPARE(r.Value(Result), std::to_string(Sim::PodajOdmietnute));
        QCOMPARE(r.Value(Popis), std::string("Podpis podania typu KT_PODAJ_v01 nie je platný."));
        QCOMPARE(strict.Db().CountPodanie("S-1"), 0);
    }
};

QTEST_GUILESS_MAIN(TestSimSubmission)
#include "tst_simsubmission.moc"
