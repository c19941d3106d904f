// TMX files of dictionaries: a round trip between two dictionaries, a file
// written by another tool, and files refused without a change.
#include "glossmith/exchange/tmx_exchange.h"

#include <algorithm>
#include <filesystem>
#include <iterator>

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
  // Save, the source, with French and Klingon and, as Save already had
  // Guardar, Guardar with both; and one pair.
  EXPECT_EQ(links.size(), 2u * (5 + 1));
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
      // What XML allows and no dictionary text may hold.
      {"<tmx><body><tu><tuv xml:lang=\"fr\"><seg>a</seg></tuv>\n<tuv xml:lang=\"de\"><seg>b\n"
       "c\u0085</seg></tuv></tu></body></tmx>",
       "bad.tmx: línea 3: unidad 1: el texto contiene el carácter de control U+0085"},
      {"<tmx><body><tu/><tu><tuv xml:lang=\"fr\"><seg>a</seg></tuv>\n<tuv xml:lang=\"de\">"
       "<seg>&#x7f;</seg></tuv></tu></body></tmx>",
       "bad.tmx: línea 2: unidad 2: el texto contiene el carácter de control U+007F"},
      {"<tmx><body><tu><tuv xml:lang=\"fr\"><seg>a</seg></tuv>\n<tuv xml:lang=\"d&#x9f;e\">"
       "<seg>b</seg></tuv></tu></body></tmx>",
       "bad.tmx: línea 2: el idioma contiene el carácter de control U+009F"},
      {"<tmx><body><tu>\n<prop type=\"x-text-type\">&#x80;</prop></tu></body></tmx>",
       "bad.tmx: línea 2: el tipo de texto contiene el carácter de control U+0080"},
  };
  for (const auto& [content, expected] : cases) {
    testing::WriteFileBytes(dir_ / "bad.tmx", content);
    const TmxImportResult result = ImportTmx(connection_, store_, dir_ / "bad.tmx");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message.substr(0, expected.size()), expected) << result.message;
    EXPECT_EQ(Links(connection_), before);
  }
}

TEST_F(TmxExchangeTest, VariantsAreLinkedWithTheirSourceOnly) {
  // One unit of many variants: each is linked with the source variant, so
  // the links grow with the variants, not with their square.
  constexpr int kVariants = 300;
  std::string tmx = "<tmx><header srclang=\"x-l7\"/><body><tu>\n";
  for (int i = 0; i < kVariants; ++i) {
    tmx += "<tuv xml:lang=\"x-l" + std::to_string(i) + "\"><seg>t" + std::to_string(i) +
           "</seg></tuv>\n";
  }
  tmx +=
      "</tu>\n<tu srclang=\"x-B\"><tuv xml:lang=\"x-a\"><seg>a</seg></tuv>"
      "<tuv xml:lang=\"X-b\"><seg>b</seg></tuv><tuv xml:lang=\"x-c\"><seg>c</seg></tuv></tu>"
      "<tu><tuv xml:lang=\"x-a\"><seg>d</seg></tuv><tuv xml:lang=\"x-c\"><seg>e</seg></tuv></tu>"
      "</body></tmx>";
  testing::WriteFileBytes(dir_ / "many.tmx", tmx);
  const TmxImportResult result = ImportTmx(connection_, store_, dir_ / "many.tmx");
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(result.linked, kVariants - 1u + 2u + 1u);
  EXPECT_EQ(Count(connection_, "translations"), 2 * (kVariants - 1 + 2 + 1));
  const std::vector<std::string> links = Links(connection_);
  const auto linkedWith = [&](const std::string& text) {
    return std::count_if(links.begin(), links.end(), [&](const std::string& link) {
      return link.find(":" + text + " = ") != std::string::npos;
    });
  };
  EXPECT_EQ(linkedWith("t7"), kVariants - 1) << "the header's source language";
  EXPECT_EQ(linkedWith("t0"), 1);
  EXPECT_EQ(linkedWith("b"), 2) << "the unit's own source language, in any case";
  EXPECT_EQ(linkedWith("a"), 1);
  EXPECT_EQ(linkedWith("d"), 1) << "no source language of its own: the first variant";
}

TEST_F(TmxExchangeTest, WhatAnImportWouldRefuseIsNotExported) {
  Translate("ST", "Español (España)", "Guardar", "Inglés (Estados Unidos)", "Save");
  // Written by another program: a control character in a text, a language
  // without a name, types that are none.
  ASSERT_EQ(connection_.Execute("insert into languages (lang_id, lang_name) values (9, null)"), 0);
  const char* odd[] = {"('ST', 2, 'x' || char(133))", "('ST', 9, 'sin idioma')",
                       "('XYZ', 2, 'largo')", "('', 2, 'vacío')", "(null, 2, 'nulo')"};
  for (const char* values : odd) {
    ASSERT_EQ(
        connection_.Execute(
            std::string("insert into texts (text_type, text_lang_id, text_text) values ") + values),
        0);
    ASSERT_TRUE(store_.Link("1", std::to_string(connection_.LastInsertId())));
  }
  const TmxExportResult exported = ExportTmx(connection_, dir_ / "out.tmx");
  ASSERT_TRUE(exported.ok);
  EXPECT_EQ(exported.units, 1u);
  EXPECT_EQ(exported.omitted, std::size(odd));
  const TmxImportResult imported = ImportTmx(other_, otherStore_, dir_ / "out.tmx");
  EXPECT_TRUE(imported.ok) << imported.message;
  EXPECT_EQ(imported.units, 1u);
}

TEST_F(TmxExchangeTest, AnExportCutShortIsAFailure) {
  ASSERT_EQ(connection_.Execute(
                "insert into languages (lang_name) values ('Español (España)'), ('Mi idioma');"
                "with recursive n(i) as (select 1 union all select i + 1 from n where i < 4000) "
                "insert into texts (text_id, text_type, text_lang_id, text_text) "
                "select i, 'ST', 1 + i % 2, 'texto ' || i from n;"
                "insert into translations (tran_text_id_1, tran_text_id_2) "
                "select text_id, text_id + 1 from texts where text_id % 2 = 1"),
            0);
  // Stopped at any point of its statement, the export writes nothing; let
  // through, it writes every pair.
  bool written = false;
  for (std::uint64_t budget = 20000; !written; budget *= 2) {
    std::filesystem::remove(dir_ / "cut.tmx");
    connection_.SetStatementBudget(budget);
    const TmxExportResult result = ExportTmx(connection_, dir_ / "cut.tmx");
    written = result.ok;
    EXPECT_EQ(result.units, written ? 2000u : 0u) << budget;
    EXPECT_EQ(std::filesystem::exists(dir_ / "cut.tmx"), written) << budget;
  }
}

TEST(TmxReadingTest, WhatIsReadWritesBackTheSame) {
  const std::string tmx =
      "<tmx><header srclang=\"en\"/><body>"
      "<tu><prop type=\"x-text-type\"> mn </prop><tuv xml:lang=\" fr \"><seg>Ouvrir\ttout</seg>"
      "</tuv><tuv lang=\"EN\"><prop type=\"x-text-type\">dl</prop><seg>Open&#13;\nall\\n"
      "</seg></tuv><tuv xml:lang=\"de\"><seg></seg></tuv></tu>"
      "<tu/></body></tmx>";
  std::vector<TmxUnit> units;
  std::string error;
  ASSERT_TRUE(ReadTmx(tmx, units, error)) << error;
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].variants, (std::vector<TmxVariant>{{"EN", "DL", "Open\\r\\nall\\n"},
                                                        {"fr", "MN", "Ouvrir\\ttout"}}));
  EXPECT_TRUE(units[1].variants.empty());
  std::vector<TmxUnit> again;
  ASSERT_TRUE(ReadTmx(WriteTmx(units), again, error)) << error;
  EXPECT_EQ(again, units);
}

}  // namespace
}  // namespace ulk
