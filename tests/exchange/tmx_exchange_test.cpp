// TMX files of dictionaries: a round trip between two dictionaries, a file
// written by another tool, and files refused without a change.
#include "glossmith/exchange/tmx_exchange.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ulk {
namespace {

class TmxExchangeTest : public ::testing::Test {
 protected:
  TmxExchangeTest() : dir_("tmx"), store_(connection_), otherStore_(other_) {}
  void SetUp() override {
    ASSERT_TRUE(OpenDictionary(connection_, store_, dir_ / "a.dic").ok);
    ASSERT_TRUE(OpenDictionary(other_, otherStore_, dir_ / "b.dic").ok);
  }
  // Adds a translation as the administrator does: the text is found or
  // added, linked, and the groups joined.
  void Translate(const std::string& type, const std::string& fromLanguage, const std::string& from,
                 const std::string& toLanguage, const std::string& to) {
    const std::string a = *store_.AddLanguage(fromLanguage);
    const std::string b = *store_.AddLanguage(toLanguage);
    DictionaryId x = store_.FindText(type, a, from);
    if (!x) x = store_.AddText(type, a, from);
    DictionaryId y = store_.FindText(type, b, to);
    if (!y) y = store_.AddText(type, b, to);
    ASSERT_TRUE(store_.Link(*x, *y));
    store_.PropagateLink(*x, *y);
  }
  // Every link of a dictionary as "type language:text = language:text",
  // both ways, sorted: what must survive a round trip.
  static std::vector<std::string> Links(DictionaryConnection& connection) {
    std::vector<std::string> rows;
    auto query = connection.Query(
        "select a.text_type, la.lang_name, a.text_text, lb.lang_name, b.text_text "
        "from translations, texts a, texts b, languages la, languages lb "
        "where a.text_id = tran_text_id_1 and b.text_id = tran_text_id_2 "
        "and la.lang_id = a.text_lang_id and lb.lang_id = b.text_lang_id");
    for (; query && !query->AtEnd(); query->Next()) {
      rows.push_back(*query->Column(0) + " " + *query->Column(1) + ":" + *query->Column(2) + " = " +
                     *query->Column(3) + ":" + *query->Column(4));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  long Count(DictionaryConnection& connection, const std::string& table) {
    auto query = connection.Query("select count(*) from " + table);
    return std::stol(*query->Column(0));
  }

  testing::TempDir dir_;
  DictionaryConnection connection_;
  DictionaryStore store_;
  DictionaryConnection other_;
  DictionaryStore otherStore_;
};

TEST_F(TmxExchangeTest, RoundTripKeepsEveryLinkTextAndLanguage) {
  Translate("MN", "Español (España)", "&Abrir", "Inglés (Estados Unidos)", "&Open");
  Translate("MN", "Español (España)", "&Abrir", "Mi idioma", "Öffnen <&> \"x\"");
  Translate("ST", "Español (España)", "Dos\\nlíneas", "Inglés (Estados Unidos)", "Two\\nlines");
  Translate("DL", "Español (España)", "Aceptar", "Inglés (Estados Unidos)", "OK");
  store_.AddText("ST", *store_.FindLanguage("Español (España)"), "sin traducción");
  std::size_t calls = 0;
  const TmxExportResult exported =
      ExportTmx(connection_, dir_ / "a.tmx", [&](std::size_t, std::size_t) { ++calls; });
  ASSERT_TRUE(exported.ok) << exported.message;
  EXPECT_EQ(exported.units, 5u);  // the group of three gives three pairs
  EXPECT_GT(calls, 0u);
  const std::string tmx = testing::ReadFileBytes(dir_ / "a.tmx");
  EXPECT_NE(tmx.find("<tuv xml:lang=\"en-US\"><seg>Two\nlines</seg></tuv>"), std::string::npos);
  EXPECT_NE(tmx.find("<tuv xml:lang=\"Mi idioma\"><seg>Öffnen &lt;&amp;&gt; \"x\"</seg></tuv>"),
            std::string::npos);
  EXPECT_NE(tmx.find("<tu><prop type=\"x-text-type\">MN</prop>"), std::string::npos);

  const TmxImportResult imported = ImportTmx(other_, otherStore_, dir_ / "a.tmx");
  ASSERT_TRUE(imported.ok) << imported.message;
  EXPECT_EQ(imported.units, 5u);
  EXPECT_EQ(imported.textsAdded, 7u);
  EXPECT_EQ(imported.languagesAdded,
            (std::vector<std::string>{"Español (España)", "Inglés (Estados Unidos)", "Mi idioma"}));
  EXPECT_EQ(Links(other_), Links(connection_));
  EXPECT_EQ(Count(other_, "texts"), Count(connection_, "texts") - 1);

  // Importing again reuses every text and adds no link.
  const long links = Count(other_, "translations");
  const TmxImportResult again = ImportTmx(other_, otherStore_, dir_ / "a.tmx");
  ASSERT_TRUE(again.ok);
  EXPECT_EQ(again.textsAdded, 0u);
  EXPECT_EQ(again.textsReused, 10u);
  EXPECT_TRUE(again.languagesAdded.empty());
  EXPECT_EQ(Count(other_, "translations"), links);
}

TEST_F(TmxExchangeTest, AFileWrittenByAnotherTool) {
  Translate("ST", "Español (España)", "Guardar", "Inglés (Estados Unidos)", "Save");
  testing::WriteFileBytes(dir_ / "other.tmx", R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE tmx SYSTEM "tmx14.dtd">
<tmx version="1.4">
  <header creationtool="Otro" creationtoolversion="2" segtype="sentence" o-tmf="x"
          adminlang="en" srclang="en-US" datatype="plaintext"/>
  <body>
    <tu tuid="1">
      <note>a note</note>
      <tuv xml:lang="EN-US"><seg>Save</seg></tuv>
      <tuv xml:lang="fr-FR"><seg>Enregistrer <bpt i="1">&lt;b&gt;</bpt>tout<ept i="1">&lt;/b&gt;</ept> <ph>%s</ph></seg></tuv>
      <tuv xml:lang="tlh"><seg><hi type="x">nop</hi></seg></tuv>
    </tu>
    <tu>
      <prop type="x-text-type">mn</prop>
      <tuv lang="es-ES"><seg>&amp;Salir</seg></tuv>
      <tuv xml:lang="en-US"><seg>E&amp;xit</seg></tuv>
    </tu>
    <tu><tuv xml:lang="en-US"><seg>alone</seg></tuv><tuv xml:lang="de"><seg></seg></tuv></tu>
  </body>
</tmx>)");
  const TmxImportResult result = ImportTmx(connection_, store_, dir_ / "other.tmx");
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(result.units, 3u);
  EXPECT_EQ(result.skipped, 1u);
  // "EN-US" is the dictionary's English by its tag; French is named as the
  // system names it; a tag the system does not know names its language.
  EXPECT_EQ(result.languagesAdded, (std::vector<std::string>{"Francés (Francia)", "tlh"}));
  const std::vector<std::string> links = Links(connection_);
  for (const char* expected :
       {"ST Francés (Francia):Enregistrer <b>tout</b> %s = Español (España):Guardar",
        "ST tlh:nop = Inglés (Estados Unidos):Save",
        "MN Español (España):&Salir = Inglés (Estados "
        "Unidos):E&xit"}) {
    EXPECT_NE(std::find(links.begin(), links.end(), expected), links.end()) << expected;
  }
  EXPECT_EQ(links.size(), 2u * (6 + 1));  // four texts pairwise, and one pair
}

TEST_F(TmxExchangeTest, MalformedFilesChangeNothing) {
  Translate("ST", "Español (España)", "Guardar", "Inglés (Estados Unidos)", "Save");
  const std::vector<std::string> before = Links(connection_);
  const std::pair<std::string, std::string> cases[] = {
      {"<tmx version=\"1.4\"><body>\n<tu><tuv xml:lang=\"fr\"><seg>x</seg></tuv>\n</tu>\n</body>",
       "bad.tmx: línea 4"},
      {"<tmx><header/><body><tu>\n<tuv xml:lang=\"fr\"><seg>a</seg></tuv>\n<tuv><seg>b</seg></tuv>"
       "</tu></body></tmx>",
       "bad.tmx: línea 3: <tuv> sin idioma (xml:lang)"},
      {"<tmx><body><tu><tuv xml:lang=\"fr\"><seg>a</seg></tuv>\n<tuv xml:lang=\"de\"/></tu>"
       "</body></tmx>",
       "bad.tmx: línea 2: <tuv> sin <seg>"},
      {"<tmx><body><tu>\n<prop type=\"x-text-type\">LONG</prop></tu></body></tmx>",
       "bad.tmx: línea 2: tipo de texto no válido: \"LONG\""},
      {"<xliff/>", "bad.tmx: línea 1: el elemento raíz no es <tmx> sino <xliff>"},
  };
  for (const auto& [content, expected] : cases) {
    testing::WriteFileBytes(dir_ / "bad.tmx", content);
    const TmxImportResult result = ImportTmx(connection_, store_, dir_ / "bad.tmx");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message.substr(0, expected.size()), expected) << result.message;
    EXPECT_EQ(Links(connection_), before);
  }
}

}  // namespace
}  // namespace ulk
