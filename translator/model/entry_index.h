// The index beside a language's ordered entries: key -> list position, in
// one flat open-addressing table (linear probing, deletion by shifting back),
// so that a lookup touches the table once and then the entry it finds.
#pragma once

#include <cstdint>
#include <list>
#include <string_view>
#include <vector>

namespace ulk {

struct TextEntry;

class EntryIndex {
 public:
  using Position = std::list<TextEntry>::iterator;

  static std::uint64_t Hash(std::string_view key);

  // The entry with `key`, or none (false); `hash` is Hash(key).
  bool Find(std::string_view key, Position& found) const { return Find(key, Hash(key), found); }
  bool Find(std::string_view key, std::uint64_t hash, Position& found) const;
  // Records a key that is not in the index yet; the key is read from the
  // entry itself whenever it is compared.
  void Insert(Position position);
  void Insert(Position position, std::uint64_t hash);
  bool Erase(std::string_view key);
  void Clear();
  void Reserve(std::size_t count);
  std::size_t Size() const { return size_; }

 private:
  struct Slot {
    std::uint64_t hash = 0;  // 0: empty
    Position position{};
  };
  static std::size_t Home(std::uint64_t hash, std::size_t mask);
  void Grow();
  void Place(std::uint64_t hash, Position position);

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
};

}  // namespace ulk
