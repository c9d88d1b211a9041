#include "EsquemaPrueba.h"

#include "db/CapacidadesMotor.h"
#include "db/Conexion.h"
#include "schema/EsquemaSql.h"
#include "utility_library/ErrorKX.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {
QVariant textoONulo(const QString& s) {
    return s.isEmpty() ? QVariant() : QVariant(s);
}
} // namespace

EsquemaPrueba::EsquemaPrueba(DB_Dll& db) {
    if (db.gCnn && db.gCnn->abierta()) {
        db_ = db.gCnn->baseQt();
    } else {
        ADD_FAILURE() << "EsquemaPrueba: the DB_Dll connection is not open";
    }
}

EsquemaPrueba::EsquemaPrueba(const QSqlDatabase& db) : db_(db) {}

Plataforma EsquemaPrueba::plataforma() const {
    return CapacidadesMotor::de(db_).plataforma;
}

bool EsquemaPrueba::creaEsquema() {
    try {
        EsquemaSql::crea(db_);
        return true;
    } catch (const FalloKX& e) {
        ADD_FAILURE() << e.error().descripcion.toStdString();
        return false;
    }
}

CifrasDemo EsquemaPrueba::creaConDemo(const QDate& hoy) {
    try {
        return BaseDemo::crea(db_, true, hoy);
    } catch (const FalloKX& e) {
        ADD_FAILURE() << e.error().descripcion.toStdString();
        return CifrasDemo{};
    }
}

void EsquemaPrueba::configuracionDemo() {
    try {
        BaseDemo::cargaConfiguracion(db_);
    } catch (const FalloKX& e) {
        ADD_FAILURE() << e.error().descripcion.toStdString();
    }
}

QVariant EsquemaPrueba::fecha(const QDate& d) {
    return d.isValid() ? QVariant(d.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant();
}

bool EsquemaPrueba::corre(QSqlQuery& q, const QString& sql, const QVariantList& valores) {
    bool ok = q.prepare(sql);
    if (ok) {
        for (const QVariant& v : valores) {
            q.addBindValue(v);
        }
        ok = q.exec();
    }
    if (!ok) {
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
    }
    return ok;
}

bool EsquemaPrueba::ejecuta(const QString& sql, const QVariantList& valores) {
    QSqlQuery q(db_);
    return corre(q, sql, valores);
}

QVariantList EsquemaPrueba::valores(const QString& sql, const QVariantList& valores) {
    QSqlQuery q(db_);
    QVariantList r;
    if (corre(q, sql, valores)) {
        while (q.next()) {
            r << q.value(0);
        }
    }
    return r;
}

QVariant EsquemaPrueba::valor(const QString& sql, const QVariantList& valores) {
    QSqlQuery q(db_);
    return corre(q, sql, valores) && q.next() ? q.value(0) : QVariant();
}

int EsquemaPrueba::cuenta(const QString& sql, const QVariantList& valores) {
    return valor(sql, valores).toInt();
}

void EsquemaPrueba::lista(const QString& idLista, const QString& nombre, const QString& tipoLista) {
    ejecuta(
        QStringLiteral("INSERT INTO V_MA_PRECIOSCAB (IDLISTA, NOMBRE, TIPOLISTA) VALUES (?,?,?)"),
        {idLista, nombre, tipoLista});
}

void EsquemaPrueba::tipo(const QString& idTipo, const QString& descripcion) {
    ejecuta(QStringLiteral("INSERT INTO V_TA_TIPOARTICULO (IdTipo, DESCRIPCION) VALUES (?,?)"),
            {idTipo, descripcion});
}

void EsquemaPrueba::familia(const QString& idFamilia, const QString& descripcion) {
    ejecuta(QStringLiteral("INSERT INTO V_TA_FAMILIAS (IdFamilia, Descripcion) VALUES (?,?)"),
            {idFamilia, descripcion});
}

void EsquemaPrueba::articulo(const ArticuloPrueba& a) {
    ejecuta(QStringLiteral("INSERT INTO V_MA_ARTICULOS (IdArticulo, Descripcion, DescripAbrev, "
                           "CodigoBarra, Tipo, Rubro, IdFamilia, IdUnidad, Pesable, TASAIVA, "
                           "SUSPENDIDO) VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
            {a.idArticulo, a.descripcion, textoONulo(a.descripAbrev), textoONulo(a.codigoBarra),
             textoONulo(a.tipo), textoONulo(a.rubro), textoONulo(a.idFamilia),
             textoONulo(a.idUnidad), a.pesable ? 1 : 0, textoONulo(a.tasaIva),
             a.suspendido ? 1 : 0});
}

qint64 EsquemaPrueba::precio(const PrecioPrueba& p) {
    QVariantList v{p.idLista,
                   p.idArticulo,
                   p.estado,
                   p.cambioCodBarra ? 1 : 0,
                   fecha(p.fhOfertaDesde),
                   fecha(p.fhOfertaHasta),
                   p.suspendido ? 1 : 0};
    for (int i = 0; i < 8; ++i) {
        v << (i < p.precios.size() ? p.precios.at(i) : 0.0);
    }
    v << p.costo;
    if (!ejecuta(QStringLiteral("INSERT INTO V_MA_PRECIOS (IDLISTA, IdArticulo, ESTADO, "
                                "CAMBIOCODBARRA, FHOFERTADESDE, FHOFERTAHASTA, SUSPENDIDO, "
                                "precio1, precio2, precio3, precio4, precio5, precio6, precio7, "
                                "precio8, COSTO) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                 v)) {
        return -1;
    }
    return valor(QStringLiteral("SELECT MAX(ID) FROM V_MA_PRECIOS WHERE IDLISTA = ? AND "
                                "IdArticulo = ?"),
                 {p.idLista, p.idArticulo})
        .toLongLong();
}

qint64 EsquemaPrueba::filaLote(const FilaLotePrueba& f) {
    if (!ejecuta(QStringLiteral("INSERT INTO MV_TARVELO (Codigo, IdLista, Nombre, Fecha, TipoMov, "
                                "CodInterno, Descripcion, Marca, PrecioVenta, Precio, Internos, "
                                "PrecioCosto, CondIva, TipoIva, Fijo, CodBarra, Rubro, Tipo, Aux1, "
                                "Aux2, RutaArchivo, Usuario) "
                                "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                 {f.codigo,      f.idLista,     f.nombre,  fecha(f.fecha), f.tipoMov,
                  f.codInterno,  f.descripcion, f.marca,   f.precioVenta,  f.precio,
                  f.internos,    f.precioCosto, f.condIva, f.tipoIva,      f.fijo,
                  f.codBarra,    f.rubro,       f.tipo,    f.aux1,         f.aux2,
                  f.rutaArchivo, f.usuario})) {
        return -1;
    }
    return valor(QStringLiteral("SELECT MAX(ID) FROM MV_TARVELO")).toLongLong();
}

void EsquemaPrueba::configuracion(const QString& clave, const QString& valor,
                                  const QString& valorAux) {
    ejecuta(QStringLiteral("DELETE FROM TA_CONFIGURACION WHERE CLAVE = ?"), {clave});
    ejecuta(QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, valoraux, Grupo, "
                           "PoliticaNegocio) VALUES (?,?,?,?,0)"),
            {clave, valor, textoONulo(valorAux), QStringLiteral("PRUEBA")});
}

void EsquemaPrueba::usuario(const QString& nombre, bool administrador) {
    ejecuta(QStringLiteral("INSERT INTO ta_usuarios (nombre, Administrador) VALUES (?,?)"),
            {nombre, administrador ? 1 : 0});
}

void EsquemaPrueba::tarea(const QString& usuario, const QString& clave, const QString& nombre,
                          const QString& proceso) {
    if (cuenta(QStringLiteral("SELECT COUNT(*) FROM TA_MENU WHERE Clave = ?"), {clave}) == 0) {
        ejecuta(QStringLiteral("INSERT INTO TA_MENU (Clave, Nombre, Proceso) VALUES (?,?,?)"),
                {clave, nombre, proceso});
    }
    ejecuta(QStringLiteral("INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES (?,?)"),
            {usuario, clave});
}
