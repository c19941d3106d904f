// Undo and redo of translation edits. A snapshot holds, for each language
// of one module, the entries an edit touched as they were before it; one
// step of the history holds the snapshots of every module it touched.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "translator/model/project.h"

namespace ulk {

// A module value holding only the touched entries (their key, their text,
// review state and note before the edit and, for the default language,
// their status), and the path of the module it belongs to. A target entry
// that holds nothing (TextEntry::IsBlank) stands for one that is absent.
// The dialog geometry of a target language is kept the same way: a dialog
// listed with no rectangles stands for one without geometry.
using ModuleSnapshot = Module;

// What the history needs of the resource list. The list decides which
// entries an edit touches.
class UndoView {
 public:
  virtual ~UndoView() = default;
  // The path of the module current in the project tree; "" when none.
  virtual std::string CurrentModulePath() = 0;
  // Fills `snapshot` with the present state of the entries about to change
  // (for every language of the current module); false when there are none.
  virtual bool CaptureSelection(ModuleSnapshot& snapshot) = 0;
  // The row that shows `key`, or -1.
  virtual int FindRow(std::string_view key) = 0;
  virtual void RefreshRow(int row) = 0;
  virtual void EnsureRowVisible(int row) = 0;
  virtual void SuspendRedraw() = 0;
  virtual void ResumeRedraw() = 0;
};

class UndoHistory {
 public:
  // `project` outlives the history; the view may be set later (and reset).
  explicit UndoHistory(Project& project, int maxDepth = -1);

  void SetView(UndoView* view) { view_ = view; }

  bool BeginEdit(bool commitNow);
  // BeginEdit for an operation that decides itself which entries it changes
  // (an import, a pseudo-translation): records the present state of `keys`
  // in every language of `module`, whatever the list shows. False when
  // there are no keys.
  bool BeginEditOf(const Module& module, const std::vector<std::string>& keys, bool commitNow);
  // BeginEdit for a change of the geometry of one dialog (resource key) in
  // one target language of `module`: records the dialog's geometry as it is.
  // False when the module has no such target language.
  bool BeginLayoutEdit(const Module& module, const std::string& language,
                       const std::string& dialogKey, bool commitNow);
  // One step, committed at once, for an operation over several modules
  // that learns what it changed only by changing it (a reuse of another
  // project's translations): `before` is a copy of the project taken
  // before the change, `changed` the (module path, key) pairs it reports.
  // False when nothing changed.
  bool RecordChanges(const Project& before,
                     const std::vector<std::pair<std::string, std::string>>& changed);
  bool CommitEdit();
  void DiscardEdit();
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undoStack_.empty(); }
  bool CanRedo() const { return !redoStack_.empty(); }
  void ClearHistory();

  int maxDepth() const { return maxDepth_; }
  std::size_t UndoDepth() const { return undoStack_.size(); }
  std::size_t RedoDepth() const { return redoStack_.size(); }

 private:
  using Step = std::vector<ModuleSnapshot>;
  using Stack = std::deque<Step>;  // newest at the front

  void Push(Stack& stack, Step step);
  bool Apply(Stack& source, Stack& target);
  // Puts the snapshot's entries back into `module`; returns the keys of
  // the default language's entries it touched.
  static std::vector<std::string> Restore(Module& module, const ModuleSnapshot& snapshot);

  Project& project_;
  UndoView* view_ = nullptr;
  int maxDepth_;
  Stack undoStack_;
  Stack redoStack_;
  std::optional<Step> pending_;
};

}  // namespace ulk
