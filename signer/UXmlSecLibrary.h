#pragma once

#include <QString>

// Starts xmlsec with its OpenSSL back end once per process; its messages are
// kept for the caller instead of going to the console.
void EnsureXmlSec();

// xmlsec's last message on this thread, cleared when read.
QString TakeXmlSecError();
