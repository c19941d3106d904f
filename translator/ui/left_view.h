// The project tree: the project, its modules, the kinds of resource of each
// module and its dialogs and menus. Its selection filters the resource list;
// it runs the project and module commands.
#pragma once

#include <string>

#include <wx/docview.h>
#include <wx/treectrl.h>

namespace ulk {

class CLeftView;
class CULKDoc;
class Module;

// The tree control; it outlives the documents, whose views attach to it.
class ProjectTree : public wxTreeCtrl {
 public:
  explicit ProjectTree(wxWindow* parent);
  void SetView(CLeftView* view) { view_ = view; }

  // The node code and, for a dialog or menu, its key stem.
  int NodeCode(const wxTreeItemId& item) const;
  std::string NodeStem(const wxTreeItemId& item) const;
  wxTreeItemId AddNode(const wxTreeItemId& parent, const std::string& label, int image, int code,
                       const std::string& stem = {});

 private:
  void OnSelectionChanged(wxTreeEvent& event);
  void OnExpanded(wxTreeEvent& event);
  void OnCollapsed(wxTreeEvent& event);
  void OnActivated(wxTreeEvent& event);
  void OnKeyDown(wxTreeEvent& event);
  void OnRightClick(wxTreeEvent& event);

  CLeftView* view_ = nullptr;
};

class CLeftView : public wxView {
 public:
  CLeftView() = default;
  ~CLeftView() override;

  bool OnCreate(wxDocument* doc, long flags) override;
  void OnDraw(wxDC*) override {}
  void OnUpdate(wxView* sender, wxObject* hint = nullptr) override;
  bool OnClose(bool deleteWindow) override;
  void OnChangeFilename() override;

  CULKDoc* Doc() const;
  // The module the selection belongs to (the node or its nearest module
  // ancestor); null for the root or no selection.
  Module* GetSelectedModule() const;
  // The code of the selected node when negative (a kind, a dialog, a
  // menu), else 0.
  int GetSelectedNodeCode() const;
  // The label of a selected dialog or menu node, else "".
  std::string GetSelectedResourceName() const;
  // The key stem of a selected dialog or menu node, else "".
  std::string GetSelectedStem() const;
  // Selects the node of a module (root: 0), a kind under it, or a dialog or
  // menu by its stem; false when there is no such node.
  bool SelectNode(int moduleId, int code = 0, const std::string& stem = {});

  void Rebuild();
  // Rebuild, then the list for the selection as it now stands.
  void Refresh();

  // Commands.
  void OnProjectProperties();
  void OnAddModules();
  void OnDeleteModule();
  void OnModuleProperties();
  void OnProperties();
  void OnGetAllResources();
  void OnGetModuleResources();
  void OnGetResources();
  void OnGenerateProject();
  void OnGenerateModule();
  void OnGenerate();
  bool Always() const { return true; }
  bool HasSelectedModule() const { return GetSelectedModule() != nullptr; }
  bool HasModules() const;
  bool HasSelectedModuleOrModules() const { return HasSelectedModule() || HasModules(); }

  // Notifications from the control.
  void SelectionChanged();
  void Activated(bool translated);
  // The layout editor on the selected dialog node.
  void EditLayout();
  void ContextMenu(const wxTreeItemId& item, const wxPoint& screenPosition);

 private:
  ProjectTree* tree_ = nullptr;
  bool rebuilding_ = false;

  wxDECLARE_DYNAMIC_CLASS(CLeftView);
};

}  // namespace ulk
