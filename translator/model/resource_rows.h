// What the project tree and the resource list show of a module, and the
// edits the list makes on rows, without a window: the tree's nodes, the
// rows a node selects, a row's cells, the clipboard blocks of a row, paste,
// deleting translations, finding text and capturing rows for undo.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "translator/model/project.h"

namespace ulk {

// Codes of the tree's nodes; a module node carries the module's id (> 0).
enum NodeCode : int {
  kNodeProject = 0,
  kNodeStringTables = -1,
  kNodeDialogs = -2,
  kNodeMenus = -3,
  kNodeVersion = -4,
  kNodeDialog = -5,
  kNodeMenu = -6,
  kNodeMessageTables = -7,
  kNodeForms = -8,
};

// One dialog or menu under its kind node.
struct ResourceNode {
  std::string stem;   // the key up to its last blank: "DL_N_100"
  std::string label;  // the stem, and for a dialog " [caption]" when known
};

struct KindNode {
  int code = 0;  // kNodeStringTables ... kNodeVersion, kNodeMessageTables, kNodeForms
  std::vector<ResourceNode> resources;  // dialogs and menus only
};

// The kind nodes of a module in tree order (string tables, dialogs, menus,
// version, message tables, forms), each only when the original language has
// keys of its kind.
std::vector<KindNode> ModuleTreeNodes(const Module& module);

// Whether a key is shown under a node: a kind node shows its kind's keys, a
// dialog or menu node the keys of its resource (`stem`), a module node all.
bool KeyShownUnder(std::string_view key, int nodeCode, std::string_view stem);

// The list's table for a module under a node: one column per language, the
// original first, then the targets in module order; one row per original
// entry shown, in entry order.
// The cell of a language column that has no review state: the original's,
// and a target's without a text.
inline constexpr std::int32_t kNoReviewState = -1;

struct ResourceRow {
  std::vector<std::string> cells;  // key, then one text per language column
  std::int32_t status = 0;
  // Per language column: a target text's ReviewState, else kNoReviewState.
  std::vector<std::int32_t> reviews;
  // Per language column: the entry's note ("" for none).
  std::vector<std::string> notes;
};
struct ResourceTable {
  std::vector<std::string> languages;
  std::vector<ResourceRow> rows;
  // The rows the node has before the filter.
  std::size_t nodeRowCount = 0;
};

// Which rows a table shows, besides the node's: the texts that some target
// language (or the one named) has not translated, has in a review state,
// or whose original is new or changed since the last reading.
enum class RowFilter {
  kAll,
  kUntranslated,
  kToReview,
  kReviewed,
  kTranslated,  // a text, neither to review nor reviewed
  kChanged,
};
// Whether the row of the original entry passes; `onlyLanguage`, when not
// empty, names the one target language looked at.
bool RowPasses(const Module& module, const TextEntry& original, RowFilter filter,
               std::string_view onlyLanguage = {});

// The review state of `key` in a target language: kNoReviewState when it
// has no text there.
std::int32_t ReviewStateOf(const ModuleLanguage& language, std::string_view key);
// "traducido", "por revisar", "revisado"; "" for kNoReviewState.
std::string_view ReviewStateLabel(std::int32_t review);

ResourceTable BuildResourceTable(const Module& module, int nodeCode, std::string_view stem,
                                 RowFilter filter = RowFilter::kAll);

// The row of `key` for the given language columns (a table's `languages`):
// its cells, the original entry's status, and each column's review state and
// note, as BuildResourceTable makes it. What a row shows again after an edit.
ResourceRow ResourceRowOf(const Module& module, const std::string& key,
                          const std::vector<std::string>& languages);

// What the list says of a cell when the pointer rests on it: its review
// state when it has a mark ("por revisar", "revisado") and its note in its
// real form, one per line; "" when it has neither.
std::string CellTooltip(std::int32_t review, std::string_view note);

// The row's texts as a clipboard block: for each language with an entry of
// the key, in module order: name, `afterName`, text, `afterText`; then one
// zero byte. The program's own format uses zero bytes for both separators;
// plain text a tab and a line feed.
std::string BuildClipboardBlock(const Module& module, const std::string& key, char afterName,
                                char afterText);
// Applies a block in the program's own format to the row of `key`: the
// original language's entry only gets status 2; other languages take the
// text (a missing entry is made; a changed one is no longer reviewed nor to
// review). Names the module does not have are
// skipped; an empty text or the end of the block ends the walk. Returns
// whether any language of the module was named.
bool PasteClipboardBlock(Module& module, const std::string& key, std::string_view block);

// Empties the translations of `key` (status 2 on the original entry; their
// review states go, their notes stay); returns how many texts were emptied.
int DeleteTranslations(Module& module, const std::string& key);

// The next row (wrapping) after `start` (-1: none selected) whose texts in
// any language hold `text`; -1 when none does. Every row is visited once,
// the start row last.
long FindNextRow(const Module& module, const std::vector<std::string>& rowKeys, long start,
                 const std::string& text, bool matchCase, bool down);

// The next row (wrapping) after `start` (-1: none selected) whose original
// entry passes `filter` (RowPasses, `onlyLanguage` as there); -1 when none
// does. Every row is visited once, the start row last.
long NextRowPassing(const Module& module, const std::vector<std::string>& rowKeys, long start,
                    RowFilter filter, std::string_view onlyLanguage = {});

// Gives the translations of `keys` the review state `review` (kReviewNeeded
// or kReviewDone; kReviewTranslated takes the mark away) in the target
// language `language`, or in every target language when it is empty. Only an
// entry with a text has a state to give: the others, and the original
// language's, are left alone. Returns how many entries changed.
int MarkReviewState(Module& module, const std::vector<std::string>& keys, std::string_view language,
                    std::int32_t review);

// Fills an undo snapshot with the present state of `keys` in every
// language of the module (a missing entry as a blank one).
// Returns the number of keys.
std::size_t CaptureEntries(const Module& module, const std::vector<std::string>& keys,
                           Module& snapshot);

}  // namespace ulk
