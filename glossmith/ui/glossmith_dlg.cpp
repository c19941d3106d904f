// The administrator's main window.
#include "glossmith/ui/glossmith_dlg.h"

#include <dlfcn.h>

#include <algorithm>

#include <wx/accel.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/progdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "glossmith/browser/text_types.h"
#include "glossmith/db/glossmith_messages.h"
#include "glossmith/ui/glossmith_art.h"
#include "glossmith/ui/glossmith_ids.h"
#include "glossmith/ui/languages_dlg.h"
#include "platform/files.h"
#include "uikit/about_box.h"
#include "uikit/command_id.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/message_box.h"
#include "uikit/striped_list.h"
#include "uikit/toolkit_dialog.h"
#include "uikit/wx_text.h"

namespace ulk::glossmith {
namespace {

// The lists of texts: even rows pale yellow, odd rows white.
StripedListCtrl* NewTextList(wxWindow* parent, wxWindowID id) {
  auto* list = new StripedListCtrl(parent, id,
                                   wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN);
  list->SetRowColours(wxColour(255, 255, 240), *wxWHITE);
  return list;
}

// Messages look as strings do, forms as dialogs.
const Art kTypeArt[kTextTypeCount] = {Art::kStringType,  Art::kDialogType, Art::kMenuType,
                                      Art::kVersionType, Art::kStringType, Art::kDialogType};

const char* const kFilterLabels[] = {"ST [Cadenas]",   "MN [Menús]",    "DL [Diálogos]",
                                     "VS [Versiones]", "MT [Mensajes]", "FM [Formularios]",
                                     "Mostrar &Todos"};

// A file dialog's filter from the string table's ("...||" ends it there);
// "*.*" would hide the files without an extension here.
wxString FileFilter(int id = kGlossFileFilter) {
  std::string filter = GlossmithMessageText(id);
  while (!filter.empty() && filter.back() == '|') filter.pop_back();
  const auto all = filter.rfind("|*.*");
  if (all != std::string::npos && all + 4 == filter.size()) filter.replace(all, 4, "|*");
  return ToWx(filter);
}

// The file dialog that takes a new name as well as an existing one is the
// toolkit's save dialog, whose button says "Guardar"; here it opens. wx has
// no call for the label, so the two GTK calls are looked up in the running
// program (GTK is there whenever wx is GTK's); without them the label stays.
void LabelAcceptButton(wxFileDialog& dialog, const char* label) {
#ifdef __WXGTK__
  using ButtonForResponse = void* (*)(void*, int);
  using SetLabel = void (*)(void*, const char*);
  constexpr int kResponseAccept = -3;
  const auto forResponse = reinterpret_cast<ButtonForResponse>(
      dlsym(RTLD_DEFAULT, "gtk_dialog_get_widget_for_response"));
  const auto setLabel = reinterpret_cast<SetLabel>(dlsym(RTLD_DEFAULT, "gtk_button_set_label"));
  if (!forResponse || !setLabel || !dialog.GetHandle()) return;
  if (void* button = forResponse(dialog.GetHandle(), kResponseAccept)) setLabel(button, label);
#else
  (void)dialog;
  (void)label;
#endif
}

std::string_view Cell(const TextRows& rows, long row, long column) {
  const auto at = static_cast<std::size_t>(row);
  // The list may ask while a question is on the screen, before it learnt
  // that rows went away.
  if (row < 0 || at >= rows.size()) return {};
  switch (column) {
    case 0:
      return rows.Type(at);
    case 1:
      return rows.Id(at);
    default:
      return rows.Text(at);
  }
}

int TypeImage(const TextRows& rows, long row) {
  const auto at = static_cast<std::size_t>(row);
  return row < 0 || at >= rows.size() ? -1 : TextTypeIndex(rows.Type(at));
}

}  // namespace

CGlossmithDlg::CGlossmithDlg()
    : wxFrame(nullptr, wxID_ANY, ToWx(GlossmithMessageText(kGlossProgramName))),
      prompter_(this),
      browser_(prompter_) {
  SetCommandPrompts([](int id) { return std::string(GlossmithMessageText(id)); });
  prompter_.SetBeforeShowing([this] { progress_.reset(); });
  wxIconBundle icons;
  const wxBitmapBundle icon = ArtImage(Art::kProgram, 16);
  for (int size : {16, 32, 48}) icons.AddIcon(icon.GetIcon(wxSize(size, size)));
  SetIcons(icons);

  BuildControls();
  BuildMenus();
  BindCommands();
  BindLists();
  findData_.SetFlags(wxFR_DOWN);

  // The size at start is the smallest the window may become.
  const wxSize start = ConvertDialogToPixels(wxSize(436, 255));
  SetClientSize(start);
  Layout();
  const wxSize best = GetBestSize();
  SetSize(wxSize(std::max(GetSize().x, best.x), std::max(GetSize().y, best.y)));
  SetMinSize(GetSize());
  ShowBrowser();
}

CGlossmithDlg::~CGlossmithDlg() {
  if (menuIcons_) IconMenus::UnregisterMenuToolbar(menuIcons_);
}

void CGlossmithDlg::BuildControls() {
  panel_ = new wxPanel(this);
  // Created in the order Tab moves through them.
  auto* mainPlace = new wxWindow(panel_, kMainToolbarPlace);
  auto* sourceLabel = new wxStaticText(panel_, kSourceLabel, ToWx("Idioma origen"));
  source_ = new wxChoice(panel_, kSourceSelector);
  texts_ = NewTextList(panel_, kTextsList);
  auto* textsPlace = new wxWindow(panel_, kTextsToolbarPlace);
  auto* targetLabel = new wxStaticText(panel_, kTargetLabel, ToWx("Idioma de traducción"));
  target_ = new wxChoice(panel_, kTargetSelector);
  translations_ = NewTextList(panel_, kTranslationsList);
  auto* translationsPlace = new wxWindow(panel_, kTranslationsToolbarPlace);

  const int margin = FromDIP(10);
  const int gap = FromDIP(6);
  const auto makeColumn = [gap](wxWindow* label, wxWindow* selector, wxWindow* list,
                                wxWindow* place) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(label, 0, wxBOTTOM, gap / 2);
    sizer->Add(selector, 0, wxEXPAND | wxBOTTOM, gap);
    sizer->Add(list, 1, wxEXPAND | wxBOTTOM, gap / 2);
    sizer->Add(place, 0);
    return sizer;
  };
  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  columns->Add(makeColumn(sourceLabel, source_, texts_, textsPlace), 1, wxEXPAND);
  columns->AddSpacer(margin);
  columns->Add(makeColumn(targetLabel, target_, translations_, translationsPlace), 1, wxEXPAND);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(mainPlace, 0, wxLEFT | wxRIGHT | wxTOP, gap);
  top->Add(columns, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, margin);
  panel_->SetSizer(top);
  // The columns share the width equally: what the lists and selectors hold
  // must not make one of them ask for more.
  for (wxWindow* flexible :
       std::initializer_list<wxWindow*>{source_, target_, texts_, translations_}) {
    flexible->SetMinSize(FromDIP(wxSize(
        120, flexible == texts_ || flexible == translations_ ? 120 : flexible->GetBestSize().y)));
  }

  const auto toolbar = [this](int place, const ToolbarResource& resource) {
    auto* made = new DialogToolbar();
    if (!made->CreateInPlaceOf(panel_, place, resource)) {
      delete made;
      return static_cast<DialogToolbar*>(nullptr);
    }
    return made;
  };
  const auto button = [](int id, int size) { return ToolbarButton{id, CommandImage(id, size)}; };
  mainToolbar_ = toolbar(
      kMainToolbarPlace,
      {kMainToolbar,
       {button(kCmdOpen, 16), {}, button(kCmdFilterMenu, 16), {}, button(kCmdLanguages, 16)}});
  textsToolbar_ = toolbar(kTextsToolbarPlace, {kTextsToolbar,
                                               {button(kCmdAddText, 24),
                                                button(kCmdEditText, 24),
                                                {},
                                                button(kCmdDeleteText, 24),
                                                {},
                                                button(kCmdFind, 24)}});
  translationsToolbar_ = toolbar(kTranslationsToolbarPlace, {kTranslationsToolbar,
                                                             {button(kCmdAddTranslation, 24),
                                                              button(kCmdEditTranslation, 24),
                                                              {},
                                                              button(kCmdDeleteTranslation, 24)}});

  // Never shown: it only lends its images to the menus.
  menuIcons_ =
      new wxToolBar(panel_, WxId(kMenuIconsToolbarId), wxDefaultPosition, wxDefaultSize, wxTB_FLAT);
  menuIcons_->Hide();
  AddCommandTools(menuIcons_, {kMenuIconsToolbar,
                               {button(kCmdOpen, 16),
                                {},
                                button(kCmdFilterStrings, 16),
                                button(kCmdFilterDialogs, 16),
                                button(kCmdFilterMenus, 16),
                                button(kCmdFilterVersions, 16),
                                button(kCmdFilterMessages, 16),
                                button(kCmdFilterForms, 16),
                                {},
                                button(kCmdExit, 16)}});
  IconMenus::RegisterMenuToolbar(menuIcons_);

  for (StripedListCtrl* list : {texts_, translations_}) {
    auto* images = new wxImageList(FromDIP(16), FromDIP(16), true, kTextTypeCount);
    for (const Art art : kTypeArt) images->Add(ArtImage(art).GetBitmap(FromDIP(wxSize(16, 16))));
    list->AssignImageList(images, wxIMAGE_LIST_SMALL);
    // Wide enough for the type's image and its code.
    list->AppendColumn(ToWx(GlossmithMessageText(kGlossTypeHeader)), wxLIST_FORMAT_LEFT,
                       FromDIP(66));
    list->AppendColumn(ToWx(GlossmithMessageText(kGlossIdHeader)), wxLIST_FORMAT_LEFT, 0);
    list->AppendColumn(ToWx(GlossmithMessageText(kGlossTextsHeader)), wxLIST_FORMAT_LEFT,
                       FromDIP(320));
  }
  texts_->SetSource({[this](long row, long column) { return Cell(browser_.texts(), row, column); },
                     [this](long row) { return TypeImage(browser_.texts(), row); }});
  translations_->SetSource(
      {[this](long row, long column) { return Cell(browser_.translations(), row, column); },
       [this](long row) { return TypeImage(browser_.translations(), row); }});
}

std::unique_ptr<wxMenu> CGlossmithDlg::MakeFilterMenu() {
  auto menu = std::make_unique<wxMenu>();
  for (std::size_t i = 0; i < std::size(kFilterCommands); ++i) {
    if (kFilterCommands[i].id == kCmdFilterAll) menu->AppendSeparator();
    menus_.Append(menu.get(), kFilterCommands[i].id, kFilterLabels[i], wxITEM_CHECK);
  }
  return menu;
}

void CGlossmithDlg::BuildMenus() {
  auto* dictionary = new wxMenu();
  menus_.Append(dictionary, kCmdOpen, "&Abrir");
  menus_.Append(dictionary, kCmdClose, "&Cerrar");
  dictionary->AppendSeparator();
  menus_.Append(dictionary, kCmdExit, "&Salir");
  dictionary->AppendSeparator();
  menus_.Append(dictionary, kCmdImportTmx, "&Importar TMX...");
  menus_.Append(dictionary, kCmdExportTmx, "&Exportar TMX...");
  auto* texts = new wxMenu();
  menus_.AppendSubMenu(texts, MakeFilterMenu().release(), "Filtros");
  // Where the about box is found here, with no system menu to hold it.
  auto* help = new wxMenu();
  menus_.Append(help, kCmdAbout, GlossmithMessageText(kGlossAboutItem));
  auto* bar = new wxMenuBar();
  bar->Append(dictionary, ToWx("&Diccionario"));
  bar->Append(texts, ToWx("&Textos"));
  bar->Append(help, ToWx("A&yuda"));
  SetMenuBar(bar);
}

template <typename Command>
void CGlossmithDlg::Run(Command command) {
  command();
  ShowBrowser();
}

void CGlossmithDlg::BindCommands() {
  const auto on = [this](int id, auto handler) {
    Bind(
        wxEVT_MENU, [handler](wxCommandEvent&) { handler(); }, WxId(id));
  };
  const auto enable = [this](int id, bool BrowserCommandStates::*state) {
    Bind(
        wxEVT_UPDATE_UI,
        [this, state](wxUpdateUIEvent& event) { event.Enable(browser_.CommandStates().*state); },
        WxId(id));
  };
  on(kCmdOpen, [this] { OnOpen(); });
  on(kCmdClose, [this] { Run([this] { browser_.Close(); }); });
  on(kCmdExit, [this] { Close(); });
  for (const FilterCommand& filter : kFilterCommands) {
    const std::string code = filter.code;
    on(filter.id, [this, code] { Run([this, &code] { browser_.SetFilter(code); }); });
    Bind(
        wxEVT_UPDATE_UI,
        [this, code](wxUpdateUIEvent& event) { event.Check(browser_.filter() == code); },
        WxId(filter.id));
  }
  on(kCmdFilterMenu, [this] { OnFilterMenu(); });
  on(kCmdLanguages, [this] { OnLanguages(); });
  on(kCmdImportTmx, [this] { OnImportTmx(); });
  on(kCmdExportTmx, [this] { OnExportTmx(); });
  on(kCmdAddText, [this] { Run([this] { browser_.AddText(); }); });
  on(kCmdEditText, [this] { Run([this] { browser_.EditText(browser_.selectedText()); }); });
  on(kCmdDeleteText, [this] { Run([this] { browser_.DeleteText(); }); });
  on(kCmdFind, [this] { OnFind(); });
  on(kCmdAddTranslation, [this] { Run([this] { browser_.AddTranslation(); }); });
  on(kCmdEditTranslation,
     [this] { Run([this] { browser_.EditTranslation(browser_.selectedTranslation()); }); });
  on(kCmdDeleteTranslation, [this] { Run([this] { browser_.DeleteTranslation(); }); });
  on(kCmdAbout, [this] { OnAbout(); });
  enable(kCmdAddText, &BrowserCommandStates::addText);
  enable(kCmdEditText, &BrowserCommandStates::editText);
  enable(kCmdDeleteText, &BrowserCommandStates::editText);
  enable(kCmdFind, &BrowserCommandStates::find);
  enable(kCmdAddTranslation, &BrowserCommandStates::addTranslation);
  enable(kCmdEditTranslation, &BrowserCommandStates::editTranslation);
  enable(kCmdDeleteTranslation, &BrowserCommandStates::editTranslation);
  enable(kCmdLanguages, &BrowserCommandStates::languages);
  enable(kCmdImportTmx, &BrowserCommandStates::exchange);
  enable(kCmdExportTmx, &BrowserCommandStates::exchange);

  Bind(wxEVT_FIND, &CGlossmithDlg::OnFindDialog, this);
  Bind(wxEVT_FIND_NEXT, &CGlossmithDlg::OnFindDialog, this);
  Bind(wxEVT_FIND_CLOSE, &CGlossmithDlg::OnFindDialog, this);

  // Keys for what only the toolbars offer: find and find again.
  const int findNext = NewControlId();
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent&) {
        if (browser_.find().text.empty()) {
          OnFind();
        } else {
          Run([this] { browser_.FindNext(); });
        }
      },
      findNext);
  wxAcceleratorEntry keys[] = {{wxACCEL_CTRL, 'F', WxId(kCmdFind)},
                               {wxACCEL_NORMAL, WXK_F3, findNext}};
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(std::size(keys)), keys));
}

void CGlossmithDlg::BindLists() {
  source_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
    wxBusyCursor busy;
    Run([this] { browser_.SelectSource(source_->GetSelection()); });
  });
  target_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) {
    Run([this] { browser_.SelectTarget(target_->GetSelection()); });
  });
  for (StripedListCtrl* list : {texts_, translations_}) {
    const bool texts = list == texts_;
    list->Bind(wxEVT_LIST_ITEM_SELECTED,
               [this, texts](wxListEvent& event) { OnListSelection(event, texts); });
    list->Bind(wxEVT_LIST_ITEM_DESELECTED,
               [this, texts](wxListEvent& event) { OnListSelection(event, texts); });
    list->Bind(wxEVT_LIST_ITEM_ACTIVATED,
               [this, texts](wxListEvent& event) { OnListActivated(event, texts); });
    // Insert, Delete and F2 reach the commands of the list that has the
    // focus.
    list->Bind(wxEVT_LIST_KEY_DOWN, [this, texts](wxListEvent& event) {
      int command = 0;
      switch (event.GetKeyCode()) {
        case WXK_INSERT:
          command = texts ? kCmdAddText : kCmdAddTranslation;
          break;
        case WXK_DELETE:
          command = texts ? kCmdDeleteText : kCmdDeleteTranslation;
          break;
        case WXK_F2:
          command = texts ? kCmdEditText : kCmdEditTranslation;
          break;
        default:
          event.Skip();
          return;
      }
      wxCommandEvent run(wxEVT_MENU, WxId(command));
      ProcessWindowEvent(run);
    });
    // The text column fills what the others leave of the list.
    list->Bind(wxEVT_SIZE, [list](wxSizeEvent& event) {
      event.Skip();
      ListCtrlHelper(list).ShareWidth(1);
    });
  }
}

void CGlossmithDlg::OnListSelection(wxListEvent& event, bool texts) {
  if (showing_) return;
  StripedListCtrl* list = texts ? texts_ : translations_;
  const auto apply = [this, list, texts] {
    const long row = list->SelectedRow();
    Run([this, texts, row] { texts ? browser_.SelectText(row) : browser_.SelectTranslation(row); });
  };
  if (event.GetEventType() == wxEVT_LIST_ITEM_SELECTED) {
    apply();
  } else {
    // Moving the selection takes it from one row before giving it to the
    // next: look once both are done.
    CallAfter(apply);
  }
}

void CGlossmithDlg::OnListActivated(wxListEvent& event, bool texts) {
  const long row = event.GetIndex();
  if (texts) {
    Run([this, row] { browser_.EditText(row); });
  } else {
    Run([this, row] { browser_.EditTranslation(row); });
  }
}

void CGlossmithDlg::ShowBrowser() {
  const BrowserChanges changes = browser_.TakeChanges();
  showing_ = true;
  if (changes.title) SetTitle(ToWx(browser_.title()));
  if (changes.selectors) {
    wxArrayString names;
    for (const DictionaryLanguage& language : browser_.languages()) {
      names.Add(ToWx(language.name));
    }
    for (wxChoice* choice : {source_, target_}) {
      if (choice->GetStrings() != names) choice->Set(names);
    }
    source_->SetSelection(browser_.source() >= 0 ? browser_.source() : wxNOT_FOUND);
    target_->SetSelection(browser_.target() >= 0 ? browser_.target() : wxNOT_FOUND);
  }
  if (changes.texts || changes.revealText >= 0) {
    ShowList(texts_, browser_.texts(), browser_.selectedText(), changes.revealText);
  }
  if (changes.translations || changes.revealTranslation >= 0) {
    ShowList(translations_, browser_.translations(), browser_.selectedTranslation(),
             changes.revealTranslation);
  }
  showing_ = false;
}

void CGlossmithDlg::ShowList(StripedListCtrl* list, const TextRows& rows, long selected,
                             long reveal) {
  list->ShowRowCount(static_cast<long>(rows.size()));
  list->SetSelectedRow(selected);
  if (reveal >= 0 && reveal < list->GetItemCount()) list->EnsureVisible(reveal);
}

void CGlossmithDlg::OpenPath(const std::string& path) {
  wxBusyCursor busy;
  Run([this, &path] { browser_.Open(path); });
}

void CGlossmithDlg::OnOpen() {
  wxFileDialog dialog(this, ToWx(GlossmithMessageText(kGlossOpenTitle)), wxString(), wxString(),
                      FileFilter(), wxFD_SAVE);
  LabelAcceptButton(dialog, "_Abrir");
  if (dialog.ShowModal() != wxID_OK) return;
  // The folder and the name, which the toolkit keeps from the moment it
  // knows them (the whole path only once the dialog was on the screen).
  std::string path = FromWx(wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath());
  if (!path.empty() && !FileExists(path)) {
    // A new name without an extension gets the dictionaries' own.
    if (FileNameOf(path).find('.') == std::string_view::npos) path += ".dic";
    if (!FileExists(path) &&
        !ShowMessageBox(this, path + "\nEste archivo no existe.\n¿Desea crearlo?",
                        MessageKind::kQuestion)) {
      return;
    }
  }
  OpenPath(path);
}

TmxProgress CGlossmithDlg::ShowProgress(int messageId) {
  lastProgress_ = {};
  return [this, messageId](std::size_t done, std::size_t total) {
    lastProgress_ = {done, total};
    if (done >= total) {
      progress_.reset();
      return;
    }
    constexpr int kRange = 1000;
    if (!progress_) {
      progress_ = std::make_unique<wxProgressDialog>(ToWx(GlossmithMessageText(kGlossProgramName)),
                                                     ToWx(GlossmithMessageText(messageId)), kRange,
                                                     this, wxPD_APP_MODAL | wxPD_SMOOTH);
    }
    progress_->Update(
        static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kRange));
  };
}

void CGlossmithDlg::OnImportTmx() {
  if (!browser_.IsOpen()) return;
  wxFileDialog dialog(this, ToWx(GlossmithMessageText(kGlossImportTmxTitle)), wxString(),
                      wxString(), FileFilter(kGlossTmxFileFilter),
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  const std::string path =
      FromWx(wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath());
  wxBusyCursor busy;
  Run([this, &path] { browser_.ImportFromTmx(path, ShowProgress(kGlossImportingTmx)); });
  progress_.reset();
}

void CGlossmithDlg::OnExportTmx() {
  if (!browser_.IsOpen()) return;
  // The dictionary's name with the exchange format's extension, beside it.
  const wxFileName dictionary(ToWx(browser_.path()));
  wxFileDialog dialog(this, ToWx(GlossmithMessageText(kGlossExportTmxTitle)), dictionary.GetPath(),
                      dictionary.GetName() + ".tmx", FileFilter(kGlossTmxFileFilter),
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  std::string path = FromWx(wxFileName(dialog.GetDirectory(), dialog.GetFilename()).GetFullPath());
  if (path.empty()) return;
  if (FileNameOf(path).find('.') == std::string_view::npos) path += ".tmx";
  wxBusyCursor busy;
  Run([this, &path] { browser_.ExportToTmx(path, ShowProgress(kGlossExportingTmx)); });
  progress_.reset();
}

void CGlossmithDlg::OnFilterMenu() {
  std::unique_ptr<wxMenu> menu = MakeFilterMenu();
  PopupMenu(menu.get());
}

void CGlossmithDlg::OnLanguages() {
  if (!browser_.IsOpen()) return;
  const std::string source = browser_.SourceName();
  const std::string target = browser_.TargetName();
  {
    CLanguagesDlg dialog(this, browser_.store());
    dialog.ShowModal();
  }
  wxBusyCursor busy;
  Run([this, &source, &target] { browser_.ReloadLanguages(source, target); });
}

void CGlossmithDlg::OnFind() {
  if (findDialog_) {
    findDialog_->Show();
    findDialog_->Raise();
    findDialog_->SetFocus();
    return;
  }
  findData_.SetFindString(ToWx(browser_.find().text));
  findData_.SetFlags(wxFR_DOWN | (browser_.find().matchCase ? wxFR_MATCHCASE : 0));
  findDialog_ = new wxFindReplaceDialog(this, &findData_, ToWx("Buscar"), wxFR_NOWHOLEWORD);
  // The toolkit's dialog only disables the whole-word option; the texts
  // list has no use for it at all.
  for (wxWindow* child : findDialog_->GetChildren()) {
    if (dynamic_cast<wxCheckBox*>(child) && !child->IsEnabled()) child->Hide();
  }
  findDialog_->Layout();
  findDialog_->Show();
}

void CGlossmithDlg::OnFindDialog(wxFindDialogEvent& event) {
  if (event.GetEventType() == wxEVT_FIND_CLOSE) {
    if (findDialog_) findDialog_->Destroy();
    findDialog_ = nullptr;
    return;
  }
  FindSettings& find = browser_.find();
  find.text = FromWx(event.GetFindString());
  find.matchCase = (event.GetFlags() & wxFR_MATCHCASE) != 0;
  find.down = (event.GetFlags() & wxFR_DOWN) != 0;
  if (!find.text.empty()) Run([this] { browser_.FindNext(); });
}

void CGlossmithDlg::OnAbout() {
  AboutBox::Options options;
  options.caption = "Acerca de Glossmith";
  options.icon = ArtImage(Art::kProgram, 32);
  options.secondIcon = ArtImage(Art::kMaker, 32);
  options.releaseWhenNoSpecialBuild = true;
  AboutBox box(this, options);
  box.ShowModal();
}

}  // namespace ulk::glossmith
