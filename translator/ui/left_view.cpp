// The project tree and its commands.
#include "translator/ui/left_view.h"

#include <wx/menu.h>

#include "translator/model/messages.h"
#include "translator/model/project_operations.h"
#include "translator/model/resource_rows.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_hooks.h"
#include "translator/ui/file_dialogs.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_doc.h"
#include "translator/ui/ulk_view.h"
#include "uikit/command_id.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

struct NodeData : wxTreeItemData {
  NodeData(int nodeCode, std::string resourceStem)
      : code(nodeCode), stem(std::move(resourceStem)) {}
  int code;
  std::string stem;
};

struct KindLook {
  int code;
  int labelId;
  int image;
};
constexpr KindLook kKindLooks[] = {
    {kNodeStringTables, kMsgTreeStringTable, kImageStringTable},
    {kNodeDialogs, kMsgTreeDialog, kImageDialog},
    {kNodeMenus, kMsgTreeMenu, kImageMenu},
    {kNodeVersion, kMsgTreeVersion, kImageVersion},
    {kNodeMessageTables, kMsgTreeMessageTable, kImageMessageTable},
    {kNodeForms, kMsgTreeForm, kImageForm},
};

const KindLook& LookOf(int code) {
  for (const KindLook& look : kKindLooks) {
    if (look.code == code) return look;
  }
  return kKindLooks[0];
}

void SendToFrame(int commandId) {
  if (CMainFrame* frame = TheApp().MainFrame()) {
    wxCommandEvent event(wxEVT_MENU, WxId(commandId));
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
  }
}

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CLeftView, wxView);

ProjectTree::ProjectTree(wxWindow* parent)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxTR_DEFAULT_STYLE | wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE) {
  Bind(wxEVT_TREE_SEL_CHANGED, &ProjectTree::OnSelectionChanged, this);
  Bind(wxEVT_TREE_ITEM_EXPANDED, &ProjectTree::OnExpanded, this);
  Bind(wxEVT_TREE_ITEM_COLLAPSED, &ProjectTree::OnCollapsed, this);
  Bind(wxEVT_TREE_ITEM_ACTIVATED, &ProjectTree::OnActivated, this);
  Bind(wxEVT_TREE_KEY_DOWN, &ProjectTree::OnKeyDown, this);
  Bind(wxEVT_TREE_ITEM_RIGHT_CLICK, &ProjectTree::OnRightClick, this);
}

int ProjectTree::NodeCode(const wxTreeItemId& item) const {
  if (!item.IsOk()) return kNodeProject;
  const auto* data = static_cast<const NodeData*>(GetItemData(item));
  return data ? data->code : kNodeProject;
}

std::string ProjectTree::NodeStem(const wxTreeItemId& item) const {
  if (!item.IsOk()) return {};
  const auto* data = static_cast<const NodeData*>(GetItemData(item));
  return data ? data->stem : std::string();
}

wxTreeItemId ProjectTree::AddNode(const wxTreeItemId& parent, const std::string& label, int image,
                                  int code, const std::string& stem) {
  auto* data = new NodeData(code, stem);
  if (!parent.IsOk()) return AddRoot(ToWx(label), image, image, data);
  return AppendItem(parent, ToWx(label), image, image, data);
}

void ProjectTree::OnSelectionChanged(wxTreeEvent& event) {
  event.Skip();
  if (view_) view_->SelectionChanged();
}

void ProjectTree::OnExpanded(wxTreeEvent& event) {
  if (GetItemImage(event.GetItem()) == kImageFolder) {
    SetItemImage(event.GetItem(), kImageFolderOpen);
  }
}

void ProjectTree::OnCollapsed(wxTreeEvent& event) {
  if (GetItemImage(event.GetItem()) == kImageFolderOpen) {
    SetItemImage(event.GetItem(), kImageFolder);
  }
}

void ProjectTree::OnActivated(wxTreeEvent& event) {
  if (view_) view_->Activated(wxGetKeyState(WXK_CONTROL));
  event.Skip();
}

void ProjectTree::OnKeyDown(wxTreeEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_INSERT:
      SendToFrame(kIdAddModules);
      return;
    case WXK_DELETE:
      if (!event.GetKeyEvent().HasAnyModifiers()) {
        SendToFrame(kIdDeleteModule);
        return;
      }
      break;
    case WXK_F5:
      if (view_) view_->Refresh();
      return;
    default:
      break;
  }
  event.Skip();
}

void ProjectTree::OnRightClick(wxTreeEvent& event) {
  if (view_) view_->ContextMenu(event.GetItem(), ClientToScreen(event.GetPoint()));
}

CLeftView::~CLeftView() {
  if (tree_) tree_->SetView(nullptr);
}

bool CLeftView::OnCreate(wxDocument* doc, long) {
  CMainFrame* frame = TheApp().MainFrame();
  if (!frame) return false;
  SetFrame(frame);
  tree_ = frame->Tree();
  tree_->SetView(this);
  // The list is the document's second view, made with the first.
  auto* list = new CULKView();
  list->SetDocument(doc);
  if (!list->OnCreate(doc, 0)) return false;
  Activate(true);
  return true;
}

bool CLeftView::OnClose(bool) {
  // The document framework closes the document; the tree only lets go.
  Activate(false);
  if (tree_) {
    rebuilding_ = true;
    tree_->DeleteAllItems();
    rebuilding_ = false;
    tree_->SetView(nullptr);
  }
  tree_ = nullptr;
  return true;
}

void CLeftView::OnChangeFilename() {
  if (CMainFrame* frame = TheApp().MainFrame()) frame->UpdateTitle();
}

CULKDoc* CLeftView::Doc() const {
  return static_cast<CULKDoc*>(GetDocument());
}

void CLeftView::OnUpdate(wxView*, wxObject*) {
  Rebuild();
}

void CLeftView::Rebuild() {
  if (!tree_ || !Doc()) return;
  Project& project = Doc()->GetProject();
  const Module* selected = GetSelectedModule();
  const int selectedId = selected ? selected->id : 0;

  rebuilding_ = true;
  tree_->Freeze();
  tree_->DeleteAllItems();
  const wxTreeItemId root = tree_->AddNode({}, project.name, kImageFolder, kNodeProject);
  for (const Module& module : project.modules) {
    const wxTreeItemId moduleNode =
        tree_->AddNode(root, std::string(module.FileName()), kImageModule, module.id);
    for (const KindNode& kind : ModuleTreeNodes(module)) {
      const KindLook& look = LookOf(kind.code);
      const wxTreeItemId kindNode =
          tree_->AddNode(moduleNode, MessageText(look.labelId), look.image, kind.code);
      const int resourceCode = kind.code == kNodeDialogs ? kNodeDialog : kNodeMenu;
      for (const ResourceNode& resource : kind.resources) {
        tree_->AddNode(kindNode, resource.label, look.image, resourceCode, resource.stem);
      }
    }
  }
  tree_->Expand(root);
  if (selectedId == 0 || !SelectNode(selectedId)) tree_->SelectItem(root);
  tree_->Thaw();
  // The list is the document's later view: it fills after this rebuild.
  rebuilding_ = false;
}

bool CLeftView::SelectNode(int moduleId, int code, const std::string& stem) {
  if (!tree_) return false;
  const wxTreeItemId root = tree_->GetRootItem();
  if (!root.IsOk()) return false;
  wxTreeItemId target = moduleId == 0 ? root : wxTreeItemId();
  wxTreeItemIdValue cookie;
  for (wxTreeItemId module = tree_->GetFirstChild(root, cookie); module.IsOk() && !target.IsOk();
       module = tree_->GetNextChild(root, cookie)) {
    if (tree_->NodeCode(module) != moduleId) continue;
    if (code == 0) {
      target = module;
      break;
    }
    wxTreeItemIdValue kindCookie;
    for (wxTreeItemId kind = tree_->GetFirstChild(module, kindCookie); kind.IsOk();
         kind = tree_->GetNextChild(module, kindCookie)) {
      if (tree_->NodeCode(kind) == code) {
        target = kind;
        break;
      }
      wxTreeItemIdValue resourceCookie;
      for (wxTreeItemId resource = tree_->GetFirstChild(kind, resourceCookie); resource.IsOk();
           resource = tree_->GetNextChild(kind, resourceCookie)) {
        if (tree_->NodeCode(resource) == code && tree_->NodeStem(resource) == stem) {
          target = resource;
          break;
        }
      }
      if (target.IsOk()) break;
    }
  }
  if (!target.IsOk()) return false;
  tree_->SelectItem(target);
  tree_->EnsureVisible(target);
  return true;
}

Module* CLeftView::GetSelectedModule() const {
  if (!tree_ || !Doc()) return nullptr;
  for (wxTreeItemId item = tree_->GetSelection(); item.IsOk(); item = tree_->GetItemParent(item)) {
    const int code = tree_->NodeCode(item);
    if (code < 0) continue;
    return code == kNodeProject ? nullptr : Doc()->GetProject().FindModuleById(code);
  }
  return nullptr;
}

int CLeftView::GetSelectedNodeCode() const {
  if (!tree_) return kNodeProject;
  const int code = tree_->NodeCode(tree_->GetSelection());
  return code < 0 ? code : kNodeProject;
}

std::string CLeftView::GetSelectedResourceName() const {
  const int code = GetSelectedNodeCode();
  if (code != kNodeDialog && code != kNodeMenu) return {};
  return FromWx(tree_->GetItemText(tree_->GetSelection()));
}

std::string CLeftView::GetSelectedStem() const {
  const int code = GetSelectedNodeCode();
  if (code != kNodeDialog && code != kNodeMenu) return {};
  return tree_->NodeStem(tree_->GetSelection());
}

bool CLeftView::HasModules() const {
  return Doc() && Doc()->GetProject().ModuleCount() > 0;
}

void CLeftView::Refresh() {
  Rebuild();
  if (Doc()) Doc()->UpdateAllViews(this);
}

void CLeftView::SelectionChanged() {
  if (rebuilding_ || !Doc()) return;
  Doc()->UpdateAllViews(this);
  Doc()->ClearHistory();
}

void CLeftView::Activated(bool translated) {
  const int code = GetSelectedNodeCode();
  if (code != kNodeDialog && code != kNodeMenu) return;
  if (Module* module = GetSelectedModule()) {
    ShowResourcePreview(*module, GetSelectedStem(), translated, TheApp().MainFrame());
  }
}

void CLeftView::EditLayout() {
  if (GetSelectedNodeCode() != kNodeDialog || !Doc()) return;
  Module* module = GetSelectedModule();
  if (module && module->LanguageCount() > 1 &&
      EditDialogLayout(*module, GetSelectedStem(), Doc()->History(), TheApp().MainFrame())) {
    Doc()->EntriesChanged();
  }
}

void CLeftView::ContextMenu(const wxTreeItemId& item, const wxPoint& screenPosition) {
  if (!tree_ || !item.IsOk()) return;
  tree_->SelectItem(item);
  CMainFrame* frame = TheApp().MainFrame();
  if (tree_->NodeCode(item) == kNodeDialog) {
    // The dialog's own commands, on this dialog whatever the list shows.
    wxMenu* menu = frame->MakeDialogNodeContextMenu();
    menu->Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { Activated(false); }, WxId(kIdShowOriginal));
    menu->Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { Activated(true); }, WxId(kIdShowTranslated));
    menu->Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { EditLayout(); }, WxId(kIdEditLayout));
    const Module* module = GetSelectedModule();
    const bool translated = module && module->LanguageCount() > 1;
    menu->Enable(WxId(kIdShowTranslated), translated);
    menu->Enable(WxId(kIdEditLayout), translated);
    frame->PopupContextMenu(menu, screenPosition);
    return;
  }
  // Kinds and menus have no menu of their own.
  if (tree_->NodeCode(item) < 0) return;
  frame->PopupContextMenu(frame->MakeTreeContextMenu(), screenPosition);
}

void CLeftView::OnProjectProperties() {
  if (RunProjectPropertiesDialog(Doc()->GetProject(), TheApp().MainFrame())) {
    Doc()->ProjectRestructured();
  }
}

void CLeftView::OnModuleProperties() {
  Module* module = GetSelectedModule();
  if (!module) return;
  if (RunModulePropertiesDialog(Doc()->GetProject(), module->id, TheApp().MainFrame())) {
    Doc()->ProjectRestructured();
  }
}

void CLeftView::OnProperties() {
  if (tree_ && tree_->GetSelection().IsOk() && tree_->GetSelection() != tree_->GetRootItem()) {
    OnModuleProperties();
  } else {
    OnProjectProperties();
  }
}

void CLeftView::OnAddModules() {
  CMainFrame* frame = TheApp().MainFrame();
  if (AddModulesFromDialog(Doc()->GetProject(), frame, frame->Ui()) > 0) {
    Doc()->ProjectRestructured();
  }
}

void CLeftView::OnDeleteModule() {
  Module* module = GetSelectedModule();
  if (!module) return;
  const std::string path = module->path;
  if (DeleteModule(Doc()->GetProject(), path, TheApp().MainFrame()->Ui())) {
    Doc()->ProjectRestructured();
  }
}

void CLeftView::OnGetAllResources() {
  Doc()->ClearHistory();
  const GetResourcesResult result =
      GetResourcesCommand(Doc()->GetProject(), nullptr, TheApp().MainFrame()->Ui());
  // What was read before a stop is kept and shown.
  if (result.changed) Doc()->ProjectRestructured();
}

void CLeftView::OnGetModuleResources() {
  Module* module = GetSelectedModule();
  if (!module) return;
  const GetResourcesResult result =
      GetResourcesCommand(Doc()->GetProject(), module, TheApp().MainFrame()->Ui());
  if (result.changed) Doc()->ProjectRestructured();
}

void CLeftView::OnGetResources() {
  if (GetSelectedModule()) {
    OnGetModuleResources();
  } else {
    OnGetAllResources();
  }
}

void CLeftView::OnGenerateProject() {
  GenerateCommand(Doc()->GetProject(), nullptr, TheApp().MainFrame()->Ui());
}

void CLeftView::OnGenerateModule() {
  if (Module* module = GetSelectedModule()) {
    GenerateCommand(Doc()->GetProject(), module, TheApp().MainFrame()->Ui());
  }
}

void CLeftView::OnGenerate() {
  if (GetSelectedModule()) {
    OnGenerateModule();
  } else {
    OnGenerateProject();
  }
}

}  // namespace ulk
