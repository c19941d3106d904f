// The preview's windows under Xvfb: what ShowResource shows for numeric and
// named dialogs and for menus, what it reports for keys and files that
// cannot be shown, the translated preview, the bad inputs, and the drawn
// dialogs against the platform's own drawing under Wine.
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/loader/wine_probe.h"
#include "tests/preview/preview_capture.h"
#include "tests/preview/preview_fixtures.h"
#include "tests/preview/wine_reference.h"
#include "translator/model/resource_engine.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;

const std::string kControls = testing::FixturePath("controls64.dll");

TEST(PreviewGuiTest, NumericAndNamedDialogsShowTheirTemplate) {
  testing::PreviewWindowHook hook;
  std::vector<std::string> captions;
  hook.onDialog = [&](DialogHost& host) {
    EmbeddedDialog* embedded = host.Embedded();
    captions.push_back(embedded->Layout().controls.empty() ? "" : "x");
    EXPECT_EQ(host.GetTitle(), "") << "the host has no caption text of its own";
    EXPECT_EQ(host.GetClientSize(), embedded->DialogSize());
    EXPECT_EQ(embedded->ClientArea()->GetPosition(),
              wxPoint(embedded->Layout().frame.border, embedded->Layout().frame.Top()));
  };
  ResourcePreview result;
  EXPECT_TRUE(ShowResource(kControls, "DL_N_300 (1)", nullptr, result));
  EXPECT_TRUE(ShowResource(kControls, "DL_S_BOTONES", nullptr, result));
  EXPECT_EQ(captions.size(), 2u);
  EXPECT_TRUE(hook.messages.empty());
}

TEST(PreviewGuiTest, ControlsShowTextsAndStates) {
  PreviewContent content;
  ASSERT_FALSE(LoadResourcePreview(kControls, "DL_S_BOTONES", content).Failed());
  DialogHost host(nullptr, content.dialog, nullptr);
  EmbeddedDialog& dialog = *host.Embedded();
  // Template order: 8 "Desactivado" (disabled), 9 "Oculto" (hidden), 10
  // "Izquierda", 13 the icon given by ordinal, 22 the read-only edit field.
  EXPECT_FALSE(dialog.ControlWindow(7)->IsEnabled());
  EXPECT_FALSE(dialog.ControlWindow(8)->IsShown());
  EXPECT_TRUE(dialog.ControlWindow(9)->IsShown());
  EXPECT_EQ(dialog.ControlWindow(9)->GetLabel(), "Izquierda");
  EXPECT_EQ(dialog.ControlWindow(12)->GetLabel(), "");
  auto* readOnly = dynamic_cast<wxTextCtrl*>(dialog.ControlWindow(21));
  ASSERT_NE(readOnly, nullptr);
  EXPECT_FALSE(readOnly->IsEditable());
  EXPECT_EQ(dialog.ControlWindow(0)->GetRect(), wxRect(11, 11, 195, 120));
}

TEST(PreviewGuiTest, ReturnAndEscapeDoNotCloseTheDialog) {
  PreviewContent content;
  ASSERT_FALSE(LoadResourcePreview(kControls, "DL_S_LISTAS", content).Failed());
  DialogHost host(nullptr, content.dialog, nullptr);
  host.Show();
  testing::Settle(5);
  for (const int key : {WXK_RETURN, WXK_ESCAPE, WXK_NUMPAD_ENTER}) {
    wxKeyEvent press(wxEVT_CHAR_HOOK);
    press.m_keyCode = key;
    press.SetEventObject(host.Embedded()->ControlWindow(1));
    host.Embedded()->ControlWindow(1)->GetEventHandler()->ProcessEvent(press);
    testing::Settle(5);
    EXPECT_TRUE(host.IsShown()) << key;
  }
  host.Hide();
}

TEST(PreviewGuiTest, TopLevelSeparatorsAndEmptyTextsShowAsItems) {
  testing::PreviewWindowHook hook;
  std::vector<wxString> titles;
  bool checked = false;
  hook.onMenu = [&](MenuHost& host) {
    wxMenuBar* bar = host.GetMenuBar();
    for (std::size_t i = 0; i < bar->GetMenuCount(); ++i) titles.push_back(bar->GetMenuLabel(i));
    wxMenu* file = bar->GetMenu(0);
    wxMenu* recent = file->FindItemByPosition(2)->GetSubMenu();
    ASSERT_NE(recent, nullptr);
    wxMenuItem* one = recent->FindItemByPosition(0);
    checked = one->IsChecked();
    EXPECT_FALSE(recent->FindItemByPosition(1)->IsEnabled());
    // Choosing an item changes nothing.
    one->Check(false);
    wxCommandEvent choose(wxEVT_MENU, one->GetId());
    host.GetEventHandler()->ProcessEvent(choose);
    EXPECT_TRUE(one->IsChecked());
    EXPECT_EQ(host.GetTitle(), wxString::FromUTF8("Menú"));
  };
  ResourcePreview result;
  ASSERT_TRUE(ShowResource(kControls, "MN_N_1 (4)", nullptr, result));
  EXPECT_EQ(titles, (std::vector<wxString>{"&Archivo", "[  ]", "[  ]", "&Ayuda"}));
  EXPECT_TRUE(checked);
}

TEST(PreviewGuiTest, KeysThatNameNothingShowable) {
  testing::PreviewWindowHook hook;
  bool shown = false;
  hook.onDialog = [&](DialogHost&) { shown = true; };
  hook.onMenu = [&](MenuHost&) { shown = true; };
  Module module;
  module.path = kControls;
  EXPECT_FALSE(ShowOriginalPreview(module, "ST_N_1 (1)", nullptr));
  EXPECT_FALSE(ShowOriginalPreview(module, "DL_N_4242", nullptr));
  EXPECT_FALSE(shown);
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(hook.messages[0], "Error mostrando el recurso\nTipo de recurso no válido");
  EXPECT_EQ(
      hook.messages[1].rfind("Error mostrando el recurso\nNo se puede cargar el diálogo\n(#", 0),
      0u);
}

class MovedModuleTest : public ::testing::Test {
 protected:
  MovedModuleTest() : dir_("preview-gui") {}
  void SetUp() override {
    module_.path = dir_ / "app.dll";
    fs::copy_file(kControls, module_.path);
    module_.AddOriginalLanguage();
    ResourceEngine engine;
    ASSERT_TRUE(engine.GetResources(&module_));
    module_.AddLanguage(ModuleLanguage("Inglés", dir_ / "en.dll", false))
        .SetEntry("DL_S_LISTAS (0)", "Lists and bars");
    library_ = dir_ / "library.dll";
    testing::WriteFileBytes(library_, TemplateLibraryImage());
  }
  bool Translated(const std::string& key, PreviewLanguageChooser choose = {}) {
    return ShowTranslatedPreview(module_, key, choose, library_, dir_ / "preview.dll", nullptr);
  }
  testing::TempDir dir_;
  Module module_;
  std::string library_;
};

TEST_F(MovedModuleTest, TranslatedPreviewShowsTheTranslation) {
  testing::PreviewWindowHook hook;
  std::string caption;
  hook.onDialog = [&](DialogHost& host) {
    const DialogLayout& layout = host.Embedded()->Layout();
    caption = layout.controls.empty() ? "" : "?";
  };
  PreviewContent content;
  ASSERT_TRUE(Translated("DL_S_LISTAS (2)"));
  ASSERT_FALSE(LoadResourcePreview(dir_ / "preview.dll", "DL_S_LISTAS", content).Failed());
  EXPECT_EQ(content.dialog.caption, "Lists and bars");
  EXPECT_TRUE(hook.messages.empty());
}

TEST_F(MovedModuleTest, ThreeLanguagesAskAndCancelShowsNothing) {
  module_.AddLanguage(ModuleLanguage("Francés", dir_ / "fr.dll", false));
  testing::PreviewWindowHook hook;
  bool shown = false;
  hook.onDialog = [&](DialogHost&) { shown = true; };
  int asked = 0;
  EXPECT_FALSE(Translated("DL_S_LISTAS", [&](const std::vector<std::string>&) {
    ++asked;
    return std::string();
  }));
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(shown);
  EXPECT_TRUE(hook.messages.empty());
}

TEST_F(MovedModuleTest, AMovedModuleReportsOnBothPreviews) {
  fs::rename(module_.path, dir_ / "elsewhere.dll");
  testing::PreviewWindowHook hook;
  EXPECT_FALSE(Translated("DL_S_LISTAS"));
  EXPECT_FALSE(ShowOriginalPreview(module_, "DL_S_LISTAS", nullptr));
  ASSERT_EQ(hook.messages.size(), 2u);
  EXPECT_EQ(hook.messages[0], "No se ha podido abrir la librería\n\n[" + module_.path +
                                  "]\n\nasociada al módulo actual");
  EXPECT_EQ(hook.messages[1],
            "Error mostrando el recurso\nNo se puede abrir la librería\n"
            "(#20000) No se encuentra el archivo " +
                module_.path + ".");
}

TEST(PreviewGuiTest, BadInputsShowWhatTheyCanOrReport) {
  testing::TempDir dir("preview-gui-bad");
  const std::string path = dir / "bad.dll";
  ASSERT_TRUE(testing::WriteTestModule(path, testing::BadInputResources()));
  testing::PreviewWindowHook hook;
  std::vector<std::string> shown;
  hook.onDialog = [&](DialogHost& host) {
    shown.push_back("dialog");
    if (host.Embedded()->Layout().controls.size() == 3) {
      // The long class name: a labelled frame, its label cut.
      EXPECT_LE(host.Embedded()->ControlWindow(2)->GetSize().x, 200);
    }
  };
  hook.onMenu = [&](MenuHost& host) {
    shown.push_back("menu");
    wxMenu* menu = host.GetMenuBar()->GetMenu(0);
    int depth = 1;
    while (menu->GetMenuItemCount() && menu->FindItemByPosition(0)->GetSubMenu()) {
      menu = menu->FindItemByPosition(0)->GetSubMenu();
      ++depth;
    }
    EXPECT_EQ(depth, 60);
  };
  ResourcePreview result;
  for (const char* key :
       {"DL_S_DAMAGED", "DL_S_FAR", "DL_S_NOFONT", "DL_S_HUGE", "DL_S_LONGCLASS", "MN_S_DEEP60"}) {
    EXPECT_TRUE(ShowResource(path, key, nullptr, result)) << key;
  }
  EXPECT_FALSE(ShowResource(path, "MN_S_DEEP", nullptr, result));
  EXPECT_EQ(result.failureKind, kPreviewCannotLoadMenu);
  EXPECT_EQ(shown, (std::vector<std::string>{"dialog", "dialog", "dialog", "dialog", "menu"}));
  EXPECT_EQ(hook.messages, std::vector<std::string>{"Error cargando diálogo"});

  PreviewContent content;
  ASSERT_FALSE(LoadResourcePreview(path, "DL_S_NOFONT", content).Failed());
  DialogHost host(nullptr, content.dialog, nullptr);
  EXPECT_TRUE(host.Embedded()->Font().substituted);
  EXPECT_EQ(host.Embedded()->Font().units, (BaseUnits{8, 15})) << "10 points of the fallback";
}

// Positions and sizes against the platform's own drawing of the same
// templates: within a few pixels.
TEST(PreviewGuiTest, DialogsStandWhereThePlatformPutsThem) {
  ULK_REQUIRE_WINE();
  testing::TempDir dir("preview-wine");
  for (const char* name : {"BOTONES", "LISTAS", "VISTAS"}) {
    PreviewContent content;
    ASSERT_FALSE(LoadResourcePreview(kControls, std::string("DL_S_") + name, content).Failed());
    DialogHost host(nullptr, content.dialog, nullptr);
    testing::WineDialog wine;
    ASSERT_TRUE(testing::DrawWithWine(testing::FixturePath("dialog_shot.exe"), kControls, name,
                                      dir / name, wine))
        << name;
    const DialogLayout& layout = host.Embedded()->Layout();
    EXPECT_EQ(layout.units, wine.units) << name;
    EXPECT_EQ(layout.client.width, wine.clientWidth) << name;
    EXPECT_EQ(layout.client.height, wine.clientHeight) << name;
    ASSERT_EQ(layout.controls.size(), wine.controls.size()) << name;
    for (const auto& c : testing::CompareControls(*host.Embedded(), wine)) {
      EXPECT_LE(c.Difference(), 3)
          << name << " control " << c.index << " (" << c.windowClass << ")\n"
          << testing::CompareWithWine(*host.Embedded(), wine);
    }
  }
}

}  // namespace
}  // namespace ulk

// wx needs a display; listing the tests does not.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  wxApp::SetInstance(new wxApp);
  int wxArgc = 1;
  char* wxArgv[] = {argv[0], nullptr};
  if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "no display: run under xvfb-run\n");
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
