// XML through libxml2, and the escaping of what we write by hand.
#include "platform/xml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>

#include <climits>

#include "platform/text.h"

namespace ulk {
namespace {

const char* Chars(const xmlChar* text) {
  return reinterpret_cast<const char*>(text);
}
const xmlChar* XmlChars(const char* text) {
  return reinterpret_cast<const xmlChar*>(text);
}

// Keeps the first error libxml2 reports while a parse runs, instead of
// letting it print to the terminal.
void RecordError(void* context, xmlErrorPtr error) {
  auto* first = static_cast<XmlError*>(context);
  if (!error || error->level < XML_ERR_ERROR || !first->message.empty()) return;
  first->line = error->line;
  first->column = error->int2;
  first->message = Trim(error->message ? error->message : "error de sintaxis");
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
  xmlChar* found = xmlGetNoNsProp(node_, XmlChars(name));
  if (!found) return false;
  value = Chars(found);
  xmlFree(found);
  return true;
}

std::string XmlElement::Attribute(const char* name) const {
  std::string value;
  Attribute(name, value);
  return value;
}

std::string XmlElement::XmlAttribute(const char* name) const {
  if (!node_) return {};
  xmlChar* found = xmlGetNsProp(node_, XmlChars(name), XML_XML_NAMESPACE);
  if (!found) return {};
  std::string value = Chars(found);
  xmlFree(found);
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
  ~Reader() {
    if (reader) xmlFreeTextReader(reader);
  }
};

XmlStream::XmlStream() : reader_(std::make_unique<Reader>()) {}
XmlStream::~XmlStream() = default;

bool XmlStream::Open(std::string_view bytes) {
  error_ = {};
  failed_ = false;
  skip_ = false;
  if (reader_->reader) xmlFreeTextReader(reader_->reader);
  reader_->reader = nullptr;
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    error_.message = "el documento es demasiado grande";
    failed_ = true;
    return false;
  }
  // No network, no DTD loading and no entity substitution: a document's
  // own entities are refused where they are used (XmlElement::Text).
  reader_->reader =
      xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                         XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_COMPACT);
  if (!reader_->reader) {
    error_.message = "sin memoria";
    failed_ = true;
    return false;
  }
  xmlTextReaderSetStructuredErrorHandler(reader_->reader, RecordError, &error_);
  return true;
}

bool XmlStream::Next() {
  if (!reader_->reader || failed_) return false;
  int result = skip_ ? xmlTextReaderNext(reader_->reader) : xmlTextReaderRead(reader_->reader);
  skip_ = false;
  while (result == 1) {
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
