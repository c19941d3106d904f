// Shared body of the exchange readers' fuzz targets (PO, XLIFF): whatever a
// reader accepts holds texts the project may keep (their stored form valid
// UTF-8 without NUL or other control characters), and written again by the
// exchange's writer reads back to the same units; a refusal says where, in
// words the window can show.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stored_text.h"
#include "platform/text.h"
#include "translator/exchange/exchange_unit.h"
#include "translator/model/text_escape.h"

namespace ulk::fuzz {

inline void CheckUnits(const ImportFile& file) {
  std::string stored;
  if (ToStoredText(file.targetLanguage, stored)) std::abort();
  for (const ImportUnit& unit : file.units) {
    for (const std::string* text : {&unit.key, &unit.source, &unit.target, &unit.note}) {
      if (CheckStoredText(*text)) std::abort();
    }
  }
}

// The units as the writer takes them: real texts, their states and notes.
inline std::vector<ExportUnit> ToExport(const ImportFile& file) {
  std::vector<ExportUnit> units;
  for (const ImportUnit& unit : file.units) {
    ExportUnit out;
    out.key = UnescapeText(unit.key);
    out.source = UnescapeText(unit.source);
    out.target = UnescapeText(unit.target);
    out.state = unit.state;
    out.translatorNote = UnescapeText(unit.note);
    units.push_back(std::move(out));
  }
  return units;
}

// Whether a unit's state reads back as it was. A text not offered as a
// translation (a plural PO entry, XLIFF's "new") may come back as one to
// review where the format has nothing closer, never as finished.
inline bool SameState(UnitState before, UnitState after) {
  if (before == UnitState::kUntranslated)
    return after == UnitState::kUntranslated || after == UnitState::kToReview;
  return after == before;
}

// `read(bytes, file, error)` and `write(file, units)` of one format, whose
// units all have keys when `keysRequired`.
template <typename Read, typename Write>
int FuzzExchangeReader(const std::uint8_t* data, std::size_t size, bool keysRequired, Read read,
                       Write write) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ImportFile file;
  std::string error;
  if (!read(bytes, file, error)) {
    if (error.rfind("línea ", 0) != 0 || !IsValidUtf8(error)) std::abort();
    return 0;
  }
  CheckUnits(file);
  const std::string written = write(file, ToExport(file));
  ImportFile again;
  if (!read(written, again, error)) std::abort();
  if (again.targetLanguage != file.targetLanguage || again.units.size() != file.units.size())
    std::abort();
  for (std::size_t i = 0; i < file.units.size(); ++i) {
    const ImportUnit& before = file.units[i];
    const ImportUnit& after = again.units[i];
    if (!after.hasKey || (keysRequired && !before.hasKey) || after.key != before.key ||
        after.source != before.source || after.target != before.target ||
        after.note != before.note || !SameState(before.state, after.state)) {
      std::abort();
    }
  }
  return 0;
}

}  // namespace ulk::fuzz
