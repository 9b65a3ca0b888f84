#pragma once

#include <QByteArray>

// SHA-256 (FIPS 180-4) over a message held whole in memory. `output` is resized
// to 32 bytes and receives H0..H7, each most significant byte first. `input`
// is only read.
void Sha256Digest(const QByteArray& input, QByteArray& output);
