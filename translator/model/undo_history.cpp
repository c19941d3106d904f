// Pushing, limiting and applying undo snapshots.
#include "translator/model/undo_history.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace ulk {

UndoHistory::UndoHistory(Project& project, int maxDepth) : project_(project), maxDepth_(maxDepth) {}

namespace {

// The state of `keys` in every language of `module`, an absent entry as a
// blank one.
ModuleSnapshot SnapshotOf(const Module& module, const std::vector<std::string>& keys) {
  ModuleSnapshot snapshot;
  snapshot.path = module.path;
  for (const ModuleLanguage& language : module.languages) {
    ModuleLanguage& saved = snapshot.AddLanguage(
        ModuleLanguage(language.name, language.outputFile, language.isDefault));
    for (const std::string& key : keys) {
      const TextEntry* entry = language.FindEntry(key);
      saved.SetEntry(entry ? *entry : TextEntry::Blank(key));
    }
  }
  return snapshot;
}

}  // namespace

bool UndoHistory::BeginEdit(bool commitNow) {
  if (!view_) return false;
  const std::string path = view_->CurrentModulePath();
  if (path.empty()) return false;
  ModuleSnapshot snapshot;
  if (!view_->CaptureSelection(snapshot)) return false;
  snapshot.path = path;
  pending_ = Step{};
  pending_->push_back(std::move(snapshot));
  if (commitNow) CommitEdit();
  return true;
}

bool UndoHistory::BeginEditOf(const Module& module, const std::vector<std::string>& keys,
                              bool commitNow) {
  if (keys.empty()) return false;
  pending_ = Step{};
  pending_->push_back(SnapshotOf(module, keys));
  if (commitNow) CommitEdit();
  return true;
}

bool UndoHistory::BeginLayoutEdit(const Module& module, const std::string& language,
                                  const std::string& dialogKey, bool commitNow) {
  const ModuleLanguage* target = module.FindLanguage(language);
  if (!target || target->isDefault) return false;
  ModuleSnapshot snapshot;
  snapshot.path = module.path;
  ModuleLanguage& saved =
      snapshot.AddLanguage(ModuleLanguage(target->name, target->outputFile, false));
  const auto found = target->dialogGeometry.find(dialogKey);
  saved.dialogGeometry[dialogKey] =
      found == target->dialogGeometry.end() ? DialogGeometry() : found->second;
  pending_ = Step{};
  pending_->push_back(std::move(snapshot));
  if (commitNow) CommitEdit();
  return true;
}

bool UndoHistory::RecordChanges(const Project& before,
                                const std::vector<std::pair<std::string, std::string>>& changed) {
  // The keys of each module, modules in the order first met.
  std::vector<std::pair<const Module*, std::vector<std::string>>> byModule;
  for (const auto& change : changed) {
    const std::string& path = change.first;
    const std::string& key = change.second;
    auto found = std::find_if(byModule.begin(), byModule.end(),
                              [&path](const auto& entry) { return entry.first->path == path; });
    if (found == byModule.end()) {
      const Module* module = before.FindModuleByPath(path);
      // A path `before` does not know cannot be restored: the copy was not
      // of this project.
      assert(module);
      if (!module) continue;
      byModule.emplace_back(module, std::vector<std::string>{});
      found = byModule.end() - 1;
    }
    found->second.push_back(key);
  }
  if (byModule.empty()) return false;
  Step step;
  for (const auto& [module, keys] : byModule) step.push_back(SnapshotOf(*module, keys));
  pending_ = std::move(step);
  return CommitEdit();
}

void UndoHistory::Push(Stack& stack, Step step) {
  stack.push_front(std::move(step));
  if (maxDepth_ != -1 && stack.size() > static_cast<std::size_t>(std::max(maxDepth_, 0))) {
    stack.pop_back();
  }
}

bool UndoHistory::CommitEdit() {
  bool pushed = false;
  if (pending_) {
    Push(undoStack_, std::move(*pending_));
    redoStack_.clear();
    pushed = true;
  }
  pending_.reset();
  return pushed;
}

void UndoHistory::DiscardEdit() {
  pending_.reset();
}

void UndoHistory::ClearHistory() {
  undoStack_.clear();
  redoStack_.clear();
  pending_.reset();
}

bool UndoHistory::Undo() {
  return Apply(undoStack_, redoStack_);
}

bool UndoHistory::Redo() {
  return Apply(redoStack_, undoStack_);
}

bool UndoHistory::Apply(Stack& source, Stack& target) {
  if (source.empty()) return false;
  const auto moduleOf = [this](const std::string& path) -> Module* {
    for (auto& candidate : project_.modules) {
      if (candidate.path == path) return &candidate;
    }
    return nullptr;
  };
  const bool anyModule = std::any_of(source.front().begin(), source.front().end(),
                                     [&](const ModuleSnapshot& s) { return moduleOf(s.path); });
  if (!anyModule) return false;
  // Taken off the source first: pushing the counter-step may drop the
  // oldest step of a full target stack, never this one.
  const Step step = std::move(source.front());
  source.pop_front();

  Step counter;
  for (const ModuleSnapshot& snapshot : step) {
    const Module* module = moduleOf(snapshot.path);
    if (!module) continue;
    ModuleSnapshot& present = counter.emplace_back();
    present.path = snapshot.path;
    for (const ModuleLanguage& saved : snapshot.languages) {
      ModuleLanguage& now =
          present.AddLanguage(ModuleLanguage(saved.name, saved.outputFile, saved.isDefault));
      const ModuleLanguage* current = module->FindLanguage(saved.name);
      for (const TextEntry& entry : saved.Entries()) {
        const TextEntry* found = current ? current->FindEntry(entry.key) : nullptr;
        now.SetEntry(found ? *found : TextEntry::Blank(entry.key));
      }
      for (const auto& [dialog, geometry] : saved.dialogGeometry) {
        const auto at = current ? current->dialogGeometry.find(dialog)
                                : decltype(current->dialogGeometry.end())();
        now.dialogGeometry[dialog] =
            current && at != current->dialogGeometry.end() ? at->second : DialogGeometry();
      }
    }
  }
  Push(target, std::move(counter));

  if (view_) view_->SuspendRedraw();
  // Only the list's module has rows to repaint: keys are unique per module,
  // not across them.
  const std::string shown = view_ ? view_->CurrentModulePath() : std::string();
  std::vector<std::string> changedKeys;
  for (const ModuleSnapshot& snapshot : step) {
    Module* module = moduleOf(snapshot.path);
    if (!module) continue;
    std::vector<std::string> keys = Restore(*module, snapshot);
    if (step.size() == 1 || snapshot.path == shown) {
      changedKeys.insert(changedKeys.end(), keys.begin(), keys.end());
    }
  }
  if (view_) {
    bool scrolled = false;
    for (const std::string& key : changedKeys) {
      const int row = view_->FindRow(key);
      if (row < 0) continue;
      view_->RefreshRow(row);
      if (!scrolled) view_->EnsureRowVisible(row);
      scrolled = true;
    }
    view_->ResumeRedraw();
  }
  return true;
}

std::vector<std::string> UndoHistory::Restore(Module& module, const ModuleSnapshot& snapshot) {
  std::vector<std::string> changedKeys;
  for (ModuleLanguage& language : module.languages) {
    const ModuleLanguage* saved = snapshot.FindLanguage(language.name);
    if (!saved) continue;
    for (const auto& [dialog, geometry] : saved->dialogGeometry) {
      if (language.isDefault) continue;
      if (geometry.empty()) {
        language.dialogGeometry.erase(dialog);
      } else {
        language.dialogGeometry.insert_or_assign(dialog, geometry);
      }
    }
    for (const TextEntry& entry : saved->Entries()) {
      if (language.isDefault) {
        TextEntry* now = language.FindEntry(entry.key);
        if (!now) continue;
        if (!entry.text.empty()) now->status = entry.status;
        now->note = entry.note;
        changedKeys.push_back(entry.key);
      } else if (entry.IsBlank()) {
        language.RemoveEntry(entry.key);
      } else {
        // Text, review state and note as they were; the status of a target
        // entry means nothing and stays.
        TextEntry restored = entry;
        if (const TextEntry* now = language.FindEntry(entry.key)) restored.status = now->status;
        language.SetEntry(restored);
      }
    }
  }
  return changedKeys;
}

}  // namespace ulk
