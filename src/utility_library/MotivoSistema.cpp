#include "utility_library/MotivoSistema.h"

#include <cerrno>

QString MotivoSistema(int numeroError) {
    switch (numeroError) {
    case EACCES:
    case EPERM:
        return QStringLiteral("permiso denegado");
    case EROFS:
        return QStringLiteral("la unidad es de sólo lectura");
    case ENOSPC:
        return QStringLiteral("no queda espacio en el disco");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("se superó la cuota de disco");
#endif
    case ENOENT:
        return QStringLiteral("no existe el archivo o la carpeta");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta");
    case EISDIR:
        return QStringLiteral("es una carpeta");
    case EEXIST:
        return QStringLiteral("ya existe");
    case EIO:
        return QStringLiteral("error de entrada/salida del dispositivo");
    case ENAMETOOLONG:
        return QStringLiteral("el nombre es demasiado largo");
    case ELOOP:
        return QStringLiteral("demasiados enlaces simbólicos en la ruta");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("demasiados archivos abiertos");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("el archivo está en uso");
    case EXDEV:
        return QStringLiteral("el destino está en otra unidad");
    case EINVAL:
        return QStringLiteral("el nombre o la operación no son válidos");
    default:
        return QStringLiteral("error del sistema %1").arg(numeroError);
    }
}

QString MotivoSistema(const std::error_code& error) {
    if (error.category() == std::generic_category() || error.category() == std::system_category()) {
        return MotivoSistema(error.value());
    }
    return QString::fromStdString(error.message());
}
