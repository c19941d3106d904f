// The toolkit's windows, made for real under a display.
#include <wx/artprov.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/imaglist.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>

#include <gtk/gtk.h>

#include "tests/gui/gui_harness.h"
#include "uikit/about_box.h"
#include "uikit/command_id.h"
#include "uikit/icon_menu.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/message_box.h"
#include "uikit/status_bar_progress.h"
#include "uikit/striped_list.h"
#include "uikit/toolkit_dialog.h"

namespace ulk {
namespace {

using testing::ModalAnswers;

class Toolkit : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "pruebas", wxDefaultPosition, wxSize(600, 400));
    frame_->Show();
    testing::Pump();
  }
  void TearDown() override {
    frame_->Destroy();
    testing::Pump();
  }
  wxBitmapBundle Art(const wxArtID& id) {
    return wxArtProvider::GetBitmapBundle(id, wxART_TOOLBAR);
  }

  wxFrame* frame_ = nullptr;
};

TEST_F(Toolkit, MessageBoxesHaveTheIconOfTheirKindAndSpanishButtons) {
  ModalAnswers answers;
  answers.Answer(wxID_YES);
  answers.Answer(wxID_NO);
  EXPECT_TRUE(ShowMessageBox(frame_, "¿Desea continuar de todas formas?", MessageKind::kQuestion));
  EXPECT_FALSE(ShowMessageBox(frame_, "¿Otra vez?", MessageKind::kQuestion));
  EXPECT_TRUE(ShowMessageBox(frame_, "Error añadiendo recurso", MessageKind::kError));
  ShowMessageBox(frame_, "Aviso", MessageKind::kExclamation);
  ShowMessageBox(frame_, "Hecho", MessageKind::kInformation);
  ASSERT_EQ(answers.shown.size(), 5u);
  EXPECT_EQ(answers.shown[0].message, "¿Desea continuar de todas formas?");
  EXPECT_TRUE(answers.shown[0].IsQuestion());
  EXPECT_TRUE(answers.shown[0].style & wxYES_NO);
  // GTK marks the mnemonic with "_".
  EXPECT_EQ(answers.shown[0].yesLabel, "_Sí");
  EXPECT_EQ(answers.shown[2].message, "Error añadiendo recurso");
  EXPECT_TRUE(answers.shown[2].IsError());
  EXPECT_EQ(answers.shown[2].okLabel, "Aceptar");
  EXPECT_TRUE(answers.shown[3].IsExclamation());
  EXPECT_TRUE(answers.shown[4].IsInformation());
}

TEST_F(Toolkit, DialogToolbarTakesThePlaceholdersPlace) {
  ToolkitDialog dialog(frame_, 132, "Propiedades del proyecto");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  auto* before = new wxStaticText(&dialog, wxID_ANY, "antes");
  auto* placeholder = new wxWindow(&dialog, 1006, wxDefaultPosition, wxSize(80, 24));
  auto* after = new wxStaticText(&dialog, wxID_ANY, "después");
  sizer->Add(before);
  sizer->Add(placeholder);
  sizer->Add(after);
  dialog.SetSizer(sizer);

  ToolbarResource resource{
      132,
      {{32771, Art(wxART_NEW)}, {0, {}}, {32774, Art(wxART_DELETE)}, {32775, Art(wxART_HELP)}}};
  auto* toolbar = new DialogToolbar();
  ASSERT_TRUE(toolbar->CreateInPlaceOf(&dialog, 1006, resource)) << toolbar->ErrorText();
  EXPECT_EQ(toolbar->GetId(), 132);
  EXPECT_EQ(sizer->GetItem(1)->GetWindow(), toolbar);
  EXPECT_FALSE(placeholder->IsShown());
  EXPECT_EQ(placeholder->GetNextSibling(), toolbar);  // the tab order
  EXPECT_EQ(toolbar->GetToolsCount(), 4u);
  EXPECT_EQ(toolbar->GetToolByPos(2)->GetId(), WxId(32774));
  EXPECT_EQ(toolbar->FindButton(32774), 2);
  EXPECT_EQ(toolbar->FindButton(32771, 1), -1);
  EXPECT_EQ(toolbar->FindButton(1), -1);
  // The dialog's menus now take the toolbar's images.
  EXPECT_TRUE(dialog.Menus().ImageFor(32774).IsOk());
  EXPECT_FALSE(dialog.Menus().ImageFor(32779).IsOk());

  auto* missing = new DialogToolbar();
  EXPECT_FALSE(missing->CreateInPlaceOf(&dialog, 9999, resource));
  EXPECT_FALSE(missing->ErrorText().empty());
  delete missing;
}

TEST_F(Toolkit, MenuItemsShowTheImageOfTheirToolbarButton) {
  wxToolBar* toolbar = frame_->CreateToolBar();
  toolbar->AddTool(WxId(57603), "", Art(wxART_FILE_SAVE));
  toolbar->Realize();
  MenuImageTable hidden;
  hidden.Add(32860, Art(wxART_HELP_BOOK));
  IconMenus menus;
  menus.AddSource(toolbar);
  menus.AddSource(&hidden);
  SetCommandPrompts([](int id) {
    return id == 57603 ? std::string("Guarda el documento activo\nGuardar (Ctrl+S)") : "";
  });
  wxMenu menu;
  wxMenuItem* save = menus.Append(&menu, 57603, "&Guardar\tCtrl+S");
  wxMenuItem* glossmith = menus.Append(&menu, 32860, "Administrador de &diccionario");
  wxMenuItem* exit = menus.Append(&menu, 57665, "&Salir");
  EXPECT_EQ(save->GetId(), WxId(57603));
  EXPECT_TRUE(save->GetBitmapBundle().IsOk());
  EXPECT_TRUE(glossmith->GetBitmapBundle().IsOk());
  EXPECT_FALSE(exit->GetBitmapBundle().IsOk());
  EXPECT_EQ(FromWx(save->GetHelp()), "Guarda el documento activo");
  ASSERT_NE(MenuTexts().Find(57603), nullptr);
  EXPECT_EQ(*MenuTexts().Find(57603), "&Guardar\tCtrl+S");
  ASSERT_TRUE(MenuImages().Find(32860).has_value());
  EXPECT_EQ(MenuImages().Find(32860)->source, &hidden);
  SetCommandPrompts(nullptr);
}

// GTK hides menu images unless the item asks for them: in a menu bar and in
// a context menu, as GTK will draw them.
TEST_F(Toolkit, MenuImagesAreShownByGtk) {
  wxToolBar* toolbar = frame_->CreateToolBar();
  toolbar->AddTool(WxId(57603), "", Art(wxART_FILE_SAVE));
  toolbar->AddTool(WxId(57634), "", Art(wxART_COPY));
  toolbar->Realize();
  IconMenus menus;
  menus.AddSource(toolbar);
  auto* file = new wxMenu();
  wxMenuItem* save = menus.Append(file, 57603, "&Guardar\tCtrl+S");
  wxMenuItem* exit = menus.Append(file, 57665, "&Salir");
  auto* bar = new wxMenuBar();
  bar->Append(file, "&Archivo");
  frame_->SetMenuBar(bar);
  wxMenu context;
  wxMenuItem* copy = menus.Append(&context, 57634, "&Copiar");
  // What popping the menu up does first: its images made for the window.
  context.SetupBitmaps(frame_);
  testing::Pump();

  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  for (wxMenuItem* item : {save, copy}) {
    GtkWidget* widget = item->GetMenuItem();
    ASSERT_TRUE(widget && GTK_IS_IMAGE_MENU_ITEM(widget)) << FromWx(item->GetItemLabel());
    GtkImageMenuItem* imageItem = GTK_IMAGE_MENU_ITEM(widget);
    EXPECT_TRUE(gtk_image_menu_item_get_always_show_image(imageItem));
    GtkWidget* image = gtk_image_menu_item_get_image(imageItem);
    ASSERT_NE(image, nullptr) << FromWx(item->GetItemLabel());
    EXPECT_TRUE(gtk_widget_get_visible(image)) << FromWx(item->GetItemLabel());
  }
  // An item without an image is left as it is.
  GtkWidget* plain = exit->GetMenuItem();
  EXPECT_FALSE(plain && GTK_IS_IMAGE_MENU_ITEM(plain) &&
               gtk_image_menu_item_get_image(GTK_IMAGE_MENU_ITEM(plain)));
  G_GNUC_END_IGNORE_DEPRECATIONS
}

// A plain list: the helper moves whole rows.
TEST_F(Toolkit, ListHelperSortsWholeRowsByColumnType) {
  auto* list = new wxListCtrl(frame_, wxID_ANY, wxDefaultPosition, wxSize(400, 200), wxLC_REPORT);
  list->AppendColumn("Nombre");
  list->AppendColumn("Tamaño");
  const char* names[] = {"b", "B", "a", "á"};
  const char* sizes[] = {"10", "9", "100", "1"};
  for (long i = 0; i < 4; ++i) {
    list->InsertItem(i, ToWx(names[i]));
    list->SetItem(i, 1, sizes[i]);
    list->SetItemData(i, i);
  }
  ListCtrlHelper helper(list);
  helper.SelectRow(2);  // "a"
  helper.SortByColumn(0, true);
  EXPECT_EQ(FromWx(list->GetItemText(0, 0)), "B");
  EXPECT_EQ(FromWx(list->GetItemText(1, 0)), "a");
  EXPECT_EQ(FromWx(list->GetItemText(1, 1)), "100");
  EXPECT_EQ(list->GetItemData(1), 2);
  EXPECT_EQ(helper.FirstSelected(), 1);  // the selection went with its row
  EXPECT_EQ(FromWx(list->GetItemText(3, 0)), "á");

  helper.SetColumnType(1, ColumnType::kInteger);
  helper.SortByColumn(1, false);
  EXPECT_EQ(FromWx(list->GetItemText(0, 1)), "100");
  EXPECT_EQ(FromWx(list->GetItemText(3, 1)), "1");
  EXPECT_EQ(helper.FindRowByText("9", 1), 2);
  EXPECT_EQ(helper.FindRowByText("nada", 1), -1);

  helper.SelectAll();
  EXPECT_EQ(list->GetSelectedItemCount(), 4);
  helper.DeselectAll();
  EXPECT_EQ(list->GetSelectedItemCount(), 0);
  EXPECT_EQ(helper.ColumnText(1), "Tamaño");
  EXPECT_EQ(helper.ColumnCount(), 2);
}

TEST_F(Toolkit, ListHelperSizesAndMarksColumns) {
  auto* list = new wxListCtrl(frame_, wxID_ANY, wxDefaultPosition, wxSize(400, 200), wxLC_REPORT);
  for (const char* name : {"Recurso", "Español", "English", "Deutsch"})
    list->AppendColumn(ToWx(name));
  list->InsertItem(0, "una clave bastante larga para medirla");
  ListCtrlHelper helper(list);
  helper.FitColumn(0);
  const int fitted = list->GetColumnWidth(0);
  EXPECT_EQ(fitted, list->GetTextExtent("una clave bastante larga para medirla").x + 25);
  list->SetColumnWidth(0, 0);
  helper.FitColumn(0);  // hidden columns stay hidden
  EXPECT_EQ(list->GetColumnWidth(0), 0);
  list->SetColumnWidth(0, 100);

  helper.ShareWidth(3);
  const int client = list->GetClientSize().x - 100;
  EXPECT_EQ(list->GetColumnWidth(1), client / 3);
  EXPECT_EQ(list->GetColumnWidth(3), client / 3 + client % 3);

  wxImageList images(16, 16);
  for (int i = 0; i < 11; ++i)
    images.Add(wxArtProvider::GetBitmap(wxART_GO_UP, wxART_MENU, wxSize(16, 16)));
  helper.SetHeaderImages(&images);
  helper.SetHeaderImage(2, 10);
  EXPECT_EQ(helper.HeaderImage(2), 10);
  EXPECT_EQ(helper.HeaderImage(1), -1);
  helper.ClearHeaderImage(2);
  EXPECT_EQ(helper.HeaderImage(2), -1);
  list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
}

class ColouredList : public StripedListCtrl {
 public:
  using StripedListCtrl::OnGetItemAttr;
  using StripedListCtrl::OnGetItemText;
  using StripedListCtrl::StripedListCtrl;
};

TEST_F(Toolkit, StripedListPaintsStripesAndColoursAndKeepsSelectionOnSort) {
  auto* list = new ColouredList(frame_, wxID_ANY);
  list->AppendColumn("Clave");
  list->SetTextColourOf([](long data) { return data == 1 ? wxColour(0, 128, 0) : wxNullColour; });
  list->SetRows({{{"c"}, 0, {}}, {{"a"}, 1, {3}}, {{"b"}, 0, {-1}}});
  EXPECT_EQ(list->GetItemCount(), 3);
  EXPECT_EQ(FromWx(list->OnGetItemText(1, 0)), "a");
  EXPECT_FALSE(list->OnGetItemAttr(0)->HasBackgroundColour());
  EXPECT_EQ(list->OnGetItemAttr(1)->GetBackgroundColour(), wxColour(240, 240, 240));
  EXPECT_EQ(list->OnGetItemAttr(1)->GetTextColour(), wxColour(0, 128, 0));
  EXPECT_FALSE(list->OnGetItemAttr(2)->HasTextColour());
  EXPECT_EQ(list->OnGetItemColumnImage(0, 0), -1);  // no images given
  EXPECT_EQ(list->OnGetItemColumnImage(1, 0), 3);
  EXPECT_EQ(list->OnGetItemColumnImage(1, 1), -1);  // past the row's images
  EXPECT_EQ(list->OnGetItemColumnImage(7, 0), -1);

  list->SetItemState(0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                     wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);  // "c"
  ListCtrlHelper helper(list);
  helper.SortByColumn(0, true);
  EXPECT_EQ(list->Rows()[0].cells[0], "a");
  EXPECT_EQ(list->Rows()[2].cells[0], "c");
  EXPECT_EQ(helper.FirstSelected(), 2);
  EXPECT_EQ(list->GetSelectedItemCount(), 1);
  // Colours and images follow the rows, stripes stay with the positions.
  EXPECT_EQ(list->OnGetItemAttr(0)->GetTextColour(), wxColour(0, 128, 0));
  EXPECT_EQ(list->OnGetItemColumnImage(0, 0), 3);
  EXPECT_FALSE(list->OnGetItemAttr(0)->HasBackgroundColour());
  EXPECT_EQ(helper.FindRowByText("b", 0), 1);
}

TEST_F(Toolkit, ProgressLivesInItsStatusPane) {
  wxStatusBar* bar = frame_->CreateStatusBar(4);
  StatusBarProgress unattached;
  unattached.Show(true);  // harmless before Attach
  StatusBarProgress progress;
  progress.Attach(bar, 1);
  ASSERT_NE(progress.gauge(), nullptr);
  EXPECT_EQ(CommandOfWxId(progress.gauge()->GetId()), StatusBarProgress::kControlId);
  EXPECT_FALSE(progress.gauge()->IsShown());
  progress.SetRange(10, 20);
  progress.SetPosition(15);
  EXPECT_EQ(progress.gauge()->GetValue(), 5);
  EXPECT_EQ(progress.position(), 15);
  progress.SetPosition(99);
  EXPECT_EQ(progress.gauge()->GetValue(), 10);
  progress.Show(true);
  EXPECT_TRUE(progress.gauge()->IsShown());
  frame_->SetSize(wxSize(800, 400));
  testing::Pump();
  progress.Reposition();
  wxRect field;
  bar->GetFieldRect(1, field);
  EXPECT_EQ(progress.gauge()->GetRect(), field);
}

TEST_F(Toolkit, AboutBoxShowsTheProgramsOwnVersionBlock) {
  AboutBox::Options options;
  options.caption = "Acerca de pruebas";
  options.icon = Art(wxART_INFORMATION);
  AboutBox box(frame_, options);
  EXPECT_EQ(FromWx(box.GetTitle()), "Acerca de pruebas");
  EXPECT_EQ(box.text().group, "uikit_gui_tests");
  EXPECT_EQ(box.text().title, "Pruebas  v9, 8, 7, 6  Especial");
  EXPECT_EQ(FromWx(box.FindWindow(AboutBox::kText3Id)->GetLabel()), "© Nadie Kelvanter");
  auto* link = box.FindWindow(AboutBox::kLinkId);
  EXPECT_EQ(link->GetForegroundColour(), wxColour(0, 0, 255));
  wxMouseEvent enter(wxEVT_ENTER_WINDOW);
  link->GetEventHandler()->ProcessEvent(enter);
  EXPECT_TRUE(box.linkHovered());
  EXPECT_TRUE(link->GetFont().GetUnderlined());
  wxMouseEvent leave(wxEVT_LEAVE_WINDOW);
  link->GetEventHandler()->ProcessEvent(leave);
  EXPECT_FALSE(link->GetFont().GetUnderlined());
  EXPECT_FALSE(box.OpenLink());  // "mailto:" is no web address
}

}  // namespace
}  // namespace ulk

int main(int argc, char** argv) {
  return ulk::testing::RunGuiTests<wxApp>(argc, argv);
}
