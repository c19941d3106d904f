// Exchange of one target language of a module with a translator's tool:
// written as XLIFF 1.2 or PO (one unit per original-language entry), read
// back with the units matched by key. The operations show nothing; their
// results carry what the window or ulk-cli shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "translator/model/project.h"
#include "translator/model/undo_history.h"

namespace ulk {

enum class ExchangeFormat { kUnknown, kXliff, kPo };

// By the file name's extension: ".xlf" or ".xliff", ".po" (any case).
ExchangeFormat ExchangeFormatOf(std::string_view path);

struct ExportResult {
  bool ok = false;
  std::string message;         // why nothing was written, when not ok
  std::size_t units = 0;       // units written
  std::size_t translated = 0;  // of which with a translation
  // Entries left out: an empty original text, or a text that could not
  // come back (control characters, bytes that are not UTF-8, characters
  // an XML document cannot hold).
  std::vector<std::string> omitted;
  // Why the dialog controls' sizes are missing (the module file could not
  // be read); "" when they are written.
  std::string sizesProblem;
};

// Writes the entries of `language` (a target language of the module) to
// `path` in the format of its extension, through a temporary file renamed
// into place. `revisionDate` goes into the PO header ("" for now).
ExportResult ExportTranslations(const Project& project, const Module& module,
                                std::string_view language, const std::string& path,
                                const std::string& revisionDate = {});

struct ImportResult {
  bool ok = false;
  // Why the file was refused (the project is then unchanged): the file's
  // name and the place, "archivo.po: línea 12: ...".
  std::string message;
  std::size_t units = 0;
  // Units whose translation was taken (changed or already equal): as
  // finished (translated or reviewed), and as to be reviewed (a PO fuzzy
  // entry, an XLIFF target not approved or in a "needs-..." state).
  std::size_t applied = 0;
  std::size_t toReview = 0;
  std::size_t skipped = 0;           // empty targets, or ones not offered as translations
  std::vector<std::string> stale;    // the source is no longer the original text
  std::vector<std::string> unknown;  // no such key in the module ("" for a unit without key)
  // Entries whose text, review state or note changed, for the rows to
  // refresh.
  std::vector<std::string> changedKeys;
};

// Reads `path` (XLIFF or PO by its extension) and stores its translations
// into `language` with the review state the file gives them ("por
// revisar", "revisado" or translated), the original entries of changed
// texts marked as translated by hand. A translator's note in the file
// replaces the entry's note, also on a unit without a translation; a unit
// without one leaves the entry's note alone. With a history, all changes
// are one undo step (none when nothing changed). A malformed file, one
// made for another language, or one with a text or note the project
// cannot keep (not UTF-8, a NUL or another control character) changes
// nothing.
ImportResult ImportTranslations(Module& module, std::string_view language, const std::string& path,
                                UndoHistory* history);

// The BCP 47 tag of a language name, where the system's language list has
// one; "" otherwise.
std::string LanguageTagOfName(std::string_view name);

}  // namespace ulk
