// orv-portal-sim: a local stand-in for the portal service, for the demo, the
// end-to-end tests and load runs.

#include "USimCrypto.h"
#include "USimDatabase.h"
#include "USimProcess.h"
#include "USimSeed.h"
#include "USimServer.h"
#include "USimSignatureCheck.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char* Usage = R"(Usage:
  orv-portal-sim serve --db FILE [--port N] [--tls-cert FILE --tls-key FILE]
                       [--exit-after SECONDS] [--allow-faults] [--verbose]
                       [--trust-ca FILE --schemas DIR [--policy ID=HASH]...
                        [--policies FILE]]
  orv-portal-sim seed --db FILE --demo
  orv-portal-sim account add --db FILE --subjekt S --osoba O --heslo-stdin
  orv-portal-sim --help

serve    Serves the portal service on 127.0.0.1 (only) at
         /TirsaOrvWeb/PortalService.svc. Port 0 (the default) picks a free
         port. The first line printed is the endpoint URL. Runs until SIGINT
         or SIGTERM, or until --exit-after seconds have passed.
         --allow-faults opens POST/GET/DELETE /__sim/faults for scripting the
         next answers (see sim/README.md).
         --verbose prints one line per request to standard error.
         --trust-ca FILE (PEM, e.g. the demo CA) makes PodajPodanie check
         every submission: a valid XAdES signature by a certificate of that
         CA, an accepted policy, and the signed EPH valid against its
         version's schema; a refusal is result 6 with the reason in
         popisChyby, and accepted submissions are stored as "Overené".
         Without --trust-ca unsigned documents are accepted ("Neoverené").
         --policy ID=HASH (repeatable; HASH is the Base64 digest of the
         policy document) and --policies FILE (one ID=HASH a line, # for
         comments) list the accepted policies; none given: any policy.
         --schemas DIR (required with --trust-ca) holds the versions'
         schemas Podaj_v01.xsd, Podaj_v02.xsd, Podaj_v03.xsd, e.g. the
         client build's forms folder (build/release/forms).
seed     Creates (or replaces) the demo account and its data: about 1200
         submissions over the last 90 days with business cases, states and
         delivered documents.
account  Adds an account, or replaces its password. The password is read
         from standard input (one line), never from the command line.

Demo account (seed --demo):
  subjekt  10012345
  osoba    demo
  heslo    Demo-Heslo-2024
)";

class TUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// --name value and bare --flag options after the command words.
struct TArgs {
    std::vector<std::string> Words;
    std::map<std::string, std::string> Values;
    std::vector<std::string> Policies; // --policy may be repeated

    bool Flag(const std::string& name) const { return Values.count(name) != 0; }
    std::string Required(const std::string& name) const {
        const auto it = Values.find(name);
        if (it == Values.end() || it->second.empty())
            throw TUsageError("missing --" + name);
        return it->second;
    }
    std::optional<std::string> Optional(const std::string& name) const {
        const auto it = Values.find(name);
        return it == Values.end() ? std::nullopt : std::optional(it->second);
    }
};

TArgs Parse(int argc, char** argv) {
    static const std::map<std::string, bool> known = {
        {"db", true},         {"port", true},          {"tls-cert", true},     {"tls-key", true},
        {"exit-after", true}, {"allow-faults", false}, {"verbose", false},     {"demo", false},
        {"subjekt", true},    {"osoba", true},         {"heslo-stdin", false}, {"help", false},
        {"trust-ca", true},   {"policy", true},        {"policies", true},     {"schemas", true}};
    TArgs args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            args.Words.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        const auto it = known.find(name);
        if (it == known.end())
            throw TUsageError("unknown option " + arg);
        if (it->second) {
            if (i + 1 >= argc)
                throw TUsageError(arg + " needs a value");
            args.Values[name] = argv[++i];
            if (name == "policy")
                args.Policies.push_back(args.Values[name]);
        } else {
            args.Values[name] = "";
        }
    }
    return args;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The signature and schema check, when a trusted CA is given.
std::shared_ptr<Sim::ISimSubmissionCheck> SubmissionCheck(const TArgs& args) {
    const auto trustCa = args.Optional("trust-ca");
    if (!trustCa) {
        if (args.Flag("policy") || args.Flag("policies") || args.Flag("schemas"))
            throw TUsageError("--policy, --policies and --schemas need --trust-ca");
        return nullptr;
    }
    const auto schemas = args.Optional("schemas");
    if (!schemas)
        throw TUsageError("--trust-ca needs --schemas DIR");
    Sim::TSimSignatureCheckOptions check;
    check.TrustedPem = ReadWholeFile(*trustCa);
    check.SchemaDir = *schemas;
    try {
        for (const std::string& policy : args.Policies)
            check.Policies.push_back(Sim::ParsePolicy(policy));
    } catch (const std::invalid_argument& error) {
        throw TUsageError(error.what());
    }
    if (const auto file = args.Optional("policies")) {
        const auto listed = Sim::ReadPolicies(*file);
        check.Policies.insert(check.Policies.end(), listed.begin(), listed.end());
    }
    return std::make_shared<Sim::TSimSignatureCheck>(std::move(check));
}

int Serve(const TArgs& args) {
    Sim::TSimServerOptions options;
    options.DbPath = args.Required("db");
    if (const auto port = args.Optional("port")) {
        const auto [end, ec] =
            std::from_chars(port->data(), port->data() + port->size(), options.Port);
        if (ec != std::errc() || end != port->data() + port->size() || options.Port < 0 ||
            options.Port > 65535)
            throw TUsageError("bad --port " + *port);
    }
    options.TlsCert = args.Optional("tls-cert").value_or("");
    options.TlsKey = args.Optional("tls-key").value_or("");
    if (options.TlsCert.empty() != options.TlsKey.empty())
        throw TUsageError("--tls-cert and --tls-key go together");
    options.AllowFaults = args.Flag("allow-faults");
    std::optional<double> exitAfter;
    if (const auto text = args.Optional("exit-after")) {
        try {
            std::size_t used = 0;
            exitAfter = std::stod(*text, &used);
            if (used != text->size() || *exitAfter < 0)
                throw std::invalid_argument(*text);
        } catch (const std::logic_error&) {
            throw TUsageError("bad --exit-after " + *text);
        }
    }
    if (args.Flag("verbose")) {
        options.Log = [](const std::string& line) {
            static std::mutex mutex;
            const std::lock_guard lock(mutex);
            std::cerr << "orv-portal-sim: " << line << '\n';
        };
    }

    options.Portal.SubmissionCheck = SubmissionCheck(args);

    Sim::PrepareStopSignals();
    Sim::TSimServer server(std::move(options));
    server.Start();
    std::cout << server.Url() << std::endl;
    Sim::WaitForStop(exitAfter);
    server.Stop();
    return 0;
}

int Seed(const TArgs& args) {
    if (!args.Flag("demo"))
        throw TUsageError("seed needs --demo");
    Sim::TSimDatabase database(args.Required("db"));
    const auto counts = Sim::SeedDemo(database, Sim::NowUtcMs());
    std::cout << "Seeded " << counts.Podania << " submissions and " << counts.Pisomnosti
              << " documents for subjekt " << Sim::DemoSubjekt << ", osoba " << Sim::DemoOsoba
              << " (password " << Sim::DemoHeslo << ").\n";
    return 0;
}

int AddAccount(const TArgs& args) {
    if (!args.Flag("heslo-stdin"))
        throw TUsageError("account add reads the password from standard input: give --heslo-stdin");
    const std::string db = args.Required("db");
    Sim::TSimAccount account;
    account.Subjekt = args.Required("subjekt");
    account.Osoba = args.Required("osoba");
    const auto heslo = Sim::ReadSecretLine("Password: ");
    if (!heslo || heslo->empty())
        throw std::runtime_error("no password on standard input");
    account.HesloDigest = Sim::HesloDigest(*heslo);
    Sim::TSimDatabase database(db);
    database.AddAccount(account);
    std::cout << "Account " << account.Subjekt << " / " << account.Osoba << " saved.\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const TArgs args = Parse(argc, argv);
        if (args.Flag("help") || (!args.Words.empty() && args.Words[0] == "help")) {
            std::cout << Usage;
            return 0;
        }
        const std::vector<std::string>& w = args.Words;
        if (w.size() == 1 && w[0] == "serve")
            return Serve(args);
        if (w.size() == 1 && w[0] == "seed")
            return Seed(args);
        if (w.size() == 2 && w[0] == "account" && w[1] == "add")
            return AddAccount(args);
        throw TUsageError(w.empty() ? "no command given" : "unknown command " + w[0]);
    } catch (const TUsageError& error) {
        std::cerr << "orv-portal-sim: " << error.what() << "\n\n" << Usage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "orv-portal-sim: " << error.what() << '\n';
        return 1;
    }
}
