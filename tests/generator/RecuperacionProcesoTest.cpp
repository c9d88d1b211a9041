#include "PruebaLote.h"
#include "cli/ComandoLote.h"

#include <QFile>
#include <QMap>
#include <QProcess>

namespace {

// Three nights of tarvelo-lote as the scheduler runs it, on two lists with
// the same prices: list 1 gets its batch every night, list 2 misses the
// second one. The tills of list 2 must end up exactly where those of list 1
// are, and the third night's file of list 2 must carry every change the
// second night sent to list 1.
class RecuperacionProcesoTest : public PruebaLote {
protected:
    static inline const QDate kNoche1 = QDate(2026, 3, 10);

    void SetUp() override {
        PruebaLote::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        esquema->tipo("T1", "MARCA");
        struct Precio {
            const char* articulo;
            const char* estado;
            int desde, hasta; // offer days from the first night; 99: no offer
        };
        const Precio precios[] = {
            {"000301", "0-M", 99, 99}, // pending: the first night
            {"000302", "1-M", 2, 10},  // starts on the third day
            {"000303", "1-M", -9, 1},  // ends on the second day
            {"000304", "1-M", 2, 2},   // starts and ends on the third day
            {"000305", "1-M", 3, 20},  // starts on the fourth day
            {"000306", "1-M", 1, 15},  // starts on the second day
            {"000307", "1-M", 99, 99}, // changed after the first night
            {"000308", "1-M", -5, 0},  // ends on the first day
        };
        for (const char* lista : {"1", "2"}) {
            esquema->lista(lista, QStringLiteral("LISTA ") + lista);
        }
        for (const Precio& p : precios) {
            ArticuloPrueba a;
            a.idArticulo = p.articulo;
            a.descripcion = QStringLiteral("ARTICULO ") + p.articulo;
            a.tipo = "T1";
            a.rubro = "05";
            esquema->articulo(a);
            for (const char* lista : {"1", "2"}) {
                PrecioPrueba r;
                r.idLista = lista;
                r.idArticulo = p.articulo;
                r.estado = p.estado;
                if (p.desde != 99) {
                    r.fhOfertaDesde = kNoche1.addDays(p.desde);
                    r.fhOfertaHasta = kNoche1.addDays(p.hasta);
                }
                r.precios = {100, 80, 0};
                r.costo = 50;
                esquema->precio(r);
            }
        }
        linea = base().lineaSuite();
    }

    struct Noche {
        int codigo = -1;
        QString err;
        QByteArray cambios;
    };

    // One night's run of a list into a folder of its own.
    Noche generar(const char* lista, int noche) {
        QTemporaryDir destino;
        QProcess p;
        p.setProgram(QStringLiteral(TARVELO_LOTE));
        p.setArguments({"generar", linea, "--hoy", kNoche1.addDays(noche - 1).toString(Qt::ISODate),
                        "--lista", lista, "--carpeta", destino.path()});
        p.start();
        Noche n;
        if (!p.waitForFinished(120000)) {
            ADD_FAILURE() << "tarvelo-lote no terminó";
            return n;
        }
        n.codigo = p.exitCode();
        n.err = QString::fromUtf8(p.readAllStandardError());
        QFile f(destino.path() + "/CAMBIOS.TXT");
        if (f.open(QIODevice::ReadOnly)) {
            n.cambios = f.readAll();
        }
        return n;
    }

    // What the tills hold after reading these files in order: the last
    // record of each article.
    static QMap<QByteArray, QByteArray> cajas(const QList<QByteArray>& archivos) {
        QMap<QByteArray, QByteArray> r;
        for (const QByteArray& a : archivos) {
            for (const QByteArray& registro : a.split('\n')) {
                if (!registro.trimmed().isEmpty()) {
                    r[registro.mid(1, 9)] = registro;
                }
            }
        }
        return r;
    }
    // Article and price of each record, in the file's order.
    static QStringList precios(const QByteArray& archivo) {
        QStringList r;
        for (const QByteArray& registro : archivo.split('\n')) {
            if (!registro.trimmed().isEmpty()) {
                r << QString::fromLatin1(registro.mid(4, 6) + " " + registro.mid(55, 9));
            }
        }
        return r;
    }

    QString linea;
};

} // namespace

TEST_P(RecuperacionProcesoTest, UnaNocheSinLoteNoPierdeNingunCambio) {
    const Noche uno1 = generar("1", 1), dos1 = generar("2", 1);
    ASSERT_EQ(uno1.codigo, CodigoLote::Generado) << uno1.err.toStdString();
    ASSERT_EQ(dos1.codigo, CodigoLote::Generado) << dos1.err.toStdString();
    EXPECT_EQ(uno1.cambios, dos1.cambios);

    // Between the first and the second night a price changes on both lists.
    esquema->ejecuta("UPDATE V_MA_PRECIOS SET precio1 = 120, ESTADO = '0-M' WHERE IdArticulo = "
                     "'000307'");
    const Noche uno2 = generar("1", 2); // list 2 gets no batch this night
    ASSERT_EQ(uno2.codigo, CodigoLote::Generado) << uno2.err.toStdString();
    EXPECT_EQ(precios(uno2.cambios), QStringList({"000302 000080000", "000303 000100000",
                                                  "000304 000080000", "000307 000120000"}));

    const Noche uno3 = generar("1", 3), dos3 = generar("2", 3);
    ASSERT_EQ(uno3.codigo, CodigoLote::Generado) << uno3.err.toStdString();
    ASSERT_EQ(dos3.codigo, CodigoLote::Generado) << dos3.err.toStdString();
    EXPECT_FALSE(uno3.err.contains("días sin novedad")) << uno3.err.toStdString();
    EXPECT_TRUE(
        dos3.err.contains("Se incluyen las ofertas de los días sin novedad: del 11/03 al 11/03\n"))
        << dos3.err.toStdString();
    // The offer that started and ended on the missed days goes once, at the
    // price it ends with.
    EXPECT_EQ(precios(dos3.cambios),
              QStringList({"000302 000080000", "000303 000100000", "000304 000100000",
                           "000305 000080000", "000307 000120000"}));

    // Every article the second night sent to list 1 reaches list 2's tills
    // on the third, and both lists' tills end up alike.
    const QMap<QByteArray, QByteArray> tercera = cajas({dos3.cambios});
    for (const QByteArray& articulo : cajas({uno2.cambios}).keys()) {
        EXPECT_TRUE(tercera.contains(articulo)) << articulo.toStdString();
    }
    EXPECT_EQ(cajas({dos1.cambios, dos3.cambios}),
              cajas({uno1.cambios, uno2.cambios, uno3.cambios}));
}

INSTANTIATE_TEST_SUITE_P(Motores, RecuperacionProcesoTest, valoresMotores(), nombreMotor);
