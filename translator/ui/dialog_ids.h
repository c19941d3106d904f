// The numbers of the translator's dialogs, of their controls and of the
// toolbars inside them: kept as they have always been, so that tests, the
// string table and the dialogs agree on them.
#pragma once

namespace ulk {

// Dialogs (ToolkitDialog::templateId).
enum DialogTemplateId : int {
  kDlgProjectProperties = 132,
  kDlgModuleProperties = 133,
  kDlgLanguageProperties = 136,
  kDlgNewLanguage = 139,
  kDlgTranslation = 140,
  kDlgLanguageSelect = 151,
  kDlgUserLanguages = 163,
  kDlgFindings = 170,
  kDlgLayoutEditor = 171,
  kDlgSimilarTranslation = 172,
  kDlgReuseTranslations = 173,
  kDlgAnalysis = 174,
};

// Controls.
enum DialogControlId : int {
  kCtlProjectName = 1000,
  kCtlList = 1001,
  kCtlCountLine = 1003,
  kCtlModulePath = 1005,
  kCtlToolbarPlaceholder = 1006,  // project and user languages dialogs
  kCtlLanguageCombo = 1007,
  kCtlOutputFile = 1008,
  kCtlNewLanguageName = 1010,
  kCtlSlot1Label = 1013,
  kCtlSlot1Edit = 1014,
  kCtlSlot2Label = 1015,
  kCtlSlot2Edit = 1016,
  kCtlSlot3Label = 1017,
  kCtlSlot3Edit = 1018,
  kCtlTranslationScroll = 1020,
  kCtlSlot1Note = 1021,
  kCtlSlot2Note = 1022,
  kCtlSlot3Note = 1023,
  kCtlSlot1Review = 1024,
  kCtlSlot2Review = 1025,
  kCtlSlot3Review = 1026,
  kCtlSimilarMatches = 1027,  // the translation dialog's similar texts
  kCtlSimilarMinimum = 1031,  // the minimum score of translating with similar texts
  kCtlPlaceholder1 = 1028,  // module and language dialogs
  kCtlPlaceholder2 = 1029,
  kCtlPlaceholder3 = 1030,
  // The layout editor: its drawing, the four fields in order, its buttons.
  kCtlLayoutCanvas = 1050,
  kCtlLayoutX = 1051,
  kCtlLayoutY = 1052,
  kCtlLayoutCx = 1053,
  kCtlLayoutCy = 1054,
  kCtlLayoutFit = 1055,
  kCtlLayoutReset = 1056,
  kCtlFindingText = 1040,   // the findings window's pane under its list
  kCtlMinimumScore = 1041,  // reuse of another project's translations
  kCtlOverwrite = 1042,
  kCtlAllModules = 1043,
  kCtlReuseSource = 1044,
  kCtlAnalysisSources = 1045,  // the analysis
  kCtlCompare = 1046,
  kCtlSaveCsv = 1047,
};

// Toolbars placed in the dialogs (their control ids).
enum DialogToolbarId : int {
  kTbProject = 132,
  kTbModuleLanguages = 133,
  kTbLanguage = 136,
  kTbModulePath = 153,
  kTbNewLanguage = 155,
  kTbUserLanguages = 163,
};

// The context menus of the dialogs' lists: popups of menu 131.
enum DialogPopup : int {
  kPopupModuleLanguages = 1,
  kPopupUserLanguages = 3,
  kPopupProjectModules = 4,
};

}  // namespace ulk
