// TMX files of dictionaries.
#include "glossmith/exchange/tmx_exchange.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>
#include <map>

#include "platform/files.h"
#include "platform/stored_text.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "platform/xml.h"
#include "platform/iso_language_list.h"

namespace ulk {
namespace {

constexpr std::size_t kProgressStep = 256;
constexpr const char* kDefaultType = "ST";

// Every linked pair once, whichever way its rows are stored, with both
// texts and their languages.
constexpr const char* kPairsQuery =
    "select a.text_type, a.text_text, la.lang_name, b.text_type, b.text_text, lb.lang_name "
    "from (select distinct min(tran_text_id_1, tran_text_id_2) as x, "
    "max(tran_text_id_1, tran_text_id_2) as y from translations "
    "where tran_text_id_1 <> tran_text_id_2) as pairs "
    "join texts a on a.text_id = pairs.x join languages la on la.lang_id = a.text_lang_id "
    "join texts b on b.text_id = pairs.y join languages lb on lb.lang_id = b.text_lang_id "
    "order by pairs.x, pairs.y";
constexpr const char* kCountQuery =
    "select count(*) from (select distinct min(tran_text_id_1, tran_text_id_2), "
    "max(tran_text_id_1, tran_text_id_2) from translations where tran_text_id_1 <> tran_text_id_2)";

const IsoLanguageList& Languages() {
  static const IsoLanguageList list;
  return list;
}

// Dictionary texts keep line breaks and tabs as "\n", "\r" and "\t"; a
// TMX segment holds them as they are.
std::string RealText(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] == '\\' && i + 1 < stored.size()) {
      const char next = stored[i + 1];
      if (next == 'n' || next == 'r' || next == 't') {
        out.push_back(next == 'n' ? '\n' : next == 'r' ? '\r' : '\t');
        ++i;
        continue;
      }
    }
    out.push_back(stored[i]);
  }
  return out;
}

std::string TagOf(const std::string& language) {
  const std::string tag = Languages().LanguageTagOf(language);
  return tag.empty() ? language : tag;
}

void AppendVariant(std::string& out, const TmxVariant& variant, bool withType) {
  out += "    <tuv xml:lang=\"";
  AppendXmlEscaped(out, variant.language, true);
  out += "\">";
  if (withType) {
    out += "<prop type=\"";
    out += kTmxTypeProperty;
    out += "\">";
    AppendXmlEscaped(out, variant.type);
    out += "</prop>";
  }
  out += "<seg>";
  AppendXmlEscaped(out, RealText(variant.text));
  out += "</seg></tuv>\n";
}

// The type once for the unit when its variants share it, else on each.
void AppendUnit(std::string& out, const TmxUnit& unit) {
  const auto& variants = unit.variants;
  const bool sameType =
      !variants.empty() && std::all_of(variants.begin(), variants.end(), [&](const TmxVariant& v) {
        return v.type == variants.front().type;
      });
  out += "  <tu>";
  if (sameType) {
    out += "<prop type=\"";
    out += kTmxTypeProperty;
    out += "\">";
    AppendXmlEscaped(out, variants.front().type);
    out += "</prop>";
  }
  out += "\n";
  for (const TmxVariant& variant : variants) AppendVariant(out, variant, !sameType);
  out += "  </tu>\n";
}

constexpr const char* kDocumentStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<tmx version=\"1.4\">\n"
    "  <header creationtool=\"Glossmith\" creationtoolversion=\"1.0\" datatype=\"plaintext\" "
    "segtype=\"phrase\" adminlang=\"es\" srclang=\"*all*\" o-tmf=\"dic\"/>\n"
    "  <body>\n";
constexpr const char* kDocumentEnd = "  </body>\n</tmx>\n";

std::string LineError(long line, const std::string& what) {
  return "línea " + std::to_string(line) + ": " + what;
}

// A type as a file gives it, as the dictionary keeps it: blanks trimmed,
// upper case.
std::string TypeOf(std::string_view value) {
  return ToUpperUtf8(Trim(value));
}

bool IsTypeCode(std::string_view type) {
  return !type.empty() && CountChars(type) <= 2;
}

// The type property among an element's children; false with `error` for
// one that no dictionary can hold.
bool ReadType(const XmlElement& element, std::string& type, std::string& error) {
  for (const XmlElement& prop : element.ChildrenNamed("prop")) {
    if (prop.Attribute("type") != kTmxTypeProperty) continue;
    long badLine = 0;
    std::string value;
    if (!prop.Text(value, badLine)) {
      error = LineError(badLine, "referencia a una entidad no admitida");
      return false;
    }
    value = TypeOf(value);
    if (const TextProblem problem = CheckStoredText(value)) {
      error = LineError(prop.Line(), "el tipo de texto " + problem.what);
      return false;
    }
    if (!IsTypeCode(value)) {
      error = LineError(prop.Line(), "tipo de texto no válido: \"" + value + "\"");
      return false;
    }
    type = value;
  }
  return true;
}

std::string SyntaxError(const XmlStream& stream) {
  const XmlError& problem = stream.Error();
  return "línea " + std::to_string(problem.line) +
         (problem.column > 0 ? ", columna " + std::to_string(problem.column) : "") + ": " +
         problem.message;
}

bool SameTag(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The language a srclang attribute names; "" for none or every one.
std::string SourceLanguageOf(const XmlElement& element) {
  std::string language = Trim(element.Attribute("srclang"));
  return language == "*all*" ? std::string() : language;
}

// The line of the byte at `offset` of a text that starts at `line`.
long LineAt(long line, std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  return line + static_cast<long>(std::count(before.begin(), before.end(), '\n'));
}

// Reads one <tu>: its n-th in the file.
bool ReadUnit(const XmlElement& tu, std::size_t number, const std::string& headerSource,
              std::vector<TmxUnit>& units, std::string& error) {
  std::string unitType = kDefaultType;
  if (!ReadType(tu, unitType, error)) return false;
  TmxUnit unit;
  for (const XmlElement& tuv : tu.ChildrenNamed("tuv")) {
    TmxVariant variant;
    variant.language = tuv.XmlAttribute("lang");
    // TMX before 1.4 named the language with a plain attribute.
    if (variant.language.empty()) variant.language = tuv.Attribute("lang");
    variant.language = Trim(variant.language);
    if (variant.language.empty()) {
      error = LineError(tuv.Line(), "<tuv> sin idioma (xml:lang)");
      return false;
    }
    if (const TextProblem problem = CheckStoredText(variant.language)) {
      error = LineError(tuv.Line(), "el idioma " + problem.what);
      return false;
    }
    variant.type = unitType;
    if (!ReadType(tuv, variant.type, error)) return false;
    const XmlElement seg = tuv.Child("seg");
    if (!seg) {
      error = LineError(tuv.Line(), "<tuv> sin <seg>");
      return false;
    }
    std::string text;
    long badLine = 0;
    // Inline markup keeps its text: the native codes of <bpt>, <ept>,
    // <ph> and <it>, the words of <hi> and <sub>.
    if (!seg.Text(text, badLine)) {
      error = LineError(badLine, "referencia a una entidad no admitida");
      return false;
    }
    if (text.empty()) continue;
    if (const TextProblem problem = ToStoredText(text, variant.text)) {
      error = LineError(LineAt(seg.Line(), text, problem.offset),
                        "unidad " + std::to_string(number) + ": el texto " + problem.what);
      return false;
    }
    unit.variants.push_back(std::move(variant));
  }
  std::string source = SourceLanguageOf(tu);
  if (source.empty()) source = headerSource;
  const auto found = std::find_if(unit.variants.begin(), unit.variants.end(),
                                  [&](const TmxVariant& v) { return SameTag(v.language, source); });
  if (found != unit.variants.end()) std::rotate(unit.variants.begin(), found, found + 1);
  units.push_back(std::move(unit));
  return true;
}

// Finds or adds the dictionary's languages for the names a file uses.
class LanguageResolver {
 public:
  LanguageResolver(DictionaryStore& store, TmxImportResult& result)
      : store_(store), result_(result) {
    for (const std::string& name : store_.LanguageNames()) {
      const std::string tag = Languages().LanguageTagOf(name);
      if (!tag.empty()) byTag_.emplace(ToUpperUtf8(tag), name);
    }
  }

  // The language id for a file's language: a dictionary language of that
  // name, else one whose tag it is, else the system's language of that tag
  // or, failing that, a language named as the file names it (added).
  DictionaryId Resolve(const std::string& fileLanguage) {
    if (const auto found = cache_.find(fileLanguage); found != cache_.end()) return found->second;
    DictionaryId id = store_.FindLanguage(fileLanguage);
    if (!id) {
      std::string name;
      if (const auto known = byTag_.find(ToUpperUtf8(fileLanguage)); known != byTag_.end()) {
        name = known->second;
      } else {
        name = Languages().NameOfTag(fileLanguage);
        if (name.empty()) name = fileLanguage;
      }
      id = store_.FindLanguage(name);
      if (!id) {
        id = store_.AddLanguage(name);
        if (id) {
          result_.languagesAdded.push_back(name);
          byTag_.emplace(ToUpperUtf8(fileLanguage), name);
        }
      }
    }
    cache_[fileLanguage] = id;
    return id;
  }

 private:
  DictionaryStore& store_;
  TmxImportResult& result_;
  std::map<std::string, std::string> byTag_;  // upper-case tag -> language name
  std::map<std::string, DictionaryId> cache_;
};

// Links the variants of the units with their source variants, and joins
// each new pair with the translation groups its two texts had before the
// import, as adding a translation joins them. The groups the import itself
// builds are not joined again: each variant costs the same however many
// its unit or the file holds.
class GroupJoiner {
 public:
  GroupJoiner(DictionaryConnection& connection, DictionaryStore& store)
      : connection_(connection), store_(store) {
    if (auto last = connection.Query("select max(tran_id) from translations");
        last && !last->AtEnd()) {
      const std::string value = last->Column(0).value_or("0");
      std::from_chars(value.data(), value.data() + value.size(), lastLinkBefore_);
    }
  }

  bool Join(const std::string& source, const std::string& other) {
    const bool known = store_.HasLink(source, other) && store_.HasLink(other, source);
    if (!store_.Link(source, other)) return false;
    // A pair linked before was joined then, or parted on purpose since.
    if (known) return true;
    const std::vector<std::string> ofSource = Before(source);
    const std::vector<std::string>& ofOther = Before(other);
    for (const std::string& p : ofSource) {
      if (p != other && !store_.Link(other, p)) return false;
    }
    for (const std::string& q : ofOther) {
      if (q != source && !store_.Link(source, q)) return false;
    }
    for (const std::string& p : ofSource) {
      for (const std::string& q : ofOther) {
        if (p != q && p != other && q != source && !store_.Link(p, q)) return false;
      }
    }
    return true;
  }

 private:
  // The partners a text had before the import began.
  const std::vector<std::string>& Before(const std::string& id) {
    auto found = before_.find(id);
    if (found != before_.end()) return found->second;
    std::vector<std::string> partners;
    if (lastLinkBefore_ > 0) {
      PreparedStatement* query = connection_.Prepared(
          "select tran_text_id_2 from translations where tran_text_id_1 = ? and tran_id <= ?");
      std::int64_t text = 0;
      const auto [end, problem] = std::from_chars(id.data(), id.data() + id.size(), text);
      if (query && problem == std::errc() && end == id.data() + id.size()) {
        query->Bind(text).Bind(lastLinkBefore_);
        while (query->Step() == SQLITE_ROW) {
          const std::string_view partner = query->TextView(0);
          if (!partner.empty() && partner != id && !CheckStoredText(partner)) {
            partners.emplace_back(partner);
          }
        }
        query->Reset();
      }
    }
    return before_.emplace(id, std::move(partners)).first->second;
  }

  DictionaryConnection& connection_;
  DictionaryStore& store_;
  std::int64_t lastLinkBefore_ = 0;
  std::map<std::string, std::vector<std::string>> before_;
};

// Stores the units; false with `error` at the first statement that fails.
bool StoreUnits(DictionaryConnection& connection, DictionaryStore& store,
                const std::vector<TmxUnit>& units, TmxImportResult& result,
                const TmxProgress& progress, std::string& error) {
  LanguageResolver languages(store, result);
  GroupJoiner groups(connection, store);
  std::size_t done = 0;
  for (const TmxUnit& unit : units) {
    if (progress && ++done % kProgressStep == 0) progress(done, units.size());
    if (unit.variants.size() < 2) {
      ++result.skipped;
      continue;
    }
    std::string source;
    for (const TmxVariant& variant : unit.variants) {
      const DictionaryId language = languages.Resolve(variant.language);
      if (!language) {
        error = "no se ha podido añadir el idioma " + variant.language;
        return false;
      }
      DictionaryId text = store.FindText(variant.type, *language, variant.text);
      if (text) {
        ++result.textsReused;
      } else {
        text = store.AddText(variant.type, *language, variant.text);
        if (!text) {
          error = "no se ha podido añadir el texto \"" + variant.text + "\"";
          return false;
        }
        ++result.textsAdded;
      }
      if (source.empty()) {
        source = *text;
        continue;
      }
      // A text is never linked with itself.
      if (*text == source) continue;
      if (!groups.Join(source, *text)) {
        error = "no se ha podido enlazar \"" + variant.text + "\"";
        return false;
      }
      ++result.linked;
    }
  }
  if (progress) progress(units.size(), units.size());
  return true;
}

}  // namespace

bool ReadTmx(std::string_view bytes, std::vector<TmxUnit>& units, std::string& error) {
  units.clear();
  XmlStream stream;
  if (!stream.Open(bytes) || !stream.Next()) {
    error = stream.Failed() ? SyntaxError(stream) : "línea 1: el documento está vacío";
    return false;
  }
  const XmlElement root = stream.Current();
  if (root.LocalName() != "tmx") {
    error = LineError(root.Line(),
                      "el elemento raíz no es <tmx> sino <" + std::string(root.LocalName()) + ">");
    return false;
  }
  bool body = false;
  std::string headerSource;
  while (stream.Next()) {
    const XmlElement element = stream.Current();
    if (element.LocalName() == "header") headerSource = SourceLanguageOf(element);
    if (element.LocalName() == "body") body = true;
    if (element.LocalName() != "tu") continue;
    const XmlElement tu = stream.Expand();
    if (!tu) break;
    if (!ReadUnit(tu, units.size() + 1, headerSource, units, error)) return false;
  }
  if (stream.Failed()) {
    error = SyntaxError(stream);
    return false;
  }
  if (!body) {
    error = LineError(root.Line(), "el documento no tiene <body>");
    return false;
  }
  return true;
}

std::string WriteTmx(const std::vector<TmxUnit>& units) {
  std::string out = kDocumentStart;
  for (const TmxUnit& unit : units) AppendUnit(out, unit);
  out += kDocumentEnd;
  return out;
}

TmxExportResult ExportTmx(DictionaryConnection& connection, const std::string& path,
                          const TmxProgress& progress) {
  TmxExportResult result;
  std::size_t total = 0;
  if (auto count = connection.Query(kCountQuery); count && !count->AtEnd()) {
    const std::string value = count->Column(0).value_or("0");
    std::from_chars(value.data(), value.data() + value.size(), total);
  }
  auto pairs = connection.Query(kPairsQuery);
  if (!pairs) {
    result.message =
        "no se han podido leer los enlaces del diccionario: " + connection.ErrorMessage();
    return result;
  }
  std::string out;
  out.reserve(total * 160 + 512);
  out += kDocumentStart;
  std::map<std::string, std::string> tags;  // language name -> tag
  const auto tagOf = [&](const std::string& name) -> const std::string& {
    auto found = tags.find(name);
    if (found == tags.end()) found = tags.emplace(name, TagOf(name)).first;
    return found->second;
  };
  // Only what an import takes back whole: stored texts (a file written by
  // something else may hold others) that an XML document can hold, a
  // language named and a type that reads as a type.
  const auto writable = [](const std::string& value) {
    return !CheckStoredText(value) && IsXmlText(RealText(value));
  };
  const auto importable = [&](const TmxVariant& variant) {
    return writable(variant.text) && writable(variant.language) && writable(variant.type) &&
           !TrimView(variant.language).empty() && IsTypeCode(TypeOf(variant.type));
  };
  std::size_t done = 0;
  for (; !pairs->AtEnd(); pairs->Next()) {
    if (progress && ++done % kProgressStep == 0) progress(done, total);
    std::string fields[6];
    for (int i = 0; i < 6; ++i) fields[i] = pairs->Column(i).value_or("");
    TmxUnit unit;
    unit.variants.push_back({tagOf(fields[2]), fields[0], fields[1]});
    unit.variants.push_back({tagOf(fields[5]), fields[3], fields[4]});
    if (!std::all_of(unit.variants.begin(), unit.variants.end(), importable)) {
      ++result.omitted;
      continue;
    }
    AppendUnit(out, unit);
    ++result.units;
  }
  // A read that stops halfway (a damaged file, a statement stopped) must
  // not pass for the whole dictionary.
  if (pairs->LastError() != 0 && pairs->LastError() != kQueryAtEnd) {
    return {false,
            "no se han podido leer los enlaces del diccionario: " + connection.ErrorMessage()};
  }
  out += kDocumentEnd;
  if (progress) progress(total, total);
  if (const int error = WriteFileAtomically(path, out)) {
    result.message = SystemErrorText(error, path);
    result.units = 0;
    return result;
  }
  result.ok = true;
  return result;
}

TmxImportResult ImportTmx(DictionaryConnection& connection, DictionaryStore& store,
                          const std::string& path, const TmxProgress& progress) {
  TmxImportResult result;
  const std::string fileName(FileNameOf(path));
  std::string bytes;
  if (const int error = ReadWholeFile(path, bytes)) {
    result.message = SystemErrorText(ErrorOfFileOpen(error), path);
    return result;
  }
  std::vector<TmxUnit> units;
  {
    std::string error;
    if (!ReadTmx(bytes, units, error)) {
      result.message = fileName + ": " + error;
      return result;
    }
  }
  result.units = units.size();
  if (!connection.Begin()) {
    result.message = "no se ha podido empezar la transacción: " + connection.ErrorMessage();
    return result;
  }
  std::string error;
  if (!StoreUnits(connection, store, units, result, progress, error)) {
    const std::string detail = connection.ErrorMessage();
    connection.Rollback();
    result = TmxImportResult();
    result.message = error + (detail.empty() ? "" : ": " + detail);
    return result;
  }
  if (!connection.Commit()) {
    result = TmxImportResult();
    result.message = "no se ha podido guardar la importación: " + connection.ErrorMessage();
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace ulk
