// The XML layer under the exchange formats: what a document may not do
// (declare entities, load a DTD, hide either behind its encoding, carry
// characters XML forbids, cost more than its size), and what it gives back
// in every encoding it may come in.
#include "platform/xml.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

// Everything the layer gives of a document, one line per element: its
// name, the attributes "b" and "xml:lang" when present, and for an element
// <t> (expanded) its text; then where it was refused, if it was.
std::string Read(std::string_view bytes) {
  XmlStream stream;
  std::string out;
  if (stream.Open(bytes)) {
    while (stream.Next()) {
      const XmlElement element = stream.Current();
      out += element.LocalName();
      std::string value;
      if (element.Attribute("b", value)) out += " b=[" + value + "]";
      if (const std::string lang = element.XmlAttribute("lang"); !lang.empty())
        out += " lang=[" + lang + "]";
      if (element.LocalName() == "t") {
        const XmlElement expanded = stream.Expand();
        if (!expanded) break;
        std::string text;
        long badLine = 0;
        out += expanded.Text(text, badLine)
                   ? " [" + text + "]"
                   : " (entidad en la línea " + std::to_string(badLine) + ")";
      }
      out += '\n';
    }
  }
  if (stream.Failed()) {
    const XmlError& error = stream.Error();
    out += "línea " + std::to_string(error.line) +
           (error.column > 0 ? ", columna " + std::to_string(error.column) : "") + ": " +
           error.message;
  }
  return out;
}

std::string Utf16(std::string_view utf8, bool bigEndian, bool mark) {
  std::u16string units = Utf8ToUtf16(utf8);
  if (mark) units.insert(units.begin(), u'\xFEFF');
  std::string out;
  for (const char16_t unit : units) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return out;
}

std::string Utf32Le(std::u32string_view text) {
  std::string out;
  for (const char32_t c : text) {
    for (int shift = 0; shift < 32; shift += 8)
      out.push_back(static_cast<char>((c >> shift) & 0xFF));
  }
  return out;
}

// `count` attributes b0="x>'", b1='y>"', ...: quotes of the other kind and
// ">" inside the values, which must not end the tag.
std::string Attributes(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    out += " b" + std::to_string(i) + (i % 2 ? "='y>\"'" : "=\"x>'\"");
  }
  return out;
}

constexpr const char* kDoctype =
    "la declaración DOCTYPE trae definiciones propias (entidades), que no se admiten: un archivo "
    "XLIFF o TMX no las necesita";

TEST(XmlTest, WhatADocumentGivesOrWhyItIsRefused) {
  testing::TempDir dir("xml");
  testing::WriteFileBytes(dir / "evil.dtd", "<!ENTITY e \"DEL DTD\">\n");
  const std::string utf16Doctype =
      Utf16("<!DOCTYPE a [<!ENTITY e \"boom\">]><a b=\"&e;\"/>", false, true);
  const std::pair<std::string, std::string> cases[] = {
      // A document's own entities, in attribute values (which the parser
      // expands by itself, in time that grows with the square of the
      // file), in content, nested, or as parameter entities.
      {"<!DOCTYPE a [<!ENTITY e \"boom\">]>\n<a b=\"&e;\"/>",
       std::string("línea 1, columna 1: ") + kDoctype},
      {"<?xml version=\"1.0\"?>\n<!-- x -->\n  <!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n"
       "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">]>\n"
       "<lolz><t>&lol2;</t></lolz>",
       std::string("línea 3, columna 3: ") + kDoctype},
      {"<!DOCTYPE a SYSTEM \"x.dtd\" [<!ENTITY % p \"x\">]><a/>",
       std::string("línea 1, columna 1: ") + kDoctype},
      {"<!DOCTYPE a []><a/>", std::string("línea 1, columna 1: ") + kDoctype},
      // The same, where only the document's encoding shows the markup.
      {utf16Doctype, std::string("línea 1, columna 1: ") + kDoctype},
      {"<?xml version=\"1.0\" encoding=\"UTF-7\"?>\n"
       "+ADw-+ACE-DOCTYPE a +AFs-+ADw-+ACE-ENTITY e +ACI-x+ACI-+AD4-+AF0-+AD4-+ADw-a/+AD4-",
       std::string("línea 2, columna 1: ") + kDoctype},
      // Tools write an external identifier; the DTD is never read, so its
      // entities stay undeclared.
      {"<!DOCTYPE tmx SYSTEM \"tmx[14].dtd\">\n<tmx b=\"1\"/>", "tmx b=[1]\n"},
      {"<!DOCTYPE a SYSTEM \"" + dir / "evil.dtd" + "\">\n<a><t>&e;</t></a>",
       "línea 2, columna 10: Entity 'e' not defined"},
      {"<!DOCTYPE a SYSTEM \"" + dir / "evil.dtd" + "\">\n<a b=\"&e;\"/>",
       "línea 2, columna 10: Entity 'e' not defined"},
      // Markup-like text inside comments, CDATA and processing
      // instructions is text.
      {"<a><!-- <!DOCTYPE x [ --><t><![CDATA[<!DOCTYPE y [ <?x]]></t><?p <!DOCTYPE z [ ?></a>",
       "a\nt [<!DOCTYPE y [ <?x]\n"},
      // The five entities and character references that XML allows.
      {"<a b=\"&#9;&#10;&#13;&#x85;&lt;&#x10FFFF;&apos;\"><t>&amp;&quot;&gt;&#x7F;&#13;</t></a>",
       "a b=[\t\n\r\u0085<\U0010FFFF']\nt [&\">\x7F\r]\n"},
      // Nothing the parser reads past an error is given out: it reads
      // ahead of the elements it gives.
      {"<a><p:b/><c/></a>", "línea 1, columna 8: Namespace prefix p on b is not defined"},
      // The parser's time grows with the square of an element's
      // attributes: 40,000 of them take a minute.
      {"<a" + Attributes(256) + "/>", "a\n"},
      {"<a>\n <a" + Attributes(257) + "/></a>",
       "línea 2, columna 2: el elemento tiene más de 256 atributos"},
      // Encodings: by byte order mark, by the first characters, by the
      // declaration.
      {Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a b=\"é\"><t>ü€</t></a>", false, true),
       "a b=[é]\nt [ü€]\n"},
      {Utf16("<?xml version=\"1.0\"?><a xml:lang=\"𝄞\"/>", true, false), "a lang=[𝄞]\n"},
      {Utf32Le(U"<?xml version=\"1.0\"?><a b=\"ж\"/>"), "a b=[ж]\n"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<a b=\"caf\xE9\"/>", "a b=[café]\n"},
      {"<?xml version='1.0' encoding = 'windows-1252' ?><a><t>\x80</t></a>", "a\nt [€]\n"},
      {"\xEF\xBB\xBF<a b=\"ñ\"/>", "a b=[ñ]\n"},
      {"<?xml version=\"1.0\" encoding=\"X-NINGUNA\"?><a/>",
       "línea 1: codificación no admitida: X-NINGUNA"},
      {std::string("\x00\x00<\x00\x00\x00a\x00", 8), "línea 1: codificación no admitida: UCS-4"},
      {std::string("\xFF\xFE<\x00\x00\x00\x00\x00\x00\x00\x62\x00", 12),
       "línea 1, columna 2: el documento contiene un carácter nulo"},
      {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>",
       "línea 1: el documento dice estar en UTF-16 pero no lo está"},
      {Utf16("<a>\n<t>", false, true) + std::string("\x00\xD8", 2) +
           Utf16("</t></a>", false, false),
       "línea 2, columna 4: el texto no está en la codificación UTF-16LE"},
      {"<a>\n<t>caf\xE9</t></a>", "línea 2, columna 7: el texto no está en la codificación UTF-8"},
      // An overlong form, which the parser's reader takes in CDATA.
      {"<a><t><![CDATA[<?\xC1\x86]]></t></a>",
       "línea 1, columna 18: el texto no está en la codificación UTF-8"},
  };
  // Whatever the parser has to say comes back in the error, never on the
  // terminal.
  ::testing::internal::CaptureStderr();
  for (const auto& [document, expected] : cases) {
    EXPECT_EQ(Read(document), expected) << document;
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  // The parser quotes the document in some messages, cut after a number
  // of bytes: the message the window shows must still be UTF-8.
  for (const char* start : {"<a><!--", "<a><!-- "}) {
    std::string document = start;
    for (int i = 0; i < 80; ++i) document += "é";
    const std::string read = Read(document);
    EXPECT_NE(read.find("Comment not terminated"), std::string::npos) << read;
    EXPECT_TRUE(IsValidUtf8(read)) << read;
  }
}

TEST(XmlTest, CharactersXmlForbidsNeverComeThrough) {
  const char* references[] = {"&#0;",       "&#x0;",         "&#1;",     "&#x1F;",
                              "&#xD800;",   "&#xDFFF;",      "&#xFFFE;", "&#xFFFF;",
                              "&#x110000;", "&#4294967328;", "\x01",     "\xEF\xBF\xBE"};
  for (const char* reference : references) {
    for (const char* version : {"1.0", "1.1"}) {
      for (const bool inAttribute : {false, true}) {
        // What stands beside the character must not come through either.
        const std::string body = inAttribute ? "<a b=\"ZQJ" + std::string(reference) + "\"/>"
                                             : "<a><t>ZQJ" + std::string(reference) + "</t></a>";
        const std::string document = "<?xml version=\"" + std::string(version) + "\"?>" + body;
        for (const std::string& bytes : {document, Utf16(document, false, true)}) {
          const std::string read = Read(bytes);
          SCOPED_TRACE(document);
          EXPECT_EQ(read.find("ZQJ"), std::string::npos) << read;
          EXPECT_NE(read.find("línea 1"), std::string::npos) << read;
        }
      }
    }
  }
}

}  // namespace
}  // namespace ulk
