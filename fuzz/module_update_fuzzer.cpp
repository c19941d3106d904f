// Fuzz target: the resource update. Whatever module the reader accepts must
// be rewritten, with a resource added and one replaced, into a module the
// reader accepts again; when the tree names every resource once, the new
// module holds exactly the resources it should, byte for byte.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "platform/resource_update.h"

namespace {

using Key = std::tuple<bool, std::uint32_t, std::u16string, bool, std::uint32_t, std::u16string,
                       std::uint16_t>;
using Tree = std::map<Key, std::pair<std::uint32_t, std::string>>;  // code page, bytes

using Id = std::tuple<bool, std::uint32_t, std::u16string>;

Id IdOf(const ulk::ResourceId& id) {
  const ulk::ResourceId normalised = ulk::NormalisedResourceId(id);
  return {normalised.named, normalised.number, normalised.name};
}

Key KeyOf(const ulk::ResourceId& type, const ulk::ResourceId& name, std::uint16_t language) {
  return std::tuple_cat(IdOf(type), IdOf(name), std::make_tuple(language));
}

// The tree as the update keys it; false when a directory lists one id twice
// (the update then keeps both, and which one a change reaches is its own
// business).
bool TreeOf(const ulk::ModuleImage& image, Tree& tree) {
  std::set<Id> types;
  for (const auto& type : image.Resources()) {
    if (!types.insert(IdOf(type.id)).second) return false;
    std::set<Id> names;
    for (const auto& name : type.names) {
      if (!names.insert(IdOf(name.id)).second) return false;
      for (const auto& data : name.languages) {
        const auto [at, added] = tree.try_emplace(KeyOf(type.id, name.id, data.language),
                                                  data.codePage, std::string(data.bytes));
        if (!added) return false;
      }
    }
  }
  return true;
}

void Put(ulk::ResourceUpdate& update, Tree& expected, const ulk::ResourceId& type,
         const ulk::ResourceId& name, std::uint16_t language, const std::string& bytes) {
  update.Put(type, name, language, bytes);
  const auto [at, added] = expected.try_emplace(KeyOf(type, name, language), 0, bytes);
  if (!added) at->second.second = bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ulk::ModuleImage image;
  if (image.Load(std::string(reinterpret_cast<const char*>(data), size)) != 0) return 0;
  Tree expected;
  const bool distinct = TreeOf(image, expected);
  ulk::ResourceUpdate update(image);
  Put(update, expected, ulk::ResourceId::Number(10), ulk::ResourceId::Number(7), 0x0409, "added");
  if (!image.Resources().empty() && !image.Resources().front().names.empty() &&
      !image.Resources().front().names.front().languages.empty()) {
    const auto& type = image.Resources().front();
    const auto& name = type.names.front();
    Put(update, expected, type.id, name.id, name.languages.front().language, std::string(300, 'r'));
  }
  std::string out;
  if (!update.Build(out).ok()) return 0;  // refused cleanly (no room for a section)
  ulk::ModuleImage again;
  if (again.Load(out) != 0) std::abort();
  Tree actual;
  if (distinct && (!TreeOf(again, actual) || actual != expected)) std::abort();
  return 0;
}
