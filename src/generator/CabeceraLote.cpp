#include "generator/CabeceraLote.h"

#include "generator/EstadoVentana.h"
#include "generator/ReglasLote.h"
#include "utility_library/Regional.h"

namespace {
bool es(const QString& a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}
} // namespace

CabeceraLote CabeceraLote::DeVentana(const EstadoVentana& v) {
    CabeceraLote c;
    c.textoCodigo = v.campo(QStringLiteral("Codigo")).trimmed();
    c.codigo = ReglasLote::LeeCodigo(c.textoCodigo);
    c.fecha = v.campo(QStringLiteral("Fecha"));
    c.lista = v.campo(QStringLiteral("IdLista")).trimmed();
    if (v.lista() && c.Coincide(QStringLiteral("IdLista"), v.lista()->codigo)) {
        c.lista = v.lista()->codigo;
        c.nombreLista = v.lista()->nombre;
    }
    return c;
}

bool CabeceraLote::EsDeCabecera(const QString& campoDeDatos) {
    return es(campoDeDatos, "Codigo") || es(campoDeDatos, "Fecha") || es(campoDeDatos, "IdLista");
}

QString CabeceraLote::ValorDeCampo(const QString& campoDeDatos) const {
    if (es(campoDeDatos, "Codigo")) {
        return codigo ? QString::number(*codigo) : textoCodigo;
    }
    if (es(campoDeDatos, "Fecha")) {
        return fecha;
    }
    if (es(campoDeDatos, "IdLista")) {
        return lista;
    }
    return QString();
}

bool CabeceraLote::Coincide(const QString& campoDeDatos, const QString& texto) const {
    const QString t = texto.trimmed();
    if (es(campoDeDatos, "Codigo")) {
        const std::optional<qint64> n = ReglasLote::LeeCodigo(t);
        return n ? n == codigo : t == textoCodigo;
    }
    if (es(campoDeDatos, "Fecha")) {
        // The same day typed another way is the same batch date.
        const QDate a = Regional::leeFecha(t), b = Regional::leeFecha(fecha.trimmed());
        return a.isValid() && b.isValid() ? a == b : t == fecha.trimmed();
    }
    if (es(campoDeDatos, "IdLista")) {
        // Codes compare as the database compares them: case and trailing blanks aside.
        return t.compare(lista, Qt::CaseInsensitive) == 0;
    }
    return true;
}
