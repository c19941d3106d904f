// The translator's file dialogs.
#include "translator/ui/file_dialogs.h"

#include <filesystem>

#include <wx/filedlg.h>
#include <wx/filename.h>

#include "platform/files.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/model/project_file.h"
#include "translator/model/project_operations.h"
#include "translator/model/property_edits.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {

namespace {

// The folder and the name the dialog holds, which GTK's chooser also keeps
// when the choice was made for it (by a test) rather than typed.
std::string ChosenPath(const wxFileDialog& dialog) {
  return FromWx(wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath());
}

}  // namespace

wxString FileDialogFilter(int messageId) {
  std::string filter = MessageText(messageId);
  while (!filter.empty() && filter.back() == '|') filter.pop_back();
  return ToWx(filter);
}

std::size_t AddModulesFromDialog(Project& project, wxWindow* parent, OperationUi& ui) {
  wxFileDialog dialog(parent, ToWx(MessageText(kMsgAddModulesTitle)), wxString(), wxString(),
                      FileDialogFilter(kMsgModuleFilter),
                      wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return 0;
  wxArrayString selected;
  dialog.GetPaths(selected);
  std::vector<std::string> paths;
  for (const wxString& path : selected) paths.push_back(FromWx(path));
  return AddModules(project, paths, ui);
}

std::optional<std::string> ChooseModulePath(wxWindow* parent, const std::string& current) {
  // A module that was moved away still names the folder to start from.
  wxFileDialog dialog(parent, ToWx(MessageText(kMsgModulePathTitle)),
                      ToWx(NearestExistingFolder(current)), ToWx(FileNameOf(current)),
                      FileDialogFilter(kMsgModuleFilter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return FromWx(dialog.GetPath());
}

std::optional<std::string> ChooseOutputFile(wxWindow* parent, const std::string& current,
                                            OperationUi& ui) {
  const std::string initial = Trim(current);
  wxFileDialog dialog(parent, ToWx(MessageText(kMsgOutputFileTitle)),
                      ToWx(NearestExistingFolder(initial)), ToWx(FileNameOf(initial)),
                      FileDialogFilter(kMsgModuleFilter), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  const std::string chosen = FromWx(dialog.GetPath());
  const std::string folder = std::filesystem::path(chosen).parent_path().string();
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    ui.ShowMessage(ReplaceAll(SystemErrorMessage(kErrorFolderNotFound), "%1", folder),
                   MessageIcon::kExclamation);
    return std::nullopt;
  }
  return chosen;
}

std::optional<std::string> ChooseDictionaryFile(wxWindow* parent) {
  // A save dialog: it also takes the name of a dictionary yet to be made.
  wxFileDialog dialog(parent, ToWx(MessageText(kMsgDictionaryOpenTitle)), wxString(), wxString(),
                      FileDialogFilter(kMsgDictionaryFilter), wxFD_SAVE);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  std::string path = FromWx(dialog.GetPath());
  if (path.find('.', path.find_last_of('/') + 1) == std::string::npos) path += ".dic";
  return path;
}

std::optional<std::string> ChooseOtherProject(wxWindow* parent, int titleId) {
  wxFileDialog dialog(parent, ToWx(MessageText(titleId)), wxString(), wxString(),
                      FileDialogFilter(kMsgProjectFilter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return FromWx(dialog.GetPath());
}

bool LoadOtherProject(wxWindow* parent, const std::string& path, Project& other) {
  const ProjectLoadResult result = LoadProjectFile(other, path);
  if (result.ok) return true;
  ShowMessageBox(parent, result.message, MessageKind::kError);
  // As when a project is opened: a file read but refused is also of an
  // unexpected format.
  if (result.fileError == 0) {
    ShowMessageBox(parent, MessageText(kMsgUnexpectedFileFormat), MessageKind::kError);
  }
  return false;
}

std::optional<std::string> ChooseCsvFile(wxWindow* parent) {
  wxFileDialog dialog(parent, ToWx(MessageText(kMsgAnalysisSaveTitle)), wxString(),
                      ToWx("análisis.csv"), FileDialogFilter(kMsgCsvFilter),
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  // Taken as typed: a ".csv" added here would bypass the dialog's question
  // about an existing file of that name.
  return ChosenPath(dialog);
}

}  // namespace ulk
