// Pictures of the administrator's windows on a dictionary of the bundled
// example's texts: the main window and its open "Diccionario" menu, the text
// dialog, the languages dialog, the about box, and the toolkit's find and
// file dialogs as it shows them.
#include <fstream>

#include <wx/choice.h>
#include <wx/fdrepdlg.h>
#include <wx/filedlg.h>

#include "glossmith/db/dictionary_store.h"
#include "glossmith/ui/glossmith_dlg.h"
#include "glossmith/ui/glossmith_ids.h"
#include "uikit/striped_list.h"
#include "tests/gui/gui_harness.h"
#include "tests/gui/screenshot.h"
#include "tests/test_support.h"
#include "uikit/command_id.h"

namespace ulk::glossmith {
namespace {

struct Entry {
  const char* type;
  const char* spanish;
  const char* english;
  const char* german;
};

// The example's texts and their translations.
const Entry kEntries[] = {
    {"MN", "&Archivo", "&File", "&Datei"},
    {"MN", "&Nuevo\\tCtrl+N", "&New\\tCtrl+N", "&Neu\\tStrg+N"},
    {"MN", "&Abrir...\\tCtrl+A", "&Open...\\tCtrl+O", "Ö&ffnen...\\tStrg+O"},
    {"MN", "&Guardar\\tCtrl+G", "&Save\\tCtrl+S", "&Speichern\\tStrg+S"},
    {"MN", "&Salir", "E&xit", "&Beenden"},
    {"MN", "&Edición", "&Edit", "&Bearbeiten"},
    {"MN", "Cor&tar\\tCtrl+X", "Cu&t\\tCtrl+X", "&Ausschneiden\\tStrg+X"},
    {"MN", "&Copiar\\tCtrl+C", "&Copy\\tCtrl+C", "&Kopieren\\tStrg+C"},
    {"MN", "&Pegar\\tCtrl+V", "&Paste\\tCtrl+V", "&Einfügen\\tStrg+V"},
    {"MN", "&Buscar...\\tCtrl+B", "&Find...\\tCtrl+F", "&Suchen...\\tStrg+F"},
    {"MN", "A&yuda", "&Help", "&Hilfe"},
    {"MN", "&Acerca de Notas...", "&About Notes...", "Ü&ber Notizen..."},
    {"DL", "Acerca de Notas", "About Notes", "Über Notizen"},
    {"DL", "Notas, versión 1.0", "Notes, version 1.0", "Notizen, Version 1.0"},
    {"DL", "Un cuaderno de notas pequeño y rápido.", "A small, fast notebook.",
     "Ein kleines, schnelles Notizbuch."},
    {"DL", "Aceptar", "OK", "OK"},
    {"DL", "Cancelar", "Cancel", "Abbrechen"},
    {"DL", "Nueva nota", "New note", "Neue Notiz"},
    {"DL", "&Título:", "&Title:", "&Titel:"},
    {"DL", "&Categoría:", "&Category:", "&Kategorie:"},
    {"ST", "Notas", "Notes", "Notizen"},
    {"ST", "¿Desea guardar los cambios de la nota «%s»?", "Save the changes to note \"%s\"?",
     "Änderungen an der Notiz „%s“ speichern?"},
    {"ST", "No se puede abrir el archivo:\\n%s", "The file cannot be opened:\\n%s",
     "Die Datei kann nicht geöffnet werden:\\n%s"},
    {"ST", "Listo", "Ready", "Bereit"},
    {"ST", "Buscar: %s", "Find: %s", "Suchen: %s"},
    {"ST", "No se ha encontrado «%s».", "\"%s\" was not found.", "„%s“ wurde nicht gefunden."},
    {"VS", "Ejemplo de ULK", "ULK example", "ULK-Beispiel"},
    {"VS", "Notas", "Notes", "Notizen"},
};

void MakeDictionary(const std::string& path) {
  DictionaryConnection connection;
  DictionaryStore store(connection);
  ASSERT_TRUE(OpenDictionary(connection, store, path).ok);
  const std::string spanish = *store.AddLanguage("Español");
  const std::string english = *store.AddLanguage("English");
  const std::string german = *store.AddLanguage("Deutsch");
  for (const Entry& entry : kEntries) {
    const std::string es = *store.AddText(entry.type, spanish, entry.spanish);
    const std::string en = *store.AddText(entry.type, english, entry.english);
    const std::string de = *store.AddText(entry.type, german, entry.german);
    store.Link(es, en);
    store.PropagateLink(es, en);
    store.Link(es, de);
    store.PropagateLink(es, de);
  }
  // A second English word for one text.
  const std::string abrir = *store.FindText("MN", spanish, "&Abrir...\\tCtrl+A");
  const std::string load = *store.AddText("MN", english, "&Load...\\tCtrl+L");
  store.Link(abrir, load);
}

// The next modal dialog pictured with the whole screen (the toolkit's own
// dialogs, whose place the program does not know), then cancelled.
class ScreenModalScreenshot : public wxModalDialogHook {
 public:
  explicit ScreenModalScreenshot(std::string name) : name_(std::move(name)) { Register(); }
  ~ScreenModalScreenshot() override { Unregister(); }
  bool taken() const { return taken_; }

 protected:
  int Enter(wxDialog* dialog) override {
    timer_.Bind(wxEVT_TIMER, [this, dialog](wxTimerEvent&) {
      taken_ = testing::TakeScreenshot(name_);
      dialog->EndModal(wxID_CANCEL);
    });
    timer_.StartOnce(800);
    return wxID_NONE;
  }
  void Exit(wxDialog*) override {}

 private:
  std::string name_;
  bool taken_ = false;
  wxTimer timer_;
};

void Send(wxWindow* window, int command) {
  testing::SendCommand(window, WxId(command));
}

TEST(GlossmithScreenshots, Windows) {
  testing::TempDir dir("glossshots");
  const std::string path = dir / "notas.dic";
  MakeDictionary(path);
  auto* window = new CGlossmithDlg();
  window->SetSize(window->FromDIP(wxSize(1000, 640)));
  window->Show();
  window->OpenPath(path);
  // Spanish to English, on "&Abrir...".
  window->sourceSelector()->SetSelection(2);
  wxCommandEvent choose(wxEVT_CHOICE, kSourceSelector);
  choose.SetInt(2);
  window->sourceSelector()->GetEventHandler()->ProcessEvent(choose);
  StripedListCtrl* texts = window->textsList();
  for (long row = 0; row < texts->GetItemCount(); ++row) {
    if (FromWx(texts->OnGetItemText(row, 2)) == "&Abrir...\\tCtrl+A") {
      texts->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                          wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }
  }
  EXPECT_TRUE(testing::TakeScreenshot("glossmith_main", window));
  // "Diccionario", with the images of its commands.
  EXPECT_TRUE(testing::TakeOpenMenuScreenshot("glossmith_menu_diccionario", window, 0));

  {
    // A text of two lines.
    for (long row = 0; row < texts->GetItemCount(); ++row) {
      if (FromWx(texts->OnGetItemText(row, 2)) == "No se puede abrir el archivo:\\n%s") {
        texts->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                            wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
      }
    }
    testing::Pump();
    testing::ModalScreenshot shot("glossmith_text_dialog");
    Send(window, kCmdEditText);
    EXPECT_TRUE(shot.taken());
  }
  {
    testing::ModalScreenshot shot("glossmith_new_text");
    Send(window, kCmdAddText);
    EXPECT_TRUE(shot.taken());
  }
  {
    testing::ModalScreenshot shot("glossmith_languages", wxID_OK);
    Send(window, kCmdLanguages);
    EXPECT_TRUE(shot.taken());
  }
  {
    testing::ModalScreenshot shot("glossmith_about", wxID_OK);
    Send(window, kCmdAbout);
    EXPECT_TRUE(shot.taken());
  }
  Send(window, kCmdFind);
  ASSERT_NE(window->findDialog(), nullptr);
  EXPECT_TRUE(testing::TakeScreenshot("glossmith_find", window->findDialog()));
  window->findDialog()->Close();
  {
    ScreenModalScreenshot shot("glossmith_open");
    Send(window, kCmdOpen);
    EXPECT_TRUE(shot.taken());
  }
  {
    ScreenModalScreenshot shot("glossmith_export_tmx");
    Send(window, kCmdExportTmx);
    EXPECT_TRUE(shot.taken());
  }
  {
    // The lists after an import; the reports (message boxes of the
    // toolkit's, whose texts the window tests check) answered unseen.
    {
      std::ofstream more(dir / "mas.tmx");
      more << "<tmx version=\"1.4\"><header/><body><tu>"
              "<tuv xml:lang=\"Español\"><seg>&amp;Abrir...\tCtrl+A</seg></tuv>"
              "<tuv xml:lang=\"Français\"><seg>&amp;Ouvrir...\tCtrl+O</seg></tuv>"
              "</tu></body></tmx>";
    }
    testing::ModalAnswers answers;
    answers.Answer(wxID_OK);  // the export's report
    answers.Answer([&dir](wxDialog* dialog) {
      auto* files = dynamic_cast<wxFileDialog*>(dialog);
      if (!files) return wxID_CANCEL;
      files->SetDirectory(ToWx(dir.path().string()));
      files->SetFilename("mas.tmx");
      return wxID_OK;
    });
    ASSERT_TRUE(window->browser().ExportToTmx(dir / "notas.tmx"));
    Send(window, kCmdImportTmx);
    EXPECT_EQ(answers.Messages().size(), 2u);
    testing::Pump();
    EXPECT_TRUE(testing::TakeScreenshot("glossmith_after_tmx_import", window));
  }
  window->Destroy();
  testing::Pump();
}

}  // namespace
}  // namespace ulk::glossmith

int main(int argc, char** argv) {
  return ulk::testing::RunGuiTests<wxApp>(argc, argv);
}
