// What an exchange file (XLIFF or PO) carries for one text of one module
// language, and for the file as a whole, between the project and the
// formats' writers and readers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ulk {

// How far the target of a unit has come, as both formats say it.
enum class UnitState {
  kUntranslated,  // no target, or one the file says nobody has worked on
  kToReview,      // a target that wants a look: "por revisar"
  kTranslated,
  kReviewed,  // checked after it was translated: "revisado"
};

// Written: one unit per original-language entry.
struct ExportUnit {
  std::string key;
  std::string source;   // the original text in its real form (line breaks, tabs)
  std::string target;   // "" when not translated
  std::string restype;  // the kind of resource or control, as XLIFF names it; "" for none
  std::string note;     // the kind of resource and the dialog or menu it belongs to
  // The control's size in dialog units, for a dialog control; 0 when unknown.
  std::int32_t width = 0;
  std::int32_t height = 0;
  // The target's state; only a unit with a target has one. A target that
  // is kUntranslated (never written by the export) is written as not
  // finished, so that it is not taken back as a translation.
  UnitState state = UnitState::kUntranslated;
  // The translator's note of the target entry in its real form; "" for none.
  std::string translatorNote;
};

struct ExportHeader {
  std::string projectName;
  std::string moduleFile;      // the module's file name
  std::string sourceLanguage;  // the languages' names in the project
  std::string targetLanguage;
  std::string sourceTag;  // BCP 47, "" when the name has none
  std::string targetTag;
  std::string revisionDate;  // "YYYY-MM-DD HH:MM+0000"
};

// Read back: one unit of an exchange file. Its texts have passed the gate
// of stored texts (ToStoredText) and are in the form the project stores
// them, line breaks and tabs as "\n", "\r", "\t"; a file with a text
// that cannot pass is refused by its reader.
struct ImportUnit {
  bool hasKey = false;  // a PO entry without msgctxt has none
  std::string key;
  std::string source;
  std::string target;
  // kUntranslated for an empty target and for one the file does not offer
  // as a translation (a plural PO entry, an XLIFF target in state "new").
  UnitState state = UnitState::kUntranslated;
  // The translator's note, stored as the texts are (a unit's several
  // notes joined by line breaks); "" for none. Notes from others (a PO
  // extracted comment, an XLIFF note from the developer or from nobody in
  // particular) are not read.
  std::string note;
  long line = 0;
};

struct ImportFile {
  std::vector<ImportUnit> units;
  std::string targetLanguage;  // as the file names it; "" when it does not
  long targetLanguageLine = 0;
};

}  // namespace ulk
