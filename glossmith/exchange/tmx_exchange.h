// TMX 1.4b import and export of dictionaries: every linked pair of texts is
// one translation unit with a variant per language (languages named by
// their BCP 47 tag where the system's language list knows them, else by
// their own name) and the text type as a property. Import creates languages
// and texts as needed, existing texts reused, and links every variant of a
// unit with the unit's source-language variant; where a text already had
// translations in the dictionary, the two groups are joined as adding a
// translation joins them. Nothing is shown: the results carry what the
// window or ulk-cli shows.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "glossmith/db/dictionary_connection.h"
#include "glossmith/db/dictionary_store.h"

namespace ulk {

// Called now and then during long work with what is done of how much.
using TmxProgress = std::function<void(std::size_t done, std::size_t total)>;

// The property that carries a text's type ("ST", "MN", "DL", "VS", "MT", "FM").
inline constexpr const char* kTmxTypeProperty = "x-text-type";

// A variant of a unit as read: the language as the file names it, the
// text's type and the text in its stored form.
struct TmxVariant {
  std::string language;
  std::string type;
  std::string text;
  bool operator==(const TmxVariant&) const = default;
};

// The variants of a unit that have a text, the source-language one first
// (the variant in the unit's srclang, else the header's, else the first
// one of the file); the others in the file's order.
struct TmxUnit {
  std::vector<TmxVariant> variants;
  bool operator==(const TmxUnit&) const = default;
};

// Reads a TMX document whole, element by element. False, with where and
// why in `error` ("línea 12: ..."), for a document that is malformed or
// holds a language, type or text that no dictionary may hold (a control
// character): such a file is refused whole. Every text accepted passes
// CheckStoredText.
bool ReadTmx(std::string_view bytes, std::vector<TmxUnit>& units, std::string& error);

// A TMX document of `units` that ReadTmx reads back to the same units.
// Every text must be one ReadTmx can give.
std::string WriteTmx(const std::vector<TmxUnit>& units);

struct TmxExportResult {
  bool ok = false;
  std::string message;    // why nothing was written, when not ok
  std::size_t units = 0;  // pairs written
  // Pairs with a text an XML document cannot hold, or that is no stored
  // text (a file written by something else): an import would refuse it.
  std::size_t omitted = 0;
};

// Writes every linked pair of the open dictionary to `path` through a
// temporary file renamed into place.
TmxExportResult ExportTmx(DictionaryConnection& connection, const std::string& path,
                          const TmxProgress& progress = {});

struct TmxImportResult {
  bool ok = false;
  // Why the file was refused or the import failed (the dictionary is then
  // unchanged): "archivo.tmx: línea 12: ...".
  std::string message;
  std::size_t units = 0;
  std::size_t skipped = 0;  // units with fewer than two non-empty variants
  std::size_t textsAdded = 0;
  std::size_t textsReused = 0;
  std::size_t linked = 0;  // variants linked with their unit's source variant
  std::vector<std::string> languagesAdded;
};

// Reads `path` whole, then stores it in one transaction. The work grows
// with the file's variants times the size of the translation groups the
// dictionary already had, never with the square of the file.
TmxImportResult ImportTmx(DictionaryConnection& connection, DictionaryStore& store,
                          const std::string& path, const TmxProgress& progress = {});

}  // namespace ulk
