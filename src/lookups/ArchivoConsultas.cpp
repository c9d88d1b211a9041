#include "lookups/ArchivoConsultas.h"

#include "lookups/RegistroFallas.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/Cp1252.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlTexto.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kTitulo = 100, kTabla = 100, kCampos = 500, kCondicion = 500;

QByteArray campo(const QString& texto, int ancho) {
    return Cp1252::codifica(QlUtil::AjustaTexto(texto, ancho));
}

// NUL and code 255 are what other writers of the suite pad with.
QString limpia(const QByteArray& bytes) {
    QByteArray b = bytes;
    b.replace('\0', QByteArray());
    b.replace('\xff', QByteArray());
    return Cp1252::decodifica(b).trimmed();
}

bool mismaTabla(const MascaraConsulta& m, const QString& tabla) {
    return m.TablaMascara.trimmed().compare(tabla.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

QByteArray MascaraConsulta::codifica() const {
    QByteArray r;
    r.reserve(Largo);
    r += campo(TituloMascara, kTitulo);
    r += campo(TablaMascara, kTabla);
    r += campo(CamposMascara, kCampos);
    r += campo(CondicionMascara, kCondicion);
    r += "\r\n";
    return r;
}

std::optional<MascaraConsulta> MascaraConsulta::decodifica(const QByteArray& registro) {
    if (registro.size() != Largo || registro.mid(1200, 2) != "\r\n") {
        return std::nullopt;
    }
    MascaraConsulta m;
    m.TituloMascara = limpia(registro.mid(0, kTitulo));
    m.TablaMascara = limpia(registro.mid(100, kTabla));
    m.CamposMascara = limpia(registro.mid(200, kCampos));
    m.CondicionMascara = limpia(registro.mid(700, kCondicion));
    return m;
}

namespace ArchivoConsultas {

QList<MascaraConsulta> mascarasPorDefecto() {
    struct D {
        const char *titulo, *tabla, *campos;
    };
    static const D d[] = {
        {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
        {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
        {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
        {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
        {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
        {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
        {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
        {"CUENTAS", "MA_CUENTAS", "|DESCRIPCION|CODIGO|"},
        // The suite has always shipped this table name with two trailing blanks.
        {"TAREAS", "V_TA_Tareas  ", "|Descripcion|IdTarea|"},
        {"UnidadNegocio", "V_TA_UnidadNegocio", "|Descripcion|Codigo|"},
        {"DEPOSITO", "V_TA_DEPOSITO", "|Descripcion|IdDeposito|"},
    };
    QList<MascaraConsulta> r;
    for (const D& x : d) {
        r.append({QString::fromLatin1(x.titulo).trimmed(), QString::fromLatin1(x.tabla),
                  QString::fromLatin1(x.campos).trimmed(), QString()});
    }
    return r;
}

bool CreaArchivoConsultas(const QString& ruta) {
    // The whole records already in a real file stay first; the file is then
    // written beside and renamed over: a link there is replaced, never
    // followed, and a failure leaves the earlier file as it was.
    QByteArray contenido;
    const QFileInfo info(ruta);
    if (info.isFile() && !info.isSymLink()) {
        QFile f(ruta);
        if (!f.open(QIODevice::ReadOnly)) {
            return false;
        }
        contenido = f.readAll();
        contenido.truncate(contenido.size() / MascaraConsulta::Largo * MascaraConsulta::Largo);
    }
    for (const MascaraConsulta& m : mascarasPorDefecto()) {
        contenido += m.codifica();
    }
    try {
        ArchivoPublicado archivo(ruta);
        archivo.escribe(contenido);
        archivo.publica();
    } catch (const FalloKX&) {
        return false; // the caller says so; the definitions fall back to the defaults
    }
    return true;
}

DefinicionConsulta deriva(const MascaraConsulta& m) {
    DefinicionConsulta d;
    d.tabla = m.TablaMascara.trimmed();
    QString c =
        QlUtil::Reemplaza(m.CamposMascara, QStringLiteral("|"), QStringLiteral(",")).trimmed();
    if (c.startsWith(QLatin1Char(','))) {
        c.remove(0, 1);
    }
    if (c.endsWith(QLatin1Char(','))) {
        c.chop(1);
    }
    if (c.trimmed().isEmpty()) {
        c = QStringLiteral("*");
    }
    d.columnas = c;
    const auto coma = c.indexOf(QLatin1Char(','));
    d.campoBusqueda = coma < 0 ? QString() : c.left(coma);
    d.condicion = m.CondicionMascara.trimmed();
    return d;
}

std::optional<DefinicionConsulta> BuscaDefinicion(const QString& ruta, const QString& tabla) {
    QFile f(ruta);
    if (!f.exists()) {
        return std::nullopt;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        RegistraFalla(QStringLiteral("ConsultaSearch"), 75,
                      QStringLiteral("No se puede leer ") + ruta);
        return std::nullopt;
    }
    for (int n = 1;; ++n) {
        const QByteArray registro = f.read(MascaraConsulta::Largo);
        if (registro.isEmpty()) {
            return std::nullopt;
        }
        // A record cut short (a copy or a write that stopped midway) is damage too.
        const auto m = registro.size() == MascaraConsulta::Largo
                           ? MascaraConsulta::decodifica(registro)
                           : std::nullopt;
        if (!m) {
            RegistraFalla(QStringLiteral("ConsultaSearch"), 62,
                          ruta + QStringLiteral(" danado en el registro ") + QString::number(n) +
                              QStringLiteral(": se usan las consultas por defecto"));
            for (const MascaraConsulta& d : mascarasPorDefecto()) {
                if (mismaTabla(d, tabla)) {
                    return deriva(d);
                }
            }
            return std::nullopt;
        }
        if (mismaTabla(*m, tabla)) {
            return deriva(*m);
        }
    }
}

} // namespace ArchivoConsultas
