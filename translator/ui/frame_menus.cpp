// The main window's menus, toolbars, accelerators and context menus.
#include <wx/menu.h>
#include <wx/toolbar.h>

#include "translator/ui/command_ids.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/ulk_art.h"
#include "uikit/command_id.h"
#include "uikit/toolkit_dialog.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

struct MenuLine {
  int id;  // 0: separator
  const char* text;
};

void AppendLines(IconMenus& menus, wxMenu* menu, std::initializer_list<MenuLine> lines) {
  for (const MenuLine& line : lines) {
    if (line.id == 0) {
      menu->AppendSeparator();
    } else {
      menus.Append(menu, line.id, line.text);
    }
  }
}

ToolbarButton Button(int id) {
  return {id, CommandImage(id)};
}

const ToolbarButton kSeparator{};

}  // namespace

void CMainFrame::CreateToolbars() {
  toolbar_ = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL);
  ToolbarResource main{kMainToolbar,
                       {Button(kIdFileNew),
                        Button(kIdFileOpen),
                        Button(kIdFileSave),
                        kSeparator,
                        Button(kIdEditCut),
                        Button(kIdEditCopy),
                        Button(kIdEditPaste),
                        kSeparator,
                        Button(kIdEditUndo),
                        Button(kIdEditRedo),
                        kSeparator,
                        Button(kIdProjectProperties),
                        Button(kIdAddModules),
                        Button(kIdDeleteModule),
                        kSeparator,
                        Button(kIdGenerateModule),
                        Button(kIdGenerateProject),
                        kSeparator,
                        Button(kIdEditFind),
                        Button(kIdFindNext),
                        kSeparator,
                        Button(kIdShowOriginal),
                        Button(kIdShowTranslated),
                        kSeparator,
                        Button(kIdAddSelected),
                        Button(kIdTranslateSelected),
                        kSeparator,
                        Button(kIdAppAbout)}};
  if (!hasDictionary_) {
    // Without the component: 32847 with the separator after it, then 32846.
    auto& buttons = main.buttons;
    for (std::size_t i = 0; i + 1 < buttons.size(); ++i) {
      if (buttons[i].id == kIdTranslateSelected) {
        buttons.erase(buttons.begin() + static_cast<long>(i),
                      buttons.begin() + static_cast<long>(i) + 2);
        break;
      }
    }
    std::erase_if(buttons, [](const ToolbarButton& b) { return b.id == kIdAddSelected; });
  }
  AddCommandTools(toolbar_, main);
  menus_.AddSource(toolbar_);

  for (int id :
       {kIdAddLanguage, kIdDeleteLanguage, kIdLanguageProperties, kIdUserLanguages, kIdNewLanguage,
        kIdDeleteUserLanguage, kIdShowIsoLanguages, kIdProperties, kIdModuleProperties, kIdGenerate,
        kIdDeleteTranslation, kIdDictionaryAdmin, kIdTranslateResource, kIdGetAllResources,
        kIdGetModuleResources, kIdGetResources, kIdOpenDictionary}) {
    menuImages_.Add(id, CommandImage(id));
  }
  // The marks the list draws, beside the commands that set them.
  for (int id : {kIdMarkReviewed, kIdMarkToReview}) menuImages_.Add(id, CommandImage(id));
  menus_.AddSource(&menuImages_);
}

void CMainFrame::CreateMenus() {
  auto* bar = new wxMenuBar();

  auto* file = new wxMenu();
  AppendLines(menus_, file,
              {{kIdFileNew, "&Nuevo\tCtrl+N"},
               {kIdFileOpen, "&Abrir...\tCtrl+O"},
               {kIdFileSave, "&Guardar\tCtrl+S"},
               {kIdFileSaveAs, "Guardar &como..."},
               {0, nullptr}});
  auto* recent = new wxMenu();
  menus_.AppendSubMenu(file, recent, "Archivo reciente");
  GetDocumentManager()->FileHistoryUseMenu(recent);
  AppendLines(menus_, file, {{0, nullptr}, {kIdAppExit, "&Salir"}});
  bar->Append(file, ToWx("&Archivo"));

  auto* edit = new wxMenu();
  AppendLines(menus_, edit,
              {{kIdEditUndo, "&Deshacer\tCtrl+Z"},
               {kIdEditRedo, "&Rehacer\tCtrl+Y"},
               {0, nullptr},
               {kIdEditCut, "&Cortar\tCtrl+X"},
               {kIdEditCopy, "C&opiar\tCtrl+C"},
               {kIdEditPaste, "&Pegar\tCtrl+V"},
               {0, nullptr},
               {kIdEditSelectAll, "Seleccionar &todo\tCtrl-A"},
               {0, nullptr},
               {kIdEditFind, "B&uscar...\tCtrl+F"},
               {kIdFindNext, "Buscar &siguiente\tF3"},
               {kIdNextUntranslated, "Siguiente si&n traducir\tF8"},
               {kIdNextToReview, "Siguiente por re&visar\tF9"}});
  bar->Append(edit, ToWx("&Editar"));

  auto* view = new wxMenu();
  menus_.Append(view, kIdViewToolbar, "&Barra de botones", wxITEM_CHECK);
  menus_.Append(view, kIdViewStatusBar, "Barra de &estado", wxITEM_CHECK);
  view->AppendSeparator();
  menus_.Append(view, kIdFilterAll, "&Todos los textos\tCtrl+1", wxITEM_RADIO);
  menus_.Append(view, kIdFilterUntranslated, "&Sin traducir\tCtrl+2", wxITEM_RADIO);
  menus_.Append(view, kIdFilterToReview, "&Por revisar\tCtrl+3", wxITEM_RADIO);
  menus_.Append(view, kIdFilterChanged, "&Cambiados en la última lectura\tCtrl+4", wxITEM_RADIO);
  bar->Append(view, ToWx("&Ver"));

  auto* project = new wxMenu();
  AppendLines(menus_, project,
              {{kIdProjectProperties, "&Propiedades del proyecto..."},
               {0, nullptr},
               {kIdAddModules, "&Añadir módulos..."},
               {kIdDeleteModule, "&Borrar módulo"},
               {0, nullptr},
               {kIdGetAllResources, "&Obtener todos los recursos"},
               {kIdGenerateProject, "&Generar proyecto..."},
               {0, nullptr},
               {kIdCheckProject, "&Comprobar traducciones..."},
               {kIdReuseTranslations, "&Reutilizar traducciones de otro proyecto..."},
               {kIdAnalyseProject, "A&nálisis..."}});
  bar->Append(project, ToWx("&Proyecto"));

  auto* modules = new wxMenu();
  AppendLines(menus_, modules,
              {{kIdModuleProperties, "&Propiedades de módulo"},
               {0, nullptr},
               {kIdGetModuleResources, "&Obtener recursos del módulo"},
               {kIdGenerateModule, "&Generar módulo\tF7"},
               {0, nullptr},
               {kIdExportLanguage, "&Exportar idioma..."},
               {kIdImportLanguage, "&Importar idioma..."},
               {kIdPseudoTranslate, "Pseudo&traducir idioma..."},
               {0, nullptr},
               {kIdCheckModule, "&Comprobar traducciones..."}});
  bar->Append(modules, ToWx("&Módulos"));

  auto* resources = new wxMenu();
  AppendLines(menus_, resources,
              {{kIdTranslateResource, "Traducir &recurso..."},
               {kIdDeleteTranslation, "&Borrar traducción"},
               {0, nullptr},
               {kIdMarkReviewed, "Marcar como re&visado\tCtrl+R"},
               {kIdMarkToReview, "Marcar como por revis&ar\tCtrl+Shift+R"},
               {0, nullptr},
               {kIdShowOriginal, "&Mostrar recurso original\tCtrl+Alt+P"},
               {kIdShowTranslated, "Mostrar recurso traduc&ido\tCtrl+Alt+T"},
               {kIdEditLayout, "Editar &disposición...\tCtrl+Alt+L"}});
  bar->Append(resources, ToWx("&Recursos"));

  auto* tools = new wxMenu();
  menus_.Append(tools, kIdUserLanguages, "Idiomas de &usuario");
  if (hasDictionary_) {
    auto* dictionary = new wxMenu();
    AppendLines(menus_, dictionary,
                {{kIdOpenDictionary, "&Abrir diccionario..."},
                 {kIdCloseDictionary, "&Cerrar diccionario"},
                 {0, nullptr},
                 {kIdTranslateSelected, "&Traducir recursos seleccionados"},
                 {kIdTranslateSimilar, "Traducir con textos &parecidos..."},
                 {kIdAddSelected, "Añadir &recursos seleccionados"}});
    if (hasGlossmith_) {
      AppendLines(menus_, dictionary,
                  {{0, nullptr}, {kIdDictionaryAdmin, "Administrador de &diccionario"}});
    }
    menus_.AppendSubMenu(tools, dictionary, "&Diccionario");
  }
  bar->Append(tools, ToWx("&Herramientas"));

  auto* help = new wxMenu();
  menus_.Append(help, kIdAppAbout, "&Acerca de ULK...");
  bar->Append(help, ToWx("A&yuda"));

  SetMenuBar(bar);
}

void CMainFrame::CreateAccelerators() {
  // The shortcuts the menu texts do not carry.
  wxAcceleratorEntry entries[] = {
      {wxACCEL_ALT, WXK_BACK, WxId(kIdEditUndo)},
      {wxACCEL_SHIFT, WXK_DELETE, WxId(kIdEditCut)},
      {wxACCEL_CTRL, WXK_INSERT, WxId(kIdEditCopy)},
      {wxACCEL_SHIFT, WXK_INSERT, WxId(kIdEditPaste)},
      {wxACCEL_NORMAL, WXK_F6, WxId(kIdNextPane)},
      {wxACCEL_SHIFT, WXK_F6, WxId(kIdPrevPane)},
      {wxACCEL_CTRL | wxACCEL_ALT | wxACCEL_SHIFT, 'T', WxId(kIdTranslateSelected)},
  };
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(std::size(entries)), entries));
}

wxMenu* CMainFrame::MakeTreeContextMenu() {
  auto* menu = new wxMenu();
  AppendLines(menus_, menu,
              {{kIdProperties, "&Propiedades..."},
               {0, nullptr},
               {kIdGetResources, "&Obtener recursos"},
               {kIdGenerate, "Generar..."},
               // The module's exchange commands, as in "Módulos", after the
               // menu's own items.
               {0, nullptr},
               {kIdExportLanguage, "&Exportar idioma..."},
               {kIdImportLanguage, "&Importar idioma..."},
               {kIdPseudoTranslate, "Pseudo&traducir idioma..."},
               {kIdCheckModule, "&Comprobar traducciones..."}});
  return menu;
}

wxMenu* CMainFrame::MakeDialogNodeContextMenu() {
  auto* menu = new wxMenu();
  AppendLines(menus_, menu,
              {{kIdShowOriginal, "&Mostrar recurso original\tCtrl+Alt+P"},
               {kIdShowTranslated, "Mostrar recurso traduc&ido\tCtrl+Alt+T"},
               {0, nullptr},
               {kIdEditLayout, "Editar &disposición...\tCtrl+Alt+L"}});
  return menu;
}

wxMenu* CMainFrame::MakeListContextMenu() {
  auto* menu = new wxMenu();
  AppendLines(menus_, menu,
              {{kIdTranslateResource, "Traducir &recurso..."},
               {kIdDeleteTranslation, "&Borrar traducción"},
               {kIdMarkReviewed, "Marcar como re&visado\tCtrl+R"},
               {kIdMarkToReview, "Marcar como por revis&ar\tCtrl+Shift+R"},
               {0, nullptr},
               {kIdEditCut, "&Cortar\tCtrl+X"},
               {kIdEditCopy, "C&opiar\tCtrl+C"},
               {kIdEditPaste, "&Pegar\tCtrl+V"},
               {0, nullptr},
               {kIdShowOriginal, "&Mostrar recurso original\tCtrl+Alt+P"},
               {kIdShowTranslated, "Mostrar recurso traduc&ido\tCtrl+Alt+T"},
               {kIdEditLayout, "Editar &disposición...\tCtrl+Alt+L"}});
  if (hasDictionary_) {
    AppendLines(menus_, menu,
                {{0, nullptr},
                 {kIdTranslateSelected, "&Traducir recursos seleccionados"},
                 {kIdAddSelected, "Añadir &recursos seleccionados"}});
  }
  return menu;
}

}  // namespace ulk
