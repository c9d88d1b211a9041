#include "runtime_ui/SkinVentana.h"

#include "utility_library/QlIni.h"
#include "utility_library/QlTexto.h"

#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QWidget>

namespace {
// The error numbers the suite's file routines use.
constexpr qint32 kArchivoNoEncontrado = 53;
constexpr qint32 kErrorAccesoArchivo = 75;
constexpr qint32 kFormatoInvalido = 321;

QColor Mezcla(const QColor& a, const QColor& b) {
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}
} // namespace

bool SkinVentana::falla(qint32 numero, const QString& descripcion) {
    error_ = ErrorKX{numero, descripcion, QStringLiteral("SkinVentana")};
    nombre_.clear();
    hoja_.clear();
    paleta_ = QPalette();
    return false;
}

bool SkinVentana::CargaSkin(const QString& ruta, const QString& ajustes) {
    const QString descripcion = ajustes.isEmpty() ? ruta : QlUtil::AgregaBarra(ruta) + ajustes;
    const QFileInfo info(descripcion);
    if (!info.exists()) {
        return falla(kArchivoNoEncontrado,
                     QStringLiteral("No se encontró el archivo de skin ") + descripcion);
    }
    QFile f(descripcion);
    if (info.isDir() || !f.open(QIODevice::ReadOnly)) {
        return falla(kErrorAccesoArchivo,
                     QStringLiteral("No se puede leer el archivo de skin ") + descripcion);
    }
    f.close();

    auto lee = [&](const QString& seccion, const QString& clave) {
        return QlIni::LeeValor(descripcion, seccion, clave, QString()).trimmed();
    };
    QPalette paleta;
    int colores = 0;
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    for (int i = 0; i < roles.keyCount(); ++i) {
        const auto rol = QPalette::ColorRole(roles.value(i));
        if (rol == QPalette::NoRole || rol == QPalette::NColorRoles) {
            continue;
        }
        const QString texto = lee(QStringLiteral("Paleta"), QLatin1String(roles.key(i)));
        if (texto.isEmpty()) {
            continue;
        }
        const QColor color(texto);
        if (!color.isValid()) {
            return falla(kFormatoInvalido, QStringLiteral("Color no válido para ") +
                                               QLatin1String(roles.key(i)) +
                                               QStringLiteral(" en ") + descripcion);
        }
        paleta.setColor(rol, color);
        ++colores;
    }
    // Greyed-out text stays readable on any background the skin picks.
    for (const auto& [texto, fondo] : {std::pair{QPalette::WindowText, QPalette::Window},
                                       std::pair{QPalette::Text, QPalette::Base},
                                       std::pair{QPalette::ButtonText, QPalette::Button}}) {
        paleta.setColor(
            QPalette::Disabled, texto,
            Mezcla(paleta.color(QPalette::Active, texto), paleta.color(QPalette::Active, fondo)));
    }

    QString hoja;
    const QString archivoHoja = lee(QStringLiteral("Skin"), QStringLiteral("HojaEstilo"));
    if (!archivoHoja.isEmpty()) {
        const QString rutaHoja = QFileInfo(archivoHoja).isAbsolute()
                                     ? archivoHoja
                                     : info.absolutePath() + QLatin1Char('/') + archivoHoja;
        QFile h(rutaHoja);
        if (!h.exists()) {
            return falla(kArchivoNoEncontrado,
                         QStringLiteral("No se encontró la hoja de estilo ") + rutaHoja);
        }
        if (!h.open(QIODevice::ReadOnly)) {
            return falla(kErrorAccesoArchivo,
                         QStringLiteral("No se puede leer la hoja de estilo ") + rutaHoja);
        }
        hoja = QString::fromUtf8(h.readAll());
    }
    if (colores == 0 && hoja.isEmpty()) {
        return falla(kFormatoInvalido,
                     QStringLiteral("El archivo de skin no describe ningún aspecto ") +
                         descripcion);
    }
    error_ = ErrorKX{};
    nombre_ = lee(QStringLiteral("Skin"), QStringLiteral("Nombre"));
    if (nombre_.isEmpty()) {
        nombre_ = info.completeBaseName();
    }
    paleta_ = paleta;
    hoja_ = hoja;
    return true;
}

void SkinVentana::AplicaVentana(QWidget* ventana) const {
    if (ventana == nullptr) {
        return;
    }
    ventana->setPalette(paleta_);
    ventana->setStyleSheet(hoja_);
}

void SkinVentana::QuitaSkin(QWidget* ventana) {
    if (ventana == nullptr) {
        return;
    }
    ventana->setStyleSheet(QString());
    ventana->setPalette(QPalette());
}
