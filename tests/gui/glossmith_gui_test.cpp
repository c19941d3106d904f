// The administrator's windows, made for real under a display and driven by
// the events their menus, buttons and lists send, on dictionaries the tests
// make.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <wx/bmpcbox.h>
#include <wx/choice.h>
#include <wx/fdrepdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include "glossmith/db/dictionary_store.h"
#include "glossmith/ui/glossmith_app.h"
#include "glossmith/ui/glossmith_dlg.h"
#include "glossmith/ui/glossmith_ids.h"
#include "glossmith/ui/languages_dlg.h"
#include "uikit/striped_list.h"
#include "glossmith/ui/text_dlg.h"
#include "platform/files.h"
#include "tests/gui/gui_harness.h"
#include "tests/test_support.h"
#include "uikit/about_box.h"
#include "uikit/command_id.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/toolkit_dialog.h"

extern char** environ;

namespace ulk::glossmith {
namespace {

using testing::ModalAnswers;

// A dictionary with three languages; Spanish "Abrir" translates to English
// "Open".
void MakeDictionary(const std::string& path) {
  DictionaryConnection connection;
  DictionaryStore store(connection);
  ASSERT_TRUE(OpenDictionary(connection, store, path).ok);
  const std::string spanish = *store.AddLanguage("Español");
  const std::string english = *store.AddLanguage("English");
  store.AddLanguage("Deutsch");
  const std::string abrir = *store.AddText("ST", spanish, "Abrir");
  store.AddText("ST", spanish, "Archivo");
  store.AddText("MN", spanish, "&Archivo");
  store.AddText("ST", spanish, "Salir");
  const std::string open = *store.AddText("ST", english, "Open");
  store.Link(abrir, open);
}

// Answers the text dialog with OK and this text.
ModalAnswers::Action TypeText(const std::string& text) {
  return [text](wxDialog* dialog) {
    auto* textDialog = dynamic_cast<CTextDlg*>(dialog);
    if (!textDialog) return wxID_CANCEL;
    textDialog->textEdit()->SetValue(ToWx(text));
    return wxID_OK;
  };
}

class GlossmithWindow : public ::testing::Test {
 protected:
  GlossmithWindow() : dir_("glossgui") {}
  void SetUp() override {
    path_ = dir_ / "prueba.dic";
    MakeDictionary(path_);
    window_ = new CGlossmithDlg();
    window_->SetSize(900, 600);
    window_->Show();
    testing::Pump();
  }
  void TearDown() override {
    if (window_) window_->Destroy();
    testing::Pump();
  }

  void Send(int command) { testing::SendCommand(window_, WxId(command)); }
  // Whether a button is enabled, as idle time leaves it.
  bool Enabled(wxToolBar* toolbar, int command) {
    testing::Pump();
    return toolbar->GetToolEnabled(WxId(command));
  }
  DictionaryBrowser& browser() { return window_->browser(); }
  std::string Cell(StripedListCtrl* list, long row, long column) {
    return FromWx(list->OnGetItemText(row, column));
  }
  void ChooseSource(int index) {
    window_->sourceSelector()->SetSelection(index);
    wxCommandEvent event(wxEVT_CHOICE, kSourceSelector);
    event.SetInt(index);
    event.SetEventObject(window_->sourceSelector());
    window_->sourceSelector()->GetEventHandler()->ProcessEvent(event);
  }
  void Activate(StripedListCtrl* list, long row) {
    wxListEvent event(wxEVT_LIST_ITEM_ACTIVATED, list->GetId());
    event.m_itemIndex = row;
    event.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(event);
  }
  // The user clicking a row.
  void Click(StripedListCtrl* list, long row) {
    list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                       wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    testing::Pump();
  }
  long RowOf(StripedListCtrl* list, const std::string& text) {
    for (long row = 0; row < list->GetItemCount(); ++row) {
      if (Cell(list, row, 2) == text) return row;
    }
    return -1;
  }

  testing::TempDir dir_;
  std::string path_;
  CGlossmithDlg* window_ = nullptr;
};

TEST_F(GlossmithWindow, StartsEmptyAndCreatesANewDictionary) {
  EXPECT_EQ(FromWx(window_->GetTitle()), "Glossmith");
  EXPECT_TRUE(Enabled(window_->mainToolbar(), kCmdOpen));
  EXPECT_TRUE(Enabled(window_->mainToolbar(), kCmdFilterMenu));
  EXPECT_FALSE(Enabled(window_->mainToolbar(), kCmdLanguages));
  EXPECT_FALSE(Enabled(window_->textsToolbar(), kCmdAddText));
  EXPECT_FALSE(Enabled(window_->textsToolbar(), kCmdFind));

  // A path with forward slashes that does not exist: created, named by its
  // file name alone.
  const std::string fresh = dir_.path().string() + "/sub/../nuevo.dic";
  std::filesystem::create_directories(dir_ / "sub");
  window_->OpenPath(fresh);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "nuevo.dic"));
  EXPECT_EQ(FromWx(window_->GetTitle()), "Glossmith [nuevo.dic]");
  EXPECT_EQ(window_->sourceSelector()->GetCount(), 0u);
  EXPECT_EQ(window_->targetSelector()->GetCount(), 0u);
  EXPECT_TRUE(Enabled(window_->mainToolbar(), kCmdLanguages));
  EXPECT_FALSE(Enabled(window_->textsToolbar(), kCmdAddText));

  // Closing clears everything and takes the buttons back.
  window_->OpenPath(path_);
  ChooseSource(2);
  EXPECT_GT(window_->textsList()->GetItemCount(), 0);
  Send(kCmdClose);
  EXPECT_EQ(FromWx(window_->GetTitle()), "Glossmith");
  EXPECT_EQ(window_->textsList()->GetItemCount(), 0);
  EXPECT_EQ(window_->sourceSelector()->GetCount(), 0u);
  EXPECT_FALSE(Enabled(window_->mainToolbar(), kCmdLanguages));
  EXPECT_FALSE(Enabled(window_->textsToolbar(), kCmdEditText));
}

TEST_F(GlossmithWindow, FilesThatAreNoDictionaryAreRefused) {
  testing::WriteFileBytes(dir_ / "texto.dic", "no soy un diccionario\n");
  testing::WriteFileBytes(dir_ / "vacio.dic", "");
  window_->OpenPath(path_);
  ModalAnswers answers;
  window_->OpenPath(dir_ / "texto.dic");
  EXPECT_EQ(FromWx(window_->GetTitle()), "Glossmith");
  EXPECT_EQ(window_->textsList()->GetItemCount(), 0);
  window_->OpenPath(dir_ / "vacio.dic");
  ASSERT_EQ(answers.shown.size(), 2u);
  EXPECT_EQ(answers.shown[0].message,
            "No se puede abrir el diccionario:\n\n[" + (dir_ / "texto.dic") + "]");
  EXPECT_TRUE(answers.shown[0].IsError());
  EXPECT_EQ(answers.shown[1].message, "El archivo seleccionado no es un diccionario válido.");
  EXPECT_TRUE(answers.shown[1].IsError());
  EXPECT_EQ(FromWx(window_->GetTitle()), "Glossmith");
  EXPECT_FALSE(Enabled(window_->mainToolbar(), kCmdLanguages));
}

TEST_F(GlossmithWindow, OpeningFillsSelectorsAndStripedLists) {
  window_->OpenPath(path_);
  EXPECT_EQ(FromWx(window_->GetTitle()), "Glossmith [prueba.dic]");
  // By name: Deutsch, English, Español; the first two are chosen.
  ASSERT_EQ(window_->sourceSelector()->GetCount(), 3u);
  EXPECT_EQ(window_->sourceSelector()->GetSelection(), 0);
  EXPECT_EQ(window_->targetSelector()->GetSelection(), 1);
  EXPECT_EQ(FromWx(window_->targetSelector()->GetString(2)), "Español");

  ChooseSource(2);
  StripedListCtrl* texts = window_->textsList();
  ASSERT_EQ(texts->GetItemCount(), 4);
  EXPECT_EQ(Cell(texts, 0, 0), "MN");
  EXPECT_EQ(Cell(texts, 0, 2), "&Archivo");
  EXPECT_EQ(Cell(texts, 1, 2), "Abrir");
  EXPECT_EQ(texts->OnGetItemColumnImage(0, 0), 2) << "the menu type's image";
  EXPECT_EQ(texts->OnGetItemColumnImage(1, 0), 0);
  EXPECT_EQ(texts->OnGetItemColumnImage(1, 2), -1);
  EXPECT_EQ(texts->SelectedRow(), 0);
  EXPECT_EQ(texts->OnGetItemAttr(0)->GetBackgroundColour(), wxColour(255, 255, 240));
  EXPECT_EQ(texts->OnGetItemAttr(1)->GetBackgroundColour(), wxColour(255, 255, 255));
  EXPECT_EQ(texts->GetColumnCount(), 3);
  EXPECT_EQ(ListCtrlHelper(texts).ColumnText(0), "Tipo");
  EXPECT_EQ(ListCtrlHelper(texts).ColumnText(1), "ID");
  EXPECT_EQ(ListCtrlHelper(texts).ColumnText(2), "Textos");
  EXPECT_EQ(texts->GetColumnWidth(1), 0) << "the id column is there but hidden";
  EXPECT_EQ(Cell(texts, 1, 1), browser().texts().Id(1));

  // The target is English: choosing "Abrir" lists "Open".
  Click(texts, 1);
  EXPECT_EQ(window_->translationsList()->GetItemCount(), 1);
  EXPECT_EQ(Cell(window_->translationsList(), 0, 2), "Open");
  EXPECT_TRUE(Enabled(window_->translationsToolbar(), kCmdAddTranslation));
}

TEST_F(GlossmithWindow, CommandStatesFollowTheSelections) {
  window_->OpenPath(path_);
  ChooseSource(2);  // Español, four texts, the first selected
  DialogToolbar* texts = window_->textsToolbar();
  DialogToolbar* translations = window_->translationsToolbar();
  EXPECT_TRUE(Enabled(texts, kCmdAddText));
  EXPECT_TRUE(Enabled(texts, kCmdEditText));
  EXPECT_TRUE(Enabled(texts, kCmdDeleteText));
  EXPECT_TRUE(Enabled(texts, kCmdFind));
  EXPECT_TRUE(Enabled(translations, kCmdAddTranslation));
  EXPECT_FALSE(Enabled(translations, kCmdEditTranslation));
  Click(window_->textsList(), 1);  // "Abrir", translated "Open"
  EXPECT_EQ(window_->translationsList()->GetItemCount(), 1);
  EXPECT_FALSE(Enabled(translations, kCmdEditTranslation)) << "listed, not selected";
  Click(window_->translationsList(), 0);
  EXPECT_TRUE(Enabled(translations, kCmdEditTranslation));
  EXPECT_TRUE(Enabled(translations, kCmdDeleteTranslation));
  window_->textsList()->SetItemState(1, 0, wxLIST_STATE_SELECTED);
  testing::Pump();
  EXPECT_FALSE(Enabled(texts, kCmdEditText));
  EXPECT_FALSE(Enabled(translations, kCmdAddTranslation));
  EXPECT_EQ(window_->translationsList()->GetItemCount(), 0);
  // Menu items are never disabled.
  wxMenuBar* bar = window_->GetMenuBar();
  bar->UpdateMenus();
  for (int id : {kCmdOpen, kCmdClose, kCmdExit, kCmdFilterStrings, kCmdFilterAll}) {
    EXPECT_TRUE(bar->IsEnabled(WxId(id))) << id;
  }
}

TEST_F(GlossmithWindow, MenusShowTheHiddenToolbarsImages) {
  wxMenuBar* bar = window_->GetMenuBar();
  ASSERT_EQ(bar->GetMenuCount(), 3u);
  EXPECT_EQ(FromWx(bar->GetMenuLabel(0)), "&Diccionario");
  EXPECT_EQ(FromWx(bar->GetMenuLabel(1)), "&Textos");
  EXPECT_TRUE(bar->FindItem(WxId(kCmdOpen))->GetBitmapBundle().IsOk());
  EXPECT_TRUE(bar->FindItem(WxId(kCmdExit))->GetBitmapBundle().IsOk());
  EXPECT_FALSE(bar->FindItem(WxId(kCmdClose))->GetBitmapBundle().IsOk());
  EXPECT_EQ(FromWx(bar->FindItem(WxId(kCmdFilterMenus))->GetItemLabel()), "MN [Menús]");
  EXPECT_FALSE(window_->menuIconsToolbar()->IsShown());
  EXPECT_EQ(window_->menuIconsToolbar()->GetToolsCount(), 10u);
  // Tooltips are the part of the command's string after its line feed.
  EXPECT_EQ(FromWx(window_->translationsToolbar()->GetToolShortHelp(WxId(kCmdAddTranslation))),
            "Añade una nueva traducción");
}

TEST_F(GlossmithWindow, FilterShowsOneTypeWithItsCheckMark) {
  window_->OpenPath(path_);
  ChooseSource(2);
  Send(kCmdFilterMenus);
  ASSERT_EQ(window_->textsList()->GetItemCount(), 1);
  EXPECT_EQ(Cell(window_->textsList(), 0, 2), "&Archivo");
  EXPECT_EQ(window_->textsList()->SelectedRow(), -1);
  EXPECT_EQ(window_->translationsList()->GetItemCount(), 0);
  wxMenuBar* bar = window_->GetMenuBar();
  bar->UpdateMenus();
  for (const FilterCommand& filter : kFilterCommands) {
    EXPECT_EQ(bar->IsChecked(WxId(filter.id)), filter.id == kCmdFilterMenus) << filter.id;
  }
  std::unique_ptr<wxMenu> popup = window_->MakeFilterMenu();
  popup->UpdateUI(window_);
  EXPECT_TRUE(popup->IsChecked(WxId(kCmdFilterMenus)));
  EXPECT_FALSE(popup->IsChecked(WxId(kCmdFilterAll)));
  EXPECT_EQ(popup->GetMenuItemCount(), 8u);

  // A new text takes the filter's type.
  ModalAnswers answers;
  answers.Answer([](wxDialog* dialog) {
    auto* text = dynamic_cast<CTextDlg*>(dialog);
    EXPECT_EQ(text->typePicker()->GetSelection(), 2);
    EXPECT_TRUE(text->typePicker()->IsEnabled());
    text->textEdit()->SetValue("Edición");
    return wxID_OK;
  });
  Send(kCmdAddText);
  EXPECT_EQ(window_->textsList()->GetItemCount(), 2);
  EXPECT_EQ(Cell(window_->textsList(), 1, 0), "MN");

  Send(kCmdFilterAll);
  EXPECT_EQ(window_->textsList()->GetItemCount(), 5);
  bar->UpdateMenus();
  EXPECT_TRUE(bar->IsChecked(WxId(kCmdFilterAll)));
  EXPECT_FALSE(bar->IsChecked(WxId(kCmdFilterMenus)));
}

TEST_F(GlossmithWindow, AddingAndEditingTextsThroughTheTextDialog) {
  window_->OpenPath(path_);
  ChooseSource(2);
  ModalAnswers answers;
  answers.Answer([](wxDialog* dialog) {
    auto* text = dynamic_cast<CTextDlg*>(dialog);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Añadir un nuevo texto");
    EXPECT_EQ(text->typePicker()->GetCount(), 6u);
    EXPECT_EQ(FromWx(text->typePicker()->GetString(2)), "Mnú");
    EXPECT_EQ(FromWx(text->typePicker()->GetString(4)), "Mensaje");
    EXPECT_EQ(FromWx(text->typePicker()->GetString(5)), "Formulario");
    text->textEdit()->SetValue("Salir");  // a "ST" text that exists
    return wxID_OK;
  });
  Send(kCmdAddText);
  answers.Answer([](wxDialog* dialog) {
    auto* text = dynamic_cast<CTextDlg*>(dialog);
    text->typePicker()->SetSelection(1);  // "Diálogo"
    text->textEdit()->SetValue("Salir");
    return wxID_OK;
  });
  Send(kCmdAddText);
  ASSERT_EQ(answers.shown.size(), 3u);
  EXPECT_EQ(answers.shown[0].templateId, kTextDialog);
  EXPECT_EQ(answers.shown[1].message, "El nuevo texto ya existe en el diccionario");
  EXPECT_TRUE(answers.shown[1].IsExclamation());
  const long added = window_->textsList()->GetItemCount() - 1;
  EXPECT_EQ(Cell(window_->textsList(), added, 0), "DL");
  EXPECT_EQ(Cell(window_->textsList(), added, 2), "Salir");

  // Return on the focused list edits its selected row: a stored "\n" shows
  // as a line break and comes back as "\n".
  const long abrir = RowOf(window_->textsList(), "Abrir");
  Click(window_->textsList(), abrir);
  answers.Answer([](wxDialog* dialog) {
    auto* text = dynamic_cast<CTextDlg*>(dialog);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Modificar texto");
    EXPECT_FALSE(text->typePicker()->IsEnabled());
    text->textEdit()->SetValue("Abrir\nun archivo");
    return wxID_OK;
  });
  Activate(window_->textsList(), abrir);
  EXPECT_EQ(Cell(window_->textsList(), abrir, 2), "Abrir\\nun archivo");
  answers.Answer([](wxDialog* dialog) {
    EXPECT_EQ(FromWx(dynamic_cast<CTextDlg*>(dialog)->textEdit()->GetValue()), "Abrir\nun archivo");
    return wxID_CANCEL;
  });
  Send(kCmdEditText);
  EXPECT_EQ(answers.shown.back().templateId, kTextDialog);

  // Another entry's text is refused.
  answers.Answer(TypeText("Archivo"));
  Activate(window_->textsList(), abrir);
  EXPECT_EQ(answers.shown.back().message, "El texto modificado ya existe en el diccionario");
}

TEST_F(GlossmithWindow, DeletingALinkedTextAsksTwice) {
  window_->OpenPath(path_);
  ChooseSource(2);
  Click(window_->textsList(), RowOf(window_->textsList(), "Abrir"));
  const long before = window_->textsList()->GetItemCount();
  ModalAnswers answers;
  answers.Answer(wxID_YES);
  answers.Answer(wxID_YES);
  // The Delete key of the focused list.
  wxListEvent key(wxEVT_LIST_KEY_DOWN, kTextsList);
  key.m_code = WXK_DELETE;
  key.SetEventObject(window_->textsList());
  window_->textsList()->GetEventHandler()->ProcessEvent(key);
  ASSERT_EQ(answers.Messages().size(), 2u);
  EXPECT_EQ(answers.Messages()[0], "Esta seguro que desea eliminar el texto:\n\n[Abrir]");
  EXPECT_TRUE(answers.shown[0].IsQuestion());
  EXPECT_EQ(answers.shown[0].yesLabel, "_Sí");
  EXPECT_EQ(answers.Messages()[1].rfind("El siguiente texto:\n\n[Abrir]", 0), 0u);
  EXPECT_EQ(window_->textsList()->GetItemCount(), before - 1);
  EXPECT_EQ(RowOf(window_->textsList(), "Abrir"), -1);
  EXPECT_GE(window_->textsList()->SelectedRow(), 0);
  EXPECT_EQ(browser().store().CountTextLinks(*browser().store().FindText(
                "ST", *browser().store().FindLanguage("English"), "Open")),
            0);
}

TEST_F(GlossmithWindow, TranslationsAreAddedAndDeleted) {
  window_->OpenPath(path_);
  ChooseSource(2);
  Click(window_->textsList(), RowOf(window_->textsList(), "Salir"));
  ModalAnswers answers;
  answers.Answer([](wxDialog* dialog) {
    auto* text = dynamic_cast<CTextDlg*>(dialog);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Añadir una nueva traducción");
    EXPECT_FALSE(text->typePicker()->IsEnabled());
    text->textEdit()->SetValue("Exit");
    return wxID_OK;
  });
  Send(kCmdAddTranslation);
  ASSERT_EQ(window_->translationsList()->GetItemCount(), 1);
  EXPECT_EQ(Cell(window_->translationsList(), 0, 2), "Exit");
  EXPECT_EQ(window_->translationsList()->SelectedRow(), -1);

  Click(window_->translationsList(), 0);
  answers.Answer(wxID_YES);  // delete the translation
  answers.Answer(wxID_YES);  // and the text nothing uses any more
  Send(kCmdDeleteTranslation);
  EXPECT_EQ(answers.Messages(),
            (std::vector<std::string>{
                "Está seguro que desea eliminar la traducción:\n\n[Salir]",
                "El siguiente texto\n\n[Exit]\n\nya no se usa en ninguna traducción.\nDesea "
                "eliminarlo del diccionario?"}));
  EXPECT_EQ(window_->translationsList()->GetItemCount(), 0);
  EXPECT_FALSE(
      browser().store().FindText("ST", *browser().store().FindLanguage("English"), "Exit"));
  EXPECT_FALSE(Enabled(window_->translationsToolbar(), kCmdDeleteTranslation));
}

TEST_F(GlossmithWindow, FindIgnoresCaseAndWrapsUp) {
  window_->OpenPath(path_);
  ChooseSource(2);  // &Archivo, Abrir, Archivo, Salir; the first selected
  Send(kCmdFind);
  wxFindReplaceDialog* find = window_->findDialog();
  ASSERT_NE(find, nullptr);
  EXPECT_TRUE(find->IsShown());
  EXPECT_EQ(find->GetData()->GetFlags() & wxFR_DOWN, wxFR_DOWN);
  Send(kCmdFind);
  EXPECT_EQ(window_->findDialog(), find) << "one find dialog, shown again";

  wxFindDialogEvent up(wxEVT_FIND, find->GetId());
  up.SetEventObject(find);
  up.SetFindString("archivo");
  up.SetFlags(0);  // up, case ignored
  window_->GetEventHandler()->ProcessEvent(up);
  EXPECT_EQ(window_->textsList()->SelectedRow(), 2) << "from the first row to the last match";
  wxFindDialogEvent down(wxEVT_FIND_NEXT, find->GetId());
  down.SetEventObject(find);
  down.SetFindString("SALIR");
  down.SetFlags(wxFR_DOWN);
  window_->GetEventHandler()->ProcessEvent(down);
  EXPECT_EQ(window_->textsList()->SelectedRow(), 3);
  down.SetFlags(wxFR_DOWN | wxFR_MATCHCASE);
  window_->GetEventHandler()->ProcessEvent(down);
  EXPECT_EQ(window_->textsList()->SelectedRow(), 3) << "no match: the selection stays";

  wxFindDialogEvent close(wxEVT_FIND_CLOSE, find->GetId());
  close.SetEventObject(find);
  window_->GetEventHandler()->ProcessEvent(close);
  testing::Pump();
  EXPECT_EQ(window_->findDialog(), nullptr);
  Send(kCmdFind);
  ASSERT_NE(window_->findDialog(), nullptr);
  EXPECT_EQ(FromWx(window_->findDialog()->GetData()->GetFindString()), "SALIR");
}

TEST_F(GlossmithWindow, LanguagesDialogCreatesAndDeletes) {
  window_->OpenPath(path_);
  ChooseSource(2);  // Español, with English as the target
  ASSERT_EQ(FromWx(window_->targetSelector()->GetStringSelection()), "English");
  ModalAnswers answers;
  answers.Answer([&answers](wxDialog* dialog) {
    auto* languages = dynamic_cast<CLanguagesDlg*>(dialog);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Idiomas");
    EXPECT_EQ(languages->list()->GetItemCount(), 3);
    EXPECT_EQ(languages->list()->OnGetItemAttr(0)->GetBackgroundColour(), wxColour(224, 224, 255));
    // A name with a quote.
    answers.Answer([](wxDialog* name) {
      dynamic_cast<CLanguageNameDlg*>(name)->nameEdit()->SetValue("Gaeilge 'na hÉireann'");
      return wxID_OK;
    });
    testing::SendCommand(dialog, WxId(kCmdCreateLanguage));
    EXPECT_EQ(languages->list()->GetItemCount(), 4);
    // The browser's target, English (second by name).
    languages->list()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    testing::Pump();
    EXPECT_EQ(FromWx(languages->list()->OnGetItemText(1, 1)), "English");
    answers.Answer(wxID_YES);
    testing::SendCommand(dialog, WxId(kCmdDeleteLanguage));
    EXPECT_EQ(languages->list()->GetItemCount(), 3);
    return wxID_OK;
  });
  Send(kCmdLanguages);
  // Each dialog is recorded once it is answered: the inner ones first.
  ASSERT_EQ(answers.shown.size(), 3u);
  EXPECT_EQ(answers.shown[0].templateId, kLanguageNameDialog);
  EXPECT_EQ(answers.shown[2].templateId, kLanguagesDialog);
  EXPECT_EQ(answers.shown[1].message,
            "El idioma indicado va a ser eliminado\n\n[English]\n\nTambién se eliminaran todos "
            "sus textos.\n\nDesea continuar?");
  // Deutsch, Español, Gaeilge...: the source stays, the target that is gone
  // gives way to the second.
  EXPECT_EQ(FromWx(window_->sourceSelector()->GetStringSelection()), "Español");
  EXPECT_EQ(window_->targetSelector()->GetSelection(), 1);
  EXPECT_EQ(FromWx(window_->targetSelector()->GetString(2)), "Gaeilge 'na hÉireann'");
}

TEST_F(GlossmithWindow, EscapeKeepsTheWindowAndExitEndsIt) {
  window_->OpenPath(path_);
  wxKeyEvent escape(wxEVT_CHAR_HOOK);
  escape.m_keyCode = WXK_ESCAPE;
  window_->GetEventHandler()->ProcessEvent(escape);
  testing::Pump();
  EXPECT_TRUE(window_->IsShown());
  EXPECT_FALSE(window_->IsBeingDeleted());

  Send(kCmdExit);
  testing::Pump();
  EXPECT_EQ(wxTopLevelWindows.IndexOf(window_), wxNOT_FOUND);
  window_ = nullptr;
}

TEST_F(GlossmithWindow, ResizingKeepsTwoEqualColumnsAndTheToolbarsBelow) {
  window_->OpenPath(path_);
  for (const wxSize size : {wxSize(1200, 800), wxSize(700, 450)}) {
    window_->SetSize(size);
    testing::Pump();
    StripedListCtrl* left = window_->textsList();
    StripedListCtrl* right = window_->translationsList();
    EXPECT_NEAR(left->GetSize().x, right->GetSize().x, 1);
    EXPECT_EQ(left->GetPosition().y, right->GetPosition().y);
    EXPECT_EQ(left->GetPosition().x, window_->sourceSelector()->GetPosition().x);
    EXPECT_EQ(right->GetPosition().x, window_->targetSelector()->GetPosition().x);
    const int bottom = window_->GetClientSize().y;
    EXPECT_GT(window_->textsToolbar()->GetPosition().y, left->GetRect().GetBottom());
    EXPECT_LT(bottom - window_->textsToolbar()->GetRect().GetBottom(), 30);
    EXPECT_EQ(window_->textsToolbar()->GetPosition().y,
              window_->translationsToolbar()->GetPosition().y);
    // The text column takes the rest of its list.
    int columns = 0;
    for (int c = 0; c < left->GetColumnCount(); ++c) columns += left->GetColumnWidth(c);
    EXPECT_EQ(columns, left->GetClientSize().x);
  }
  EXPECT_GE(window_->GetSize().x, window_->GetMinSize().x);
}

// Answers a file dialog with OK on `path`, after checking its title.
ModalAnswers::Action ChooseFile(const std::string& path, const std::string& title,
                                std::string* offered = nullptr) {
  return [path, title, offered](wxDialog* dialog) {
    auto* files = dynamic_cast<wxFileDialog*>(dialog);
    if (!files) return wxID_CANCEL;
    EXPECT_EQ(FromWx(files->GetMessage()), title);
    EXPECT_EQ(FromWx(files->GetWildcard()),
              "Archivos TMX (*.tmx)|*.tmx|Todos los archivos (*.*)|*");
    if (offered)
      *offered = FromWx(wxFileName(files->GetDirectory(), files->GetFilename()).GetFullPath());
    files->SetDirectory(ToWx(std::filesystem::path(path).parent_path().string()));
    files->SetFilename(ToWx(std::filesystem::path(path).filename().string()));
    return wxID_OK;
  };
}

TEST_F(GlossmithWindow, TmxItemsFollowTheDictionaryMenusOwnAndExport) {
  wxMenu* menu = window_->GetMenuBar()->GetMenu(0);
  std::vector<std::pair<int, std::string>> items;
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    items.emplace_back(item->IsSeparator() ? 0 : CommandOfWxId(item->GetId()),
                       FromWx(item->GetItemLabel()));
  }
  EXPECT_EQ(items, (std::vector<std::pair<int, std::string>>{{kCmdOpen, "&Abrir"},
                                                             {kCmdClose, "&Cerrar"},
                                                             {0, ""},
                                                             {kCmdExit, "&Salir"},
                                                             {0, ""},
                                                             {kCmdImportTmx, "&Importar TMX..."},
                                                             {kCmdExportTmx, "&Exportar TMX..."}}));
  EXPECT_FALSE(testing::QueryCommand(window_, WxId(kCmdImportTmx)).enabled);
  EXPECT_FALSE(testing::QueryCommand(window_, WxId(kCmdExportTmx)).enabled);

  window_->OpenPath(path_);
  EXPECT_TRUE(testing::QueryCommand(window_, WxId(kCmdImportTmx)).enabled);
  EXPECT_TRUE(testing::QueryCommand(window_, WxId(kCmdExportTmx)).enabled);
  // A name without an extension gets the format's.
  const std::string chosen = dir_ / "salida";
  std::string offered;
  ModalAnswers answers;
  answers.Answer(ChooseFile(chosen, "Exportar el diccionario a un archivo TMX", &offered));
  Send(kCmdExportTmx);
  EXPECT_EQ(offered, dir_ / "prueba.tmx") << "beside the dictionary, named after it";
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0],
            "Diccionario exportado a:\n\n[" + chosen + ".tmx]\n\nPares de textos enlazados: 1");
  EXPECT_TRUE(answers.shown.back().IsInformation());
  EXPECT_EQ(window_->lastProgress(), std::make_pair(std::size_t{1}, std::size_t{1}));
  std::string written;
  ASSERT_EQ(ReadWholeFile(chosen + ".tmx", written), 0);
  EXPECT_NE(written.find("<seg>Abrir</seg>"), std::string::npos);
  EXPECT_NE(written.find("<seg>Open</seg>"), std::string::npos);
}

// A file another tool wrote: inline markup in a segment, a language the
// dictionary does not have, and enough units for the progress to show on
// its way.
TEST_F(GlossmithWindow, TmxImportShowsProgressAndRefreshesTheLists) {
  window_->OpenPath(path_);
  ChooseSource(2);  // Español
  ASSERT_EQ(FromWx(window_->sourceSelector()->GetStringSelection()), "Español");
  ASSERT_EQ(FromWx(window_->targetSelector()->GetStringSelection()), "English");
  const long before = window_->textsList()->GetItemCount();
  const std::string tmx = dir_ / "de otra herramienta.tmx";
  {
    std::ofstream out(tmx);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n"
           "<header creationtool=\"x\" creationtoolversion=\"1\" datatype=\"plaintext\" "
           "segtype=\"sentence\" adminlang=\"en\" srclang=\"Español\" o-tmf=\"x\"/>\n<body>\n"
           "<tu><tuv xml:lang=\"Español\"><seg>Abrir</seg></tuv>"
           "<tuv xml:lang=\"Français\"><seg><bpt i=\"1\">&lt;b&gt;</bpt>Ouvrir<ept "
           "i=\"1\">&lt;/b&gt;</ept></seg></tuv></tu>\n";
    for (int i = 0; i < 600; ++i) {
      out << "<tu><tuv xml:lang=\"Español\"><seg>Texto " << i
          << "</seg></tuv><tuv xml:lang=\"English\"><seg>Text " << i << "</seg></tuv></tu>\n";
    }
    out << "</body>\n</tmx>\n";
  }
  ModalAnswers answers;
  answers.Answer(ChooseFile(tmx, "Importar un archivo TMX"));
  Send(kCmdImportTmx);
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0],
            "Archivo TMX importado:\n\n[de otra herramienta.tmx]\n\nUnidades leídas: 601\n"
            "Unidades omitidas (menos de dos textos): 0\nTextos añadidos: 1201\n"
            "Textos que ya existían: 1\nTraducciones enlazadas: 601\nIdiomas añadidos: Français");
  EXPECT_TRUE(answers.shown.back().IsInformation());
  EXPECT_EQ(window_->lastProgress(), std::make_pair(std::size_t{601}, std::size_t{601}));

  // The lists show what came in; the languages chosen stay chosen.
  EXPECT_EQ(window_->sourceSelector()->GetCount(), 4u);
  EXPECT_EQ(FromWx(window_->sourceSelector()->GetStringSelection()), "Español");
  EXPECT_EQ(FromWx(window_->targetSelector()->GetStringSelection()), "English");
  EXPECT_EQ(window_->textsList()->GetItemCount(), before + 600);
  const long row = RowOf(window_->textsList(), "Texto 7");
  ASSERT_GE(row, 0);
  Click(window_->textsList(), row);
  ASSERT_EQ(window_->translationsList()->GetItemCount(), 1);
  EXPECT_EQ(Cell(window_->translationsList(), 0, 2), "Text 7");
  // The native codes of the segment's markup belong to the text.
  DictionaryStore& store = browser().store();
  EXPECT_TRUE(store.FindText("ST", *store.FindLanguage("Français"), "<b>Ouvrir</b>"));

  // A file that is no TMX: an error naming it, the dictionary unchanged.
  const std::string wrong = dir_ / "mal.tmx";
  std::ofstream(wrong) << "no es XML";
  ModalAnswers refused;
  refused.Answer(ChooseFile(wrong, "Importar un archivo TMX"));
  Send(kCmdImportTmx);
  ASSERT_EQ(refused.Messages().size(), 1u);
  EXPECT_EQ(refused.Messages()[0].rfind("No se puede importar el archivo TMX:\n\nmal.tmx: ", 0), 0u)
      << refused.Messages()[0];
  EXPECT_TRUE(refused.shown.back().IsError());
  EXPECT_EQ(window_->textsList()->GetItemCount(), before + 600);
}

TEST_F(GlossmithWindow, AboutBoxShowsTheProgramsVersionBlock) {
  ModalAnswers answers;
  answers.Answer([](wxDialog* dialog) {
    auto* box = dynamic_cast<AboutBox*>(dialog);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Acerca de Glossmith");
    EXPECT_EQ(box->text().title, "Glossmith  v0.0.0.2  Release");
    EXPECT_EQ(box->text().description, "Glossmith Project");
    return wxID_OK;
  });
  Send(kCmdAbout);
  EXPECT_EQ(answers.shown.size(), 1u);
}

TEST_F(GlossmithWindow, OpenCommandCreatesAfterAsking) {
  ModalAnswers answers;
  const std::string fresh = dir_ / "otro";
  answers.Answer([&fresh](wxDialog* dialog) {
    auto* files = dynamic_cast<wxFileDialog*>(dialog);
    EXPECT_EQ(FromWx(files->GetMessage()), "Crear un nuevo diccionario/abrir diccionario");
    EXPECT_EQ(FromWx(files->GetWildcard()),
              "Diccionarios (*.dic)|*.dic|Todos los archivos (*.*)|*");
    files->SetDirectory(ToWx(std::filesystem::path(fresh).parent_path().string()));
    files->SetFilename(ToWx(std::filesystem::path(fresh).filename().string()));
    return wxID_OK;
  });
  answers.Answer(wxID_YES);
  Send(kCmdOpen);
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0], fresh + ".dic\nEste archivo no existe.\n¿Desea crearlo?");
  EXPECT_TRUE(std::filesystem::exists(fresh + ".dic"));
  EXPECT_EQ(FromWx(window_->GetTitle()), "Glossmith [otro.dic]");
}

TEST_F(GlossmithWindow, AReadOnlyDictionaryRefusesWithAnErrorBox) {
  window_->OpenPath(path_);
  ASSERT_EQ(browser().connection().Execute("pragma query_only=1"), 0);
  ModalAnswers answers;
  answers.Answer(TypeText("Nuevo"));
  Send(kCmdAddText);
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0], "No se puede insertar el nuevo texto\n\nCódigo de error: 8");
  EXPECT_TRUE(answers.shown[1].IsError());
}

// The program itself, started as the translator starts it: the path as its
// only argument.
TEST(GlossmithProgram, StartsWithTheDictionaryGiven) {
  testing::TempDir dir("glossprog");
  const std::string path = dir / "desde la línea de órdenes.dic";
  const auto run = [](std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
  };
  const pid_t usage = run({GLOSSMITH_PATH, "uno.dic", "dos.dic"});
  int status = 0;
  ASSERT_EQ(::waitpid(usage, &status, 0), usage);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);

  const pid_t program = run({GLOSSMITH_PATH, path});
  bool valid = false;
  for (int i = 0; i < 600 && !valid; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!std::filesystem::exists(path)) continue;
    DictionaryConnection connection;
    DictionaryStore store(connection);
    valid = connection.Open(path) && store.IsValidDictionary();
  }
  ::kill(program, SIGTERM);
  ::waitpid(program, &status, 0);
  EXPECT_TRUE(valid) << "created with its tables";
}

TEST(GlossmithCommandLine, OnePathMadeAbsolute) {
  EXPECT_FALSE(ParseCommandLine({}).path);
  const GlossmithCommandLine relative = ParseCommandLine({"sub/../a.dic"});
  ASSERT_TRUE(relative.path);
  EXPECT_EQ(*relative.path, (std::filesystem::current_path() / "a.dic").string());
  EXPECT_EQ(*ParseCommandLine({"/x/y.dic"}).path, "/x/y.dic");
  EXPECT_FALSE(ParseCommandLine({"a", "b"}).error.empty());
}

}  // namespace
}  // namespace ulk::glossmith

int main(int argc, char** argv) {
  return ulk::testing::RunGuiTests<wxApp>(argc, argv);
}
