// Pictures of the translator's windows on the bundled example: the main
// window (tree expanded, a dialog selected, coloured rows, review marks and
// notes, the filter in use, a message table and a form), two open menus, the
// about box, the find dialog, the translation and property dialogs, the
// language dialogs, the file dialogs, the exchange, pseudo-translation and
// check windows, the layout editor, and the reuse of another project's
// translations and the analysis.
#include <wx/fdrepdlg.h>
#include <wx/filedlg.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include "tests/gui/screenshot.h"
#include "tests/gui/ulk_fixture.h"
#include "translator/model/property_edits.h"
#include "translator/model/resource_engine.h"
#include "translator/model/resource_rows.h"
#include "translator/ui/analysis_dlg.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/file_dialogs.h"
#include "translator/ui/findings_dlg.h"
#include "translator/ui/language_dialogs.h"
#include "translator/ui/layout_editor_dlg.h"
#include "translator/ui/property_dialogs.h"
#include "translator/ui/reuse_dlg.h"
#include "translator/ui/translation_dlg.h"
#include "translator/ui/user_language_store.h"
#include "uikit/command_id.h"

namespace ulk {
namespace {

class UlkScreenshots : public testing::UlkWindowTest {
 protected:
  // Texts to review and reviewed, in both target languages, and notes.
  static void MarkSomeReviews(Module& module) {
    ModuleLanguage& english = *module.FindLanguage("Inglés (Estados Unidos)");
    ModuleLanguage& german = *module.FindLanguage("Alemán (Alemania)");
    for (const char* key : {"DL_N_100 (0)", "DL_N_100 (3)", "DL_N_200 (0)", "DL_N_200 (1)"}) {
      english.FindEntry(key)->review = kReviewDone;
    }
    for (const char* key : {"DL_N_100 (2)", "DL_N_200 (9)"}) {
      english.FindEntry(key)->review = kReviewNeeded;
    }
    german.FindEntry("DL_N_100 (0)")->review = kReviewNeeded;
    german.FindEntry("DL_N_200 (0)")->review = kReviewDone;
    english.FindEntry("DL_N_200 (9)")->note = "¿Privada o personal?";
    german.FindEntry("DL_N_200 (10)")->note = "Botón estándar";
    module.DefaultLanguage()->FindEntry("DL_N_100 (1)")->note = "La versión sale del módulo";
  }
};

TEST_F(UlkScreenshots, MainWindow) {
  StartOnDemo();
  // Something of every colour: statuses as reading, hand and the
  // dictionary leave them.
  Module* module = &doc()->GetProject().modules.front();
  int status = 0;
  for (auto& entry : const_cast<std::list<TextEntry>&>(module->DefaultLanguage()->Entries())) {
    entry.status = status++ % 5;
  }
  MarkSomeReviews(*module);
  tree()->ExpandAll();
  ASSERT_TRUE(treeView()->SelectNode(module->id, kNodeDialogs));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main", frame()));
  ASSERT_TRUE(treeView()->SelectNode(module->id, kNodeDialog, "DL_N_200"));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main_dialog", frame()));
  // The project itself shows no rows: the longest text of the last
  // status pane.
  ASSERT_TRUE(treeView()->SelectNode(0));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main_project", frame()));
}

// The menus with the images of their commands: "Archivo", and "Editar",
// which has the most.
TEST_F(UlkScreenshots, OpenMenus) {
  StartOnDemo();
  EXPECT_TRUE(testing::TakeOpenMenuScreenshot("ulk_menu_archivo", frame(), 0));
  EXPECT_TRUE(testing::TakeOpenMenuScreenshot("ulk_menu_editar", frame(), 1));
  EXPECT_TRUE(testing::TakeOpenMenuScreenshot("ulk_menu_proyecto", frame(), 3));
}

TEST_F(UlkScreenshots, MainWindowFiltered) {
  StartOnDemo();
  Module* module = &doc()->GetProject().modules.front();
  MarkSomeReviews(*module);
  tree()->ExpandAll();
  ASSERT_TRUE(treeView()->SelectNode(module->id, kNodeDialogs));
  testing::SendCommand(frame(), WxId(kIdFilterToReview));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main_to_review", frame()));
}

// A message table and a form, read again from the module so that the form's
// texts carry their component paths as notes, as after any reading.
TEST_F(UlkScreenshots, MessageTableAndForm) {
  StartOnDemo();
  Module* module = &doc()->GetProject().modules.front();
  ResourceEngine engine;
  ASSERT_TRUE(engine.GetResources(module)) << engine.failureText;
  tree()->ExpandAll();
  ASSERT_TRUE(treeView()->SelectNode(module->id, kNodeMessageTables));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main_messages", frame()));
  ASSERT_TRUE(treeView()->SelectNode(module->id, kNodeForms));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main_form", frame()));
}

TEST_F(UlkScreenshots, AboutBox) {
  StartOnDemo();
  testing::ModalScreenshot shot("ulk_about", wxID_OK);
  testing::SendCommand(frame(), WxId(kIdAppAbout));
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, FindDialog) {
  StartOnDemo();
  testing::SendCommand(frame(), WxId(kIdEditFind));
  ASSERT_NE(listView()->FindDialog(), nullptr);
  EXPECT_TRUE(testing::TakeScreenshot("ulk_find", listView()->FindDialog()));
}

TEST_F(UlkScreenshots, FileDialogs) {
  StartOnDemo();
  {
    testing::ModalScreenshot shot("ulk_add_modules");
    testing::SendCommand(frame(), WxId(kIdAddModules));
    EXPECT_TRUE(shot.taken());
  }
}

TEST_F(UlkScreenshots, TranslationDialog) {
  StartOnDemo();
  Module& module = firstModule();
  TextEntry& english = *module.FindLanguage("Inglés (Estados Unidos)")->FindEntry("ST_N_1 (3)");
  english.review = kReviewNeeded;
  english.note = "¿«file» o «document»?";
  module.DefaultLanguage()->FindEntry("ST_N_1 (3)")->note = "Mensaje de error al abrir una nota";
  // Similar texts of an earlier release in the dictionary.
  DictionaryComponent* dictionary = TheApp().Dictionary();
  ASSERT_TRUE(dictionary && dictionary->Open((folder_ / "anterior.dic").string()));
  const char* spanish = "Español (España)";
  const char* target = "Inglés (Estados Unidos)";
  dictionary->Set("ST", spanish, "No se puede abrir el fichero:\\n%s", target,
                  "Cannot open the document:\\n%s");
  dictionary->Set("ST", spanish, "No se puede abrir el archivo", target, "Cannot open the file");
  dictionary->Set("ST", spanish, "No se puede abrir el archivo de notas:\\n%s", target,
                  "Cannot open the notes file:\\n%s");
  dictionary->Set("ST", spanish, "No se puede guardar el archivo:\\n%s", target,
                  "Cannot save the file:\\n%s");
  SelectKey("ST_N_1 (3)");
  testing::ModalScreenshot shot("ulk_translation");
  testing::SendCommand(frame(), WxId(kIdTranslateResource));
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, SimilarTranslationDialog) {
  StartOnDemo();
  DictionaryComponent* dictionary = TheApp().Dictionary();
  ASSERT_TRUE(dictionary && dictionary->Open((folder_ / "anterior.dic").string()));
  SelectKey("ST_N_1 (3)");
  testing::ModalScreenshot shot("ulk_similar_translation");
  testing::SendCommand(frame(), WxId(kIdTranslateSimilar));
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, TranslationDialogOfFiveLanguages) {
  StartOnDemo();
  for (const char* name : {"Francés (Francia)", "Italiano (Italia)"}) {
    firstModule().AddLanguage(ModuleLanguage(name, "x.dll", false));
  }
  SelectKey("DL_N_200 (9)");
  testing::ModalScreenshot shot("ulk_translation_five");
  testing::SendCommand(frame(), WxId(kIdTranslateResource));
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, ProjectProperties) {
  StartOnDemo();
  testing::ModalScreenshot shot("ulk_project_properties");
  testing::SendCommand(frame(), WxId(kIdProjectProperties));
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, ModuleProperties) {
  StartOnDemo();
  testing::ModalScreenshot shot("ulk_module_properties");
  testing::SendCommand(frame(), WxId(kIdModuleProperties));
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, LanguageProperties) {
  StartOnDemo();
  const Module& module = firstModule();
  CLanguagePropertiesDlg dialog(frame(), *module.FindLanguage("Inglés (Estados Unidos)"), module);
  testing::ModalScreenshot shot("ulk_language_properties");
  dialog.ShowModal();
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, NewLanguage) {
  StartOnDemo();
  CNewLanguageDlg dialog(frame());
  dialog.NameEdit()->ChangeValue(ToWx("Élfico (Lothlórien)"));
  testing::ModalScreenshot shot("ulk_new_language");
  dialog.ShowModal();
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, LanguageSelection) {
  StartOnDemo();
  testing::ModalScreenshot shot("ulk_language_select");
  RunLanguageSelect(frame(), {"Inglés (Estados Unidos)", "Alemán (Alemania)"});
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, UserLanguages) {
  StartOnDemo();
  UserLanguageStore store;
  ASSERT_TRUE(store.Open());
  for (const char* name : {"Élfico (Lothlórien)", "Klingon", "Esperanto (Mundo)"}) {
    ASSERT_TRUE(store.Add(name));
  }
  CUserLanguagesDlg dialog(frame());
  dialog.RunCommand(kIdShowIsoLanguages);
  dialog.SelectName("Klingon");
  testing::ModalScreenshot shot("ulk_user_languages");
  dialog.ShowModal();
  EXPECT_TRUE(shot.taken());
}

TEST_F(UlkScreenshots, PropertyFileDialogs) {
  StartOnDemo();
  const std::string path = firstModule().path;
  {
    testing::ModalScreenshot shot("ulk_change_module_path");
    ChooseModulePath(frame(), path);
    EXPECT_TRUE(shot.taken());
  }
  {
    testing::ModalScreenshot shot("ulk_select_output_file");
    ChooseOutputFile(frame(), DefaultOutputFile(path, "Inglés (Estados Unidos)"), frame()->Ui());
    EXPECT_TRUE(shot.taken());
  }
  {
    testing::ModalScreenshot shot("ulk_open_dictionary");
    ChooseDictionaryFile(frame());
    EXPECT_TRUE(shot.taken());
  }
}

TEST_F(UlkScreenshots, Exchange) {
  StartOnDemo();
  // One target language: the commands go straight to their file dialogs.
  firstModule().RemoveLanguage("Alemán (Alemania)");
  doc()->UpdateAllViews();
  testing::Pump();
  {
    testing::ModalScreenshot shot("ulk_export_file");
    testing::SendCommand(frame(), WxId(kIdExportLanguage));
    EXPECT_TRUE(shot.taken());
  }
  {
    testing::ModalScreenshot shot("ulk_import_file");
    testing::SendCommand(frame(), WxId(kIdImportLanguage));
    EXPECT_TRUE(shot.taken());
  }
  // The list after a pseudo-translation.
  ASSERT_TRUE(listView()->PseudoTranslateLanguage("Inglés (Estados Unidos)"));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main_pseudo", frame()));
}

TEST_F(UlkScreenshots, Findings) {
  StartOnDemo();
  ModuleLanguage* english = firstModule().FindLanguage("Inglés (Estados Unidos)");
  english->SetEntry("ST_N_2 (0)", "Find:");
  english->SetEntry("ST_N_1 (5)", " Ready.");
  testing::SendCommand(frame(), WxId(kIdCheckProject));
  CFindingsDlg* findings = frame()->FindingsWindow();
  ASSERT_NE(findings, nullptr);
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_findings", findings));
  findings->Close();
}

// The layout editor on the new-note dialog in German, its first label
// translated into Japanese: widened by "Ajustar al texto", the title label
// still too narrow and outlined, the widened control selected.
TEST_F(UlkScreenshots, LayoutEditor) {
  StartOnDemo();
  ModuleLanguage& german = *firstModule().FindLanguage("Alemán (Alemania)");
  german.SetEntry("DL_N_200 (1)", "タイトル（新しいメモの題名）:");
  german.SetEntry("DL_N_200 (3)", "&Kategorie der neuen Notiz:");
  std::unique_ptr<CLayoutEditorDlg> editor =
      MakeLayoutEditor(firstModule(), "DL_N_200", "Alemán (Alemania)", frame());
  ASSERT_NE(editor, nullptr);
  editor->Session().Select(1);
  editor->Session().Fit();
  editor->Session().Select(3);
  editor->Refresh();
  editor->Show();
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_layout_editor", editor.get()));
  editor->Hide();
}

// The string table, whose Japanese text is drawn in a font that has its
// letters, not as empty boxes.
TEST_F(UlkScreenshots, JapaneseTexts) {
  StartOnDemo();
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeStringTables));
  SelectKey("ST_N_2 (3)");
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main_japanese", frame()));
}

// The "Recursos" menu with its new item.
TEST_F(UlkScreenshots, ResourcesMenu) {
  StartOnDemo();
  EXPECT_TRUE(testing::TakeOpenMenuScreenshot("ulk_menu_recursos", frame(), 5));
}

TEST_F(UlkScreenshots, Reuse) {
  StartOnDemo();
  {
    testing::ModalScreenshot shot("ulk_reuse_file");
    testing::SendCommand(frame(), WxId(kIdReuseTranslations));
    EXPECT_TRUE(shot.taken());
  }
  CReuseTranslationsDlg dialog(frame(), "notas-1.0.ulk");
  testing::ModalScreenshot shot("ulk_reuse_options");
  dialog.ShowModal();
  EXPECT_TRUE(shot.taken());
}

// The example against the release before it: the same file, from which
// this one differs in a few originals and has lost translations.
TEST_F(UlkScreenshots, Analysis) {
  StartOnDemo();
  const std::string earlier = (folder_ / "notas-1.0.ulk").string();
  std::filesystem::copy_file(folder_ / "demo.ulk", earlier);
  Module& module = firstModule();
  ModuleLanguage& original = *module.DefaultLanguage();
  ModuleLanguage& english = *module.FindLanguage("Inglés (Estados Unidos)");
  ModuleLanguage& german = *module.FindLanguage("Alemán (Alemania)");
  const std::pair<const char*, const char*> changed[] = {
      {"ST_N_1 (5)", "Listo."},
      {"DL_N_100 (1)", "Notas, versión 2.0"},
      {"DL_N_200 (9)", "Nota privada y oculta"},
      {"ST_N_2 (1)", "No se ha encontrado el texto «%s»."},
  };
  for (const auto& [key, text] : changed) {
    original.FindEntry(key)->text = text;
    english.RemoveEntry(key);
  }
  for (const char* key : {"MN_N_1 (7)", "MN_N_1 (8)", "MN_N_1 (9)", "DL_N_200 (1)"}) {
    english.RemoveEntry(key);
  }
  german.RemoveEntry("MN_N_1 (0)");
  german.RemoveEntry("ST_N_1 (1)");
  CAnalysisDlg analysis(frame(), doc()->GetProject(), nullptr, frame()->Ui());
  ASSERT_TRUE(analysis.CompareWith(earlier));
  testing::ModalScreenshot shot("ulk_analysis", wxID_OK);
  analysis.ShowModal();
  EXPECT_TRUE(shot.taken());
}

}  // namespace
}  // namespace ulk

int main(int argc, char** argv) {
  return ulk::testing::RunGuiTests<ulk::TranslatorApp>(argc, argv);
}
