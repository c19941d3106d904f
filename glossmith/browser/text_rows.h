// The rows of one of the administrator's text lists: the id, type and text
// of each text. A language may hold a million texts, so the rows are small
// (the strings live in large shared blocks, the few distinct types once)
// and filling them copies nothing twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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
  struct Row {
    std::uint32_t block;
    std::uint32_t offset;  // of the id; the text follows it
    std::uint32_t textLength;
    std::uint16_t idLength;
    std::uint16_t type;  // index in types_
  };
  struct Block {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::size_t capacity = 0;
  };

  // Writes id and text into the blocks; the row's type is left 0.
  Row Store(std::string_view id, std::string_view text);
  // Where `bytes` more bytes go: the last block, or a new one.
  Block& Room(std::size_t bytes);
  std::uint16_t TypeIndex(std::string_view type);
  void Compact();

  std::vector<Row> rows_;
  std::vector<Block> blocks_;
  std::vector<std::string> types_;
  // Bytes of the blocks no row uses any more (texts replaced, rows erased).
  std::size_t unused_ = 0;
  std::size_t used_ = 0;
};

}  // namespace ulk
