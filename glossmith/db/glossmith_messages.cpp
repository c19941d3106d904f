// The administrator's string table.
#include "glossmith/db/glossmith_messages.h"

#include <algorithm>
#include <iterator>

namespace ulk {
namespace {

struct Message {
  int id;
  const char* text;
};

// Sorted by id.
constexpr Message kMessages[] = {
    {1002, "El archivo seleccionado no es un diccionario válido."},
    {1010, "No se puede abrir el diccionario:\n\n[%s]"},
};

}  // namespace

const char* GlossmithMessageText(int id) {
  const auto found = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                                      [](const Message& m, int value) { return m.id < value; });
  return found == std::end(kMessages) || found->id != id ? "" : found->text;
}

std::string GlossmithMessage(int id, std::string_view value) {
  std::string text = GlossmithMessageText(id);
  const auto at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace ulk
