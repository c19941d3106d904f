// Keys, failures and loading of the preview.
#include "translator/ui/preview/resource_preview.h"

#include <charconv>

#include "platform/resource_update.h"
#include "platform/system_error.h"

namespace ulk {
namespace {

ResourcePreview Failure(int kind, std::string text = {}) {
  return ResourcePreview{kind, std::move(text)};
}

// Opens the module for a preview; kind 4 with the error text when it fails.
ResourcePreview OpenModule(const std::string& path, ModuleImage& image) {
  if (const int error = image.Open(path)) {
    return Failure(kPreviewCannotLoadFile, SystemErrorText(error, path));
  }
  return {};
}

// The dialog's own menu, when the module holds it; a menu that cannot be
// read leaves the dialog without one, as the platform does.
void ReadDialogMenu(const ModuleImage& image, PreviewContent& out) {
  const TemplateName& name = out.dialog.menu;
  if (name.IsEmpty()) return;
  const ResourceId id = name.isOrdinal
                            ? ResourceId::Number(name.ordinal)
                            : NormalisedResourceId(ResourceId::Name(std::string_view(name.text)));
  const ResourceData* data = image.Find(ResourceId::Number(kRtMenu), id);
  out.hasMenu = data && ReadMenuTemplate(data->bytes, out.menu).ok();
}

}  // namespace

int PreviewFailureMessageId(int failureKind) {
  switch (failureKind) {
    case kPreviewBadResourceKind:
      return kMsgBadResourceType;
    case kPreviewNotDialog:
      return kMsgResourceNotDialog;
    case kPreviewNotMenu:
      return kMsgResourceNotMenu;
    case kPreviewCannotLoadFile:
      return kMsgCannotOpenLibrary;
    case kPreviewCannotLoadDialog:
      return kMsgCannotLoadDialog;
    case kPreviewCannotLoadMenu:
      return kMsgCannotLoadMenu;
    default:
      return 0;
  }
}

std::string ResourcePreview::Message() const {
  std::string text = MessageText(kMsgErrorShowingResource);
  text.append("\n").append(MessageText(PreviewFailureMessageId(failureKind)));
  if (!failureText.empty()) text.append("\n").append(failureText);
  return text;
}

PreviewKey ParsePreviewKey(std::string_view key) {
  PreviewKey result;
  if (const auto blank = key.find(' '); blank != std::string_view::npos) {
    key = key.substr(0, blank);
  }
  result.kind = KindOfKey(key);
  result.type = ResourceId::Number(KindInfo(result.kind).type);
  if (key.size() < 6) return result;
  const std::string_view name = key.substr(5);
  if (key[3] == 'N') {
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    // Resource numbers are 16-bit.
    if (error != std::errc() || end != name.data() + name.size() || number > 0xFFFF) return result;
    result.name = ResourceId::Number(number);
  } else {
    // Names are found regardless of case, as the platform finds them.
    result.name = NormalisedResourceId(ResourceId::Name(name));
  }
  result.valid = true;
  return result;
}

std::optional<std::string> ChoosePreviewKey(const std::optional<std::string>& selectedKey,
                                            const std::optional<std::string>& firstRowKey) {
  if (selectedKey) return selectedKey;
  if (firstRowKey && (firstRowKey->rfind("MN_", 0) == 0 || firstRowKey->rfind("DL_", 0) == 0)) {
    return firstRowKey;
  }
  return std::nullopt;
}

ResourcePreview LoadResourcePreview(const std::string& path, std::string_view key,
                                    PreviewContent& out) {
  switch (KindOfKey(key)) {
    case ResourceKind::kDialog:
      return LoadDialogPreview(path, key, out);
    case ResourceKind::kMenu:
      return LoadMenuPreview(path, key, out);
    default:
      return Failure(kPreviewBadResourceKind);
  }
}

ResourcePreview LoadDialogPreview(const std::string& path, std::string_view key,
                                  PreviewContent& out) {
  out = {};
  const PreviewKey parsed = ParsePreviewKey(key);
  if (parsed.kind != ResourceKind::kDialog) return Failure(kPreviewNotDialog);
  ModuleImage image;
  if (ResourcePreview opened = OpenModule(path, image); opened.Failed()) return opened;
  const ResourceData* data = parsed.valid ? image.Find(parsed.type, parsed.name) : nullptr;
  if (!data) {
    return Failure(kPreviewCannotLoadDialog, SystemErrorText(kErrorResourceNotFound, path));
  }
  out.kind = ResourceKind::kDialog;
  out.modulePath = path;
  if (const Status read = ReadDialogTemplate(data->bytes, out.dialog); !read) {
    out.dialogDamaged = true;
    out.damage = read.message();
    return {};
  }
  ReadDialogMenu(image, out);
  return {};
}

ResourcePreview LoadMenuPreview(const std::string& path, std::string_view key,
                                PreviewContent& out) {
  out = {};
  const PreviewKey parsed = ParsePreviewKey(key);
  if (parsed.kind != ResourceKind::kMenu) return Failure(kPreviewNotMenu);
  ModuleImage image;
  if (ResourcePreview opened = OpenModule(path, image); opened.Failed()) return opened;
  const ResourceData* data = parsed.valid ? image.Find(parsed.type, parsed.name) : nullptr;
  if (!data) return Failure(kPreviewCannotLoadMenu, SystemErrorText(kErrorResourceNotFound, path));
  if (const Status read = ReadMenuTemplate(data->bytes, out.menu); !read) {
    return Failure(kPreviewCannotLoadMenu, SystemErrorText(read.code(), path));
  }
  out.kind = ResourceKind::kMenu;
  out.modulePath = path;
  out.hasMenu = true;
  return {};
}

}  // namespace ulk
