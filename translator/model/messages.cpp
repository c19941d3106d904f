// The translator's string table.
#include "translator/model/messages.h"

#include "platform/message_table.h"

namespace ulk {
namespace {

// Sorted by id.
constexpr MessageEntry kMessages[] = {
    {128,
     "ULK\n\nULK\nProyectos de traducción de recursos (*.ulk)\n.ulk\nULK.Document\nDocumento ULK"},
    {1000, "Nuevo proyecto"},
    {1002, "Añadir módulos al proyecto"},
    {1004,
     "Módulos comunes (*.exe;*.dll;*.ocx)|*.exe;*.dll;*.ocx|Módulos "
     "(*.exe;*.dll;*.ocx;*.drv;*.scr;*.cpl;*.386)|*.exe;*.dll;*.ocx;*.drv;*.scr;*.cpl;*.386|Todos "
     "los archivos (*.*)|*||"},
    {1012, "Recurso"},
    {1013, "Leyendo recursos del módulo %s..."},
    {1014, "Generando módulo %s..."},
    {1015, "Validando módulo %s..."},
    {1017, "Módulo %s generando correctamente"},
    {1018, "Proyecto generado correctamente"},
    {1020, "%d recursos"},
    {1022, "Tabla de strings"},
    {1023, "Diálogo"},
    {1024, "Menú"},
    {1025, "Versión"},
    {1027, "Diccionarios (*.dic)|*.dic|Todos los archivos (*.*)|*.*||"},
    {1028, "Crear o abrir un diccionario"},
    {1030, "Traducir a..."},
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
    {5022, "Error copiando datos al portapapeles"},
    {5023, "Error pegando datos del portapapeles"},
    {5036, "Error añadiendo módulos al proyecto"},
    {5037, "Error abriendo el archivo"},
    {5038, "Versión del archivo desconocida"},
    {5039, "Formato del archivo desconocido"},
    {5040, "Error añadiendo recurso"},
    {5041, "Error abriendo/creando el diccionario:\n\n[%s]"},
    {5043, "Error añadiendo un recurso al diccionario"},
    {7000, "Vista sin recursos"},
    {7001, "Ningún diccionario cargado"},
    {7002, "_______progressbar_______"},
    {32771, "Añade módulos al proyecto\nAñadir módulos"},
    {32772, "Establece las propiedades del proyecto\nPropiedades del proyecto"},
    {32774, "Borra un módulo del proyecto\nBorrar módulo"},
    {32775, "Establece las propiedades del módulo seleccionado\nPropiedades del módulo"},
    {32776, "Establece las propiedades del proyecto o del módulo seleccionado\nPropiedades"},
    {32784, "Obtiene los recursos de todos los módulos del proyecto\nObtener todos los recursos"},
    {32785, "Genera el proyecto\nGenerar proyecto"},
    {32786, "Obtiene todos los recursos del módulo seleccionado\nObtener recursos"},
    {32787, "Genera el módulo seleccionado\nGenerar módulo"},
    {32797, "Obtiene los recursos del proyecto o del módulo seleccionado\nObtener recursos"},
    {32799, "Genera el proyecto o el módulo seleccionado\nGenerar"},
    {32802, "Traduce el recurso seleccionado\nTraducir recurso"},
    {32804, "Borra todas las traducciones del recurso seleccionado\nBorrar traducciones"},
    {32805, "Repite la última búsqueda\nBuscar siguiente"},
    {32823, "Mostrar el recurso seleccionado\nMostrar recurso"},
    {32834, "Mostrar el recurso actual traducido\nMostrar Recurso Traducido"},
    {32843, "Modifica los idiomas de usuario\nIdiomas de usuario"},
    {32844, "Abre un diccionario o Crea y abre un nuevo diccionario\nAbre/Crea un diccionario"},
    {32845, "Cierra el diccionario\nCerrar diccionario"},
    {32846, "Añade los recursos seleccionados al diccionario\nAñadir recursos seleccionados"},
    {32847,
     "Traduce los recursos seleccionados usando el diccionario\nTraducir los recursos "
     "seleccionados"},
    {32860, "Ejecuta el Administrador de Diccionarios\nEjecuta Administrador de Diccionarios"},
    {57344, "ULK"},
    {57345, "Preparado"},
    {57600, "Crea un nuevo proyecto\nNuevo"},
    {57601, "Abre un documento existente\nAbrir (Ctrl+O)"},
    {57603, "Guarda el documento activo\nGuardar (Ctrl+S)"},
    {57604, "Guarda el documento activo con un nuevo nombre\nGuardar como"},
    {57616, "Abre este documento"},
    {57634, "Copia la selección al portapapeles\nCopiar"},
    {57635, "Corta la selección y la pone en el portapapeles\nCortar"},
    {57636, "Busca un texto especificado\nBuscar"},
    {57637, "Inserta el contenido del portapapeles\nPegar"},
    {57642, "Selecciona todo el documento\nSeleccionar todo"},
    {57643, "Deshace la última acción\nDeshacer"},
    {57644, "Rehace la acción previamenete deshecha\nRehacer"},
    {57664, "Muestra información del programa\nAcerca de ULK"},
    {57665, "Sale del programa; Le pide que guarde los documentos\nSalir"},
    {59392, "Muestra u oculta la barra de herrameintas\nVer Barra de herramientas"},
    {59393, "Muestra u oculta la barra de estado\nVer Barra de estado"},
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
