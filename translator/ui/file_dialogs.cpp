// The translator's file dialogs.
#include "translator/ui/file_dialogs.h"

#include <filesystem>

#include <wx/filedlg.h>

#include "platform/files.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/model/project_operations.h"
#include "translator/model/property_edits.h"
#include "uikit/wx_text.h"

namespace ulk {

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

}  // namespace ulk
