#include "USimTestKit.h"

#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <stdexcept>

namespace SimTest {

namespace {

struct TXPathContextDeleter {
    void operator()(xmlXPathContext* c) const noexcept { xmlXPathFreeContext(c); }
};
struct TXPathObjectDeleter {
    void operator()(xmlXPathObject* o) const noexcept { xmlXPathFreeObject(o); }
};

std::unique_ptr<xmlXPathObject, TXPathObjectDeleter> Evaluate(xmlDoc* doc,
                                                              const std::string& xpath) {
    if (!doc)
        return nullptr;
    std::unique_ptr<xmlXPathContext, TXPathContextDeleter> ctx(xmlXPathNewContext(doc));
    xmlXPathRegisterNs(ctx.get(), Sim::X("s"), Sim::X(Sim::SoapEnvNs));
    xmlXPathRegisterNs(ctx.get(), Sim::X("c"), Sim::X(Sim::ContractNs));
    xmlXPathRegisterNs(ctx.get(), Sim::X("a"), Sim::X(Sim::DataNs));
    xmlXPathRegisterNs(ctx.get(), Sim::X("y"), Sim::X(Sim::SysDataNs));
    xmlXPathRegisterNs(ctx.get(), Sim::X("i"), Sim::X(Sim::XsiNs));
    return std::unique_ptr<xmlXPathObject, TXPathObjectDeleter>(
        xmlXPathEvalExpression(Sim::X(xpath.c_str()), ctx.get()));
}

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

} // namespace

std::string TReply::Value(const std::string& xpath) const {
    const auto result = Evaluate(Doc.get(), "string(" + xpath + ")");
    return result && result->stringval ? Sim::C(result->stringval) : "";
}

int TReply::Count(const std::string& xpath) const {
    const auto result = Evaluate(Doc.get(), "count(" + xpath + ")");
    return result ? static_cast<int>(result->floatval) : -1;
}

std::vector<std::string> TReply::Values(const std::string& xpath) const {
    std::vector<std::string> out;
    const auto result = Evaluate(Doc.get(), xpath);
    if (!result || result->type != XPATH_NODESET || !result->nodesetval)
        return out;
    for (int k = 0; k < result->nodesetval->nodeNr; ++k)
        out.push_back(Sim::TextOf(result->nodesetval->nodeTab[k]));
    return out;
}

std::string Envelope(const std::string& operation, const std::string& fields) {
    return std::string("<?xml version=\"1.0\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"") +
           Sim::SoapEnvNs + "\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"" +
           Sim::XsiNs + "\"><SOAP-ENV:Body><" + operation + " xmlns=\"" + Sim::ContractNs + "\">" +
           fields + "</" + operation + "></SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string Field(const std::string& name, const std::string& text) {
    return "<" + name + ">" + Escape(text) + "</" + name + ">";
}

TSimFixture::TSimFixture(Sim::TSimServerOptions options) {
    if (!Dir.isValid())
        throw std::runtime_error("no temporary folder");
    options.DbPath = DbPath();
    options.KeepAliveSeconds = 1;
    SimServer = std::make_unique<Sim::TSimServer>(std::move(options));
    SimServer->Start();
}

TSimFixture::~TSimFixture() = default;

std::string TSimFixture::DbPath() const {
    return Dir.filePath(QStringLiteral("sim.db")).toStdString();
}

TReply TSimFixture::Call(const std::string& operation, const std::string& fields) {
    return Post(Envelope(operation, fields), "\"" + Sim::ActionOf(operation) + "\"");
}

TReply TSimFixture::Post(const std::string& body, const std::string& soapAction,
                         const std::string& contentType, int readTimeoutMs) {
    httplib::Client client("127.0.0.1", SimServer->Port());
    client.set_keep_alive(false);
    client.set_read_timeout(readTimeoutMs / 1000, (readTimeoutMs % 1000) * 1000);
    httplib::Headers headers;
    if (!soapAction.empty())
        headers.emplace("SOAPAction", soapAction);
    const auto result = client.Post(OrvConfig::ServicePath, headers, body, contentType.c_str());
    TReply reply;
    reply.Error = result.error();
    if (!result)
        return reply;
    reply.Status = result->status;
    reply.ContentType = result->get_header_value("Content-Type");
    reply.Body = result->body;
    reply.Doc = Sim::ParseUntrusted(reply.Body).Doc;
    return reply;
}

TReply TSimFixture::Raw(const std::string& method, const std::string& path, const std::string& body,
                        const std::string& contentType) {
    httplib::Client client("127.0.0.1", SimServer->Port());
    client.set_keep_alive(false);
    httplib::Result result = method == "GET" ? client.Get(path.c_str())
                             : method == "DELETE"
                                 ? client.Delete(path.c_str())
                                 : client.Post(path.c_str(), body, contentType.c_str());
    TReply reply;
    reply.Error = result.error();
    if (result) {
        reply.Status = result->status;
        reply.ContentType = result->get_header_value("Content-Type");
        reply.Body = result->body;
    }
    return reply;
}

std::string TSimFixture::Login(const std::string& subjekt, const std::string& osoba,
                               const std::string& password) {
    return Field("subjekt", subjekt) + Field("osoba", osoba) +
           Field("heslo", Sim::HesloDigest(password));
}

Sim::TUtcMs At(const char* xsDateTime) {
    const auto value = Sim::ParseXsDateTime(xsDateTime);
    if (!value)
        throw std::invalid_argument(xsDateTime);
    return *value;
}

} // namespace SimTest
