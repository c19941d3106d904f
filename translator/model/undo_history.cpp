// Pushing, limiting and applying undo snapshots.
#include "translator/model/undo_history.h"

#include <algorithm>
#include <vector>

namespace ulk {

UndoHistory::UndoHistory(Project& project, int maxDepth) : project_(project), maxDepth_(maxDepth) {}

bool UndoHistory::BeginEdit(bool commitNow) {
  if (!view_) return false;
  const std::string path = view_->CurrentModulePath();
  if (path.empty()) return false;
  ModuleSnapshot snapshot;
  if (!view_->CaptureSelection(snapshot)) return false;
  snapshot.path = path;
  pending_ = std::move(snapshot);
  if (commitNow) CommitEdit();
  return true;
}

bool UndoHistory::BeginEditOf(const Module& module, const std::vector<std::string>& keys,
                              bool commitNow) {
  if (keys.empty()) return false;
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
  pending_ = std::move(snapshot);
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
  pending_ = std::move(snapshot);
  if (commitNow) CommitEdit();
  return true;
}

void UndoHistory::Push(Stack& stack, ModuleSnapshot snapshot) {
  stack.push_front(std::move(snapshot));
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
  Module* module = nullptr;
  for (auto& candidate : project_.modules) {
    if (candidate.path == source.front().path) {
      module = &candidate;
      break;
    }
  }
  if (!module) return false;
  // Taken off the source first: pushing the counter-snapshot may drop the
  // oldest snapshot of a full target stack, never this one.
  const ModuleSnapshot snapshot = std::move(source.front());
  source.pop_front();

  ModuleSnapshot counter;
  counter.path = snapshot.path;
  for (const ModuleLanguage& saved : snapshot.languages) {
    ModuleLanguage& present =
        counter.AddLanguage(ModuleLanguage(saved.name, saved.outputFile, saved.isDefault));
    const ModuleLanguage* current = module->FindLanguage(saved.name);
    for (const TextEntry& entry : saved.Entries()) {
      const TextEntry* now = current ? current->FindEntry(entry.key) : nullptr;
      present.SetEntry(now ? *now : TextEntry::Blank(entry.key));
    }
    for (const auto& [dialog, geometry] : saved.dialogGeometry) {
      const auto now = current ? current->dialogGeometry.find(dialog)
                               : decltype(current->dialogGeometry.end())();
      present.dialogGeometry[dialog] =
          current && now != current->dialogGeometry.end() ? now->second : DialogGeometry();
    }
  }
  Push(target, std::move(counter));

  if (view_) view_->SuspendRedraw();
  std::vector<std::string> changedKeys;
  for (ModuleLanguage& language : module->languages) {
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

}  // namespace ulk
