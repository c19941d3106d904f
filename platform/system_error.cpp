// Texts of error codes: the C library's for errno values, ours for the rest.
#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

#include "platform/text.h"

namespace ulk {
namespace {

const char* OwnErrorMessage(int code) {
  switch (code) {
    case kErrorFileNotFound:
      return "No se encuentra el archivo %1.";
    case kErrorAccessDenied:
      return "No tiene permiso para acceder al archivo %1.";
    case kErrorNotAModule:
      return "%1 no es un módulo de Windows válido.";
    case kErrorModuleTruncated:
      return "El módulo %1 está truncado.";
    case kErrorBadResourceDirectory:
      return "Los recursos del módulo %1 están dañados.";
    case kErrorResourceNotFound:
      return "No se encuentra el recurso en %1.";
    case kErrorNoHeaderRoom:
      return "No queda espacio en las cabeceras de %1 para una sección nueva.";
    case kErrorSameFile:
      return "El archivo de salida %1 es el propio módulo.";
    case kErrorResourceTooLarge:
      return "Un recurso de %1 es demasiado grande.";
    case kErrorBadTemplate:
      return "Una plantilla de recurso de %1 está dañada.";
    case kErrorBadHeaders:
      return "No se pueden escribir los recursos en %1: las cabeceras del módulo no lo permiten.";
    case kErrorFolderNotFound:
      return "No existe la carpeta %1.";
    case kErrorNotAFile:
      return "%1 no es un archivo normal.";
    case kErrorFileTooLarge:
      return "El archivo %1 es demasiado grande.";
    case kErrorOutputIsProject:
      return "El archivo de salida %1 es el propio archivo del proyecto.";
    case kErrorOutputIsModule:
      return "El archivo de salida %1 es un módulo del proyecto.";
    case kErrorOutputShared:
      return "El archivo de salida %1 es también la salida de otro idioma o de otro módulo.";
    case kErrorBadTranslation:
      return "Una traducción para %1 contiene un carácter nulo: no se escribe.";
    case kErrorOutputNotAModule:
      return "El archivo %1 ya existe y no es un módulo de Windows: no se reemplaza sin "
             "confirmación.";
    default:
      return nullptr;
  }
}

}  // namespace

std::string SystemErrorMessage(int code) {
  if (code == 0) return {};
  if (const char* own = OwnErrorMessage(code)) return own;
  char buffer[256] = {};
  // GNU strerror_r returns the message, which may or may not be the buffer.
  const char* message = strerror_r(code, buffer, sizeof buffer);
  return message ? message : "";
}

std::string SystemErrorText(int code) {
  if (code == 0) return {};
  return Format("(#%d) %s", code, SystemErrorMessage(code).c_str());
}

std::string SystemErrorText(int code, std::string_view path) {
  std::string text = SystemErrorText(code);
  if (path.empty()) return text;
  return ReplaceAll(text, "%1", path);
}

int ErrorOfFileOpen(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return kErrorFileNotFound;
    case EACCES:
    case EPERM:
      return kErrorAccessDenied;
    default:
      return error;
  }
}

}  // namespace ulk
