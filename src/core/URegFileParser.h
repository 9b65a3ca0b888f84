#pragma once

#include "URegFile.h"

#include <string>
#include <string_view>

// Reads a registry export file of the given hive: UTF-8 (with or without
// byte-order mark) or UTF-16LE with its mark; an empty text is an empty hive.
// Import instructions (deletions) are refused, not carried out. Raises
// TRegistryError (Malformed) with filePath and the line at fault.
TRegFile ParseRegFile(std::u16string hive, std::string_view bytes, const std::string& filePath);
