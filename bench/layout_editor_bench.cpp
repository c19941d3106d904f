// Opening the layout editor on a dialog of 200 controls, its labels
// translated and too long. Baseline from the same run: the preview's
// renderer drawing the same dialog in a plain window. Runs under a display
// (scripts/bench starts a virtual one).
//   layout_editor_bench MODULE.dll
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>
#include <wx/frame.h>

#include "bench/bench_util.h"
#include "platform/pe_image.h"
#include "translator/model/resource_engine.h"
#include "translator/resources/resource_kind.h"
#include "translator/ui/layout_editor_dlg.h"
#include "translator/ui/preview/dialog_renderer.h"
#include "uikit/spanish.h"

namespace {

void Pump() {
  wxTheApp->ProcessPendingEvents();
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
    while (loop->Pending()) loop->Dispatch();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: layout_editor_bench MÓDULO\n");
    return 2;
  }
  ulk::Module module;
  module.path = argv[1];
  module.AddOriginalLanguage();
  ulk::ResourceEngine engine;
  if (!engine.GetResources(&module)) return 1;
  ulk::ModuleLanguage& german =
      module.AddLanguage(ulk::ModuleLanguage("Deutsch", "/bench/de.dll", false));
  for (const ulk::TextEntry& entry : module.DefaultLanguage()->Entries()) {
    german.SetEntry(entry.key, entry.text + " (ausführlich übersetzt)");
  }
  ulk::ModuleImage image;
  if (image.Open(module.path) != 0) return 1;
  const ulk::ResourceData* data =
      image.Find(ulk::ResourceId::Number(ulk::kRtDialog), ulk::ResourceId::Number(1));
  ulk::DialogTemplate dialog;
  if (!data || !ulk::ReadDialogTemplate(data->bytes, dialog).ok()) return 1;

  ulk::PrepareSpanishEnvironment();
  wxApp::SetInstance(new wxApp());
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "layout_editor_bench necesita una pantalla (xvfb-run)\n");
    return 1;
  }
  int status = 0;
  wxEventLoopBase* loop = wxTheApp->GetTraits()->CreateEventLoop();
  {
    wxEventLoopActivator activate(loop);
    double open = 1e9;
    double render = 1e9;
    std::size_t controls = 0;
    for (int round = 0; round < 5; ++round) {
      render = std::min(render, ulk::bench::Seconds([&] {
                          auto* frame = new wxFrame(nullptr, wxID_ANY, "preview");
                          new ulk::EmbeddedDialog(frame, dialog, nullptr);
                          frame->Show();
                          Pump();
                          frame->Destroy();
                        }));
      Pump();
      open = std::min(open, ulk::bench::Seconds([&] {
                        std::unique_ptr<ulk::CLayoutEditorDlg> editor =
                            ulk::MakeLayoutEditor(module, "DL_N_1", "Deutsch", nullptr);
                        if (!editor) return;
                        controls = editor->Session().ControlCount();
                        editor->Show();
                        Pump();
                      }));
      Pump();
    }
    std::printf("controles: %zu\n", controls);
    ulk::bench::Report("open the layout editor", open, "s", render, "renderer alone", "< 0.2 s");
    status = controls == dialog.controls.size() && controls >= 200 ? 0 : 1;
  }
  delete loop;
  wxEntryCleanup();
  return status;
}
