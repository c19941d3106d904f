// The administrator's string table: id -> its exact Spanish text (captions,
// column headers, messages and the prompts of the commands).
#pragma once

#include <string>
#include <string_view>

namespace ulk {

enum GlossmithMessageId : int {
  kGlossAboutItem = 101,
  kGlossFileFilter = 102,
  kGlossOpenTitle = 103,
  kGlossProgramName = 104,
  kGlossTextsHeader = 105,
  kGlossTypeHeader = 106,
  kGlossAddTextCaption = 107,
  kGlossAddTranslationCaption = 108,
  kGlossIdHeader = 109,
  kGlossStringType = 110,
  kGlossDialogType = 111,
  kGlossMenuType = 112,
  kGlossVersionType = 113,
  kGlossNameHeader = 114,
  kGlossTmxFileFilter = 115,
  kGlossImportTmxTitle = 116,
  kGlossExportTmxTitle = 117,
  kGlossImportingTmx = 118,
  kGlossExportingTmx = 119,
  kGlossMessageType = 120,
  kGlossFormType = 121,

  kGlossTypeTooLong = 501,
  kGlossTextExists = 502,
  kGlossEditedTextExists = 503,
  kGlossLanguageExists = 504,

  kGlossCannotInsertText = 1001,
  kGlossNotADictionary = 1002,
  kGlossCannotModifyText = 1003,
  kGlossCannotInsertTranslation = 1004,
  kGlossCannotLink = 1005,
  kGlossCannotUpdateOthers = 1006,
  kGlossCannotDeleteLink = 1007,
  kGlossCannotDeleteText = 1008,
  kGlossCannotDeleteLinks = 1009,
  kGlossCannotOpenDictionary = 1010,
  kGlossEmptyLanguageName = 1011,
  kGlossCannotCreateLanguage = 1013,
  kGlossCannotRenameLanguage = 1014,
  kGlossCannotDeleteLanguage = 1015,
  kGlossCannotImportTmx = 1016,
  kGlossCannotExportTmx = 1017,
  kGlossCannotStoreText = 1018,

  kGlossAskDeleteUnusedText = 2001,
  kGlossAskDeleteLinkedText = 2002,
  kGlossAskDeleteText = 2003,
  kGlossAskDeleteTranslation = 2004,
  kGlossAskDeleteLanguage = 2005,
};

// The text of `id`, or "" when the table has none.
const char* GlossmithMessageText(int id);
// The text with its "%s" (if any) replaced by `value`.
std::string GlossmithMessage(int id, std::string_view value = {});
// The text with its "%d" replaced by `code` (the "Código de error" of a
// failed statement).
std::string GlossmithMessageWithCode(int id, int code);

}  // namespace ulk
