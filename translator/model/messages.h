// The translator's string table: message id -> its exact Spanish text.
#pragma once

#include <string>
#include <type_traits>

#include "platform/text.h"

namespace ulk {

enum MessageId : int {
  kMsgDocumentTemplate = 128,
  kMsgNewProject = 1000,
  kMsgModuleLanguageColumn = 1001,
  kMsgAddModulesTitle = 1002,
  kMsgProjectModuleCount = 1003,
  kMsgModuleFilter = 1004,
  kMsgNameColumn = 1005,
  kMsgFileColumn = 1006,
  kMsgFolderColumn = 1007,
  kMsgModuleLanguageCount = 1008,
  kMsgOutputFileTitle = 1009,
  kMsgResourceColumn = 1012,
  kMsgReadingModule = 1013,
  kMsgGeneratingModule = 1014,
  kMsgValidatingModule = 1015,
  kMsgModuleGenerated = 1017,
  kMsgProjectGenerated = 1018,
  kMsgModulePathTitle = 1019,
  kMsgResourceCount = 1020,
  kMsgFilteredResourceCount = 1021,  // "%d de %d": shown, under the node
  kMsgTreeStringTable = 1022,
  kMsgTreeDialog = 1023,
  kMsgTreeMenu = 1024,
  kMsgTreeVersion = 1025,
  kMsgTreeMessageTable = 1026,
  kMsgDictionaryFilter = 1027,
  kMsgDictionaryOpenTitle = 1028,
  kMsgLanguageCount = 1029,
  kMsgTranslateTo = 1030,
  kMsgTreeForm = 1031,
  kMsgExportTitle = 1040,
  kMsgExchangeSaveFilter = 1041,
  kMsgImportTitle = 1042,
  kMsgExchangeOpenFilter = 1043,
  kMsgExporting = 1044,
  kMsgImporting = 1045,
  kMsgCheckingTranslations = 1046,
  kMsgImportDone = 1047,
  // Reuse of another project's translations and the analysis.
  kMsgReuseTitle = 1048,
  kMsgProjectFilter = 1049,
  kMsgReusing = 1050,
  kMsgReuseDone = 1051,
  kMsgCompareTitle = 1052,
  kMsgAnalysing = 1053,
  kMsgAnalysisSaveTitle = 1054,
  kMsgCsvFilter = 1055,
  kMsgErrorSavingAnalysis = 1056,
  kMsgNoUntranslatedRow = 1060,
  kMsgNoRowToReview = 1061,
  kMsgAskDeleteModule = 3000,
  kMsgAskDeleteLanguage = 3001,
  kMsgAskContinue = 3002,
  kMsgAskDeleteUserLanguage = 3003,
  kMsgModuleAlreadyInProject = 5000,
  kMsgErrorAddingModule = 5001,
  kMsgErrorDeletingModule = 5003,
  kMsgMustEnterProjectName = 5004,
  kMsgTooManyFiles = 5005,
  kMsgLanguageNotFound = 5006,
  kMsgErrorDeletingLanguage = 5007,
  kMsgMustSelectLanguage = 5008,
  kMsgMustEnterOutputFile = 5009,
  kMsgErrorAddingLanguage = 5010,
  kMsgEnterLanguageName = 5011,
  kMsgErrorUpdatingSettings = 5012,
  kMsgModuleNeedsDefault = 5013,
  kMsgModuleOneDefault = 5014,
  kMsgBadLanguageData = 5015,
  kMsgModuleValidationError = 5016,
  kMsgErrorGeneratingModule = 5017,
  kMsgErrorReadingResources = 5018,
  kMsgBadModuleData = 5019,
  kMsgCannotOpenModule = 5020,
  kMsgErrorSavingTranslated = 5021,
  kMsgErrorCopyingToClipboard = 5022,
  kMsgErrorPastingFromClipboard = 5023,
  kMsgErrorDeletingUserLanguage = 5024,
  // The resource preview.
  kMsgErrorLoadingDialog = 5025,
  kMsgBadResourceType = 5026,
  kMsgCannotLoadMenu = 5027,
  kMsgResourceNotDialog = 5028,
  kMsgResourceNotMenu = 5029,
  kMsgCannotOpenLibrary = 5030,
  kMsgCannotLoadDialog = 5031,
  kMsgErrorShowingResource = 5032,
  kMsgCannotOpenModuleLibrary = 5033,  // "%s": the module path
  kMsgCannotShowResource = 5034,
  kMsgCannotPreviewResource = 5035,
  kMsgErrorAddingModules = 5036,
  kMsgErrorOpeningFile = 5037,
  kMsgUnknownFileVersion = 5038,
  kMsgUnknownFileFormat = 5039,
  kMsgErrorAddingResource = 5040,
  kMsgErrorOpeningDictionary = 5041,
  kMsgErrorAddingToDictionary = 5043,
  kMsgErrorExporting = 5050,          // "%s": why
  kMsgErrorImporting = 5051,          // "%s": why, with the place
  kMsgErrorPseudoTranslating = 5052,  // "%s": why
  kMsgFindingModuleGone = 5053,       // "%s": the module's file name
  kMsgFindingKeyGone = 5054,          // "%s": the key
  kMsgViewWithoutResources = 7000,
  kMsgNoDictionary = 7001,
  kMsgProgressPaneWidth = 7002,
  kMsgProgramName = 57344,
  kMsgReady = 57345,
  kMsgCannotSaveDocument = 61698,
  kMsgAskSaveChanges = 61699,
  kMsgUnexpectedFileFormat = 61728,
  kMsgFileNotFound = 61729,
};

// Command prompts are kept under the command's id: the status-bar text, a
// line feed and the tooltip.

// The text of a message, or "" for an id the table does not hold.
const char* MessageText(int id);

// The text formatted printf-style with the given arguments (C strings and
// numbers only: the format is not a literal the compiler could check).
template <typename... Args>
std::string FormatMessage(int id, Args... args) {
  static_assert(((std::is_arithmetic_v<Args> || std::is_same_v<Args, const char*> ||
                  std::is_same_v<Args, char*>)&&...),
                "message arguments are C strings or numbers");
  return Format(MessageText(id), args...);
}

}  // namespace ulk
