#include "generator/ArchivosCambio.h"
#include "OperadorGuion.h"
#include "generator/ArticulosBalanza.h"
#include "generator/FilaNovedad.h"
#include "generator/FormatoCambios.h"
#include "generator/GrillaLote.h"
#include "generator/LoteNovedades.h"
#include "generator/ValoresFila.h"
#include "utility_library/ArchivoPublicado.h"
#include "utility_library/Cp1252.h"
#include "utility_library/ErrorKX.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

namespace {

// The article master as the scale lookup sees it.
struct ArticulosFijos : ArticulosBalanza {
    QMap<QString, Articulo> articulos;
    QStringList claves;
    bool falla = false;
    bool Busca(const QString& clave, Articulo& a) override {
        claves << clave;
        if (falla) {
            throw FalloKX(-2147467259, "conexión perdida", "ExisteEnTabla");
        }
        if (!articulos.contains(clave.trimmed())) {
            return false;
        }
        a = articulos[clave.trimmed()];
        return true;
    }
};

QByteArray lee(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        return "<no existe>";
    }
    return f.readAll();
}

// A golden case: a folder under data/ whose entrada.txt gives the grid rows
// (made the way the loaders make them), the article master the scale lookup
// answers from and the kilogram unit; CAMBIOS.TXT and BALANZA.TXT beside it
// are what a generation of those rows writes. A new case is a new folder.
struct Caso {
    QString unidadKG;
    QMap<QString, ArticulosBalanza::Articulo> articulos;
    QList<QStringList> filas;
};

Caso leeCaso(const QString& carpeta) {
    Caso caso;
    QFile f(carpeta + "/entrada.txt");
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << f.fileName().toStdString();
        return caso;
    }
    for (const QString& linea : QString::fromUtf8(f.readAll()).split('\n')) {
        if (linea.isEmpty() || linea.startsWith('#')) {
            continue;
        }
        const QStringList campos = linea.split('|');
        if (campos[0] == "unidad" && campos.size() == 2) {
            caso.unidadKG = campos[1];
        } else if (campos[0] == "articulo" && campos.size() == 4) {
            caso.articulos[campos[1]] = {campos[3] == "S", campos[2]};
        } else if (campos[0] == "fila" && campos.size() == 11) {
            caso.filas << campos.mid(1);
        } else {
            ADD_FAILURE() << "unreadable line in " << f.fileName().toStdString() << ": "
                          << linea.toStdString();
        }
    }
    return caso;
}

// The grid the window builds: the header row, then the rows of `filas`.
void llenaGrilla(GrillaLote& grilla, const QList<QStringList>& filas) {
    grilla.FijaCols(FilaNovedad::Columnas);
    grilla.FijaRows(1);
    for (int c = 0; c < FilaNovedad::Columnas; ++c) {
        grilla.FijaTexto(0, c, FilaNovedad::Encabezados()[c]);
    }
    int id = 100;
    for (const QStringList& f : filas) {
        ValoresFila v;
        v.tipoMov = f[0];
        v.codigo = f[1];
        v.descripcion = f[2];
        v.marca = f[3];
        v.precio = v.precio2 = f[4];
        v.costo = f[5];
        v.tasaIva = f[6];
        v.codBarra = f[7];
        v.rubro = f[8];
        v.pesable = f[9];
        v.id = QString::number(id++);
        v.FormateaFila("21", false);
        grilla.AgregaFila();
        v.Fila().EnGrilla(grilla, grilla.Rows() - 1);
    }
}

QStringList casos() {
    return QDir(TARVELO_TEST_DATA).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

class ArchivosCambioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        fijaOperador(&op);
        // The assorted case: most tests look at some of its rows.
        const Caso caso = leeCaso(TARVELO_TEST_DATA "/surtido");
        llenaGrilla(grilla, caso.filas);
        articulos.articulos = caso.articulos;
    }
    void TearDown() override { fijaOperador(nullptr); }

    void generaTodo(ArchivosCambio& a) {
        for (int f = 1; f < grilla.Rows(); ++f) {
            a.Agrega(a.Prepara(grilla, f));
        }
    }

    QTemporaryDir dir;
    OperadorGuion op;
    GrillaLote grilla;
    ArticulosFijos articulos;
};

} // namespace

TEST(ArchivosCambioCasos, AmbosArchivosByteAByte) {
    OperadorGuion op;
    fijaOperador(&op);
    const QStringList nombres = casos();
    ASSERT_FALSE(nombres.isEmpty()) << "no case folder under " TARVELO_TEST_DATA;
    for (const QString& nombre : nombres) {
        SCOPED_TRACE(nombre.toStdString());
        const QString carpeta = QStringLiteral(TARVELO_TEST_DATA "/") + nombre;
        const Caso caso = leeCaso(carpeta);
        GrillaLote grilla;
        llenaGrilla(grilla, caso.filas);
        ArticulosFijos articulos;
        articulos.articulos = caso.articulos;
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString ruta = dir.path() + "/CAMBIOS.TXT";
        // An older, longer file is overwritten, never appended to.
        QFile viejo(dir.path() + "/BALANZA.TXT");
        ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
        viejo.write(QByteArray(5000, 'x'));
        viejo.close();
        {
            ArchivosCambio a(articulos, caso.unidadKG);
            ASSERT_TRUE(a.Abre(ruta));
            for (int f = 1; f < grilla.Rows(); ++f) {
                a.Agrega(a.Prepara(grilla, f));
            }
            // Each file's digest, length and records are its own, as the
            // batch records them.
            const std::vector<ArchivoGrabado> huellas = a.Huellas();
            ASSERT_EQ(int(huellas.size()), a.CantidadFormatos());
            for (int i = 0; i < a.CantidadFormatos(); ++i) {
                const QByteArray esperado = lee(carpeta + "/" + a.Formato(i).Nombre());
                EXPECT_EQ(huellas[size_t(i)].archivo, a.Formato(i).Nombre());
                EXPECT_EQ(huellas[size_t(i)].largo, esperado.size());
                EXPECT_EQ(huellas[size_t(i)].sha256,
                          QCryptographicHash::hash(esperado, QCryptographicHash::Sha256).toHex());
                EXPECT_EQ(a.Lineas(i), esperado.count("\r\n"));
            }
            a.Publica();
        }
        EXPECT_EQ(lee(ruta), lee(carpeta + "/CAMBIOS.TXT"));
        EXPECT_EQ(lee(dir.path() + "/BALANZA.TXT"), lee(carpeta + "/BALANZA.TXT"));
    }
    EXPECT_TRUE(op.preguntas().isEmpty());
    fijaOperador(nullptr);
}

TEST_F(ArchivosCambioTest, ElEjemploTrabajado) {
    const QString ruta = dir.path() + "/CAMBIOS.TXT";
    {
        ArchivosCambio a(articulos, "KG");
        ASSERT_TRUE(a.Abre(ruta));
        generaTodo(a);
        a.Publica();
    }
    // The worked example, literally.
    const QByteArray cambios = lee(ruta);
    EXPECT_TRUE(cambios.startsWith(
        "M000001234QUESO CREMOSO                 LACTEOS        00125050000125050000000000000080"
        "0000S0SS0000012340000I05000000000000000\r\n"));
    EXPECT_TRUE(
        lee(dir.path() + "/BALANZA.TXT")
            .startsWith("050123401234001250500QUESO CREMOSO" + QByteArray(47, ' ') + "\r\n"));
    // "€" and the accented letters are single Windows-1252 bytes.
    EXPECT_TRUE(cambios.contains("JAM\xd3N COCIDO \x80"));
    // Codes 10000 and 21234 asked nothing: only rows below 10000 are looked up,
    // by the code as six digits fitted to 25 characters.
    EXPECT_EQ(articulos.claves,
              QStringList({"001234" + QString(19, ' '), "009999" + QString(19, ' '),
                           "001500" + QString(19, ' '), "000777" + QString(19, ' '),
                           "000042" + QString(19, ' ')}));
    EXPECT_TRUE(op.preguntas().isEmpty());
}

TEST_F(ArchivosCambioTest, ElRegistroDePuntoDeVentaEsElDeSusColumnas) {
    // The record is the cells of the record's own columns: what the header
    // row says, or a column the grid shows besides them, changes nothing.
    FormatoCambios formato;
    const std::optional<QString> antes = formato.Registro(grilla, 1);
    ASSERT_TRUE(antes);
    EXPECT_EQ(antes->size(), FormatoCambios::kLargo);
    grilla.FijaTexto(0, FilaNovedad::Aux2, "NOMARCAR");
    grilla.FijaTexto(0, FilaNovedad::Id, "Identificador");
    grilla.FijaCols(FilaNovedad::Columnas + 1);
    grilla.FijaTexto(0, FilaNovedad::Columnas, "Nueva");
    grilla.FijaTexto(1, FilaNovedad::Columnas, "VISIBLE");
    EXPECT_EQ(formato.Registro(grilla, 1), antes);
    EXPECT_EQ(formato.Linea(grilla, 1), Cp1252::codifica(*antes) + "\r\n");
}

TEST(ArchivosCambioRutas, CarpetaYArchivoDeBalanza) {
    struct Caso {
        const char *ruta, *carpeta, *balanza;
    };
    const Caso casos[] = {
        {"/datos/nov/CAMBIOS.TXT", "/datos/nov", "/datos/nov/BALANZA.TXT"},
        {"C:\\NOVEDADES\\cambios.txt", "C:\\NOVEDADES", "C:\\NOVEDADES\\BALANZA.TXT"},
        {"/a/CAMBIOS.TXT/b/Cambios.Txt", "/a/CAMBIOS.TXT/b", "/a/CAMBIOS.TXT/b/BALANZA.TXT"},
        {"CAMBIOS.TXT", "", ""},
        {"/datos/nov/PRECIOS.NOV", "", ""},
        {"/datos/nov/XCAMBIOS.TXT", "", ""},
        {"...", "", ""},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(ArchivosCambio::Carpeta(c.ruta), QString(c.carpeta)) << c.ruta;
        EXPECT_EQ(ArchivosCambio::RutaBalanza(c.ruta), QString(c.balanza)) << c.ruta;
    }
}

TEST_F(ArchivosCambioTest, SinCarpetaNoSeCreaNada) {
    const QString faltante = dir.path() + "/no-existe/CAMBIOS.TXT";
    // A label holding the file name alone would make both files one.
    const QString sinCarpeta = "CAMBIOS.TXT";
    for (const QString& ruta : {faltante, sinCarpeta}) {
        op.limpia();
        ArchivosCambio a(articulos, "KG");
        EXPECT_FALSE(a.Abre(ruta));
        ASSERT_EQ(op.preguntas().size(), 1);
        EXPECT_EQ(op.preguntas()[0].texto, "Acceso a Ruta de Archivo no válida!!!\r\n"
                                           "No se pudo generar el archivo Cambios.txt");
        EXPECT_EQ(op.preguntas()[0].titulo, "Aviso al Usuario");
        EXPECT_EQ(op.preguntas()[0].estilo, 64);
    }
    EXPECT_FALSE(QFile::exists(QDir::current().filePath("CAMBIOS.TXT")));
    EXPECT_FALSE(QFile::exists(QDir::current().filePath("BALANZA.TXT")));
}

TEST_F(ArchivosCambioTest, RutaConBarrasInvertidas) {
    const QString ruta = dir.path() + "\\cambios.txt";
    ArchivosCambio a(articulos, "KG");
    ASSERT_TRUE(a.Abre(ruta));
    a.Agrega(a.Prepara(grilla, 1));
    a.Publica();
    EXPECT_EQ(lee(dir.path() + "/cambios.txt").size(), 128);
    EXPECT_EQ(lee(dir.path() + "/BALANZA.TXT").size(), 83);
}

#ifdef Q_OS_LINUX
TEST_F(ArchivosCambioTest, LosEnlacesSeReemplazanYNadaQuedaAMedias) {
    const QString ruta = dir.path() + "/CAMBIOS.TXT";
    // A link at either name is replaced, never followed: its target (here a
    // file elsewhere, and a dangling name) is left as it was.
    QTemporaryDir otra;
    const QString blanco = otra.path() + "/importante.txt";
    QFile f(blanco);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("no tocar");
    f.close();
    ASSERT_TRUE(QFile::link(blanco, ruta));
    ASSERT_TRUE(QFile::link(otra.path() + "/no-existe.txt", dir.path() + "/BALANZA.TXT"));
    // A leftover of a killed run (a process that no longer exists).
    QFile resto(dir.path() + "/CAMBIOS.TXT.999999999.tmp");
    ASSERT_TRUE(resto.open(QIODevice::WriteOnly));
    resto.close();
    {
        ArchivosCambio a(articulos, "KG");
        ASSERT_TRUE(a.Abre(ruta));
        EXPECT_FALSE(QFile::exists(resto.fileName()));
        // A failed lookup reaches the caller, with nothing gathered.
        articulos.falla = true;
        EXPECT_THROW(a.Prepara(grilla, 2), FalloKX);
        // Rows of 10000 and above need no lookup.
        a.Agrega(a.Prepara(grilla, 3));
        // Nothing takes a final name before the batch is published.
        a.Escribe();
        EXPECT_EQ(lee(blanco), "no tocar");
        a.Publica();
    }
    EXPECT_EQ(lee(blanco), "no tocar");
    EXPECT_FALSE(QFile::exists(otra.path() + "/no-existe.txt"));
    EXPECT_FALSE(QFileInfo(ruta).isSymLink());
    EXPECT_FALSE(QFileInfo(dir.path() + "/BALANZA.TXT").isSymLink());
    EXPECT_EQ(lee(ruta).size(), 128);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(ArchivosCambioTest, UnaGeneracionDescartadaDejaLosArchivosAnteriores) {
    const QString ruta = dir.path() + "/CAMBIOS.TXT";
    QFile viejo(ruta);
    ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
    viejo.write("anterior\r\n");
    viejo.close();
    {
        ArchivosCambio a(articulos, "KG");
        ASSERT_TRUE(a.Abre(ruta));
        generaTodo(a);
        a.Escribe(); // written under temporary names, then dropped
    }
    EXPECT_EQ(lee(ruta), "anterior\r\n");
    EXPECT_FALSE(QFile::exists(dir.path() + "/BALANZA.TXT"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}
#endif

#ifdef Q_OS_LINUX
// A file bigger than what waits in memory goes to disk as it comes. When the
// disk fills in the middle, the failure waits for the end, names the reason,
// and once there is room again the same file goes on to be whole: every byte
// added, once, in order, and nothing under the final name before that.
TEST(ArchivoPublicadoTest, DiscoLlenoALaMitadYDespuesCompleto) {
    QTemporaryDir dir;
    const QString lleno = dir.path() + "/lleno";
    ASSERT_TRUE(QDir().mkpath(lleno));
    if (::mount("tarvelo", lleno.toLocal8Bit().constData(), "tmpfs", 0, "size=2m") != 0) {
        GTEST_SKIP() << "cannot mount a small file system here (needs root)";
    }
    struct Desmonta {
        QString ruta;
        ~Desmonta() { ::umount2(ruta.toLocal8Bit().constData(), MNT_DETACH); }
    } desmonta{lleno};
    {
        QFile relleno(lleno + "/relleno");
        ASSERT_TRUE(relleno.open(QIODevice::WriteOnly));
        relleno.write(QByteArray(1700 * 1024, 'x'));
    }
    QByteArray esperado;
    ArchivoPublicado a(lleno + "/CAMBIOS.TXT");
    for (int i = 0; i < 30000; ++i) {
        const QByteArray linea = QByteArray::number(i).rightJustified(48, '0') + "\r\n";
        a.agrega(linea);
        esperado += linea;
    }
    try {
        a.termina();
        FAIL() << "a full disk went unnoticed";
    } catch (const FalloKX& e) {
        EXPECT_TRUE(e.error().descripcion.contains("no queda espacio en el disco"))
            << e.error().descripcion.toStdString();
    }
    EXPECT_FALSE(QFile::exists(lleno + "/CAMBIOS.TXT"));
    ASSERT_TRUE(QFile::remove(lleno + "/relleno"));
    a.termina();
    a.publica();
    EXPECT_EQ(lee(lleno + "/CAMBIOS.TXT"), esperado);
    EXPECT_EQ(QDir(lleno).entryList(QDir::Files), QStringList{"CAMBIOS.TXT"});
}
#endif

TEST(RutaExaminada, SoloCuentaLaCarpetaElegida) {
    EXPECT_EQ(LoteNovedades::RutaExaminada("C:\\NOVEDADES\\PRECIOS.NOV"),
              "C:\\NOVEDADES\\CAMBIOS.TXT");
    EXPECT_EQ(LoteNovedades::RutaExaminada("/datos/nov/precios.nov"), "/datos/nov/CAMBIOS.TXT");
    // The dialog left without a choice: its proposed name has no folder.
    EXPECT_EQ(LoteNovedades::RutaExaminada("CAMBIOS.TXT"), "CAMBIOS.TXT");
}
