#include "generator/ReglasLote.h"
#include "OperadorGuion.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/FilaOrigen.h"
#include "generator/LoteNovedades.h"
#include "generator/RepositorioLote.h"
#include "progress/CartelSilencioso.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/Reloj.h"

#include <QMap>
#include <gtest/gtest.h>

namespace {

const QDate kHoy(2026, 3, 10);
const QDate kManana = kHoy.addDays(1);

TEST(ReglasLote, PrecioAplicable) {
    using P = ReglasLote::Precio;
    struct Caso {
        const char* nombre;
        double sugerido;
        bool fechas;
        QDate desde, hasta;
        bool manual;
        P esperado;
    };
    const Caso casos[] = {
        {"sugerido positivo gana", 5, true, kManana, kManana, false, P::Sugerido},
        {"sin fechas de oferta", 0, false, {}, {}, false, P::Venta},
        {"oferta que empieza mañana", 0, true, kManana, kManana, false, P::Oferta},
        {"empieza mañana, manual", 0, true, kManana, kHoy, true, P::Oferta},
        {"empieza mañana pero ya terminó", 0, true, kManana, kHoy.addDays(-1), false, P::Venta},
        {"vigente pasado hoy, pendientes", 0, true, kHoy.addDays(-3), kManana, false, P::Oferta},
        {"vigente pasado hoy, manual", 0, true, kHoy.addDays(-3), kManana, true, P::Venta},
        {"termina hoy", 0, true, kHoy.addDays(-3), kHoy, false, P::Venta},
        {"sugerido negativo no cuenta", -1, false, {}, {}, false, P::Venta},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(
            ReglasLote::PrecioAplicable(c.sugerido, c.fechas, c.desde, c.hasta, kHoy, c.manual),
            c.esperado)
            << c.nombre;
    }
}

TEST(ReglasLote, DecideOfertaYMarca) {
    using O = ReglasLote::Oferta;
    struct Caso {
        const char* nombre;
        QDate desde, hasta;
        O esperado;
    };
    const Caso casos[] = {
        {"sin oferta", {}, {}, O::SinOferta},
        {"empieza pasado mañana", kManana.addDays(1), kManana.addDays(9), O::NoVence},
        {"empieza mañana", kManana, kManana.addDays(9), O::Vigente},
        {"corriendo, sin fin", kHoy.addDays(-5), {}, O::Vigente},
        {"termina hoy", kHoy.addDays(-5), kHoy, O::Termina},
        {"terminó ayer", kHoy.addDays(-5), kHoy.addDays(-1), O::Termina},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(ReglasLote::DecideOferta(c.desde, c.hasta, kHoy, kManana), c.esperado)
            << c.nombre;
    }
    struct Marca {
        const char *celda, *lista;
        bool marca;
    };
    const Marca marcas[] = {{"0", "1", true},     {"1", "1", false},  {"0", "A3", false},
                            {"0", " a3 ", false}, {"0", "A30", true}, {"", "1", false}};
    for (const Marca& m : marcas) {
        EXPECT_EQ(ReglasLote::DebeMarcar(m.celda, m.lista), m.marca) << m.celda << "|" << m.lista;
    }
}

// The days a pending load takes offers for, by the list's last recorded day.
// Today is 10/03: a day recorded before yesterday (09/03) opens the days in
// between, at most the bound back; otherwise the load is today's exactly.
TEST(ReglasLote, VentanaDeCarga) {
    struct Caso {
        const char* nombre;
        std::optional<QDate> ultimo;
        int limite;
        bool recuperar;
        // Offer starts and ends taken, days caught up (null: none), days left out.
        QDate inicioDesde, finDesde, recuperaDesde;
        int fuera;
    };
    const QDate d = kHoy;
    const Caso casos[] = {
        {"sin día registrado", std::nullopt, 31, true, kManana, kHoy, {}, 0},
        {"ayer", d.addDays(-1), 31, true, kManana, kHoy, {}, 0},
        {"hoy mismo (segundo lote)", d, 31, true, kManana, kHoy, {}, 0},
        {"un día futuro (reloj atrasado)", d.addDays(3), 31, true, kManana, kHoy, {}, 0},
        {"hueco de dos días", d.addDays(-3), 31, true, d.addDays(-1), d.addDays(-2), d.addDays(-2),
         0},
        {"hueco de cinco días", d.addDays(-6), 31, true, d.addDays(-4), d.addDays(-5),
         d.addDays(-5), 0},
        {"hueco igual al límite", d.addDays(-4), 3, true, d.addDays(-2), d.addDays(-3),
         d.addDays(-3), 0},
        {"hueco más largo que el límite", d.addDays(-40), 3, true, d.addDays(-2), d.addDays(-3),
         d.addDays(-3), 36},
        {"--sin-recuperar", d.addDays(-6), 31, false, kManana, kHoy, {}, 0},
        {"límite cero: nunca", d.addDays(-6), 0, true, kManana, kHoy, {}, 0},
    };
    for (const Caso& c : casos) {
        const VentanaCarga v = ReglasLote::VentanaDeCarga(kHoy, c.ultimo, c.limite, c.recuperar);
        EXPECT_EQ(v.hoy, kHoy) << c.nombre;
        EXPECT_EQ(v.inicioDesde, c.inicioDesde) << c.nombre;
        EXPECT_EQ(v.inicioHasta, kManana) << c.nombre;
        EXPECT_EQ(v.finDesde, c.finDesde) << c.nombre;
        EXPECT_EQ(v.finHasta, kHoy) << c.nombre;
        EXPECT_EQ(v.recupera(), c.recuperaDesde.isValid()) << c.nombre;
        EXPECT_EQ(v.recuperaDesde, c.recuperaDesde) << c.nombre;
        EXPECT_EQ(v.recuperaHasta, c.recuperaDesde.isValid() ? kHoy.addDays(-1) : QDate())
            << c.nombre;
        EXPECT_EQ(v.diasFueraDeLimite, c.fuera) << c.nombre;
    }
}

TEST(ReglasLote, LeeDias) {
    const QPair<const char*, int> casos[] = {
        {"31", 31},  {" 7 ", 7},  {"0", 0},
        {"", 31},    {" ", 31},   {"-3", 31},
        {"2,5", 31}, {"abc", 31}, {"99999999999", 36525},
    };
    for (const auto& [texto, dias] : casos) {
        EXPECT_EQ(ReglasLote::LeeDias(texto, 31), dias) << texto;
    }
}

// The loaders' row loop on a repository of plain rows: no database at all.
class FilaFija : public FilaOrigen {
public:
    QMap<QString, QVariant> campos;
    QVariant Campo(const QString& nombre) const override {
        const auto it = campos.constFind(nombre.toUpper());
        if (it == campos.constEnd()) {
            throw FalloKX(3265, nombre);
        }
        return *it;
    }
};

class CursorFijo : public CursorOrigen {
public:
    explicit CursorFijo(QList<FilaFija> filas) : filas_(std::move(filas)) {}
    int total() const override { return int(filas_.size()); }
    bool hay() const override { return i_ < filas_.size(); }
    void siguiente() override { ++i_; }
    const FilaOrigen& fila() const override { return filas_[i_]; }

private:
    QList<FilaFija> filas_;
    qsizetype i_ = 0;
};

class RepositorioFijo : public RepositorioLote {
public:
    QList<FilaFija> pendientes;
    std::unique_ptr<CursorOrigen> Pendientes(const QString&, const QDate&, const QDate&) override {
        return std::make_unique<CursorFijo>(pendientes);
    }
    std::unique_ptr<CursorOrigen> Manual(const QString&, const RangoManual&) override {
        return std::make_unique<CursorFijo>(pendientes);
    }
    std::optional<ArticuloLote> DatosArticulo(const QString&) override {
        return ArticuloLote{"21", "7790000000017", "0", "ABREV", "LARGA"};
    }
    QString DescripcionTipo(const QString& tipo) override { return "MARCA " + tipo.trimmed(); }
    std::optional<QString> UltimoPrecioTransmitido(const QString&, const QString&) override {
        return QStringLiteral("000200000");
    }
    bool Busca(const QString&, Articulo&) override { return false; }
    qint64 MaximoCodigo() const override { return 1000; }
    qint64 ProximoCodigo() override { return 1; }
    bool ExisteLote(qint64) override { return false; }
    std::unique_ptr<CursorOrigen> Lote(qint64) override { return nullptr; }
    void IniciaGeneracion() override {}
    bool GrabaFila(qint64, const FilaAGrabar&, const std::optional<PrecioAMarcar>&) override {
        return true;
    }
    void EstampaFila(qint64, const QString&) override {}
    void ConfirmaGeneracion() override {}
    void DescartaGeneracion() override {}
};

// Sale class 1, offer class 2, suggested class 3, VAT 21.
ParametrosLote parametros() {
    ParametrosLote p;
    p.claseVenta = "1";
    p.claseOferta = "2";
    p.claseSugerido = "3";
    p.ivaPorDefecto = "21";
    return p;
}

FilaFija fila(int id, const char* articulo, const char* estado, QVariant desde, QVariant hasta,
              double venta, double oferta) {
    FilaFija f;
    f.campos = {{"ID", id},
                {"IDARTICULO", articulo},
                {"ESTADO", estado},
                {"DESCRIPCIONARTICULO", "DESCRIPCION"},
                {"TIPO", "T"},
                {"FHOFERTADESDE", desde},
                {"FHOFERTAHASTA", hasta},
                {"PRECIO1", venta},
                {"PRECIO2", oferta},
                {"PRECIO3", 0},
                {"COSTO", 1},
                {"RUBRO", "5"},
                {"CAMBIOCODBARRA", "0"}};
    return f;
}

TEST(ReglasLote, LosCargadoresCorrenSinBaseDeDatos) {
    OperadorGuion op;
    fijaOperador(&op);
    Reloj::fijaHoy(kHoy);
    RepositorioFijo repo;
    repo.pendientes = {
        fila(1, "000101", "0-M", QVariant(), QVariant(), 100, 80),      // ordinary change
        fila(2, "000102", "1-M", kManana, kManana.addDays(5), 100, 80), // offer from tomorrow
        fila(3, "000103", "1-M", kHoy.addDays(-2), kManana, 100, 200),  // running, already sent
        fila(4, "000104", "1-M", kManana.addDays(2), kManana.addDays(5), 1, 1), // not due
        fila(5, "000105", "0-C", QVariant(), QVariant(), 0, 0),                 // no price: dropped
    };
    EstadoVentana ventana;
    CartelSilencioso cartel;
    LoteNovedades lote(ventana, repo, cartel, parametros());
    ventana.campo("IdLista") = "1";
    ventana.fijaLista(ListaPrecios{"1", "LISTA UNO"}); // as the window confirms it
    const ResultadoCarga r = lote.CargaNovedades();
    EXPECT_EQ(r.estado, ResultadoCarga::Estado::Cargado);
    const GrillaLote& g = ventana.grilla;
    ASSERT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.Texto(1, FilaNovedad::CodInterno), "000000101");
    EXPECT_EQ(g.Texto(1, FilaNovedad::PrecioVenta), "000100000");
    EXPECT_EQ(g.Texto(1, FilaNovedad::NoMarcar), "0");
    EXPECT_EQ(g.Texto(2, FilaNovedad::CodInterno), "000000102");
    EXPECT_EQ(g.Texto(2, FilaNovedad::PrecioVenta), "000080000");
    EXPECT_EQ(g.Texto(2, FilaNovedad::NoMarcar), "1");
    EXPECT_EQ(g.Texto(1, FilaNovedad::Marca).trimmed(), "MARCA T");
    // The state each row was loaded in, for the conditional mark.
    EXPECT_EQ(ventana.estadosAlCargar.value(1), "0-M");
    Reloj::fijaHoy(QDate());
    fijaOperador(nullptr);
}

// The source may give a price row twice: the second is passed over and
// named in the final warning. IDs are told apart by their text ("7" and "07"
// are two rows), whether small, beyond the loader's table of small numbers,
// or no number at all; each row's state is remembered by its ID.
TEST(ReglasLote, UnaFilaRepetidaEnElOrigenSeCargaUnaVez) {
    OperadorGuion op;
    op.respondeSiempre(Operador::Aceptar);
    fijaOperador(&op);
    Reloj::fijaHoy(kHoy);
    const qint64 grande = EstadosAlCargar::kLimiteTabla + 5;
    const auto conId = [](QVariant id, const char* articulo, const char* estado) {
        FilaFija f = fila(0, articulo, estado, QVariant(), QVariant(), 100, 80);
        f.campos["ID"] = id;
        return f;
    };
    RepositorioFijo repo;
    repo.pendientes = {
        conId(7, "000101", "0-M"),
        conId(7, "000102", "0-C"), // repeated
        conId(QStringLiteral("07"), "000103", "0-M"),
        conId(grande, "000104", "0-C"),
        conId(grande, "000105", "0-M"), // repeated, beyond the table
        conId(QStringLiteral("A1"), "000106", "0-M"),
        conId(QStringLiteral("A1"), "000107", "0-M"), // repeated, no number
    };
    EstadoVentana ventana;
    CartelSilencioso cartel;
    LoteNovedades lote(ventana, repo, cartel, parametros());
    ventana.campo("IdLista") = "1";
    ventana.fijaLista(ListaPrecios{"1", "LISTA UNO"}); // as the window confirms it
    EXPECT_EQ(lote.CargaNovedades().estado, ResultadoCarga::Estado::Cargado);
    const GrillaLote& g = ventana.grilla;
    ASSERT_EQ(g.Rows(), 5);
    const QStringList articulos = {"000000101", "000000103", "000000104", "000000106"};
    for (int f = 1; f < g.Rows(); ++f) {
        EXPECT_EQ(g.Texto(f, FilaNovedad::CodInterno), articulos[f - 1]) << f;
    }
    EXPECT_EQ(ventana.estadosAlCargar.value(7), "0-M");
    EXPECT_EQ(ventana.estadosAlCargar.value(grande), "0-C");
    EXPECT_EQ(ventana.estadosAlCargar.value(8), "");
    Reloj::fijaHoy(QDate());
    fijaOperador(nullptr);
}

// The states by ID: small IDs in a table, others (negative, beyond it) in a
// hash; the last state given for an ID is the one kept, wherever it lives.
TEST(ReglasLote, EstadosAlCargarPorId) {
    const qint64 limite = EstadosAlCargar::kLimiteTabla;
    EstadosAlCargar e;
    const struct {
        qint64 id;
        const char* estado;
    } dados[] = {
        {1, "0-M"}, {limite - 1, "0-C"}, {limite, "0-M"}, {-3, "0-C"}, {qint64(1) << 40, "1-M"},
        {1, "0-C"}, {limite, "0-C"},     {0, ""}};
    for (const auto& d : dados) {
        e.insert(d.id, QString::fromLatin1(d.estado));
    }
    const struct {
        qint64 id;
        const char* esperado;
    } casos[] = {{1, "0-C"},  {limite - 1, "0-C"},      {limite, "0-C"},
                 {-3, "0-C"}, {qint64(1) << 40, "1-M"}, {0, ""},
                 {2, ""},     {limite + 1, ""}};
    for (const auto& c : casos) {
        EXPECT_EQ(e.value(c.id), QString::fromLatin1(c.esperado)) << c.id;
    }
    e.clear();
    EXPECT_EQ(e.value(1), "");
    EXPECT_EQ(e.value(limite), "");
}

} // namespace
