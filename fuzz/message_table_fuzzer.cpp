// Fuzz target: message tables. A table that decodes must rebuild, with
// every message translated, into one that decodes to the same ids with the
// translations; untranslated it must come out as it went in; one that does
// not decode must be kept as it stands. Every text read is valid UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text.h"
#include "translator/resources/message_table_codec.h"

namespace {

class Every final : public ulk::TextTranslator {
 public:
  explicit Every(bool translate) : translate_(translate) {}
  void BeginResource(std::uint32_t, const ulk::ResourceId&) override {}
  bool Translate(std::uint32_t item, std::string_view, std::string& out) override {
    out = Of(item);
    return translate_;
  }
  static std::string Of(std::uint32_t id) { return "Mensaje traducido nº " + std::to_string(id); }

 private:
  bool translate_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<ulk::MessageText> messages;
  std::string problem;
  const bool decoded = ulk::DecodeMessageTable(bytes, messages, problem);
  if (!decoded && (problem.empty() || !messages.empty())) std::abort();
  for (const ulk::MessageText& message : messages) {
    if (!ulk::IsValidUtf8(message.text)) std::abort();
  }
  // A table cannot list more messages than it has room for.
  if (messages.size() > size / 4) std::abort();
  for (const bool translate : {false, true}) {
    Every every(translate);
    std::string out = "ab";
    const auto result = ulk::MessageTableWriter().Append(bytes, every, out);
    if (!decoded) {
      if (result != ulk::MessageTableWriter::kUnreadable || out != "ab" + bytes) std::abort();
      continue;
    }
    if (result == ulk::MessageTableWriter::kTooLong) continue;
    if (!translate || messages.empty()) {
      if (out != "ab" + bytes) std::abort();
      continue;
    }
    std::vector<ulk::MessageText> again;
    if (!ulk::DecodeMessageTable(std::string_view(out).substr(2), again, problem)) std::abort();
    if (again.size() != messages.size()) std::abort();
    for (std::size_t i = 0; i < again.size(); ++i) {
      if (again[i].id != messages[i].id || again[i].text != Every::Of(again[i].id)) std::abort();
    }
  }
  return 0;
}
