// The project document.
#include "translator/ui/ulk_doc.h"

#include <filesystem>

#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/model/project_file.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {

wxIMPLEMENT_DYNAMIC_CLASS(CULKDoc, wxDocument);

CULKDoc::CULKDoc() : undoHistory_(project_) {
  project_.name = MessageText(kMsgNewProject);
}

bool CULKDoc::Undo() {
  if (!undoHistory_.Undo()) return false;
  Modify(true);
  return true;
}

bool CULKDoc::Redo() {
  if (!undoHistory_.Redo()) return false;
  Modify(true);
  return true;
}

void CULKDoc::ProjectRestructured() {
  ClearHistory();
  UpdateAllViews();
  Modify(true);
}

wxString CULKDoc::FrameTitle() const {
  return GetUserReadableName() + " - " + ToWx(MessageText(kMsgProgramName));
}

bool CULKDoc::OnNewDocument() {
  if (!wxDocument::OnNewDocument()) return false;
  project_.Clear();
  project_.name = MessageText(kMsgNewProject);
  ClearHistory();
  UpdateAllViews();
  return true;
}

bool CULKDoc::OnSaveModified() {
  if (!IsModified()) return true;
  const std::string question =
      ReplaceAll(MessageText(kMsgAskSaveChanges), "%1", FromWx(GetUserReadableName()));
  switch (AskYesNoCancel(GetDocumentWindow(), question)) {
    case MessageAnswer::kYes:
      return Save();
    case MessageAnswer::kNo:
      Modify(false);
      return true;
    case MessageAnswer::kCancel:
      break;
  }
  return false;
}

bool CULKDoc::DoOpenDocument(const wxString& file) {
  const std::string path = std::filesystem::absolute(FromWx(file)).string();
  const ProjectLoadResult result = LoadProjectFile(project_, path);
  ClearHistory();
  if (result.ok) return true;
  wxWindow* parent = GetDocumentWindow();
  ShowMessageBox(parent, result.message, MessageKind::kError);
  // A file that was read but refused is also reported as of an unexpected
  // format, as every refused document is.
  if (result.fileError == 0) {
    ShowMessageBox(parent, MessageText(kMsgUnexpectedFileFormat), MessageKind::kError);
  }
  return false;
}

bool CULKDoc::DoSaveDocument(const wxString& file) {
  const std::string path = FromWx(file);
  const std::string previous = project_.filePath;
  project_.SetFilePath(path);
  if (const std::string problem = SaveProjectFile(project_, path); !problem.empty()) {
    if (!previous.empty()) project_.SetFilePath(previous);
    ShowMessageBox(GetDocumentWindow(),
                   std::string(MessageText(kMsgCannotSaveDocument)) + "\n" + problem,
                   MessageKind::kError);
    return false;
  }
  return true;
}

}  // namespace ulk
