// Fuzz target: Delphi form streams. A stream that parses must rewrite,
// with every interface text translated (ASCII, long and non-ASCII in
// turn), into one that parses to the same paths with the translations and
// the same bytes between the strings; untranslated, and when it does not
// parse, it must come out as it went in.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text.h"
#include "translator/resources/form_stream_codec.h"

namespace {

class Every final : public ulk::TextTranslator {
 public:
  explicit Every(std::string translation) : translation_(std::move(translation)) {}
  void BeginResource(std::uint32_t, const ulk::ResourceId&) override {}
  bool Translate(std::uint32_t, std::string_view, std::string& out) override {
    out = translation_;
    return !translation_.empty();
  }

 private:
  std::string translation_;
};

std::vector<std::string> Between(std::string_view stream,
                                 const std::vector<ulk::FormString>& strings) {
  std::vector<std::string> pieces;
  std::size_t from = 0;
  for (const ulk::FormString& s : strings) {
    pieces.emplace_back(stream.substr(from, s.offset - from));
    from = s.offset + s.length;
  }
  pieces.emplace_back(stream.substr(from));
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<ulk::FormString> strings;
  std::string problem;
  const bool parsed = ulk::ParseFormStream(bytes, strings, problem);
  if (!parsed && (problem.empty() || !strings.empty())) std::abort();
  for (const ulk::FormString& s : strings) {
    if (!ulk::IsValidUtf8(s.text) || s.offset + s.length > size) std::abort();
  }
  for (const std::string& translation :
       {std::string(), std::string("Texto"), std::string(300, 'x'), std::string("Año «ñ»")}) {
    Every every(translation);
    std::string out = "ab";
    const auto result = ulk::FormStreamWriter().Append(bytes, every, out);
    if ((result == ulk::FormStreamWriter::kWritten) != parsed) std::abort();
    const std::string_view written = std::string_view(out).substr(2);
    const bool anyText = std::any_of(strings.begin(), strings.end(),
                                     [](const ulk::FormString& s) { return s.isInterfaceText; });
    if (!parsed || translation.empty() || !anyText) {
      if (written != bytes) std::abort();
      continue;
    }
    std::vector<ulk::FormString> again;
    if (!ulk::ParseFormStream(written, again, problem) || again.size() != strings.size())
      std::abort();
    for (std::size_t i = 0; i < again.size(); ++i) {
      if (again[i].path != strings[i].path) std::abort();
      if (again[i].text != (strings[i].isInterfaceText ? translation : strings[i].text))
        std::abort();
    }
    if (Between(written, again) != Between(bytes, strings)) std::abort();
  }
  return 0;
}
