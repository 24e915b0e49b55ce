#include "core/document/systemerror.h"

#include "core/document/latin1.h"

#include <cerrno>

namespace tafelbau {

std::string systemReason(int error)
{
    // Latin-1 literals, as every text of the core.
    const char *text = nullptr;
    switch (error) {
    case kNotARegularFile: text = "Keine gew\xF6hnliche Datei (ein Ger\xE4t, eine Pipe oder ein Socket)"; break;
    case EACCES:
    case EPERM: text = "Keine Berechtigung"; break;
    case ENOSPC: text = "Kein Speicherplatz mehr auf dem Ger\xE4t"; break;
    case EDQUOT: text = "Das Kontingent (Quota) an Speicherplatz ist ersch\xF6pft"; break;
    case EROFS: text = "Das Dateisystem ist nur lesbar"; break;
    case ENOENT: text = "Datei oder Verzeichnis nicht gefunden"; break;
    case ENOTDIR: text = "Ein Teil des Pfades ist kein Verzeichnis"; break;
    case EISDIR: text = "Ist ein Verzeichnis"; break;
    case ENAMETOOLONG: text = "Der Dateiname ist zu lang"; break;
    case EFBIG: text = "Die Datei ist zu gro\xDF"; break;
    case EIO: text = "Ein-/Ausgabefehler"; break;
    case ELOOP: text = "Zu viele Ebenen symbolischer Verkn\xFCpfungen"; break;
    case EMFILE:
    case ENFILE: text = "Zu viele offene Dateien"; break;
    case EBUSY:
    case ETXTBSY: text = "Die Datei ist belegt"; break;
    case ENOMEM: text = "Nicht gen\xFCgend Speicher"; break;
    default: return "Systemfehler " + std::to_string(error);
    }
    return latin1ToUtf8(text);
}

std::string withSystemReason(std::string message, int error)
{
    if (error != 0)
        message.append("\r\n").append(systemReason(error));
    return message;
}

} // namespace tafelbau
