#include "runtime/Configuracion.h"
#include "utility_library/Operador.h"

#include "db/DB_Dll.h"
#include "runtime/ErroresOperador.h"
#include "runtime/ValoresGlobales.h"
#include "utility_library/Booleano.h"
#include "utility_library/Pasos.h"
#include "utility_library/QlTexto.h"

#include <climits>
#include <cmath>

namespace ModGlobal {
namespace {

// One key of the configuration table on the given connection. A missing key
// reads as a single blank, so that callers can tell it from an empty value.
QString leeClave(DB_Dll& db, const QString& Clave, QString* ValorAux, const QString& rutina) {
    if (gTablaCfg.trimmed().isEmpty()) {
        gTablaCfg = QStringLiteral("TA_CONFIGURACION");
    }
    QString sql = QStringLiteral("SELECT VALOR, valoraux FROM ") + gTablaCfg +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + Clave.trimmed() +
                  QStringLiteral("'");
    QString resultado, aux;
    Recordset rs;
    bool sinResultado = false;
    Pasos pasos([&](const ErrorKX& e) {
        return MuestraErrorOperador(e, Operador::ErrorConReintento, rutina);
    });
    const bool completo = pasos.pasos({
        [&] { db.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); },
        [&] {
            // The query layer has already reported a query it could not open;
            // one failure gives one dialog.
            if (!rs.abierto()) {
                sinResultado = true;
                return;
            }
            if (rs.Eof()) {
                resultado = QStringLiteral(" ");
                aux.clear();
            } else {
                resultado = QlUtil::NoNulo(rs.Campo(QStringLiteral("VALOR")));
                aux = QlUtil::NoNulo(rs.Campo(QStringLiteral("ValorAux")));
            }
        },
        [&] { db.CierraRecordset(rs); },
    });
    if (!completo || sinResultado) {
        try {
            rs.Cierra();
        } catch (...) {
            // A result set that failed to open has nothing to release.
        }
        if (ValorAux) {
            ValorAux->clear();
        }
        return QString();
    }
    if (ValorAux) {
        *ValorAux = aux;
    }
    return resultado;
}

} // namespace

QString Cfg(const QString& Clave, QString* ValorAux) {
    DB_Dll& db = DB_Dll::instancia();
    if (!db.gOpenFlag) {
        if (ValorAux) {
            ValorAux->clear();
        }
        return QString();
    }
    return leeClave(db, Clave, ValorAux, QStringLiteral("Cfg"));
}

QString CfgKX(const QString& Clave, QString* ValorAux) {
    if (!gDBEstadisticas) {
        if (ValorAux) {
            ValorAux->clear();
        }
        return QString();
    }
    return leeClave(*gDBEstadisticas, Clave, ValorAux, QStringLiteral("CfgKX"));
}

void GrabaCfgKX(const QString& Clave, const QString& Valor, const QString& ValorAux,
                bool PoliticaNegocio, const QString& Grupo, bool TrimValor) {
    if (!gDBEstadisticas) {
        return;
    }
    DB_Dll& db = *gDBEstadisticas;
    if (gTablaCfg.trimmed().isEmpty()) {
        gTablaCfg = QStringLiteral("TA_CONFIGURACION");
    }
    QString sql = QStringLiteral("SELECT * FROM ") + gTablaCfg +
                  QStringLiteral(" with(nolock)  WHERE CLAVE = '") + Clave + QStringLiteral("'");
    Recordset rs;
    Intenta([&] { db.AbrirRecordset(sql, rs, nullptr, 2, 3, -1, true); });
    Intenta([&] {
        if (rs.Eof()) {
            rs.AddNew();
        } else {
            rs.MoveFirst();
        }
    });
    Intenta([&] { rs.FijaCampo(QStringLiteral("Grupo"), QlUtil::NoNulo(Grupo)); });
    Intenta(
        [&] { rs.FijaCampo(QStringLiteral("Clave"), QlUtil::NoNulo(Clave.trimmed().toUpper())); });
    Intenta([&] {
        rs.FijaCampo(QStringLiteral("Valor"), QlUtil::NoNulo(TrimValor ? Valor.trimmed() : Valor));
    });
    Q_UNUSED(ValorAux); // the suite's writer never stores it
    Intenta([&] {
        // Stored as the suite's bit: 1 or 0.
        rs.FijaCampo(QStringLiteral("PoliticaNegocio"), PoliticaNegocio ? 1 : 0);
    });
    Intenta([&] { rs.Update(); });
    Intenta([&] { db.CierraRecordset(rs); });
}

bool TextoABooleano(const QString& Texto, bool PorDefectoVerdadero) {
    // Every caller asks for true as the default.
    return ::TextoABooleano(Texto, PorDefectoVerdadero);
}

quint32 ColorDeTexto(const QString& texto, quint32 actual) {
    const double v = std::nearbyint(QlUtil::TextoAMoneda(texto));
    if (v < double(INT_MIN) || v > double(INT_MAX)) {
        return actual; // does not fit the colour: the value stays as it was
    }
    const qint32 n = qint32(v);
    return n == 0 ? 0xFFFF00u : quint32(n);
}

void CargaConfiguracion(const QString& CarpetaPrograma) {
    Q_UNUSED(CarpetaPrograma);
    DB_Dll& db = DB_Dll::instancia();
    Intenta([&] { gTablaCfg = QStringLiteral("ta_configuracion"); });
    Intenta([&] {
        db.gConfidencialidad = Cfg(QStringLiteral("SS_CONFIDENCIALIDAD"))
                                   .compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
    });
    Intenta([&] { gUnidadKG = Cfg(QStringLiteral("UNIDADDEMEDIDA_KG")).trimmed(); });
    Intenta([&] { gColorFondo = ColorDeTexto(Cfg(QStringLiteral("CFondo")), gColorFondo); });
}

} // namespace ModGlobal
