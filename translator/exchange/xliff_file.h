// XLIFF 1.2 files of one module language: written by hand with proper
// escaping, read back through the XML parser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "translator/exchange/exchange_unit.h"

namespace ulk {

std::string WriteXliff(const ExportHeader& header, const std::vector<ExportUnit>& units);

// Reads the trans-units of every file of an XLIFF 1.x document (groups
// included). False with "línea N: ..." in `error` when the document is not
// well-formed, not XLIFF, or a unit lacks its id or source.
bool ReadXliff(std::string_view bytes, ImportFile& file, std::string& error);

}  // namespace ulk
