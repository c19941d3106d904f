// Reading XML documents through libxml2 (a real parser: no network, no
// external entities, no DTD loading, no document of its own declarations)
// and writing XML by hand with the escaping a parser expects back.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct _xmlNode;

namespace ulk {

// One element of a parsed document; valid while its document lives.
class XmlElement {
 public:
  XmlElement() = default;
  explicit XmlElement(_xmlNode* node) : node_(node) {}

  explicit operator bool() const { return node_ != nullptr; }
  // The name without its prefix, and the namespace URI ("" for none).
  std::string_view LocalName() const;
  std::string_view NamespaceUri() const;
  // The line of the start tag in the document.
  long Line() const;

  // The value of an attribute without namespace; false when absent. An
  // entity reference in it is never expanded: such a value counts as
  // absent (a document that could declare the entity is refused anyway).
  bool Attribute(const char* name, std::string& value) const;
  std::string Attribute(const char* name) const;
  // The value of xml:lang (or of `name` in the XML namespace).
  std::string XmlAttribute(const char* name) const;

  // The child elements, in document order.
  std::vector<XmlElement> Children() const;
  // The first child element of that local name; a null element when none.
  XmlElement Child(std::string_view localName) const;
  std::vector<XmlElement> ChildrenNamed(std::string_view localName) const;

  // All text below the element, markup of inline elements dropped and their
  // text kept, in document order. False when it holds an entity reference
  // that the document declares for itself (never expanded here), with the
  // line of that reference in `badLine`.
  bool Text(std::string& text, long& badLine) const;

 private:
  _xmlNode* node_ = nullptr;
};

// Where a document goes wrong.
struct XmlError {
  long line = 0;
  long column = 0;
  std::string message;  // libxml2's own words
};

inline constexpr std::size_t kMaxXmlAttributes = 256;

// A document read element by element (libxml2's reader): large documents
// are read without holding the whole tree, each element of interest
// expanded into a tree of its own while the reader stands on it.
class XmlStream {
 public:
  XmlStream();
  ~XmlStream();
  XmlStream(const XmlStream&) = delete;
  XmlStream& operator=(const XmlStream&) = delete;

  // Starts reading the bytes (their encoding as the byte order mark or
  // the XML declaration says, UTF-8 by default); the bytes must outlive
  // the stream. False, with Failed() and Error(), for a document refused
  // before it is parsed: a DOCTYPE that declares anything of its own
  // (entities would be expanded by the parser), an element with more
  // than kMaxXmlAttributes attributes (the parser's time grows with their
  // square), an encoding that cannot be read or bytes not in it.
  bool Open(std::string_view bytes);
  // Moves to the next start tag in document order (past the content of an
  // element that was expanded). False at the end of the document, and for
  // a document that is not well-formed or not in its encoding: Failed()
  // and Error() then tell where.
  bool Next();
  bool Failed() const { return failed_; }
  const XmlError& Error() const { return error_; }

  // The element the stream stands on: its depth (0 for the root), name
  // and attributes.
  int Depth() const;
  XmlElement Current() const;
  // The current element with everything inside it, valid until the next
  // move; a null element (and Failed()) when its content is malformed.
  XmlElement Expand();

 private:
  struct Reader;
  std::unique_ptr<Reader> reader_;
  bool skip_ = false;
  bool failed_ = false;
  XmlError error_;
};

// The text escaped for element content (<, &, > and a carriage return,
// which a parser would otherwise turn into a line feed) or, with
// `attribute`, for a double-quoted attribute value (also ", tab and line
// feed, which attribute-value normalisation would turn into blanks).
std::string XmlEscape(std::string_view text, bool attribute = false);
void AppendXmlEscaped(std::string& out, std::string_view text, bool attribute = false);

// Whether every character of the UTF-8 text may stand in an XML 1.0
// document (tab, line feed, carriage return and U+0020 on, except the
// surrogates, U+FFFE and U+FFFF); false for invalid UTF-8 too.
bool IsXmlText(std::string_view text);

}  // namespace ulk
