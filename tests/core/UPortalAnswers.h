#pragma once

#include "OrvConfig.h"

#include <QByteArray>
#include <QRegularExpression>

// SOAP answers of the portal and the parts of the requests the tests read.

inline QByteArray SoapEnvelope(const QByteArray& body) {
    return "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>" + body +
           "</s:Body></s:Envelope>";
}

// <operation>Response in the contract namespace, holding inner.
inline QByteArray PortalAnswer(const QByteArray& operation, const QByteArray& inner) {
    return SoapEnvelope("<" + operation + "Response xmlns=\"" + OrvConfig::ContractNamespace +
                        "\" xmlns:a=\"" + OrvConfig::DataContractNamespace + "\">" + inner + "</" +
                        operation + "Response>");
}

// The <Result> element of a listing or fetch, items in the data-contract namespace.
inline QByteArray ResultElement(const QByteArray& operation, const QByteArray& items) {
    return "<" + operation + "Result>" + items + "</" + operation + "Result>";
}

inline QByteArray Popis(const QByteArray& text) {
    return text.isEmpty() ? QByteArray("<popisChyby/>") : "<popisChyby>" + text + "</popisChyby>";
}

// The field elements of the request message, as written.
inline QByteArray RequestFields(const QByteArray& body, const QByteArray& operation) {
    const QRegularExpression element(
        QStringLiteral("<(?:\\w+:)?%1(?:\\s[^>]*)?>(.*)</(?:\\w+:)?%1>")
            .arg(QString::fromLatin1(operation)),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = element.match(QString::fromUtf8(body));
    return match.hasMatch() ? match.captured(1).toUtf8() : QByteArray("<no " + operation + ">");
}
