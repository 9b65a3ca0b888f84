// Several clients at once against one server and one database file: every
// submission arrives once, under its own subject, with its own content.

#include "USimTestKit.h"

#include <QTest>

#include <openssl/evp.h>

#include <atomic>
#include <set>
#include <thread>

using namespace SimTest;

namespace {

constexpr int Threads = 6;
constexpr int Subjects = 3;
constexpr int PerThread = 8;

std::string Base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3), '\0');
    out.resize(static_cast<std::size_t>(EVP_EncodeBlock(
        reinterpret_cast<unsigned char*>(out.data()),
        reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()))));
    return out;
}

std::string Subject(int thread) {
    return "S-" + std::to_string(thread % Subjects);
}
std::string Person(int thread) {
    return "osoba-" + std::to_string(thread);
}
std::string Marker(int thread, int k) {
    return "T" + std::to_string(thread) + "-" + std::to_string(k);
}

const std::string Items = "/s:Envelope/s:Body/c:ListPodanieResponse/c:ListPodanieResult/a:Podanie";

} // namespace

class TestSimConcurrency : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parallelClientsLoseAndMixNothing() {
        TSimFixture sim;
        for (int t = 0; t < Threads; ++t)
            sim.Db().AddAccount({Subject(t), Person(t), Sim::HesloDigest("h" + std::to_string(t))});

        std::atomic<int> failures{0};
        const auto client = [&](int t) {
            httplib::Client http("127.0.0.1", sim.Server().Port());
            http.set_read_timeout(30, 0);
            const std::string login =
                TSimFixture::Login(Subject(t), Person(t), "h" + std::to_string(t));
            for (int k = 0; k < PerThread; ++k) {
                const std::string doc =
                    "<EPH xmlns=\"urn:test\"><Id>" + Marker(t, k) + "</Id></EPH>";
                const std::string podaj = Field("podanieB64", Base64(doc)) +
                                          Field("sluzba", "KT_HromadnyPodaj") +
                                          Field("typPodania", "KT_PODAJ_v02") + login;
                for (const auto& [op, fields] :
                     {std::pair<std::string, std::string>{"PodajPodanie", podaj},
                      {"ListPodanie", Field("maxRows", "1000") + login},
                      {"ListSuborPisomnosti", Field("maxRows", "1000") + login}}) {
                    const auto r =
                        http.Post(OrvConfig::ServicePath,
                                  httplib::Headers{{"SOAPAction", "\"" + Sim::ActionOf(op) + "\""}},
                                  Envelope(op, fields), "text/xml; charset=\"utf-8\"");
                    // Success: popisChyby nil, the response's last element.
                    const bool ok =
                        r && r->status == 200 &&
                        r->body.find("i:nil=\"true\"/></" + op + "Response>") != std::string::npos;
                    if (!ok)
                        ++failures;
                }
            }
        };

        // One more writer on its own connection to the file, as a second process would.
        std::thread other([&] {
            Sim::TSimDatabase second(sim.DbPath());
            for (int k = 0; k < PerThread; ++k)
                second.AddAccount({"S-X", "x" + std::to_string(k), Sim::HesloDigest("x")});
        });
        std::vector<std::thread> threads;
        for (int t = 0; t < Threads; ++t)
            threads.emplace_back(client, t);
        for (auto& th : threads)
            th.join();
        other.join();
        QCOMPARE(failures.load(), 0);

        for (int s = 0; s < Subjects; ++s) {
            const std::string subjekt = "S-" + std::to_string(s);
            const int expected = PerThread * (Threads / Subjects);
            QCOMPARE(sim.Db().CountPodanie(subjekt), expected);
            QCOMPARE(sim.Db().CountPisomnosti(subjekt), expected); // one receipt each

            // Every stored document is one of this subject's, each exactly once.
            std::set<std::string> want, got;
            for (int t = s; t < Threads; t += Subjects)
                for (int k = 0; k < PerThread; ++k)
                    want.insert(Marker(t, k));
            const TReply list = sim.Call(
                "ListPodanie", Field("maxRows", "1000") +
                                   TSimFixture::Login(subjekt, Person(s), "h" + std::to_string(s)));
            QCOMPARE(list.Count(Items), expected);
            for (int k = 1; k <= expected; ++k) {
                const std::string id =
                    list.Value(Items + "[" + std::to_string(k) + "]/a:identifikatorPodaniaField");
                const TReply one = sim.Call(
                    "GetPodanie", Field("IdentifikatorPodania", id) + Field("osoba", Person(s)) +
                                      Field("heslo", Sim::HesloDigest("h" + std::to_string(s))));
                got.insert(one.Value(
                    "/s:Envelope/s:Body/c:GetPodanieResponse/c:GetPodanieResult/a:dataField/*/*"));
            }
            QCOMPARE(got, want);
        }
        QVERIFY(sim.Db().SubjektsOf("x7", Sim::HesloDigest("x")) ==
                std::vector<std::string>{"S-X"});
    }
};

QTEST_GUILESS_MAIN(TestSimConcurrency)
#include "tst_simconcurrency.moc"
