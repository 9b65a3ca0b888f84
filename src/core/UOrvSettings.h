#pragma once

#include <QString>

// The seven connection and signing settings, kept in section ORV under the
// value names of the fields.
struct TOrvSettings {
    QString Url;
    QString Subjekt;
    QString Osoba;
    QString Heslo; // password digest, never the password
    QString SignatureAlgorithm;
    QString SignaturePolicy;
    QString VerziaPodaja;
};

// Url when the store holds none: the operator's production endpoint.
QString DefaultOrvUrl();

// Reads the seven in field order; an absent value gives its default.
TOrvSettings LoadOrvSettings();

// Writes the seven in field order; a failed write stops the rest, and the
// values written before it stay written.
void SaveOrvSettings(const TOrvSettings& settings);
