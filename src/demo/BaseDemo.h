#pragma once

#include "db/Plataforma.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

// What a demo load put into the database.
struct CifrasDemo {
    int listas = 0;
    int articulos = 0;
    int filasPrecio = 0;
    // Active price rows of the sales lists in '0-C' or '0-M'.
    int pendientes = 0;
    int filasLote = 0; // rows of the earlier batch in MV_TARVELO
};

// A large sales list for the benchmark: `filas` articles, each with one
// pending price row on the list.
struct OpcionesMasivo {
    int filas = 100000;
    QString idLista = QStringLiteral("M1");
    QString nombreLista = QStringLiteral("LISTA MASIVA DE PRUEBA");
    // Article codes are this number and the following ones, six digits at least;
    // the default stays clear of the demo's codes. Codes below 10000 get scale
    // records, so a start of 1 exercises BALANZA.TXT too.
    int codigoInicial = 100001;
    QDate hoy; // null: Reloj::hoy()
};

// A database a newcomer can try at once, and the data the tests build on.
// Everything goes through the suite's object and column names.
class BaseDemo {
public:
    // Fixed facts of the demo data set.
    static inline const QString kListaVenta = QStringLiteral("1");
    static inline const QString kListaMayorista = QStringLiteral("2");
    static inline const QString kListaCompra = QStringLiteral("C1");
    static inline const QString kUsuarioAdmin = QStringLiteral("DEMO");
    static inline const QString kUsuarioComun = QStringLiteral("VENTAS");
    static inline const QString kUnidadKg = QStringLiteral("KG");
    static inline const int kCodigoLoteAnterior = 1;

    // Creates the schema (EsquemaSql::crea) and, when asked, the demo data.
    static CifrasDemo crea(QSqlDatabase db, bool conDemo, const QDate& hoy = QDate());

    // Fills an empty schema with the demo data, offers and pending changes
    // placed around `hoy` (null: Reloj::hoy()). Deterministic: the same day
    // gives the same rows. One transaction; throws FalloKX (nothing is kept).
    static CifrasDemo cargaDemo(QSqlDatabase db, const QDate& hoy = QDate());

    // The configuration keys of the demo (also written by cargaDemo).
    static void cargaConfiguracion(QSqlDatabase db);

    // Adds the bulk list to a database with the schema (demo data optional).
    // One transaction, prepared multi-row inserts; throws FalloKX.
    static void generaMasivo(QSqlDatabase db, const OpcionesMasivo& opciones = OpcionesMasivo());
};
