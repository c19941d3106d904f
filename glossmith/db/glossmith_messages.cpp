// The administrator's string table.
#include "glossmith/db/glossmith_messages.h"

#include "platform/message_table.h"

namespace ulk {
namespace {

// Sorted by id. The command prompts hold the description and, after the
// line feed, the tooltip of the command's button.
constexpr MessageEntry kMessages[] = {
    {101, "&Acerca de Glossmith..."},
    {102, "Diccionarios (*.dic)|*.dic|Todos los archivos (*.*)|*.*||"},
    {103, "Crear un nuevo diccionario/abrir diccionario"},
    {104, "Glossmith"},
    {105, "Textos"},
    {106, "Tipo"},
    {107, "Añadir un nuevo texto"},
    {108, "Añadir una nueva traducción"},
    {109, "ID"},
    {110, "Cadena"},
    {111, "Diálogo"},
    {112, "Mnú"},
    {113, "Versión"},
    {114, "Nombre"},
    {115, "Archivos TMX (*.tmx)|*.tmx|Todos los archivos (*.*)|*.*||"},
    {116, "Importar un archivo TMX"},
    {117, "Exportar el diccionario a un archivo TMX"},
    {118, "Importando el archivo TMX..."},
    {119, "Exportando el diccionario..."},
    {120, "Mensaje"},
    {121, "Formulario"},
    {501, "El tipo no puede ser exceder de 2 caracteres"},
    {502, "El nuevo texto ya existe en el diccionario"},
    {503, "El texto modificado ya existe en el diccionario"},
    {504, "El nombre del idioma especificado ya existe."},
    {1001, "No se puede insertar el nuevo texto\n\nCódigo de error: %d"},
    {1002, "El archivo seleccionado no es un diccionario válido."},
    {1003, "No se puede modificar este texto\n\nCódigo de error: %d"},
    {1004, "Error desconocido\n\nNo se puede insertar la nueva traducción."},
    {1005, "Error desconocido\n\nNo se puede crear una relación entre los dos textos."},
    {1006, "Error desconocido\n\nNo se pueden actualizar las otras traducciones."},
    {1007, "Error desconocido\n\nNo se puede eliminar la asociación actual."},
    {1008, "Error desconocido\n\nNo se puede eliminar el texto del diccionario."},
    {1009, "Error desconocido\n\nNo se pueden eliminar las asociaciones actuales."},
    {1010, "No se puede abrir el diccionario:\n\n[%s]"},
    {1011, "El nombre del idioma no puede quedar vacio."},
    {1013, "Error desconocido\n\nNo se puede crear el idioma especificado."},
    {1014, "Error desconocido\n\nNo se puede renombrar el idioma seleccionado."},
    {1015, "Error desconocido\n\nNo se puede eliminar el idioma seleccionado."},
    {1016, "No se puede importar el archivo TMX:\n\n%s\n\nEl diccionario no ha cambiado."},
    {1017, "No se puede exportar el diccionario:\n\n%s"},
    {1018, "No se puede guardar en el diccionario: el texto %s."},
    {2001,
     "El siguiente texto\n\n[%s]\n\nya no se usa en ninguna traducción.\nDesea eliminarlo del "
     "diccionario?"},
    {2002,
     "El siguiente texto:\n\n[%s]\n\nes usado en otras traducciones.\nSi este elemento es "
     "eliminado todas las referencias al mismo de otras traducciones serán también "
     "eliminadas.\n\nEstá seguro que desea eliminar este texto?"},
    {2003, "Esta seguro que desea eliminar el texto:\n\n[%s]"},
    {2004, "Está seguro que desea eliminar la traducción:\n\n[%s]"},
    {2005,
     "El idioma indicado va a ser eliminado\n\n[%s]\n\nTambién se eliminaran todos sus "
     "textos.\n\nDesea continuar?"},
    {32771, "Crea/abre un diccionario\nCrea/abre un diccionario"},
    {32772, "Cierra el diccionario\nCierra el diccionario"},
    {32773, "Sale de la aplicación\nSale de la aplicación"},
    {32780, "Añade un nuevo texto\nAñade un nuevo texto"},
    {32781, "Elimina el texto seleccionado\nElimina el texto seleccionado"},
    {32782, "Añade una nueva traducción al texto seleccionado\nAñade una nueva traducción"},
    {32783, "Elimina la traducción seleccionada\nElimina la traducción seleccionada"},
    {32785, "Muestra sólo elementos de tipo ST [Cadenas]\nVer sólo cadenas"},
    {32786, "Muestra sólo elementos de tipo MN [Menus]\nVer sólo menús"},
    {32787, "Muestra sólo elementos de tipo DL [Diálogos]\nVer sólo diálogos"},
    {32788, "Muestra sólo elementos de tipo VS [Versiones]\nVer sólo versiones"},
    {32789, "Muestra todos los textos del idioma actual\nMuestra todos los textos"},
    {32790, "Filtra los textos actuales\nFiltra los textos actuales"},
    {32791, "Edita el texto seleccionado\nEdita el texto seleccionado"},
    {32813, "Crea un nuevo idioma\nCrea un nuevo idioma"},
    {32814, "Elimina el idioma seleccionado\nElimina el idioma seleccionado"},
    {32816, "Renombra el idioma seleccionado\nRenombre el idioma seleccionado"},
    {32818, "Muestra el diálogo de idiomas\nMuestra el diálogo de idiomas"},
    {32840,
     "Añade al diccionario los textos y traducciones de un archivo TMX\nImporta un archivo "
     "TMX"},
    {32841, "Escribe los textos enlazados del diccionario en un archivo TMX\nExporta a TMX"},
};

std::string ReplaceFirst(std::string text, std::string_view place, std::string_view value) {
  const auto at = text.find(place);
  if (at != std::string::npos) text.replace(at, place.size(), value);
  return text;
}

}  // namespace

const char* GlossmithMessageText(int id) {
  return FindMessage(kMessages, id);
}

std::string GlossmithMessage(int id, std::string_view value) {
  return ReplaceFirst(GlossmithMessageText(id), "%s", value);
}

std::string GlossmithMessageWithCode(int id, int code) {
  return ReplaceFirst(GlossmithMessageText(id), "%d", std::to_string(code));
}

}  // namespace ulk
