#include "reports/LectorLote.h"
#include "schema/TablaLote.h"

#include "db/Conexion.h"
#include "reports/DefinicionReporte.h"
#include "reports/ErroresReporte.h"
#include "utility_library/DiasSinNovedad.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace {

const QString kFuente = QStringLiteral("QlReport");

QString columnaElegida(const SeleccionReporte& s) {
    if (s.tabla.compare(QLatin1String("MV_TARVELO"), Qt::CaseInsensitive) != 0) {
        throw FalloKX(ErroresReporte::kFormulaInvalida,
                      QStringLiteral("La fórmula de selección nombra la tabla %1; este reporte "
                                     "lee MV_TARVELO.")
                          .arg(s.tabla),
                      kFuente);
    }
    // The columns a selection may name: those of the batch table.
    for (const QString& c : TablaLote::Columnas()) {
        if (c.compare(s.columna, Qt::CaseInsensitive) == 0) {
            return c;
        }
    }
    throw FalloKX(ErroresReporte::kFormulaInvalida,
                  QStringLiteral("La fórmula de selección nombra la columna %1, que MV_TARVELO "
                                 "no tiene.")
                      .arg(s.columna),
                  kFuente);
}

// The previous batch row of the same list and article: the latest one
// inserted before this row under another code.
QString consulta(const QString& columna) {
    return QStringLiteral(
               "SELECT t.ID, t.Codigo, t.IdLista, t.Nombre, t.Fecha, t.TipoMov, t.CodInterno, "
               "t.Descripcion, t.Marca, t.PrecioVenta, t.Precio, t.PrecioCosto, t.CodBarra, "
               "t.Tipo, t.RutaArchivo, t.Usuario, t.RETRANSMITIDO, p.Precio AS PrecioAnterior, "
               "p.Codigo AS LoteAnterior FROM MV_TARVELO t LEFT JOIN MV_TARVELO p ON p.ID = "
               "(SELECT MAX(q.ID) FROM MV_TARVELO q WHERE q.IdLista = t.IdLista AND "
               "q.CodInterno = t.CodInterno AND q.Codigo <> t.Codigo AND q.ID < t.ID) "
               "WHERE t.") +
           columna + QStringLiteral(" = ? ORDER BY t.ID");
}

QString texto(const QSqlQuery& q, int i) {
    const QVariant v = q.value(i);
    return v.isNull() ? QString() : v.toString();
}

QString fecha(const QVariant& v) {
    if (v.isNull()) {
        return QString();
    }
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
        return Regional::fechaCorta(v.toDate());
    }
    const QString t = v.toString().trimmed();
    const QDate iso = QDate::fromString(t.left(10), Qt::ISODate);
    return iso.isValid() ? Regional::fechaCorta(iso) : t;
}

// Runs a query on the program's own tables of a batch, row by row; nothing
// on a database whose batches never wrote them.
template <typename Fila>
void leeOpcional(Conexion& conexion, const QString& sql, const QVariant& codigo, Fila fila) {
    QSqlQuery q(conexion.baseQt());
    q.setForwardOnly(true);
    if (!q.prepare(conexion.textoMotor(sql))) {
        return;
    }
    q.addBindValue(codigo);
    if (!q.exec()) {
        return;
    }
    while (q.next()) {
        fila(q);
    }
}

// The alerts the operator accepted for the batch, by article.
QHash<QString, QStringList> alertas(Conexion& conexion, const QVariant& codigo) {
    QHash<QString, QStringList> r;
    leeOpcional(
        conexion,
        QStringLiteral("SELECT CodInterno, Motivo FROM MV_TARVELO_ALERTAS WHERE Codigo = ?"),
        codigo, [&](const QSqlQuery& q) {
            r[q.value(0).toString().trimmed()] << q.value(1).toString().trimmed();
        });
    return r;
}

// The latest recorded length and digest of each file of the batch.
QHash<QString, QString> huellas(Conexion& conexion, const QVariant& codigo) {
    QHash<QString, QString> r;
    leeOpcional(conexion,
                QStringLiteral("SELECT Archivo, Largo, Sha256 FROM MV_TARVELO_ARCHIVOS WHERE "
                               "Codigo = ? ORDER BY Generado"),
                codigo, [&](const QSqlQuery& q) {
                    r[q.value(0).toString().trimmed().toUpper()] =
                        QStringLiteral("%1 bytes, SHA-256 %2")
                            .arg(q.value(1).toLongLong())
                            .arg(q.value(2).toString().trimmed().toLower());
                });
    return r;
}

// The days without a batch the batch's pending load caught up on, as the
// window said it; empty when it caught up on none.
QString recuperacion(Conexion& conexion, const QVariant& codigo) {
    QString r;
    leeOpcional(conexion,
                QStringLiteral("SELECT RecuperaDesde, RecuperaHasta FROM MV_TARVELO_CARGAS WHERE "
                               "Codigo = ?"),
                codigo, [&](const QSqlQuery& q) {
                    const auto dia = [&](int i) {
                        return QDate::fromString(q.value(i).toString().trimmed(), Qt::ISODate);
                    };
                    r = DiasSinNovedad::aviso(dia(0), dia(1));
                });
    return r;
}

QString porcentaje(double v, const QString& separador) {
    QString t = QString::number(std::abs(v), 'f', 1).replace(QLatin1Char('.'), separador);
    return (v > 0.05    ? QStringLiteral("+")
            : v < -0.05 ? QStringLiteral("-")
                        : QString()) +
           t + QLatin1Char('%');
}

} // namespace

std::optional<qint64> LectorLote::milesimas(const QString& celda) {
    return QlUtil::Milesimas(celda);
}

QString LectorLote::importe(qint64 milesimas, int decimales, const QString& separador) {
    return QlUtil::TextoMilesimas(milesimas, decimales, separador);
}

DatosReporte LectorLote::lee(Conexion& conexion, const SeleccionReporte& seleccion,
                             const DefinicionReporte& def,
                             const QHash<QString, QString>& formulas) {
    const QString columna = columnaElegida(seleccion);
    if (!conexion.abierta()) {
        throw FalloKX(ErroresReporte::kSinConexion,
                      QStringLiteral("No hay conexión con la base de datos para el reporte."),
                      kFuente);
    }
    QSqlQuery q(conexion.baseQt());
    q.setForwardOnly(true);
    if (!q.prepare(conexion.textoMotor(consulta(columna)))) {
        throw FalloKX(ErroresReporte::kLectura,
                      QStringLiteral("No se pudieron leer las filas del reporte: %1")
                          .arg(q.lastError().text()),
                      kFuente);
    }
    q.addBindValue(seleccion.valor);
    if (!q.exec()) {
        throw FalloKX(ErroresReporte::kLectura,
                      QStringLiteral("No se pudieron leer las filas del reporte: %1")
                          .arg(q.lastError().text()),
                      kFuente);
    }

    DatosReporte d;
    const QString& sep = def.separadorDecimal;
    int balanza = 0;
    int avisos = 0;
    QString retransmitido;
    while (q.next()) {
        if (d.filas.isEmpty()) {
            d.fija(CampoReporte::Codigo, texto(q, 1).trimmed());
            d.fija(CampoReporte::IdLista, texto(q, 2).trimmed());
            d.fija(CampoReporte::Lista, texto(q, 3).trimmed());
            d.fija(CampoReporte::Fecha, fecha(q.value(4)));
            d.fija(CampoReporte::RutaArchivo, texto(q, 14).trimmed());
            d.fija(CampoReporte::Usuario, texto(q, 15).trimmed());
        }
        const QString r = texto(q, 16).trimmed();
        if (!r.isEmpty()) {
            retransmitido = r;
        }
        FilaReporte f;
        auto& v = f.valores;
        v[int(CampoReporte::Numero)] = QString::number(d.filas.size() + 1);
        v[int(CampoReporte::TipoMov)] = texto(q, 5).trimmed();
        const QString codInterno = texto(q, 6);
        v[int(CampoReporte::CodInterno)] = codInterno.trimmed();
        v[int(CampoReporte::Descripcion)] = texto(q, 7).trimmed();
        v[int(CampoReporte::Marca)] = texto(q, 8).trimmed();
        const auto aImporte = [&](const QString& celda) {
            const auto m = milesimas(celda);
            return m ? importe(*m, def.decimales, sep) : celda.trimmed();
        };
        v[int(CampoReporte::PrecioVenta)] = aImporte(texto(q, 9));
        const QString precio = texto(q, 10);
        v[int(CampoReporte::Precio)] = aImporte(precio);
        v[int(CampoReporte::PrecioCosto)] = aImporte(texto(q, 11));
        v[int(CampoReporte::CodBarra)] = texto(q, 12).trimmed();
        v[int(CampoReporte::Pesable)] =
            texto(q, 13).trimmed().compare(QLatin1String("I"), Qt::CaseInsensitive) == 0
                ? QStringLiteral("Sí")
                : QStringLiteral("No");
        const bool hayAnterior = !q.value(17).isNull();
        if (hayAnterior) {
            v[int(CampoReporte::PrecioAnterior)] = aImporte(texto(q, 17));
            v[int(CampoReporte::LoteAnterior)] = texto(q, 18).trimmed();
        }

        const auto nuevo = milesimas(precio);
        const auto anterior = milesimas(hayAnterior ? texto(q, 17) : QString());
        QString aviso;
        if (!nuevo) {
            aviso = QStringLiteral("SIN PRECIO");
        } else if (nuevo.value() == 0) {
            aviso = QStringLiteral("PRECIO CERO");
        }
        const qint64 n = nuevo.value_or(0);
        const qint64 a = anterior.value_or(0);
        if (nuevo && anterior && a != 0) {
            const double cambio = double(n - a) * 100.0 / double(a);
            v[int(CampoReporte::Variacion)] = porcentaje(cambio, sep);
            if (std::abs(cambio) > def.limiteVariacion && aviso.isEmpty()) {
                aviso = QStringLiteral("CAMBIO > %1%")
                            .arg(QString::number(def.limiteVariacion, 'g', 6)
                                     .replace(QLatin1Char('.'), sep));
            }
        } else if (nuevo && anterior && n == 0) {
            v[int(CampoReporte::Variacion)] = porcentaje(0, sep);
        }
        v[int(CampoReporte::Aviso)] = aviso;
        f.marcada = !aviso.isEmpty();
        // The same rule as the scale file: a code below 10000 gets a scale record.
        if (QlUtil::TextoAMoneda(codInterno) < 10000) {
            ++balanza;
        }
        d.filas.push_back(std::move(f));
    }
    // The alerts accepted at generation say why better than the price
    // change alone: they replace the row's own mark.
    if (!d.filas.isEmpty()) {
        const QVariant codigo = d.valor(CampoReporte::Codigo).toLongLong();
        const QHash<QString, QStringList> aceptadas = alertas(conexion, codigo);
        for (FilaReporte& f : d.filas) {
            const auto a = aceptadas.constFind(f.valores[int(CampoReporte::CodInterno)]);
            if (a != aceptadas.constEnd()) {
                f.valores[int(CampoReporte::Aviso)] = a->join(QStringLiteral("; "));
                f.marcada = true;
            }
            avisos += f.marcada ? 1 : 0;
        }
        const QHash<QString, QString> h = huellas(conexion, codigo);
        d.fija(CampoReporte::HuellaCambios, h.value(QStringLiteral("CAMBIOS.TXT")));
        d.fija(CampoReporte::HuellaBalanza, h.value(QStringLiteral("BALANZA.TXT")));
        d.fija(CampoReporte::Recuperacion, recuperacion(conexion, codigo));
    }
    if (d.filas.isEmpty()) {
        throw FalloKX(ErroresReporte::kSinFilas,
                      QStringLiteral("No hay filas en MV_TARVELO con %1 = %2: no se imprime nada.")
                          .arg(columna, seleccion.valor.toString()),
                      kFuente);
    }
    d.fija(CampoReporte::Titulo, def.titulo);
    d.fija(CampoReporte::Empresa, formulas.value(QStringLiteral("empresa")).trimmed());
    d.fija(CampoReporte::Retransmitido, retransmitido);
    const QDateTime ahora = Reloj::ahora();
    d.fija(CampoReporte::Impreso, Regional::fechaCorta(ahora.date()) + QLatin1Char(' ') +
                                      ahora.time().toString(QStringLiteral("HH:mm")));
    d.fija(CampoReporte::Filas, QString::number(d.filas.size()));
    d.fija(CampoReporte::RegistrosBalanza, QString::number(balanza));
    d.fija(CampoReporte::Avisos, QString::number(avisos));
    return d;
}
