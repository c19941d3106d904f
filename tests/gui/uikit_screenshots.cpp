// Pictures of the toolkit's windows: the about box and a dialog with an
// in-place toolbar over a striped list.
#include <wx/artprov.h>
#include <wx/sizer.h>

#include "tests/gui/screenshot.h"
#include "uikit/about_box.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/striped_list.h"
#include "uikit/toolkit_dialog.h"

namespace ulk {
namespace {

TEST(UikitScreenshots, AboutBox) {
  AboutBox::Options options;
  options.caption = "Acerca de pruebas";
  options.icon = wxArtProvider::GetBitmapBundle(wxART_INFORMATION, wxART_MESSAGE_BOX);
  AboutBox box(nullptr, options);
  box.Show();
  EXPECT_TRUE(testing::TakeScreenshot("uikit_about", &box));
}

TEST(UikitScreenshots, DialogWithToolbarAndList) {
  ToolkitDialog dialog(nullptr, 163, "Idiomas de usuario");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  auto* placeholder = new wxWindow(&dialog, 1006, wxDefaultPosition, wxSize(100, 24));
  sizer->Add(placeholder, 0, wxALL, 4);
  auto* list = new StripedListCtrl(&dialog, wxID_ANY);
  list->AppendColumn("Idioma");
  list->AppendColumn("Código");
  list->SetTextColourOf([](long data) { return data ? wxColour(0, 0, 240) : wxNullColour; });
  list->SetRows({{{"Español (España)", "es-ES"}, 1, {}},
                 {{"English (United States)", "en-US"}, 0, {}},
                 {{"Deutsch (Deutschland)", "de-DE"}, 0, {}},
                 {{"Ελληνικά", "el"}, 1, {}}});
  sizer->Add(list, 1, wxEXPAND | wxALL, 4);
  dialog.SetSizer(sizer);
  auto art = [](const wxArtID& id) { return wxArtProvider::GetBitmapBundle(id, wxART_TOOLBAR); };
  auto* toolbar = new DialogToolbar();
  toolbar->CreateInPlaceOf(&dialog, 1006,
                           {163,
                            {{32837, art(wxART_NEW)},
                             {32852, art(wxART_DELETE)},
                             {0, {}},
                             {32854, art(wxART_LIST_VIEW), wxITEM_CHECK}}});
  dialog.SetSize(420, 260);
  dialog.Layout();
  ListCtrlHelper helper(list);
  helper.FitColumn(0);
  helper.ShareWidth(1);
  dialog.Show();
  EXPECT_TRUE(testing::TakeScreenshot("uikit_dialog", &dialog));
}

}  // namespace
}  // namespace ulk

int main(int argc, char** argv) {
  return ulk::testing::RunGuiTests<wxApp>(argc, argv);
}
