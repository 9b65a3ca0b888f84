#pragma once

// Runs the simulator in-process on a free port and talks to it with a plain
// HTTP client and hand-written envelopes.

#include "USimContract.h"
#include "USimCrypto.h"
#include "USimServer.h"
#include "USimXml.h"

#include <httplib.h>

#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace SimTest {

struct TReply {
    int Status = 0;
    std::string ContentType;
    std::string Body;
    httplib::Error Error = httplib::Error::Success;
    TXmlDocPtr Doc; // the body parsed, when it is XML

    // The string value of an XPath expression over the body, with the
    // prefixes s (envelope), c (contract), a (data contract), y (system data
    // contract) and i (schema instance).
    std::string Value(const std::string& xpath) const;
    int Count(const std::string& xpath) const;
    // The string value of each node the expression selects, in document order.
    std::vector<std::string> Values(const std::string& xpath) const;
};

// Builds the request envelope as the client writes it.
std::string Envelope(const std::string& operation, const std::string& fields);

// <name>text</name> with text escaped.
std::string Field(const std::string& name, const std::string& text);

class TSimFixture {
public:
    explicit TSimFixture(Sim::TSimServerOptions options = {});
    ~TSimFixture();

    Sim::TSimServer& Server() { return *SimServer; }
    Sim::TSimDatabase& Db() { return SimServer->Database(); }
    std::string DbPath() const;

    // Posts the operation's envelope with its SOAPAction.
    TReply Call(const std::string& operation, const std::string& fields);
    // Posts any body with any SOAPAction and content type.
    TReply Post(const std::string& body, const std::string& soapAction,
                const std::string& contentType = "text/xml; charset=\"utf-8\"",
                int readTimeoutMs = 10000);
    TReply Raw(const std::string& method, const std::string& path, const std::string& body = {},
               const std::string& contentType = "application/x-www-form-urlencoded");

    // Fields for an account's login: subjekt, osoba, heslo.
    static std::string Login(const std::string& subjekt, const std::string& osoba,
                             const std::string& password);

private:
    QTemporaryDir Dir;
    std::unique_ptr<Sim::TSimServer> SimServer;
};

// The instant of an xs:dateTime text; throws when it is not one.
Sim::TUtcMs At(const char* xsDateTime);

// A list of texts from literals: expected rows of a listing, or a command's arguments.
inline QStringList Utf8List(std::initializer_list<const char*> ids) {
    QStringList out;
    for (const char* id : ids)
        out << QString::fromUtf8(id);
    return out;
}

} // namespace SimTest
