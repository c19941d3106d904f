// TMX 1.4b import and export of dictionaries: every linked pair of texts is
// one translation unit with a variant per language (languages named by
// their BCP 47 tag where the system's language list knows them, else by
// their own name) and the text type as a property. Import creates languages
// and texts as needed and links the variants of a unit as adding a
// translation does, existing texts reused. Nothing is shown: the results
// carry what the window or ulk-cli shows.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "glossmith/db/dictionary_connection.h"
#include "glossmith/db/dictionary_store.h"

namespace ulk {

// Called now and then during long work with what is done of how much.
using TmxProgress = std::function<void(std::size_t done, std::size_t total)>;

// The property that carries a text's type ("ST", "MN", "DL", "VS").
inline constexpr const char* kTmxTypeProperty = "x-text-type";

struct TmxExportResult {
  bool ok = false;
  std::string message;      // why nothing was written, when not ok
  std::size_t units = 0;    // pairs written
  std::size_t omitted = 0;  // pairs with a text an XML document cannot hold
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
  std::size_t linked = 0;  // variants linked with their unit's first variant
  std::vector<std::string> languagesAdded;
};

// Reads `path` whole, then stores it in one transaction.
TmxImportResult ImportTmx(DictionaryConnection& connection, DictionaryStore& store,
                          const std::string& path, const TmxProgress& progress = {});

}  // namespace ulk
