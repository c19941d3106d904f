// The main window's construction, panes and command forwarding.
#include "translator/ui/main_frame.h"

#include <algorithm>

#include <wx/imaglist.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>

#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/left_view.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_art.h"
#include "translator/ui/ulk_doc.h"
#include "translator/ui/ulk_view.h"
#include "uikit/command_id.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

enum StatusPane { kPaneMessages = 0, kPaneProgress = 1, kPaneDictionary = 2, kPaneRows = 3 };
constexpr int kStatusPanes = 4;

// The room a status pane keeps round its text: wx's own status bar, which
// GTK uses, insets the text by a border and a margin on each side (2 + 2
// pixels) and one pixel more on the left; a few pixels to spare.
constexpr int kPaneTextRoom = 2 * (2 + 2) + 1 + 4;
// The widest count of rows the pane is made for from the start; a longer
// one widens it when shown.
constexpr int kWidestRowCount = 99999;

// The width a pane needs to show each of `texts` whole in the bar's font.
// The last pane also makes room for the size grip, which the bar draws
// over the end of that pane (as wide as the bar is high).
int StatusPaneWidth(wxStatusBar* bar, const std::vector<std::string>& texts, bool last) {
  int widest = 0;
  for (const std::string& text : texts) {
    widest = std::max(widest, bar->GetTextExtent(ToWx(text)).x);
  }
  const int grip = last ? std::max(bar->GetClientSize().y, bar->GetCharHeight() + 4) : 0;
  return widest + kPaneTextRoom + grip;
}

template <typename View>
View* FindView(wxDocManager* manager) {
  wxDocument* doc = manager ? manager->GetCurrentDocument() : nullptr;
  if (!doc) return nullptr;
  for (wxList::compatibility_iterator node = doc->GetViews().GetFirst(); node;
       node = node->GetNext()) {
    if (auto* view = dynamic_cast<View*>(static_cast<wxView*>(node->GetData()))) return view;
  }
  return nullptr;
}

}  // namespace

CMainFrame::CMainFrame(wxDocManager* manager, bool hasDictionary, bool hasGlossmith)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, ToWx(MessageText(kMsgProgramName)),
                       wxDefaultPosition, wxSize(1000, 640)),
      hasDictionary_(hasDictionary),
      hasGlossmith_(hasGlossmith),
      ui_(this) {
  SetIcon(ProgramIcon().GetIcon(wxSize(32, 32)));
  treeImages_ = CreateTreeImages();
  CreateToolbars();
  CreateMenus();
  CreateStatusPanes();
  CreateAccelerators();

  splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                   wxSP_LIVE_UPDATE | wxSP_3DSASH);
  tree_ = new ProjectTree(splitter_);
  tree_->SetImageList(treeImages_);
  list_ = new ResourceList(splitter_);
  list_->SetImageList(treeImages_, wxIMAGE_LIST_SMALL);
  splitter_->SetMinimumPaneSize(60);
  splitter_->SplitVertically(tree_, list_, 290);

  BindCommands();
  BindFrameCommands();
  Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
  Bind(wxEVT_DROP_FILES, &CMainFrame::OnDropFiles, this);
}

CMainFrame::~CMainFrame() {
  tree_->SetImageList(nullptr);
  list_->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
  delete treeImages_;
  TheApp().FrameDestroyed(this);
}

CLeftView* CMainFrame::TreeView() const {
  return FindView<CLeftView>(GetDocumentManager());
}

CULKView* CMainFrame::ListView() const {
  return FindView<CULKView>(GetDocumentManager());
}

void CMainFrame::CreateStatusPanes() {
  wxStatusBar* bar = CreateStatusBar(kStatusPanes);
  const int styles[kStatusPanes] = {wxSB_NORMAL, wxSB_FLAT,
                                    hasDictionary_ ? wxSB_NORMAL : wxSB_FLAT, wxSB_NORMAL};
  bar->SetStatusStyles(kStatusPanes, styles);
  FitStatusPanes();
  SetStatusText(ToWx(MessageText(kMsgReady)), kPaneMessages);
  progress_.Attach(bar, kPaneProgress);
  bar->Bind(wxEVT_SIZE, &CMainFrame::OnStatusBarSize, this);
}

void CMainFrame::FitStatusPanes() {
  wxStatusBar* bar = GetStatusBar();
  if (!bar) return;
  // Each fixed pane: the texts it can show, and the one it shows now (a
  // dictionary's name, a count of rows), which may be longer.
  const int widths[kStatusPanes] = {
      -1, StatusPaneWidth(bar, {MessageText(kMsgProgressPaneWidth)}, false),
      StatusPaneWidth(
          bar, {MessageText(kMsgNoDictionary), FromWx(bar->GetStatusText(kPaneDictionary))}, false),
      StatusPaneWidth(
          bar,
          {MessageText(kMsgViewWithoutResources), FormatMessage(kMsgResourceCount, kWidestRowCount),
           FormatMessage(kMsgFilteredResourceCount, kWidestRowCount, kWidestRowCount),
           FromWx(bar->GetStatusText(kPaneRows))},
          true)};
  bool same = true;
  for (int pane = 0; pane < kStatusPanes; ++pane) {
    same = same && bar->GetStatusWidth(pane) == widths[pane];
  }
  if (same) return;
  bar->SetStatusWidths(kStatusPanes, widths);
  progress_.Reposition();
}

void CMainFrame::OnStatusBarSize(wxSizeEvent& event) {
  event.Skip();
  CallAfter([this] { progress_.Reposition(); });
}

void CMainFrame::PushStatusText(const std::string& text) {
  wxStatusBar* bar = GetStatusBar();
  if (!bar) return;
  statusStack_.push_back(FromWx(bar->GetStatusText(kPaneMessages)));
  bar->SetStatusText(ToWx(text), kPaneMessages);
  // The work runs on this thread: paint now, not when it has ended.
  bar->Update();
}

void CMainFrame::PopStatusText() {
  wxStatusBar* bar = GetStatusBar();
  if (!bar) return;
  std::string text = MessageText(kMsgReady);
  if (!statusStack_.empty()) {
    text = std::move(statusStack_.back());
    statusStack_.pop_back();
  }
  bar->SetStatusText(ToWx(text), kPaneMessages);
  bar->Update();
}

void CMainFrame::ShowProgress(bool show) {
  progress_.Show(show);
}

void CMainFrame::SetProgressRange(int low, int high) {
  progress_.SetRange(low, high);
}

void CMainFrame::SetProgressPos(int position) {
  progress_.SetPosition(position);
}

void CMainFrame::UpdateStatusPanes() {
  wxStatusBar* bar = GetStatusBar();
  if (!bar) return;
  bool changed = false;
  auto set = [bar, &changed](int pane, const std::string& text) {
    const wxString value = ToWx(text);
    if (bar->GetStatusText(pane) == value) return;
    bar->SetStatusText(value, pane);
    changed = true;
  };
  if (DictionaryComponent* dictionary = TheApp().Dictionary()) {
    set(kPaneDictionary,
        dictionary->IsOpened() ? dictionary->title() : MessageText(kMsgNoDictionary));
  } else {
    set(kPaneDictionary, "");
  }
  const CULKView* view = ListView();
  const long rows = view ? view->RowCount() : 0;
  if (view && view->Filter() != RowFilter::kAll && view->NodeRowCount() > 0) {
    // What the filter leaves of the node's rows, none included.
    set(kPaneRows, FormatMessage(kMsgFilteredResourceCount, static_cast<int>(rows),
                                 static_cast<int>(view->NodeRowCount())));
  } else {
    set(kPaneRows, rows > 0 ? FormatMessage(kMsgResourceCount, static_cast<int>(rows))
                            : MessageText(kMsgViewWithoutResources));
  }
  if (changed) FitStatusPanes();
}

void CMainFrame::UpdateTitle() {
  auto* doc = dynamic_cast<CULKDoc*>(GetDocumentManager()->GetCurrentDocument());
  const wxString title = doc ? doc->FrameTitle() : ToWx(MessageText(kMsgProgramName));
  if (GetTitle() != title) SetTitle(title);
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
  event.Skip();
  UpdateStatusPanes();
}

void CMainFrame::BindCommands() {
  struct TreeCommand {
    int id;
    void (CLeftView::*run)();
    bool (CLeftView::*enabled)() const;
  };
  static const TreeCommand kTreeCommands[] = {
      {kIdProjectProperties, &CLeftView::OnProjectProperties, &CLeftView::Always},
      {kIdAddModules, &CLeftView::OnAddModules, &CLeftView::Always},
      {kIdDeleteModule, &CLeftView::OnDeleteModule, &CLeftView::HasSelectedModule},
      {kIdModuleProperties, &CLeftView::OnModuleProperties, &CLeftView::HasSelectedModule},
      {kIdProperties, &CLeftView::OnProperties, &CLeftView::Always},
      {kIdGetAllResources, &CLeftView::OnGetAllResources, &CLeftView::HasModules},
      {kIdGetModuleResources, &CLeftView::OnGetModuleResources, &CLeftView::HasSelectedModule},
      {kIdGetResources, &CLeftView::OnGetResources, &CLeftView::HasSelectedModuleOrModules},
      {kIdGenerateProject, &CLeftView::OnGenerateProject, &CLeftView::HasModules},
      {kIdGenerateModule, &CLeftView::OnGenerateModule, &CLeftView::HasSelectedModule},
      {kIdGenerate, &CLeftView::OnGenerate, &CLeftView::HasSelectedModuleOrModules},
  };
  for (const TreeCommand& command : kTreeCommands) {
    Bind(
        wxEVT_MENU,
        [this, command](wxCommandEvent&) {
          if (CLeftView* view = TreeView()) (view->*command.run)();
        },
        WxId(command.id));
    Bind(
        wxEVT_UPDATE_UI,
        [this, command](wxUpdateUIEvent& event) {
          CLeftView* view = TreeView();
          event.Enable(view && (view->*command.enabled)());
        },
        WxId(command.id));
  }

  struct ListCommand {
    int id;
    void (CULKView::*run)();
    bool (CULKView::*enabled)() const;
  };
  static const ListCommand kListCommands[] = {
      {kIdEditUndo, &CULKView::OnUndo, &CULKView::CanUndo},
      {kIdEditRedo, &CULKView::OnRedo, &CULKView::CanRedo},
      {kIdEditCut, &CULKView::OnCut, &CULKView::OneSelected},
      {kIdEditCopy, &CULKView::OnCopy, &CULKView::OneSelected},
      {kIdEditPaste, &CULKView::OnPaste, &CULKView::CanPaste},
      {kIdEditSelectAll, &CULKView::OnSelectAll, &CULKView::HasRows},
      {kIdEditFind, &CULKView::OnFind, &CULKView::HasRows},
      {kIdFindNext, &CULKView::OnFindNext, &CULKView::HasRows},
      {kIdTranslateResource, &CULKView::OnTranslateResource, &CULKView::OneSelected},
      {kIdDeleteTranslation, &CULKView::OnDeleteTranslation, &CULKView::AnySelected},
      {kIdShowOriginal, &CULKView::OnShowOriginal, &CULKView::CanPreview},
      {kIdShowTranslated, &CULKView::OnShowTranslated, &CULKView::CanPreviewTranslated},
      {kIdEditLayout, &CULKView::OnEditLayout, &CULKView::CanEditLayout},
      {kIdOpenDictionary, &CULKView::OnOpenDictionary, &CULKView::ComponentLoaded},
      {kIdCloseDictionary, &CULKView::OnCloseDictionary, &CULKView::DictionaryOpen},
      {kIdTranslateSelected, &CULKView::OnTranslateSelected, &CULKView::CanTranslateSelected},
      {kIdTranslateSimilar, &CULKView::OnTranslateSimilar, &CULKView::CanTranslateSimilar},
      {kIdAddSelected, &CULKView::OnAddSelected, &CULKView::CanAddSelected},
      {kIdExportLanguage, &CULKView::OnExportLanguage, &CULKView::CanExchange},
      {kIdImportLanguage, &CULKView::OnImportLanguage, &CULKView::CanExchange},
      {kIdPseudoTranslate, &CULKView::OnPseudoTranslate, &CULKView::CanExchange},
      {kIdMarkReviewed, &CULKView::OnMarkReviewed, &CULKView::CanMark},
      {kIdMarkToReview, &CULKView::OnMarkToReview, &CULKView::CanMark},
      {kIdNextUntranslated, &CULKView::OnNextUntranslated, &CULKView::HasRows},
      {kIdNextToReview, &CULKView::OnNextToReview, &CULKView::HasRows},
  };
  for (const ListCommand& command : kListCommands) {
    Bind(
        wxEVT_MENU,
        [this, command](wxCommandEvent&) {
          if (CULKView* view = ListView()) (view->*command.run)();
        },
        WxId(command.id));
    Bind(
        wxEVT_UPDATE_UI,
        [this, command](wxUpdateUIEvent& event) {
          CULKView* view = ListView();
          event.Enable(view && (view->*command.enabled)());
        },
        WxId(command.id));
  }
  Bind(
      wxEVT_MENU,
      [this](wxCommandEvent& event) {
        if (CULKView* view = ListView()) view->OnSuggestion(CommandOfWxId(event.GetId()));
      },
      WxId(kIdFirstSuggestion), WxId(kIdLastSuggestion));

  static const struct {
    int id;
    RowFilter filter;
  } kFilters[] = {
      {kIdFilterAll, RowFilter::kAll},
      {kIdFilterUntranslated, RowFilter::kUntranslated},
      {kIdFilterToReview, RowFilter::kToReview},
      {kIdFilterChanged, RowFilter::kChanged},
  };
  for (const auto& item : kFilters) {
    const RowFilter filter = item.filter;
    Bind(
        wxEVT_MENU,
        [this, filter](wxCommandEvent&) {
          if (CULKView* view = ListView()) view->SetFilter(filter);
        },
        WxId(item.id));
    Bind(
        wxEVT_UPDATE_UI,
        [this, filter](wxUpdateUIEvent& event) {
          CULKView* view = ListView();
          event.Enable(view != nullptr);
          event.Check(view ? view->Filter() == filter : filter == RowFilter::kAll);
        },
        WxId(item.id));
  }
}

void CMainFrame::PopupContextMenu(wxMenu* menu, const wxPoint& screenPosition) {
  PopupMenu(menu, ScreenToClient(screenPosition));
  delete menu;
}

}  // namespace ulk
