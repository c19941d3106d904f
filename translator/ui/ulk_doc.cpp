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

namespace {

// Makes the project file's folder the current one while the file is read,
// so that module paths written relative to the project name the modules
// beside it whatever folder the program was started from.
class InProjectFolder {
 public:
  explicit InProjectFolder(const std::string& projectPath) {
    std::error_code error;
    previous_ = std::filesystem::current_path(error);
    const std::filesystem::path folder =
        std::filesystem::absolute(projectPath, error).parent_path();
    if (!error && !folder.empty()) std::filesystem::current_path(folder, error);
  }
  ~InProjectFolder() {
    std::error_code ignored;
    if (!previous_.empty()) std::filesystem::current_path(previous_, ignored);
  }

 private:
  std::filesystem::path previous_;
};

}  // namespace

bool CULKDoc::DoOpenDocument(const wxString& file) {
  const std::string path = std::filesystem::absolute(FromWx(file)).string();
  ProjectLoadResult result;
  {
    InProjectFolder folder(path);
    result = LoadProjectFile(project_, path);
  }
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
  if (const int error = SaveProjectFile(project_, path)) {
    ShowMessageBox(
        GetDocumentWindow(),
        std::string(MessageText(kMsgCannotSaveDocument)) + "\n" + SystemErrorText(error, path),
        MessageKind::kError);
    return false;
  }
  return true;
}

}  // namespace ulk
