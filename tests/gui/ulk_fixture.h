// The translator's window, started for a test in one process: a copy of the
// bundled example in a fresh folder, settings in a file of the test's own,
// and access to the frame, the document, the views and their controls.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/gui/gui_harness.h"
#include "translator/ui/left_view.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/translator_app.h"
#include "uikit/command_id.h"
#include "translator/ui/ulk_doc.h"
#include "translator/ui/ulk_view.h"

namespace ulk::testing {

class UlkWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("ulk-gui-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    for (const char* name : {"demo.ulk", "demo32.dll", "demo64.dll"}) {
      std::filesystem::copy_file(std::filesystem::path(ULK_DEMO_DIR) / name, folder_ / name);
    }
  }

  void TearDown() override {
    if (started_) {
      // Changes are not saved: the question is answered No.
      ModalAnswers answers;
      answers.Answer(wxID_NO);
      TheApp().Shutdown();
      Pump();
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Starts the window; without a component or administrator unless the
  // options name them, and with settings in the test's folder unless
  // userSettings_ leaves them where the program keeps them.
  void Start(StartOptions options) {
    if (options.configPath.empty() && !userSettings_) {
      options.configPath = (folder_ / "ulk.conf").string();
    }
    if (options.componentCandidates.empty() && options.loadComponent) {
      options.componentCandidates = {TERMVAULT_PATH};
    }
    if (options.glossmithPath.empty()) options.glossmithPath = (folder_ / "no-glossmith").string();
    ASSERT_TRUE(TheApp().Startup(options));
    started_ = true;
    Pump();
  }

  // Starts on the example's project and selects its first module.
  void StartOnDemo(StartOptions options = {}) {
    options.projectPath = (folder_ / "demo.ulk").string();
    Start(options);
    ASSERT_EQ(doc()->GetProject().ModuleCount(), 2u);
    ASSERT_TRUE(treeView()->SelectNode(doc()->GetProject().modules.front().id));
    Pump();
  }

  CMainFrame* frame() const { return TheApp().MainFrame(); }
  CULKDoc* doc() const { return TheApp().Document(); }
  CLeftView* treeView() const { return frame()->TreeView(); }
  CULKView* listView() const { return frame()->ListView(); }
  ProjectTree* tree() const { return frame()->Tree(); }
  ResourceList* list() const { return frame()->List(); }
  Module& firstModule() const { return doc()->GetProject().modules.front(); }

  std::string Cell(long row, int column) const {
    return list()->RowAt(row).cells[static_cast<std::size_t>(column)];
  }
  std::string ColumnHeader(int column) const {
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    list()->GetColumn(column, item);
    return FromWx(item.GetText());
  }
  // Sends a command to the frame as a menu item does; whether it was handled.
  bool Run(int command) { return SendCommand(frame(), WxId(command)); }
  // Whether the frame's handlers enable the command now.
  bool Enabled(int command) { return QueryCommand(frame(), WxId(command)).enabled; }
  // Selects the row of `key` alone in the resource list.
  void SelectKey(const std::string& key) {
    const long row = listView()->FindRowOfKey(key);
    ASSERT_GE(row, 0) << key;
    SelectRows({row});
  }
  void SelectRows(std::initializer_list<long> rows) {
    for (long i = 0; i < list()->GetItemCount(); ++i) {
      list()->SetItemState(i, 0, wxLIST_STATE_SELECTED);
    }
    for (long row : rows) {
      list()->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }
  }
  std::string StatusText(int pane) const {
    return FromWx(frame()->GetStatusBar()->GetStatusText(pane));
  }

  std::filesystem::path folder_;
  bool started_ = false;
  bool userSettings_ = false;
};

}  // namespace ulk::testing
