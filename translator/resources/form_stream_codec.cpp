// Walking and rewriting Delphi form streams.
#include "translator/resources/form_stream_codec.h"

#include <algorithm>
#include <array>

#include "platform/byte_stream.h"
#include "platform/text.h"

namespace ulk {
namespace {

constexpr std::string_view kSignature = "TPF0";
// Components, lists and collections nested deeper than this are not a
// form anyone drew: the stream is refused rather than walked further.
constexpr int kMaxDepth = 64;
// The room the paths of the strings may take, for each byte of the stream
// and in any case: a form as drawn needs a small part of it.
constexpr std::uint64_t kPathBytesPerByte = 64;
constexpr std::uint64_t kPathBytesFree = 1 << 16;

enum ValueType : std::uint8_t {
  kNull = 0,
  kList = 1,
  kInt8 = 2,
  kInt16 = 3,
  kInt32 = 4,
  kExtended = 5,
  kString = 6,
  kIdent = 7,
  kFalse = 8,
  kTrue = 9,
  kBinary = 10,
  kSet = 11,
  kLString = 12,
  kNil = 13,
  kCollection = 14,
  kSingle = 15,
  kCurrency = 16,
  kDate = 17,
  kWString = 18,
  kInt64 = 19,
  kUtf8String = 20,
  kDouble = 21,
};

// The walk of one stream; every read bounded by the bytes it was given.
class FormWalker {
 public:
  FormWalker(std::string_view bytes, std::vector<FormString>& strings)
      : bytes_(bytes), r_(bytes), strings_(strings) {}

  bool Walk() {
    std::string_view signature;
    if (!r_.Bytes(kSignature.size(), signature) || signature != kSignature)
      return Fail("no empieza por la firma de formulario");
    return Component({}, 0);
  }
  const std::string& Problem() const { return problem_; }

 private:
  bool Fail(std::string text) {
    if (problem_.empty()) problem_ = Format("byte %zu: ", r_.Offset()) + text;
    return false;
  }
  bool Peek(std::uint8_t& value) {
    if (r_.AtEnd()) return Fail("el formulario acaba antes de tiempo");
    value = static_cast<std::uint8_t>(bytes_[r_.Offset()]);
    return true;
  }
  bool Byte(std::uint8_t& value) {
    return r_.U8(value) || Fail("el formulario acaba antes de tiempo");
  }
  bool ShortString(std::string& out) {
    std::uint8_t length = 0;
    std::string_view text;
    if (!Byte(length) || !r_.Bytes(length, text))
      return Fail("un nombre acaba fuera del formulario");
    out.assign(text);
    return true;
  }
  bool SkipBytes(std::uint64_t count) {
    return r_.Skip(count) || Fail("un valor acaba fuera del formulario");
  }
  // An integer value (the child position of a component, the order of a
  // collection item): its type byte and its bytes.
  bool Integer() {
    std::uint8_t type = 0;
    if (!Byte(type)) return false;
    switch (type) {
      case kInt8:
        return SkipBytes(1);
      case kInt16:
        return SkipBytes(2);
      case kInt32:
        return SkipBytes(4);
      default:
        return Fail(Format("se esperaba un entero y hay un valor de tipo %u", type));
    }
  }

  bool Component(const std::string& parent, int depth) {
    if (depth > kMaxDepth) return Fail("componentes anidados demasiado hondo");
    std::uint8_t prefix = 0;
    if (!Peek(prefix)) return false;
    if ((prefix & 0xF0) == 0xF0) {
      r_.Skip(1);
      if ((prefix & 0x02) && !Integer()) return false;
    }
    std::string className;
    std::string name;
    if (!ShortString(className) || !ShortString(name)) return false;
    const std::string& shown = name.empty() ? className : name;
    const std::string path = parent.empty() ? shown : parent + "." + shown;
    if (!Properties(path, depth)) return false;
    while (true) {
      std::uint8_t next = 0;
      if (!Peek(next)) return false;
      if (next == 0) break;
      if (!Component(path, depth + 1)) return false;
    }
    return r_.Skip(1);
  }

  // Properties up to the empty name that ends them (consumed).
  bool Properties(const std::string& owner, int depth) {
    while (true) {
      std::uint8_t next = 0;
      if (!Peek(next)) return false;
      if (next == 0) return r_.Skip(1);
      std::string property;
      if (!ShortString(property)) return false;
      if (!Value(owner + "." + property, property, false, depth)) return false;
    }
  }

  bool Value(const std::string& path, const std::string& property, bool listItem, int depth) {
    if (depth > kMaxDepth) return Fail("valores anidados demasiado hondo");
    const std::size_t start = r_.Offset();
    std::uint8_t type = 0;
    if (!Byte(type)) return false;
    switch (type) {
      case kNull:
      case kFalse:
      case kTrue:
      case kNil:
        return true;
      case kInt8:
        return SkipBytes(1);
      case kInt16:
        return SkipBytes(2);
      case kInt32:
      case kSingle:
        return SkipBytes(4);
      case kCurrency:
      case kDate:
      case kInt64:
      case kDouble:
        return SkipBytes(8);
      case kExtended:
        return SkipBytes(10);
      case kIdent: {
        std::string ident;
        return ShortString(ident);
      }
      case kSet:
        while (true) {
          std::string element;
          if (!ShortString(element)) return false;
          if (element.empty()) return true;
        }
      case kBinary: {
        std::uint32_t size = 0;
        return (r_.U32(size) || Fail("un valor acaba fuera del formulario")) && SkipBytes(size);
      }
      case kList:
        for (std::uint32_t index = 0;; ++index) {
          std::uint8_t next = 0;
          if (!Peek(next)) return false;
          if (next == kNull) return r_.Skip(1);
          if (!Value(Format("%s[%u]", path.c_str(), index), property, true, depth + 1))
            return false;
        }
      case kCollection:
        return Collection(path, depth + 1);
      case kString:
      case kLString:
      case kWString:
      case kUtf8String:
        return String(type, start, path, property, listItem);
      default:
        return Fail(Format("valor de tipo desconocido %u", type));
    }
  }

  bool Collection(const std::string& path, int depth) {
    if (depth > kMaxDepth) return Fail("valores anidados demasiado hondo");
    for (std::uint32_t index = 0;; ++index) {
      std::uint8_t next = 0;
      if (!Peek(next)) return false;
      if (next == kNull) return r_.Skip(1);
      if ((next == kInt8 || next == kInt16 || next == kInt32) && !Integer()) return false;
      std::uint8_t list = 0;
      if (!Byte(list)) return false;
      if (list != kList) return Fail("un elemento de colección no empieza por una lista");
      if (!Properties(Format("%s[%u]", path.c_str(), index), depth)) return false;
    }
  }

  bool String(std::uint8_t type, std::size_t start, const std::string& path,
              const std::string& property, bool listItem) {
    std::uint64_t size = 0;
    if (type == kString) {
      std::uint8_t length = 0;
      if (!Byte(length)) return false;
      size = length;
    } else {
      std::uint32_t length = 0;
      if (!r_.U32(length)) return Fail("un texto acaba fuera del formulario");
      size = type == kWString ? 2ull * length : length;
    }
    std::string_view raw;
    if (!r_.Bytes(size, raw)) return Fail("un texto acaba fuera del formulario");
    // Each string keeps its path: deep components of long names and many
    // strings inside them would otherwise make a small stream take
    // gigabytes.
    pathBytes_ += path.size();
    if (pathBytes_ > kPathBytesPerByte * bytes_.size() + kPathBytesFree)
      return Fail("demasiados textos en componentes demasiado hondos");
    FormString& string = strings_.emplace_back();
    string.ordinal = ordinal_++;
    string.path = path;
    if (type == kWString) {
      string.text = Utf16LeToUtf8(raw);
    } else if (type == kUtf8String && IsValidUtf8(raw)) {
      string.text.assign(raw);
    } else {
      string.text = Windows1252ToUtf8(raw);
    }
    string.isInterfaceText = IsInterfaceTextProperty(property, listItem);
    string.offset = start;
    string.length = r_.Offset() - start;
    return true;
  }

  std::string_view bytes_;
  ByteReader r_;
  std::vector<FormString>& strings_;
  std::uint32_t ordinal_ = 0;
  std::uint64_t pathBytes_ = 0;
  std::string problem_;
};

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The value a translation is written as, type byte first.
void AppendValue(std::uint8_t originalType, std::string_view text, std::string& out) {
  if (originalType == kUtf8String) {
    out.push_back(static_cast<char>(kUtf8String));
    const std::size_t at = out.size();
    out.append(4, '\0');
    StoreU32(out, at, static_cast<std::uint32_t>(text.size()));
    out.append(text);
  } else if (IsAscii(text) && text.size() <= 0xFF) {
    out.push_back(static_cast<char>(kString));
    out.push_back(static_cast<char>(text.size()));
    out.append(text);
  } else if (IsAscii(text)) {
    out.push_back(static_cast<char>(kLString));
    const std::size_t at = out.size();
    out.append(4, '\0');
    StoreU32(out, at, static_cast<std::uint32_t>(text.size()));
    out.append(text);
  } else {
    out.push_back(static_cast<char>(kWString));
    const std::size_t at = out.size();
    out.append(4, '\0');
    const std::size_t units = AppendUtf16Le(out, text);
    StoreU32(out, at, static_cast<std::uint32_t>(units));
  }
}

std::string_view LastSegment(std::string_view name) {
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(dot + 1);
}

}  // namespace

bool IsFormStream(std::string_view bytes) {
  return bytes.substr(0, kSignature.size()) == kSignature;
}

bool IsInterfaceTextProperty(std::string_view property, bool listItem) {
  if (listItem) {
    static constexpr std::array<std::string_view, 3> kLists = {"Items.Strings", "Lines.Strings",
                                                               "Tabs.Strings"};
    return std::find(kLists.begin(), kLists.end(), property) != kLists.end();
  }
  // A text of the font, the data link or the query is a name, not words.
  for (std::string_view owner : {"Font.", "SQL.", "DataField", "DataSource."}) {
    if (property.substr(0, owner.size()) == owner) return false;
  }
  static constexpr std::array<std::string_view, 6> kTexts = {"Caption", "Hint",     "Text",
                                                             "Title",   "TextHint", "DisplayLabel"};
  return std::find(kTexts.begin(), kTexts.end(), LastSegment(property)) != kTexts.end();
}

bool ParseFormStream(std::string_view bytes, std::vector<FormString>& strings,
                     std::string& problem) {
  strings.clear();
  FormWalker walker(bytes, strings);
  if (walker.Walk()) return true;
  strings.clear();
  problem = walker.Problem().empty() ? "el formulario no se puede leer" : walker.Problem();
  return false;
}

FormStreamWriter::Result FormStreamWriter::Append(std::string_view stream,
                                                  TextTranslator& translator, std::string& out) {
  std::vector<FormString> strings;
  std::string problem;
  if (!ParseFormStream(stream, strings, problem)) {
    out.append(stream);
    return kUnreadable;
  }
  const std::size_t start = out.size();
  std::size_t copied = 0;
  bool translated = false;
  std::string translation;
  for (const FormString& string : strings) {
    if (!string.isInterfaceText) continue;
    translation.clear();
    if (!translator.Translate(string.ordinal, string.text, translation) || translation.empty())
      continue;
    out.append(stream.substr(copied, string.offset - copied));
    AppendValue(static_cast<std::uint8_t>(stream[string.offset]), translation, out);
    copied = string.offset + string.length;
    translated = true;
  }
  if (!translated) {
    out.resize(start);
    out.append(stream);
    return kWritten;
  }
  out.append(stream.substr(copied));
  return kWritten;
}

}  // namespace ulk
