// Pseudo-translation of a module language.
#include "translator/exchange/pseudo_translation.h"

#include <algorithm>

#include "platform/text.h"
#include "translator/exchange/text_tokens.h"
#include "translator/model/messages.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

// A look-alike with an accent or hook for each ASCII letter: some within
// Latin-1, most beyond it, so that a text that passes through an 8-bit
// code page anywhere comes out visibly damaged.
constexpr const char* kUpper[26] = {"Å", "Ɓ", "Ç", "Ð", "É", "Ƒ", "Ĝ", "Ĥ", "Î",
                                    "Ĵ", "Ķ", "Ļ", "Ṁ", "Ñ", "Ö", "Þ", "Ǫ", "Ŕ",
                                    "Š", "Ŧ", "Û", "Ṽ", "Ŵ", "Ẋ", "Ý", "Ž"};
constexpr const char* kLower[26] = {"å", "ƀ", "ç", "ð", "é", "ƒ", "ĝ", "ĥ", "î",
                                    "ĵ", "ķ", "ļ", "ṁ", "ñ", "ö", "þ", "ǫ", "ŕ",
                                    "š", "ŧ", "û", "ṽ", "ŵ", "ẋ", "ý", "ž"};
constexpr char kPadding = '~';

// Copies `text` with its letters replaced, everything the program reads
// (format specifiers, "\n" and its kin, hotkey markers and their letters)
// kept as it is.
std::string Transform(std::string_view text) {
  const std::vector<FormatSpecifier> specifiers = FindFormatSpecifiers(text);
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t next = 0;  // the next specifier
  for (std::size_t at = 0; at < text.size();) {
    while (next < specifiers.size() && specifiers[next].offset < at) ++next;
    const bool specifierNext = next < specifiers.size() && specifiers[next].offset == at + 1;
    if (next < specifiers.size() && specifiers[next].offset == at) {
      out += text.substr(at, specifiers[next].length);
      at += specifiers[next].length;
      ++next;
      continue;
    }
    const char c = text[at];
    if (c == '\\' && at + 1 < text.size() &&
        (text[at + 1] == 'n' || text[at + 1] == 'r' || text[at + 1] == 't')) {
      out += text.substr(at, 2);
      at += 2;
      continue;
    }
    if (c == '&' && at + 1 < text.size() && !specifierNext) {
      const std::size_t length = 1 + Utf8Length(text, at + 1);
      out += text.substr(at, length);
      at += length;
      continue;
    }
    if (c >= 'A' && c <= 'Z') {
      out += kUpper[c - 'A'];
    } else if (c >= 'a' && c <= 'z') {
      out += kLower[c - 'a'];
    } else {
      out.push_back(c);
    }
    ++at;
  }
  return out;
}

}  // namespace

std::string PseudoText(std::string_view stored, int expandPercent, bool menuItem) {
  expandPercent = std::clamp(expandPercent, 0, kMaxPseudoExpansion);
  std::string_view body = stored;
  std::string_view shortcut;
  if (menuItem) {
    const std::size_t tab = stored.find("\\t");
    if (tab != std::string_view::npos) {
      body = stored.substr(0, tab);
      shortcut = stored.substr(tab);
    }
  }
  const std::size_t length = CountChars(body);
  const std::size_t wanted = (length * static_cast<std::size_t>(100 + expandPercent) + 99) / 100;
  std::string out = "[" + Transform(body);
  const std::size_t have = CountChars(out) + 1;  // with the closing bracket
  if (wanted > have) out.append(wanted - have, kPadding);
  out += "]";
  out += shortcut;
  return out;
}

PseudoResult PseudoTranslate(Module& module, std::string_view language, int expandPercent,
                             UndoHistory* history) {
  PseudoResult result;
  ModuleLanguage* original = module.DefaultLanguage();
  ModuleLanguage* target = module.FindLanguage(language);
  if (!original) {
    result.message = MessageText(kMsgModuleNeedsDefault);
    return result;
  }
  if (!target || target->isDefault) {
    result.message = "el módulo " + std::string(module.FileName()) +
                     " no tiene el idioma de destino " + std::string(language);
    return result;
  }
  std::vector<std::pair<std::string, std::string>> texts;
  texts.reserve(original->EntryCount());
  ModuleLanguage::Cursor cursor = target->Entries().begin();
  for (const TextEntry& entry : original->Entries()) {
    std::string text =
        PseudoText(entry.text, expandPercent, KindOfKey(entry.key) == ResourceKind::kMenu);
    const TextEntry* present = target->FindEntryAfter(entry.key, cursor);
    if (!present || present->text != text) {
      result.changedKeys.push_back(entry.key);
      texts.emplace_back(entry.key, std::move(text));
    }
  }
  result.filled = original->EntryCount();
  if (history) history->BeginEditOf(module, result.changedKeys, false);
  // A pseudo-translation stands in for one: nobody has looked at it yet.
  for (auto& [key, text] : texts) {
    TextEntry* present = target->FindEntry(key);
    if (!present) present = &target->SetEntry(key, "");
    present->text = std::move(text);
    present->review = kReviewNeeded;
  }
  if (history && !result.changedKeys.empty()) history->CommitEdit();
  result.ok = true;
  return result;
}

}  // namespace ulk
