// Message tables (RT_MESSAGETABLE): the event and error messages a program
// formats with FormatMessage, in blocks of consecutive ids.
// Ref: Microsoft documentation, "MESSAGE_RESOURCE_DATA",
// "MESSAGE_RESOURCE_BLOCK", "MESSAGE_RESOURCE_ENTRY".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "translator/resources/text_translator.h"

namespace ulk {

struct MessageText {
  std::uint32_t id = 0;
  std::string text;  // UTF-8, up to the first NUL; ANSI entries read as Windows-1252
  bool unicode = false;
};

// The messages of a table in ascending id order, every message of every
// block (empty ones too). False, with `problem` saying where, for a table
// whose counts or offsets lead outside it, whose entries are not whole, or
// whose blocks overlap; `messages` is then left empty.
bool DecodeMessageTable(std::string_view bytes, std::vector<MessageText>& messages,
                        std::string& problem);

// Rebuilds a table with the translations `translator` gives (item = message
// id): blocks in ascending id order, every message kept, a translated one
// written as a Unicode entry, an untranslated one with its own bytes. With
// nothing translated, or a table DecodeMessageTable refuses, the table's
// own bytes go to `out` (the result then says which). kTooLong: a
// translation would not fit an entry's 16-bit length; nothing appended.
class MessageTableWriter {
 public:
  enum Result { kWritten, kUnreadable, kTooLong };
  Result Append(std::string_view table, TextTranslator& translator, std::string& out);
};

}  // namespace ulk
