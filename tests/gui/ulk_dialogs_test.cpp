// The translator's dialogs driven through the main window: the translation
// dialog, the property dialogs, the user languages, the dictionary
// commands and the resource preview. Dialogs are answered as a user would
// answer them: controls changed, buttons pressed, the dialog kept open
// when it refuses.
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/fileconf.h>
#include <wx/filedlg.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/scrolbar.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "platform/files.h"
#include "tests/gui/ulk_fixture.h"
#include "tests/test_support.h"
#include "translator/exchange/exchange_report.h"
#include "translator/model/messages.h"
#include "translator/model/project_file.h"
#include "translator/model/resource_rows.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/findings_dlg.h"
#include "translator/ui/language_dialogs.h"
#include "translator/ui/layout_editor_dlg.h"
#include "translator/ui/preview/preview_hosts.h"
#include "translator/ui/property_dialogs.h"
#include "translator/ui/similar_translation_dlg.h"
#include "translator/ui/translation_dlg.h"
#include "translator/ui/user_language_store.h"
#include "uikit/command_id.h"
#include "uikit/list_ctrl_helper.h"

namespace ulk {
namespace {

using testing::ModalAnswers;
using testing::Pump;

constexpr const char* kSpanish = "Español (España)";
constexpr const char* kEnglish = "Inglés (Estados Unidos)";
constexpr const char* kGerman = "Alemán (Alemania)";
constexpr const char* kFrench = "Francés (Francia)";

// Presses a dialog's button as the user does; the dialog's return code
// tells whether it closed (wxID_OK) or stayed open (0).
int Press(wxDialog* dialog, int id = wxID_OK) {
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(dialog);
  dialog->ProcessWindowEvent(event);
  return dialog->GetReturnCode();
}

// A key as the dialog's key hook sees it, coming from `from`.
void PressKey(wxDialog* dialog, wxWindow* from, int key, bool control = false, bool shift = false) {
  wxKeyEvent event(wxEVT_CHAR_HOOK);
  event.m_keyCode = key;
  event.SetControlDown(control);
  event.SetShiftDown(shift);
  event.SetEventObject(from);
  dialog->ProcessWindowEvent(event);
}

std::vector<std::string> ComboItems(wxComboBox* combo) {
  std::vector<std::string> items;
  for (unsigned i = 0; i < combo->GetCount(); ++i) items.push_back(FromWx(combo->GetString(i)));
  return items;
}

std::vector<std::string> Column(wxListCtrl* list, int column) {
  std::vector<std::string> cells;
  for (long row = 0; row < list->GetItemCount(); ++row) {
    cells.push_back(FromWx(list->GetItemText(row, column)));
  }
  return cells;
}

std::string ProjectText(const Project& project, const std::string& path) {
  std::string text;
  EXPECT_EQ(SaveProjectFile(project, path), "");
  EXPECT_EQ(ReadWholeFile(path, text), 0);
  return text;
}

template <typename Dialog>
Dialog* As(wxDialog* dialog) {
  auto* typed = dynamic_cast<Dialog*>(dialog);
  EXPECT_NE(typed, nullptr) << FromWx(dialog->GetClassInfo()->GetClassName());
  return typed;
}

class UlkDialogs : public testing::UlkWindowTest {
 protected:
  ModalAnswers unanswered_;

  ModuleLanguage* Language(const char* name) { return firstModule().FindLanguage(name); }
  std::string Text(const char* language, const std::string& key) {
    const ModuleLanguage* found = Language(language);
    const TextEntry* entry = found ? found->FindEntry(key) : nullptr;
    return entry ? entry->text : "<ninguna>";
  }
  // Adds target languages "Extra 1", "Extra 2"... to the first module.
  void AddLanguages(int count) {
    for (int i = 1; i <= count; ++i) {
      firstModule().AddLanguage(ModuleLanguage(
          "Extra " + std::to_string(i), (folder_ / ("x" + std::to_string(i))).string(), false));
    }
    doc()->UpdateAllViews();
    Pump();
  }
  std::vector<std::string> UserLanguages() {
    UserLanguageStore store;
    EXPECT_TRUE(store.Open());
    return store.Names();
  }
};

// ---- Translation dialog --------------------------------------------------

TEST_F(UlkDialogs, TwoLanguagesShowTwoSlotsAndNoScrollBar) {
  StartOnDemo();
  firstModule().RemoveLanguage(kGerman);
  doc()->UpdateAllViews();
  Pump();
  SelectKey("ST_N_1 (1)");
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CTranslationDlg>(d);
    EXPECT_EQ(dialog->templateId(), kDlgTranslation);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Traducción de recursos");
    EXPECT_TRUE(dialog->SlotEdit(1)->IsShown());
    EXPECT_FALSE(dialog->SlotEdit(2)->IsShown());
    EXPECT_FALSE(dialog->SlotLabel(2)->IsShown());
    EXPECT_FALSE(dialog->ScrollBar()->IsShown());
    EXPECT_EQ(FromWx(dialog->SlotLabel(0)->GetLabel()), std::string(kSpanish) + ":");
    EXPECT_FALSE(dialog->SlotEdit(0)->IsEditable());
    EXPECT_EQ(FromWx(dialog->SlotEdit(1)->GetValue()), "Notes");
    return wxID_CANCEL;
  });
  EXPECT_TRUE(Enabled(kIdTranslateResource));
  Run(kIdTranslateResource);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_FALSE(doc()->IsModified());
  EXPECT_FALSE(doc()->CanUndo());
}

TEST_F(UlkDialogs, SimilarTextsOfTheDictionaryFollowTheLanguageAndFillTheSlot) {
  StartOnDemo();
  DictionaryComponent* dictionary = TheApp().Dictionary();
  ASSERT_NE(dictionary, nullptr);
  ASSERT_TRUE(dictionary->Open((folder_ / "similar.dic").string()));
  ASSERT_TRUE(dictionary->Set("ST", kSpanish, "No se puede abrir el fichero:\\n%s", kEnglish,
                              "Cannot open the document:\\n%s"));
  ASSERT_TRUE(dictionary->Set("ST", kSpanish, "No se puede abrir el archivo", kEnglish,
                              "Cannot open the file"));
  ASSERT_TRUE(dictionary->Set("ST", kSpanish, "No se puede abrir el fichero:\\n%s", kGerman,
                              "Das Dokument kann nicht geöffnet werden:\\n%s"));
  firstModule().FindLanguage(kEnglish)->FindEntry("ST_N_1 (3)")->text.clear();
  SelectKey("ST_N_1 (3)");
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CTranslationDlg>(d);
    EXPECT_NE(dialog->Matches(), nullptr);
    EXPECT_EQ(dialog->ActiveSlot(), 1);
    const auto& english = dialog->ShownMatches();
    EXPECT_EQ(english.size(), 2u);
    if (english.size() != 2u) return wxID_CANCEL;
    EXPECT_GT(english[0].score, english[1].score) << "best first";
    EXPECT_EQ(english[0].translation, "Cannot open the file");
    // What the original lacks: "fichero" against "archivo".
    EXPECT_FALSE(english[1].differences.empty());
    // Ctrl+2 puts the second into the slot, for review.
    PressKey(dialog, dialog->SlotEdit(1), '2', true);
    EXPECT_EQ(FromWx(dialog->SlotEdit(1)->GetValue()), "Cannot open the document:\\n%s");
    EXPECT_EQ(dialog->SlotReview(1)->GetSelection(), kReviewNeeded);
    // The German slot lists the German translations.
    wxFocusEvent focus(wxEVT_SET_FOCUS, dialog->SlotEdit(2)->GetId());
    focus.SetEventObject(dialog->SlotEdit(2));
    dialog->SlotEdit(2)->ProcessWindowEvent(focus);
    EXPECT_EQ(dialog->ActiveSlot(), 2);
    EXPECT_EQ(dialog->ShownMatches().size(), 1u);
    EXPECT_FALSE(dialog->UseMatch(5)) << "no sixth match";
    return wxID_OK;
  });
  Run(kIdTranslateResource);
  ASSERT_EQ(answers.shown.size(), 1u);
  const TextEntry* filled = firstModule().FindLanguage(kEnglish)->FindEntry("ST_N_1 (3)");
  EXPECT_EQ(filled->text, "Cannot open the document:\\n%s");
  EXPECT_EQ(filled->review, kReviewNeeded);
}

TEST_F(UlkDialogs, TranslatingWithSimilarTextsAsksTheMinimumAndMarksForReview) {
  StartOnDemo();
  DictionaryComponent* dictionary = TheApp().Dictionary();
  ASSERT_TRUE(dictionary && dictionary->Open((folder_ / "similar.dic").string()));
  ASSERT_TRUE(dictionary->Set("ST", kSpanish, "No se puede abrir el fichero:\\n%s", kEnglish,
                              "Cannot open the document:\\n%s"));
  ModuleLanguage& english = *firstModule().FindLanguage(kEnglish);
  english.RemoveEntry("ST_N_1 (3)");
  doc()->UpdateAllViews();
  Pump();
  SelectKey("ST_N_1 (3)");
  EXPECT_TRUE(Enabled(kIdTranslateSimilar));
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    EXPECT_EQ(FromWx(d->GetTitle()), "Traducir con textos parecidos");
    return wxID_CANCEL;
  });
  Run(kIdTranslateSimilar);
  EXPECT_EQ(english.FindEntry("ST_N_1 (3)"), nullptr) << "cancelled";
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CSimilarTranslationDlg>(d);
    EXPECT_EQ(dialog->Minimum(), 85) << "the starting value";
    dialog->MinimumField()->SetValue(90);
    return wxID_OK;
  });
  Run(kIdTranslateSimilar);
  EXPECT_EQ(english.FindEntry("ST_N_1 (3)"), nullptr) << "83 is below 90";
  answers.Answer([](wxDialog* d) {
    As<CSimilarTranslationDlg>(d)->MinimumField()->SetValue(80);
    return wxID_OK;
  });
  Run(kIdTranslateSimilar);
  ASSERT_EQ(answers.shown.size(), 3u);
  const TextEntry* filled = english.FindEntry("ST_N_1 (3)");
  ASSERT_NE(filled, nullptr);
  EXPECT_EQ(filled->text, "Cannot open the document:\\n%s");
  EXPECT_EQ(filled->review, kReviewNeeded);
  EXPECT_TRUE(doc()->CanUndo());
  Run(kIdEditUndo);
  EXPECT_EQ(english.FindEntry("ST_N_1 (3)"), nullptr) << "one undo step";
}

TEST_F(UlkDialogs, FiveLanguagesScrollToRowsZeroOneAndTwoOnly) {
  StartOnDemo();
  AddLanguages(2);
  SelectKey("ST_N_1 (5)");
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CTranslationDlg>(d);
    wxScrollBar* bar = dialog->ScrollBar();
    EXPECT_TRUE(bar->IsShown());
    EXPECT_EQ(bar->GetRange(), 5);
    EXPECT_EQ(bar->GetThumbSize(), 3);
    EXPECT_EQ(bar->GetPageSize(), 3);
    const auto labels = [dialog] {
      std::vector<std::string> texts;
      for (int slot = 0; slot < 3; ++slot)
        texts.push_back(FromWx(dialog->SlotLabel(slot)->GetLabel()));
      return texts;
    };
    // Page down from row 0 shows rows 2 to 4, through the scroll bar.
    wxScrollEvent page(wxEVT_SCROLL_PAGEDOWN, kCtlTranslationScroll, 3, wxVERTICAL);
    page.SetEventObject(bar);
    bar->ProcessWindowEvent(page);
    EXPECT_EQ(labels(),
              (std::vector<std::string>{std::string(kGerman) + ":", "Extra 1:", "Extra 2:"}));
    EXPECT_EQ(bar->GetThumbPosition(), 2);
    const struct {
      TranslationScroll request;
      int thumb;
      int first;
    } steps[] = {{TranslationScroll::kLineDown, 0, 2},
                 {TranslationScroll::kLineUp, 0, 1},
                 {TranslationScroll::kPageUp, 0, 0},
                 {TranslationScroll::kThumb, 9, 2},
                 {TranslationScroll::kLineUp, 0, 1}};
    for (const auto& step : steps) {
      dialog->Scroll(step.request, step.thumb);
      EXPECT_EQ(dialog->Rows().FirstVisible(), step.first);
      EXPECT_EQ(bar->GetThumbPosition(), step.first);
    }
    EXPECT_EQ(labels()[0], std::string(kEnglish) + ":");
    return wxID_CANCEL;
  });
  Run(kIdTranslateResource);
  ASSERT_EQ(answers.shown.size(), 1u);
}

TEST_F(UlkDialogs, EditsSurviveScrollingAndOkWritesThemWithOneUndoStep) {
  StartOnDemo();
  AddLanguages(2);
  const std::string key = "ST_N_1 (5)";
  SelectKey(key);
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CTranslationDlg>(d);
    wxTextCtrl* english = dialog->SlotEdit(1);
    english->ChangeValue("Ready");
    english->SetInsertionPointEnd();
    PressKey(dialog, english, WXK_RETURN, true);  // Ctrl+Return: a line break
    english->AppendText("now");
    // Tab from a text goes on to its note, past the last slot's state on
    // to the next language.
    PressKey(dialog, dialog->SlotEdit(2), WXK_TAB);
    EXPECT_EQ(dialog->Rows().FirstVisible(), 0);
    PressKey(dialog, dialog->SlotReview(2), WXK_TAB);
    EXPECT_EQ(dialog->Rows().FirstVisible(), 1);
    dialog->SlotEdit(2)->ChangeValue("Eins\tZwei");  // Extra 1
    dialog->Scroll(TranslationScroll::kPageDown);
    dialog->SlotEdit(2)->ChangeValue("");  // Extra 2 stays empty
    // Return presses "Aceptar".
    PressKey(dialog, dialog->SlotEdit(2), WXK_RETURN);
    return dialog->GetReturnCode();
  });
  Run(kIdTranslateResource);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].answer, wxID_OK);
  EXPECT_EQ(Text(kEnglish, key), "Ready\\nnow");
  EXPECT_EQ(Text("Extra 1", key), "Eins\\tZwei");
  EXPECT_EQ(Text("Extra 2", key), "");  // created, empty
  EXPECT_EQ(Text(kGerman, key), "Bereit");
  EXPECT_EQ(firstModule().DefaultLanguage()->FindEntry(key)->status, kStatusByHand);
  EXPECT_EQ(testing::UlkWindowTest::Cell(listView()->FindRowOfKey(key), 2), "Ready\\nnow");
  EXPECT_TRUE(doc()->IsModified());

  Run(kIdEditUndo);
  EXPECT_EQ(Text(kEnglish, key), "Ready");
  EXPECT_EQ(Text("Extra 1", key), "<ninguna>");
}

// The layout editor from the menu: keys and "Ajustar al texto" change the
// selection; "Aceptar" stores the geometry as one undo step, "Cancelar"
// nothing.
TEST_F(UlkDialogs, TheLayoutEditorStoresItsChangesAsOneUndoStep) {
  StartOnDemo();
  firstModule().RemoveLanguage(kGerman);
  firstModule().FindLanguage(kEnglish)->SetEntry("DL_N_200 (1)", "&Title of the new note:");
  doc()->UpdateAllViews();
  Pump();
  SelectKey("DL_N_200 (1)");
  ASSERT_TRUE(Enabled(kIdEditLayout));
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* editor = As<CLayoutEditorDlg>(d);
    EXPECT_EQ(editor->templateId(), kDlgLayoutEditor);
    LayoutEditSession& session = editor->Session();
    EXPECT_EQ(session.NotFitting(), std::vector<std::uint32_t>{1});
    editor->PressKey(WXK_TAB, false);
    editor->PressKey(WXK_DOWN, false);
    editor->PressKey(WXK_UP, false);
    editor->PressKey(WXK_RIGHT, true);
    EXPECT_EQ(session.RectOfItem(1), (DialogRect{10, 12, 51, 8}));
    auto* fit = dynamic_cast<wxButton*>(editor->FindWindow(kCtlLayoutFit));
    wxCommandEvent click(wxEVT_BUTTON, kCtlLayoutFit);
    click.SetEventObject(fit);
    fit->ProcessWindowEvent(click);
    EXPECT_TRUE(session.NotFitting().empty());
    editor->ClickAt(100, 14);  // the edit box, moved aside
    EXPECT_EQ(session.Selection(), 2u);
    EXPECT_GT(session.RectOfItem(2).x, 65);
    // The mouse: the right handle drags the edit box wider, its inside
    // moves it; the left side stays where it was.
    const DialogRect before = session.RectOfItem(2);
    wxWindow* area = editor->DrawingArea();
    const auto mouse = [area](wxEventType type, wxPoint at, bool down) {
      wxMouseEvent event(type);
      event.SetPosition(at);
      event.m_leftDown = down;
      event.SetEventObject(area);
      area->ProcessWindowEvent(event);
    };
    const wxRect r = editor->SelectionPixels();
    const wxPoint handle(r.GetRight() + 3, r.y + r.height / 2);
    mouse(wxEVT_LEFT_DOWN, handle, true);
    mouse(wxEVT_MOTION, handle + wxPoint(30, 40), true);
    mouse(wxEVT_LEFT_UP, handle + wxPoint(30, 40), false);
    EXPECT_EQ(session.RectOfItem(2).x, before.x);
    EXPECT_EQ(session.RectOfItem(2).y, before.y);
    EXPECT_EQ(session.RectOfItem(2).cy, before.cy) << "a side handle resizes one way";
    EXPECT_GT(session.RectOfItem(2).cx, before.cx);
    const wxPoint inside(r.x + 4, r.y + 4);
    mouse(wxEVT_LEFT_DOWN, inside, true);
    mouse(wxEVT_MOTION, inside + wxPoint(0, 30), true);
    mouse(wxEVT_LEFT_UP, inside + wxPoint(0, 30), false);
    EXPECT_EQ(session.Selection(), 2u);
    EXPECT_GT(session.RectOfItem(2).y, before.y);
    editor->PressKey(WXK_UP, false);  // back up by keys, one unit at a time
    while (session.RectOfItem(2).y > before.y) editor->PressKey(WXK_UP, false);
    EXPECT_EQ(session.RectOfItem(2).y, before.y);
    return wxID_OK;
  });
  Run(kIdEditLayout);
  ASSERT_EQ(answers.shown.size(), 1u);
  const auto& geometry = firstModule().FindLanguage(kEnglish)->dialogGeometry;
  ASSERT_EQ(geometry.count("DL_N_200"), 1u);
  EXPECT_GT(geometry.at("DL_N_200").at(1).rect.cx, 51);
  EXPECT_TRUE(doc()->IsModified());
  // Cancelling a second time changes nothing.
  answers.Answer([](wxDialog* d) {
    As<CLayoutEditorDlg>(d)->Session().Select(0);
    As<CLayoutEditorDlg>(d)->Session().Reset();
    return wxID_CANCEL;
  });
  const DialogGeometry kept = geometry.at("DL_N_200");
  Run(kIdEditLayout);
  EXPECT_EQ(geometry.at("DL_N_200"), kept);
  Run(kIdEditUndo);
  EXPECT_EQ(geometry.count("DL_N_200"), 0u);
}

// A choice of the review state as the user makes it.
void Choose(wxChoice* choice, int selection) {
  choice->SetSelection(selection);
  wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
  event.SetInt(selection);
  event.SetEventObject(choice);
  choice->ProcessWindowEvent(event);
}

TEST_F(UlkDialogs, EachSlotEditsItsNoteAndATargetsReviewState) {
  StartOnDemo();
  const std::string key = "ST_N_1 (1)";
  Language(kGerman)->FindEntry(key)->note = "Plural?";
  SelectKey(key);
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CTranslationDlg>(d);
    // The original: a note, no state.
    EXPECT_TRUE(dialog->SlotNote(0)->IsShown());
    EXPECT_FALSE(dialog->SlotReview(0)->IsShown());
    wxChoice* english = dialog->SlotReview(1);
    EXPECT_TRUE(english->IsShown());
    EXPECT_TRUE(english->IsEnabled());
    EXPECT_EQ(english->GetCount(), 3u);
    EXPECT_EQ(FromWx(english->GetString(1)), "por revisar");
    EXPECT_EQ(FromWx(english->GetStringSelection()), "traducido");
    EXPECT_EQ(FromWx(dialog->SlotNote(2)->GetValue()), "Plural?");
    // The slots stand where they stood: the original's heading is as high
    // as the others'.
    const int first = dialog->SlotEdit(1)->GetPosition().y - dialog->SlotEdit(0)->GetPosition().y;
    const int second = dialog->SlotEdit(2)->GetPosition().y - dialog->SlotEdit(1)->GetPosition().y;
    EXPECT_EQ(first, second);

    dialog->SlotNote(0)->ChangeValue("Título de la ventana");
    dialog->SlotNote(1)->ChangeValue("¿Singular o plural?");
    Choose(english, kReviewDone);
    // Emptied, the German text has no state to choose.
    dialog->SlotEdit(2)->SetValue("");
    EXPECT_FALSE(dialog->SlotReview(2)->IsEnabled());
    EXPECT_EQ(dialog->SlotReview(2)->GetSelection(), wxNOT_FOUND);
    // Ctrl+Return in a note makes no line break, in the text or the note.
    PressKey(dialog, dialog->SlotNote(1), WXK_RETURN, true);
    EXPECT_EQ(FromWx(dialog->SlotEdit(1)->GetValue()), "Notes");
    return Press(d);
  });
  Run(kIdTranslateResource);
  ASSERT_EQ(answers.shown.size(), 1u);
  const TextEntry* original = Language(kSpanish)->FindEntry(key);
  const TextEntry* english = Language(kEnglish)->FindEntry(key);
  const TextEntry* german = Language(kGerman)->FindEntry(key);
  EXPECT_EQ(original->note, "Título de la ventana");
  EXPECT_EQ(english->note, "¿Singular o plural?");
  EXPECT_EQ(english->review, kReviewDone);
  EXPECT_EQ(english->text, "Notes");
  EXPECT_EQ(german->text, "");
  EXPECT_EQ(german->note, "Plural?");
  const long row = listView()->FindRowOfKey(key);
  EXPECT_EQ(list()->OnGetItemColumnImage(row, 1), kImageNote);
  EXPECT_EQ(list()->OnGetItemColumnImage(row, 2), kImageNoteReviewed);
  EXPECT_EQ(list()->OnGetItemColumnImage(row, 3), kImageNote);

  Run(kIdEditUndo);  // notes and states come back with the texts
  EXPECT_EQ(Language(kSpanish)->FindEntry(key)->note, "");
  EXPECT_EQ(Language(kEnglish)->FindEntry(key)->review, kReviewTranslated);
  EXPECT_EQ(Language(kEnglish)->FindEntry(key)->note, "");
  EXPECT_EQ(Language(kGerman)->FindEntry(key)->text, "Notizen");
  EXPECT_EQ(list()->OnGetItemColumnImage(row, 2), -1);
}

TEST_F(UlkDialogs, ReturnInTheListOpensTheTranslationAndCancelChangesNothing) {
  StartOnDemo();
  const std::string key = "ST_N_1 (1)";
  SelectKey(key);
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    As<CTranslationDlg>(d)->SlotEdit(1)->ChangeValue("otra cosa");
    return wxID_CANCEL;
  });
  wxListEvent activated(wxEVT_LIST_ITEM_ACTIVATED, list()->GetId());
  activated.SetEventObject(list());
  list()->GetEventHandler()->ProcessEvent(activated);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].templateId, kDlgTranslation);
  EXPECT_EQ(Text(kEnglish, key), "Notes");
  EXPECT_FALSE(doc()->IsModified());
  EXPECT_FALSE(doc()->CanUndo());
}

// Real key presses (through the display server) on a dialog shown for them.
class RealKeys {
 public:
  // Shows `dialog` and clicks into `control`, which then has the focus.
  RealKeys(wxDialog* dialog, wxWindow* control) {
    dialog->Show();
    dialog->Raise();
    Settle();
    control->SetFocus();
    simulator_.MouseMove(control->GetScreenRect().GetPosition() + wxPoint(12, 12));
    simulator_.MouseClick();
    Settle();
  }
  static void Settle() {
    for (int i = 0; i < 10; ++i) {
      Pump();
      wxMilliSleep(20);
    }
  }
  wxUIActionSimulator& operator*() { return simulator_; }
  wxUIActionSimulator* operator->() { return &simulator_; }

 private:
  wxUIActionSimulator simulator_;
};

TEST_F(UlkDialogs, RealKeysMakeLineBreaksAndAccept) {
  StartOnDemo();
  const std::string key = "ST_N_1 (5)";
  SelectKey(key);
  ModalAnswers answers;
  std::string typed;
  answers.Answer([&](wxDialog* d) {
    auto* dialog = As<CTranslationDlg>(d);
    wxTextCtrl* edit = dialog->SlotEdit(1);
    RealKeys keys(dialog, edit);
    edit->ChangeValue("");
    keys->Text("abc");
    keys->Char(WXK_RETURN, wxMOD_CONTROL);
    keys->Text("def");
    RealKeys::Settle();
    typed = FromWx(edit->GetValue());
    keys->Char(WXK_RETURN);
    RealKeys::Settle();
    dialog->Hide();
    return dialog->GetReturnCode();
  });
  Run(kIdTranslateResource);
  EXPECT_EQ(typed, "abc\ndef");
  EXPECT_EQ(Text(kEnglish, key), "abc\\ndef");
}

TEST_F(UlkDialogs, RealKeysReachTheToolbarsCommands) {
  StartOnDemo();
  const ModuleLanguage fresh;
  CLanguagePropertiesDlg dialog(frame(), fresh, firstModule());
  ASSERT_TRUE(dialog.LanguageCombo()->SetStringSelection(ToWx(kFrench)));
  RealKeys keys(&dialog, dialog.OutputEdit());
  keys->Char('D', wxMOD_CONTROL);  // "Fichero de salida por defecto"
  RealKeys::Settle();
  EXPECT_EQ(FromWx(dialog.OutputEdit()->GetValue()), (folder_ / kFrench / "demo32.dll").string());
  dialog.Hide();
}

// ---- Project properties --------------------------------------------------

TEST_F(UlkDialogs, ANewProjectOpensItsPropertiesAndCancelLeavesItEmpty) {
  StartOnDemo();
  ModalAnswers answers;
  Run(kIdFileNew);
  Pump();
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].templateId, kDlgProjectProperties);
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 0u);
  EXPECT_EQ(doc()->GetProject().name, "Nuevo proyecto");
  EXPECT_EQ(FromWx(frame()->GetTitle()), "ULK - ULK");
  EXPECT_FALSE(doc()->IsModified());

  // Accepted, the properties name the new project.
  answers.Answer([](wxDialog* d) {
    As<CProjectPropertiesDlg>(d)->NameEdit()->ChangeValue("  Mi proyecto ");
    return Press(d);
  });
  Run(kIdFileNew);
  Pump();
  EXPECT_EQ(doc()->GetProject().name, "Mi proyecto");
  EXPECT_EQ(FromWx(tree()->GetItemText(tree()->GetRootItem())), "Mi proyecto");
  EXPECT_TRUE(doc()->IsModified());
}

TEST_F(UlkDialogs, ProjectPropertiesListTheModulesAndRefuseAnEmptyName) {
  StartOnDemo();
  SelectRows({0});
  Run(kIdDeleteTranslation);
  ASSERT_TRUE(doc()->CanUndo());
  ModalAnswers answers;
  answers.Answer([this](wxDialog* d) {
    auto* dialog = As<CProjectPropertiesDlg>(d);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Propiedades del proyecto");
    EXPECT_EQ(FromWx(dialog->NameEdit()->GetValue()), "Notas (ejemplo)");
    wxListCtrl* list = dialog->List();
    EXPECT_EQ(ListCtrlHelper(list).ColumnText(0), "Archivo");
    EXPECT_EQ(ListCtrlHelper(list).ColumnText(1), "Idioma del módulo");
    EXPECT_EQ(ListCtrlHelper(list).ColumnText(2), "Carpeta");
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"demo32.dll", "demo64.dll"}));
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{kSpanish, kSpanish}));
    EXPECT_EQ(Column(list, 2)[0], folder_.string());
    EXPECT_EQ(FromWx(dialog->CountLine()->GetValue()), "El proyecto tiene 2 módulo(s)");
    EXPECT_TRUE(dialog->IsCommandEnabled(kIdDeleteModule));
    ListCtrlHelper(list).DeselectAll();
    dialog->RunCommand(kIdAddModules);  // Insert and the toolbar: the file dialog
    EXPECT_EQ(list->GetSelectedItemCount(), 1) << "rebuilt with a row selected";
    dialog->NameEdit()->ChangeValue("   ");
    EXPECT_EQ(Press(d), 0);  // refused: the dialog stays
    dialog->NameEdit()->ChangeValue("Otro nombre");
    return Press(d);
  });
  Run(kIdProjectProperties);
  const std::vector<std::string> messages = answers.Messages();
  ASSERT_EQ(answers.shown.size(), 3u);
  EXPECT_EQ(answers.shown[0].className, "wxFileDialog");
  EXPECT_EQ(messages, (std::vector<std::string>{"Debe introducir el nombre del proyecto"}));
  EXPECT_TRUE(answers.shown[1].IsExclamation());
  EXPECT_EQ(doc()->GetProject().name, "Otro nombre");
  EXPECT_FALSE(doc()->CanUndo());  // properties accepted: no undo across them
  EXPECT_TRUE(doc()->IsModified());
}

TEST_F(UlkDialogs, CancelAfterAddingAndDeletingModulesLeavesTheProjectExactlyAsBefore) {
  StartOnDemo();
  std::filesystem::copy_file(folder_ / "demo32.dll", folder_ / "otro.dll");
  const std::string saved = (folder_ / "saved.ulk").string();
  const std::string before = ProjectText(doc()->GetProject(), saved);
  const std::int32_t nextId = doc()->GetProject().nextModuleId;
  const auto edit = [this](int close) {
    return [this, close](wxDialog* d) {
      auto* dialog = As<CProjectPropertiesDlg>(d);
      EXPECT_TRUE(dialog->SelectModule(firstModule().id));
      dialog->RunCommand(kIdDeleteModule);  // the question is answered Yes
      dialog->AddModuleFiles({(folder_ / "otro.dll").string(), (folder_ / "demo64.dll").string()});
      EXPECT_EQ(Column(dialog->List(), 0), (std::vector<std::string>{"demo64.dll", "otro.dll"}));
      EXPECT_EQ(FromWx(dialog->CountLine()->GetValue()), "El proyecto tiene 2 módulo(s)");
      return close == wxID_OK ? Press(d) : close;
    };
  };
  ModalAnswers answers;
  answers.Answer(edit(wxID_CANCEL));
  answers.Answer(wxID_YES);
  Run(kIdProjectProperties);
  EXPECT_EQ(answers.Messages(),
            (std::vector<std::string>{"¿Desea borrar módulo \"demo32.dll\"?",
                                      "Error añadiendo módulos al proyecto\nEl módulo "
                                      "\"demo64.dll\" ya está en el proyecto"}));
  EXPECT_EQ(ProjectText(doc()->GetProject(), saved), before);
  EXPECT_EQ(doc()->GetProject().nextModuleId, nextId);
  EXPECT_FALSE(doc()->IsModified());

  // Accepted, the same work replaces the project.
  answers.Answer(edit(wxID_OK));
  answers.Answer(wxID_YES);
  Run(kIdProjectProperties);
  std::vector<std::string> names;
  for (const Module& module : doc()->GetProject().modules) names.emplace_back(module.FileName());
  EXPECT_EQ(names, (std::vector<std::string>{"demo64.dll", "otro.dll"}));
  EXPECT_EQ(tree()->GetChildrenCount(tree()->GetRootItem(), false), 2u);
  EXPECT_EQ(tree()->GetSelection(), tree()->GetRootItem());
  EXPECT_TRUE(doc()->IsModified());
}

TEST_F(UlkDialogs, TheListKeysOfTheProjectDialog) {
  StartOnDemo();
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CProjectPropertiesDlg>(d);
    wxListCtrl* list = dialog->List();
    const auto key = [list](int code) {
      wxListEvent event(wxEVT_LIST_KEY_DOWN, list->GetId());
      event.m_code = code;
      event.SetEventObject(list);
      list->GetEventHandler()->ProcessEvent(event);
    };
    key(WXK_DELETE);  // asks: No
    key(WXK_INSERT);  // the file dialog: cancelled
    EXPECT_EQ(list->GetItemCount(), 2);
    // Return in the list is the default button's.
    PressKey(dialog, list, WXK_RETURN);
    return dialog->GetReturnCode();
  });
  Run(kIdProjectProperties);
  ASSERT_EQ(answers.shown.size(), 3u);
  EXPECT_EQ(answers.shown[0].message, "¿Desea borrar módulo \"demo32.dll\"?");
  EXPECT_EQ(answers.shown[1].className, "wxFileDialog");
  EXPECT_EQ(answers.shown[2].answer, wxID_OK);
  EXPECT_EQ(doc()->GetProject().ModuleCount(), 2u);
}

// ---- Module and language properties -------------------------------------

TEST_F(UlkDialogs, ModulePropertiesListTheTargetsAndNeverOfferOneAsTheOriginal) {
  StartOnDemo();
  {
    UserLanguageStore store;
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.Add("Klingon"));
    ASSERT_TRUE(store.Add(kGerman));  // a user language that is a target
  }
  ModalAnswers answers;
  answers.Answer([this](wxDialog* d) {
    auto* dialog = As<CModulePropertiesDlg>(d);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Propiedades del módulo");
    EXPECT_EQ(FromWx(dialog->PathEdit()->GetValue()), (folder_ / "demo32.dll").string());
    EXPECT_FALSE(dialog->PathEdit()->IsEditable());
    wxListCtrl* list = dialog->List();
    EXPECT_EQ(ListCtrlHelper(list).ColumnText(0), "Nombre");
    EXPECT_EQ(ListCtrlHelper(list).ColumnText(1), "Archivo");
    EXPECT_EQ(ListCtrlHelper(list).ColumnText(2), "Carpeta");
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{kEnglish, kGerman}));
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"demo32.dll", "demo32.dll"}));
    EXPECT_EQ(Column(list, 2)[0], "traducciones/en-US/");  // as the project file has it
    EXPECT_EQ(FromWx(dialog->CountLine()->GetValue()), "El módulo tiene 2 idioma(s)");
    const std::vector<std::string> choices = ComboItems(dialog->LanguageCombo());
    EXPECT_EQ(std::count(choices.begin(), choices.end(), kEnglish), 0);
    EXPECT_EQ(std::count(choices.begin(), choices.end(), kGerman), 0);
    EXPECT_EQ(std::count(choices.begin(), choices.end(), "Klingon"), 1);
    EXPECT_EQ(std::count(choices.begin(), choices.end(), kFrench), 1);
    EXPECT_EQ(FromWx(dialog->LanguageCombo()->GetStringSelection()), kSpanish);
    EXPECT_TRUE(std::is_sorted(choices.begin(), choices.begin() + 2));
    // A new original language: Spanish is offered again, Catalan no more.
    dialog->SelectOriginal("Catalán (España)");
    const std::vector<std::string> after = ComboItems(dialog->LanguageCombo());
    EXPECT_EQ(std::count(after.begin(), after.end(), kSpanish), 1);
    EXPECT_EQ(std::count(after.begin(), after.end(), "Catalán (España)"), 1);
    return Press(d);
  });
  Run(kIdModuleProperties);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(firstModule().DefaultLanguageName(), "Catalán (España)");
  EXPECT_EQ(testing::UlkWindowTest::ColumnHeader(1), "Catalán (España)");
  EXPECT_TRUE(doc()->IsModified());
}

TEST_F(UlkDialogs, TwoDefaultLanguagesAreRefusedWith5014AndNothingChanges) {
  StartOnDemo();
  firstModule().AddLanguage(ModuleLanguage("Catalán (España)", "", true));
  const std::string saved = (folder_ / "saved.ulk").string();
  const std::string before = ProjectText(doc()->GetProject(), saved);
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    EXPECT_EQ(Press(d), 0);  // stays open
    return wxID_CANCEL;
  });
  Run(kIdModuleProperties);
  ASSERT_EQ(answers.Messages(),
            (std::vector<std::string>{"Un módulo sólo puede tener un idioma por defecto"}));
  EXPECT_TRUE(answers.shown[0].IsExclamation());
  EXPECT_EQ(ProjectText(doc()->GetProject(), saved), before);
  EXPECT_FALSE(doc()->IsModified());
}

TEST_F(UlkDialogs, AddingALanguageFillsTheDefaultOutputFile) {
  StartOnDemo();
  ModalAnswers answers;
  std::string filled;
  answers.Answer([&](wxDialog* d) {
    auto* dialog = As<CModulePropertiesDlg>(d);
    dialog->RunCommand(kIdAddLanguage);  // answered below
    EXPECT_EQ(Column(dialog->List(), 0), (std::vector<std::string>{kEnglish, kGerman, kFrench}));
    EXPECT_EQ(ListCtrlHelper(dialog->List()).FirstSelected(), 2);
    EXPECT_EQ(FromWx(dialog->CountLine()->GetValue()), "El módulo tiene 3 idioma(s)");
    const std::vector<std::string> choices = ComboItems(dialog->LanguageCombo());
    EXPECT_EQ(std::count(choices.begin(), choices.end(), kFrench), 0);
    return Press(d);
  });
  answers.Answer([&](wxDialog* d) {
    auto* dialog = As<CLanguagePropertiesDlg>(d);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Propiedades del idioma");
    const std::vector<std::string> choices = ComboItems(dialog->LanguageCombo());
    EXPECT_EQ(std::count(choices.begin(), choices.end(), kEnglish), 0);
    EXPECT_EQ(std::count(choices.begin(), choices.end(), kSpanish), 0);
    // Neither language nor output file: 5008 first.
    EXPECT_EQ(Press(d), 0);
    dialog->SelectLanguage(kGerman);  // not offered: nothing happens
    EXPECT_EQ(FromWx(dialog->OutputEdit()->GetValue()), "");
    dialog->SelectLanguage("Italiano (Italia)");
    dialog->SelectLanguage(kFrench);  // each choice fills the default again
    filled = FromWx(dialog->OutputEdit()->GetValue());
    return Press(d);
  });
  Run(kIdModuleProperties);
  EXPECT_EQ(filled, (folder_ / kFrench / "demo32.dll").string());
  ASSERT_EQ(answers.Messages(), (std::vector<std::string>{"Debe seleccionar un idioma"}));
  const ModuleLanguage* french = Language(kFrench);
  ASSERT_NE(french, nullptr);
  EXPECT_EQ(french->outputFile, filled);
  EXPECT_EQ(testing::UlkWindowTest::ColumnHeader(4), kFrench);
}

TEST_F(UlkDialogs, LanguagePropertiesNeedAnOutputFileAndKeepTheirOwnOutputOnAChange) {
  StartOnDemo();
  const std::string englishOutput = Language(kEnglish)->outputFile;
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CModulePropertiesDlg>(d);
    EXPECT_TRUE(dialog->SelectLanguage(kEnglish));
    wxListEvent activated(wxEVT_LIST_ITEM_ACTIVATED, dialog->List()->GetId());
    activated.SetEventObject(dialog->List());
    dialog->List()->GetEventHandler()->ProcessEvent(activated);  // double click: properties
    EXPECT_EQ(Column(dialog->List(), 0), (std::vector<std::string>{kFrench, kGerman}));
    return Press(d);
  });
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CLanguagePropertiesDlg>(d);
    EXPECT_EQ(FromWx(dialog->LanguageCombo()->GetStringSelection()), kEnglish);
    const std::string output = FromWx(dialog->OutputEdit()->GetValue());
    // A language that had an output file keeps it when renamed.
    dialog->SelectLanguage(kFrench);
    EXPECT_EQ(FromWx(dialog->OutputEdit()->GetValue()), output);
    dialog->OutputEdit()->ChangeValue("  ");
    EXPECT_EQ(Press(d), 0);
    dialog->RunCommand(kIdDefaultOutputFile);
    return Press(d);
  });
  Run(kIdModuleProperties);
  ASSERT_EQ(answers.Messages(), (std::vector<std::string>{"Debe introducir un fichero de salida"}));
  EXPECT_TRUE(answers.shown[0].IsExclamation());
  EXPECT_EQ(Language(kEnglish), nullptr);
  ASSERT_NE(Language(kFrench), nullptr);
  EXPECT_NE(Language(kFrench)->outputFile, englishOutput);
  EXPECT_EQ(Language(kFrench)->outputFile, (folder_ / kFrench / "demo32.dll").string());
  EXPECT_EQ(Text(kFrench, "ST_N_1 (1)"), "Notes") << "the translations stay with the language";
}

TEST_F(UlkDialogs, DeletingALanguageAsksFirst) {
  StartOnDemo();
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CModulePropertiesDlg>(d);
    EXPECT_TRUE(dialog->SelectLanguage(kGerman));
    dialog->RunCommand(kIdDeleteLanguage);  // No
    EXPECT_EQ(dialog->List()->GetItemCount(), 2);
    dialog->RunCommand(kIdDeleteLanguage);  // Yes
    EXPECT_EQ(Column(dialog->List(), 0), (std::vector<std::string>{kEnglish}));
    EXPECT_EQ(FromWx(dialog->CountLine()->GetValue()), "El módulo tiene 1 idioma(s)");
    // Nothing selected: delete and properties are off, in the menu too.
    ListCtrlHelper(dialog->List()).DeselectAll();
    wxListEvent deselected(wxEVT_LIST_ITEM_DESELECTED, dialog->List()->GetId());
    dialog->List()->GetEventHandler()->ProcessEvent(deselected);
    EXPECT_FALSE(dialog->IsCommandEnabled(kIdDeleteLanguage));
    EXPECT_FALSE(dialog->IsCommandEnabled(kIdLanguageProperties));
    EXPECT_TRUE(dialog->IsCommandEnabled(kIdAddLanguage));
    auto* toolbar = dynamic_cast<wxToolBar*>(dialog->FindWindow(kTbModuleLanguages));
    EXPECT_NE(toolbar, nullptr);
    if (toolbar) {
      EXPECT_FALSE(toolbar->GetToolEnabled(WxId(kIdDeleteLanguage)));
    }
    return wxID_CANCEL;
  });
  answers.Answer(wxID_NO);
  answers.Answer(wxID_YES);
  Run(kIdModuleProperties);
  const std::vector<std::string> messages = answers.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "¿Desea borrar el idioma \"Alemán (Alemania)\"?");
  EXPECT_TRUE(answers.shown[0].IsQuestion());
  EXPECT_NE(Language(kGerman), nullptr);  // cancelled
}

TEST_F(UlkDialogs, AModuleMovedAwayKeepsItsDialogAndAPathOfAnotherModuleIsRefused) {
  StartOnDemo();
  std::filesystem::create_directories(folder_ / "nuevo");
  std::filesystem::rename(folder_ / "demo32.dll", folder_ / "nuevo" / "demo32.dll");
  ModalAnswers answers;
  std::string fileDialogTitle;
  std::string fileDialogFolder;
  answers.Answer([&](wxDialog* d) {
    auto* dialog = As<CModulePropertiesDlg>(d);
    dialog->RunCommand(kIdChangePath);
    dialog->SetPath((folder_ / "demo64.dll").string());  // another module's
    EXPECT_EQ(FromWx(dialog->PathEdit()->GetValue()), (folder_ / "demo32.dll").string());
    dialog->SetPath((folder_ / "nuevo" / "demo32.dll").string());
    return Press(d);
  });
  answers.Answer([&](wxDialog* d) {
    auto* files = dynamic_cast<wxFileDialog*>(d);
    EXPECT_NE(files, nullptr);
    if (files) {
      fileDialogTitle = FromWx(files->GetMessage());
      fileDialogFolder = FromWx(files->GetDirectory());
      EXPECT_TRUE(files->HasFlag(wxFD_FILE_MUST_EXIST));
    }
    return wxID_CANCEL;
  });
  Run(kIdModuleProperties);
  EXPECT_EQ(fileDialogTitle, "Establecer path del módulo");
  EXPECT_EQ(fileDialogFolder, folder_.string());
  ASSERT_EQ(answers.Messages(),
            (std::vector<std::string>{"El módulo \"demo64.dll\" ya está en el proyecto"}));
  EXPECT_TRUE(answers.shown[1].IsExclamation());
  EXPECT_EQ(firstModule().path, (folder_ / "nuevo" / "demo32.dll").string());
}

// ---- User languages ------------------------------------------------------

TEST_F(UlkDialogs, AUserLanguageAddedTwiceShowsOnce) {
  StartOnDemo();
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CUserLanguagesDlg>(d);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Idiomas de usuario");
    EXPECT_EQ(dialog->List()->GetItemCount(), 0);
    EXPECT_EQ(FromWx(dialog->CountLine()->GetValue()), "0 idioma(s)");
    dialog->RunCommand(kIdNewLanguage);
    dialog->RunCommand(kIdNewLanguage);
    EXPECT_EQ(Column(dialog->List(), 0), (std::vector<std::string>{"Klingon"}));
    EXPECT_EQ(FromWx(dialog->CountLine()->GetValue()), "1 idioma(s)");
    EXPECT_EQ(ListCtrlHelper(dialog->List()).FirstSelected(), 0);
    return Press(d);
  });
  for (int i = 0; i < 2; ++i) {
    answers.Answer([](wxDialog* d) {
      auto* dialog = As<CNewLanguageDlg>(d);
      dialog->NameEdit()->ChangeValue(" Klingon ");
      return Press(d);
    });
  }
  Run(kIdUserLanguages);
  EXPECT_TRUE(answers.Messages().empty());
  EXPECT_EQ(UserLanguages(), (std::vector<std::string>{"Klingon"}));
  // Kept in the settings file, group "Languages".
  std::string settings;
  ASSERT_EQ(ReadWholeFile((folder_ / "ulk.conf").string(), settings), 0);
  EXPECT_NE(settings.find("[Languages]"), std::string::npos) << settings;
}

TEST_F(UlkDialogs, ASystemLanguageCannotBeDeletedAndAUserLanguageCan) {
  StartOnDemo();
  {
    UserLanguageStore store;
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.Add("Élfico"));
  }
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CUserLanguagesDlg>(d);
    auto* toolbar = dynamic_cast<wxToolBar*>(dialog->FindWindow(kTbUserLanguages));
    EXPECT_NE(toolbar, nullptr);
    dialog->RunCommand(kIdShowIsoLanguages);
    EXPECT_TRUE(dialog->ShowsSystemLanguages());
    if (toolbar) {
      EXPECT_TRUE(toolbar->GetToolState(WxId(kIdShowIsoLanguages)));
    }
    EXPECT_GT(dialog->List()->GetItemCount(), 50);
    // The previous selection stays selected.
    EXPECT_EQ(FromWx(dialog->List()->GetItemText(ListCtrlHelper(dialog->List()).FirstSelected())),
              "Élfico");
    EXPECT_TRUE(dialog->SelectName(kGerman));
    EXPECT_FALSE(dialog->IsCommandEnabled(kIdDeleteUserLanguage));
    if (toolbar) {
      EXPECT_FALSE(toolbar->GetToolEnabled(WxId(kIdDeleteUserLanguage)));
    }
    dialog->RunCommand(kIdDeleteUserLanguage);  // nothing: no question
    wxListEvent activated(wxEVT_LIST_ITEM_ACTIVATED, dialog->List()->GetId());
    dialog->List()->GetEventHandler()->ProcessEvent(activated);  // nor by double click
    const long rows = dialog->List()->GetItemCount();
    EXPECT_TRUE(dialog->SelectName("Élfico"));
    EXPECT_TRUE(dialog->IsCommandEnabled(kIdDeleteUserLanguage));
    dialog->List()->GetEventHandler()->ProcessEvent(activated);  // Yes
    EXPECT_EQ(dialog->List()->GetItemCount(), rows - 1);
    EXPECT_EQ(ListCtrlHelper(dialog->List()).FirstSelected(), 0);
    return Press(d);
  });
  answers.Answer(wxID_YES);
  Run(kIdUserLanguages);
  ASSERT_EQ(answers.Messages(),
            (std::vector<std::string>{"¿Desea borrar el idioma de usuario Élfico?"}));
  EXPECT_TRUE(UserLanguages().empty());
}

TEST_F(UlkDialogs, ANewLanguageNeedsANameTheSettingsCanKeep) {
  StartOnDemo();
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CNewLanguageDlg>(d);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Nuevo idioma");
    dialog->NameEdit()->ChangeValue("   ");
    EXPECT_EQ(Press(d), 0);
    dialog->NameEdit()->ChangeValue("Inglés/EEUU");
    EXPECT_EQ(Press(d), 0);
    return wxID_CANCEL;
  });
  EXPECT_EQ(RunNewLanguage(frame()), "");
  const std::vector<std::string> messages = answers.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "Introduzca el nombre del idioma");
  EXPECT_TRUE(answers.shown[0].IsExclamation());
  EXPECT_EQ(messages[1], "Error actualizando el registro del sistema");
  EXPECT_TRUE(answers.shown[1].IsError());
  EXPECT_TRUE(UserLanguages().empty());
}

TEST_F(UlkDialogs, SettingsThatCannotBeWrittenKeepNoNewLanguage) {
  StartOnDemo();
  // The settings file's folder replaced by a file: nothing can be written.
  wxLogNull quiet;  // the settings' own complaint when they are dropped
  const std::filesystem::path blocked = folder_ / "bloqueado";
  std::filesystem::create_directories(blocked);
  wxFileConfig config("ULK", "Kelvanter", ToWx((blocked / "sub" / "ulk.conf").string()), wxString(),
                      wxCONFIG_USE_LOCAL_FILE);
  UserLanguageStore store(&config);
  ASSERT_TRUE(store.Open());
  { std::ofstream((blocked / "sub").string()) << "un archivo"; }
  EXPECT_FALSE(store.Add("Klingon"));
  EXPECT_TRUE(store.Names().empty());
  ASSERT_TRUE(store.Open());
  EXPECT_TRUE(store.Names().empty()) << "what could not be written is not kept either";
}

// The errors wx reports through its log while it is installed.
class LoggedErrors : public wxLog {
 public:
  LoggedErrors() : previous_(wxLog::SetActiveTarget(this)) {}
  ~LoggedErrors() override { wxLog::SetActiveTarget(previous_); }
  std::vector<std::string> errors;

 protected:
  void DoLogTextAtLevel(wxLogLevel level, const wxString& text) override {
    if (level <= wxLOG_Error) errors.push_back(FromWx(text));
  }

 private:
  wxLog* previous_;
};

// A new account: a home with nothing in it and no XDG_CONFIG_HOME. The
// settings go to ~/.config/ULK/ULK.conf, its folders made on the way, and
// the next start finds them.
TEST_F(UlkDialogs, OnANewAccountTheSettingsAreKeptInTheXdgConfigFolder) {
  const std::filesystem::path home = folder_ / "casa";
  std::filesystem::create_directories(home);
  testing::ScopedEnv homeVariable("HOME", home.string());
  testing::ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
  userSettings_ = true;
  LoggedErrors log;

  StartOnDemo();
  {
    UserLanguageStore store;
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.Add("Klingon"));
  }
  TheApp().Shutdown();
  started_ = false;
  EXPECT_TRUE(log.errors.empty()) << log.errors.front();

  const std::filesystem::path settings = home / ".config" / "ULK" / "ULK.conf";
  std::string text;
  ASSERT_EQ(ReadWholeFile(settings.string(), text), 0) << settings;
  EXPECT_NE(text.find("[Languages]"), std::string::npos) << text;
  EXPECT_NE(text.find((folder_ / "demo.ulk").string()), std::string::npos)
      << "the recent project: " << text;
  struct stat info {};
  ASSERT_EQ(::stat(settings.parent_path().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u) << "the settings folder is the user's alone";
  EXPECT_FALSE(std::filesystem::exists(home / ".ULK"));

  Start({});
  EXPECT_EQ(UserLanguages(), (std::vector<std::string>{"Klingon"}));
  ASSERT_EQ(TheApp().DocManager()->GetHistoryFilesCount(), 1u);
  EXPECT_EQ(FromWx(TheApp().DocManager()->GetHistoryFile(0)), (folder_ / "demo.ulk").string());
  EXPECT_TRUE(log.errors.empty()) << log.errors.front();
}

// ---- Dictionary ----------------------------------------------------------

class UlkDictionary : public UlkDialogs {
 protected:
  DictionaryComponent& Dictionary() { return *TheApp().Dictionary(); }
  // A dictionary made through the component: "Notas" and "Listo" known in
  // English (the second twice) and German.
  std::string MakeDictionary() {
    const std::string path = (folder_ / "términos.dic").string();
    EXPECT_TRUE(listView()->OpenDictionaryFile(path));
    EXPECT_TRUE(Dictionary().Set("ST", kSpanish, "Notas", kEnglish, "Notebook"));
    EXPECT_TRUE(Dictionary().Set("ST", kSpanish, "Listo", kEnglish, "Done"));
    EXPECT_TRUE(Dictionary().Set("ST", kSpanish, "Listo", kEnglish, "Finished"));
    EXPECT_TRUE(Dictionary().Set("ST", kSpanish, "Listo", kGerman, "Bereit"));
    return path;
  }
};

TEST_F(UlkDictionary, AFileThatIsNoDictionaryIsReported) {
  StartOnDemo();
  const std::string path = (folder_ / "falso.dic").string();
  { std::ofstream(path) << "esto no es un diccionario"; }
  ModalAnswers answers;
  EXPECT_FALSE(listView()->OpenDictionaryFile(path));
  ASSERT_EQ(answers.Messages(),
            (std::vector<std::string>{"Error abriendo/creando el diccionario:\n\n[" + path + "]"}));
  EXPECT_TRUE(answers.shown[0].IsError());
  EXPECT_FALSE(Enabled(kIdCloseDictionary));
  Pump();
  EXPECT_EQ(StatusText(2), "Ningún diccionario cargado");
}

TEST_F(UlkDictionary, TheOpenDialogTakesANewNameInSpanish) {
  StartOnDemo();
  ModalAnswers answers;
  answers.Answer([](wxDialog* d) {
    auto* files = dynamic_cast<wxFileDialog*>(d);
    EXPECT_NE(files, nullptr);
    if (files) {
      EXPECT_EQ(FromWx(files->GetMessage()), "Crear o abrir un diccionario");
      EXPECT_TRUE(files->HasFlag(wxFD_SAVE));
      EXPECT_FALSE(files->HasFlag(wxFD_OVERWRITE_PROMPT));
      EXPECT_EQ(FromWx(files->GetWildcard()),
                "Diccionarios (*.dic)|*.dic|Todos los archivos (*.*)|*.*");
    }
    return wxID_CANCEL;
  });
  Run(kIdOpenDictionary);
  EXPECT_EQ(answers.shown.size(), 1u);
}

TEST_F(UlkDictionary, TranslatingSelectedRowsFromTheTreeTakesOneUndoStep) {
  StartOnDemo();
  const std::string path = MakeDictionary();
  Pump();
  EXPECT_EQ(StatusText(2), "términos.dic");
  EXPECT_TRUE(Enabled(kIdTranslateSelected));
  EXPECT_TRUE(Enabled(kIdAddSelected));
  SelectRows({listView()->FindRowOfKey("ST_N_1 (1)"), listView()->FindRowOfKey("ST_N_1 (5)"),
              listView()->FindRowOfKey("ST_N_2 (0)")});
  tree()->SetFocus();
  Run(kIdTranslateSelected);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (1)"), "Notebook");
  EXPECT_EQ(firstModule().DefaultLanguage()->FindEntry("ST_N_1 (1)")->status, kStatusDictionaryOne);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "Done");
  EXPECT_EQ(Text(kGerman, "ST_N_1 (5)"), "Bereit");
  EXPECT_EQ(firstModule().DefaultLanguage()->FindEntry("ST_N_1 (5)")->status,
            kStatusDictionarySeveral);
  EXPECT_EQ(Text(kEnglish, "ST_N_2 (0)"), "Find: %s");  // unknown: unchanged
  EXPECT_EQ(testing::UlkWindowTest::Cell(listView()->FindRowOfKey("ST_N_1 (1)"), 2), "Notebook");
  EXPECT_FALSE(frame()->Progress().gauge()->IsShown());
  EXPECT_TRUE(doc()->IsModified());
  Run(kIdEditUndo);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (1)"), "Notes");
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "Ready");
  EXPECT_FALSE(doc()->CanUndo());

  Run(kIdCloseDictionary);
  Pump();
  EXPECT_EQ(StatusText(2), "Ningún diccionario cargado");
  EXPECT_FALSE(Enabled(kIdTranslateSelected));
  (void)path;
}

TEST_F(UlkDictionary, AddingSelectedRowsFeedsTheDictionary) {
  StartOnDemo();
  MakeDictionary();
  SelectRows({listView()->FindRowOfKey("MN_N_1 (1)"), listView()->FindRowOfKey("ST_N_2 (0)")});
  ModalAnswers answers;
  Run(kIdAddSelected);
  EXPECT_TRUE(answers.shown.empty());
  EXPECT_FALSE(doc()->IsModified());
  ASSERT_TRUE(Dictionary().Find("ST", kSpanish, "Buscar: %s"));
  EXPECT_EQ(Dictionary().GetFirst(kEnglish), "Find: %s");
  // Menu texts also without their markers and shortcuts.
  ASSERT_TRUE(Dictionary().Find("MN", kSpanish, "Nuevo"));
  EXPECT_EQ(Dictionary().GetFirst(kEnglish), "New");
}

TEST_F(UlkDictionary, AReadOnlyDictionaryOpensButTakesNothing) {
  StartOnDemo();
  const std::string path = MakeDictionary();
  Run(kIdCloseDictionary);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  ModalAnswers answers;
  EXPECT_TRUE(listView()->OpenDictionaryFile(path));
  EXPECT_TRUE(answers.shown.empty());
  Pump();
  EXPECT_EQ(StatusText(2), "términos.dic");
  SelectRows({listView()->FindRowOfKey("ST_N_1 (1)")});
  EXPECT_TRUE(Enabled(kIdTranslateSelected));
  EXPECT_FALSE(Enabled(kIdAddSelected));
  Run(kIdTranslateSelected);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (1)"), "Notebook");
}

// ---- Preview -------------------------------------------------------------

TEST_F(UlkDialogs, PreviewCommandsNeedADialogOrMenuKey) {
  StartOnDemo();
  SelectKey("VS_N_1 (0)");
  EXPECT_FALSE(Enabled(kIdShowOriginal));
  EXPECT_FALSE(Enabled(kIdShowTranslated));
  // No row selected: row 0, a string, is no fallback.
  SelectRows({});
  EXPECT_FALSE(Enabled(kIdShowOriginal));
  SelectRows({0, 1});
  EXPECT_FALSE(Enabled(kIdShowOriginal));
  // Under a dialog's node row 0 is the dialog's.
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeDialog, "DL_N_100"));
  Pump();
  SelectRows({});
  EXPECT_EQ(listView()->PreviewKey(), std::optional<std::string>("DL_N_100"));
  EXPECT_TRUE(Enabled(kIdShowOriginal));
  EXPECT_TRUE(Enabled(kIdShowTranslated));
  // One language: only the original.
  firstModule().RemoveLanguage(kEnglish);
  firstModule().RemoveLanguage(kGerman);
  EXPECT_TRUE(Enabled(kIdShowOriginal));
  EXPECT_FALSE(Enabled(kIdShowTranslated));
}

TEST_F(UlkDialogs, TheTranslatedPreviewOfThreeLanguagesAsksForTheLanguage) {
  StartOnDemo();
  SelectKey("DL_N_100 (1)");
  ModalAnswers answers;
  std::vector<std::string> offered;
  answers.Answer([&](wxDialog* d) {
    auto* dialog = As<CLanguageSelectDlg>(d);
    EXPECT_EQ(FromWx(dialog->GetTitle()), "Selección de lenguaje");
    offered = Column(dialog->List(), 0);
    EXPECT_EQ(ListCtrlHelper(dialog->List()).FirstSelected(), 0);
    return wxID_CANCEL;
  });
  Run(kIdShowTranslated);
  EXPECT_EQ(offered, (std::vector<std::string>{kEnglish, kGerman}));
  ASSERT_EQ(answers.shown.size(), 1u);  // Cancel: nothing else is shown

  // Chosen, the translated dialog is shown.
  answers.Answer([](wxDialog* d) {
    auto* dialog = As<CLanguageSelectDlg>(d);
    ListCtrlHelper(dialog->List()).SelectRow(1);
    return Press(d);
  });
  answers.Answer([](wxDialog* d) {
    EXPECT_NE(dynamic_cast<DialogHost*>(d), nullptr);
    return wxID_CANCEL;
  });
  Run(kIdShowTranslated);
  EXPECT_EQ(answers.shown.size(), 3u);
  EXPECT_TRUE(answers.Messages().empty());
}

TEST_F(UlkDialogs, AModuleMovedAwayIsReportedByBothPreviews) {
  StartOnDemo();
  std::filesystem::rename(folder_ / "demo32.dll", folder_ / "movido.dll");
  SelectKey("MN_N_1 (1)");
  ModalAnswers answers;
  Run(kIdShowTranslated);
  Run(kIdShowOriginal);
  const std::vector<std::string> messages = answers.Messages();
  ASSERT_EQ(messages.size(), 2u);
  const std::string path = firstModule().path;
  EXPECT_EQ(messages[0],
            "No se ha podido abrir la librería\n\n[" + path + "]\n\nasociada al módulo actual");
  EXPECT_EQ(messages[1].rfind("Error mostrando el recurso\nNo se puede abrir la librería\n", 0), 0u)
      << messages[1];
  EXPECT_NE(messages[1].find(path), std::string::npos) << messages[1];
  EXPECT_TRUE(answers.shown[0].IsError());
  EXPECT_TRUE(answers.shown[1].IsError());
  EXPECT_FALSE(doc()->IsModified());
}

TEST_F(UlkDialogs, ReturnOnADialogNodeShowsItsPreview) {
  StartOnDemo();
  tree()->ExpandAll();
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeDialog, "DL_N_200"));
  Pump();
  ModalAnswers answers;
  wxTreeEvent activated(wxEVT_TREE_ITEM_ACTIVATED, tree(), tree()->GetSelection());
  tree()->GetEventHandler()->ProcessEvent(activated);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_NE(answers.shown[0].className, "wxMessageDialog");
  // With Ctrl held: the translated dialog, after the choice of language.
  treeView()->Activated(true);
  ASSERT_EQ(answers.shown.size(), 2u);
  EXPECT_EQ(answers.shown[1].templateId, kDlgLanguageSelect);
  // A kind node shows nothing.
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeDialogs));
  tree()->GetEventHandler()->ProcessEvent(activated);
  treeView()->Activated(false);
  EXPECT_EQ(answers.shown.size(), 2u);
}

// ---- Exchange with translators' tools, pseudo-translation, checks --------

// Answers the language choice with `language`.
ModalAnswers::Action ChooseLanguage(const char* language) {
  return [language](wxDialog* d) {
    auto* dialog = As<CLanguageSelectDlg>(d);
    const std::vector<std::string> names = Column(dialog->List(), 0);
    const auto at = std::find(names.begin(), names.end(), language);
    EXPECT_NE(at, names.end()) << language;
    ListCtrlHelper(dialog->List()).DeselectAll();
    ListCtrlHelper(dialog->List()).SelectRow(at - names.begin());
    return Press(d);
  };
}

TEST_F(UlkDialogs, ExportingALanguageAsksForItAndItsFileAndReports) {
  StartOnDemo();
  EXPECT_TRUE(Enabled(kIdExportLanguage));
  ModalAnswers answers;
  answers.Answer(ChooseLanguage(kGerman));
  answers.Answer([&](wxDialog* d) {
    auto* files = dynamic_cast<wxFileDialog*>(d);
    EXPECT_NE(files, nullptr);
    if (files) {
      EXPECT_EQ(FromWx(files->GetMessage()), "Exportar idioma para traducir");
      EXPECT_TRUE(files->HasFlag(wxFD_SAVE));
      EXPECT_TRUE(files->HasFlag(wxFD_OVERWRITE_PROMPT));
      EXPECT_EQ(FromWx(files->GetFilename()), "demo32.de-DE.xlf");
      EXPECT_EQ(FromWx(files->GetDirectory()), folder_.string());
      EXPECT_EQ(FromWx(files->GetWildcard()),
                "XLIFF 1.2 (*.xlf;*.xliff)|*.xlf;*.xliff|PO de gettext (*.po)|*.po");
    }
    return wxID_CANCEL;
  });
  Run(kIdExportLanguage);
  ASSERT_EQ(answers.shown.size(), 2u);
  EXPECT_EQ(answers.shown[0].templateId, kDlgLanguageSelect);

  const std::string path = (folder_ / "de.po").string();
  EXPECT_TRUE(listView()->ExportLanguageTo(kGerman, path));
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_EQ(answers.Messages()[0].rfind("Exportadas ", 0), 0u) << answers.Messages()[0];
  EXPECT_NE(answers.Messages()[0].find(path), std::string::npos);
  EXPECT_TRUE(answers.shown[2].IsInformation());
  std::string written;
  ASSERT_EQ(ReadWholeFile(path, written), 0);
  EXPECT_NE(written.find("msgctxt \"ST_N_1 (5)\"\nmsgid \"Listo\""), std::string::npos);
  EXPECT_FALSE(doc()->IsModified());

  // A folder that does not exist: the core's reason, as an error.
  EXPECT_FALSE(listView()->ExportLanguageTo(kGerman, (folder_ / "no" / "de.po").string()));
  ASSERT_EQ(answers.Messages().size(), 2u);
  EXPECT_EQ(answers.Messages()[1].rfind("Error exportando el idioma:\n\n", 0), 0u);
  EXPECT_TRUE(answers.shown[3].IsError());
}

TEST_F(UlkDialogs, ImportingALanguageIsOneUndoStepAndReportsWhatItLeft) {
  StartOnDemo();
  const std::string before = Text(kEnglish, "ST_N_1 (1)");
  const std::string po = (folder_ / "en.po").string();
  {
    std::ofstream(po) << "msgid \"\"\nmsgstr \"\"\n"
                         "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                         "\"Language: en-US\\n\"\n\n"
                         "msgctxt \"ST_N_1 (5)\"\nmsgid \"Listo\"\nmsgstr \"All set\"\n\n"
                         "# ¿Group o Category?\n#, fuzzy\nmsgctxt \"ST_N_1 (4)\"\n"
                         "msgid \"Título\\tFecha\\tCategoría\"\nmsgstr \"Title\\tDate\\tGroup\"\n\n"
                         "msgctxt \"ST_N_1 (1)\"\nmsgid \"Otro original\"\nmsgstr \"Stale\"\n\n"
                         "msgctxt \"ST_N_9 (9)\"\nmsgid \"Nada\"\nmsgstr \"Nothing\"\n";
  }
  SelectKey("ST_N_1 (5)");
  ModalAnswers answers;
  answers.Answer(ChooseLanguage(kEnglish));
  answers.Answer([&](wxDialog* d) {
    auto* files = dynamic_cast<wxFileDialog*>(d);
    EXPECT_NE(files, nullptr);
    if (files) {
      EXPECT_EQ(FromWx(files->GetMessage()), "Importar idioma traducido");
      EXPECT_TRUE(files->HasFlag(wxFD_OPEN));
      EXPECT_TRUE(files->HasFlag(wxFD_FILE_MUST_EXIST));
    }
    return wxID_CANCEL;
  });
  Run(kIdImportLanguage);
  ASSERT_EQ(answers.shown.size(), 2u);

  EXPECT_TRUE(listView()->ImportLanguageFrom(kEnglish, po));
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "All set");
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (1)"), before);
  EXPECT_EQ(testing::UlkWindowTest::Cell(listView()->FindRowOfKey("ST_N_1 (5)"), 2), "All set");
  ASSERT_EQ(answers.Messages().size(), 1u);
  const std::string report = answers.Messages()[0];
  EXPECT_EQ(report.rfind("Importación terminada:\n\nUnidades leídas: 4\nAplicadas: 1 (con "
                         "cambios: 2)\nPor revisar: 1\nOmitidas: 0\nDesfasadas: 1\n"
                         "Desconocidas: 1",
                         0),
            0u)
      << report;
  const TextEntry* toReview = Language(kEnglish)->FindEntry("ST_N_1 (4)");
  ASSERT_NE(toReview, nullptr);
  EXPECT_EQ(toReview->text, "Title\\tDate\\tGroup");
  EXPECT_EQ(toReview->review, kReviewNeeded);
  EXPECT_EQ(toReview->note, "¿Group o Category?");
  EXPECT_NE(report.find("  ST_N_1 (1)"), std::string::npos);
  EXPECT_NE(report.find("  ST_N_9 (9)"), std::string::npos);
  EXPECT_TRUE(answers.shown[2].IsExclamation());
  EXPECT_TRUE(doc()->IsModified());
  Run(kIdEditUndo);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "Ready");
  TextEntry before4 = TextEntry::Blank("ST_N_1 (4)");
  before4.text = "Title\\tDate\\tCategory";
  EXPECT_EQ(*Language(kEnglish)->FindEntry("ST_N_1 (4)"), before4);
  EXPECT_FALSE(doc()->CanUndo());

  // A file with a syntax error changes nothing and names its line.
  const std::string bad = (folder_ / "malo.po").string();
  { std::ofstream(bad) << "msgid \"\"\nmsgstr \"\"\n\nmsgctxt \"ST_N_1 (5)\"\nmsgid Listo\n"; }
  EXPECT_FALSE(listView()->ImportLanguageFrom(kEnglish, bad));
  ASSERT_EQ(answers.Messages().size(), 2u);
  EXPECT_EQ(answers.Messages()[1].rfind("No se ha importado nada:\n\nmalo.po: línea 5", 0), 0u)
      << answers.Messages()[1];
  EXPECT_TRUE(answers.shown[3].IsError());
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "Ready");
  EXPECT_FALSE(doc()->CanUndo());
}

TEST_F(UlkDialogs, PseudoTranslationAsksFirstAndIsOneUndoStep) {
  StartOnDemo();
  ModalAnswers answers;
  answers.Answer(ChooseLanguage(kEnglish));
  answers.Answer(wxID_NO);
  Run(kIdPseudoTranslate);
  ASSERT_EQ(answers.Messages().size(), 1u);
  EXPECT_NE(answers.Messages()[0].find("del idioma \"" + std::string(kEnglish) + "\""),
            std::string::npos)
      << answers.Messages()[0];
  EXPECT_TRUE(answers.shown[1].IsQuestion());
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "Ready");

  answers.Answer(ChooseLanguage(kEnglish));
  answers.Answer(wxID_YES);
  Run(kIdPseudoTranslate);
  const std::string pseudo = Text(kEnglish, "ST_N_1 (5)");
  EXPECT_EQ(pseudo.front(), '[');
  EXPECT_EQ(pseudo.back(), ']');
  EXPECT_EQ(Text(kEnglish, "ST_N_2 (0)").find("%s") != std::string::npos, true);
  EXPECT_EQ(Text(kGerman, "ST_N_1 (5)"), "Bereit");
  EXPECT_EQ(testing::UlkWindowTest::Cell(listView()->FindRowOfKey("ST_N_1 (5)"), 2), pseudo);
  EXPECT_EQ(answers.Messages().size(), 2u);  // no message after it
  EXPECT_TRUE(doc()->IsModified());
  Run(kIdEditUndo);
  EXPECT_EQ(Text(kEnglish, "ST_N_1 (5)"), "Ready");
  EXPECT_FALSE(doc()->CanUndo());
}

TEST_F(UlkDialogs, TheFindingsOfACheckLeadToTheirRows) {
  StartOnDemo();
  Language(kEnglish)->SetEntry("ST_N_2 (0)", "Find:");  // the "%s" lost
  EXPECT_TRUE(Enabled(kIdCheckProject));
  EXPECT_TRUE(Enabled(kIdCheckModule));
  Run(kIdCheckProject);
  CFindingsDlg* findings = frame()->FindingsWindow();
  ASSERT_NE(findings, nullptr);
  EXPECT_TRUE(findings->IsShown());
  EXPECT_FALSE(findings->IsModal());
  EXPECT_EQ(FromWx(findings->GetTitle()), "Comprobación de traducciones");
  const CheckResult& result = findings->Result();
  ASSERT_FALSE(result.findings.empty());
  EXPECT_EQ(findings->List()->GetItemCount(), static_cast<int>(result.findings.size()));
  EXPECT_EQ(FromWx(findings->CountLine()->GetValue()),
            std::to_string(result.findings.size()) + " problema(s) en " +
                std::to_string(result.checked) + " texto(s) revisados");
  long lost = -1;
  for (std::size_t i = 0; i < result.findings.size(); ++i) {
    if (result.findings[i].key == "ST_N_2 (0)" && result.findings[i].check == CheckKind::kFormat) {
      lost = static_cast<long>(i);
    }
  }
  ASSERT_GE(lost, 0);
  EXPECT_EQ(FromWx(findings->List()->GetItemText(lost, 2)), "ST_N_2 (0)");
  // The pane under the list shows the selected finding whole.
  ListCtrlHelper(findings->List()).SelectRow(lost);
  Pump();
  EXPECT_EQ(FromWx(findings->WholeText()->GetValue()),
            FindingText(result.findings[static_cast<std::size_t>(lost)]));

  // From a dialog node of the other module, the finding's row is found.
  tree()->ExpandAll();
  ASSERT_TRUE(treeView()->SelectNode(doc()->GetProject().modules.back().id));
  Pump();
  findings->GoToRow(lost);
  Pump();
  EXPECT_EQ(treeView()->GetSelectedModule(), &firstModule());
  EXPECT_EQ(listView()->SelectedKeys(), (std::vector<std::string>{"ST_N_2 (0)"}));
  // Return in the list (the default button) does the same.
  ASSERT_TRUE(treeView()->SelectNode(firstModule().id, kNodeDialog, "DL_N_200"));
  Pump();
  ListCtrlHelper(findings->List()).SelectRow(lost);
  ModalAnswers answers;
  EXPECT_EQ(Press(findings), 0);  // stays open
  EXPECT_EQ(listView()->SelectedKeys(), (std::vector<std::string>{"ST_N_2 (0)"}));
  EXPECT_TRUE(answers.shown.empty());

  // A module gone since the check is reported.
  doc()->GetProject().modules.pop_front();
  doc()->UpdateAllViews();
  Pump();
  findings->GoToRow(lost);
  ASSERT_EQ(answers.Messages(),
            (std::vector<std::string>{"El módulo \"demo32.dll\" ya no está en el proyecto"}));
  EXPECT_TRUE(answers.shown[0].IsExclamation());

  // The module's own check replaces the list.
  ASSERT_TRUE(treeView()->SelectNode(doc()->GetProject().modules.front().id));
  Pump();
  Run(kIdCheckModule);
  EXPECT_EQ(frame()->FindingsWindow(), findings);
  for (const Finding& finding : findings->Result().findings) {
    EXPECT_EQ(finding.moduleFile, "demo64.dll");
  }
  findings->Close();
}

}  // namespace
}  // namespace ulk
