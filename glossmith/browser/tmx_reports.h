// What the administrator tells the user after a TMX import or export: the
// counts of what was done, or why nothing was.
#pragma once

#include <string>

#include "glossmith/exchange/tmx_exchange.h"

namespace ulk {

// The information shown after a successful export to `path`.
std::string TmxExportReport(const TmxExportResult& result, const std::string& path);
// The information shown after a successful import of `path`.
std::string TmxImportReport(const TmxImportResult& result, const std::string& path);

}  // namespace ulk
