// The translator's command ids: the numbers its menus, toolbars and
// accelerators have always used, so that prompts in the string table, tests
// and the dialogs of other windows agree on them.
#pragma once

namespace ulk {

enum CommandId : int {
  // Archivo
  kIdFileNew = 57600,
  kIdFileOpen = 57601,
  kIdFileSave = 57603,
  kIdFileSaveAs = 57604,
  kIdFileMru = 57616,
  kIdAppExit = 57665,
  // Editar
  kIdEditCopy = 57634,
  kIdEditCut = 57635,
  kIdEditFind = 57636,
  kIdEditPaste = 57637,
  kIdEditSelectAll = 57642,
  kIdEditUndo = 57643,
  kIdEditRedo = 57644,
  kIdFindNext = 32805,
  // Ver
  kIdViewToolbar = 59392,
  kIdViewStatusBar = 59393,
  // Proyecto
  kIdAddModules = 32771,
  kIdProjectProperties = 32772,
  kIdDeleteModule = 32774,
  kIdGetAllResources = 32784,
  kIdGenerateProject = 32785,
  // Módulos
  kIdModuleProperties = 32775,
  kIdGetModuleResources = 32786,
  kIdGenerateModule = 32787,
  // Recursos
  kIdTranslateResource = 32802,
  kIdDeleteTranslation = 32804,
  kIdShowOriginal = 32823,
  kIdShowTranslated = 32834,
  kIdEditLayout = 32890,
  // Herramientas
  kIdUserLanguages = 32843,
  kIdOpenDictionary = 32844,
  kIdCloseDictionary = 32845,
  kIdAddSelected = 32846,
  kIdTranslateSelected = 32847,
  kIdDictionaryAdmin = 32860,
  kIdTranslateSimilar = 32848,
  // Exchange with translators' tools and checks (after the items above)
  kIdExportLanguage = 32870,
  kIdImportLanguage = 32871,
  kIdPseudoTranslate = 32872,
  kIdCheckProject = 32873,
  kIdCheckModule = 32874,
  // Reuse of another project's translations and the analysis
  kIdReuseTranslations = 32875,
  kIdAnalyseProject = 32876,
  // Review states and the list's filter
  kIdMarkReviewed = 32880,
  kIdMarkToReview = 32881,
  kIdNextUntranslated = 32882,
  kIdNextToReview = 32883,
  kIdFilterAll = 32884,
  kIdFilterUntranslated = 32885,
  kIdFilterToReview = 32886,
  kIdFilterChanged = 32887,
  // Ayuda
  kIdAppAbout = 57664,
  // The tree's context menu
  kIdProperties = 32776,
  kIdGetResources = 32797,
  kIdGenerate = 32799,
  // Commands of the property dialogs, whose images the menus borrow
  kIdAddLanguage = 32777,
  kIdDeleteLanguage = 32778,
  kIdLanguageProperties = 32779,
  kIdChangePath = 32806,
  kIdSelectOutputFile = 32781,
  kIdDefaultOutputFile = 32783,
  kIdNewLanguage = 32837,
  kIdDeleteUserLanguage = 32852,
  kIdShowIsoLanguages = 32854,
  // Panes
  kIdNextPane = 57680,
  kIdPrevPane = 57681,
  // Dictionary suggestions of the list's context menu
  kIdFirstSuggestion = 60001,
  kIdLastSuggestion = 60020,
};

// Resources of the main window.
enum ResourceNumber : int {
  kMainMenu = 128,
  kMainToolbar = 128,
  kMenuImagesToolbar = 147,
  kContextMenus = 131,
  kTreeImages = 130,
};

// Images of the tree's image list (and the list's: the header's sort marks,
// the cells' review marks and notes).
enum TreeImage : int {
  kImageFolder = 0,
  kImageFolderOpen = 1,
  kImageModule = 2,
  kImageStringTable = 5,
  kImageDialog = 6,
  kImageMenu = 7,
  kImageVersion = 8,
  kImageSortDescending = 9,
  kImageSortAscending = 10,
  kImageToReview = 12,
  kImageReviewed = 13,
  kImageNote = 14,
  kImageNoteToReview = 15,
  kImageNoteReviewed = 16,
  kImageMessageTable = 17,
  kImageForm = 18,
};

}  // namespace ulk
