#pragma once

// The fixed namespaces of a SOAP 1.1 envelope.
inline constexpr char SoapEnvelopeNamespace[] = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr char XmlSchemaNamespace[] = "http://www.w3.org/2001/XMLSchema";
inline constexpr char XmlSchemaInstanceNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";
