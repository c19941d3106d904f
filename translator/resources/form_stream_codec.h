// Delphi form streams: the binary component tree ("TPF0" and then the root
// component) that such programs keep as RCDATA resources in place of
// dialog templates.
//
// Ref: the streaming format of the VCL's TReader/TWriter: a component is an
// optional flags prefix (0xF0 | flags, with a child position when flag 2 is
// set), its class name and its name as short strings, its properties (a
// short-string name and a typed value each) up to an empty name, its child
// components up to a zero byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "translator/resources/text_translator.h"

namespace ulk {

// Whether a resource's bytes begin with the form signature.
bool IsFormStream(std::string_view bytes);

// One string value of a form stream.
struct FormString {
  std::uint32_t ordinal = 0;  // among every string value of the stream, from 0
  std::string path;           // "Form1.Panel1.Button1.Caption", "Memo1.Lines.Strings[2]"
  std::string text;           // UTF-8
  bool isInterfaceText = false;
  std::size_t offset = 0;  // of the value's type byte
  std::size_t length = 0;  // of the whole value, type byte included
};

// Every string value of the stream, in stream order; false, with `problem`
// saying where, when the stream cannot be walked to its end (and then
// nothing of it is to be translated).
bool ParseFormStream(std::string_view bytes, std::vector<FormString>& strings,
                     std::string& problem);

// Whether a property (its full dotted name, list items by the list's name)
// holds text the user reads: Caption, Hint, Text, Title, TextHint,
// DisplayLabel, EditLabel.Caption...; and the items of Items.Strings,
// Lines.Strings and Tabs.Strings. Names, file names, SQL, font names and
// data fields are not.
bool IsInterfaceTextProperty(std::string_view property, bool listItem);

// The stream with the translations `translator` gives (item = ordinal) of
// its interface texts in place of their values: a short or long string
// when the translation is ASCII, else a wide string; every other byte as it
// was. The stream's own bytes, with kUnreadable, when it cannot be walked;
// as it is when nothing is translated.
class FormStreamWriter {
 public:
  enum Result { kWritten, kUnreadable };
  Result Append(std::string_view stream, TextTranslator& translator, std::string& out);
};

}  // namespace ulk
