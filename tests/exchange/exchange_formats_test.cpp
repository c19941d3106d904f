// The PO and XLIFF writers and readers: what is written reads back the
// same, what the tools may write is understood, and malformed files are
// refused with the line where they go wrong.
#include <gtest/gtest.h>

#include "platform/stored_text.h"
#include "translator/exchange/po_file.h"
#include "translator/exchange/xliff_file.h"

namespace ulk {
namespace {

ExportHeader Header() {
  ExportHeader header;
  header.projectName = "Demo";
  header.moduleFile = "app.dll";
  header.sourceLanguage = "Español (España)";
  header.targetLanguage = "Alemán (Alemania)";
  header.sourceTag = "es-ES";
  header.targetTag = "de-DE";
  header.revisionDate = "2024-01-02 03:04+0000";
  return header;
}

// A text in the form the project stores it, as the readers give it.
std::string Stored(std::string_view text) {
  std::string stored;
  EXPECT_FALSE(ToStoredText(text, stored)) << text;
  return stored;
}

// Texts that stress both formats' escaping.
std::vector<ExportUnit> Units() {
  std::vector<ExportUnit> units(6);
  units[0] = {"ST_N_1 (0)", "Abrir", "Öffnen", "string", "Tabla de strings ST_N_1", 0, 0, false};
  units[1] = {"ST_N_1 (1)", "Línea uno\nLínea dos\n", "", "string", "", 0, 0, false};
  units[2] = {
      "ST_N_1 (2)", "Tab\there \"quoted\" \\ back", "Tab\thier \"zitiert\" \\", "", "", 0, 0,
      false};
  units[3] = {"DL_S_A&B (3)", "<&> \r\nCRLF", "<&> \r\nCRLF de", "button", "Diálogo", 50, 14,
              false};
  units[4] = {"MN_N_1 (2)", "&Salir\tCtrl+Q", "\nBeenden", "menuitem", "Menú", 0, 0, true};
  units[5] = {"ST_N_2 (0)", "  blancos  ", "  Leerzeichen  ", "", "", 0, 0, false};
  return units;
}

TEST(ExchangeFormatsTest, WrittenUnitsReadBackUnchanged) {
  const std::vector<ExportUnit> units = Units();
  for (const bool xliff : {false, true}) {
    const std::string text = xliff ? WriteXliff(Header(), units) : WritePo(Header(), units);
    ImportFile file;
    std::string error;
    ASSERT_TRUE(xliff ? ReadXliff(text, file, error) : ReadPo(text, file, error)) << error;
    EXPECT_EQ(file.targetLanguage, xliff ? "de-DE" : "de_DE");
    ASSERT_EQ(file.units.size(), units.size()) << text;
    for (std::size_t i = 0; i < units.size(); ++i) {
      SCOPED_TRACE(units[i].key + (xliff ? " xliff" : " po"));
      EXPECT_TRUE(file.units[i].hasKey);
      EXPECT_EQ(file.units[i].key, units[i].key);
      EXPECT_EQ(file.units[i].source, Stored(units[i].source));
      EXPECT_EQ(file.units[i].target, Stored(units[i].target));
      EXPECT_EQ(file.units[i].translated, !units[i].target.empty() && !units[i].fuzzy);
    }
  }
}

TEST(ExchangeFormatsTest, PoHeaderAndSizes) {
  const std::string po = WritePo(Header(), Units());
  for (const char* expected :
       {"\"Language: de_DE\\n\"", "\"Content-Type: text/plain; charset=UTF-8\\n\"",
        "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"",
        "#. Tamaño del control: 50 x 14 unidades de diálogo\n", "#, fuzzy\nmsgctxt \"MN_N_1 (2)\"",
        "msgid \"\"\n\"Línea uno\\n\"\n\"Línea dos\\n\"\n"}) {
    EXPECT_NE(po.find(expected), std::string::npos) << expected;
  }
  const std::string xliff = WriteXliff(Header(), Units());
  for (const char* expected :
       {"source-language=\"es-ES\" target-language=\"de-DE\"", "id=\"DL_S_A&amp;B (3)\"",
        "maxwidth=\"50\" maxheight=\"14\" size-unit=\"dlgunit\"", "<target state=\"new\"></target>",
        "&lt;&amp;&gt; &#13;\nCRLF", "<target state=\"needs-review-translation\">"}) {
    EXPECT_NE(xliff.find(expected), std::string::npos) << expected;
  }
  EXPECT_EQ(PluralFormsOf("ja-JP"), "nplurals=1; plural=0;");
  EXPECT_EQ(PluralFormsOf("pt-BR"), "nplurals=2; plural=(n > 1);");
  EXPECT_EQ(PluralFormsOf("pt-PT"), "nplurals=2; plural=(n != 1);");
  EXPECT_EQ(PluralFormsOf("ru-RU").substr(0, 11), "nplurals=3;");
}

TEST(ExchangeFormatsTest, PoAsTranslatorsToolsWriteIt) {
  const std::string po =
      "# comment\r\n"
      "msgid \"\"\r\n"
      "msgstr \"Content-Type: text/plain; charset=utf-8\\n\"\r\n"
      "\"Language: fr\\n\"\r\n"
      "\r\n"
      "#, fuzzy, c-format\r\n"
      "msgctxt \"A (1)\"\r\n"
      "msgid \"uno\"\r\n"
      "msgstr \"un\"\r\n"
      "#: a comment starting the next entry\r\n"
      "msgctxt \"A (2)\"\n"
      "msgid \"dos\"\n"
      "msgstr \"\"\n"
      "\"deux\"\n"
      "msgid \"sin contexto\"\n"
      "msgstr \"sans contexte\"\n"
      "msgctxt \"A (3)\"\n"
      "msgid \"tres\"\n"
      "msgid_plural \"treses\"\n"
      "msgstr[0] \"trois\"\n"
      "msgstr[1] \"troises\"\n"
      "#~ msgctxt \"A (4)\"\n"
      "#~ msgid \"viejo\"\n"
      "#~ msgstr \"vieux\"\n"
      "msgctxt \"A (5)\"\n"
      "msgid \"\\101\\tb\"\n"
      "msgstr \"cinq\"\n"
      // One character's bytes in two pieces, each invalid by itself.
      "msgctxt \"A (6)\"\n"
      "msgid \"seis\"\n"
      "msgstr \"\\303\"\n"
      "\"\\251\"";
  ImportFile file;
  std::string error;
  ASSERT_TRUE(ReadPo(po, file, error)) << error;
  EXPECT_EQ(file.targetLanguage, "fr");
  ASSERT_EQ(file.units.size(), 6u);
  EXPECT_FALSE(file.units[0].translated) << "fuzzy";
  EXPECT_EQ(file.units[0].line, 7);
  EXPECT_EQ(file.units[1].target, "deux");
  EXPECT_TRUE(file.units[1].translated);
  EXPECT_FALSE(file.units[2].hasKey);
  EXPECT_FALSE(file.units[3].translated) << "plural entries are not taken back";
  EXPECT_EQ(file.units[4].key, "A (5)");
  EXPECT_EQ(file.units[4].source, "A\\tb");
  EXPECT_EQ(file.units[5].target, "é");
}

TEST(ExchangeFormatsTest, MalformedPoIsRefusedWithItsLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"msgid \"a\"\nmsgstr \"b\"\nmsgid \"c\"\nmsgtxt \"d\"\n",
       "línea 4: palabra clave desconocida: msgtxt"},
      {"msgid \"a\nmsgstr \"b\"\n", "línea 1: la cadena no termina en esta línea"},
      {"msgid \"a\"\n\nmsgid \"b\"\n", "línea 3: msgid repetido"},
      {"msgstr \"b\"\n", "línea 1: msgstr sin msgid"},
      {"\"suelta\"\n", "línea 1: cadena sin palabra clave delante"},
      {"msgid \"a\\q\"\nmsgstr \"\"\n", "línea 1: secuencia de escape desconocida \\q"},
      {"msgid \"a\\é\"\nmsgstr \"\"\n", "línea 1: secuencia de escape desconocida \\é"},
      {"msgid \"a\" b\nmsgstr \"\"\n", "línea 1: hay texto detrás de la cadena"},
      {"msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"caf\xE9\"\nmsgstr \"\"\n",
       "línea 4: el texto no está en UTF-8"},
      {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n",
       "línea 1: juego de caracteres no admitido: ISO-8859-1 (el archivo debe estar en UTF-8)"},
      // Letters whose capitals are longer than they are before the charset.
      {"msgid \"\"\nmsgstr \"Content-Type: ɐɐɐɐɐɐɐɐɐɐ; charset=latin1\\n\"\n",
       "línea 1: juego de caracteres no admitido: latin1 (el archivo debe estar en UTF-8)"},
      {"msgctxt \"k\"\nmsgid \"a\"\n", "línea 1: falta el msgstr de la entrada"},
      {"msgid \"a\"\nmsgstr[0] \"b\"\n", "línea 2: msgstr[] sin msgid_plural"},
  };
  for (const auto& [po, expected] : cases) {
    ImportFile file;
    std::string error;
    EXPECT_FALSE(ReadPo(po, file, error)) << po;
    EXPECT_EQ(error, expected) << po;
  }
}

// Escapes give any byte, and a file may hold raw ones: a text the project
// cannot keep refuses the whole file, at the line of the offending piece.
TEST(ExchangeFormatsTest, PoTextsTheProjectCannotKeepAreRefusedWithTheirLine) {
  const std::string entry =
      "msgid \"\"\nmsgstr \"Language: de\\n\"\n\nmsgctxt \"k\"\nmsgid \"a\"\n";
  const std::pair<std::string, std::string> cases[] = {
      {entry + "msgstr \"\\377\"\n", "línea 6: el texto de msgstr no es UTF-8 válido"},
      {entry + "msgstr \"caf\\351\"\n", "línea 6: el texto de msgstr no es UTF-8 válido"},
      {entry + "msgstr \"a\\0b\"\n", "línea 6: el texto de msgstr contiene un carácter nulo"},
      {entry + "msgstr \"\"\n\"bien\\n\"\n\"\\a\"\n",
       "línea 8: el texto de msgstr contiene el carácter de control U+0007"},
      {entry + "msgstr \"a\x01\"\n",
       "línea 6: el texto de msgstr contiene el carácter de control U+0001"},
      {entry + std::string("msgstr \"a\0\"\n", 12),
       "línea 6: el texto de msgstr contiene un carácter nulo"},
      {entry + "msgstr \"\xC2\x85\"\n",
       "línea 6: el texto de msgstr contiene el carácter de control U+0085"},
      {"msgctxt \"\\033[0m\"\nmsgid \"a\"\nmsgstr \"b\"\n",
       "línea 1: el texto de msgctxt contiene el carácter de control U+001B"},
      {"msgctxt \"k\"\nmsgid \"a\x7F\"\nmsgstr \"b\"\n",
       "línea 2: el texto de msgid contiene el carácter de control U+007F"},
      {"msgid \"\"\nmsgstr \"Language: \\377\\n\"\n",
       "línea 2: el texto de msgstr no es UTF-8 válido"},
      // The forms after the first are not kept, but read all the same.
      {entry + "msgid_plural \"as\"\nmsgstr[0] \"x\"\nmsgstr[1] \"y\"\n\"\\001\"\n",
       "línea 9: el texto de msgstr[1] contiene el carácter de control U+0001"},
      {entry + "msgid_plural \"a\\f\"\nmsgstr[0] \"x\"\n",
       "línea 6: el texto de msgid_plural contiene el carácter de control U+000C"},
  };
  for (const auto& [po, expected] : cases) {
    ImportFile file;
    std::string error;
    EXPECT_FALSE(ReadPo(po, file, error)) << po;
    EXPECT_EQ(error, expected) << po;
  }
}

TEST(ExchangeFormatsTest, XliffStatesAndMarkupAsToolsWriteThem) {
  const std::string xliff = R"(<?xml version="1.0"?>
<xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2">
 <file original="x" source-language="es" target-language="fr" datatype="plaintext">
  <body>
   <trans-unit id="a"><source>uno</source><target state="translated">un</target></trans-unit>
   <trans-unit id="b"><source>dos</source><target state="needs-translation">deux</target></trans-unit>
   <group id="g">
    <trans-unit id="c"><source>tres</source><target>trois</target></trans-unit>
    <trans-unit id="d" approved="no"><source>cuatro</source><target>quatre</target></trans-unit>
   </group>
   <trans-unit id="e"><source>cinco <g id="1">&amp;x</g></source><target state="final">cinq <g id="1">&amp;x</g><![CDATA[ <y>]]></target></trans-unit>
   <trans-unit id="f"><source>seis</source></trans-unit>
   <trans-unit id="g"><source>siete</source><target state="signed-off"></target></trans-unit>
  </body>
 </file>
</xliff>)";
  ImportFile file;
  std::string error;
  ASSERT_TRUE(ReadXliff(xliff, file, error)) << error;
  EXPECT_EQ(file.targetLanguage, "fr");
  EXPECT_EQ(file.targetLanguageLine, 3);
  ASSERT_EQ(file.units.size(), 7u);
  const bool translated[] = {true, false, true, false, true, false, false};
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(file.units[i].translated, translated[i]) << file.units[i].key;
  }
  EXPECT_EQ(file.units[4].source, "cinco &x");
  EXPECT_EQ(file.units[4].target, "cinq &x <y>");
  EXPECT_EQ(file.units[2].line, 8);
}

TEST(ExchangeFormatsTest, MalformedXliffIsRefusedWithItsPlace) {
  const std::pair<std::string, std::string> cases[] = {
      {"<xliff version=\"1.2\">\n<file><body>\n<trans-unit id=\"a\"><source>x</sourc>", "línea 3"},
      {"<tmx version=\"1.4\"/>", "línea 1: el elemento raíz no es <xliff> sino <tmx>"},
      {"<xliff version=\"2.0\"/>", "línea 1: versión de XLIFF no admitida: 2.0"},
      {"<xliff version=\"1.2\">\n<file>\n<body>\n<trans-unit><source>x</source></trans-unit>"
       "</body></file></xliff>",
       "línea 4: <trans-unit> sin atributo id"},
      {"<xliff version=\"1.2\"><file>\n<body><trans-unit id=\"a\">\n<target>y</target>"
       "</trans-unit></body></file></xliff>",
       "línea 2: <trans-unit> sin <source>"},
      {"<?xml version=\"1.0\"?>\n<!DOCTYPE xliff [<!ENTITY e \"boom\">]>\n<xliff version=\"1.2\">"
       "<file><body>\n<trans-unit id=\"a\"><source>&e;</source></trans-unit></body></file></xliff>",
       "línea 2, columna 1: la declaración DOCTYPE trae definiciones propias"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xliff>caf\xE9</xliff>", "línea 2"},
  };
  for (const auto& [xliff, expected] : cases) {
    ImportFile file;
    std::string error;
    EXPECT_FALSE(ReadXliff(xliff, file, error)) << xliff;
    EXPECT_EQ(error.substr(0, expected.size()), expected) << error;
  }
}

// Texts XML allows but the project cannot keep (C1 controls, DEL), named
// by their unit and line; the whole file is refused.
TEST(ExchangeFormatsTest, XliffTextsTheProjectCannotKeepAreRefusedWithTheirUnit) {
  const auto document = [](const std::string& language, const std::string& unit) {
    return "<xliff version=\"1.2\">\n<file target-language=\"" + language + "\"><body>\n" +
           "<trans-unit id=\"a\"><source>uno</source><target>eins</target></trans-unit>\n" + unit +
           "\n</body></file></xliff>";
  };
  const std::pair<std::string, std::string> cases[] = {
      {document("de",
                "<trans-unit id=\"b\"><source>dos</source><target>z&#x85;wei</target>"
                "</trans-unit>"),
       "línea 4: unidad b: el texto de <target> contiene el carácter de control U+0085"},
      {document("de",
                "<trans-unit id=\"c\">\n<source>tres\nl\x7F\xC3\xADnea</source>"
                "</trans-unit>"),
       "línea 6: unidad c: el texto de <source> contiene el carácter de control U+007F"},
      {document("de", "<trans-unit id=\"d&#x9F;\"><source>x</source></trans-unit>"),
       "línea 4: el atributo id de <trans-unit> contiene el carácter de control U+009F"},
      {document("d\xC2\x80", ""),
       "línea 2: el atributo target-language contiene el carácter de control U+0080"},
  };
  for (const auto& [xliff, expected] : cases) {
    ImportFile file;
    std::string error;
    EXPECT_FALSE(ReadXliff(xliff, file, error)) << xliff;
    EXPECT_EQ(error, expected) << xliff;
  }
}

}  // namespace
}  // namespace ulk
