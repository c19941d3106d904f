// The document: owns the one project and its undo history, loads and saves
// it through the project file, asks to save changes before it is replaced.
#pragma once

#include <wx/docview.h>

#include "translator/model/project.h"
#include "translator/model/undo_history.h"

namespace ulk {

class CULKDoc : public wxDocument {
 public:
  CULKDoc();

  Project& GetProject() { return project_; }
  UndoHistory& History() { return undoHistory_; }

  bool BeginEdit(bool commitNow) { return undoHistory_.BeginEdit(commitNow); }
  bool CommitEdit() { return undoHistory_.CommitEdit(); }
  void DiscardEdit() { undoHistory_.DiscardEdit(); }
  bool Undo();
  bool Redo();
  bool CanUndo() const { return undoHistory_.CanUndo(); }
  bool CanRedo() const { return undoHistory_.CanRedo(); }
  void ClearHistory() { undoHistory_.ClearHistory(); }

  // A change that restructures the project (modules, properties, resources
  // read): no undo across it, every view rebuilt, the document modified.
  void ProjectRestructured();
  // A change of entries: the document modified.
  void EntriesChanged() { Modify(true); }

  // "name - ULK".
  wxString FrameTitle() const;

  bool OnNewDocument() override;
  bool OnSaveModified() override;

 protected:
  bool DoOpenDocument(const wxString& file) override;
  bool DoSaveDocument(const wxString& file) override;

 private:
  Project project_;
  UndoHistory undoHistory_;

  wxDECLARE_DYNAMIC_CLASS(CULKDoc);
};

}  // namespace ulk
