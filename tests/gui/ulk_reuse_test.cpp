// Reusing another project's translations and the analysis, driven through
// the main window's "Proyecto" menu: files chosen, options answered, the
// project and the tables checked.
#include <algorithm>
#include <filesystem>

#include <wx/checkbox.h>
#include <wx/filedlg.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "platform/files.h"
#include "tests/gui/ulk_fixture.h"
#include "tests/test_support.h"
#include "translator/dictionary/dictionary_component.h"
#include "translator/ui/analysis_dlg.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/reuse_dlg.h"

namespace ulk {
namespace {

using testing::ModalAnswers;
using testing::Pump;

constexpr const char* kEnglish = "Inglés (Estados Unidos)";
constexpr const char* kGerman = "Alemán (Alemania)";

int Press(wxDialog* dialog, int id = wxID_OK) {
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(dialog);
  dialog->ProcessWindowEvent(event);
  return dialog->GetReturnCode();
}

// Checks a file dialog's title and filter; a save dialog is answered OK on
// `path`, an open dialog cancelled (the toolkit's chooser takes a file to
// open only once shown, so the tests pass those paths on themselves).
ModalAnswers::Action ChooseFile(const std::filesystem::path& path, const std::string& title,
                                const std::string& filter) {
  return [path, title, filter](wxDialog* dialog) {
    auto* files = dynamic_cast<wxFileDialog*>(dialog);
    if (!files) return wxID_CANCEL;
    EXPECT_EQ(FromWx(files->GetMessage()), title);
    EXPECT_EQ(FromWx(files->GetWildcard()), filter);
    if (!files->HasFlag(wxFD_SAVE)) {
      EXPECT_TRUE(files->HasFlag(wxFD_FILE_MUST_EXIST));
      return wxID_CANCEL;
    }
    files->SetDirectory(ToWx(path.parent_path().string()));
    files->SetFilename(ToWx(path.filename().string()));
    return wxID_OK;
  };
}

constexpr const char* kProjectFilter =
    "Proyectos de traducción de recursos (*.ulk)|*.ulk|Todos los archivos (*.*)|*";

std::string TableCell(wxListCtrl* list, long row, int column) {
  return FromWx(list->GetItemText(row, column));
}

// The table row of a module ("(proyecto)" for the total), language and band.
long RowOf(wxListCtrl* list, const std::string& module, const std::string& language,
           const std::string& band) {
  for (long row = 0; row < list->GetItemCount(); ++row) {
    if (TableCell(list, row, 0) == module && TableCell(list, row, 1) == language &&
        TableCell(list, row, 2) == band) {
      return row;
    }
  }
  return -1;
}

class UlkReuse : public testing::UlkWindowTest {
 protected:
  ModalAnswers unanswered_;
  // The example as it was saved goes to "anterior.ulk" (its modules are
  // the same files); the open project then loses the translations of
  // `language`, in every module. Returns how many were taken away.
  std::size_t KeepEarlierProjectAndForget(const char* language) {
    std::filesystem::copy_file(folder_ / "demo.ulk", Earlier());
    std::size_t removed = 0;
    for (Module& module : doc()->GetProject().modules) {
      ModuleLanguage* target = module.FindLanguage(language);
      std::vector<std::string> keys;
      for (const TextEntry& entry : target->Entries()) keys.push_back(entry.key);
      for (const std::string& key : keys) target->RemoveEntry(key);
      removed += keys.size();
    }
    listView()->Fill();
    return removed;
  }
  std::filesystem::path Earlier() const { return folder_ / "anterior.ulk"; }
  static std::size_t Count(const Module& module, const char* language) {
    std::size_t count = 0;
    for (const TextEntry& entry : module.FindLanguage(language)->Entries()) {
      if (!entry.text.empty()) ++count;
    }
    return count;
  }
};

TEST_F(UlkReuse, TheCommandsAreInTheProjectMenuForAProjectWithModules) {
  StartOnDemo();
  EXPECT_TRUE(Enabled(kIdReuseTranslations));
  EXPECT_TRUE(Enabled(kIdAnalyseProject));
  wxMenu* project = frame()->GetMenuBar()->GetMenu(3);
  ASSERT_NE(project->FindItem(WxId(kIdReuseTranslations)), nullptr);
  EXPECT_EQ(FromWx(project->FindItem(WxId(kIdReuseTranslations))->GetItemLabel()),
            "&Reutilizar traducciones de otro proyecto...");
  EXPECT_EQ(FromWx(project->FindItem(WxId(kIdAnalyseProject))->GetItemLabel()), "A&nálisis...");
  Run(kIdFileNew);
  Pump();
  EXPECT_FALSE(Enabled(kIdReuseTranslations));
  EXPECT_FALSE(Enabled(kIdAnalyseProject));
}

TEST_F(UlkReuse, AnEarlierProjectFillsEveryModuleInOneUndoStep) {
  StartOnDemo();
  Project& project = doc()->GetProject();
  const std::size_t before = Count(project.modules.back(), kEnglish);
  const std::size_t removed = KeepEarlierProjectAndForget(kEnglish);
  ASSERT_GT(removed, 0u);
  const auto germanTexts = [&project] {
    return Count(project.modules.front(), kGerman) + Count(project.modules.back(), kGerman);
  };
  const std::size_t german = germanTexts();
  doc()->Modify(false);

  {
    // The menu's command asks for the project first; cancelled, nothing more.
    ModalAnswers chooser;
    chooser.Answer(
        ChooseFile(Earlier(), "Reutilizar traducciones de otro proyecto", kProjectFilter));
    Run(kIdReuseTranslations);
    EXPECT_EQ(chooser.shown.size(), 1u);
  }
  ModalAnswers answers;
  ASSERT_TRUE(frame()->ReuseTranslationsFrom(Earlier().string(), LeverageOptions{}));
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_TRUE(answers.shown[0].IsInformation());
  const std::string report = answers.Messages()[0];
  // Same keys, same texts: every text back from its context; German gains
  // only texts whose original is translated elsewhere (100 %).
  EXPECT_NE(report.find("Traducciones reutilizadas de anterior.ulk:"), std::string::npos) << report;
  EXPECT_NE(report.find(std::string(kEnglish) + ": " + std::to_string(removed) + " (contexto: " +
                        std::to_string(removed) + ", 100 %: 0, parecidos por revisar: 0)"),
            std::string::npos)
      << report;
  const std::size_t exact = germanTexts() - german;
  EXPECT_NE(report.find(std::string(kGerman) + ": " + std::to_string(exact) +
                        " (contexto: 0, 100 %: " + std::to_string(exact) + ","),
            std::string::npos)
      << report;
  EXPECT_EQ(Count(project.modules.back(), kEnglish), before);
  EXPECT_EQ(Cell(listView()->FindRowOfKey("ST_N_1 (5)"), 2), "Ready");
  EXPECT_TRUE(doc()->IsModified());

  // One step takes back what came into both modules.
  EXPECT_EQ(doc()->History().UndoDepth(), 1u);
  Run(kIdEditUndo);
  EXPECT_EQ(Count(project.modules.front(), kEnglish), 0u);
  EXPECT_EQ(Count(project.modules.back(), kEnglish), 0u);
  EXPECT_EQ(Cell(listView()->FindRowOfKey("ST_N_1 (5)"), 2), "");
  EXPECT_FALSE(doc()->CanUndo());
  Run(kIdEditRedo);
  EXPECT_EQ(Count(project.modules.back(), kEnglish), before);
  EXPECT_EQ(Cell(listView()->FindRowOfKey("ST_N_1 (5)"), 2), "Ready");
}

TEST_F(UlkReuse, NothingChangesWhenTheOtherProjectCannotBeRead) {
  StartOnDemo();
  const std::size_t removed = KeepEarlierProjectAndForget(kEnglish);
  ASSERT_GT(removed, 0u);
  doc()->Modify(false);
  for (const std::filesystem::path& bad :
       {folder_ / "roto.ulk", folder_ / "no-hay.ulk", folder_ / "carpeta.ulk"}) {
    // Not a project, not there, a folder: reported as errors, no report of
    // success.
    if (bad.filename() == "roto.ulk") {
      ASSERT_EQ(WriteFileAtomically(bad.string(), "esto no es un proyecto\n"), 0);
    }
    if (bad.filename() == "carpeta.ulk") std::filesystem::create_directory(bad);
    ModalAnswers answers;
    EXPECT_FALSE(frame()->ReuseTranslationsFrom(bad.string(), LeverageOptions{}));
    ASSERT_FALSE(answers.Messages().empty()) << bad;
    for (const testing::ShownDialog& shown : answers.shown) {
      if (shown.className == "wxMessageDialog") {
        EXPECT_TRUE(shown.IsError()) << shown.message;
      }
    }
  }
  EXPECT_EQ(Count(firstModule(), kEnglish), 0u);
  EXPECT_FALSE(doc()->IsModified());
  EXPECT_FALSE(doc()->CanUndo());
}

TEST_F(UlkReuse, TheOptionsDialogWorksFromTheKeyboard) {
  StartOnDemo();
  CReuseTranslationsDlg dialog(frame(), "anterior.ulk");
  EXPECT_EQ(dialog.MinimumScore()->GetMin(), 1);
  EXPECT_EQ(dialog.MinimumScore()->GetMax(), 100);
  dialog.MinimumScore()->SetValue(80);
  dialog.AllModules()->SetValue(true);
  // Return in the number accepts.
  wxCommandEvent enter(wxEVT_TEXT_ENTER, kCtlMinimumScore);
  enter.SetEventObject(dialog.MinimumScore());
  dialog.MinimumScore()->ProcessWindowEvent(enter);
  EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
  const LeverageOptions options = dialog.Options();
  EXPECT_EQ(options.minimum, 80);
  EXPECT_FALSE(options.overwrite);
  EXPECT_TRUE(options.allModules);
  EXPECT_EQ(dialog.GetEscapeId(), wxID_ANY) << "Escape is the cancel button's";
  EXPECT_NE(dialog.FindWindow(wxID_CANCEL), nullptr);
}

TEST_F(UlkReuse, TheAnalysisShowsTheBandsAndSavesThemAsCsv) {
  StartOnDemo();
  const std::size_t removed = KeepEarlierProjectAndForget(kEnglish);
  const std::filesystem::path csv = folder_ / "analisis.csv";
  ModalAnswers answers;
  answers.Answer([&](wxDialog* dialog) -> int {
    auto* analysis = dynamic_cast<CAnalysisDlg*>(dialog);
    if (!analysis) return wxID_CANCEL;
    wxListCtrl* table = analysis->Table();
    EXPECT_EQ(table->GetColumnCount(), 6);
    // Without a dictionary or another project the forgotten texts are new
    // (or repeat one met before).
    const auto texts = [table](const char* module, const char* language, const char* band) {
      const long row = RowOf(table, module, language, band);
      EXPECT_GE(row, 0) << module << " " << language << " " << band;
      return row < 0 ? std::string() : TableCell(table, row, 3);
    };
    EXPECT_EQ(std::stoul(texts("(proyecto)", kEnglish, "Sin coincidencia")) +
                  std::stoul(texts("(proyecto)", kEnglish, "Repeticiones")),
              removed);
    EXPECT_EQ(texts("(proyecto)", kEnglish, "Ya traducidos"), "0");
    EXPECT_EQ(TableCell(table, RowOf(table, "(proyecto)", kEnglish, "Contexto"), 3), "0");

    // Against the earlier project they are context matches.
    answers.Answer(ChooseFile(Earlier(), "Comparar con otro proyecto", kProjectFilter));
    Press(dialog, kCtlCompare);
    EXPECT_EQ(TableCell(table, RowOf(table, "(proyecto)", kEnglish, "Contexto"), 3), "0");
    EXPECT_TRUE(analysis->CompareWith(Earlier().string()));
    EXPECT_NE(FromWx(analysis->SourcesLine()->GetLabel()).find("anterior.ulk"), std::string::npos);
    EXPECT_EQ(TableCell(table, RowOf(table, "(proyecto)", kEnglish, "Contexto"), 3),
              std::to_string(removed));
    EXPECT_EQ(TableCell(table, RowOf(table, "(proyecto)", kEnglish, "Sin coincidencia"), 3), "0");
    // A project that cannot be read leaves the comparison as it was.
    EXPECT_FALSE(analysis->CompareWith((folder_ / "no-hay.ulk").string()));
    EXPECT_EQ(TableCell(table, RowOf(table, "(proyecto)", kEnglish, "Contexto"), 3),
              std::to_string(removed));
    EXPECT_NE(FromWx(analysis->SourcesLine()->GetLabel()).find("anterior.ulk"), std::string::npos);
    EXPECT_GE(RowOf(table, "demo64.dll", kGerman, "Ya traducidos"), 0);
    EXPECT_GE(RowOf(table, "demo32.dll", kEnglish, "Total"), 0);

    answers.Answer(
        ChooseFile(csv, "Guardar el análisis como CSV",
                   "Valores separados por comas (*.csv)|*.csv|Todos los archivos (*.*)|*"));
    Press(dialog, kCtlSaveCsv);
    // A folder that is not there: an error, not a silent loss.
    EXPECT_FALSE(analysis->SaveCsv((folder_ / "no-hay" / "a.csv").string()));
    EXPECT_EQ(Press(dialog), wxID_OK);
    return wxID_OK;
  });
  Run(kIdAnalyseProject);
  // Those the analysis window opened come first: the project to compare
  // with, the project not found, the file to save, the folder not found.
  ASSERT_EQ(answers.shown.size(), 5u);
  EXPECT_EQ(answers.shown.back().templateId, kDlgAnalysis);
  std::string written;
  ASSERT_EQ(ReadWholeFile(csv.string(), written), 0);
  EXPECT_EQ(written.rfind("módulo,idioma,banda,textos,palabras,caracteres\n", 0), 0u);
  EXPECT_NE(written.find("(proyecto)," + std::string(kEnglish) + ",Contexto," +
                         std::to_string(removed) + ","),
            std::string::npos)
      << written;
  ASSERT_EQ(answers.Messages().size(), 2u);
  EXPECT_TRUE(answers.shown[1].IsError());
  EXPECT_TRUE(answers.shown[3].IsError());
  EXPECT_FALSE(doc()->IsModified()) << "an analysis only reads";
}

TEST_F(UlkReuse, TheAnalysisTakesTheOpenDictionaryOnly) {
  StartOnDemo();
  KeepEarlierProjectAndForget(kEnglish);
  DictionaryComponent& dictionary = *TheApp().Dictionary();
  ASSERT_TRUE(dictionary.Open((folder_ / "textos.dic").string()));
  ASSERT_TRUE(dictionary.Set("ST", "Español (España)", "Listo", kEnglish, "Ready"));
  const auto analyse = [this] {
    std::string sources;
    std::string exact;
    ModalAnswers answers;
    answers.Answer([&](wxDialog* dialog) {
      auto* analysis = dynamic_cast<CAnalysisDlg*>(dialog);
      if (!analysis) return wxID_CANCEL;
      sources = FromWx(analysis->SourcesLine()->GetLabel());
      const long row = RowOf(analysis->Table(), "(proyecto)", kEnglish, "100 %");
      if (row >= 0) exact = TableCell(analysis->Table(), row, 3);
      return wxID_OK;
    });
    Run(kIdAnalyseProject);
    return std::make_pair(sources, exact);
  };
  const auto [withDictionary, exact] = analyse();
  EXPECT_EQ(withDictionary, "Comparado con: el diccionario textos.dic");
  EXPECT_NE(exact, "0");
  EXPECT_NE(exact, "");

  dictionary.Close();
  const auto [without, none] = analyse();
  EXPECT_EQ(without.rfind("Comparado con: nada", 0), 0u) << without;
  EXPECT_EQ(none, "0");
}

}  // namespace
}  // namespace ulk
