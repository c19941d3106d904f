// The rows of one of the administrator's text lists: the id, type and text
// of each text, held in one buffer so that a language of a million texts
// loads quickly and stays small in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ulk {

class TextRows {
 public:
  void Clear();
  void Append(std::string_view id, std::string_view type, std::string_view text);
  void Erase(std::size_t row);
  void SetText(std::size_t row, std::string_view text);

  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  // The views stay valid until the next change of the rows. `row` must be
  // below size().
  std::string_view Id(std::size_t row) const;
  std::string_view Type(std::size_t row) const;
  std::string_view Text(std::size_t row) const;
  // The first row with this id, or -1.
  long Find(std::string_view id) const;

 private:
  // Id, type and text lie one after the other in the buffer.
  struct Row {
    std::uint64_t offset;
    std::uint32_t idLength;
    std::uint32_t typeLength;
    std::uint64_t textOffset;
    std::uint64_t textLength;
  };
  std::vector<Row> rows_;
  std::string buffer_;
  // Bytes of the buffer no row uses any more (texts replaced, rows erased).
  std::size_t unused_ = 0;

  void Compact();
};

}  // namespace ulk
