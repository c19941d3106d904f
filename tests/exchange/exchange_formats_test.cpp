// The PO and XLIFF writers and readers: what is written reads back the
// same, what the tools may write is understood, and malformed files are
// refused with the line where they go wrong.
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/stored_text.h"
#include "tests/test_support.h"
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

// Texts and notes that stress both formats' escaping, in every state.
std::vector<ExportUnit> Units() {
  using enum UnitState;
  std::vector<ExportUnit> units(8);
  units[0] = {"ST_N_1 (0)",
              "Abrir",
              "Öffnen",
              "string",
              "Tabla de strings ST_N_1",
              0,
              0,
              kTranslated,
              "Nota \"entre comillas\" & <marcas>"};
  units[1] = {"ST_N_1 (1)",
              "Línea uno\nLínea dos\n",
              "",
              "string",
              "",
              0,
              0,
              kUntranslated,
              "¿Qué es esto?\n\n  sangrado, y con blancos al final  "};
  units[2] = {"ST_N_1 (2)",
              "Tab\there \"quoted\" \\ back",
              "Tab\thier \"zitiert\" \\",
              "",
              "",
              0,
              0,
              kTranslated,
              ""};
  units[3] = {"DL_S_A&B (3)",
              "<&> \r\nCRLF",
              "<&> \r\nCRLF de",
              "button",
              "Diálogo",
              50,
              14,
              kReviewed,
              "CR\r\nLF, tab\t y \\ barra; \\n sin más"};
  units[4] = {"MN_N_1 (2)",
              "&Salir\tCtrl+Q",
              "\nBeenden",
              "menuitem",
              "Menú",
              0,
              0,
              kToReview,
              "Ελληνικά, 日本語\n# no es un comentario"};
  units[5] = {"ST_N_2 (0)", "  blancos  ", "  Leerzeichen  ", "", "", 0, 0, kTranslated, "\n"};
  units[6] = {"ST_N_2 (1)", "%d de %s", "%d von %s", "", "", 0, 0, kToReview, ""};
  units[7] = {"ST_N_2 (2)", "%s listo", "%s fertig", "", "", 0, 0, kReviewed, ""};
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
      EXPECT_EQ(file.units[i].note, Stored(units[i].translatorNote));
      // PO has no reviewed state.
      const UnitState expected = !xliff && units[i].state == UnitState::kReviewed
                                     ? UnitState::kTranslated
                                     : units[i].state;
      EXPECT_EQ(file.units[i].state, expected);
    }
  }
}

// What each state and note looks like in the file, where the tools read it.
TEST(ExchangeFormatsTest, StatesNotesAndFormatMarksAsWritten) {
  const std::string po = WritePo(Header(), Units());
  for (const char* expected : {
           "\n# Nota \"entre comillas\" & <marcas>\n#. Tabla de strings ST_N_1\nmsgctxt",
           "\n# ¿Qué es esto?\n#\n#   sangrado, y con blancos al final  \nmsgctxt \"ST_N_1 (1)\"",
           // A comment line cannot hold a carriage return.
           "\n# CR\\r\n# LF, tab\t y \\ barra; \\n sin más\n#. Diálogo\n",
           "\n# Ελληνικά, 日本語\n# # no es un comentario\n#. Menú\n#, fuzzy\nmsgctxt",
           "\n#\n#\nmsgctxt \"ST_N_2 (0)\"",
           "\n#, fuzzy, c-format\nmsgctxt \"ST_N_2 (1)\"",
           "\n#, c-format\nmsgctxt \"ST_N_2 (2)\"",
       }) {
    EXPECT_NE(po.find(expected), std::string::npos) << expected << "\n" << po;
  }
  // The translated units carry no flag.
  EXPECT_NE(po.find("\n#. Tabla de strings ST_N_1\nmsgctxt \"ST_N_1 (0)\""), std::string::npos);
  EXPECT_NE(po.find("\n#. Diálogo\n#. Tamaño del control: 50 x 14 unidades de diálogo\nmsgctxt"),
            std::string::npos);

  const std::string xliff = WriteXliff(Header(), Units());
  for (const char* expected : {
           "restype=\"string\" approved=\"yes\" xml:space=\"preserve\">\n"
           "        <source>Abrir</source>\n"
           "        <target state=\"translated\">Öffnen</target>\n"
           "        <note from=\"translator\">Nota \"entre comillas\" &amp; &lt;marcas&gt;</note>\n"
           "        <note from=\"developer\">Tabla de strings ST_N_1</note>\n",
           "<target state=\"new\"></target>\n"
           "        <note from=\"translator\">¿Qué es esto?\n\n  sangrado, y con blancos al final  "
           "</note>",
           "restype=\"button\" approved=\"yes\" maxwidth=\"50\"",
           "<target state=\"signed-off\">&lt;&amp;&gt; &#13;\nCRLF de</target>\n"
           "        <note from=\"translator\">CR&#13;\nLF, tab\t y \\ barra; \\n sin más</note>",
           "restype=\"menuitem\" xml:space=\"preserve\">",
           "<target state=\"needs-review-translation\">\nBeenden</target>",
       }) {
    EXPECT_NE(xliff.find(expected), std::string::npos) << expected << "\n" << xliff;
  }
}

// gettext's own checker over texts with and without printf conversions,
// translated as a translator would: what is marked c-format must be a
// format string its translation matches, and prose that msgfmt would read
// as a conversion ("50% de" as "% d") must not be marked, or its
// translation ("50 % Rabatt") fails the whole file. Needs msgfmt
// (gettext), which CI has.
TEST(ExchangeFormatsTest, MsgfmtAcceptsTheCFormatMarks) {
  if (std::system("command -v msgfmt >/dev/null 2>&1") != 0) {
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "msgfmt (gettext) is needed in CI";
    GTEST_SKIP() << "msgfmt is not installed";
  }
  const std::pair<const char*, const char*> texts[] = {
      {"Abrir %s desde %d sitios", "%s von %d Orten öffnen"},
      {"%-10.3f|%+05d|%#x|%lu|%lld|%hhd|%zu|%Lf|%ls|%p",
       "%-10.3f|%+05d|%#x|%lu|%lld|%hhd|%zu|%Lf|%ls|%p"},
      {"%*d %.*s", "%*d %.*s"},
      {"%d%% hecho", "%d %% fertig"},
      {"%2$s antes que %1$s", "%1$s nach %2$s"},
      {"%1$s y otra vez %1$s", "%1$s und wieder %1$s"},
      {"50% de descuento", "50 % Rabatt"},
      {"10% o más", "mindestens 10 %"},
      {"al 100% seguro", "100 % sicher"},
      {"100%", "100 %"},
      {"%d y 100%", "%d und 100 %"},
      {"%1 archivos", "%1 Dateien"},
      {"%1!d! archivos", "%1!d! Dateien"},
      {"%I64d", "%I64d"},
      {"%5%", "%5%"},
      {"%1$s %s", "%s %1$s"},
      {"%2$s", "%2$s"},
      {"a %", "ein %"},
  };
  std::vector<ExportUnit> units;
  for (const auto& [source, target] : texts) {
    ExportUnit unit;
    unit.key = "ST_N_1 (" + std::to_string(units.size()) + ")";
    unit.source = source;
    unit.target = target;
    unit.state = UnitState::kTranslated;
    units.push_back(std::move(unit));
  }
  const std::string po = WritePo(Header(), units);
  std::size_t marks = 0;
  for (std::size_t at = po.find("#, c-format\n"); at != std::string::npos;
       at = po.find("#, c-format\n", at + 1)) {
    ++marks;
  }
  EXPECT_EQ(marks, 6u) << po;
  testing::TempDir dir("msgfmt");
  const std::string path = (dir.path() / "check.po").string();
  testing::WriteFileBytes(path, po);
  const std::string command = "msgfmt --check -o /dev/null '" + path + "' 2>'" + path + ".err'";
  EXPECT_EQ(std::system(command.c_str()), 0) << testing::ReadFileBytes(path + ".err") << po;
  EXPECT_EQ(testing::ReadFileBytes(path + ".err"), "");
}

TEST(ExchangeFormatsTest, PoHeaderAndSizes) {
  const std::string po = WritePo(Header(), Units());
  for (const char* expected :
       {"\"Language: de_DE\\n\"", "\"Content-Type: text/plain; charset=UTF-8\\n\"",
        "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"",
        "#. Tamaño del control: 50 x 14 unidades de diálogo\n",
        "msgid \"\"\n\"Línea uno\\n\"\n\"Línea dos\\n\"\n"}) {
    EXPECT_NE(po.find(expected), std::string::npos) << expected;
  }
  const std::string xliff = WriteXliff(Header(), Units());
  for (const char* expected :
       {"source-language=\"es-ES\" target-language=\"de-DE\"", "id=\"DL_S_A&amp;B (3)\"",
        "maxwidth=\"50\" maxheight=\"14\" size-unit=\"dlgunit\"", "<target state=\"new\"></target>",
        "&lt;&amp;&gt; &#13;\nCRLF"}) {
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
      "# nota del traductor\r\n"
      "#  con sangría y un blanco al final \r\n"
      "#. del programa\r\n"
      "#: fuente.c:12\r\n"
      "#| msgid \"antes\"\r\n"
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
      "# la nota de una entrada obsoleta es suya\n"
      "#~ msgctxt \"A (4)\"\n"
      "#~ msgid \"viejo\"\n"
      "#~ msgstr \"vieux\"\n"
      "msgctxt \"A (5)\"\n"
      "msgid \"\\101\\tb\"\n"
      "msgstr \"cinq\"\n"
      // One character's bytes in two pieces, each invalid by itself.
      "#nota sin blanco\n"
      "#\n"
      "msgctxt \"A (6)\"\n"
      "msgid \"seis\"\n"
      "msgstr \"\\303\"\n"
      "\"\\251\"";
  ImportFile file;
  std::string error;
  ASSERT_TRUE(ReadPo(po, file, error)) << error;
  EXPECT_EQ(file.targetLanguage, "fr");
  ASSERT_EQ(file.units.size(), 6u);
  EXPECT_EQ(file.units[0].state, UnitState::kToReview) << "fuzzy";
  EXPECT_EQ(file.units[0].note, "nota del traductor\\n con sangría y un blanco al final ");
  EXPECT_EQ(file.units[0].line, 12);
  EXPECT_EQ(file.units[1].target, "deux");
  EXPECT_EQ(file.units[1].state, UnitState::kTranslated);
  EXPECT_EQ(file.units[1].note, "");
  EXPECT_FALSE(file.units[2].hasKey);
  EXPECT_EQ(file.units[3].state, UnitState::kUntranslated) << "plural entries are not taken back";
  EXPECT_EQ(file.units[4].key, "A (5)");
  EXPECT_EQ(file.units[4].source, "A\\tb");
  EXPECT_EQ(file.units[4].note, "") << "the obsolete entry's";
  EXPECT_EQ(file.units[5].target, "é");
  EXPECT_EQ(file.units[5].note, "nota sin blanco\\n");
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
      // A translator comment has no escapes: what it holds is what it says.
      {"msgid \"\"\nmsgstr \"\"\n\n# bien\n# mal \x1B[0m\nmsgctxt \"k\"\nmsgid \"a\"\nmsgstr "
       "\"b\"\n",
       "línea 5: la nota del traductor contiene el carácter de control U+001B"},
      {"msgid \"\"\nmsgstr \"\"\n\n# \xC2\x9B\nmsgctxt \"k\"\nmsgid \"a\"\nmsgstr \"\"\n",
       "línea 4: la nota del traductor contiene el carácter de control U+009B"},
  };
  for (const auto& [po, expected] : cases) {
    ImportFile file;
    std::string error;
    EXPECT_FALSE(ReadPo(po, file, error)) << po;
    EXPECT_EQ(error, expected) << po;
  }
}

TEST(ExchangeFormatsTest, XliffStatesNotesAndMarkupAsToolsWriteThem) {
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
   <trans-unit id="h"><source>ocho</source><target state="new">ocho</target></trans-unit>
   <trans-unit id="i" approved="no"><source>nueve</source><target state="translated">neuf</target></trans-unit>
   <trans-unit id="j" approved="yes"><source>diez</source><target state="signed-off">dix</target></trans-unit>
   <trans-unit id="k"><source>once</source><target state="needs-review-l10n">onze</target></trans-unit>
   <trans-unit id="l"><source>doce</source><target state="x-machine">douze</target></trans-unit>
   <trans-unit id="m"><source>trece</source>
    <note>de nadie: la herramienta no dice quién</note>
    <note from="developer">del programa, con un control que no se guarda: &#x85;</note>
    <note from="translator">primera</note>
    <note from="translator"></note>
    <note from="translator" annotates="source">segunda &amp; <mrk mtype="x">tercera</mrk>
en dos líneas</note>
   </trans-unit>
  </body>
 </file>
</xliff>)";
  ImportFile file;
  std::string error;
  ASSERT_TRUE(ReadXliff(xliff, file, error)) << error;
  EXPECT_EQ(file.targetLanguage, "fr");
  EXPECT_EQ(file.targetLanguageLine, 3);
  using enum UnitState;
  const UnitState states[] = {kTranslated,   kToReview,     kTranslated,   kToReview, kReviewed,
                              kUntranslated, kUntranslated, kUntranslated, kToReview, kReviewed,
                              kToReview,     kToReview,     kUntranslated};
  ASSERT_EQ(file.units.size(), std::size(states));
  for (std::size_t i = 0; i < std::size(states); ++i) {
    EXPECT_EQ(file.units[i].state, states[i]) << file.units[i].key;
  }
  EXPECT_EQ(file.units[4].source, "cinco &x");
  EXPECT_EQ(file.units[4].target, "cinq &x <y>");
  EXPECT_EQ(file.units[2].line, 8);
  EXPECT_EQ(file.units[12].note, "primera\\nsegunda & tercera\\nen dos líneas");
  EXPECT_EQ(file.units[0].note, "");

  const std::string badNote = R"(<xliff version="1.2"><file><body>
<trans-unit id="a"><source>uno</source>
<note from="translator">bien
mal &#x9B;</note></trans-unit></body></file></xliff>)";
  EXPECT_FALSE(ReadXliff(badNote, file, error));
  EXPECT_EQ(error, "línea 4: unidad a: el texto de <note> contiene el carácter de control U+009B");
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
