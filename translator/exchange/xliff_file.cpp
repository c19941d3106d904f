// Writing and reading XLIFF 1.2.
#include "translator/exchange/xliff_file.h"

#include <algorithm>

#include "platform/stored_text.h"
#include "platform/text.h"
#include "platform/xml.h"

namespace ulk {
namespace {

constexpr const char* kXliffNamespace = "urn:oasis:names:tc:xliff:document:1.2";

void Attribute(std::string& out, const char* name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendXmlEscaped(out, value, true);
  out += '"';
}

std::string LineError(long line, const std::string& what) {
  return "línea " + std::to_string(line) + ": " + what;
}

// How far a target with a text has come, by its state (XLIFF 1.2's list,
// or a tool's own "x-..."), and by the unit's approved attribute, which
// tools use for the same: a target that is not approved is to be
// reviewed, whatever its state. A target without a state is translated:
// tools that do not keep states write none. "new" says nobody has worked
// on the unit (a text there is the source copied, or a placeholder);
// every other state says the text wants a look.
UnitState StateOfTarget(const std::string* state, std::string_view approved) {
  if (state && *state == "new") return UnitState::kUntranslated;
  if (approved == "no") return UnitState::kToReview;
  if (!state || *state == "translated") return UnitState::kTranslated;
  if (*state == "signed-off" || *state == "final") return UnitState::kReviewed;
  return UnitState::kToReview;
}

// Who wrote a note: only the translator's are read back.
constexpr const char* kTranslatorNote = "translator";
constexpr const char* kDeveloperNote = "developer";

class XliffReader {
 public:
  XliffReader(ImportFile& file, std::string& error) : file_(file), error_(error) {}

  // Walks the document element by element: a large file is never held
  // as one tree.
  bool Read(XmlStream& stream) {
    if (!stream.Next()) return Syntax(stream, "el documento está vacío");
    const XmlElement root = stream.Current();
    if (root.LocalName() != "xliff")
      return Fail(root.Line(),
                  "el elemento raíz no es <xliff> sino <" + std::string(root.LocalName()) + ">");
    const std::string version = root.Attribute("version");
    if (!version.empty() && version.rfind("1.", 0) != 0)
      return Fail(root.Line(), "versión de XLIFF no admitida: " + version);
    std::size_t files = 0;
    while (stream.Next()) {
      const XmlElement element = stream.Current();
      if (element.LocalName() == "file") {
        ++files;
        std::string language;
        if (element.Attribute("target-language", language) && file_.targetLanguage.empty()) {
          std::string stored;
          if (const TextProblem problem = ToStoredText(language, stored))
            return Fail(element.Line(), "el atributo target-language " + problem.what);
          file_.targetLanguage = language;
          file_.targetLanguageLine = element.Line();
        }
      } else if (element.LocalName() == "trans-unit") {
        const XmlElement unit = stream.Expand();
        if (!unit) break;
        if (!Unit(unit)) return false;
      }
    }
    if (stream.Failed()) return Syntax(stream, "");
    if (files == 0) return Fail(root.Line(), "el documento no tiene ningún elemento <file>");
    return true;
  }

 private:
  bool Fail(long line, const std::string& what) {
    error_ = LineError(line, what);
    return false;
  }

  bool Syntax(const XmlStream& stream, const std::string& otherwise) {
    const XmlError& problem = stream.Error();
    if (!stream.Failed()) return Fail(1, otherwise);
    error_ = "línea " + std::to_string(problem.line) +
             (problem.column > 0 ? ", columna " + std::to_string(problem.column) : "") + ": " +
             problem.message;
    return false;
  }

  // The text of `element` in its stored form: through the gate, and
  // refused with the unit and the line where it goes wrong.
  bool Text(const XmlElement& element, const std::string& key, std::string& stored) {
    std::string text;
    long badLine = 0;
    if (!element.Text(text, badLine)) return Fail(badLine, "referencia a una entidad no admitida");
    if (const TextProblem problem = ToStoredText(text, stored)) {
      const std::string_view before = std::string_view(text).substr(0, problem.offset);
      const long line = element.Line() + static_cast<long>(std::ranges::count(before, '\n'));
      return Fail(line, "unidad " + key + ": el texto de <" + std::string(element.LocalName()) +
                            "> " + problem.what);
    }
    return true;
  }

  bool Unit(const XmlElement& element) {
    ImportUnit unit;
    unit.line = element.Line();
    std::string id;
    unit.hasKey = element.Attribute("id", id);
    if (!unit.hasKey) return Fail(unit.line, "<trans-unit> sin atributo id");
    if (const TextProblem problem = ToStoredText(id, unit.key))
      return Fail(unit.line, "el atributo id de <trans-unit> " + problem.what);
    const XmlElement source = element.Child("source");
    if (!source) return Fail(unit.line, "<trans-unit> sin <source>");
    if (!Text(source, unit.key, unit.source)) return false;
    if (const XmlElement target = element.Child("target")) {
      if (!Text(target, unit.key, unit.target)) return false;
      std::string state;
      const bool hasState = target.Attribute("state", state);
      if (!unit.target.empty()) {
        unit.state = StateOfTarget(hasState ? &state : nullptr, element.Attribute("approved"));
      }
    }
    if (!Notes(element, unit)) return false;
    file_.units.push_back(std::move(unit));
    return true;
  }

  // The translator's notes of the unit, through the gate, joined by line
  // breaks.
  bool Notes(const XmlElement& element, ImportUnit& unit) {
    for (const XmlElement& note : element.ChildrenNamed("note")) {
      if (note.Attribute("from") != kTranslatorNote) continue;
      std::string text;
      if (!Text(note, unit.key, text)) return false;
      if (text.empty()) continue;
      if (!unit.note.empty()) unit.note += "\\n";
      unit.note += text;
    }
    return true;
  }

  ImportFile& file_;
  std::string& error_;
};

const char* TargetStateOf(const ExportUnit& unit) {
  if (unit.target.empty()) return "new";
  switch (unit.state) {
    case UnitState::kUntranslated:
      return "new";
    case UnitState::kToReview:
      return "needs-review-translation";
    case UnitState::kTranslated:
      return "translated";
    case UnitState::kReviewed:
      return "signed-off";
  }
  return "new";
}

void Note(std::string& out, const char* from, std::string_view text) {
  if (text.empty()) return;
  out += "        <note";
  Attribute(out, "from", from);
  out += '>';
  AppendXmlEscaped(out, text);
  out += "</note>\n";
}

}  // namespace

std::string WriteXliff(const ExportHeader& header, const std::vector<ExportUnit>& units) {
  std::string out;
  out.reserve(units.size() * 256 + 1024);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<xliff version=\"1.2\" xmlns=\"";
  out += kXliffNamespace;
  out += "\">\n  <file";
  Attribute(out, "original", header.moduleFile);
  Attribute(out, "datatype", "winres");
  Attribute(out, "source-language", header.sourceTag.empty() ? "und" : header.sourceTag);
  if (!header.targetTag.empty()) Attribute(out, "target-language", header.targetTag);
  out += ">\n    <header>\n      <tool tool-id=\"ulk\" tool-name=\"ULK\"/>\n      <note>";
  AppendXmlEscaped(out, header.projectName + ": " + header.moduleFile + ", " +
                            header.sourceLanguage + " -> " + header.targetLanguage);
  out += "</note>\n    </header>\n    <body>\n";
  for (const ExportUnit& unit : units) {
    out += "      <trans-unit";
    Attribute(out, "id", unit.key);
    Attribute(out, "resname", unit.key);
    if (!unit.restype.empty()) Attribute(out, "restype", unit.restype);
    // Tools count a translated target that is not approved as fuzzy.
    const bool finished =
        unit.state == UnitState::kTranslated || unit.state == UnitState::kReviewed;
    if (!unit.target.empty() && finished) Attribute(out, "approved", "yes");
    if (unit.width > 0) {
      Attribute(out, "maxwidth", std::to_string(unit.width));
      Attribute(out, "maxheight", std::to_string(unit.height));
      Attribute(out, "size-unit", "dlgunit");
    }
    out += " xml:space=\"preserve\">\n        <source>";
    AppendXmlEscaped(out, unit.source);
    out += "</source>\n";
    out += "        <target state=\"";
    out += TargetStateOf(unit);
    out += "\">";
    AppendXmlEscaped(out, unit.target);
    out += "</target>\n";
    Note(out, kTranslatorNote, unit.translatorNote);
    // What the program says about the unit, for the translator to read.
    Note(out, kDeveloperNote, unit.note);
    out += "      </trans-unit>\n";
  }
  out += "    </body>\n  </file>\n</xliff>\n";
  return out;
}

bool ReadXliff(std::string_view bytes, ImportFile& file, std::string& error) {
  file = {};
  error.clear();
  XmlStream stream;
  XliffReader reader(file, error);
  // A document refused before it is parsed fails at the first move, with
  // the place like any other.
  stream.Open(bytes);
  return reader.Read(stream);
}

}  // namespace ulk
