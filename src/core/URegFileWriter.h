#pragma once

#include "URegFile.h"

#include <string>

// The hive as a registry export file: UTF-8 without byte-order mark, CR LF
// line ends, every key on its own line (implied levels too). Strings that a
// quoted text cannot carry unchanged are written as hex bytes, so every
// value reads back exactly.
std::string FormatRegFile(const TRegFile& file);
