#include "runtime/ScriptSql.h"

#include "db/DB_Dll.h"
#include "runtime/ErroresOperador.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"

#include <QList>
#include <QPair>

namespace LBM_Common {
namespace {
// The statement under construction: (column, literal) pairs in order.
QList<QPair<QString, QString>> gCamposPendientes;
} // namespace

void CargaCampoSQL(const QString& campo, QString& valor, const QString& marca, bool primero) {
    if (primero) {
        gCamposPendientes.clear();
    }
    valor.remove(QLatin1Char('\''));
    QString literal;
    if (valor.toUpper() == QLatin1String("NULL")) {
        literal = QStringLiteral("Null");
    } else {
        literal = DB_Dll::instancia().SQLValue(valor, marca);
    }
    gCamposPendientes.append(qMakePair(campo, literal));
}

void ArmaSentenciaSQL(QStringList& sentencias, const QString& tabla) {
    QStringList columnas, literales;
    for (const auto& p : gCamposPendientes) {
        columnas << p.first;
        literales << p.second;
    }
    sentencias << QStringLiteral("INSERT INTO ") + tabla + QStringLiteral(" (") +
                      columnas.join(QLatin1Char(',')) + QStringLiteral(") VALUES (") +
                      literales.join(QLatin1Char(',')) + QStringLiteral(")");
    sentencias << QString();
    gCamposPendientes.clear();
}

int CamposPendientes() {
    return int(gCamposPendientes.size());
}

void GActualizarDatoScript(const QStringList& sentencias, bool& fallo, qint32& numeroError,
                           QString& script, QString& textoError, bool muestraMensaje) {
    DB_Dll& db = DB_Dll::instancia();
    const QString CR = QStringLiteral("\r");
    qint32 numero = 0;
    bool vacio = false;
    Pasos pasos([](const ErrorKX& e) {
        return ModGlobal::MuestraErrorOperador(e, Operador::ErrorConReintento,
                                               QStringLiteral("GActualizarDatoScript"));
    });
    auto errores = [&]() -> QList<ErrorADO> {
        return db.gCnn ? db.gCnn->Errors : QList<ErrorADO>();
    };
    auto limpiaErrores = [&] {
        if (db.gCnn) {
            db.gCnn->Errors.clear();
        }
    };
    const bool completo = pasos.pasos({
        [&] {
            fallo = false;
            script.clear();
            textoError.clear();
        },
        [&] {
            for (const QString& s : sentencias) {
                if (!s.trimmed().isEmpty()) {
                    script += CR + s;
                }
            }
            vacio = script.isEmpty();
        },
        [&] {
            if (vacio) {
                return;
            }
            script = QStringLiteral("BEGIN TRANSACTION ") + CR + CR + script + CR;
            // Only what this script reports may decide its fate: an entry left
            // over from an earlier operation must not roll it back.
            limpiaErrores();
            QString texto = script;
            db.EjecutaConsultaSQL(texto);
        },
        [&] {
            if (vacio) {
                return;
            }
            const QList<ErrorADO> lista = errores();
            if (!lista.isEmpty()) {
                numero = lista.first().nativo;
                fallo = true;
                const int lineas = lista.size() == 1 ? 1 : int(lista.size()) - 1;
                for (int i = 0; i < lineas; ++i) {
                    textoError += QString::number(lista.at(i).nativo) + QStringLiteral(" : ") +
                                  lista.at(i).descripcion + QStringLiteral("\r\n");
                }
                limpiaErrores();
                QString rollback = QStringLiteral("ROLLBACK TRANSACTION");
                db.EjecutaConsultaSQL(rollback);
                ModGlobal::GrabaErrorAux(script, Programa::nombreEjecutable(), numero, textoError);
                if (!textoError.trimmed().isEmpty() && muestraMensaje) {
                    operador().MsgBox(textoError, Operador::SoloAceptar | Operador::IconoCritico,
                                      QStringLiteral("Aviso al Operador!"));
                }
            } else {
                QString commit = QStringLiteral("COMMIT TRANSACTION");
                db.EjecutaConsultaSQL(commit);
            }
        },
    });
    if (completo) {
        numeroError = numero;
    }
}

} // namespace LBM_Common
