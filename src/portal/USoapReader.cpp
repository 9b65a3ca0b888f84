#include "USoapReader.h"

#include "UClock.h"
#include "UOrvError.h"
#include "UPortalFields.h"
#include "USafeXml.h"
#include "USoapDateTime.h"
#include "USoapFault.h"
#include "USoapNamespaces.h"
#include "UXmlOwners.h"
#include "UXmlWrite.h"

#include <cstring>
#include <string_view>

using namespace PortalService;

namespace {

std::string_view View(const xmlChar* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

bool NameIs(const xmlNode* node, const char* name) {
    return std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

QString NodeName(const xmlNode* node) {
    return QString::fromUtf8(reinterpret_cast<const char*>(node->name));
}

QString NamespaceOf(const xmlNode* node) {
    return node->ns ? QString::fromUtf8(reinterpret_cast<const char*>(node->ns->href)) : QString();
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Whitespace-only text between elements does not count as content.
bool IsSignificant(const xmlNode* node) {
    return node->type != XML_TEXT_NODE || !IsBlank(View(node->content));
}

const xmlNode* FirstElement(const xmlNode* parent) {
    for (const xmlNode* child = parent->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            return child;
        }
    }
    return nullptr;
}

const xmlNode* NextElement(const xmlNode* node) {
    for (node = node->next; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            return node;
        }
    }
    return nullptr;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

void AppendText(const xmlNode* node, QByteArray& out) {
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
            if (child->type == XML_CDATA_SECTION_NODE || !IsBlank(View(child->content))) {
                out += reinterpret_cast<const char*>(child->content);
            }
        } else if (child->type == XML_ELEMENT_NODE) {
            AppendText(child, out);
        }
    }
}

// The text of an element as UTF-8: its own text node without a copy in the
// common case, else every text below it gathered into scratch.
std::string_view TextBytes(const xmlNode* element, QByteArray& scratch) {
    const xmlNode* child = element->children;
    if (!child) {
        return {};
    }
    if (!child->next && (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)) {
        const std::string_view text = View(child->content);
        return child->type == XML_TEXT_NODE && IsBlank(text) ? std::string_view() : text;
    }
    scratch.clear();
    AppendText(element, scratch);
    return std::string_view(scratch.constData(), size_t(scratch.size()));
}

QString ElementText(const xmlNode* element) {
    QByteArray scratch;
    const std::string_view text = TextBytes(element, scratch);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

[[noreturn]] void InvalidProperty(std::string_view text) {
    throw TOrvError(QStringLiteral("Invalid property element: %1")
                        .arg(QString::fromUtf8(text.data(), qsizetype(text.size()))));
}

bool IsTrue(std::string_view value) {
    value = Trimmed(value);
    return value == "true" || value == "1";
}

bool IsNil(const xmlNode* element) {
    for (const xmlAttr* attr = element->properties; attr; attr = attr->next) {
        if (attr->ns && std::strcmp(reinterpret_cast<const char*>(attr->name), "nil") == 0 &&
            View(attr->ns->href) == XmlSchemaInstanceNamespace) {
            const xmlNode* value = attr->children;
            return value && !value->next && IsTrue(View(value->content));
        }
    }
    return false;
}

// ---- Field values ----

// What every value of one response is read with: the UTC offset is taken once,
// so one answer is read under one offset (and the zone is not asked per field).
struct TReadContext {
    int UtcOffsetMinutes = 0;
};

void ReadValue(const xmlNode* element, QString& value, const TReadContext&) {
    value = IsNil(element) ? QString() : ElementText(element);
}

void ReadValue(const xmlNode* element, int& value, const TReadContext&) {
    value = 0;
    if (IsNil(element)) {
        return;
    }
    QByteArray scratch;
    const std::string_view raw = TextBytes(element, scratch);
    std::string_view text = Trimmed(raw);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        InvalidProperty(raw);
    }
    while (text.size() > 1 && text.front() == '0') {
        text.remove_prefix(1);
    }
    if (text.size() > 10) {
        InvalidProperty(raw);
    }
    std::int64_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            InvalidProperty(raw);
        }
        number = number * 10 + (c - '0');
    }
    number = negative ? -number : number;
    if (number < INT32_MIN || number > INT32_MAX) {
        InvalidProperty(raw);
    }
    value = int(number);
}

bool EqualsNoCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != lower[i]) {
            return false;
        }
    }
    return true;
}

void ReadValue(const xmlNode* element, bool& value, const TReadContext&) {
    value = false;
    if (IsNil(element)) {
        return;
    }
    QByteArray scratch;
    const std::string_view raw = TextBytes(element, scratch);
    const std::string_view text = Trimmed(raw);
    if (EqualsNoCase(text, "true") || text == "1") {
        value = true;
    } else if (!EqualsNoCase(text, "false") && text != "0") {
        InvalidProperty(raw);
    }
}

void ReadValue(const xmlNode* element, TDateTime& value, const TReadContext& context) {
    value = 0;
    if (IsNil(element)) {
        return;
    }
    QByteArray scratch;
    const std::string_view text = TextBytes(element, scratch);
    value = ParseSoapDateTime(QByteArrayView(text.data(), qsizetype(text.size())),
                              context.UtcOffsetMinutes);
}

// Kept only when the element holds exactly one node; that node is copied with
// its content as received, whitespace included.
void ReadValue(const xmlNode* element, TRawXml& value, const TReadContext&) {
    value = TRawXml();
    if (IsNil(element)) {
        return;
    }
    const xmlNode* only = nullptr;
    for (const xmlNode* child = element->children; child; child = child->next) {
        if (IsSignificant(child)) {
            if (only) {
                return;
            }
            only = child;
        }
    }
    value = TRawXml(only);
}

// Empty types: their content is skipped.
void ReadValue(const xmlNode*, dataField2&, const TReadContext&) {}
void ReadValue(const xmlNode*, dataField4&, const TReadContext&) {}

template <class T> void ReadObject(const xmlNode* element, T& object, const TReadContext& context);

template <class T>
void ReadValue(const xmlNode* element, std::unique_ptr<T>& value, const TReadContext& context) {
    value.reset();
    if (IsNil(element)) {
        return;
    }
    auto object = std::make_unique<T>();
    ReadObject(element, *object, context);
    value = std::move(object);
}

// Every element child is an item, whatever its name.
template <class T>
void ReadValue(const xmlNode* element, std::vector<T>& items, const TReadContext& context) {
    items.clear();
    if (IsNil(element)) {
        return;
    }
    size_t count = 0;
    for (const xmlNode* child = FirstElement(element); child; child = NextElement(child)) {
        ++count;
    }
    items.reserve(count);
    for (const xmlNode* child = FirstElement(element); child; child = NextElement(child)) {
        T& item = items.emplace_back();
        if (!IsNil(child)) {
            ReadObject(child, item, context);
        }
    }
}

// ---- Objects ----

template <class T> struct TFieldNames {
    const char* Names[Wire::MaxFields] = {};
    size_t Count = 0;
};

template <class T> const TFieldNames<T>& FieldNames() {
    static const TFieldNames<T> names = [] {
        TFieldNames<T> result;
        T probe{};
        Wire::TFields<T>::Visit(
            probe, [&](const char* name, auto&) { result.Names[result.Count++] = name; });
        return result;
    }();
    return names;
}

// Each field takes the first element child of its exact local name; namespace
// and prefix do not matter. Children come in field order almost always, so the
// search starts after the last match.
template <class T> void ReadObject(const xmlNode* element, T& object, const TReadContext& context) {
    const TFieldNames<T>& fields = FieldNames<T>();
    if (fields.Count == 0) {
        return;
    }
    const xmlNode* slots[Wire::MaxFields] = {};
    size_t hint = 0;
    for (const xmlNode* child = FirstElement(element); child; child = NextElement(child)) {
        for (size_t k = 0; k < fields.Count; ++k) {
            const size_t i = (hint + k) % fields.Count;
            if (NameIs(child, fields.Names[i])) {
                if (!slots[i]) {
                    slots[i] = child;
                }
                hint = i + 1;
                break;
            }
        }
    }
    size_t index = 0;
    Wire::TFields<T>::Visit(object, [&](const char*, auto& member) {
        if (const xmlNode* child = slots[index++]) {
            ReadValue(child, member, context);
        }
    });
}

// ---- Envelope ----

const xmlNode* FindChildNoCase(const xmlNode* parent, const char* name) {
    for (const xmlNode* child = FirstElement(parent); child; child = NextElement(child)) {
        if (EqualsNoCase(View(child->name), name)) {
            return child;
        }
    }
    return nullptr;
}

QString NodeXml(const xmlNode* node) {
    const std::string text = XmlNodeText(*node);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

[[noreturn]] void RaiseFault(const xmlNode* fault) {
    const auto text = [&](const char* name) {
        const xmlNode* child = FindChildNoCase(fault, name);
        return child ? ElementText(child) : QString();
    };
    const xmlNode* detail = FindChildNoCase(fault, "detail");
    // The fault code is a qualified name; it is kept as text and never resolved.
    throw TSoapFault(text("faultstring"), text("faultcode"), text("faultactor"),
                     detail ? NodeXml(detail) : QString());
}

[[noreturn]] void InvalidResponse() {
    throw TOrvError(QStringLiteral("Invalid SOAP response"));
}

void CheckHeader(const xmlNode* header) {
    for (const xmlNode* entry = FirstElement(header); entry; entry = NextElement(entry)) {
        for (const xmlAttr* attr = entry->properties; attr; attr = attr->next) {
            if (std::strcmp(reinterpret_cast<const char*>(attr->name), "mustUnderstand") != 0) {
                continue;
            }
            const xmlNode* value = attr->children;
            if (value && !value->next && IsTrue(View(value->content))) {
                throw TOrvError(QStringLiteral("Soap header %1 with attribute 'mustUnderstand' "
                                               "set to true was not handled")
                                    .arg(NodeName(entry)));
            }
        }
    }
}

// The body's message element, or null when the body holds none or several.
const xmlNode* FindMessage(const xmlDoc* doc) {
    const xmlNode* envelope = xmlDocGetRootElement(doc);
    if (!envelope) {
        throw TOrvError(QStringLiteral("Invalid SOAP Response"));
    }
    if (!NameIs(envelope, "Envelope") || View(envelope->ns ? envelope->ns->href : nullptr) !=
                                             std::string_view(SoapEnvelopeNamespace)) {
        throw TOrvError(QStringLiteral("DocumentElement %1:%2 expected, %3:%4 found")
                            .arg(QLatin1String(SoapEnvelopeNamespace), QStringLiteral("Envelope"),
                                 NamespaceOf(envelope), NodeName(envelope)));
    }
    bool hasChild = false;
    for (const xmlNode* child = envelope->children; child && !hasChild; child = child->next) {
        hasChild = IsSignificant(child);
    }
    if (!hasChild) {
        InvalidResponse();
    }

    const xmlNode* header = nullptr;
    const xmlNode* body = nullptr;
    for (const xmlNode* child = FirstElement(envelope); child; child = NextElement(child)) {
        const xmlNode** slot = NameIs(child, "Header") ? &header
                               : NameIs(child, "Body") ? &body
                                                       : nullptr;
        if (slot) {
            if (*slot) {
                InvalidResponse();
            }
            *slot = child;
        }
    }
    if (header) {
        CheckHeader(header);
    }
    // Without a body there is no answer at all, which is not "no message".
    if (!body) {
        InvalidResponse();
    }

    const xmlNode* first = FirstElement(body);
    if (!first) {
        return nullptr;
    }
    if (NameIs(first, "Fault")) {
        RaiseFault(first);
    }
    return NextElement(first) ? nullptr : first;
}

} // namespace

template <class TResponse> std::unique_ptr<TResponse> ReadSoapResponse(QByteArrayView body) {
    // An empty answer has no document element; the parser would only call it
    // "Document is empty".
    QByteArrayView rest = body;
    if (rest.startsWith("\xEF\xBB\xBF")) {
        rest = rest.sliced(3);
    }
    if (rest.trimmed().isEmpty()) {
        throw TOrvError(QStringLiteral("Invalid SOAP Response"));
    }
    const TXmlDocPtr doc = ParseUntrustedXml(body);
    const xmlNode* message = FindMessage(doc.get());
    if (!message) {
        return nullptr;
    }
    auto response = std::make_unique<TResponse>();
    ReadObject(message, *response, TReadContext{Clock().UtcOffsetMinutes()});
    return response;
}

#define ORV_DEFINE_RESPONSE(operation, result)                                                     \
    template std::unique_ptr<PortalService::operation##Response>                                   \
        ReadSoapResponse<PortalService::operation##Response>(QByteArrayView);
ORV_PORTAL_OPERATIONS(ORV_DEFINE_RESPONSE)
#undef ORV_DEFINE_RESPONSE
