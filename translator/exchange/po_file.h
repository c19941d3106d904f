// Gettext PO files of one module language: written with the header fields
// the tools require, read back with every syntax error named by its line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "translator/exchange/exchange_unit.h"

namespace ulk {

std::string WritePo(const ExportHeader& header, const std::vector<ExportUnit>& units);

// Reads a PO file (UTF-8, as its header must declare when it declares a
// charset). False with "línea N: ..." in `error` for a syntax error, bytes
// that are not UTF-8 or another charset. Obsolete entries are left out;
// the header is not a unit.
bool ReadPo(std::string_view bytes, ImportFile& file, std::string& error);

// The Plural-Forms value of gettext for a BCP 47 tag (by its language, and
// for Portuguese its region); two forms, "n != 1", when the tag is unknown.
std::string PluralFormsOf(std::string_view tag);

}  // namespace ulk
