// The translator's window driven as a user would: command events on the
// real frame, answers to its message boxes, checks on the model and on what
// the controls show.
#include <fstream>
#include <functional>
#include <sstream>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/gauge.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "platform/files.h"
#include "tests/gui/ulk_fixture.h"
#include "translator/model/messages.h"
#include "translator/model/resource_rows.h"
#include "translator/ui/command_ids.h"
#include "uikit/command_id.h"
#include "uikit/list_ctrl_helper.h"

namespace ulk {
namespace {

using testing::ModalAnswers;
using testing::Pump;
using testing::QueryCommand;

constexpr const char* kSpanish = "Español (España)";
constexpr const char* kEnglish = "Inglés (Estados Unidos)";
constexpr const char* kGerman = "Alemán (Alemania)";
constexpr int kPaneDictionary = 2;
constexpr int kPaneRows = 3;

class UlkWindow : public testing::UlkWindowTest {
 protected:
  // Dialogs no test answers (the project properties a new project opens)
  // are cancelled; the tests' own answers, registered later, come first.
  ModalAnswers unanswered_;

  wxMenu* ToolsMenu() { return frame()->GetMenuBar()->GetMenu(6); }
  void ClickHeader(int column) {
    wxListEvent click(wxEVT_LIST_COL_CLICK, list()->GetId());
    click.m_col = column;
    click.SetEventObject(list());
    list()->GetEventHandler()->ProcessEvent(click);
  }
  long RowOf(const std::string& key) { return listView()->FindRowOfKey(key); }
  std::string Text(const char* language, const std::string& key) {
    const ModuleLanguage* found = firstModule().FindLanguage(language);
    const TextEntry* entry = found ? found->FindEntry(key) : nullptr;
    return entry ? entry->text : "<ninguna>";
  }
  std::int32_t Status(const std::string& key) {
    return firstModule().DefaultLanguage()->FindEntry(key)->status;
  }
};

TEST_F(UlkWindow, WithoutTheComponentTheDictionaryDisappears) {
  StartOptions options;
  options.loadComponent = false;
  StartOnDemo(options);
  ASSERT_EQ(ToolsMenu()->GetMenuItemCount(), 1u);
  EXPECT_EQ(FromWx(ToolsMenu()->FindItemByPosition(0)->GetItemLabel()), "Idiomas de &usuario");
  EXPECT_EQ(frame()->MainToolbar()->FindById(WxId(kIdTranslateSelected)), nullptr);
  EXPECT_EQ(frame()->MainToolbar()->FindById(WxId(kIdAddSelected)), nullptr);
  // The about button follows the last separator left.
  const wxToolBarBase* toolbar = frame()->MainToolbar();
  const std::size_t tools = toolbar->GetToolsCount();
  EXPECT_EQ(toolbar->GetToolByPos(static_cast<int>(tools) - 1)->GetId(), WxId(kIdAppAbout));
  EXPECT_TRUE(toolbar->GetToolByPos(static_cast<int>(tools) - 2)->IsSeparator());
  EXPECT_FALSE(toolbar->GetToolByPos(static_cast<int>(tools) - 3)->IsSeparator());
  EXPECT_EQ(StatusText(2), "");
  EXPECT_EQ(frame()->GetStatusBar()->GetStatusStyle(2), wxSB_FLAT);
  EXPECT_FALSE(Enabled(kIdOpenDictionary));
}

TEST_F(UlkWindow, WithTheComponentButNoAdministratorTheDictionaryMenuEndsWithAdd) {
  StartOnDemo();
  ASSERT_EQ(ToolsMenu()->GetMenuItemCount(), 2u);
  wxMenuItem* dictionary = ToolsMenu()->FindItemByPosition(1);
  ASSERT_NE(dictionary->GetSubMenu(), nullptr);
  EXPECT_EQ(FromWx(dictionary->GetItemLabel()), "&Diccionario");
  wxMenu* sub = dictionary->GetSubMenu();
  EXPECT_EQ(FromWx(sub->FindItemByPosition(sub->GetMenuItemCount() - 1)->GetItemLabel()),
            "Añadir &recursos seleccionados");
  EXPECT_NE(frame()->MainToolbar()->FindById(WxId(kIdTranslateSelected)), nullptr);
  EXPECT_EQ(StatusText(2), "Ningún diccionario cargado");
  EXPECT_TRUE(Enabled(kIdOpenDictionary));
  EXPECT_FALSE(Enabled(kIdCloseDictionary));
}

TEST_F(UlkWindow, TheTreeMenuEndsWithTheModulesExchangeCommands) {
  StartOnDemo();
  std::unique_ptr<wxMenu> menu(frame()->MakeTreeContextMenu());
  std::vector<std::string> labels;
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    labels.push_back(item->IsSeparator() ? "-" : FromWx(item->GetItemLabel()));
  }
  EXPECT_EQ(labels,
            (std::vector<std::string>{"&Propiedades...", "-", "&Obtener recursos", "Generar...",
                                      "-", "&Exportar idioma...", "&Importar idioma...",
                                      "Pseudo&traducir idioma...", "&Comprobar traducciones..."}));
  // The same commands as the "Módulos" menu's, enabled for a module.
  for (const CommandId id :
       {kIdExportLanguage, kIdImportLanguage, kIdPseudoTranslate, kIdCheckModule}) {
    EXPECT_NE(menu->FindItem(WxId(id)), nullptr);
    EXPECT_TRUE(Enabled(id));
  }
}

TEST_F(UlkWindow, TheAdministratorGetsTheOpenDictionaryAsItsOnlyArgument) {
  const std::string script = (folder_ / "glossmith").string();
  const std::string record = (folder_ / "args.txt").string();
  {
    std::ofstream out(script);
    out << "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '" << record << "'\n";
  }
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  StartOptions options;
  options.glossmithPath = script;
  StartOnDemo(options);
  wxMenu* sub = ToolsMenu()->FindItemByPosition(1)->GetSubMenu();
  EXPECT_EQ(FromWx(sub->FindItemByPosition(sub->GetMenuItemCount() - 1)->GetItemLabel()),
            "Administrador de &diccionario");

  const std::string dictionary = (folder_ / "mi diccionario.dic").string();
  ASSERT_TRUE(TheApp().Dictionary()->Open(dictionary));
  Pump();
  EXPECT_EQ(StatusText(2), "mi diccionario.dic");
  EXPECT_EQ(frame()->GlossmithCommand(), (std::vector<std::string>{script, dictionary}));
  Run(kIdDictionaryAdmin);
  std::string arguments;
  ReadWholeFile(record, arguments);
  EXPECT_EQ(arguments, "[" + dictionary + "]\n");
  EXPECT_TRUE(frame()->IsShown());
}

TEST_F(UlkWindow, ANewProjectIsNamedAndTitled) {
  Start({});
  EXPECT_EQ(doc()->GetProject().name, "Nuevo proyecto");
  EXPECT_EQ(FromWx(frame()->GetTitle()), "ULK - ULK");
  EXPECT_EQ(FromWx(tree()->GetItemText(tree()->GetRootItem())), "Nuevo proyecto");
  EXPECT_EQ(StatusText(0), "Preparado");
  EXPECT_EQ(StatusText(3), "Vista sin recursos");
  EXPECT_FALSE(Enabled(kIdGetAllResources));
  EXPECT_FALSE(Enabled(kIdDeleteModule));
  EXPECT_TRUE(Enabled(kIdProjectProperties));
  EXPECT_TRUE(Enabled(kIdAddModules));
}

// The preview's files lie in a temporary folder of the user's own, so that
// no one else can plant a link where they are written again and again.
TEST_F(UlkWindow, TheTemplateLibraryLivesInAPrivateFolderUntilShutDown) {
  Start({});
  const std::string library = TheApp().templateLibraryPath();
  const std::string preview = TheApp().previewOutputPath();
  ASSERT_FALSE(library.empty());
  ASSERT_FALSE(preview.empty());
  const std::filesystem::path folder = std::filesystem::path(library).parent_path();
  EXPECT_EQ(std::filesystem::path(preview).parent_path(), folder);
  EXPECT_EQ(folder.filename().string().rfind("DLL", 0), 0u);
  EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
  std::string bytes;
  ASSERT_EQ(ReadWholeFile(library, bytes), 0);
  EXPECT_EQ(bytes.substr(0, 2), "MZ");
  TheApp().Shutdown();
  started_ = false;
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_TRUE(TheApp().templateLibraryPath().empty());
}

TEST_F(UlkWindow, TheExampleShowsItsTreeAndRows) {
  StartOnDemo();
  EXPECT_EQ(FromWx(frame()->GetTitle()), "demo.ulk - ULK");
  const wxTreeItemId root = tree()->GetRootItem();
  EXPECT_EQ(FromWx(tree()->GetItemText(root)), "Notas (ejemplo)");
  wxTreeItemIdValue cookie;
  const wxTreeItemId module = tree()->GetFirstChild(root, cookie);
  EXPECT_EQ(FromWx(tree()->GetItemText(module)), "demo32.dll");
  EXPECT_EQ(tree()->NodeCode(module), firstModule().id);
  std::vector<std::string> kinds;
  wxTreeItemId dialogs;
  for (wxTreeItemId kind = tree()->GetFirstChild(module, cookie); kind.IsOk();
       kind = tree()->GetNextChild(module, cookie)) {
    kinds.push_back(FromWx(tree()->GetItemText(kind)));
    if (tree()->NodeCode(kind) == kNodeDialogs) dialogs = kind;
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{"Tabla de strings", "Diálogo", "Menú", "Versión",
                                             "Tabla de mensajes", "Formulario"}));
  ASSERT_TRUE(dialogs.IsOk());
  EXPECT_EQ(FromWx(tree()->GetItemText(tree()->GetFirstChild(dialogs, cookie))),
            "DL_N_100 [Acerca de Notas]");

  // The module: every text, one column per language.
  const std::size_t entries = firstModule().DefaultLanguage()->EntryCount();
  EXPECT_EQ(static_cast<std::size_t>(list()->GetItemCount()), entries);
  EXPECT_EQ(ColumnHeader(0), "Recurso");
  EXPECT_EQ(ColumnHeader(1), kSpanish);
  EXPECT_EQ(ColumnHeader(2), kEnglish);
  EXPECT_EQ(ColumnHeader(3), kGerman);
  EXPECT_EQ(Cell(0, 0), "ST_N_1 (1)");
  EXPECT_EQ(Cell(0, 1), "Notas");
  EXPECT_EQ(Cell(0, 2), "Notes");
  EXPECT_EQ(StatusText(3), FormatMessage(kMsgResourceCount, static_cast<int>(entries)));
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (1)");  // row 0 selected

  const struct {
    int code;
    const char* stem;
    const char* prefix;
    long rows;
  } nodes[] = {
      {kNodeStringTables, "", "ST_", 9},
      {kNodeMenus, "", "MN_", 12},
      {kNodeDialog, "DL_N_200", "DL_N_200 ", 8},
      {kNodeDialog, "DL_N_100", "DL_N_100 ", 4},
      {kNodeMessageTables, "", "MT_", 3},
      {kNodeForms, "", "FM_", 7},
  };
  for (const auto& node : nodes) {
    ASSERT_TRUE(treeView()->SelectNode(firstModule().id, node.code, node.stem));
    Pump();
    EXPECT_EQ(list()->GetItemCount(), node.rows) << node.prefix;
    for (long row = 0; row < list()->GetItemCount(); ++row) {
      EXPECT_EQ(Cell(row, 0).rfind(node.prefix, 0), 0u) << Cell(row, 0);
    }
  }
  // The root shows no rows.
  ASSERT_TRUE(treeView()->SelectNode(0));
  Pump();
  EXPECT_EQ(list()->GetItemCount(), 0);
  EXPECT_EQ(list()->GetColumnCount(), 1);
  EXPECT_EQ(StatusText(3), "Vista sin recursos");
}

// The fixed panes of the status bar show every text whole: the bar's own
// drawing tells whether it had to cut one short.
TEST_F(UlkWindow, StatusPanesShowTheirTextsWhole) {
  StartOnDemo();
  wxStatusBar* bar = frame()->GetStatusBar();
  auto cut = [bar](int pane) {
    bar->Refresh();
    bar->Update();
    Pump();
    return bar->GetField(pane).IsEllipsized();
  };
  const std::string longName = "términos de la biblioteca de notas, revisados en otoño.dic";
  const struct {
    const char* what;
    std::function<void()> step;
    int pane;
    std::string text;
  } cases[] = {
      {"the project", [this] { ASSERT_TRUE(treeView()->SelectNode(0)); }, kPaneRows,
       "Vista sin recursos"},
      {"no dictionary", [] {}, kPaneDictionary, "Ningún diccionario cargado"},
      {"a module", [this] { ASSERT_TRUE(treeView()->SelectNode(firstModule().id)); }, kPaneRows,
       FormatMessage(kMsgResourceCount, 48)},
      {"a dictionary with a long name",
       [this, &longName] {
         ASSERT_TRUE(listView()->OpenDictionaryFile((folder_ / longName).string()));
       },
       kPaneDictionary, longName},
      {"the project again", [this] { ASSERT_TRUE(treeView()->SelectNode(0)); }, kPaneRows,
       "Vista sin recursos"},
  };
  for (const auto& c : cases) {
    c.step();
    Pump();
    EXPECT_EQ(StatusText(c.pane), c.text) << c.what;
    EXPECT_FALSE(cut(c.pane)) << c.what << ": " << c.text;
  }
  // Both panes still whole after the dictionary widened its own.
  EXPECT_FALSE(cut(kPaneDictionary));
  EXPECT_FALSE(cut(kPaneRows));
}

TEST_F(UlkWindow, HeaderClicksSortUpDownUp) {
  StartOnDemo();
  SelectKey("MN_N_1 (0)");
  ClickHeader(2);
  ListCtrlHelper helper(list());
  EXPECT_EQ(helper.HeaderImage(2), kImageSortAscending);
  std::vector<std::string> column;
  for (long row = 0; row < list()->GetItemCount(); ++row) column.push_back(Cell(row, 2));
  EXPECT_TRUE(std::is_sorted(column.begin(), column.end()));
  EXPECT_EQ(listView()->GetSelectedKey(), "MN_N_1 (0)");  // the selection went with its row
  for (long row = 0; row < list()->GetItemCount(); ++row) {
    EXPECT_EQ(listView()->FindRowOfKey(Cell(row, 0)), row);
  }

  ClickHeader(2);
  EXPECT_EQ(helper.HeaderImage(2), kImageSortDescending);
  column.clear();
  for (long row = 0; row < list()->GetItemCount(); ++row) column.push_back(Cell(row, 2));
  EXPECT_TRUE(std::is_sorted(column.rbegin(), column.rend()));

  ClickHeader(1);  // another column: ascending, the first loses its mark
  EXPECT_EQ(helper.HeaderImage(1), kImageSortAscending);
  EXPECT_EQ(helper.HeaderImage(2), -1);
  ClickHeader(2);
  ClickHeader(2);
  ClickHeader(2);  // three times: ascending again
  EXPECT_EQ(helper.HeaderImage(2), kImageSortAscending);
  EXPECT_LE(Cell(0, 2), Cell(1, 2));
  // Status travels with the row.
  for (long row = 0; row < list()->GetItemCount(); ++row) {
    EXPECT_EQ(list()->RowAt(row).data, Status(Cell(row, 0)));
  }
}

TEST_F(UlkWindow, CopyAndPasteBetweenRows) {
  StartOnDemo();
  SelectKey("ST_N_1 (1)");
  EXPECT_TRUE(Enabled(kIdEditCopy));
  Run(kIdEditCopy);
  {
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTextDataObject text;
    ASSERT_TRUE(wxTheClipboard->GetData(text));
    wxTheClipboard->Close();
    EXPECT_EQ(FromWx(text.GetText()), std::string(kSpanish) + "\tNotas\n" + kEnglish + "\tNotes\n" +
                                          kGerman + "\tNotizen\n");
  }
  SelectKey("ST_N_1 (5)");
  Pump();
  EXPECT_TRUE(Enabled(kIdEditPaste));
  Run(kIdEditPaste);
  EXPECT_EQ(Text(kSpanish, "ST_N_1 (5)"), "Listo");  // the original keeps its text
  EXPECT_EQ(Status("ST_N_1 (5)"), kStatusByHand);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "Notes");
  EXPECT_EQ(Text(kGerman, "ST_N_1 (5)"), "Notizen");
  EXPECT_EQ(Cell(RowOf("ST_N_1 (5)"), 2), "Notes");  // the row shows it
  EXPECT_EQ(list()->RowAt(RowOf("ST_N_1 (5)")).data, kStatusByHand);
  EXPECT_TRUE(doc()->IsModified());

  EXPECT_TRUE(Enabled(kIdEditUndo));
  Run(kIdEditUndo);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "Ready");
  EXPECT_EQ(Cell(RowOf("ST_N_1 (5)"), 2), "Ready");
}

TEST_F(UlkWindow, DeleteTranslationsThenUndoAndRedo) {
  StartOnDemo();
  const std::string first = Cell(0, 0);
  const std::string second = Cell(1, 0);
  const std::string english = Text(kEnglish, first);
  const std::int32_t status = Status(first);
  SelectRows({0, 1});
  EXPECT_FALSE(Enabled(kIdEditCopy));  // two rows
  EXPECT_TRUE(Enabled(kIdDeleteTranslation));
  Run(kIdDeleteTranslation);
  EXPECT_EQ(Text(kEnglish, first), "");
  EXPECT_EQ(Text(kEnglish, second), "");
  EXPECT_EQ(Status(first), kStatusByHand);
  EXPECT_EQ(Cell(0, 2), "");
  EXPECT_FALSE(frame()->Progress().gauge()->IsShown());
  EXPECT_TRUE(doc()->IsModified());

  Run(kIdEditUndo);
  EXPECT_EQ(Text(kEnglish, first), english);
  EXPECT_EQ(Status(first), status);
  EXPECT_EQ(Cell(0, 2), english);
  EXPECT_FALSE(Enabled(kIdEditUndo));
  EXPECT_TRUE(Enabled(kIdEditRedo));

  Run(kIdEditRedo);
  // Redone, an emptied translation is no translation at all.
  EXPECT_EQ(Text(kEnglish, first), "<ninguna>");
  EXPECT_EQ(Cell(0, 2), "");
  EXPECT_TRUE(Enabled(kIdEditUndo));
}

TEST_F(UlkWindow, SelectingAnotherNodeEmptiesTheHistory) {
  StartOnDemo();
  SelectRows({0});
  Run(kIdDeleteTranslation);
  EXPECT_TRUE(doc()->CanUndo());
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeMenus));
  Pump();
  EXPECT_FALSE(doc()->CanUndo());
}

TEST_F(UlkWindow, FindNextWrapsAtTheEnd) {
  StartOnDemo();
  const long last = list()->GetItemCount() - 1;
  // From the last row downwards the search goes on at row 0.
  SelectRows({last});
  listView()->SetSearch("notas", false, true);
  Run(kIdFindNext);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (1)");
  EXPECT_EQ(list()->GetSelectedItemCount(), 1);
  // Case matters when asked to.
  listView()->SetSearch("NOTAS", true, true);
  Run(kIdFindNext);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (1)");  // no match: nothing moves
  // A text only the selected row holds: the search ends on it.
  const std::string key = "ST_N_2 (3)";
  SelectKey(key);
  listView()->SetSearch("メモ帳", true, true);
  Run(kIdFindNext);
  EXPECT_EQ(listView()->GetSelectedKey(), key);
  // Upwards from row 0 the search goes on at the last row.
  SelectRows({0});
  listView()->SetSearch("メモ帳", true, false);
  Run(kIdFindNext);
  EXPECT_EQ(listView()->GetSelectedKey(), key);
}

TEST_F(UlkWindow, FindWithoutTextOpensTheFindDialog) {
  StartOnDemo();
  Run(kIdFindNext);
  ASSERT_NE(listView()->FindDialog(), nullptr);
  EXPECT_TRUE(listView()->FindDialog()->IsShown());
}

TEST_F(UlkWindow, AFailedReadAsksWhetherToGoOn) {
  for (const bool goOn : {false, true}) {
    SCOPED_TRACE(goOn ? "Sí" : "No");
    if (started_) {
      ModalAnswers discard;
      TheApp().Shutdown();
      Pump();
      started_ = false;
      std::filesystem::copy_file(std::filesystem::path(ULK_DEMO_DIR) / "demo.ulk",
                                 folder_ / "demo.ulk",
                                 std::filesystem::copy_options::overwrite_existing);
    }
    std::filesystem::remove(folder_ / "demo32.dll");
    StartOnDemo();
    ASSERT_TRUE(treeView()->SelectNode(0));
    ModalAnswers answers;
    answers.Answer(goOn ? wxID_YES : wxID_NO);
    Run(kIdGetAllResources);
    ASSERT_FALSE(answers.shown.empty());
    const testing::ShownDialog& question = answers.shown.front();
    EXPECT_TRUE(question.IsQuestion());
    EXPECT_EQ(question.message.rfind("Error obteniendo recursos del módulo \"demo32.dll\"\n"
                                     "¡No se ha podido abrir el módulo!",
                                     0),
              0u)
        << question.message;
    EXPECT_NE(question.message.find("\n\n¿Desea continuar de todas formas?"), std::string::npos);
    EXPECT_EQ(doc()->IsModified(), goOn);
    EXPECT_EQ(answers.shown.size(), 1u);  // nothing else was shown
    // The window keeps working.
    ASSERT_TRUE(treeView()->SelectNode(doc()->GetProject().modules.back().id));
    Pump();
    EXPECT_GT(list()->GetItemCount(), 0);
  }
}

TEST_F(UlkWindow, AModuleThatIsNoModuleIsReportedAlone) {
  {
    std::ofstream junk(folder_ / "demo32.dll", std::ios::trunc);
    junk << "esto no es un módulo";
  }
  StartOnDemo();
  ModalAnswers answers;
  Run(kIdGetModuleResources);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_TRUE(answers.shown[0].IsError());
  EXPECT_EQ(
      answers.shown[0].message.rfind("Error obteniendo recursos del módulo \"demo32.dll\"", 0), 0u);
  EXPECT_FALSE(doc()->IsModified());
  EXPECT_EQ(StatusText(0), "Preparado");
}

TEST_F(UlkWindow, GeneratingIntoAFolderThatCannotBeMadeIsReported) {
  StartOnDemo();
  for (ModuleLanguage& language : firstModule().languages) {
    if (!language.isDefault) language.outputFile = (folder_ / "demo.ulk" / "x.dll").string();
  }
  ModalAnswers answers;
  Run(kIdGenerateModule);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_TRUE(answers.shown[0].IsError());
  EXPECT_EQ(answers.shown[0].message.rfind("Error generando el módulo \"demo32.dll\"", 0), 0u)
      << answers.shown[0].message;
  // And a module that can be generated says so.
  ASSERT_TRUE(treeView()->SelectNode(doc()->GetProject().modules.back().id));
  Run(kIdGenerateModule);
  ASSERT_EQ(answers.shown.size(), 2u);
  EXPECT_TRUE(answers.shown[1].IsInformation());
  EXPECT_EQ(answers.shown[1].message, "Módulo demo64.dll generando correctamente");
}

TEST_F(UlkWindow, SaveAndOpenAgain) {
  StartOnDemo();
  SelectKey("ST_N_1 (5)");
  Run(kIdDeleteTranslation);
  EXPECT_TRUE(doc()->IsModified());
  Run(kIdFileSave);
  EXPECT_FALSE(doc()->IsModified());
  std::string saved;
  ASSERT_EQ(ReadWholeFile((folder_ / "demo.ulk").string(), saved), 0);
  EXPECT_NE(saved.find("ST_N_1 (5) = \"\""), std::string::npos);
  // Module paths were relative to the project, and stay so.
  EXPECT_NE(saved.find("\n[demo32.dll]\n"), std::string::npos);
  EXPECT_EQ(saved.find(folder_.string()), std::string::npos);

  TheApp().NewProject();
  Pump();
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 0u);
  ASSERT_TRUE(TheApp().OpenProject((folder_ / "demo.ulk").string()));
  Pump();
  EXPECT_FALSE(doc()->IsModified());
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 2u);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "");
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (1)"), "Notes");
}

TEST_F(UlkWindow, OpeningAnotherProjectAsksToSaveChanges) {
  StartOnDemo();
  SelectRows({0});
  Run(kIdDeleteTranslation);
  std::filesystem::copy_file(folder_ / "demo.ulk", folder_ / "otro.ulk");
  ModalAnswers answers;
  answers.Answer(wxID_CANCEL);
  EXPECT_FALSE(TheApp().OpenProject((folder_ / "otro.ulk").string()));
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].message, "¿Guardar cambios a demo.ulk?");
  EXPECT_TRUE(doc()->IsModified());  // cancelled: the project stays
}

TEST_F(UlkWindow, AProjectThatCannotBeReadLeavesAnEmptyProject) {
  {
    std::ofstream bad(folder_ / "malo.ulk");
    bad << "esto no es un proyecto\n";
  }
  StartOptions options;
  options.projectPath = (folder_ / "malo.ulk").string();
  ModalAnswers answers;
  Start(options);
  ASSERT_EQ(answers.Messages(),
            (std::vector<std::string>{"Error abriendo el archivo malo.ulk\nFormato del archivo "
                                      "desconocido",
                                      "Formato de archivo no esperado."}));
  EXPECT_TRUE(answers.shown[0].IsError());
  ASSERT_NE(doc(), nullptr);
  EXPECT_EQ(doc()->GetProject().name, "Nuevo proyecto");
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 0u);
  // The window keeps working: the example opens.
  EXPECT_TRUE(TheApp().OpenProject((folder_ / "demo.ulk").string()));
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 2u);
}

TEST_F(UlkWindow, AMissingProjectFileIsReportedAndLeavesAnEmptyProject) {
  StartOnDemo();
  ModalAnswers answers;
  EXPECT_FALSE(TheApp().OpenProject((folder_ / "no-existe.ulk").string()));
  ASSERT_FALSE(answers.Messages().empty());
  EXPECT_NE(answers.Messages().back().find("Imposible encontrar este archivo"), std::string::npos)
      << answers.Messages().back();
  ASSERT_NE(doc(), nullptr);
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 0u);
}

TEST_F(UlkWindow, ADroppedProjectFileIsOpened) {
  Start({});
  auto* files = new wxString[1]{ToWx((folder_ / "demo.ulk").string())};  // the event owns them
  wxDropFilesEvent drop(wxEVT_DROP_FILES, 1, files);
  frame()->GetEventHandler()->ProcessEvent(drop);
  Pump();
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 2u);
  EXPECT_EQ(FromWx(frame()->GetTitle()), "demo.ulk - ULK");
}

TEST_F(UlkWindow, StatusTextsStackAndTheProgressFollowsItsPane) {
  StartOnDemo();
  frame()->PushStatusText("uno");
  frame()->PushStatusText("dos");
  EXPECT_EQ(StatusText(0), "dos");
  frame()->PopStatusText();
  EXPECT_EQ(StatusText(0), "uno");
  frame()->PopStatusText();
  EXPECT_EQ(StatusText(0), "Preparado");
  frame()->PopStatusText();
  EXPECT_EQ(StatusText(0), "Preparado");

  frame()->ShowProgress(true);
  frame()->SetProgressRange(0, 4);
  frame()->SetProgressPos(3);
  EXPECT_EQ(frame()->Progress().position(), 3);
  frame()->SetSize(wxSize(1100, 700));
  Pump();
  wxRect pane;
  frame()->GetStatusBar()->GetFieldRect(1, pane);
  EXPECT_EQ(frame()->Progress().gauge()->GetRect(), pane);
}

TEST_F(UlkWindow, OneRowIsCountedAsOne) {
  StartOnDemo();
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeDialog, "DL_N_100"));
  Pump();
  SelectRows({0});
  for (long row = list()->GetItemCount() - 1; row > 0; --row) {
    // Keep one row only: the pane counts the rows the list shows.
    auto rows = list()->Rows();
    rows.pop_back();
    list()->SetRows(rows);
  }
  Pump();
  EXPECT_EQ(StatusText(3), "1 recursos");
}

TEST_F(UlkWindow, PreviewCommandsNeedADialogOrMenuRow) {
  StartOnDemo();
  SelectKey("ST_N_1 (1)");
  EXPECT_FALSE(Enabled(kIdShowOriginal));
  SelectKey("MN_N_1 (1)");
  EXPECT_TRUE(Enabled(kIdShowOriginal));
  EXPECT_TRUE(Enabled(kIdShowTranslated));
  EXPECT_TRUE(Enabled(kIdTranslateResource));
  SelectRows({});
  EXPECT_FALSE(Enabled(kIdTranslateResource));
  EXPECT_FALSE(Enabled(kIdDeleteTranslation));
  EXPECT_TRUE(Enabled(kIdEditSelectAll));
  Run(kIdEditSelectAll);
  EXPECT_EQ(list()->GetSelectedItemCount(), list()->GetItemCount());
}

TEST_F(UlkWindow, DeletingTheSelectedModuleSelectsTheRoot) {
  StartOnDemo();
  ModalAnswers answers;
  answers.Answer(wxID_YES);
  Run(kIdDeleteModule);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].message, "¿Desea borrar módulo \"demo32.dll\"?");
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 1u);
  EXPECT_EQ(tree()->GetSelection(), tree()->GetRootItem());
  EXPECT_TRUE(doc()->IsModified());
}

// ---- Review states and the filter ---------------------------------------

class UlkReview : public UlkWindow {
 protected:
  ModuleLanguage& Target(const char* name) { return *firstModule().FindLanguage(name); }
  std::int32_t Review(const char* language, const std::string& key) {
    const TextEntry* entry = Target(language).FindEntry(key);
    return entry ? entry->review : -1;
  }
  std::vector<std::string> ShownKeys() {
    std::vector<std::string> keys;
    for (long row = 0; row < list()->GetItemCount(); ++row) keys.push_back(Cell(row, 0));
    return keys;
  }
  // A click of the mouse into a cell, as the list's rows window gets it.
  void ClickCell(long row, int column) {
    wxRect rect;
    ASSERT_TRUE(list()->GetItemRect(row, rect));
    int x = 4;
    for (int c = 0; c < column; ++c) x += list()->GetColumnWidth(c);
    wxWindow* rows = list()->RowsWindow();
    ASSERT_NE(rows, nullptr);
    // The rows' rectangle is the list's; the rows window lies under the header.
    const int y = rows->ScreenToClient(list()->ClientToScreen(rect.GetPosition())).y;
    wxMouseEvent click(wxEVT_LEFT_DOWN);
    click.SetPosition(wxPoint(x, y + rect.height / 2));
    click.SetEventObject(rows);
    rows->GetEventHandler()->ProcessEvent(click);
    Pump();
  }
  void ShowStringTables() {
    ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeStringTables));
    Pump();
  }
};

// The string tables of the example: English has all nine texts, German
// only ST_N_1 (1), ST_N_1 (5) and ST_N_2 (0).

TEST_F(UlkReview, TheFilterCombinesWithTheTreeAndThePaneCountsWhatIsShown) {
  StartOnDemo();
  ShowStringTables();
  EXPECT_TRUE(QueryCommand(frame(), WxId(kIdFilterAll)).checked);
  Run(kIdFilterUntranslated);
  Pump();
  EXPECT_TRUE(QueryCommand(frame(), WxId(kIdFilterUntranslated)).checked);
  EXPECT_FALSE(QueryCommand(frame(), WxId(kIdFilterAll)).checked);
  EXPECT_EQ(ShownKeys(), (std::vector<std::string>{"ST_N_1 (2)", "ST_N_1 (3)", "ST_N_1 (4)",
                                                   "ST_N_2 (1)", "ST_N_2 (2)", "ST_N_2 (3)"}));
  EXPECT_EQ(StatusText(3), "6 de 9 recursos");

  Target(kEnglish).FindEntry("ST_N_1 (3)")->review = kReviewNeeded;
  Target(kGerman).FindEntry("MN_N_1 (1)")->review = kReviewNeeded;
  Run(kIdFilterToReview);
  Pump();
  EXPECT_EQ(ShownKeys(), std::vector<std::string>{"ST_N_1 (3)"});
  EXPECT_EQ(StatusText(3), "1 de 9 recursos");
  // Another node keeps the filter.
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeMenus));
  Pump();
  EXPECT_EQ(ShownKeys(), std::vector<std::string>{"MN_N_1 (1)"});
  EXPECT_EQ(StatusText(3), "1 de 12 recursos");

  firstModule().DefaultLanguage()->FindEntry("MN_N_1 (5)")->status = kStatusNewOrChanged;
  Run(kIdFilterChanged);
  Pump();
  EXPECT_EQ(ShownKeys(), std::vector<std::string>{"MN_N_1 (5)"});
  // Nothing passes: the pane still says of how many.
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeVersion));
  Pump();
  EXPECT_EQ(list()->GetItemCount(), 0);
  EXPECT_EQ(StatusText(3), "0 de 5 recursos");

  Run(kIdFilterAll);
  Pump();
  EXPECT_EQ(list()->GetItemCount(), 5);
  EXPECT_EQ(StatusText(3), "5 recursos");

  // A row an edit takes out of the filter goes when it is chosen again.
  ShowStringTables();
  Run(kIdFilterToReview);
  Pump();
  SelectRows({0});
  Run(kIdMarkReviewed);
  EXPECT_EQ(ShownKeys(), std::vector<std::string>{"ST_N_1 (3)"});
  Run(kIdFilterToReview);
  Pump();
  EXPECT_EQ(list()->GetItemCount(), 0);
}

TEST_F(UlkReview, MarkingIsOneUndoStepAndTheCellsShowTheirMarks) {
  StartOnDemo();
  ShowStringTables();
  // No column clicked: every target language of the rows.
  SelectRows({0, 1});
  EXPECT_TRUE(Enabled(kIdMarkReviewed));
  Run(kIdMarkReviewed);
  EXPECT_EQ(Review(kEnglish, "ST_N_1 (1)"), kReviewDone);
  EXPECT_EQ(Review(kEnglish, "ST_N_1 (2)"), kReviewDone);
  EXPECT_EQ(Review(kGerman, "ST_N_1 (1)"), kReviewDone);
  EXPECT_EQ(Review(kGerman, "ST_N_1 (2)"), -1);  // no translation, no state, no entry
  EXPECT_EQ(list()->OnGetItemColumnImage(0, 2), kImageReviewed);
  EXPECT_EQ(list()->OnGetItemColumnImage(0, 3), kImageReviewed);
  EXPECT_EQ(list()->OnGetItemColumnImage(1, 3), -1);
  EXPECT_EQ(list()->OnGetItemColumnImage(0, 1), -1);  // the original has no state
  EXPECT_EQ(list()->OnGetItemColumnImage(0, 0), -1);
  EXPECT_TRUE(doc()->IsModified());

  Run(kIdEditUndo);
  EXPECT_EQ(Review(kEnglish, "ST_N_1 (1)"), kReviewTranslated);
  EXPECT_EQ(Review(kEnglish, "ST_N_1 (2)"), kReviewTranslated);
  EXPECT_EQ(Review(kGerman, "ST_N_1 (1)"), kReviewTranslated);
  EXPECT_EQ(list()->OnGetItemColumnImage(0, 2), -1);
  EXPECT_FALSE(Enabled(kIdEditUndo));  // one step for all of it

  // A click into the German column: only German from now on.
  ClickCell(0, 3);
  EXPECT_EQ(listView()->ReviewLanguage(), kGerman);
  SelectRows({0, 1});
  Run(kIdMarkToReview);
  EXPECT_EQ(Review(kGerman, "ST_N_1 (1)"), kReviewNeeded);
  EXPECT_EQ(Review(kEnglish, "ST_N_1 (1)"), kReviewTranslated);
  EXPECT_EQ(list()->OnGetItemColumnImage(0, 3), kImageToReview);
  // Nothing to mark: no undo step.
  SelectRows({1});
  Run(kIdMarkReviewed);
  EXPECT_EQ(doc()->History().UndoDepth(), 1u);
  // A click on the original's column: every language again.
  ClickCell(0, 1);
  EXPECT_EQ(listView()->ReviewLanguage(), "");

  // A note shows as a mark of its own, and in the cell's tip as written.
  Target(kEnglish).FindEntry("ST_N_1 (1)")->note = "plural\\nsingular";
  Target(kGerman).FindEntry("ST_N_1 (1)")->note = "Rechtschreibung";
  listView()->RefreshRowOfKey("ST_N_1 (1)");
  EXPECT_EQ(list()->OnGetItemColumnImage(0, 2), kImageNote);
  EXPECT_EQ(list()->OnGetItemColumnImage(0, 3), kImageNoteToReview);
  EXPECT_EQ(listView()->CellTip(0, 2), "Nota: plural\nsingular");
  EXPECT_EQ(listView()->CellTip(0, 3), "Estado: por revisar\nNota: Rechtschreibung");
  EXPECT_EQ(listView()->CellTip(1, 2), "");

  // The marks stay on their rows when the rows are sorted.
  ClickHeader(0);  // ascending, as they are
  ClickHeader(0);  // descending
  const long row = RowOf("ST_N_1 (1)");
  EXPECT_EQ(row, list()->GetItemCount() - 1);
  EXPECT_EQ(list()->OnGetItemColumnImage(row, 3), kImageNoteToReview);
}

TEST_F(UlkReview, TheNextUntranslatedOrToReviewWrapsAsFindNextDoes) {
  StartOnDemo();
  ShowStringTables();
  // From the last row down: German lacks row 1 first.
  SelectRows({list()->GetItemCount() - 1});
  Run(kIdNextUntranslated);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (2)");
  Run(kIdNextUntranslated);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (3)");
  EXPECT_EQ(list()->GetSelectedItemCount(), 1);
  // English has them all: nothing moves, the status bar says so.
  ClickCell(4, 2);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (5)");
  Run(kIdNextUntranslated);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (5)");
  EXPECT_EQ(StatusText(0), MessageText(kMsgNoUntranslatedRow));

  Target(kEnglish).FindEntry("ST_N_1 (2)")->review = kReviewNeeded;
  Target(kEnglish).FindEntry("ST_N_2 (3)")->review = kReviewNeeded;
  Run(kIdNextToReview);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_2 (3)");
  EXPECT_EQ(StatusText(0), "Preparado");
  Run(kIdNextToReview);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (2)");  // wrapped
  // With the filter on, among the rows it leaves.
  Run(kIdFilterToReview);
  Pump();
  ASSERT_EQ(list()->GetItemCount(), 2);
  Run(kIdNextToReview);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_2 (3)");
  Run(kIdNextToReview);
  EXPECT_EQ(listView()->GetSelectedKey(), "ST_N_1 (2)");
}

TEST_F(UlkReview, TheMenusNameTheKeysAndTheListsMenuMarks) {
  StartOnDemo();
  const auto label = [this](int id) {
    const wxMenuItem* item = frame()->GetMenuBar()->FindItem(WxId(id));
    return item ? FromWx(item->GetItemLabel()) : std::string("<ninguno>");
  };
  EXPECT_EQ(label(kIdFilterAll), "&Todos los textos\tCtrl+1");
  EXPECT_EQ(label(kIdFilterUntranslated), "&Sin traducir\tCtrl+2");
  EXPECT_EQ(label(kIdFilterToReview), "&Por revisar\tCtrl+3");
  EXPECT_EQ(label(kIdFilterChanged), "&Cambiados en la última lectura\tCtrl+4");
  EXPECT_EQ(label(kIdMarkReviewed), "Marcar como re&visado\tCtrl+R");
  EXPECT_EQ(label(kIdMarkToReview), "Marcar como por revis&ar\tCtrl+Shift+R");
  EXPECT_EQ(label(kIdNextUntranslated), "Siguiente si&n traducir\tF8");
  EXPECT_EQ(label(kIdNextToReview), "Siguiente por re&visar\tF9");
  EXPECT_EQ(frame()->GetMenuBar()->FindItem(WxId(kIdFilterToReview))->GetKind(), wxITEM_RADIO);

  std::unique_ptr<wxMenu> menu(frame()->MakeListContextMenu());
  EXPECT_NE(menu->FindItem(WxId(kIdMarkReviewed)), nullptr);
  EXPECT_NE(menu->FindItem(WxId(kIdMarkToReview)), nullptr);
  // Without a target language there is nothing to mark.
  firstModule().RemoveLanguage(kEnglish);
  firstModule().RemoveLanguage(kGerman);
  doc()->UpdateAllViews();
  Pump();
  SelectRows({0});
  EXPECT_FALSE(Enabled(kIdMarkReviewed));
  EXPECT_TRUE(Enabled(kIdNextUntranslated));
}

}  // namespace
}  // namespace ulk

int main(int argc, char** argv) {
  return ulk::testing::RunGuiTests<ulk::TranslatorApp>(argc, argv);
}
