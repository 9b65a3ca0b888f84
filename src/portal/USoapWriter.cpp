#include "USoapWriter.h"

#include "OrvConfig.h"
#include "UOrvError.h"
#include "UPortalFields.h"
#include "USoapDateTime.h"
#include "USoapNamespaces.h"

#include <type_traits>

using namespace PortalService;

namespace {

// XML 1.0 Char production, on UTF-16.
void CheckXmlText(const QString& text, const char* field) {
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = text.at(i).unicode();
        bool valid = true;
        if (c < 0x20) {
            valid = c == u'\t' || c == u'\n' || c == u'\r';
        } else if (QChar::isHighSurrogate(c)) {
            valid = i + 1 < length && QChar::isLowSurrogate(text.at(i + 1).unicode());
            ++i;
        } else if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            valid = false;
        }
        if (!valid) {
            throw TOrvError(QStringLiteral("The text of %1 holds a character that cannot be "
                                           "sent in XML (U+%2)")
                                .arg(QLatin1String(field))
                                .arg(uint(c), 4, 16, QLatin1Char('0')));
        }
    }
}

void AppendEscaped(QByteArray& out, const QString& text, const char* field) {
    CheckXmlText(text, field);
    const QByteArray utf8 = text.toUtf8();
    out.reserve(out.size() + utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        // A bare CR would reach the portal as LF (XML end-of-line handling).
        case '\r':
            out += "&#13;";
            break;
        default:
            out += c;
        }
    }
}

const char* LiteralName(SortType value) {
    switch (value) {
    case SortType::Asc:
        return "Asc";
    case SortType::Desc:
        return "Desc";
    }
    throw TOrvError(QStringLiteral("Invalid SortType value"));
}

const char* LiteralName(SortColumnPodanie value) {
    switch (value) {
    case SortColumnPodanie::identifikatorBiznisPripadu:
        return "identifikatorBiznisPripadu";
    case SortColumnPodanie::DatumACasPrijatia:
        return "DatumACasPrijatia";
    case SortColumnPodanie::KodTypuHlavnehoObjektu:
        return "KodTypuHlavnehoObjektu";
    case SortColumnPodanie::StavPodania:
        return "StavPodania";
    }
    throw TOrvError(QStringLiteral("Invalid SortColumnPodanie value"));
}

const char* LiteralName(SortColumnSuborPisomnosti value) {
    switch (value) {
    case SortColumnSuborPisomnosti::identifikatorBiznisPripadu:
        return "identifikatorBiznisPripadu";
    case SortColumnSuborPisomnosti::DatumACasPrijatia:
        return "DatumACasPrijatia";
    case SortColumnSuborPisomnosti::KodTypuHlavnehoObjektu:
        return "KodTypuHlavnehoObjektu";
    case SortColumnSuborPisomnosti::Precitany:
        return "Precitany";
    }
    throw TOrvError(QStringLiteral("Invalid SortColumnSuborPisomnosti value"));
}

void AppendValue(QByteArray& out, const QString& value, const char* field) {
    AppendEscaped(out, value, field);
}

void AppendValue(QByteArray& out, int value, const char*) {
    out += QByteArray::number(value);
}

void AppendValue(QByteArray& out, bool value, const char*) {
    out += value ? "true" : "false";
}

void AppendValue(QByteArray& out, TDateTime value, const char*) {
    out += FormatSoapDateTime(value);
}

template <class E>
requires std::is_enum_v<E>
void AppendValue(QByteArray& out, E value, const char*) {
    out += LiteralName(value);
}

struct TFieldWriter {
    QByteArray& Out;

    template <class T> void operator()(const char* name, const Field<T>& field) const {
        if (!field) {
            return;
        }
        Out += '<';
        Out += name;
        const qsizetype start = Out.size();
        Out += '>';
        AppendValue(Out, *field, name);
        if (Out.size() == start + 1) {
            Out.chop(1);
            Out += "/>";
        } else {
            Out += "</";
            Out += name;
            Out += '>';
        }
    }
};

} // namespace

template <class TRequest> const char* OperationName() {
    return Wire::TFields<TRequest>::Name;
}

template <class TRequest> QByteArray WriteSoapRequest(const TRequest& request) {
    const char* name = Wire::TFields<TRequest>::Name;
    QByteArray out;
    out.reserve(512);
    out += "<?xml version=\"1.0\"?>";
    out += "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"";
    out += SoapEnvelopeNamespace;
    out += "\" xmlns:xsd=\"";
    out += XmlSchemaNamespace;
    out += "\" xmlns:xsi=\"";
    out += XmlSchemaInstanceNamespace;
    out += "\"><SOAP-ENV:Body><";
    out += name;
    out += " xmlns=\"";
    out += OrvConfig::ContractNamespace;
    out += "\">";
    Wire::TFields<TRequest>::Visit(request, TFieldWriter{out});
    out += "</";
    out += name;
    out += "></SOAP-ENV:Body></SOAP-ENV:Envelope>";
    return out;
}

#define ORV_DEFINE_REQUEST(operation, result)                                                      \
    template QByteArray WriteSoapRequest<PortalService::operation>(                                \
        const PortalService::operation&);                                                          \
    template const char* OperationName<PortalService::operation>();
ORV_PORTAL_OPERATIONS(ORV_DEFINE_REQUEST)
#undef ORV_DEFINE_REQUEST
