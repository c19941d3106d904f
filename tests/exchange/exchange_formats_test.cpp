// The PO and XLIFF writers and readers: what is written reads back the
// same, what the tools may write is understood, and malformed files are
// refused with the line where they go wrong.
#include <gtest/gtest.h>

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
      EXPECT_EQ(file.units[i].source, units[i].source);
      EXPECT_EQ(file.units[i].target, units[i].target);
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
      "msgstr \"cinq\"";
  ImportFile file;
  std::string error;
  ASSERT_TRUE(ReadPo(po, file, error)) << error;
  EXPECT_EQ(file.targetLanguage, "fr");
  ASSERT_EQ(file.units.size(), 5u);
  EXPECT_FALSE(file.units[0].translated) << "fuzzy";
  EXPECT_EQ(file.units[0].line, 7);
  EXPECT_EQ(file.units[1].target, "deux");
  EXPECT_TRUE(file.units[1].translated);
  EXPECT_FALSE(file.units[2].hasKey);
  EXPECT_FALSE(file.units[3].translated) << "plural entries are not taken back";
  EXPECT_EQ(file.units[4].key, "A (5)");
  EXPECT_EQ(file.units[4].source, "A\tb");
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
      {"msgid \"a\" b\nmsgstr \"\"\n", "línea 1: hay texto detrás de la cadena"},
      {"msgid \"a\"\nmsgstr \"b\"\n\nmsgid \"caf\xE9\"\nmsgstr \"\"\n",
       "línea 4: el texto no está en UTF-8"},
      {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n",
       "línea 1: juego de caracteres no admitido: ISO-8859-1 (el archivo debe estar en UTF-8)"},
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
      {"<!DOCTYPE xliff [<!ENTITY e \"boom\">]>\n<xliff version=\"1.2\"><file><body>\n"
       "<trans-unit id=\"a\"><source>&e;</source></trans-unit></body></file></xliff>",
       "línea 3: referencia a una entidad no admitida"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xliff>caf\xE9</xliff>", "línea 2"},
  };
  for (const auto& [xliff, expected] : cases) {
    ImportFile file;
    std::string error;
    EXPECT_FALSE(ReadXliff(xliff, file, error)) << xliff;
    EXPECT_EQ(error.substr(0, expected.size()), expected) << error;
  }
}

}  // namespace
}  // namespace ulk
