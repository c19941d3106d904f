// The administrator's browser and languages dialog, driven without a
// display: a scripted prompter answers the questions and dialogs and
// records every message.
#include "glossmith/browser/dictionary_browser.h"

#include <sys/stat.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "glossmith/browser/language_editor.h"
#include "glossmith/browser/text_types.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

class ScriptedPrompter : public BrowserPrompter {
 public:
  using TextAnswer = std::function<bool(TextDialogFields&)>;

  void ShowError(const std::string& text) override { log.push_back("error: " + text); }
  void ShowWarning(const std::string& text) override { log.push_back("warning: " + text); }
  void ShowInformation(const std::string& text) override { log.push_back("info: " + text); }
  bool AskYesNo(const std::string& text) override {
    const bool answer = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    log.push_back("ask: " + text);
    return answer;
  }
  bool EditText(TextDialogFields& fields) override {
    shownTexts.push_back(fields);
    if (texts.empty()) return false;
    TextAnswer answer = std::move(texts.front());
    texts.pop_front();
    return answer(fields);
  }
  bool EditLanguageName(std::string& name) override {
    shownNames.push_back(name);
    if (names.empty()) return false;
    name = names.front();
    names.pop_front();
    return true;
  }

  // The text dialog answered OK with this text (and type, when given).
  void Type(std::string text, std::string type = {}) {
    texts.push_back([text, type](TextDialogFields& fields) {
      fields.text = text;
      if (!type.empty()) fields.type = type;
      return true;
    });
  }

  std::deque<bool> answers;
  std::deque<TextAnswer> texts;
  std::deque<std::string> names;
  std::vector<std::string> log;
  std::vector<TextDialogFields> shownTexts;
  std::vector<std::string> shownNames;
};

class BrowserTest : public ::testing::Test {
 protected:
  BrowserTest() : dir_("browser"), browser_(prompter_) {}

  void SetUp() override {
    path_ = dir_ / "test.dic";
    ASSERT_TRUE(browser_.Open(path_));
    spanish_ = AddLanguage("Español");
    english_ = AddLanguage("English");
    german_ = AddLanguage("Deutsch");
    browser_.ReloadLanguages("", "");
  }

  DictionaryStore& store() { return browser_.store(); }
  std::string AddLanguage(const std::string& name) { return *store().AddLanguage(name); }
  std::string Text(const std::string& language, const std::string& text,
                   const std::string& type = "ST") {
    return *store().AddText(type, language, text);
  }
  void LinkTexts(const std::string& a, const std::string& b) {
    ASSERT_TRUE(store().Link(a, b));
    ASSERT_TRUE(store().PropagateLink(a, b));
  }
  // Reopens the file so that the selectors and lists show what was stored.
  void Reopen() { ASSERT_TRUE(browser_.Open(path_)); }
  int LanguageIndex(const std::string& name) {
    const auto& languages = browser_.languages();
    for (std::size_t i = 0; i < languages.size(); ++i) {
      if (languages[i].name == name) return static_cast<int>(i);
    }
    return -1;
  }
  void Show(const std::string& source, const std::string& target) {
    browser_.SelectSource(LanguageIndex(source));
    browser_.SelectTarget(LanguageIndex(target));
  }
  static std::vector<std::string> Column(const TextRows& rows) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < rows.size(); ++i) texts.emplace_back(rows.Text(i));
    return texts;
  }
  long RowOf(const std::string& text) {
    const auto& rows = browser_.texts();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows.Text(i) == text) return static_cast<long>(i);
    }
    return -1;
  }
  long Count(const std::string& sql) {
    auto query = browser_.connection().Query(sql);
    return query && query->Column(0) ? std::stol(*query->Column(0)) : -1;
  }
  // Every link row as "a-b", sorted.
  std::vector<std::string> Links() {
    std::vector<std::string> rows;
    auto query =
        browser_.connection().Query("select tran_text_id_1, tran_text_id_2 from translations");
    for (; query && !query->AtEnd(); query->Next())
      rows.push_back(*query->Column(0) + "-" + *query->Column(1));
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  static std::vector<std::string> AllPairs(const std::vector<std::string>& ids) {
    std::vector<std::string> pairs;
    for (const auto& p : ids) {
      for (const auto& q : ids) {
        if (p != q) pairs.push_back(p + "-" + q);
      }
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
  }

  testing::TempDir dir_;
  ScriptedPrompter prompter_;
  DictionaryBrowser browser_;
  std::string path_;
  std::string spanish_, english_, german_;
};

TEST(BrowserOpenTest, OpeningCreatesRefusesAndTitles) {
  testing::TempDir dir("browseropen");
  ScriptedPrompter prompter;
  DictionaryBrowser browser(prompter);
  EXPECT_EQ(browser.title(), "Glossmith");

  const std::string fresh = dir / "nuevo.dic";
  ASSERT_TRUE(browser.Open(fresh));
  EXPECT_TRUE(std::filesystem::exists(fresh));
  EXPECT_EQ(browser.title(), "Glossmith [nuevo.dic]");
  EXPECT_TRUE(browser.languages().empty());
  EXPECT_EQ(browser.source(), -1);
  BrowserCommandStates states = browser.CommandStates();
  EXPECT_TRUE(states.languages);
  EXPECT_FALSE(states.addText);
  EXPECT_FALSE(states.find);

  // One language: the source is chosen, the target only offered.
  ASSERT_TRUE(browser.store().AddLanguage("Español"));
  browser.ReloadLanguages(browser.SourceName(), browser.TargetName());
  EXPECT_EQ(browser.source(), 0);
  EXPECT_EQ(browser.target(), -1);
  EXPECT_TRUE(browser.CommandStates().addText);
  EXPECT_FALSE(browser.CommandStates().addTranslation);

  testing::WriteFileBytes(dir / "texto.dic", "no soy un diccionario\n");
  EXPECT_FALSE(browser.Open(dir / "texto.dic"));
  testing::WriteFileBytes(dir / "vacio.dic", "");
  EXPECT_FALSE(browser.Open(dir / "vacio.dic"));
  EXPECT_FALSE(browser.Open(dir.path().string()));  // a folder
  EXPECT_EQ(prompter.log,
            (std::vector<std::string>{
                "error: No se puede abrir el diccionario:\n\n[" + (dir / "texto.dic") + "]",
                "error: El archivo seleccionado no es un diccionario válido.",
                "error: No se puede abrir el diccionario:\n\n[" + dir.path().string() + "]"}));
  EXPECT_FALSE(browser.IsOpen());
  EXPECT_EQ(browser.title(), "Glossmith");
  EXPECT_TRUE(browser.languages().empty());
  EXPECT_FALSE(browser.CommandStates().languages);

  // Back to the first: its language is there; the title names the file
  // whatever separators the path uses.
  ASSERT_TRUE(browser.Open(dir.path().string() + "//./nuevo.dic"));
  EXPECT_EQ(browser.title(), "Glossmith [nuevo.dic]");
  EXPECT_EQ(browser.languages().size(), 1u);
  browser.Close();
  EXPECT_EQ(browser.title(), "Glossmith");
  EXPECT_TRUE(browser.languages().empty());
  EXPECT_FALSE(browser.CommandStates().languages);
}

TEST_F(BrowserTest, OpeningShowsTheFirstTwoLanguagesByName) {
  const std::string abrir = Text(spanish_, "Abrir");
  Text(spanish_, "Archivo", "MN");
  LinkTexts(abrir, Text(german_, "Öffnen"));
  Reopen();
  ASSERT_EQ(browser_.languages().size(), 3u);
  EXPECT_EQ(browser_.languages()[0].name, "Deutsch");
  EXPECT_EQ(browser_.languages()[1].name, "English");
  EXPECT_EQ(browser_.source(), 0);
  EXPECT_EQ(browser_.target(), 1);
  EXPECT_EQ(Column(browser_.texts()), std::vector<std::string>{"Öffnen"});
  EXPECT_TRUE(browser_.translations().empty()) << "no English for it";

  Show("Español", "Deutsch");
  // By type, then text: "MN" before "ST".
  EXPECT_EQ(Column(browser_.texts()), (std::vector<std::string>{"Archivo", "Abrir"}));
  EXPECT_EQ(browser_.selectedText(), 0);
  EXPECT_TRUE(browser_.translations().empty());
  browser_.SelectText(1);
  EXPECT_EQ(Column(browser_.translations()), std::vector<std::string>{"Öffnen"});
  EXPECT_EQ(browser_.translations().Type(0), "ST");
  BrowserCommandStates states = browser_.CommandStates();
  EXPECT_TRUE(states.editText && states.find && states.addTranslation);
  EXPECT_FALSE(states.editTranslation);
  browser_.SelectTranslation(0);
  EXPECT_TRUE(browser_.CommandStates().editTranslation);
  browser_.SelectText(-1);
  EXPECT_TRUE(browser_.translations().empty()) << "they follow the selection";
  EXPECT_FALSE(browser_.CommandStates().editText);
}

TEST_F(BrowserTest, AddingTexts) {
  Show("Español", "English");
  prompter_.Type("Abrir");
  browser_.AddText();
  ASSERT_EQ(prompter_.shownTexts.size(), 1u);
  EXPECT_EQ(prompter_.shownTexts[0].caption, "Añadir un nuevo texto");
  EXPECT_EQ(prompter_.shownTexts[0].type, "ST");
  EXPECT_TRUE(prompter_.shownTexts[0].typeChangeable);
  EXPECT_EQ(Column(browser_.texts()), std::vector<std::string>{"Abrir"});
  EXPECT_EQ(browser_.TakeChanges().revealText, 0);
  EXPECT_EQ(browser_.selectedText(), -1) << "shown, not selected";

  prompter_.Type("Abrir");  // same type: refused
  browser_.AddText();
  prompter_.Type("Abrir", "MN");  // another type: accepted
  browser_.AddText();
  prompter_.Type("");  // nothing typed: nothing stored
  browser_.AddText();
  browser_.AddText();  // cancelled
  EXPECT_EQ(prompter_.log, std::vector<std::string>{"warning: El nuevo texto ya existe en el "
                                                    "diccionario"});
  EXPECT_EQ(Count("select count(*) from texts"), 2);
  EXPECT_TRUE(store().FindText("MN", spanish_, "Abrir"));

  // The filter presets the type; line breaks are stored as "\n".
  browser_.SetFilter("DL");
  prompter_.Type("Dos\nlíneas\r\nde texto");
  browser_.AddText();
  EXPECT_EQ(prompter_.shownTexts.back().type, "DL");
  EXPECT_TRUE(store().FindText("DL", spanish_, "Dos\\nlíneas\\nde texto"));

  // Long texts and quotes come back whole.
  const std::string longText = std::string(100000, 'x') + "'\"%s";
  browser_.SetFilter("");
  prompter_.Type(longText);
  browser_.AddText();
  EXPECT_EQ(RowOf(longText), static_cast<long>(browser_.texts().size()) - 1);
  Show("Español", "English");
  EXPECT_GE(RowOf(longText), 0);
}

TEST_F(BrowserTest, EditingTexts) {
  Text(spanish_, "Guardar");
  Text(spanish_, "a\\nb");
  Text(spanish_, "Guardar", "MN");
  Show("Español", "English");
  ASSERT_EQ(Column(browser_.texts()), (std::vector<std::string>{"Guardar", "Guardar", "a\\nb"}));
  const long row = RowOf("a\\nb");

  // Shown on two lines, stored back as "\n": the same text changes nothing.
  prompter_.texts.push_back([](TextDialogFields& fields) {
    EXPECT_EQ(fields.text, "a\nb");
    EXPECT_FALSE(fields.typeChangeable);
    EXPECT_EQ(fields.caption, "");
    return true;
  });
  browser_.EditText(row);
  EXPECT_TRUE(prompter_.log.empty());

  prompter_.Type("Guardar");  // another text of the same type
  browser_.EditText(row);
  EXPECT_EQ(prompter_.log,
            std::vector<std::string>{"warning: El texto modificado ya existe en el diccionario"});
  EXPECT_EQ(browser_.texts().Text(2), "a\\nb");

  prompter_.Type("a\nc");
  browser_.EditText(row);
  EXPECT_EQ(browser_.texts().Text(2), "a\\nc");
  EXPECT_TRUE(store().FindText("ST", spanish_, "a\\nc"));
  EXPECT_FALSE(store().FindText("ST", spanish_, "a\\nb"));

  // Emptied: the delete questions of the selected text.
  browser_.SelectText(row);
  prompter_.Type("");
  prompter_.answers = {true};
  browser_.EditText(row);
  EXPECT_EQ(prompter_.log.back(), "ask: Esta seguro que desea eliminar el texto:\n\n[a\\nc]");
  EXPECT_FALSE(store().FindText("ST", spanish_, "a\\nc"));
  EXPECT_EQ(browser_.texts().size(), 2u);
  EXPECT_EQ(browser_.selectedText(), 1) << "the row before the last one removed";
}

TEST_F(BrowserTest, TypedTextsAndNamesPassTheGate) {
  Text(spanish_, "Guardar");
  Show("Español", "English");
  const std::string refused = "error: No se puede guardar en el diccionario: el texto ";
  struct Case {
    std::string typed;
    std::string stored;  // "" when refused
    std::string message;
  } cases[] = {
      {"x\x01y", "", refused + "contiene el carácter de control U+0001."},
      {"\xc2\x85z", "", refused + "contiene el carácter de control U+0085."},
      {"\xff", "", refused + "no es UTF-8 válido."},
      {"a\tb", "a\\tb", ""},  // last: it edits the text the others leave
  };
  for (const Case& c : cases) {
    prompter_.log.clear();
    const long before = Count("select count(*) from texts");
    prompter_.Type(c.typed);
    browser_.AddText();
    prompter_.Type(c.typed + "!");
    browser_.EditText(RowOf("Guardar"));
    if (c.stored.empty()) {
      EXPECT_EQ(prompter_.log, (std::vector<std::string>{c.message, c.message})) << c.typed;
      EXPECT_EQ(Count("select count(*) from texts"), before) << c.typed;
      EXPECT_GE(RowOf("Guardar"), 0) << "not edited: " << c.typed;
    } else {
      EXPECT_TRUE(prompter_.log.empty()) << c.typed;
      EXPECT_TRUE(store().FindText("ST", spanish_, c.stored));
      EXPECT_TRUE(store().FindText("ST", spanish_, c.stored + "!"));
    }
  }

  LanguageEditor editor(store(), prompter_);
  editor.Fill();
  prompter_.log.clear();
  prompter_.names = {"Klingon\x7f"};
  editor.Create();
  EXPECT_EQ(prompter_.log,
            std::vector<std::string>{refused + "contiene el carácter de control U+007F."});
  EXPECT_FALSE(store().FindLanguage("Klingon\x7f"));
}

TEST_F(BrowserTest, DeletingALinkedTextAsksTwiceAndRemovesItsLinks) {
  const std::string abrir = Text(spanish_, "Abrir");
  const std::string open = Text(english_, "Open");
  const std::string offnen = Text(german_, "Öffnen");
  Text(spanish_, "Cerrar");
  LinkTexts(abrir, open);
  LinkTexts(abrir, offnen);
  Show("Español", "English");
  ASSERT_EQ(browser_.texts().Text(0), "Abrir");

  prompter_.answers = {true, false};  // the second question says No
  browser_.DeleteText();
  EXPECT_EQ(prompter_.log.size(), 2u);
  EXPECT_EQ(prompter_.log[1].rfind("ask: El siguiente texto:\n\n[Abrir]\n\nes usado", 0), 0u);
  EXPECT_TRUE(store().FindText("ST", spanish_, "Abrir"));

  prompter_.answers = {true, true};
  browser_.DeleteText();
  EXPECT_FALSE(store().FindText("ST", spanish_, "Abrir"));
  EXPECT_EQ(Links(), AllPairs({open, offnen})) << "the others keep their link";
  EXPECT_EQ(Column(browser_.texts()), std::vector<std::string>{"Cerrar"});
  EXPECT_EQ(browser_.selectedText(), 0);

  // Without links one question is enough; the emptied list selects nothing.
  prompter_.log.clear();
  prompter_.answers = {true};
  browser_.DeleteText();
  EXPECT_EQ(prompter_.log,
            std::vector<std::string>{"ask: Esta seguro que desea eliminar el texto:\n\n[Cerrar]"});
  EXPECT_TRUE(browser_.texts().empty());
  EXPECT_EQ(browser_.selectedText(), -1);
  EXPECT_FALSE(browser_.CommandStates().editText);
}

TEST_F(BrowserTest, AddingTranslationsJoinsGroups) {
  const std::string x = Text(spanish_, "Abrir");
  const std::string y = Text(english_, "Open");
  const std::string z = Text(german_, "Öffnen");
  Show("Español", "English");

  // An existing text is linked, not stored again.
  prompter_.Type("Open");
  browser_.AddTranslation();
  EXPECT_EQ(prompter_.shownTexts.back().caption, "Añadir una nueva traducción");
  EXPECT_FALSE(prompter_.shownTexts.back().typeChangeable);
  EXPECT_EQ(Count("select count(*) from texts"), 3);
  EXPECT_EQ(Column(browser_.translations()), std::vector<std::string>{"Open"});

  Show("Español", "Deutsch");
  prompter_.Type("Öffnen");
  browser_.AddTranslation();
  EXPECT_EQ(Links(), AllPairs({x, y, z}));

  // A new text gets the source's type; same language on both sides lists it
  // in the texts list too.
  Show("Español", "Español");
  prompter_.Type("Abre");
  browser_.AddTranslation();
  EXPECT_EQ(Column(browser_.texts()), (std::vector<std::string>{"Abrir", "Abre"}));
  EXPECT_EQ(Column(browser_.translations()), std::vector<std::string>{"Abre"});
  EXPECT_EQ(Count("select count(*) from translations"), 12);

  // A text is no translation of itself.
  prompter_.Type("Abrir");
  browser_.AddTranslation();
  EXPECT_EQ(prompter_.log, std::vector<std::string>{"error: Error desconocido\n\nNo se puede "
                                                    "crear una relación entre los dos textos."});
  EXPECT_EQ(Count("select count(*) from translations"), 12);
}

TEST_F(BrowserTest, DeletingTheLastTranslationOffersToDeleteItsText) {
  const std::string guardar = Text(spanish_, "Guardar");
  const std::string save = Text(english_, "Save");
  const std::string store1 = Text(english_, "Store");
  LinkTexts(guardar, save);
  ASSERT_TRUE(store().Link(guardar, store1));
  Show("Español", "English");
  ASSERT_EQ(Column(browser_.translations()), (std::vector<std::string>{"Save", "Store"}));
  EXPECT_EQ(browser_.selectedTranslation(), 0);

  browser_.SelectTranslation(1);
  prompter_.answers = {true, false};
  browser_.DeleteTranslation();
  // The question names the selected text, as it always has.
  EXPECT_EQ(prompter_.log,
            (std::vector<std::string>{
                "ask: Está seguro que desea eliminar la traducción:\n\n[Guardar]",
                "ask: El siguiente texto\n\n[Store]\n\nya no se usa en ninguna traducción.\n"
                "Desea eliminarlo del diccionario?"}));
  EXPECT_TRUE(store().FindText("ST", english_, "Store")) << "kept: the answer was No";
  EXPECT_EQ(Column(browser_.translations()), std::vector<std::string>{"Save"});
  EXPECT_EQ(browser_.selectedTranslation(), 0);

  prompter_.answers = {true, true};
  browser_.DeleteTranslation();
  EXPECT_FALSE(store().FindText("ST", english_, "Save"));
  EXPECT_TRUE(Links().empty());
  EXPECT_EQ(browser_.selectedTranslation(), -1);
  EXPECT_FALSE(browser_.CommandStates().editTranslation);
}

TEST_F(BrowserTest, FilterShowsOneType) {
  Text(spanish_, "Archivo", "MN");
  Text(spanish_, "Abrir", "ST");
  Text(spanish_, "Edición", "MN");
  Text(spanish_, "Acerca de", "DL");
  Show("Español", "English");
  browser_.SetFilter("MN");
  EXPECT_EQ(Column(browser_.texts()), (std::vector<std::string>{"Archivo", "Edición"}));
  EXPECT_EQ(browser_.selectedText(), -1);
  EXPECT_EQ(browser_.filter(), "MN");
  browser_.SetFilter("");
  EXPECT_EQ(browser_.texts().size(), 4u);
}

TEST_F(BrowserTest, FindWrapsBothWays) {
  for (const char* text : {"Archivo", "Nuevo", "Abrir archivo", "Salir"}) Text(spanish_, text);
  Show("Español", "English");
  ASSERT_EQ(Column(browser_.texts()),
            (std::vector<std::string>{"Abrir archivo", "Archivo", "Nuevo", "Salir"}));
  ASSERT_EQ(browser_.selectedText(), 0);
  browser_.TakeChanges();

  struct Step {
    std::string text;
    bool matchCase;
    bool down;
    long from;
    long expected;  // -1: not found, the selection stays
  };
  const Step steps[] = {
      {"archivo", false, false, 0, 1},  // up from the first row wraps to the last match
      {"archivo", false, true, 1, 0},   // down from the last match wraps to the first
      {"archivo", true, true, 1, 0},    // only the second word is lower case
      {"Archivo", true, true, 0, 1},
      {"ARCHIVO", true, true, 0, -1},
      {"salir", false, true, -1, 3},
      {"salir", false, true, 3, -1},  // the row it stands on is not found again going down
      {"salir", false, false, 3, 3},  // going up it is, last
      {"ÓN", false, true, 0, -1},
  };
  for (const Step& step : steps) {
    browser_.SelectText(step.from);
    browser_.find() = {step.text, step.matchCase, step.down};
    EXPECT_EQ(browser_.FindNext(), step.expected >= 0) << step.text << " from " << step.from;
    EXPECT_EQ(browser_.selectedText(), step.expected >= 0 ? step.expected : step.from)
        << step.text << " from " << step.from;
  }
  Text(spanish_, "Configuración");
  Show("Español", "English");
  browser_.find() = {"configuraCIÓN", false, true};
  EXPECT_TRUE(browser_.FindNext());
  EXPECT_EQ(browser_.texts().Text(static_cast<std::size_t>(browser_.selectedText())),
            "Configuración");
  EXPECT_EQ(browser_.TakeChanges().revealText, browser_.selectedText());
}

TEST_F(BrowserTest, EveryChangeOfAReadOnlyDictionaryFailsWithItsMessage) {
  const std::string abrir = Text(spanish_, "Abrir");
  LinkTexts(abrir, Text(english_, "Open"));
  Text(spanish_, "Cerrar");
  Show("Español", "English");
  ASSERT_EQ(browser_.selectedText(), 0);
  ASSERT_EQ(browser_.connection().Execute("pragma query_only=1"), 0);

  prompter_.Type("Nuevo");
  browser_.AddText();
  prompter_.Type("Abrir otra vez");
  browser_.EditText(0);
  prompter_.answers = {true, true};
  browser_.DeleteText();
  prompter_.Type("Opened");
  browser_.AddTranslation();
  prompter_.answers = {true};
  browser_.DeleteTranslation();
  browser_.SelectText(1);  // "Cerrar", without links
  prompter_.answers = {true};
  browser_.DeleteText();
  const std::vector<std::string> errors = [&] {
    std::vector<std::string> only;
    for (const auto& line : prompter_.log) {
      if (line.rfind("error: ", 0) == 0) only.push_back(line.substr(7));
    }
    return only;
  }();
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "No se puede insertar el nuevo texto\n\nCódigo de error: 8",
                        "No se puede modificar este texto\n\nCódigo de error: 8",
                        "Error desconocido\n\nNo se puede eliminar la asociación actual.",
                        "Error desconocido\n\nNo se puede insertar la nueva traducción.",
                        "Error desconocido\n\nNo se puede eliminar la asociación actual.",
                        "Error desconocido\n\nNo se puede eliminar el texto del diccionario."}));
  EXPECT_EQ(Column(browser_.texts()), (std::vector<std::string>{"Abrir", "Cerrar"}));
  browser_.connection().Execute("pragma query_only=0");
  EXPECT_EQ(Count("select count(*) from texts"), 3);
  EXPECT_EQ(Count("select count(*) from translations"), 2);
}

TEST_F(BrowserTest, AFailureHalfwayLeavesNothingHalfWritten) {
  const std::string abrir = Text(spanish_, "Abrir");
  LinkTexts(abrir, Text(english_, "Open"));
  Show("Español", "Deutsch");
  // Links can no longer be stored nor deleted; texts can.
  ASSERT_EQ(browser_.connection().Execute(
                "create temp trigger no_new_links before insert on translations "
                "begin select raise(abort, 'no'); end;"
                "create temp trigger no_lost_links before delete on translations "
                "begin select raise(abort, 'no'); end;"),
            0);
  prompter_.Type("Öffnen");
  browser_.AddTranslation();
  EXPECT_FALSE(store().FindText("ST", german_, "Öffnen")) << "no text without its link";

  prompter_.answers = {true, true};
  browser_.DeleteText();
  EXPECT_EQ(prompter_.log.back(),
            "error: Error desconocido\n\nNo se pueden eliminar las asociaciones actuales.");
  EXPECT_TRUE(store().FindText("ST", spanish_, "Abrir")) << "no links to a text that is gone";
  EXPECT_EQ(Column(browser_.texts()), std::vector<std::string>{"Abrir"});
  EXPECT_FALSE(browser_.connection().InTransaction());
}

TEST_F(BrowserTest, ADictionaryDeletedWhileOpenTakesNoChange) {
  Text(spanish_, "Abrir");
  Show("Español", "English");
  std::filesystem::remove(path_);
  prompter_.Type("Cerrar");
  browser_.AddText();
  EXPECT_EQ(prompter_.log,
            std::vector<std::string>{
                "error: No se puede insertar el nuevo texto\n\nCódigo de error: 1032"});
  EXPECT_EQ(Column(browser_.texts()), std::vector<std::string>{"Abrir"});
  EXPECT_TRUE(browser_.CommandStates().find) << "what was read stays readable";
}

// Export, then import into another dictionary that already has some of the
// texts, through the browser as the dictionary menu runs it.
TEST_F(BrowserTest, TmxExportAndImportReportAndRefill) {
  const std::string abrir = Text(spanish_, "Abrir");
  LinkTexts(abrir, Text(english_, "Open"));
  LinkTexts(abrir, Text(german_, "Öffnen"));
  LinkTexts(Text(spanish_, "Menú", "MN"), Text(english_, "Menu", "MN"));
  const std::string tmx = dir_ / "salida.tmx";
  std::vector<std::size_t> reported;
  EXPECT_TRUE(browser_.ExportToTmx(tmx, [&](std::size_t done, std::size_t total) {
    reported.push_back(done);
    EXPECT_LE(done, total);
  }));
  EXPECT_EQ(reported.back(), 4u) << "three pairs of Abrir's group and one of Menú's";
  EXPECT_EQ(prompter_.log, std::vector<std::string>{"info: Diccionario exportado a:\n\n[" + tmx +
                                                    "]\n\nPares de textos enlazados: 4"});

  // The other dictionary has Spanish (shown, with English as target) and
  // "Abrir" already.
  const std::string other = dir_ / "otro.dic";
  ASSERT_TRUE(browser_.Open(other));
  store().AddText("ST", *store().AddLanguage("Español"), "Abrir");
  store().AddLanguage("English");
  browser_.ReloadLanguages("", "");
  Show("Español", "English");
  ASSERT_EQ(Column(browser_.texts()), std::vector<std::string>{"Abrir"});
  prompter_.log.clear();
  EXPECT_TRUE(browser_.ImportFromTmx(tmx));
  ASSERT_EQ(prompter_.log.size(), 1u);
  EXPECT_EQ(prompter_.log[0],
            "info: Archivo TMX importado:\n\n[salida.tmx]\n\nUnidades leídas: 4\nUnidades "
            "omitidas (menos de dos textos): 0\nTextos añadidos: 4\nTextos que ya existían: "
            "4\nTraducciones enlazadas: 4\nIdiomas añadidos: Deutsch");
  // Refilled, the languages chosen before still chosen.
  EXPECT_EQ(browser_.SourceName(), "Español");
  EXPECT_EQ(browser_.TargetName(), "English");
  EXPECT_EQ(browser_.languages().size(), 3u);
  EXPECT_EQ(Column(browser_.texts()), (std::vector<std::string>{"Menú", "Abrir"}));
  EXPECT_EQ(Column(browser_.translations()), std::vector<std::string>{"Menu"});
  browser_.SelectText(RowOf("Abrir"));
  EXPECT_EQ(Column(browser_.translations()), std::vector<std::string>{"Open"});

  // A broken file: refused with the place, nothing changed.
  const std::string broken = dir_ / "roto.tmx";
  std::ofstream(broken) << "<tmx version=\"1.4\"><body><tu>\n<tuv xml:lang=\"fr\">";
  prompter_.log.clear();
  const long texts = Count("select count(*) from texts");
  EXPECT_FALSE(browser_.ImportFromTmx(broken));
  ASSERT_EQ(prompter_.log.size(), 1u);
  EXPECT_EQ(prompter_.log[0].rfind("error: No se puede importar el archivo TMX:\n\nroto.tmx: ", 0),
            0u)
      << prompter_.log[0];
  EXPECT_NE(prompter_.log[0].find("El diccionario no ha cambiado."), std::string::npos);
  EXPECT_EQ(Count("select count(*) from texts"), texts);

  // A read-only dictionary takes nothing; a folder cannot be written over.
  const std::string more = dir_ / "más.tmx";
  std::ofstream(more) << "<tmx version=\"1.4\"><header/><body><tu>"
                         "<tuv xml:lang=\"Español\"><seg>Cerrar</seg></tuv>"
                         "<tuv xml:lang=\"English\"><seg>Close</seg></tuv></tu></body></tmx>";
  ASSERT_EQ(browser_.connection().Execute("pragma query_only=1"), 0);
  prompter_.log.clear();
  EXPECT_FALSE(browser_.ImportFromTmx(more));
  EXPECT_EQ(prompter_.log.size(), 1u);
  EXPECT_EQ(Count("select count(*) from texts"), texts);
  prompter_.log.clear();
  EXPECT_FALSE(browser_.ExportToTmx(dir_.path().string()));
  ASSERT_EQ(prompter_.log.size(), 1u);
  EXPECT_EQ(prompter_.log[0].rfind("error: No se puede exportar el diccionario:\n\n", 0), 0u);

  browser_.Close();
  prompter_.log.clear();
  EXPECT_FALSE(browser_.ImportFromTmx(tmx));
  EXPECT_FALSE(browser_.ExportToTmx(tmx));
  EXPECT_TRUE(prompter_.log.empty());
  EXPECT_FALSE(browser_.CommandStates().exchange);
}

TEST_F(BrowserTest, LanguagesAreCreatedRenamedAndDeleted) {
  LanguageEditor editor(store(), prompter_);
  editor.Fill();
  ASSERT_EQ(editor.rows().size(), 3u);
  EXPECT_EQ(editor.rows()[0].name, "Deutsch");

  struct Case {
    std::string name;
    std::string message;  // "" when created
  };
  const Case cases[] = {
      {"Español", "warning: El nombre del idioma especificado ya existe."},
      {"", "error: El nombre del idioma no puede quedar vacio."},
      {"O'Brien \"Gaeilge\"", ""},
      {"Ελληνικά", ""},
  };
  for (const Case& c : cases) {
    prompter_.log.clear();
    prompter_.names.push_back(c.name);
    editor.Create();
    EXPECT_EQ(prompter_.log,
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message})
        << c.name;
    EXPECT_EQ(store().FindLanguage(c.name).has_value(), c.name == "Español" || c.message.empty())
        << c.name;
  }
  editor.Create();  // cancelled
  EXPECT_EQ(editor.rows().size(), 5u);
  EXPECT_TRUE(editor.TakeChanged());

  // Renaming: the quoted name, then to its own name (refused).
  editor.Select(3);
  ASSERT_EQ(editor.rows()[3].name, "O'Brien \"Gaeilge\"");
  prompter_.log.clear();
  prompter_.names = {"O'Brien 'Gaeilge'", "O'Brien 'Gaeilge'"};
  editor.Rename();
  EXPECT_EQ(prompter_.shownNames.back(), "O'Brien \"Gaeilge\"");
  EXPECT_EQ(editor.rows()[3].name, "O'Brien 'Gaeilge'");
  EXPECT_TRUE(store().FindLanguage("O'Brien 'Gaeilge'"));
  editor.Rename();
  EXPECT_EQ(prompter_.log,
            std::vector<std::string>{"warning: El nombre del idioma especificado ya existe."});

  // Deleting English takes its texts and every link of them; Spanish keeps
  // its text, now without links.
  const std::string abrir = Text(spanish_, "Abrir");
  LinkTexts(abrir, Text(english_, "Open"));
  editor.Select(1);
  ASSERT_EQ(editor.rows()[1].name, "English");
  prompter_.answers = {false};
  editor.Delete();
  EXPECT_TRUE(store().FindLanguage("English"));
  prompter_.answers = {true};
  editor.Delete();
  EXPECT_EQ(prompter_.log.back(),
            "ask: El idioma indicado va a ser eliminado\n\n[English]\n\nTambién se eliminaran "
            "todos sus textos.\n\nDesea continuar?");
  EXPECT_FALSE(store().FindLanguage("English"));
  EXPECT_EQ(Count("select count(*) from texts where text_lang_id = " + english_), 0);
  EXPECT_TRUE(Links().empty());
  EXPECT_TRUE(store().FindText("ST", spanish_, "Abrir"));
  EXPECT_EQ(editor.rows().size(), 4u);
  EXPECT_EQ(editor.selected(), -1);
  EXPECT_FALSE(editor.CanDelete());

  // A dictionary that refuses changes: each operation says so.
  browser_.connection().Execute("pragma query_only=1");
  prompter_.log.clear();
  prompter_.names = {"Català"};
  editor.Create();
  editor.Select(0);
  prompter_.names = {"Alemán"};
  editor.Rename();
  prompter_.answers = {true};
  editor.Delete();
  EXPECT_EQ(prompter_.log,
            (std::vector<std::string>{
                "error: Error desconocido\n\nNo se puede crear el idioma especificado.",
                "error: Error desconocido\n\nNo se puede renombrar el idioma seleccionado.",
                "ask: El idioma indicado va a ser eliminado\n\n[Deutsch]\n\nTambién se "
                "eliminaran todos sus textos.\n\nDesea continuar?",
                "error: Error desconocido\n\nNo se puede eliminar el idioma seleccionado."}));
  EXPECT_EQ(editor.rows()[0].name, "Deutsch");
}

TEST_F(BrowserTest, SelectorsAfterTheLanguagesDialog) {
  Show("Español", "English");
  struct Case {
    std::string deleted;  // the language deleted in the dialog
    std::string source, target;
  };
  // Source and target stay where they still exist; a target that is gone
  // gives way to the second language, or to the first when it is alone.
  const Case cases[] = {
      {"Deutsch", "Español", "English"},
      {"English", "Español", "Español"},
      {"Español", "", ""},
  };
  for (const Case& c : cases) {
    const std::string source = browser_.SourceName();
    const std::string target = browser_.TargetName();
    ASSERT_TRUE(store().DeleteLanguage(*store().FindLanguage(c.deleted)));
    browser_.ReloadLanguages(source, target);
    EXPECT_EQ(browser_.SourceName(), c.source) << c.deleted;
    EXPECT_EQ(browser_.TargetName(), c.target) << c.deleted;
  }
  EXPECT_TRUE(browser_.languages().empty());

  // A source that is gone gives way to the first language.
  AddLanguage("Català");
  AddLanguage("Galego");
  browser_.ReloadLanguages("Español", "");
  EXPECT_EQ(browser_.SourceName(), "Català");
  EXPECT_EQ(browser_.TargetName(), "Galego");
}

TEST(TextRowsTest, RowsKeepTheirTextsThroughChanges) {
  TextRows rows;
  for (int i = 0; i < 100; ++i) {
    rows.Append(std::to_string(i), i % 3 == 0 ? "MN" : "ST", "texto " + std::to_string(i));
  }
  // Enough edits of a long text to rewrite the blocks more than once.
  for (int round = 0; round < 50; ++round)
    rows.SetText(7, std::string(100000, static_cast<char>('a' + round % 26)));
  rows.Erase(0);
  rows.Erase(50);
  EXPECT_EQ(rows.size(), 98u);
  EXPECT_EQ(rows.Id(0), "1");
  EXPECT_EQ(rows.Type(0), "ST");
  EXPECT_EQ(rows.Text(6), std::string(100000, 'x'));
  EXPECT_EQ(rows.Id(6), "7");
  EXPECT_EQ(rows.Type(6), "ST");
  EXPECT_EQ(rows.Type(2), "MN");
  EXPECT_EQ(rows.Text(50), "texto 52");
  EXPECT_EQ(rows.Find("99"), 97);
  EXPECT_EQ(rows.Find("0"), -1);
  rows.Append("", "", "");
  EXPECT_EQ(rows.Text(98), "");
}

TEST(TextTypesTest, LineBreaksAndTypes) {
  EXPECT_EQ(EditorTextOf("a\\nb\\\\nc"), "a\nb\\\nc");
  EXPECT_EQ(StoredTextOf("a\r\nb\nc\rd\n"), "a\\nb\\nc\\nd\\n");
  EXPECT_EQ(StoredTextOf(EditorTextOf("uno\\ndos")), "uno\\ndos");
  EXPECT_EQ(TextTypeIndex("MN"), 2);
  EXPECT_EQ(TextTypeIndex("MT"), 4);
  EXPECT_EQ(TextTypeIndex("FM"), 5);
  EXPECT_EQ(TextTypeIndex("XX"), -1);
  EXPECT_TRUE(IsValidTypeCode("ST"));
  EXPECT_TRUE(IsValidTypeCode("Ñó"));
  EXPECT_FALSE(IsValidTypeCode("STR"));
}

}  // namespace
}  // namespace ulk
