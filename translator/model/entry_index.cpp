// The flat key index of a language's entries.
#include "translator/model/entry_index.h"

#include <cstring>

#include "translator/model/project.h"

namespace ulk {

std::uint64_t EntryIndex::Hash(std::string_view key) {
  // Keys are short ("ST_N_7 (2)"): taken eight bytes at a time, each word
  // mixed in by a multiplication, the whole mixed again before a slot is
  // taken from it; never 0, which marks an empty slot.
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
  std::uint64_t hash = key.size() * kMultiplier;
  const char* p = key.data();
  std::size_t left = key.size();
  for (; left >= 8; p += 8, left -= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, 8);
    hash = (hash ^ word) * kMultiplier;
    hash ^= hash >> 32;
  }
  if (left > 0) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, left);
    hash = (hash ^ word) * kMultiplier;
  }
  hash ^= hash >> 31;
  hash *= 0xBF58476D1CE4E5B9ULL;
  hash ^= hash >> 29;
  return hash | 1;
}

// The slot a hash belongs in: not from bit 0, which every hash has set.
std::size_t EntryIndex::Home(std::uint64_t hash, std::size_t mask) {
  return (hash >> 1) & mask;
}

bool EntryIndex::Find(std::string_view key, std::uint64_t hash, Position& found) const {
  if (slots_.empty()) return false;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = Home(hash, mask);; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.hash == 0) return false;
    if (slot.hash == hash && slot.position->key == key) {
      found = slot.position;
      return true;
    }
  }
}

void EntryIndex::Place(std::uint64_t hash, Position position) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(hash, mask);
  while (slots_[i].hash != 0) i = (i + 1) & mask;
  slots_[i] = Slot{hash, position};
}

void EntryIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
  for (const Slot& slot : old) {
    if (slot.hash != 0) Place(slot.hash, slot.position);
  }
}

void EntryIndex::Insert(Position position) {
  Insert(position, Hash(position->key));
}

void EntryIndex::Insert(Position position, std::uint64_t hash) {
  // At most half full: probes stay short.
  if ((size_ + 1) * 2 > slots_.size()) Grow();
  Place(hash, position);
  ++size_;
}

bool EntryIndex::Erase(std::string_view key) {
  if (slots_.empty()) return false;
  const std::uint64_t hash = Hash(key);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(hash, mask);
  while (true) {
    if (slots_[i].hash == 0) return false;
    if (slots_[i].hash == hash && slots_[i].position->key == key) break;
    i = (i + 1) & mask;
  }
  // Shift back the slots after it that would no longer be found.
  std::size_t hole = i;
  for (std::size_t j = (i + 1) & mask; slots_[j].hash != 0; j = (j + 1) & mask) {
    const std::size_t home = Home(slots_[j].hash, mask);
    const bool movable = hole <= j ? (home <= hole || home > j) : (home <= hole && home > j);
    if (movable) {
      slots_[hole] = slots_[j];
      hole = j;
    }
  }
  slots_[hole] = Slot{};
  --size_;
  return true;
}

void EntryIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  size_ = 0;
}

void EntryIndex::Reserve(std::size_t count) {
  std::size_t wanted = 16;
  while (wanted < count * 2) wanted *= 2;
  if (wanted <= slots_.size()) return;
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(wanted, Slot{});
  for (const Slot& slot : old) {
    if (slot.hash != 0) Place(slot.hash, slot.position);
  }
}

}  // namespace ulk
