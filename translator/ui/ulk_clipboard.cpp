// "CF_ULK" and plain text on the clipboard.
#include "translator/ui/ulk_clipboard.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "uikit/wx_text.h"

namespace ulk {
namespace {

const wxDataFormat& OwnFormat() {
  static const wxDataFormat format(kClipboardFormatName);
  return format;
}

// Opens the clipboard for the lifetime of the object.
class OpenClipboard {
 public:
  OpenClipboard() : open_(wxTheClipboard->Open()) {}
  ~OpenClipboard() {
    if (open_) wxTheClipboard->Close();
  }
  bool ok() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool PutRowOnClipboard(const std::string& ownBlock, const std::string& textBlock,
                       std::string& error) {
  OpenClipboard clipboard;
  if (!clipboard.ok()) {
    error = "No se ha podido abrir el portapapeles";
    return false;
  }
  auto* own = new wxCustomDataObject(OwnFormat());
  own->SetData(ownBlock.size(), ownBlock.data());
  auto* composite = new wxDataObjectComposite();
  composite->Add(own, true);
  // The plain text ends at its zero byte.
  composite->Add(new wxTextDataObject(ToWx(textBlock.c_str())));
  if (!wxTheClipboard->SetData(composite)) {
    error = "No se ha podido escribir en el portapapeles";
    return false;
  }
  return true;
}

void ClearClipboard() {
  OpenClipboard clipboard;
  if (clipboard.ok()) wxTheClipboard->Clear();
}

bool ClipboardHasRow() {
  OpenClipboard clipboard;
  return clipboard.ok() && wxTheClipboard->IsSupported(OwnFormat());
}

bool ReadRowFromClipboard(std::string& block) {
  block.clear();
  OpenClipboard clipboard;
  if (!clipboard.ok() || !wxTheClipboard->IsSupported(OwnFormat())) return false;
  wxCustomDataObject data(OwnFormat());
  if (!wxTheClipboard->GetData(data) || data.GetSize() == 0) return false;
  block.assign(static_cast<const char*>(data.GetData()), data.GetSize());
  return true;
}

}  // namespace ulk
