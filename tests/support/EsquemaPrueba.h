#pragma once

// The suite's schema, and optionally the demo data, in a test database, plus
// small helpers that insert rows by the suite's object and column names.
//
//   class MiPrueba : public PruebaPorMotor {};
//   TEST_P(MiPrueba, Algo) {
//       EsquemaPrueba e;                          // on DB_Dll::instancia()'s connection
//       e.creaEsquema();                          // or e.creaConDemo(QDate(2026, 12, 10))
//       e.lista("7", "LISTA DE PRUEBA");
//       e.articulo({.idArticulo = "001234", .descripcion = "QUESO CREMOSO", .idUnidad = "KG",
//                   .pesable = true});
//       const qint64 id = e.precio({.idLista = "7", .idArticulo = "001234", .estado = "0-M",
//                                   .precios = {1250.5}});
//       e.configuracion("ClasePrecioVenta", "1");
//       ...
//   }
//
// Designated initialisers must follow the order of the members below.
// Every helper fails the test (ADD_FAILURE) when its statement fails.

#include "db/DB_Dll.h"
#include "demo/BaseDemo.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// One row of V_MA_ARTICULOS. Empty texts of the optional columns are stored as NULL.
struct ArticuloPrueba {
    QString idArticulo{};
    QString descripcion{};
    QString descripAbrev{};
    QString codigoBarra{};
    QString tipo{}; // IdTipo of V_TA_TIPOARTICULO
    QString rubro{};
    QString idFamilia{};
    QString idUnidad = QStringLiteral("UN");
    bool pesable = false;
    QString tasaIva = QStringLiteral("21");
    bool suspendido = false;
};

// One row of V_MA_PRECIOS. precios[0] is precio1 ... precios[7] precio8 (missing ones 0).
struct PrecioPrueba {
    QString idLista{};
    QString idArticulo{};
    QString estado = QStringLiteral("0-M");
    bool cambioCodBarra = false;
    QDate fhOfertaDesde{};
    QDate fhOfertaHasta{};
    bool suspendido = false;
    QList<double> precios{};
    double costo = 0;
};

// One row of MV_TARVELO as the generation writes it (texts stored unchanged).
struct FilaLotePrueba {
    int codigo = 1;
    QString idLista{};
    QString nombre{};
    QDate fecha{};
    QString tipoMov = QStringLiteral("M");
    QString codInterno{};
    QString descripcion{};
    QString marca{};
    QString precioVenta{};
    QString precio{};
    QString internos = QStringLiteral("000000000");
    QString precioCosto = QStringLiteral("000000000");
    QString condIva = QStringLiteral("S");
    QString tipoIva = QStringLiteral("0");
    QString fijo = QStringLiteral("SS");
    QString codBarra{};
    QString rubro = QStringLiteral("99");
    QString tipo = QStringLiteral(" ");
    QString aux1 = QStringLiteral("000000000");
    QString aux2 = QStringLiteral("000000");
    QString rutaArchivo{};
    QString usuario = QStringLiteral("OPERADOR");
};

class EsquemaPrueba {
public:
    // Works on the connection of an open DB_Dll (the test fixture's instance by default).
    explicit EsquemaPrueba(DB_Dll& db = DB_Dll::instancia());
    // Works on a Qt connection of its own (SQLite: call RegistraKXSqlite on it first).
    explicit EsquemaPrueba(const QSqlDatabase& db);

    QSqlDatabase conexion() const { return db_; }
    Plataforma plataforma() const;

    // The schema of the engine; true when it was created.
    bool creaEsquema();
    // Schema plus the demo data placed around `hoy` (null: Reloj::hoy()).
    CifrasDemo creaConDemo(const QDate& hoy = QDate());
    // Only the demo's configuration keys (schema must exist).
    void configuracionDemo();

    void lista(const QString& idLista, const QString& nombre,
               const QString& tipoLista = QStringLiteral("V"));
    void tipo(const QString& idTipo, const QString& descripcion);
    void familia(const QString& idFamilia, const QString& descripcion);
    void articulo(const ArticuloPrueba& a);
    // Returns the new row's ID.
    qint64 precio(const PrecioPrueba& p);
    // Returns the new row's ID.
    qint64 filaLote(const FilaLotePrueba& f);
    // Sets a key of TA_CONFIGURACION (replacing an earlier value).
    void configuracion(const QString& clave, const QString& valor,
                       const QString& valorAux = QString());
    void usuario(const QString& nombre, bool administrador);
    // TA_MENU entry with its process text, granted to `usuario` in TA_TAREAS.
    void tarea(const QString& usuario, const QString& clave, const QString& nombre,
               const QString& proceso);

    // Runs a statement of this engine's own SQL (no rewriting).
    bool ejecuta(const QString& sql, const QVariantList& valores = {});
    // The first column of the first row (invalid QVariant when there is none).
    QVariant valor(const QString& sql, const QVariantList& valores = {});
    // The first column of every row, in order.
    QVariantList valores(const QString& sql, const QVariantList& valores = {});
    int cuenta(const QString& sql, const QVariantList& valores = {});

    // A date as this engine's schema stores it, for values bound to statements.
    static QVariant fecha(const QDate& d);

private:
    // Prepares `sql`, binds `valores` and runs it; a failure fails the test.
    bool corre(QSqlQuery& q, const QString& sql, const QVariantList& valores);
    QSqlDatabase db_;
};
