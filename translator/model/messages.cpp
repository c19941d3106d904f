// The translator's string table.
#include "translator/model/messages.h"

#include "platform/message_table.h"

namespace ulk {
namespace {

// Sorted by id.
constexpr MessageEntry kMessages[] = {
    {1000, "Nuevo proyecto"},
    {1002, "Añadir módulos al proyecto"},
    {1013, "Leyendo recursos del módulo %s..."},
    {1014, "Generando módulo %s..."},
    {1015, "Validando módulo %s..."},
    {1017, "Módulo %s generando correctamente"},
    {1018, "Proyecto generado correctamente"},
    {1022, "Tabla de strings"},
    {1023, "Diálogo"},
    {1024, "Menú"},
    {1025, "Versión"},
    {1027, "Diccionarios (*.dic)|*.dic|Todos los archivos (*.*)|*.*||"},
    {1028, "Crear o abrir un diccionario"},
    {3000, "¿Desea borrar módulo \"%s\"?"},
    {3002, "¿Desea continuar de todas formas?"},
    {5000, "El módulo \"%s\" ya está en el proyecto"},
    {5001, "Error añadiendo el módulo \"%s\" al proyecto"},
    {5003, "Error borrando el módulo \"%s\" del proyecto"},
    {5005, "¡Demasiados archivos seleccionados!"},
    {5008, "Debe seleccionar un idioma"},
    {5009, "Debe introducir un fichero de salida"},
    {5010, "Error añadiendo idioma \"%s\" al módulo"},
    {5013, "Un módulo debe tener un idioma por defecto"},
    {5014, "Un módulo sólo puede tener un idioma por defecto"},
    {5015, "Datos del idioma no válidos"},
    {5016, "Error de validación del módulo \"%s\""},
    {5017, "Error generando el módulo \"%s\""},
    {5018, "Error obteniendo recursos del módulo \"%s\""},
    {5019, "Datos del módulo no válidos"},
    {5020, "¡No se ha podido abrir el módulo!"},
    {5021, "Error guardando módulo traducido"},
    {5036, "Error añadiendo módulos al proyecto"},
    {5037, "Error abriendo el archivo"},
    {5038, "Versión del archivo desconocida"},
    {5039, "Formato del archivo desconocido"},
    {5040, "Error añadiendo recurso"},
    {5041, "Error abriendo/creando el diccionario:\n\n[%s]"},
    {5043, "Error añadiendo un recurso al diccionario"},
    {7001, "Ningún diccionario cargado"},
    {61698, "Imposible guardar documento."},
    {61699, "¿Guardar cambios a %1?"},
    {61728, "Formato de archivo no esperado."},
    {61729,
     "%1\nImposible encontrar este archivo.\nCompruebe que la ruta y el nombre de archivo son "
     "correctos"},
};

}  // namespace

const char* MessageText(int id) {
  return FindMessage(kMessages, id);
}

}  // namespace ulk
