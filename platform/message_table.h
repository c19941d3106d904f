// A program's string table: messages by id, in one sorted array.
#pragma once

#include <algorithm>
#include <iterator>

namespace ulk {

struct MessageEntry {
  int id;
  const char* text;
};

// The text of `id` in a table sorted by id, or "" when the table lacks it.
template <std::size_t N>
const char* FindMessage(const MessageEntry (&table)[N], int id) {
  const auto found =
      std::lower_bound(std::begin(table), std::end(table), id,
                       [](const MessageEntry& m, int value) { return m.id < value; });
  return found == std::end(table) || found->id != id ? "" : found->text;
}

}  // namespace ulk
