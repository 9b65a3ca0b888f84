#pragma once

#include "UOrvError.h"

// A SOAP fault: the message is the faultstring; the rest travels along.
class TSoapFault : public TOrvError {
public:
    TSoapFault(const QString& faultString, QString faultCode, QString faultActor, QString detail)
        : TOrvError(faultString)
        , FaultCode(std::move(faultCode))
        , FaultActor(std::move(faultActor))
        , Detail(std::move(detail)) {}

    QString FaultCode;
    QString FaultActor;
    QString Detail; // the detail element's XML
};
