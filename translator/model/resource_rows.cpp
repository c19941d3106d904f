// Tree nodes, list rows and the list's row edits.
#include "translator/model/resource_rows.h"

#include <cassert>

#include "platform/stored_text.h"
#include "platform/text.h"
#include "translator/model/text_escape.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

struct KindOfNode {
  int code;
  const char* prefix;
};
constexpr KindOfNode kKindNodes[] = {
    {kNodeStringTables, "ST_"},
    {kNodeDialogs, "DL_"},
    {kNodeMenus, "MN_"},
    {kNodeVersion, "VS_"},
    {kNodeMessageTables, "MT_"},
    {kNodeForms, "FM_"},
};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

const char* PrefixOfNode(int nodeCode) {
  switch (nodeCode) {
    case kNodeStringTables:
      return "ST_";
    case kNodeDialogs:
    case kNodeDialog:
      return "DL_";
    case kNodeMenus:
    case kNodeMenu:
      return "MN_";
    case kNodeVersion:
      return "VS_";
    case kNodeMessageTables:
      return "MT_";
    case kNodeForms:
      return "FM_";
    default:
      return "";
  }
}

}  // namespace

std::vector<KindNode> ModuleTreeNodes(const Module& module) {
  std::vector<KindNode> nodes;
  const ModuleLanguage* original = module.DefaultLanguage();
  if (!original) return nodes;
  for (const KindOfNode& kind : kKindNodes) {
    std::vector<std::string> stems;
    module.ResourceNamesOfKind(kind.prefix, stems);
    if (stems.empty()) continue;
    KindNode node;
    node.code = kind.code;
    if (kind.code == kNodeDialogs || kind.code == kNodeMenus) {
      for (std::string& stem : stems) {
        ResourceNode resource;
        resource.label = stem;
        if (kind.code == kNodeDialogs) {
          if (const TextEntry* caption = original->FindEntry(stem + " (0)")) {
            resource.label += " [" + caption->text + "]";
          }
        }
        resource.stem = std::move(stem);
        node.resources.push_back(std::move(resource));
      }
    }
    nodes.push_back(std::move(node));
  }
  return nodes;
}

bool KeyShownUnder(std::string_view key, int nodeCode, std::string_view stem) {
  if (nodeCode == kNodeDialog || nodeCode == kNodeMenu) {
    return StartsWith(key, PrefixOfNode(nodeCode)) && ResourceKeyOf(key) == stem;
  }
  return StartsWith(key, PrefixOfNode(nodeCode));
}

std::int32_t ReviewStateOf(const ModuleLanguage& language, std::string_view key) {
  const TextEntry* entry = language.FindEntry(key);
  if (!entry || entry->text.empty()) return kNoReviewState;
  return entry->review;
}

std::string_view ReviewStateLabel(std::int32_t review) {
  switch (review) {
    case kReviewTranslated:
      return "traducido";
    case kReviewNeeded:
      return "por revisar";
    case kReviewDone:
      return "revisado";
    default:
      return "";
  }
}

namespace {

bool CellPasses(std::int32_t review, RowFilter filter) {
  switch (filter) {
    case RowFilter::kUntranslated:
      return review == kNoReviewState;
    case RowFilter::kToReview:
      return review == kReviewNeeded;
    case RowFilter::kReviewed:
      return review == kReviewDone;
    case RowFilter::kTranslated:
      return review == kReviewTranslated;
    case RowFilter::kAll:
    case RowFilter::kChanged:
      break;
  }
  return true;
}

}  // namespace

bool RowPasses(const Module& module, const TextEntry& original, RowFilter filter,
               std::string_view onlyLanguage) {
  if (filter == RowFilter::kAll) return true;
  if (filter == RowFilter::kChanged) return original.status == kStatusNewOrChanged;
  for (const ModuleLanguage& language : module.languages) {
    if (language.isDefault || (!onlyLanguage.empty() && language.name != onlyLanguage)) continue;
    if (CellPasses(ReviewStateOf(language, original.key), filter)) return true;
  }
  return false;
}

namespace {

// One language column of a row: the entry's text, its review state (a
// target's with a text only) and its note; an absent entry shows nothing.
void AppendCell(ResourceRow& row, const TextEntry* entry, bool original) {
  row.cells.push_back(entry ? entry->text : std::string());
  row.reviews.push_back(entry && !original && !entry->text.empty() ? entry->review
                                                                   : kNoReviewState);
  row.notes.push_back(entry ? entry->note : std::string());
}

}  // namespace

ResourceTable BuildResourceTable(const Module& module, int nodeCode, std::string_view stem,
                                 RowFilter filter) {
  ResourceTable table;
  const ModuleLanguage* original = module.DefaultLanguage();
  if (!original) return table;
  table.languages.push_back(original->name);
  for (const ModuleLanguage& language : module.languages) {
    if (&language != original) table.languages.push_back(language.name);
  }
  std::vector<const ModuleLanguage*> targets;
  std::vector<ModuleLanguage::Cursor> cursors;
  for (const ModuleLanguage& language : module.languages) {
    if (&language == original) continue;
    targets.push_back(&language);
    cursors.push_back(language.Entries().begin());
  }
  table.rows.reserve(original->EntryCount());
  for (const TextEntry& entry : original->Entries()) {
    if (!KeyShownUnder(entry.key, nodeCode, stem)) continue;
    ++table.nodeRowCount;
    if (!RowPasses(module, entry, filter)) continue;
    ResourceRow row;
    row.cells.reserve(targets.size() + 2);
    row.cells.push_back(entry.key);
    AppendCell(row, &entry, true);
    for (std::size_t i = 0; i < targets.size(); ++i) {
      AppendCell(row, targets[i]->FindEntryAfter(entry.key, cursors[i]), false);
    }
    row.status = entry.status;
    table.rows.push_back(std::move(row));
  }
  return table;
}

ResourceRow ResourceRowOf(const Module& module, const std::string& key,
                          const std::vector<std::string>& languages) {
  ResourceRow row;
  row.cells.reserve(languages.size() + 1);
  row.cells.push_back(key);
  if (const ModuleLanguage* original = module.DefaultLanguage()) {
    if (const TextEntry* entry = original->FindEntry(key)) row.status = entry->status;
  }
  for (const std::string& name : languages) {
    const ModuleLanguage* language = module.FindLanguage(name);
    AppendCell(row, language ? language->FindEntry(key) : nullptr,
               !language || language->isDefault);
  }
  return row;
}

std::string CellTooltip(std::int32_t review, std::string_view note) {
  std::string tip;
  if (review == kReviewNeeded || review == kReviewDone) {
    tip = "Estado: " + std::string(ReviewStateLabel(review));
  }
  if (!note.empty()) {
    if (!tip.empty()) tip += '\n';
    tip += "Nota: " + UnescapeText(note);
  }
  return tip;
}

std::string BuildClipboardBlock(const Module& module, const std::string& key, char afterName,
                                char afterText) {
  std::string block;
  for (const ModuleLanguage& language : module.languages) {
    const TextEntry* entry = language.FindEntry(key);
    if (!entry) continue;
    block += language.name;
    block.push_back(afterName);
    block += entry->text;
    block.push_back(afterText);
  }
  block.push_back('\0');
  return block;
}

bool PasteClipboardBlock(Module& module, const std::string& key, std::string_view block) {
  bool named = false;
  std::size_t at = 0;
  // Each field runs to its zero byte; a block cut short ends the walk there.
  auto field = [&](std::string_view& out) {
    const std::size_t end = block.find('\0', at);
    if (end == std::string_view::npos) return false;
    out = block.substr(at, end - at);
    at = end + 1;
    return true;
  };
  while (at < block.size()) {
    std::string_view name;
    std::string_view text;
    if (!field(name) || name.empty()) break;
    if (at >= block.size() || block[at] == '\0') break;  // an empty text ends the paste
    if (!field(text)) break;
    ModuleLanguage* language = module.FindLanguage(name);
    if (!language) continue;
    named = true;
    // The clipboard may hold anything another program put there.
    std::string stored;
    if (!language->isDefault && ToStoredText(text, stored)) continue;
    if (TextEntry* entry = language->FindEntry(key)) {
      if (language->isDefault) {
        entry->status = kStatusByHand;
      } else if (entry->text != stored) {
        // A text the user put there: whatever was said of the old one
        // no longer holds.
        entry->text = std::move(stored);
        entry->review = kReviewTranslated;
      }
    } else if (!language->isDefault) {
      language->SetEntry(key, stored);
    }
  }
  return named;
}

int DeleteTranslations(Module& module, const std::string& key) {
  int emptied = 0;
  for (ModuleLanguage& language : module.languages) {
    TextEntry* entry = language.FindEntry(key);
    if (!entry) continue;
    if (language.isDefault) {
      entry->status = kStatusByHand;
    } else if (!entry->text.empty()) {
      entry->text.clear();
      entry->review = kReviewTranslated;
      ++emptied;
    }
  }
  return emptied;
}

long FindNextRow(const Module& module, const std::vector<std::string>& rowKeys, long start,
                 const std::string& text, bool matchCase, bool down) {
  const long count = static_cast<long>(rowKeys.size());
  if (count == 0 || text.empty()) return -1;
  const std::string wanted = matchCase ? text : ToUpperUtf8(text);
  long row = start;
  if (row < 0 || row >= count) row = down ? -1 : count;
  for (long step = 0; step < count; ++step) {
    row = down ? (row + 1 >= count ? 0 : row + 1) : (row - 1 < 0 ? count - 1 : row - 1);
    const std::string& key = rowKeys[static_cast<std::size_t>(row)];
    for (const ModuleLanguage& language : module.languages) {
      const TextEntry* entry = language.FindEntry(key);
      if (!entry) continue;
      const std::string haystack = matchCase ? entry->text : ToUpperUtf8(entry->text);
      if (haystack.find(wanted) != std::string::npos) return row;
    }
  }
  return -1;
}

long NextRowPassing(const Module& module, const std::vector<std::string>& rowKeys, long start,
                    RowFilter filter, std::string_view onlyLanguage) {
  const ModuleLanguage* original = module.DefaultLanguage();
  const long count = static_cast<long>(rowKeys.size());
  if (!original || count == 0) return -1;
  long row = start < 0 || start >= count ? -1 : start;
  for (long step = 0; step < count; ++step) {
    row = row + 1 >= count ? 0 : row + 1;
    const TextEntry* entry = original->FindEntry(rowKeys[static_cast<std::size_t>(row)]);
    if (entry && RowPasses(module, *entry, filter, onlyLanguage)) return row;
  }
  return -1;
}

int MarkReviewState(Module& module, const std::vector<std::string>& keys,
                    std::string_view language, std::int32_t review) {
  assert(review >= 0 && review < kReviewStateCount);
  int changed = 0;
  for (ModuleLanguage& target : module.languages) {
    if (target.isDefault || (!language.empty() && target.name != language)) continue;
    for (const std::string& key : keys) {
      TextEntry* entry = target.FindEntry(key);
      if (!entry || entry->text.empty() || entry->review == review) continue;
      entry->review = review;
      ++changed;
    }
  }
  return changed;
}

std::size_t CaptureEntries(const Module& module, const std::vector<std::string>& keys,
                           Module& snapshot) {
  snapshot.Clear();
  for (const ModuleLanguage& language : module.languages) {
    ModuleLanguage& saved = snapshot.AddLanguage(
        ModuleLanguage(language.name, language.outputFile, language.isDefault));
    for (const std::string& key : keys) {
      if (const TextEntry* entry = language.FindEntry(key)) {
        saved.SetEntry(*entry);
      } else {
        saved.SetEntry(key, "", kStatusUnchanged);
      }
    }
  }
  return module.languages.empty() ? 0 : keys.size();
}

}  // namespace ulk
