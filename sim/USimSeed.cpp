#include "USimSeed.h"

#include "OrvConfig.h"
#include "USimContract.h"
#include "USimCrypto.h"
#include "USimDocuments.h"
#include "USimXml.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>
#include <vector>

namespace Sim {

namespace {

constexpr int PodaniaCount = 1200;
constexpr TUtcMs Minute = 60 * 1000;
constexpr TUtcMs Hour = 60 * Minute;
constexpr TUtcMs Day = 24 * Hour;

struct TAdresat {
    const char* Meno;
    const char* Ulica;
    const char* Mesto;
    const char* Psc;
};

constexpr std::array<TAdresat, 10> Adresati = {{
    {"Zuzana Kováčová", "Hlavná 45", "Košice", "04001"},
    {"Ján Ďurica", "Námestie SNP 3", "Zvolen", "96001"},
    {"Mária Šimková", "Kpt. Nálepku 18", "Prešov", "08001"},
    {"Peter Čierny", "Štefánikova 7", "Nitra", "94901"},
    {"Ľudmila Horváthová", "Mierová 112", "Bratislava", "82105"},
    {"Tomáš Žiak", "Jesenského 2", "Banská Bystrica", "97401"},
    {"Eva Blažeková", "Kúpeľná 9", "Piešťany", "92101"},
    {"Róbert Švec", "Rázusova 21", "Žilina", "01001"},
    {"Katarína Ťapajová", "Farská 4", "Trnava", "91701"},
    {"Dušan Molnár", "Dlhá 66", "Trenčín", "91101"},
}};

// Deterministic choices from one engine: the same seed, the same data.
class TChoice {
public:
    explicit TChoice(std::uint64_t seed)
        : Engine(seed) {}
    // 0 <= result < n
    std::uint64_t Below(std::uint64_t n) { return Engine() % n; }
    bool Percent(int p) { return Below(100) < static_cast<std::uint64_t>(p); }
    std::mt19937_64& Raw() { return Engine; }

private:
    std::mt19937_64 Engine;
};

std::string TwoDigits(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02u", v % 100);
    return buf;
}

std::string EphXml(TChoice& choice, const TSimPodanie& p, int index) {
    const std::string version = p.Typ.substr(p.Typ.size() - 2); // "01", "02", "03"
    const std::string ns =
        std::string("http://") + OrvConfig::FormsHost + "/DUNOR/Formulare/Podaj_v" + version;
    TXmlDocPtr doc(xmlNewDoc(X("1.0")));
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, X("EPH"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    xmlNs* n = xmlNewNs(root, X(ns.c_str()), nullptr);
    xmlSetNs(root, n);
    xmlNewProp(root, X("verzia"), X(version == "01" ? "0.1" : version == "02" ? "2.0" : "3.0"));
    const auto text = [n](xmlNode* parent, const char* name, const std::string& value) {
        return xmlNewTextChild(parent, n, X(name), X(value.c_str()));
    };
    xmlNode* info = xmlNewChild(root, n, X("InfoEPH"), nullptr);
    text(info, "Mena", "EUR");
    text(info, "TypEPH", "1");
    text(info, "EPHID", "HAR-" + std::to_string(100000 + index));
    const int zasielky = 1 + static_cast<int>(choice.Below(4));
    text(info, "PocetZasielok", std::to_string(zasielky));
    xmlNode* odos = xmlNewChild(info, n, X("Odosielatel"), nullptr);
    text(odos, "OdosielatelID", "ODS-000417");
    text(odos, "Meno", "Ľubomír Šťastný");
    text(odos, "Organizacia", "Kníhkupectvo Pod Hradom, s.r.o.");
    text(odos, "Ulica", "Štúrova 12");
    text(odos, "Mesto", "Banská Štiavnica");
    text(odos, "PSC", "96901");
    text(odos, "Krajina", "SK");
    xmlNode* list = xmlNewChild(root, n, X("Zasielky"), nullptr);
    for (int z = 0; z < zasielky; ++z) {
        const TAdresat& a = Adresati[choice.Below(Adresati.size())];
        xmlNode* zas = xmlNewChild(list, n, X("Zasielka"), nullptr);
        xmlNode* adr = xmlNewChild(zas, n, X("Adresat"), nullptr);
        text(adr, "Meno", a.Meno);
        text(adr, "Ulica", a.Ulica);
        text(adr, "Mesto", a.Mesto);
        text(adr, "PSC", a.Psc);
        text(adr, "Krajina", "SK");
        xmlNode* zinfo = xmlNewChild(zas, n, X("Info"), nullptr);
        char kod[32];
        std::snprintf(kod, sizeof kod, "RR%08lluSK",
                      static_cast<unsigned long long>(choice.Below(100000000)));
        text(zinfo, "CiarovyKod", kod);
        text(zinfo, "Hmotnost",
             "0," + std::to_string(1 + choice.Below(9)) +
                 TwoDigits(static_cast<unsigned>(choice.Below(100))));
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + SerializeDoc(doc.get());
}

} // namespace

TSimSeedCounts SeedDemo(TSimDatabase& database, TUtcMs now) {
    TChoice choice(20240131);
    // Whole minutes, so that one now gives the same rows within that minute.
    now -= now % Minute;

    std::vector<TUtcMs> times(PodaniaCount);
    for (TUtcMs& t : times)
        t = now - Hour -
            static_cast<TUtcMs>(choice.Below(static_cast<std::uint64_t>(90 * Day - Hour)));
    std::sort(times.begin(), times.end());

    std::vector<TSimPodanie> podania;
    std::vector<TSimPisomnost> pisomnosti;
    std::vector<std::string> recentBiznis;
    int nextBiznis = 100001;
    for (int i = 0; i < PodaniaCount; ++i) {
        TSimPodanie p;
        p.Id = GuidFrom(choice.Raw());
        p.Subjekt = DemoSubjekt;
        p.Osoba = choice.Percent(80) ? DemoOsoba : "m.kovacova";
        // Most submissions open a business case; the rest follow up a recent one.
        if (recentBiznis.empty() || choice.Percent(70)) {
            recentBiznis.push_back("BP-" + std::to_string(nextBiznis++));
            if (recentBiznis.size() > 12)
                recentBiznis.erase(recentBiznis.begin());
            p.Biznis = recentBiznis.back();
        } else {
            p.Biznis = recentBiznis[choice.Below(recentBiznis.size())];
        }
        p.ReceivedUtc =
            times[static_cast<std::size_t>(i)] + static_cast<TUtcMs>(choice.Below(1000));
        const auto v = choice.Below(100);
        p.Typ = v < 15 ? "KT_PODAJ_v01" : v < 50 ? "KT_PODAJ_v02" : "KT_PODAJ_v03";
        p.Sluzba = SluzbaHromadnyPodaj;
        const TUtcMs age = now - p.ReceivedUtc;
        if (age < Day && choice.Percent(50)) {
            p.StavOverenia = "Neoverené";
            p.StavPodania = "Prijaté";
        } else if (choice.Percent(7)) {
            p.StavOverenia = "Chyba overenia podpisu";
            p.StavPodania = "Zamietnuté";
        } else {
            p.StavOverenia = "Overené";
            if (age < 2 * Day)
                p.StavPodania = choice.Percent(50) ? "Spracováva sa" : "Prijaté";
            else
                p.StavPodania = choice.Percent(96) ? "Spracované" : "Zamietnuté";
        }
        p.Document = EphXml(choice, p, i);

        std::string receiptId = GuidFrom(choice.Raw());
        TSimPisomnost receipt =
            Potvrdenie(p, std::move(receiptId),
                       p.ReceivedUtc + static_cast<TUtcMs>(1000 + choice.Below(60000)));
        receipt.Precitany = age > 3 * Day ? choice.Percent(90) : choice.Percent(20);
        pisomnosti.push_back(receipt);

        const bool processed = p.StavPodania == "Spracované" || p.StavPodania == "Zamietnuté";
        if (processed && choice.Percent(p.StavPodania == "Zamietnuté" ? 100 : 35)) {
            TSimPisomnost notice = receipt;
            notice.Id = GuidFrom(choice.Raw());
            notice.CreatedUtc = std::min(
                now, p.ReceivedUtc + static_cast<TUtcMs>(2 * Hour + choice.Below(30 * Hour)));
            const bool rejected = p.StavPodania == "Zamietnuté";
            notice.Typ = rejected ? TypVyzva : TypOznamenie;
            notice.Content = OznamenieXml(
                p, notice.Typ.c_str(),
                rejected ? "Podanie nebolo možné spracovať: elektronický podpis nie je platný "
                           "alebo údaje hárku nezodpovedajú zásielkam. Prosíme, doplňte ho."
                         : "Vaše podanie bolo úspešne spracované. Zásielky boli zaevidované "
                           "a odovzdané na prepravu.",
                notice.CreatedUtc);
            notice.Precitany = now - notice.CreatedUtc > 3 * Day ? choice.Percent(85) : false;
            pisomnosti.push_back(notice);
        }
        podania.push_back(std::move(p));
    }

    const TSimAccount account{DemoSubjekt, DemoOsoba, HesloDigest(DemoHeslo)};
    database.ReplaceSubjekt(account, podania, pisomnosti);
    return {static_cast<int>(podania.size()), static_cast<int>(pisomnosti.size())};
}

} // namespace Sim
