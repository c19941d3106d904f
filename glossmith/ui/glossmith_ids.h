// The administrator's numbers: commands (the same in menus, buttons and the
// string table), windows and their controls, and the toolbars.
#pragma once

namespace ulk::glossmith {

// Commands.
inline constexpr int kCmdAbout = 16;
inline constexpr int kCmdOpen = 32771;
inline constexpr int kCmdClose = 32772;
inline constexpr int kCmdExit = 32773;
inline constexpr int kCmdAddText = 32780;
inline constexpr int kCmdDeleteText = 32781;
inline constexpr int kCmdAddTranslation = 32782;
inline constexpr int kCmdDeleteTranslation = 32783;
inline constexpr int kCmdFilterStrings = 32785;
inline constexpr int kCmdFilterMenus = 32786;
inline constexpr int kCmdFilterDialogs = 32787;
inline constexpr int kCmdFilterVersions = 32788;
inline constexpr int kCmdFilterAll = 32789;
inline constexpr int kCmdFilterMenu = 32790;
inline constexpr int kCmdEditText = 32791;
inline constexpr int kCmdFind = 32795;
inline constexpr int kCmdEditTranslation = 32805;
inline constexpr int kCmdCreateLanguage = 32813;
inline constexpr int kCmdDeleteLanguage = 32814;
inline constexpr int kCmdRenameLanguage = 32816;
inline constexpr int kCmdLanguages = 32818;
// Exchange of the dictionary with TMX files, after the items of old in the
// dictionary menu.
inline constexpr int kCmdImportTmx = 32840;
inline constexpr int kCmdExportTmx = 32841;
// The filters of the message-table and form types.
inline constexpr int kCmdFilterMessages = 32842;
inline constexpr int kCmdFilterForms = 32843;

// The filter commands and the type each shows ("" for all).
struct FilterCommand {
  int id;
  const char* code;
};
inline constexpr FilterCommand kFilterCommands[] = {
    {kCmdFilterStrings, "ST"},  {kCmdFilterMenus, "MN"},    {kCmdFilterDialogs, "DL"},
    {kCmdFilterVersions, "VS"}, {kCmdFilterMessages, "MT"}, {kCmdFilterForms, "FM"},
    {kCmdFilterAll, ""},
};

// Windows.
inline constexpr int kMainDialog = 102;
inline constexpr int kTextDialog = 132;
inline constexpr int kLanguagesDialog = 148;
inline constexpr int kLanguageNameDialog = 151;

// Controls of the main window.
inline constexpr int kTextsList = 1001;
inline constexpr int kTranslationsList = 1002;
inline constexpr int kSourceSelector = 1003;
inline constexpr int kTargetSelector = 1004;
inline constexpr int kMainToolbarPlace = 1005;
inline constexpr int kTextsToolbarPlace = 1006;
inline constexpr int kTranslationsToolbarPlace = 1007;
inline constexpr int kSourceLabel = 1008;
inline constexpr int kTargetLabel = 1009;
inline constexpr int kMenuIconsToolbarId = 59392;

// Controls of the dialogs.
inline constexpr int kTextEdit = 1006;
inline constexpr int kTypePicker = 1011;
inline constexpr int kLanguagesList = 1012;
inline constexpr int kLanguagesToolbarPlace = 1013;

// Toolbars.
inline constexpr int kMainToolbar = 130;
inline constexpr int kMenuIconsToolbar = 133;
inline constexpr int kTextsToolbar = 135;
inline constexpr int kTranslationsToolbar = 137;
inline constexpr int kLanguagesToolbar = 149;

}  // namespace ulk::glossmith
