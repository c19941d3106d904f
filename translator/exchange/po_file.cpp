// Writing and reading PO files.
#include "translator/exchange/po_file.h"

#include <cctype>
#include <cstring>

#include "platform/stored_text.h"
#include "platform/text.h"
#include "translator/exchange/text_tokens.h"

namespace ulk {
namespace {

// A string in PO syntax, without its quotes.
void AppendPoEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out.push_back(c);
    }
  }
}

// `keyword "text"`, or for a text with line breaks `keyword ""` and one
// quoted line per line, each ending after its "\n", as gettext writes them.
void AppendPoString(std::string& out, std::string_view keyword, std::string_view text) {
  out += keyword;
  const std::size_t firstBreak = text.find('\n');
  if (firstBreak == std::string_view::npos || firstBreak + 1 == text.size()) {
    out += " \"";
    AppendPoEscaped(out, text);
    out += "\"\n";
    return;
  }
  out += " \"\"\n";
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lineBreak = text.find('\n', start);
    const std::size_t end = lineBreak == std::string_view::npos ? text.size() : lineBreak + 1;
    out += '"';
    AppendPoEscaped(out, text.substr(start, end - start));
    out += "\"\n";
    start = end;
  }
}

// A translator's note as "# " comment lines, one per line of the note. A
// comment line cannot hold a carriage return: it is written as "\r", the
// form the project stores it in, which the gate reads back as one.
void AppendTranslatorComments(std::string& out, std::string_view note) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = note.find('\n', start);
    const std::string_view line =
        note.substr(start, end == std::string_view::npos ? end : end - start);
    out += line.empty() ? "#" : "# ";
    for (const char c : line) {
      if (c == '\r') {
        out += "\\r";
      } else {
        out.push_back(c);
      }
    }
    out += '\n';
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

std::string PosixLocaleOf(std::string tag) {
  for (char& c : tag) {
    if (c == '-') c = '_';
  }
  return tag;
}

std::string LineError(long line, const std::string& what) {
  return "línea " + std::to_string(line) + ": " + what;
}

// One line of the file being read.
struct PoLine {
  std::string_view text;
  long number = 0;
};

// Reads a quoted PO string at the start of `text` (blanks before it
// skipped); false with the reason when it is not one.
bool ReadQuoted(std::string_view text, std::string& out, std::string& why) {
  text = TrimView(text);
  if (text.size() < 2 || text.front() != '"') {
    why = "se esperaba una cadena entre comillas";
    return false;
  }
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      if (!TrimView(text.substr(i + 1)).empty()) {
        why = "hay texto detrás de la cadena";
        return false;
      }
      return true;
    }
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (++i >= text.size()) break;
    const char e = text[i];
    switch (e) {
      case 'n':
        out.push_back('\n');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'r':
        out.push_back('\r');
        break;
      case '\\':
      case '"':
        out.push_back(e);
        break;
      case 'a':
        out.push_back('\a');
        break;
      case 'b':
        out.push_back('\b');
        break;
      case 'f':
        out.push_back('\f');
        break;
      case 'v':
        out.push_back('\v');
        break;
      default:
        if (e >= '0' && e <= '7') {
          unsigned value = 0;
          std::size_t digits = 0;
          while (digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7') {
            value = value * 8 + static_cast<unsigned>(text[i] - '0');
            ++i;
            ++digits;
          }
          --i;
          out.push_back(static_cast<char>(value & 0xFF));
          break;
        }
        // The whole character after the backslash, not its first byte.
        std::size_t length = 1;
        while (i + length < text.size() &&
               (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
          ++length;
        }
        why = "secuencia de escape desconocida \\" + std::string(text.substr(i, length));
        return false;
    }
  }
  why = "la cadena no termina en esta línea";
  return false;
}

// One string of an entry as read so far, with the line each of its
// quoted pieces came from, so that a fault in the whole names its line.
struct PoField {
  std::string keyword;
  std::string text;                                  // escapes decoded
  std::vector<std::pair<std::size_t, long>> pieces;  // (offset in text, line)

  long LineAt(std::size_t offset) const {
    long line = pieces.empty() ? 0 : pieces.front().second;
    for (const auto& [start, number] : pieces) {
      if (start > offset) break;
      line = number;
    }
    return line;
  }
};

// The entry being read, field by field.
struct PoEntry {
  bool fuzzy = false;
  PoField comments;  // the translator comments, one per line
  bool hasContext = false;
  bool hasId = false;
  bool hasPlural = false;
  PoField context, id, plural;
  std::vector<PoField> strings;  // msgstr, or every msgstr[N]
  long line = 0;
  PoField* last = nullptr;  // where continuation lines go
};

class PoReader {
 public:
  PoReader(ImportFile& file, std::string& error) : file_(file), error_(error) {}

  bool Read(std::string_view text) {
    long number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = text.find('\n', start);
      std::string_view line =
          text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ++number;
      if (!Line({line, number})) return false;
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    return Finish();
  }

 private:
  bool Fail(long line, const std::string& what) {
    error_ = LineError(line, what);
    return false;
  }

  bool Line(const PoLine& line) {
    const std::string_view text = TrimView(line.text);
    if (text.empty()) return true;
    if (text.front() == '#') {
      // A comment after the strings of an entry starts the next entry.
      if (!entry_.strings.empty() && !Flush()) return false;
      if (text.rfind("#~", 0) == 0) {
        // Obsolete entries are not read, nor the comments above them.
        entry_.comments = {};
        return true;
      }
      if (text.rfind("#,", 0) == 0) {
        for (std::string_view flags = text.substr(2); !flags.empty();) {
          const std::size_t comma = flags.find(',');
          if (TrimView(flags.substr(0, comma)) == "fuzzy") entry_.fuzzy = true;
          if (comma == std::string_view::npos) break;
          flags.remove_prefix(comma + 1);
        }
      }
      // "#." (the extractor's), "#:" (references) and "#|" (the previous
      // original) are not the translator's.
      if (text.size() == 1 || !std::strchr(",.:|~", text[1])) TranslatorComment(line);
      return true;
    }
    if (text.front() == '"') {
      if (!entry_.last) return Fail(line.number, "cadena sin palabra clave delante");
      return Quoted(line, text, *entry_.last);
    }
    const std::size_t blank = text.find_first_of(" \t");
    const std::string_view keyword = text.substr(0, blank);
    const std::string_view rest = blank == std::string_view::npos ? "" : text.substr(blank);
    const bool hasString = !entry_.strings.empty();
    if (keyword == "msgctxt" || keyword == "msgid") {
      if ((hasString || (keyword == "msgctxt" && entry_.hasId)) && !Flush()) return false;
      if (keyword == "msgctxt") {
        if (entry_.hasContext) return Fail(line.number, "msgctxt repetido");
        entry_.hasContext = true;
        entry_.line = line.number;
        return Field(line, keyword, rest, entry_.context);
      }
      if (entry_.hasId) return Fail(line.number, "msgid repetido");
      entry_.hasId = true;
      if (!entry_.hasContext) entry_.line = line.number;
      return Field(line, keyword, rest, entry_.id);
    }
    if (keyword == "msgid_plural") {
      if (!entry_.hasId || hasString || entry_.hasPlural)
        return Fail(line.number, "msgid_plural fuera de lugar");
      entry_.hasPlural = true;
      return Field(line, keyword, rest, entry_.plural);
    }
    if (keyword == "msgstr" || keyword.rfind("msgstr[", 0) == 0) {
      if (!entry_.hasId) return Fail(line.number, "msgstr sin msgid");
      const bool indexed = keyword != "msgstr";
      if (indexed != entry_.hasPlural) {
        return Fail(line.number,
                    indexed ? "msgstr[] sin msgid_plural" : "falta el índice de msgstr");
      }
      if (hasString && !indexed) return Fail(line.number, "msgstr repetido");
      // Every form is read (and must hold texts the project could keep),
      // only the first is kept: plural entries are not taken back anyway.
      entry_.strings.emplace_back();
      return Field(line, keyword, rest, entry_.strings.back());
    }
    return Fail(line.number, "palabra clave desconocida: " + std::string(keyword));
  }

  // A "#" line, kept after the "#" and one blank as it stands, its own
  // blanks at the end included.
  void TranslatorComment(const PoLine& line) {
    std::string_view body = line.text.substr(line.text.find('#') + 1);
    if (!body.empty() && body.front() == ' ') body.remove_prefix(1);
    PoField& comments = entry_.comments;
    if (!comments.pieces.empty()) comments.text += '\n';
    comments.pieces.emplace_back(comments.text.size(), line.number);
    comments.text += body;
  }

  bool Field(const PoLine& line, std::string_view keyword, std::string_view rest, PoField& into) {
    into = {};
    into.keyword = keyword;
    entry_.last = &into;
    return Quoted(line, rest, into);
  }

  bool Quoted(const PoLine& line, std::string_view text, PoField& into) {
    std::string why;
    into.pieces.emplace_back(into.text.size(), line.number);
    if (!ReadQuoted(text, into.text, why)) return Fail(line.number, why);
    return true;
  }

  // The field through the gate of stored texts: escapes such as "\0" or
  // "\377" give any byte, and what the project keeps must be UTF-8
  // without control characters.
  bool Stored(const PoField& field, std::string& stored) {
    if (const TextProblem problem = ToStoredText(field.text, stored)) {
      return Fail(field.LineAt(problem.offset),
                  "el texto de " + field.keyword + " " + problem.what);
    }
    return true;
  }

  bool Flush() {
    PoEntry entry = std::move(entry_);
    entry_ = {};
    if (!entry.hasId && !entry.hasContext) return true;
    if (!entry.hasId) return Fail(entry.line, "msgctxt sin msgid");
    if (entry.strings.empty()) return Fail(entry.line, "falta el msgstr de la entrada");
    ImportUnit unit;
    std::string ignored;
    if (!Stored(entry.context, unit.key) || !Stored(entry.id, unit.source) ||
        !Stored(entry.plural, ignored)) {
      return false;
    }
    for (std::size_t i = 1; i < entry.strings.size(); ++i) {
      if (!Stored(entry.strings[i], ignored)) return false;
    }
    if (!Stored(entry.strings.front(), unit.target)) return false;
    if (!entry.hasContext && entry.id.text.empty()) return Header(entry);
    if (const TextProblem problem = ToStoredText(entry.comments.text, unit.note)) {
      return Fail(entry.comments.LineAt(problem.offset), "la nota del traductor " + problem.what);
    }
    unit.hasKey = entry.hasContext;
    // Plural entries are not taken back.
    if (!entry.hasPlural && !unit.target.empty()) {
      unit.state = entry.fuzzy ? UnitState::kToReview : UnitState::kTranslated;
    }
    unit.line = entry.line;
    file_.units.push_back(std::move(unit));
    return true;
  }

  bool Header(const PoEntry& entry) {
    for (std::string_view fields = entry.strings.front().text; !fields.empty();) {
      const std::size_t end = fields.find('\n');
      const std::string_view field = fields.substr(0, end);
      const std::size_t colon = field.find(':');
      if (colon != std::string_view::npos) {
        const std::string name = ToUpperUtf8(TrimView(field.substr(0, colon)));
        const std::string_view value = TrimView(field.substr(colon + 1));
        if (name == "LANGUAGE") {
          file_.targetLanguage = std::string(value);
          file_.targetLanguageLine = entry.line;
        } else if (name == "CONTENT-TYPE") {
          // Upper-cased in ASCII only, so that offsets in it are offsets
          // in the value: other letters may change their length.
          std::string upper(value);
          for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
          }
          const std::size_t at = upper.find("CHARSET=");
          if (at != std::string::npos) {
            const std::string charset = Trim(upper.substr(at + 8));
            if (charset != "UTF-8" && charset != "UTF8" && charset != "CHARSET" &&
                charset != "ASCII" && charset != "US-ASCII") {
              return Fail(entry.line,
                          "juego de caracteres no admitido: " + std::string(value.substr(at + 8)) +
                              " (el archivo debe estar en UTF-8)");
            }
          }
        }
      }
      if (end == std::string_view::npos) break;
      fields.remove_prefix(end + 1);
    }
    return true;
  }

  bool Finish() {
    if (entry_.last == nullptr && !entry_.hasId && !entry_.hasContext) return true;
    return Flush();
  }

  ImportFile& file_;
  std::string& error_;
  PoEntry entry_;
};

// The line of the first byte that is not part of valid UTF-8, or 0.
long FirstInvalidUtf8Line(std::string_view text) {
  if (IsValidUtf8(text)) return 0;
  // Narrow down line by line: the invalid byte lies on the first line that
  // is not valid by itself.
  long number = 1;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!IsValidUtf8(line)) return number;
    if (end == std::string_view::npos) break;
    start = end + 1;
    ++number;
  }
  return number;
}

}  // namespace

std::string PluralFormsOf(std::string_view tag) {
  const std::string upper = ToUpperUtf8(tag);
  const std::string language = upper.substr(0, upper.find_first_of("-_"));
  const auto is = [&](std::initializer_list<const char*> codes) {
    for (const char* code : codes) {
      if (language == code) return true;
    }
    return false;
  };
  if (is({"JA", "ZH", "KO", "VI", "TH", "ID", "MS", "LO", "KM", "MY"}))
    return "nplurals=1; plural=0;";
  if (is({"FR"}) || upper == "PT-BR" || upper == "PT_BR") return "nplurals=2; plural=(n > 1);";
  if (is({"RU", "UK", "BE", "SR", "HR", "BS"})) {
    return "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || "
           "n%100>=20) ? 1 : 2);";
  }
  if (is({"CS", "SK"})) return "nplurals=3; plural=(n==1) ? 0 : (n>=2 && n<=4) ? 1 : 2;";
  if (is({"PL"})) {
    return "nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : "
           "2);";
  }
  if (is({"LT"})) {
    return "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && (n%100<10 || n%100>=20) ? 1 "
           ": 2);";
  }
  if (is({"LV"})) return "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n != 0 ? 1 : 2);";
  if (is({"RO"}))
    return "nplurals=3; plural=(n==1 ? 0 : (n==0 || (n%100 > 0 && n%100 < 20)) ? 1 : 2);";
  if (is({"SL"}))
    return "nplurals=4; plural=(n%100==1 ? 0 : n%100==2 ? 1 : n%100==3 || n%100==4 ? 2 : 3);";
  if (is({"AR"})) {
    return "nplurals=6; plural=(n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : "
           "n%100>=11 ? 4 : 5);";
  }
  return "nplurals=2; plural=(n != 1);";
}

std::string WritePo(const ExportHeader& header, const std::vector<ExportUnit>& units) {
  std::string out;
  out.reserve(units.size() * 128 + 1024);
  out += "# " + header.projectName + ": " + header.moduleFile + ", " + header.sourceLanguage +
         " -> " + header.targetLanguage + "\n";
  out += "msgid \"\"\nmsgstr \"\"\n";
  const auto field = [&](const std::string& name, const std::string& value) {
    std::string line = name + ": " + value + "\n";
    out += '"';
    AppendPoEscaped(out, line);
    out += "\"\n";
  };
  field("Project-Id-Version", header.projectName + " " + header.moduleFile);
  field("PO-Revision-Date", header.revisionDate);
  field("Last-Translator", "ULK");
  field("Language-Team", header.targetLanguage);
  field("Language",
        header.targetTag.empty() ? header.targetLanguage : PosixLocaleOf(header.targetTag));
  field("MIME-Version", "1.0");
  field("Content-Type", "text/plain; charset=UTF-8");
  field("Content-Transfer-Encoding", "8bit");
  field("Plural-Forms", PluralFormsOf(header.targetTag));
  field("X-Source-Language",
        header.sourceTag.empty() ? header.sourceLanguage : PosixLocaleOf(header.sourceTag));
  for (const ExportUnit& unit : units) {
    out += '\n';
    if (!unit.translatorNote.empty()) AppendTranslatorComments(out, unit.translatorNote);
    if (!unit.note.empty()) out += "#. " + unit.note + "\n";
    if (unit.width > 0) {
      out += "#. Tamaño del control: " + std::to_string(unit.width) + " x " +
             std::to_string(unit.height) + " unidades de diálogo\n";
    }
    // PO knows no reviewed state: a reviewed target is a translated one.
    const bool fuzzy = !unit.target.empty() && (unit.state == UnitState::kToReview ||
                                                unit.state == UnitState::kUntranslated);
    // The mark makes msgfmt --check compare the translation's conversions
    // with the original's; on a text that is not a valid format string
    // it would fail the whole file.
    const bool cFormat = IsCFormatText(unit.source);
    if (fuzzy && cFormat) {
      out += "#, fuzzy, c-format\n";
    } else if (fuzzy) {
      out += "#, fuzzy\n";
    } else if (cFormat) {
      out += "#, c-format\n";
    }
    AppendPoString(out, "msgctxt", unit.key);
    AppendPoString(out, "msgid", unit.source);
    AppendPoString(out, "msgstr", unit.target);
  }
  return out;
}

bool ReadPo(std::string_view bytes, ImportFile& file, std::string& error) {
  file = {};
  error.clear();
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (const long line = FirstInvalidUtf8Line(bytes)) {
    error = LineError(line, "el texto no está en UTF-8");
    return false;
  }
  PoReader reader(file, error);
  return reader.Read(bytes);
}

}  // namespace ulk
