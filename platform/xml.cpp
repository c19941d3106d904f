// XML through libxml2, and the escaping of what we write by hand.
#include "platform/xml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/text.h"
#include "platform/utf8.h"

namespace ulk {
namespace {

const char* Chars(const xmlChar* text) {
  return reinterpret_cast<const char*>(text);
}

// The message in valid UTF-8: libxml2 quotes the document in some of its
// messages, cut after a number of bytes that may fall inside a character.
std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    char32_t cp = 0;
    if (DecodeUtf8(text, pos, cp)) out.append(text.substr(start, pos - start));
  }
  return out;
}

// Keeps the first error libxml2 reports while a parse runs, instead of
// letting it print to the terminal.
void RecordError(void* context, xmlErrorPtr error) {
  auto* first = static_cast<XmlError*>(context);
  if (!error || error->level < XML_ERR_ERROR || !first->message.empty()) return;
  first->line = error->line;
  first->column = error->int2;
  first->message = Trim(ValidUtf8(error->message ? error->message : "error de sintaxis"));
}

// An attribute's value from its text children; false when it holds an
// entity reference, which is never expanded here.
bool AttributeValue(const xmlAttr* attribute, std::string& value) {
  value.clear();
  for (const xmlNode* child = attribute->children; child; child = child->next) {
    if (child->type == XML_ENTITY_REF_NODE) return false;
    if (child->type == XML_TEXT_NODE && child->content) value += Chars(child->content);
  }
  return true;
}

// The attribute of that name in that namespace (none for nullptr).
const xmlAttr* FindAttribute(const xmlNode* node, const char* name, const xmlChar* ns) {
  for (const xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
    if (!attribute->name || std::strcmp(Chars(attribute->name), name) != 0) continue;
    const xmlChar* href = attribute->ns ? attribute->ns->href : nullptr;
    if (ns ? href && xmlStrEqual(href, ns) : !href) return attribute;
  }
  return nullptr;
}

bool CollectText(const xmlNode* node, std::string& text, long& badLine) {
  for (const xmlNode* child = node->children; child; child = child->next) {
    switch (child->type) {
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE:
        if (child->content) text += Chars(child->content);
        break;
      case XML_ELEMENT_NODE:
        if (!CollectText(child, text, badLine)) return false;
        break;
      case XML_ENTITY_REF_NODE:
        badLine = xmlGetLineNo(child);
        return false;
      default:  // comments and processing instructions
        break;
    }
  }
  return true;
}

// A document's place as the reader reports it: its line and column.
void PlaceAt(std::string_view text, std::size_t pos, XmlError& error) {
  const std::string_view before = text.substr(0, pos);
  error.line = 1 + static_cast<long>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t lineStart = before.rfind('\n');
  const std::size_t column =
      1 + CountChars(before.substr(lineStart == std::string_view::npos ? 0 : lineStart + 1));
  error.column = static_cast<long>(column);
}

bool Refuse(std::string_view text, std::size_t pos, std::string message, XmlError& error) {
  PlaceAt(text, pos, error);
  error.message = std::move(message);
  return false;
}

// The offset of the first byte that is not part of valid UTF-8, or npos.
std::size_t FirstInvalidUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string_view::npos;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    char32_t cp = 0;
    if (!DecodeUtf8(text, pos, cp)) return start;
  }
  return std::string_view::npos;
}

// The encodings of code units wider than a byte, told by the document's
// first bytes (with or without a byte order mark); nullptr for the
// encodings in which markup is ASCII, which the declaration names.
struct Detected {
  const char* encoding = nullptr;
  std::size_t mark = 0;  // bytes of the byte order mark
  // Told, but not read: the parser itself would only print that it
  // cannot (UCS-4 in byte orders 2143 and 3412), or the markup is not
  // ASCII (EBCDIC).
  const char* unsupported = nullptr;
};

Detected DetectEncoding(std::string_view bytes) {
  using namespace std::string_view_literals;
  const auto starts = [&](std::string_view prefix) { return bytes.starts_with(prefix); };
  if (starts("\xEF\xBB\xBF"sv)) return {"UTF-8", 3};
  if (starts("\x00\x00\xFE\xFF"sv)) return {"UTF-32BE", 4};
  if (starts("\xFF\xFE\x00\x00"sv)) return {"UTF-32LE", 4};
  if (starts("\xFE\xFF"sv)) return {"UTF-16BE", 2};
  if (starts("\xFF\xFE"sv)) return {"UTF-16LE", 2};
  if (starts("\x00\x00\x00<"sv)) return {"UTF-32BE", 0};
  if (starts("<\x00\x00\x00"sv)) return {"UTF-32LE", 0};
  if (starts("\x00<\x00?"sv)) return {"UTF-16BE", 0};
  if (starts("<\x00?\x00"sv)) return {"UTF-16LE", 0};
  if (starts("\x00\x00<\x00"sv) || starts("\x00<\x00\x00"sv)) return {nullptr, 0, "UCS-4"};
  if (starts("\x4C\x6F\xA7\x94"sv)) return {nullptr, 0, "EBCDIC"};
  return {};
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The encoding named by the XML declaration that opens `text`; "" when
// there is none or it is malformed (the parser then says so).
std::string_view DeclaredEncoding(std::string_view text) {
  if (!text.starts_with("<?xml") || text.size() < 6 || !IsBlank(text[5])) return {};
  const std::string_view declaration = text.substr(0, text.find("?>"));
  std::size_t pos = declaration.find("encoding");
  if (pos == std::string_view::npos || !IsBlank(declaration[pos - 1])) return {};
  pos += 8;
  const auto skipBlanks = [&] {
    while (pos < declaration.size() && IsBlank(declaration[pos])) ++pos;
  };
  skipBlanks();
  if (pos >= declaration.size() || declaration[pos] != '=') return {};
  ++pos;
  skipBlanks();
  if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\'')) return {};
  const std::size_t end = declaration.find(declaration[pos], pos + 1);
  if (end == std::string_view::npos) return {};
  const std::string_view name = declaration.substr(pos + 1, end - pos - 1);
  // The grammar of encoding names, which also keeps converter options
  // ("//IGNORE") out of the converter's hands.
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const auto nameChar = [&](char c) {
    return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
  };
  if (name.empty() || !letter(name[0]) || !std::all_of(name.begin(), name.end(), nameChar))
    return {};
  return name;
}

// `bytes` in `encoding` converted into UTF-8 in `out`; false with the
// place of the first bytes that are not in it.
bool ConvertToUtf8(std::string_view bytes, const std::string& encoding, std::string& out,
                   XmlError& error) {
  const iconv_t converter = iconv_open("UTF-8", encoding.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    error.line = 1;
    error.message = "codificación no admitida: " + encoding;
    return false;
  }
  out.assign(bytes.size() + bytes.size() / 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  std::size_t done = 0;
  bool ok = true;
  // The last round, without input, ends a stateful encoding's shifts.
  for (bool flushing = false;;) {
    char* outAt = out.data() + done;
    std::size_t outLeft = out.size() - done;
    const std::size_t result = flushing ? iconv(converter, nullptr, nullptr, &outAt, &outLeft)
                                        : iconv(converter, &in, &inLeft, &outAt, &outLeft);
    done = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) {
      if (flushing) break;
      flushing = true;
      continue;
    }
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    ok = false;
    break;
  }
  iconv_close(converter);
  out.resize(done);
  if (!ok) Refuse(out, done, "el texto no está en la codificación " + encoding, error);
  return ok;
}

// After "<!DOCTYPE" at `pos`: whether the declaration has an internal
// subset, the only place where a document declares entities of its own.
// An external identifier alone is harmless, the DTD is never loaded, and
// translators' tools write one.
bool HasInternalSubset(std::string_view text, std::size_t pos) {
  while ((pos = text.find_first_of("\"'[>", pos)) != std::string_view::npos) {
    const char c = text[pos];
    if (c == '[') return true;
    if (c == '>') return false;
    pos = text.find(c, pos + 1);
    if (pos == std::string_view::npos) return false;
    ++pos;
  }
  return false;
}

// The quoted values of the start tag that `pos` is in (one per
// attribute), `pos` moved past its end.
std::size_t CountAttributes(std::string_view text, std::size_t& pos) {
  std::size_t quoted = 0;
  while ((pos = text.find_first_of("\"'<>", pos)) != std::string_view::npos) {
    const char c = text[pos];
    if (c == '<') return quoted;  // malformed: left to the parser
    if (c == '>') {
      ++pos;
      return quoted;
    }
    ++quoted;
    pos = text.find(c, pos + 1);
    if (pos == std::string_view::npos) break;
    ++pos;
  }
  pos = text.size();
  return quoted;
}

// Refuses, before the parser sees them, the constructs whose cost grows
// faster than the document: a DOCTYPE with declarations of its own
// (entities the parser expands, in attribute values even without being
// asked) and an element with very many attributes. Comments, processing
// instructions, CDATA sections and quoted values are skipped as the parser
// reads them, so that no text inside them is taken for markup; anything
// else that is wrong is left to the parser.
bool CheckMarkup(std::string_view text, XmlError& error) {
  std::size_t pos = 0;
  const auto skipPast = [&](std::string_view end) {
    const std::size_t at = text.find(end, pos);
    pos = at == std::string_view::npos ? text.size() : at + end.size();
  };
  while ((pos = text.find('<', pos)) != std::string_view::npos) {
    const std::size_t start = pos;
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with("<!--")) {
      pos += 4;
      skipPast("-->");
    } else if (rest.starts_with("<![CDATA[")) {
      pos += 9;
      skipPast("]]>");
    } else if (rest.starts_with("<?")) {
      pos += 2;
      skipPast("?>");
    } else if (rest.starts_with("<!DOCTYPE")) {
      if (HasInternalSubset(text, pos + 9)) {
        return Refuse(text, start,
                      "la declaración DOCTYPE trae definiciones propias (entidades), que no se "
                      "admiten: un archivo XLIFF o TMX no las necesita",
                      error);
      }
      pos += 9;
      skipPast(">");
    } else if (rest.starts_with("<!") || rest.starts_with("</")) {
      pos += 2;
      skipPast(">");
    } else {
      ++pos;
      if (CountAttributes(text, pos) > kMaxXmlAttributes) {
        return Refuse(
            text, start,
            "el elemento tiene más de " + std::to_string(kMaxXmlAttributes) + " atributos", error);
      }
    }
  }
  return true;
}

// The document in UTF-8, in `text`: the bytes themselves, or their
// conversion kept in `converted`. The parser is then told the document is
// UTF-8 whatever its declaration says, so that it reads exactly what
// CheckMarkup has seen.
bool PrepareDocument(std::string_view bytes, std::string& converted, std::string_view& text,
                     XmlError& error) {
  const Detected detected = DetectEncoding(bytes);
  std::string encoding;
  if (detected.unsupported) {
    error.line = 1;
    error.message = "codificación no admitida: " + std::string(detected.unsupported);
    return false;
  }
  if (detected.encoding) {
    encoding = detected.encoding;
  } else {
    encoding = ToUpperUtf8(DeclaredEncoding(bytes));
    // A wide encoding declared for a document whose first bytes are
    // ASCII: it is not what it says.
    for (const char* wide : {"UTF-16", "UTF16", "UTF-32", "UTF32", "UCS", "ISO-10646"}) {
      if (encoding.starts_with(wide)) {
        error.line = 1;
        error.message = "el documento dice estar en " + encoding + " pero no lo está";
        return false;
      }
    }
    if (encoding == "UTF8") encoding = "UTF-8";
  }
  bytes.remove_prefix(detected.mark);
  if (encoding.empty() || encoding == "UTF-8") {
    text = bytes;
    // Checked here in full: the parser's reader lets overlong sequences
    // through in CDATA sections.
    if (const std::size_t bad = FirstInvalidUtf8(text); bad != std::string_view::npos)
      return Refuse(text, bad, "el texto no está en la codificación UTF-8", error);
  } else {
    if (!ConvertToUtf8(bytes, encoding, converted, error)) return false;
    text = converted;
  }
  // Never a character of XML; refused here because the parser, before it
  // is told the encoding, takes NULs among the first bytes for a wider
  // encoding and prints that it cannot read it.
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
    return Refuse(text, nul, "el documento contiene un carácter nulo", error);
  return CheckMarkup(text, error);
}

}  // namespace

std::string_view XmlElement::LocalName() const {
  return node_ && node_->name ? Chars(node_->name) : "";
}

std::string_view XmlElement::NamespaceUri() const {
  return node_ && node_->ns && node_->ns->href ? Chars(node_->ns->href) : "";
}

long XmlElement::Line() const {
  return node_ ? xmlGetLineNo(node_) : 0;
}

bool XmlElement::Attribute(const char* name, std::string& value) const {
  if (!node_) return false;
  const xmlAttr* found = FindAttribute(node_, name, nullptr);
  return found && AttributeValue(found, value);
}

std::string XmlElement::Attribute(const char* name) const {
  std::string value;
  Attribute(name, value);
  return value;
}

std::string XmlElement::XmlAttribute(const char* name) const {
  std::string value;
  if (!node_) return value;
  const xmlAttr* found = FindAttribute(node_, name, XML_XML_NAMESPACE);
  if (!found || !AttributeValue(found, value)) value.clear();
  return value;
}

std::vector<XmlElement> XmlElement::Children() const {
  std::vector<XmlElement> children;
  if (!node_) return children;
  for (xmlNode* child = node_->children; child; child = child->next) {
    if (child->type == XML_ELEMENT_NODE) children.emplace_back(child);
  }
  return children;
}

XmlElement XmlElement::Child(std::string_view localName) const {
  if (!node_) return {};
  for (xmlNode* child = node_->children; child; child = child->next) {
    if (child->type == XML_ELEMENT_NODE && XmlElement(child).LocalName() == localName)
      return XmlElement(child);
  }
  return {};
}

std::vector<XmlElement> XmlElement::ChildrenNamed(std::string_view localName) const {
  std::vector<XmlElement> found;
  for (const XmlElement& child : Children()) {
    if (child.LocalName() == localName) found.push_back(child);
  }
  return found;
}

bool XmlElement::Text(std::string& text, long& badLine) const {
  text.clear();
  badLine = 0;
  return !node_ || CollectText(node_, text, badLine);
}

struct XmlStream::Reader {
  xmlTextReaderPtr reader = nullptr;
  std::string converted;  // the document in UTF-8, when it was not
  void Close() {
    if (reader) xmlFreeTextReader(reader);
    reader = nullptr;
  }
  ~Reader() { Close(); }
};

XmlStream::XmlStream() : reader_(std::make_unique<Reader>()) {}
XmlStream::~XmlStream() = default;

bool XmlStream::Open(std::string_view bytes) {
  error_ = {};
  failed_ = false;
  skip_ = false;
  reader_->Close();
  reader_->converted.clear();
  std::string_view text;
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    error_.message = "el documento es demasiado grande";
  } else if (PrepareDocument(bytes, reader_->converted, text, error_) &&
             text.size() > static_cast<std::size_t>(INT_MAX)) {
    error_.message = "el documento es demasiado grande";
  }
  if (!error_.message.empty()) {
    failed_ = true;
    return false;
  }
  // No network, no DTD loading and no entity substitution, whatever the
  // library's defaults: entities are refused where they are used
  // (XmlElement::Text and Attribute).
  reader_->reader = xmlReaderForMemory(
      text.empty() ? "" : text.data(), static_cast<int>(text.size()), nullptr, "UTF-8",
      XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_COMPACT | XML_PARSE_IGNORE_ENC);
  if (!reader_->reader) {
    error_.message = "sin memoria";
    failed_ = true;
    return false;
  }
  for (const int property : {XML_PARSER_LOADDTD, XML_PARSER_DEFAULTATTRS, XML_PARSER_VALIDATE,
                             XML_PARSER_SUBST_ENTITIES}) {
    xmlTextReaderSetParserProp(reader_->reader, property, 0);
  }
  xmlTextReaderSetStructuredErrorHandler(reader_->reader, RecordError, &error_);
  return true;
}

bool XmlStream::Next() {
  if (!reader_->reader || failed_) return false;
  int result = skip_ ? xmlTextReaderNext(reader_->reader) : xmlTextReaderRead(reader_->reader);
  skip_ = false;
  // An element read after an error is not given out: the document is
  // refused from there.
  while (result == 1 && error_.message.empty()) {
    if (xmlTextReaderNodeType(reader_->reader) == XML_READER_TYPE_ELEMENT) return true;
    result = xmlTextReaderRead(reader_->reader);
  }
  if (result < 0 || !error_.message.empty()) {
    failed_ = true;
    if (error_.message.empty()) {
      error_.line = xmlTextReaderGetParserLineNumber(reader_->reader);
      error_.message = "error de sintaxis";
    }
  }
  return false;
}

int XmlStream::Depth() const {
  return reader_->reader ? xmlTextReaderDepth(reader_->reader) : -1;
}

XmlElement XmlStream::Current() const {
  return reader_->reader ? XmlElement(xmlTextReaderCurrentNode(reader_->reader)) : XmlElement();
}

XmlElement XmlStream::Expand() {
  if (!reader_->reader || failed_) return {};
  xmlNodePtr node = xmlTextReaderExpand(reader_->reader);
  if (!node || !error_.message.empty()) {
    failed_ = true;
    if (error_.message.empty()) {
      error_.line = xmlTextReaderGetParserLineNumber(reader_->reader);
      error_.message = "error de sintaxis";
    }
    return {};
  }
  skip_ = true;
  return XmlElement(node);
}

void AppendXmlEscaped(std::string& out, std::string_view text, bool attribute) {
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '"':
        out += attribute ? "&quot;" : "\"";
        break;
      case '\n':
        out += attribute ? "&#10;" : "\n";
        break;
      case '\t':
        out += attribute ? "&#9;" : "\t";
        break;
      default:
        out.push_back(c);
    }
  }
}

std::string XmlEscape(std::string_view text, bool attribute) {
  std::string out;
  out.reserve(text.size() + 16);
  AppendXmlEscaped(out, text, attribute);
  return out;
}

bool IsXmlText(std::string_view text) {
  if (!IsValidUtf8(text)) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return false;
    // U+FFFE and U+FFFF: EF BF BE and EF BF BF.
    if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
        (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE) {
      return false;
    }
  }
  return true;
}

}  // namespace ulk
