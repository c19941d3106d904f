// The clipboard of the resource list: a row's texts in the program's own
// format "CF_ULK" (language name and text, each ended by a zero byte, one
// more zero byte at the end) and as plain text.
#pragma once

#include <string>

namespace ulk {

inline constexpr const char* kClipboardFormatName = "CF_ULK";

// Puts both blocks on the clipboard, replacing what it held. False with
// `error` set when the clipboard could not be opened or written.
bool PutRowOnClipboard(const std::string& ownBlock, const std::string& textBlock,
                       std::string& error);
// Empties the clipboard.
void ClearClipboard();
// Whether the clipboard holds a block in the program's own format.
bool ClipboardHasRow();
// The block in the program's own format; false when there is none (or it
// is empty).
bool ReadRowFromClipboard(std::string& block);

}  // namespace ulk
