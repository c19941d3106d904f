// The checks of translations.
#include "translator/exchange/quality_check.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/exchange/control_text_fit.h"
#include "translator/exchange/text_tokens.h"
#include "translator/exchange/text_width.h"
#include "translator/model/text_escape.h"
#include "translator/resources/dialog_geometry.h"
#include "translator/resources/resource_kind.h"
#include "translator/resources/resource_layout.h"

namespace ulk {
namespace {

constexpr std::uint16_t kButtonClass = 0x80;
constexpr std::uint16_t kStaticClass = 0x82;
constexpr int kProgressStep = 256;

bool HasLetters(std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    UChar32 c = wide[i];
    if (U16_IS_LEAD(wide[i]) && i + 1 < wide.size() && U16_IS_TRAIL(wide[i + 1])) {
      c = U16_GET_SUPPLEMENTARY(wide[i], wide[i + 1]);
      ++i;
    }
    if (u_isalpha(c)) return true;
  }
  return false;
}

std::string Join(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const std::string& part : parts) {
    if (!out.empty()) out += separator;
    out += part;
  }
  return out;
}

// Format specifiers: printf's plain ones in order, numbered ones as a set.
// Message-table texts are read as the message formatter reads them.
std::string FormatProblem(std::string_view original, std::string_view translation, bool message) {
  std::vector<std::string> inOrder[2];
  std::vector<std::string> numbered[2];
  const std::string_view texts[2] = {original, translation};
  for (int i = 0; i < 2; ++i) {
    for (const FormatSpecifier& specifier :
         message ? FindMessageSpecifiers(texts[i]) : FindFormatSpecifiers(texts[i])) {
      (specifier.positional ? numbered[i] : inOrder[i]).push_back(specifier.identity);
    }
  }
  std::vector<std::string> problems;
  const auto compareSets = [&](std::vector<std::string> a, std::vector<std::string> b) {
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::vector<std::string> missing;
    std::vector<std::string> added;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(missing));
    std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::back_inserter(added));
    if (!missing.empty()) problems.push_back("falta " + Join(missing, " "));
    if (!added.empty()) problems.push_back("sobra " + Join(added, " "));
    return missing.empty() && added.empty();
  };
  if (inOrder[0] != inOrder[1] && compareSets(inOrder[0], inOrder[1])) {
    problems.push_back("orden distinto: " + Join(inOrder[0], " ") + " en el original, " +
                       Join(inOrder[1], " ") + " en la traducción");
  }
  compareSets(numbered[0], numbered[1]);
  return Join(problems, "; ");
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view LeadingBlanks(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsSpace(text[n])) ++n;
  return text.substr(0, n);
}

std::string_view TrailingBlanks(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsSpace(text[n - 1])) --n;
  return text.substr(n);
}

// The final punctuation of a text, by kind: the same mark in the scripts
// that write it otherwise counts as equal ("?" and "？", "..." and "…").
std::string FinalPunctuation(std::string_view text) {
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  static const std::pair<const char*, const char*> kMarks[] = {{"...", "..."},
                                                               {"\xE2\x80\xA6", "..."},
                                                               {"\xEF\xBC\x9F", "?"},
                                                               {"\xD8\x9F", "?"},
                                                               {"\xEF\xBC\x81", "!"},
                                                               {"\xE3\x80\x82", "."},
                                                               {"\xEF\xBC\x9A", ":"},
                                                               {"\xEF\xBC\x9B", ";"},
                                                               {"\xEF\xBC\x8C", ","},
                                                               {"\xD8\x8C", ","},
                                                               {"?", "?"},
                                                               {"!", "!"},
                                                               {".", "."},
                                                               {":", ":"},
                                                               {";", ";"},
                                                               {",", ","}};
  for (const auto& [mark, kind] : kMarks) {
    const std::string_view m = mark;
    if (text.size() >= m.size() && text.substr(text.size() - m.size()) == m) return kind;
  }
  return {};
}

class Checker {
 public:
  Checker(OperationUi& ui, CheckResult& result) : ui_(ui), result_(result) {}

  void CheckModule(const Module& module, const std::string* language);
  std::size_t Count(const Module& module, const std::string* language) const;

 private:
  struct Scoped {
    std::string scope;
    std::string key;
    std::string shownHotkey;
    std::string originalHotkey;
    bool translated = false;
  };

  void CheckLanguage(const ModuleLanguage& original, const ModuleLanguage& target);
  void Entry(const TextEntry& entry, const TextEntry* translated);
  void Width(const TextEntry& entry, const std::string& translation);
  void Shortcut(const TextEntry& entry, const TextEntry* translated);
  void Add(const std::string& key, CheckKind kind, const std::string& original,
           const std::string& translation, std::string detail);
  void Clashes(std::vector<Scoped>& scoped);
  // The target language's geometry of a dialog, or null.
  const DialogGeometry* GeometryOf(std::string_view dialogKey) const;
  void Overlaps(const ModuleLanguage& original);
  void Step();

  OperationUi& ui_;
  CheckResult& result_;
  TextMeasurer measurer_;
  bool measurerNoted_ = false;
  const Module* module_ = nullptr;
  const ModuleLanguage* target_ = nullptr;
  const ModuleLayouts* layouts_ = nullptr;
  // The original's shortcuts are told once per module, with its first
  // target language.
  bool originalShortcutsChecked_ = false;
  std::unordered_map<std::string, std::size_t> position_;
  std::vector<std::pair<std::size_t, Finding>> pending_;
  int progress_ = 0;
};

void Checker::Step() {
  if (++progress_ % kProgressStep == 0) ui_.SetProgressPos(progress_);
}

std::size_t Checker::Count(const Module& module, const std::string* language) const {
  const ModuleLanguage* original = module.DefaultLanguage();
  if (!original) return 0;
  std::size_t count = 0;
  for (const ModuleLanguage& target : module.languages) {
    if (target.isDefault || (language && target.name != *language)) continue;
    count += original->EntryCount();
  }
  return count;
}

void Checker::CheckModule(const Module& module, const std::string* language) {
  const ModuleLanguage* original = module.DefaultLanguage();
  if (!original) return;
  StatusText status(ui_, "Comprobando el módulo " + std::string(module.FileName()) + "...");
  ModuleLayouts layouts;
  const int error = ReadModuleLayouts(module.path, layouts);
  if (error) {
    result_.notes.push_back(std::string(module.FileName()) + ": sin comprobar anchos ni teclas " +
                            "de menú: " + SystemErrorText(error, module.path));
  }
  module_ = &module;
  layouts_ = error ? nullptr : &layouts;
  for (const ModuleLanguage& target : module.languages) {
    if (target.isDefault || (language && target.name != *language)) continue;
    CheckLanguage(*original, target);
    originalShortcutsChecked_ = true;
  }
  originalShortcutsChecked_ = false;
  layouts_ = nullptr;
}

void Checker::CheckLanguage(const ModuleLanguage& original, const ModuleLanguage& target) {
  target_ = &target;
  position_.clear();
  pending_.clear();
  std::vector<Scoped> scoped;
  ModuleLanguage::Cursor cursor = target.Entries().begin();
  for (const TextEntry& entry : original.Entries()) {
    position_.emplace(entry.key, position_.size());
    const TextEntry* translated = target.FindEntryAfter(entry.key, cursor);
    ++result_.checked;
    Step();
    Entry(entry, translated);
    // The hotkeys of one menu level or one dialog, as the module will show
    // them: the translation, or the original where there is none.
    if (!layouts_) continue;
    const ResourceKind kind = KindOfKey(entry.key);
    if (kind == ResourceKind::kMenu) Shortcut(entry, translated);
    std::uint32_t item = 0;
    std::string scope;
    std::int32_t parent = 0;
    if (kind == ResourceKind::kDialog && ItemOfKey(entry.key, item) && item != kDialogCaptionItem) {
      scope = std::string(ResourceKeyOf(entry.key));
    } else if (kind == ResourceKind::kMenu && layouts_->MenuParentOf(entry.key, parent)) {
      scope = std::string(ResourceKeyOf(entry.key)) + "#" + std::to_string(parent);
    } else {
      continue;
    }
    const bool isTranslated = translated && !translated->text.empty();
    const std::vector<std::string> shown = HotkeysOf(isTranslated ? translated->text : entry.text);
    if (shown.empty()) continue;
    const std::vector<std::string> own = HotkeysOf(entry.text);
    scoped.push_back(
        {std::move(scope), entry.key, shown.front(), own.empty() ? "" : own.front(), isTranslated});
  }
  Clashes(scoped);
  if (layouts_) Overlaps(original);
  std::stable_sort(pending_.begin(), pending_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [position, finding] : pending_) result_.findings.push_back(std::move(finding));
  pending_.clear();
}

void Checker::Add(const std::string& key, CheckKind kind, const std::string& original,
                  const std::string& translation, std::string detail) {
  Finding finding;
  finding.moduleId = module_->id;
  finding.moduleFile = std::string(module_->FileName());
  finding.language = target_->name;
  finding.key = key;
  finding.check = kind;
  finding.original = original;
  finding.translation = translation;
  finding.detail = std::move(detail);
  const auto found = position_.find(key);
  pending_.emplace_back(found == position_.end() ? position_.size() : found->second,
                        std::move(finding));
}

void Checker::Entry(const TextEntry& entry, const TextEntry* translated) {
  const std::string& original = entry.text;
  if (!translated || translated->text.empty()) {
    if (HasLetters(original))
      Add(entry.key, CheckKind::kUntranslated, original, "", "no hay traducción");
    return;
  }
  const std::string& translation = translated->text;
  if (translation == original) {
    if (HasLetters(original)) {
      Add(entry.key, CheckKind::kIdentical, original, translation,
          "la traducción repite el original");
    }
    return;
  }
  const bool message = KindOfKey(entry.key) == ResourceKind::kMessageTable;
  if (std::string problem = FormatProblem(original, translation, message); !problem.empty()) {
    Add(entry.key, CheckKind::kFormat, original, translation, std::move(problem));
  }
  const std::size_t ownKeys = HotkeysOf(original).size();
  const std::size_t newKeys = HotkeysOf(translation).size();
  if (ownKeys != newKeys) {
    Add(entry.key, CheckKind::kHotkeyCount, original, translation,
        "teclas de acceso (&): " + std::to_string(ownKeys) + " en el original, " +
            std::to_string(newKeys) + " en la traducción");
  }
  const std::string realOriginal = UnescapeText(original);
  const std::string realTranslation = UnescapeText(translation);
  std::vector<std::string> blanks;
  if (LeadingBlanks(realOriginal) != LeadingBlanks(realTranslation))
    blanks.push_back("al principio");
  if (TrailingBlanks(realOriginal) != TrailingBlanks(realTranslation)) blanks.push_back("al final");
  if (!blanks.empty()) {
    Add(entry.key, CheckKind::kBlanks, original, translation,
        "espacios distintos " + Join(blanks, " y "));
  }
  // A menu item's shortcut after its tab is not part of the sentence.
  const bool menu = KindOfKey(entry.key) == ResourceKind::kMenu;
  const auto sentence = [menu](const std::string& text) {
    return menu ? std::string_view(text).substr(0, text.find('\t')) : std::string_view(text);
  };
  const std::string ownMark = FinalPunctuation(sentence(realOriginal));
  const std::string newMark = FinalPunctuation(sentence(realTranslation));
  if (ownMark != newMark) {
    const auto shown = [](const std::string& mark) {
      return mark.empty() ? std::string("sin puntuación") : "\"" + mark + "\"";
    };
    Add(entry.key, CheckKind::kPunctuation, original, translation,
        "puntuación final: " + shown(ownMark) + " en el original, " + shown(newMark) +
            " en la traducción");
  }
  if (layouts_ && KindOfKey(entry.key) == ResourceKind::kDialog) Width(entry, translation);
}

void Checker::Width(const TextEntry& entry, const std::string& translation) {
  const DialogBox* dialog = layouts_->DialogOf(entry.key);
  const ControlBox* control = layouts_->ControlOf(entry.key);
  if (!dialog || !control || !control->classIsOrdinal ||
      (control->classOrdinal != kButtonClass && control->classOrdinal != kStaticClass)) {
    return;
  }
  if (!measurer_.Select(dialog->hasFont ? &dialog->font : nullptr)) {
    if (!measurerNoted_) result_.notes.push_back("sin comprobar anchos: " + measurer_.Problem());
    measurerNoted_ = true;
    return;
  }
  // Measured where the language puts the control.
  ControlBox placed = *control;
  const DialogGeometry* geometry = GeometryOf(ResourceKeyOf(entry.key));
  if (const auto stored =
          geometry ? geometry->find(control->item) : DialogGeometry::const_iterator();
      geometry && stored != geometry->end() &&
      GeometryMatches(*dialog, control->item, stored->second)) {
    placed.x = stored->second.rect.x;
    placed.y = stored->second.rect.y;
    placed.cx = stored->second.rect.cx;
    placed.cy = stored->second.rect.cy;
  }
  const TextFit translated = MeasureControlText(measurer_, translation, placed);
  if (translated.demand <= 1) return;
  // A text the module's own layout already lets overflow (by our measure)
  // is only reported when the translation needs more than the original.
  const TextFit own = MeasureControlText(measurer_, entry.text, *control);
  if (MeasureControlText(measurer_, translation, *control).demand <= own.demand) return;
  const std::string font = dialog->hasFont
                               ? dialog->font.face + " " + std::to_string(dialog->font.pointSize)
                               : std::string("la fuente del sistema");
  Add(entry.key, CheckKind::kWidth, entry.text, translation,
      "en " + font + ": " + translated.detail);
}

void Checker::Shortcut(const TextEntry& entry, const TextEntry* translated) {
  std::uint32_t command = 0;
  if (!layouts_->MenuCommandOf(entry.key, command) || command == 0) return;
  const auto bindings = layouts_->accelerators.equal_range(command);
  const auto first = bindings.first;
  const auto last = bindings.second;
  if (first == last) return;
  const std::string translation = translated ? translated->text : std::string();
  const auto check = [&](const std::string& text, const char* where) {
    const std::string_view shortcut = ShortcutOfMenuText(text);
    KeyChord chord;
    if (shortcut.empty() || !ParseShortcut(shortcut, chord)) return;
    std::vector<std::string> bound;
    for (auto it = first; it != last; ++it) {
      if (it->second.Matches(chord)) return;
      bound.push_back(DescribeChord(it->second));
    }
    Add(entry.key, CheckKind::kShortcut, entry.text, translation,
        std::string(where) + "el atajo " + std::string(shortcut) +
            " no es la tecla del acelerador de la orden " + std::to_string(command) + " (" +
            Join(bound, ", ") + ")");
  };
  if (!originalShortcutsChecked_) check(entry.text, "en el original, ");
  if (!translation.empty()) check(translation, "");
}

const DialogGeometry* Checker::GeometryOf(std::string_view dialogKey) const {
  const auto found = target_->dialogGeometry.find(ToUpperUtf8(dialogKey));
  return found == target_->dialogGeometry.end() ? nullptr : &found->second;
}

void Checker::Overlaps(const ModuleLanguage& original) {
  for (const auto& [dialogKey, geometry] : target_->dialogGeometry) {
    const auto module = layouts_->dialogs.find(dialogKey);
    if (module == layouts_->dialogs.end()) continue;
    const LaidOutDialog own = LayOut(module->second, {});
    for (const auto& [a, b] : NewOverlaps(own, LayOut(module->second, geometry))) {
      const std::string key = MakeEntryKey(dialogKey, a);
      const TextEntry* text = original.FindEntry(key);
      const TextEntry* translated = target_->FindEntry(key);
      Add(key, CheckKind::kOverlap, text ? text->text : std::string(),
          translated ? translated->text : std::string(),
          "se solapa con el control " + std::to_string(b) + " (" + MakeEntryKey(dialogKey, b) +
              "), que en el original no tocaba");
    }
  }
}

void Checker::Clashes(std::vector<Scoped>& scoped) {
  std::map<std::string, std::vector<const Scoped*>> byScope;
  for (const Scoped& item : scoped) byScope[item.scope].push_back(&item);
  for (const auto& [scope, items] : byScope) {
    for (std::size_t i = 1; i < items.size(); ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        const Scoped& a = *items[j];
        const Scoped& b = *items[i];
        if (a.shownHotkey != b.shownHotkey || (!a.translated && !b.translated)) continue;
        // The module's own clash is its author's choice.
        if (!a.originalHotkey.empty() && a.originalHotkey == b.originalHotkey) continue;
        const TextEntry* own = module_->DefaultLanguage()->FindEntry(b.key);
        const TextEntry* shown = target_->FindEntry(b.key);
        Add(b.key, CheckKind::kHotkeyClash, own ? own->text : "", shown ? shown->text : "",
            "la tecla de acceso " + b.shownHotkey + " también está en " + a.key);
        break;
      }
    }
  }
}

}  // namespace

const char* CheckId(CheckKind kind) {
  switch (kind) {
    case CheckKind::kFormat:
      return "format";
    case CheckKind::kHotkeyCount:
      return "hotkey-count";
    case CheckKind::kHotkeyClash:
      return "hotkey-clash";
    case CheckKind::kBlanks:
      return "blanks";
    case CheckKind::kPunctuation:
      return "punctuation";
    case CheckKind::kUntranslated:
      return "untranslated";
    case CheckKind::kIdentical:
      return "identical";
    case CheckKind::kWidth:
      return "width";
    case CheckKind::kShortcut:
      return "shortcut";
    case CheckKind::kOverlap:
      return "overlap";
  }
  return "";
}

const char* CheckLabel(CheckKind kind) {
  switch (kind) {
    case CheckKind::kFormat:
      return "formato";
    case CheckKind::kHotkeyCount:
      return "teclas de acceso";
    case CheckKind::kHotkeyClash:
      return "tecla de acceso repetida";
    case CheckKind::kBlanks:
      return "espacios";
    case CheckKind::kPunctuation:
      return "puntuación";
    case CheckKind::kUntranslated:
      return "sin traducir";
    case CheckKind::kIdentical:
      return "igual al original";
    case CheckKind::kWidth:
      return "ancho";
    case CheckKind::kShortcut:
      return "atajo de teclado";
    case CheckKind::kOverlap:
      return "solapamiento";
  }
  return "";
}

CheckResult CheckTranslations(const Project& project, const Module* module,
                              const std::string* language, OperationUi& ui) {
  CheckResult result;
  WaitCursor wait(ui);
  Checker checker(ui, result);
  std::size_t total = 0;
  for (const Module& each : project.modules) {
    if (!module || &each == module) total += checker.Count(each, language);
  }
  ui.ShowProgress(true);
  ui.SetProgressRange(0, static_cast<int>(std::min<std::size_t>(total, INT32_MAX)));
  for (const Module& each : project.modules) {
    if (!module || &each == module) checker.CheckModule(each, language);
  }
  ui.ShowProgress(false);
  return result;
}

}  // namespace ulk
