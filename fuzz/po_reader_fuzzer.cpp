// Fuzz target: the PO reader of the exchange. Whatever it accepts holds
// texts the project may keep (their stored form valid UTF-8 without NUL or
// other control characters), and written again by the exchange's writer
// reads back to the same units.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stored_text.h"
#include "platform/text.h"
#include "translator/exchange/po_file.h"
#include "translator/model/text_escape.h"

namespace {

void CheckUnits(const ulk::ImportFile& file) {
  std::string stored;
  if (ulk::ToStoredText(file.targetLanguage, stored)) std::abort();
  for (const ulk::ImportUnit& unit : file.units) {
    for (const std::string* text : {&unit.key, &unit.source, &unit.target}) {
      if (ulk::CheckStoredText(*text)) std::abort();
    }
  }
}

// The units as the writer takes them: real texts, and what is not a
// finished translation marked fuzzy, so that it reads back as it was.
std::vector<ulk::ExportUnit> ToExport(const ulk::ImportFile& file) {
  std::vector<ulk::ExportUnit> units;
  for (const ulk::ImportUnit& unit : file.units) {
    ulk::ExportUnit out;
    out.key = ulk::UnescapeText(unit.key);
    out.source = ulk::UnescapeText(unit.source);
    out.target = ulk::UnescapeText(unit.target);
    out.fuzzy = !unit.translated && !unit.target.empty();
    units.push_back(std::move(out));
  }
  return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ulk::ImportFile file;
  std::string error;
  if (!ulk::ReadPo(bytes, file, error)) {
    // A refusal says where, in words the window can show.
    if (error.rfind("línea ", 0) != 0 || !ulk::IsValidUtf8(error)) std::abort();
    return 0;
  }
  CheckUnits(file);
  ulk::ExportHeader header;
  header.targetLanguage = file.targetLanguage;
  const std::string written = ulk::WritePo(header, ToExport(file));
  ulk::ImportFile again;
  if (!ulk::ReadPo(written, again, error)) std::abort();
  if (again.targetLanguage != file.targetLanguage || again.units.size() != file.units.size())
    std::abort();
  for (std::size_t i = 0; i < file.units.size(); ++i) {
    const ulk::ImportUnit& before = file.units[i];
    const ulk::ImportUnit& after = again.units[i];
    if (!after.hasKey || after.key != before.key || after.source != before.source ||
        after.target != before.target || after.translated != before.translated) {
      std::abort();
    }
  }
  return 0;
}
