// The administrator's string table.
#include "glossmith/db/glossmith_messages.h"

#include "platform/message_table.h"

namespace ulk {
namespace {

// Sorted by id.
constexpr MessageEntry kMessages[] = {
    {1002, "El archivo seleccionado no es un diccionario válido."},
    {1010, "No se puede abrir el diccionario:\n\n[%s]"},
};

}  // namespace

const char* GlossmithMessageText(int id) {
  return FindMessage(kMessages, id);
}

std::string GlossmithMessage(int id, std::string_view value) {
  std::string text = GlossmithMessageText(id);
  const auto at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace ulk
