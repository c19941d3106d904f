// Export and import of a module language through XLIFF and PO files.
#include "translator/exchange/translation_exchange.h"

#include <ctime>
#include <unordered_map>

#include "platform/files.h"
#include "platform/iso_language_list.h"
#include "platform/stored_text.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "platform/xml.h"
#include "translator/exchange/po_file.h"
#include "translator/exchange/xliff_file.h"
#include "translator/model/messages.h"
#include "translator/model/text_escape.h"
#include "translator/resources/resource_kind.h"
#include "translator/resources/resource_layout.h"

namespace ulk {
namespace {

constexpr std::uint32_t kButtonClass = 0x80;
constexpr std::uint32_t kStaticClass = 0x82;

const IsoLanguageList& Languages() {
  static const IsoLanguageList list;
  return list;
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M+0000", &utc);
  return text;
}

// The resource kind and the dialog or menu an entry belongs to, as the
// translator reads it in the tool; and the kind as XLIFF names it.
void Describe(std::string_view key, const ControlBox* control, const std::string* formPath,
              ExportUnit& unit) {
  const std::string resource(ResourceKeyOf(key));
  std::uint32_t item = 0;
  ItemOfKey(key, item);
  switch (KindOfKey(key)) {
    case ResourceKind::kString:
      unit.note = std::string(MessageText(kMsgTreeStringTable)) + " " + resource;
      unit.restype = "string";
      break;
    case ResourceKind::kMenu:
      unit.note = std::string(MessageText(kMsgTreeMenu)) + " " + resource;
      unit.restype = "menuitem";
      break;
    case ResourceKind::kDialog:
      unit.note = std::string(MessageText(kMsgTreeDialog)) + " " + resource;
      if (item == kDialogCaptionItem) {
        unit.note += ", título";
        unit.restype = "caption";
      } else {
        unit.note += ", control " + std::to_string(item);
        if (control && control->classIsOrdinal) {
          if (control->classOrdinal == kButtonClass) unit.restype = "button";
          if (control->classOrdinal == kStaticClass) unit.restype = "label";
        }
      }
      break;
    case ResourceKind::kVersion:
      unit.note = std::string(MessageText(kMsgTreeVersion)) + " " + resource;
      unit.restype = "versioninfo";
      break;
    case ResourceKind::kMessageTable:
      unit.note = std::string(MessageText(kMsgTreeMessageTable)) + " " + resource + ", mensaje " +
                  std::to_string(item);
      unit.restype = "x-message";
      break;
    case ResourceKind::kForm:
      // Where the text stands in the form tells the translator what it is.
      unit.note = std::string(MessageText(kMsgTreeForm)) + " " + resource;
      if (formPath) unit.note += ", " + *formPath;
      unit.restype = "x-form-text";
      break;
    default:
      break;
  }
}

bool BreaksDiffer(std::string_view a, std::string_view b) {
  const auto starts = [](std::string_view t) { return !t.empty() && t.front() == '\n'; };
  const auto ends = [](std::string_view t) { return !t.empty() && t.back() == '\n'; };
  return starts(a) != starts(b) || ends(a) != ends(b);
}

// The state a translation is written in. One whose line breaks at the
// start or end differ from the original's is written as to be reviewed,
// whatever its review state, so that it is not taken back unchecked (and
// msgfmt --check, which does not check such PO entries, passes).
UnitState ExportedState(const ExportUnit& unit, std::int32_t review) {
  if (unit.target.empty()) return UnitState::kUntranslated;
  if (review == kReviewNeeded || BreaksDiffer(unit.source, unit.target))
    return UnitState::kToReview;
  return review == kReviewDone ? UnitState::kReviewed : UnitState::kTranslated;
}

// The review state of a target entry that takes the text of `unit`. A
// plain translated unit says nothing about a review (PO cannot, XLIFF's
// "translated" need not): a reviewed text it leaves as it was stays
// reviewed.
std::int32_t ReviewAfter(const TextEntry& entry, const ImportUnit& unit) {
  switch (unit.state) {
    case UnitState::kToReview:
      return kReviewNeeded;
    case UnitState::kReviewed:
      return kReviewDone;
    default:
      return entry.review == kReviewDone && entry.text == unit.target ? kReviewDone
                                                                      : kReviewTranslated;
  }
}

// The language part of a tag or locale name, upper-cased: "en_US" -> "EN".
std::string PrimaryLanguage(std::string_view tag) {
  return ToUpperUtf8(tag.substr(0, tag.find_first_of("-_")));
}

}  // namespace

ExchangeFormat ExchangeFormatOf(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return ExchangeFormat::kUnknown;
  const std::string extension = ToUpperUtf8(name.substr(dot + 1));
  if (extension == "XLF" || extension == "XLIFF") return ExchangeFormat::kXliff;
  if (extension == "PO") return ExchangeFormat::kPo;
  return ExchangeFormat::kUnknown;
}

std::string LanguageTagOfName(std::string_view name) {
  return Languages().LanguageTagOf(name);
}

ExportResult ExportTranslations(const Project& project, const Module& module,
                                std::string_view language, const std::string& path,
                                const std::string& revisionDate) {
  ExportResult result;
  const ExchangeFormat format = ExchangeFormatOf(path);
  if (format == ExchangeFormat::kUnknown) {
    result.message = "formato de archivo desconocido: " + std::string(FileNameOf(path)) +
                     " (use .xlf, .xliff o .po)";
    return result;
  }
  const ModuleLanguage* original = module.DefaultLanguage();
  if (!original) {
    result.message = MessageText(kMsgModuleNeedsDefault);
    return result;
  }
  const ModuleLanguage* target = module.FindLanguage(language);
  if (!target || target->isDefault) {
    result.message = "el módulo " + std::string(module.FileName()) +
                     " no tiene el idioma de destino " + std::string(language);
    return result;
  }

  ModuleLayouts layouts;
  if (const int error = ReadModuleLayouts(module.path, layouts)) {
    result.sizesProblem = SystemErrorText(error, module.path);
  }

  ExportHeader header;
  header.projectName = project.name;
  header.moduleFile = std::string(module.FileName());
  header.sourceLanguage = original->name;
  header.targetLanguage = target->name;
  header.sourceTag = LanguageTagOfName(original->name);
  header.targetTag = LanguageTagOfName(target->name);
  header.revisionDate = revisionDate.empty() ? Now() : revisionDate;

  std::vector<ExportUnit> units;
  units.reserve(original->EntryCount());
  ModuleLanguage::Cursor cursor = target->Entries().begin();
  for (const TextEntry& entry : original->Entries()) {
    ExportUnit unit;
    unit.key = entry.key;
    unit.source = UnescapeText(entry.text);
    const TextEntry* translated = target->FindEntryAfter(entry.key, cursor);
    if (translated) {
      unit.target = UnescapeText(translated->text);
      unit.translatorNote = UnescapeText(translated->note);
    }
    // A text the import's gate would refuse (a control character a module
    // may hold, such as U+0085, which XML itself allows) is left out: one
    // such unit would make the whole file refused when it comes back.
    if (unit.source.empty() || CheckStoredText(entry.key) || CheckStoredText(entry.text) ||
        (translated && (CheckStoredText(translated->text) || CheckStoredText(translated->note))) ||
        !IsXmlText(unit.key) || !IsXmlText(unit.source) || !IsXmlText(unit.target) ||
        !IsXmlText(unit.translatorNote)) {
      result.omitted.push_back(entry.key);
      continue;
    }
    const ControlBox* control =
        KindOfKey(entry.key) == ResourceKind::kDialog ? layouts.ControlOf(entry.key) : nullptr;
    const std::string* formPath =
        KindOfKey(entry.key) == ResourceKind::kForm ? layouts.FormPathOf(entry.key) : nullptr;
    Describe(entry.key, control, formPath, unit);
    if (control) {
      unit.width = control->cx;
      unit.height = control->cy;
    }
    if (translated) unit.state = ExportedState(unit, translated->review);
    if (!unit.target.empty()) ++result.translated;
    units.push_back(std::move(unit));
  }
  const std::string text =
      format == ExchangeFormat::kXliff ? WriteXliff(header, units) : WritePo(header, units);
  if (const int error = WriteFileAtomically(path, text)) {
    result.message = SystemErrorText(error, path);
    if (result.message.empty()) result.message = "no se ha podido escribir " + path;
    return result;
  }
  result.units = units.size();
  result.ok = true;
  return result;
}

ImportResult ImportTranslations(Module& module, std::string_view language, const std::string& path,
                                UndoHistory* history) {
  ImportResult result;
  const std::string fileName(FileNameOf(path));
  const auto refuse = [&](const std::string& why) {
    result.message = fileName + ": " + why;
    return result;
  };
  const ExchangeFormat format = ExchangeFormatOf(path);
  if (format == ExchangeFormat::kUnknown)
    return refuse("formato de archivo desconocido (use .xlf, .xliff o .po)");
  ModuleLanguage* original = module.DefaultLanguage();
  ModuleLanguage* target = module.FindLanguage(language);
  if (!original) return refuse(MessageText(kMsgModuleNeedsDefault));
  if (!target || target->isDefault) {
    return refuse("el módulo " + std::string(module.FileName()) +
                  " no tiene el idioma de destino " + std::string(language));
  }

  std::string bytes;
  if (const int error = ReadWholeFile(path, bytes)) {
    result.message = SystemErrorText(ErrorOfFileOpen(error), path);
    return result;
  }
  ImportFile file;
  std::string error;
  const bool read =
      format == ExchangeFormat::kXliff ? ReadXliff(bytes, file, error) : ReadPo(bytes, file, error);
  if (!read) return refuse(error);
  const std::string ourTag = LanguageTagOfName(target->name);
  if (!file.targetLanguage.empty() && file.targetLanguage != target->name && !ourTag.empty() &&
      PrimaryLanguage(file.targetLanguage) != PrimaryLanguage(ourTag)) {
    return refuse("línea " + std::to_string(file.targetLanguageLine) +
                  ": el archivo es del idioma " + file.targetLanguage + ", no de " + target->name +
                  " (" + ourTag + ")");
  }

  // Decided in full before anything changes: a later unit with the same
  // key replaces what an earlier one set.
  struct Change {
    std::string_view key;
    TextEntry after;           // the target entry as the import leaves it
    const TextEntry* present;  // as it is now; null when there is none
    TextEntry* original;
  };
  std::vector<Change> changes;
  std::unordered_map<std::string_view, std::size_t> planned;
  planned.reserve(file.units.size());
  result.units = file.units.size();
  for (const ImportUnit& unit : file.units) {
    TextEntry* entry = unit.hasKey ? original->FindEntry(unit.key) : nullptr;
    if (!entry) {
      result.unknown.push_back(unit.key);
      continue;
    }
    // The readers give the texts as the project stores them (their one
    // pass through the gate), so they compare and go in as they are.
    if (entry->text != unit.source) {
      result.stale.push_back(unit.key);
      continue;
    }
    const bool takesText = unit.state != UnitState::kUntranslated;
    if (!takesText) {
      ++result.skipped;
    } else if (unit.state == UnitState::kToReview) {
      ++result.toReview;
    } else {
      ++result.applied;
    }
    // A unit without a translation may still bring a note (a question
    // about the original, say); one without a note leaves the entry's.
    if (!takesText && unit.note.empty()) continue;
    const auto [slot, added] = planned.emplace(unit.key, changes.size());
    if (added) {
      const TextEntry* present = target->FindEntry(unit.key);
      changes.push_back(
          {unit.key, present ? *present : TextEntry::Blank(unit.key), present, entry});
    }
    TextEntry& after = changes[slot->second].after;
    if (takesText) {
      after.review = ReviewAfter(after, unit);  // which compares the texts
      after.text = unit.target;
    }
    if (!unit.note.empty()) after.note = unit.note;
  }
  std::erase_if(changes, [](const Change& change) {
    return change.present ? *change.present == change.after : change.after.IsBlank();
  });
  result.changedKeys.reserve(changes.size());
  for (const Change& change : changes) result.changedKeys.emplace_back(change.key);

  if (history) history->BeginEditOf(module, result.changedKeys, false);
  for (const Change& change : changes) {
    const std::string_view before = change.present ? change.present->text : std::string_view();
    if (before != change.after.text) change.original->status = kStatusByHand;
    target->SetEntry(change.after);
  }
  if (history && !changes.empty()) history->CommitEdit();
  result.ok = true;
  return result;
}

}  // namespace ulk
