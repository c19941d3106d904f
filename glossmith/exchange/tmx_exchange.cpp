// TMX files of dictionaries.
#include "glossmith/exchange/tmx_exchange.h"

#include <map>

#include "platform/files.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "platform/xml.h"
#include "translator/resources/iso_language_list.h"

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

std::string StoredText(std::string_view real) {
  std::string out;
  out.reserve(real.size());
  for (const char c : real) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string TagOf(const std::string& language) {
  const std::string tag = Languages().LanguageTagOf(language);
  return tag.empty() ? language : tag;
}

void AppendVariant(std::string& out, const std::string& language, const std::string& text,
                   const std::string* type) {
  out += "    <tuv xml:lang=\"";
  AppendXmlEscaped(out, language, true);
  out += "\">";
  if (type) {
    out += "<prop type=\"";
    out += kTmxTypeProperty;
    out += "\">";
    AppendXmlEscaped(out, *type);
    out += "</prop>";
  }
  out += "<seg>";
  AppendXmlEscaped(out, text);
  out += "</seg></tuv>\n";
}

struct Variant {
  std::string language;  // as the file names it
  std::string type;
  std::string text;  // stored form
};

struct Unit {
  std::vector<Variant> variants;
};

std::string LineError(long line, const std::string& what) {
  return "línea " + std::to_string(line) + ": " + what;
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
    value = ToUpperUtf8(Trim(value));
    if (value.empty() || CountChars(value) > 2) {
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

bool ReadUnit(const XmlElement& tu, std::vector<Unit>& units, std::string& error) {
  std::string unitType = kDefaultType;
  if (!ReadType(tu, unitType, error)) return false;
  Unit unit;
  for (const XmlElement& tuv : tu.ChildrenNamed("tuv")) {
    Variant variant;
    variant.language = tuv.XmlAttribute("lang");
    // TMX before 1.4 named the language with a plain attribute.
    if (variant.language.empty()) variant.language = tuv.Attribute("lang");
    variant.language = Trim(variant.language);
    if (variant.language.empty()) {
      error = LineError(tuv.Line(), "<tuv> sin idioma (xml:lang)");
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
    variant.text = StoredText(text);
    unit.variants.push_back(std::move(variant));
  }
  units.push_back(std::move(unit));
  return true;
}

// Reads the document element by element: a large file is never held as
// one tree.
bool ReadUnits(std::string_view bytes, std::vector<Unit>& units, std::string& error) {
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
  while (stream.Next()) {
    const XmlElement element = stream.Current();
    if (element.LocalName() == "body") body = true;
    if (element.LocalName() != "tu") continue;
    const XmlElement tu = stream.Expand();
    if (!tu) break;
    if (!ReadUnit(tu, units, error)) return false;
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

// Stores the units; false with `error` at the first statement that fails.
bool StoreUnits(DictionaryStore& store, const std::vector<Unit>& units, TmxImportResult& result,
                const TmxProgress& progress, std::string& error) {
  LanguageResolver languages(store, result);
  std::size_t done = 0;
  for (const Unit& unit : units) {
    if (progress && ++done % kProgressStep == 0) progress(done, units.size());
    if (unit.variants.size() < 2) {
      ++result.skipped;
      continue;
    }
    std::string first;
    for (const Variant& variant : unit.variants) {
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
      if (first.empty()) {
        first = *text;
        continue;
      }
      // As adding a translation links a text: the pair, then the groups
      // of both joined. A text is never linked with itself.
      if (*text == first) continue;
      if (!store.Link(first, *text)) {
        error = "no se ha podido enlazar \"" + variant.text + "\"";
        return false;
      }
      store.PropagateLink(first, *text);
      ++result.linked;
    }
  }
  if (progress) progress(units.size(), units.size());
  return true;
}

}  // namespace

TmxExportResult ExportTmx(DictionaryConnection& connection, const std::string& path,
                          const TmxProgress& progress) {
  TmxExportResult result;
  std::size_t total = 0;
  if (auto count = connection.Query(kCountQuery); count && !count->AtEnd()) {
    total = static_cast<std::size_t>(std::stoull(count->Column(0).value_or("0")));
  }
  auto pairs = connection.Query(kPairsQuery);
  if (!pairs) {
    result.message =
        "no se han podido leer los enlaces del diccionario: " + connection.ErrorMessage();
    return result;
  }
  std::string out;
  out.reserve(total * 160 + 512);
  out +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<tmx version=\"1.4\">\n"
      "  <header creationtool=\"Glossmith\" creationtoolversion=\"1.0\" datatype=\"plaintext\" "
      "segtype=\"phrase\" adminlang=\"es\" srclang=\"*all*\" o-tmf=\"dic\"/>\n"
      "  <body>\n";
  std::map<std::string, std::string> tags;  // language name -> tag
  const auto tagOf = [&](const std::string& name) -> const std::string& {
    auto found = tags.find(name);
    if (found == tags.end()) found = tags.emplace(name, TagOf(name)).first;
    return found->second;
  };
  std::size_t done = 0;
  for (; !pairs->AtEnd(); pairs->Next()) {
    if (progress && ++done % kProgressStep == 0) progress(done, total);
    std::string fields[6];
    for (int i = 0; i < 6; ++i) fields[i] = pairs->Column(i).value_or("");
    const std::string first = RealText(fields[1]);
    const std::string second = RealText(fields[4]);
    if (!IsXmlText(first) || !IsXmlText(second) || !IsXmlText(fields[2]) || !IsXmlText(fields[5]) ||
        !IsXmlText(fields[0]) || !IsXmlText(fields[3])) {
      ++result.omitted;
      continue;
    }
    const bool sameType = fields[0] == fields[3];
    out += "  <tu>";
    if (sameType) {
      out += "<prop type=\"";
      out += kTmxTypeProperty;
      out += "\">";
      AppendXmlEscaped(out, fields[0]);
      out += "</prop>";
    }
    out += "\n";
    AppendVariant(out, tagOf(fields[2]), first, sameType ? nullptr : &fields[0]);
    AppendVariant(out, tagOf(fields[5]), second, sameType ? nullptr : &fields[3]);
    out += "  </tu>\n";
    ++result.units;
  }
  out += "  </body>\n</tmx>\n";
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
  std::vector<Unit> units;
  {
    std::string error;
    if (!ReadUnits(bytes, units, error)) {
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
  if (!StoreUnits(store, units, result, progress, error)) {
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
