// The fit command of ulk-cli: fitting the dialogs of a target language and
// telling what moved.
#include <cstdio>

#include "translator/cli/cli.h"
#include "translator/cli/exchange_commands.h"
#include "translator/cli/json_writer.h"
#include "translator/exchange/layout_fit.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

std::string RectText(const DialogRect& rect) {
  return std::to_string(rect.x) + ", " + std::to_string(rect.y) + ", " + std::to_string(rect.cx) +
         ", " + std::to_string(rect.cy);
}

void RectJson(JsonWriter& writer, const DialogRect& rect) {
  writer.BeginArray().Number(rect.x).Number(rect.y).Number(rect.cx).Number(rect.cy).EndArray();
}

void PrintJson(const LayoutFitResult& result, bool dryRun, const CliStreams& io) {
  JsonWriter writer;
  writer.BeginObject();
  writer.Key("checked").Number(static_cast<long long>(result.dialogsChecked));
  writer.Key("changed").Bool(result.changed);
  writer.Key("dryRun").Bool(dryRun);
  writer.Key("dialogs").BeginArray();
  for (const DialogFitReport& dialog : result.dialogs) {
    writer.BeginObject();
    writer.Key("dialog").String(dialog.dialogKey);
    writer.Key("changes").BeginArray();
    for (const ControlFitChange& change : dialog.changes) {
      writer.BeginObject();
      writer.Key("key").String(MakeEntryKey(dialog.dialogKey, change.item));
      writer.Key("item").Number(change.item);
      writer.Key("before");
      RectJson(writer, change.before);
      writer.Key("after");
      RectJson(writer, change.after);
      writer.Key("widened").Bool(change.widened);
      writer.EndObject();
    }
    writer.EndArray();
    writer.Key("unfitted").BeginArray();
    for (const UnfittedControl& control : dialog.unfitted) {
      writer.BeginObject();
      writer.Key("key").String(MakeEntryKey(dialog.dialogKey, control.item));
      writer.Key("item").Number(control.item);
      writer.Key("reason").String(control.reason);
      writer.EndObject();
    }
    writer.EndArray();
    writer.EndObject();
  }
  writer.EndArray();
  writer.EndObject();
  std::fprintf(io.out, "%s\n", writer.Text().c_str());
}

void PrintText(const LayoutFitResult& result, bool dryRun, const CliStreams& io) {
  std::size_t fitted = 0;
  std::size_t unfitted = 0;
  for (const DialogFitReport& dialog : result.dialogs) {
    if (!dialog.changes.empty()) ++fitted;
    for (const ControlFitChange& change : dialog.changes) {
      const char* what = change.item == 0 ? "diálogo ensanchado"
                         : change.widened ? "ensanchado"
                                          : "movido para hacer sitio";
      std::fprintf(io.out, "%s: %s -> %s (%s)\n",
                   MakeEntryKey(dialog.dialogKey, change.item).c_str(),
                   RectText(change.before).c_str(), RectText(change.after).c_str(), what);
    }
    for (const UnfittedControl& control : dialog.unfitted) {
      ++unfitted;
      std::fprintf(io.out, "%s: sin ajustar: %s\n",
                   MakeEntryKey(dialog.dialogKey, control.item).c_str(), control.reason.c_str());
    }
  }
  std::fprintf(io.out, "Diálogos ajustados: %zu de %zu; controles sin ajustar: %zu%s\n", fitted,
               result.dialogsChecked, unfitted, dryRun ? " (prueba: no se ha guardado nada)" : "");
}

}  // namespace

int FitCommand(Module& module, const std::string& language, const std::string* dialogKey,
               bool dryRun, bool json, const CliStreams& io, bool& changed) {
  changed = false;
  ModuleLanguage* target = module.FindLanguage(language);
  if (!target || target->isDefault) {
    std::fprintf(io.err, "error: el módulo no tiene el idioma de destino %s\n", language.c_str());
    return kExitFailure;
  }
  const LayoutFitResult result = FitModuleLayouts(module, *target, dialogKey, dryRun);
  if (!result.ok()) {
    std::fprintf(io.err, "error: %s\n", result.error.c_str());
    return kExitFailure;
  }
  changed = result.changed && !dryRun;
  if (json) {
    PrintJson(result, dryRun, io);
  } else {
    PrintText(result, dryRun, io);
  }
  for (const DialogFitReport& dialog : result.dialogs) {
    if (!dialog.unfitted.empty()) return kExitFailure;
  }
  return kExitOk;
}

}  // namespace ulk
