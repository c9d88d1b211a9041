#include "runtime/LBM_Common.h"

#include "utility_library/Cp1252.h"
#include "db/DB_Dll.h"
#include "runtime/ModGlobal.h"
#include "utility_library/Operador.h"
#include "utility_library/Pasos.h"
#include "utility_library/Programa.h"
#include "utility_library/QlUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>

namespace LBM_Common {
namespace {
// The statement under construction: (column, literal) pairs in order.
QList<QPair<QString, QString>> gCamposPendientes;
QString gRutaBases;
} // namespace

QString FormatoFechaHora() {
    return QStringLiteral("dd/mm/yy hh:mm");
}
QString FormatoFecha() {
    return QStringLiteral("dd/mm/yy");
}
QString FormatoHora() {
    return QStringLiteral("hh:mm");
}

QString AplicaFormato(const QDateTime& cuando, const QString& patron) {
    // The suite's patterns read "mm" as minutes right after an hour; Qt needs
    // them spelled apart.
    QString qt;
    bool trasHora = false;
    for (int i = 0; i < patron.size();) {
        auto empieza = [&](const char* t) {
            return patron.mid(i, int(qstrlen(t))).compare(QLatin1String(t), Qt::CaseInsensitive) ==
                   0;
        };
        if (empieza("yyyy")) {
            qt += QStringLiteral("yyyy");
            i += 4;
            trasHora = false;
        } else if (empieza("yy")) {
            qt += QStringLiteral("yy");
            i += 2;
            trasHora = false;
        } else if (empieza("dd")) {
            qt += QStringLiteral("dd");
            i += 2;
            trasHora = false;
        } else if (empieza("hh")) {
            qt += QStringLiteral("HH");
            i += 2;
            trasHora = true;
        } else if (empieza("nn")) {
            qt += QStringLiteral("mm");
            i += 2;
            trasHora = false;
        } else if (empieza("mm")) {
            qt += trasHora ? QStringLiteral("mm") : QStringLiteral("MM");
            i += 2;
            trasHora = false;
        } else if (empieza("ss")) {
            qt += QStringLiteral("ss");
            i += 2;
            trasHora = false;
        } else {
            const QChar c = patron.at(i);
            if (c.isLetter()) {
                qt += QLatin1Char('\'') + c + QLatin1Char('\'');
            } else {
                qt += c;
            }
            ++i;
        }
    }
    return cuando.toString(qt);
}

bool ExisteArchivo(const QString& ruta) {
    QString r = ruta;
    r.remove(QLatin1Char('"'));
    if (r.trimmed().isEmpty()) {
        return false;
    }
    r = QDir::fromNativeSeparators(r);
#ifndef Q_OS_WIN
    r.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    if (!QFileInfo(r).isFile()) {
        return false;
    }
    QFile f(r);
    const bool ok = f.open(QIODevice::ReadOnly);
    f.close();
    return ok;
}

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
        return ModGlobal::MuestraErrorOperador(e, 18, QStringLiteral("GActualizarDatoScript"));
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

QString RutaBases() {
    if (gRutaBases.trimmed().isEmpty()) {
        return QlUtil::AgregaBarra(Programa::carpeta()) + QStringLiteral("BASES.TXT");
    }
    return gRutaBases;
}

void FijaRutaBases(const QString& ruta) {
    gRutaBases = ruta;
}

namespace {
// One field of "BASES.TXT": a comma inside would shift every later record,
// so such a field goes between double quotes, as the reader accepts it.
QString campoBases(QString texto) {
    texto.remove(QLatin1Char('\r'));
    texto.remove(QLatin1Char('\n'));
    texto.remove(QLatin1Char('"'));
    texto = texto.trimmed();
    if (texto.contains(QLatin1Char(','))) {
        texto = QLatin1Char('"') + texto + QLatin1Char('"');
    }
    return texto;
}
} // namespace

bool RegistraBase(const QString& nombre, const QString& baseDatos, const QString& usuario,
                  const QString& password, const QString& servidor) {
    const QString ruta = RutaBases();
    const QString clave = QlUtil::Encripta(password);
    const QString linea = campoBases(nombre) + QLatin1Char(',') + campoBases(baseDatos) +
                          QLatin1Char(',') + campoBases(usuario) + QLatin1Char(',') +
                          campoBases(clave) + QLatin1Char(',') + campoBases(servidor);
    QFile f(ruta);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Append)) {
        return false;
    }
    QByteArray bytes = Cp1252::codifica(linea) + QByteArrayLiteral("\r\n");
    // A hand-edited file may lack its last line end: the new line must not
    // glue itself to the last registered connection.
    if (f.size() > 0 && f.seek(f.size() - 1) && f.peek(1) != QByteArrayLiteral("\n")) {
        bytes.prepend(QByteArrayLiteral("\r\n"));
    }
    const bool ok = f.write(bytes) == bytes.size();
    f.close();
    return ok;
}

} // namespace LBM_Common
