// Spanish. Keys and placeholders as in texts_en.cpp. The user is addressed
// as "tú", as Windows does.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "Actualización de {1}"},
    {"title.plain", "Actualización"},

    {"checking.heading", "Buscando actualizaciones..."},
    {"checking.text", "Consultando la versión más reciente en el servidor de actualizaciones."},

    {"offer.heading.named", "{1} {2} está disponible."},
    {"offer.heading.plain", "La versión {1} está disponible."},
    {"offer.installed", "Versión instalada: {1}."},
    {"offer.installed.required", "Versión instalada: {1}. Esta actualización es obligatoria."},
    {"ready.heading.named", "Ya se puede instalar {1} {2}."},
    {"ready.heading.plain", "Ya se puede instalar la versión {1}."},
    {"notes.heading", "Novedades:"},

    {"downloading.heading.named", "Descargando {1} {2}..."},
    {"downloading.heading.plain", "Descargando la versión {1}..."},
    {"downloading.starting", "Iniciando la descarga..."},
    {"progress.total.rate.left", "{1} de {2}, {3}, {4}, quedan {5}"},
    {"progress.total.rate", "{1} de {2}, {3}, {4}"},
    {"progress.total", "{1} de {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} B"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/s"},
    {"percent", "{1}\u00a0%"},

    {"verifying.heading", "Comprobando la actualización..."},
    {"verifying.text", "Comprobando que el paquete es el que indica el manifiesto."},
    {"waiting.heading", "Esperando a que se cierre la aplicación..."},
    {"waiting.text", "La actualización se instalará cuando termine el proceso {1}."},
    {"installing.heading.named", "Instalando {1} {2}..."},
    {"installing.heading.plain", "Instalando la versión {1}..."},
    {"installing.text", "El instalador se está ejecutando; esto puede tardar unos minutos."},
    {"stopping", "Deteniendo..."},

    {"installed.heading.named", "{1} {2} se ha instalado."},
    {"installed.heading.plain", "La versión {1} se ha instalado."},
    {"installed.text", "El instalador finalizó correctamente."},
    {"restart.heading", "Reinicia para completar la actualización"},
    {"restart.text.named",
     "{1} {2} se ha instalado; Windows debe reiniciarse para completar la actualización."},
    {"restart.text.plain",
     "La versión {1} se ha instalado; Windows debe reiniciarse para completar la actualización."},
    {"restart.failed", "Windows no se pudo reiniciar (error {1}). Reinicia el equipo desde el menú "
                       "Inicio para completar la actualización."},
    {"uptodate.heading.named", "{1} está al día."},
    {"uptodate.heading.plain", "Esta aplicación está al día."},
    {"uptodate.text", "Versión instalada: {1}; la más reciente es la {2}."},
    {"uptodate.rollout",
     "La versión {1} se está distribuyendo de forma gradual y llegará más adelante a este equipo."},
    {"uptodate.newer.windows",
     "La versión {1} requiere Windows {2} o posterior; este equipo tiene la versión {3}."},
    {"downloaded.heading.named", "{1} {2} se ha descargado."},
    {"downloaded.heading.plain", "La versión {1} se ha descargado."},
    {"downloaded.text", "Ubicación del paquete: {1}"},

    {"failed.usage.heading", "No se pudo iniciar la actualización."},
    {"failed.usage.advice", "La aplicación inició el actualizador con opciones que este no "
                            "reconoce; avisa al desarrollador de la aplicación."},
    {"failed.fetch.heading", "No se pudo conectar con el servidor de actualizaciones."},
    {"failed.fetch.advice", "Comprueba la conexión a Internet y vuelve a intentarlo más tarde."},
    {"failed.manifest.heading", "La información de actualización no se puede usar."},
    {"failed.manifest.advice", "Vuelve a intentarlo más tarde; si el problema continúa, avisa al "
                               "desarrollador de la aplicación."},
    {"failed.download.heading", "No se pudo descargar la actualización."},
    {"failed.download.advice",
     "Comprueba la conexión a Internet y el espacio libre en disco, y vuelve a intentarlo."},
    {"failed.install.heading", "No se pudo instalar la actualización."},
    {"failed.install.advice", "Cierra otras instalaciones y vuelve a intentarlo; si el problema "
                              "continúa, avisa al desarrollador de la aplicación."},
    {"failed.cancelled.heading", "Se ha cancelado la actualización."},
    {"failed.cancelled.advice", "Vuelve a ejecutar la actualización para completarla."},
    {"failed.refused.heading", "La actualización se rechazó por motivos de seguridad."},
    {"failed.refused.advice", "No superó las comprobaciones de seguridad, así que no se instaló "
                              "nada; avisa al desarrollador de la aplicación."},
    {"failed.other.heading", "La actualización se ha detenido."},
    {"failed.other.advice", "Vuelve a intentarlo más tarde."},
    {"failed.details", "Detalles: {1}"},
    {"failed.exit.code", "Código de salida {1}"},

    {"consent.heading.named", "¿Quieres que {1} busque actualizaciones automáticamente?"},
    {"consent.heading.plain",
     "¿Quieres que esta aplicación busque actualizaciones automáticamente?"},
    {"consent.text", "La aplicación consulta el servidor de actualizaciones de vez en cuando y te "
                     "ofrece cada nueva versión; tú decides si la instalas."},

    {"button.install.now", "&Instalar ahora"},
    {"button.skip.version", "&Omitir esta versión"},
    {"button.remind.later", "&Recordármelo más tarde"},
    {"button.restart.now", "&Reiniciar ahora"},
    {"button.later", "&Más tarde"},
    {"button.check.automatically", "&Sí, automáticamente"},
    {"button.dont.check", "&No buscar"},
    {"button.ask.later", "&Preguntarme más tarde"},
    {"button.cancel", "Cancelar"},
    {"button.close", "&Cerrar"},

    {"warning.not.authenticated",
     "Sin autenticar: la aplicación no proporcionó ninguna clave pública, así que no se comprueba "
     "el origen de la información de actualización."},
    {"warning.allow.unsigned",
     "La información de actualización no está autenticada (--allow-unsigned): quien pueda "
     "modificarla decide qué se instala."},
    {"warning.no.size", "La información de actualización no indica ningún tamaño; no se puede "
                        "descargar nada hasta que el desarrollador lo añada."},
    {"warning.no.expiry",
     "La información de actualización firmada no tiene fecha de caducidad, así que alguien podría "
     "volver a servir una copia antigua; pide al desarrollador que establezca una."},
    {"warning.product", "La información de actualización es para el producto «{1}», pero la "
                        "aplicación no indicó qué producto es; debería pasar --product {1}."},
    {"warning.retry", "Error de red; se volverá a intentar ({1} de {2}) dentro de {3} s."},
    {"warning.skip.not.saved",
     "No se pudo guardar la opción de omitir esta versión; se volverá a ofrecer."},
    {"warning.state.not.saved", "No se pudo guardar la configuración de la actualización; la "
                                "actualización continúa sin ella."},
    {"warning.relaunch.failed", "No se pudo volver a iniciar la aplicación; iníciela usted mismo."},
    {"text.not.utf8", "(Este texto no es UTF-8 válido.)"},
};

} // namespace

extern const Table kTextsEs = {"es", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
