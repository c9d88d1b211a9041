#include "reports/DefinicionReporte.h"
#include "reports/ServicioReportes.h"
#include "utility_library/ErrorKX.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const kMinima = "[reporte]\ntipo = listado\n[fuentes]\nf = DejaVu Sans; 8\n"
                            "[detalle]\nalto = 4\ncolumna = 0 10 f izquierda | A | {CodInterno}\n";

TEST(DefinicionReporte, LasDelProgramaSeLeen) {
    const QString carpeta = QStringLiteral(TARVELO_RECURSOS);
    const DefinicionReporte testigo =
        DefinicionReporte::lee(ServicioReportes::ArchivoDefinicion(carpeta, "RP_Tarvelo"));
    EXPECT_EQ(testigo.tipo, DefinicionReporte::Tipo::Listado);
    EXPECT_GE(testigo.columnas.size(), 8);
    const DefinicionReporte etiquetas =
        DefinicionReporte::lee(ServicioReportes::ArchivoDefinicion(carpeta, "ma_pre3"));
    EXPECT_EQ(etiquetas.tipo, DefinicionReporte::Tipo::Etiquetas);
    EXPECT_EQ(etiquetas.columnasEtiquetas * etiquetas.filasEtiquetas, 24);
}

TEST(DefinicionReporte, UnErrorNombraArchivoYLinea) {
    struct Caso {
        QString agregado; // appended to a valid definition
        const char* motivo;
    };
    const Caso casos[] = {
        {"[otra]\n", "sección desconocida"},
        {"[encabezado]\ntexto = 0 0 10 4 f izquierda | {Nada}\n", "{Nada} no existe"},
        {"[encabezado]\ntexto = 0 0 10 4 g izquierda | x\n", "fuente \"g\""},
        {"[encabezado]\ntexto = 0 0 diez 4 f izquierda | x\n", "\"diez\" no es una medida"},
        {"[encabezado]\ntexto = 0 0 10 4 f arriba | x\n", "alineación \"arriba\""},
        {"[encabezado]\ntexto = 0 0 10 4 f izquierda | {Empresa\n", "llave de cierre"},
        {"[pagina]\ntamano = B7\n", "tamaño de página"},
        {"[detalle]\ncolor = rojo\n", "clave \"color\" desconocida"},
        {"solo texto\n", "clave = valor"},
    };
    const int lineasBase = QString::fromLatin1(kMinima).count('\n');
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.motivo);
        const QString texto = QString::fromLatin1(kMinima) + c.agregado;
        const int lineaMala = lineasBase + int(c.agregado.count('\n'));
        try {
            DefinicionReporte::deTexto(texto, "/reportes/X.txt");
            ADD_FAILURE() << "aceptada";
        } catch (const FalloKX& e) {
            const QString m = e.error().descripcion;
            EXPECT_TRUE(m.contains(QDir::toNativeSeparators("/reportes/X.txt"))) << e.what();
            EXPECT_TRUE(m.contains(QStringLiteral("línea %1").arg(lineaMala))) << e.what();
            EXPECT_TRUE(m.contains(QString::fromUtf8(c.motivo))) << e.what();
        }
    }
}

// Sizes, counts and margins out of reason are refused with the file and the
// value named, before any arithmetic can meet them.
TEST(DefinicionReporte, MedidasFueraDeRazon) {
    const QString base = "[reporte]\ntipo = etiquetas\n[pagina]\nmargenes = %1\n"
                         "[fuentes]\nprecio = DejaVu Sans; 8\n[etiqueta]\n"
                         "ancho = %2\nalto = %3\ncolumnas = %4\nfilas = %5\n"
                         "texto = 0 0 4 4 precio izquierda | {Precio}\n";
    struct Caso {
        const char* margenes;
        const char* ancho;
        const char* alto;
        const char* columnas;
        const char* filas;
        const char* motivo; // empty: accepted
    };
    const Caso casos[] = {
        {"10 10 10 10", "62", "33", "3", "8", ""},
        {"10 10 10 10", "5", "5", "38", "26", ""},
        {"10 10 10 10", "0.001", "0.001", "65536", "65536", "10000"},
        {"10 10 10 10", "0.001", "0.001", "1000", "1000", "mínimo de 5 mm"},
        {"10 10 10 10", "4.9", "33", "3", "8", "mínimo de 5 mm"},
        {"10 10 10 10", "62", "300", "3", "8", "no cabe en la página"},
        {"10 10 10 10", "10", "10", "40", "26", "superan las 1000 etiquetas"},
        {"10 10 10 10", "inf", "33", "3", "8", "no es una medida"},
        {"10 10 10 10", "1e300", "33", "3", "8", "no es una medida"},
        {"150 10 150 10", "62", "33", "3", "8", "sin lugar"},
    };
    for (const Caso& c : casos) {
        const QString texto = base.arg(c.margenes, c.ancho, c.alto, c.columnas, c.filas);
        SCOPED_TRACE(texto.toStdString());
        if (!*c.motivo) {
            EXPECT_NO_THROW(DefinicionReporte::deTexto(texto, "MA_PRE3.txt"));
            continue;
        }
        try {
            DefinicionReporte::deTexto(texto, "MA_PRE3.txt");
            ADD_FAILURE() << "accepted";
        } catch (const FalloKX& e) {
            EXPECT_TRUE(e.error().descripcion.contains("MA_PRE3.txt")) << e.what();
            EXPECT_TRUE(e.error().descripcion.contains(QString::fromUtf8(c.motivo))) << e.what();
        }
    }
}

TEST(DefinicionReporte, IncompletaOFaltante) {
    EXPECT_THROW(DefinicionReporte::deTexto("[reporte]\ntitulo = x\n", "X.txt"), FalloKX);
    EXPECT_THROW(DefinicionReporte::deTexto("[reporte]\ntipo = etiquetas\n", "X.txt"), FalloKX);
    QTemporaryDir dir;
    try {
        DefinicionReporte::lee(ServicioReportes::ArchivoDefinicion(dir.path(), "RP_Tarvelo"));
        ADD_FAILURE() << "sin archivo";
    } catch (const FalloKX& e) {
        EXPECT_EQ(e.error().descripcion,
                  "No se encuentra el reporte " +
                      QDir::toNativeSeparators(dir.filePath("reports/RP_Tarvelo.txt")));
    }
    EXPECT_THROW(ServicioReportes::ArchivoDefinicion(dir.path(), "../../etc/passwd"), FalloKX);
}

} // namespace
