// Pictures of the translator's windows on the bundled example: the main
// window (tree expanded, a dialog selected, coloured rows), the about box,
// the find dialog and the file dialog.
#include <wx/fdrepdlg.h>
#include <wx/filedlg.h>
#include <wx/treectrl.h>

#include "tests/gui/screenshot.h"
#include "tests/gui/ulk_fixture.h"
#include "translator/model/resource_rows.h"
#include "translator/ui/command_ids.h"
#include "uikit/command_id.h"

namespace ulk {
namespace {

class UlkScreenshots : public testing::UlkWindowTest {};

TEST_F(UlkScreenshots, MainWindow) {
  StartOnDemo();
  // Something of every colour: statuses as reading, hand and the
  // dictionary leave them.
  Module* module = &doc()->GetProject().modules.front();
  int status = 0;
  for (auto& entry : const_cast<std::list<TextEntry>&>(module->DefaultLanguage()->Entries())) {
    entry.status = status++ % 5;
  }
  tree()->ExpandAll();
  ASSERT_TRUE(treeView()->SelectNode(module->id, kNodeDialogs));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main", frame()));
  ASSERT_TRUE(treeView()->SelectNode(module->id, kNodeDialog, "DL_N_200"));
  testing::Pump();
  EXPECT_TRUE(testing::TakeScreenshot("ulk_main_dialog", frame()));
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

}  // namespace
}  // namespace ulk

int main(int argc, char** argv) {
  return ulk::testing::RunGuiTests<ulk::TranslatorApp>(argc, argv);
}
