// Fuzz target: the XML layer. Whatever it gives back of a document (names,
// attribute values, texts) is valid UTF-8 of characters XML allows, never
// a NUL, and escaped into a document of its own reads back the same; a
// refused document says where, in valid UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text.h"
#include "platform/xml.h"

namespace {

// The attributes the exchange formats read, and short ones for the
// fuzzer's own documents.
constexpr const char* kAttributes[] = {"id",   "version", "state", "approved", "target-language",
                                       "type", "lang",    "tuid",  "a",        "b"};

void CheckText(std::string_view text) {
  if (!ulk::IsXmlText(text) || text.find('\0') != std::string_view::npos) std::abort();
}

// `text` written as an attribute value and as content, then read again.
void CheckRoundTrip(const std::string& text) {
  const std::string document =
      "<r a=\"" + ulk::XmlEscape(text, true) + "\">" + ulk::XmlEscape(text) + "</r>";
  ulk::XmlStream stream;
  if (!stream.Open(document) || !stream.Next()) std::abort();
  std::string value;
  if (!stream.Current().Attribute("a", value) || value != text) std::abort();
  const ulk::XmlElement root = stream.Expand();
  std::string content;
  long badLine = 0;
  if (!root || !root.Text(content, badLine) || content != text) std::abort();
  if (stream.Next() || stream.Failed()) std::abort();
}

void CheckAttributes(const ulk::XmlElement& element) {
  CheckText(element.LocalName());
  CheckText(element.NamespaceUri());
  for (const char* name : kAttributes) {
    std::string value;
    if (element.Attribute(name, value)) {
      CheckText(value);
      CheckRoundTrip(value);
    }
  }
  const std::string lang = element.XmlAttribute("lang");
  CheckText(lang);
}

void CheckTree(const ulk::XmlElement& element) {
  CheckAttributes(element);
  std::string text;
  long badLine = 0;
  if (element.Text(text, badLine)) {
    CheckText(text);
    CheckRoundTrip(text);
  }
  for (const ulk::XmlElement& child : element.Children()) CheckTree(child);
}

void CheckError(const ulk::XmlStream& stream) {
  if (stream.Error().message.empty() || !ulk::IsValidUtf8(stream.Error().message)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ulk::XmlStream stream;
  if (!stream.Open(bytes)) {
    CheckError(stream);
    return 0;
  }
  // Every other element is expanded, as the readers expand their units,
  // and the others only walked past.
  std::size_t elements = 0;
  while (stream.Next()) {
    const ulk::XmlElement element = stream.Current();
    CheckAttributes(element);
    if (++elements % 2 == 0) continue;
    const ulk::XmlElement expanded = stream.Expand();
    if (!expanded) break;
    CheckTree(expanded);
  }
  if (stream.Failed()) CheckError(stream);
  return 0;
}
