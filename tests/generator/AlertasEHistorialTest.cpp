#include "ArchivosPrueba.h"
#include "PruebaLote.h"
#include "generator/GeneradorLote.h"
#include "generator/VerificadorLote.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlUtil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>

namespace {

// A list whose pending prices sit on each side of every alert rule: a change
// against the last batch just past 50% and exactly 50%, an offer equal to its
// regular price and one a thousandth below, a price a thousandth below cost
// and one at cost.
class AlertasEHistorialTest : public PruebaLote {
protected:
    void SetUp() override {
        PruebaLote::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        esquema->lista("1", "LISTA UNO");
        esquema->tipo("T1", "MARCA");
        struct Caso {
            QString codigo;
            QList<double> precios; // sale, offer, suggested
            double costo;
            bool oferta;
        };
        const QList<Caso> casos = {
            {"000101", {150.001, 0, 0}, 1, false}, // +50.001% against 100: alert
            {"000102", {150, 0, 0}, 1, false},     // +50% exactly: none
            {"000103", {100, 100, 0}, 1, true},    // offer = regular: alert
            {"000104", {100, 99.999, 0}, 1, true}, // offer below regular: none
            {"000105", {79.999, 0, 0}, 80, false}, // below cost: alert
            {"000106", {80, 0, 0}, 80, false},     // at cost: none
        };
        for (const Caso& c : casos) {
            ArticuloPrueba a;
            a.idArticulo = c.codigo;
            a.descripcion = "ARTICULO " + c.codigo;
            a.tipo = "T1";
            a.rubro = "05";
            esquema->articulo(a);
            PrecioPrueba p;
            p.idLista = "1";
            p.idArticulo = c.codigo;
            p.precios = c.precios;
            p.costo = c.costo;
            if (c.oferta) {
                p.fhOfertaDesde = kHoy.addDays(1);
                p.fhOfertaHasta = kHoy.addDays(10);
            }
            esquema->precio(p);
        }
        // The last batch sent 100.00 for the two articles whose change is measured.
        for (const char* cod : {"000000101", "000000102"}) {
            FilaLotePrueba f;
            f.codigo = 1;
            f.idLista = QlUtil::FormateaCodigo("1", 4);
            f.fecha = kHoy.addDays(-3);
            f.codInterno = cod;
            f.precioVenta = f.precio = "000100000";
            esquema->filaLote(f);
        }
        lote->InicializaFormulario();
        eligeLista("1", "LISTA UNO");
        ASSERT_EQ(lote->CargaNovedades().estado, ResultadoCarga::Estado::Cargado);
        ventana.fijaRuta(rutaCambios());
    }

    int cuenta(const QString& sql) { return esquema->cuenta(sql); }
    QString copia(const QString& nombre) const {
        return carpeta.path() + "/historial/" + QlUtil::FormateaCodigo("1", 4).trimmed() + "/2/" +
               nombre;
    }
    // Generates with the alerts accepted and no witness.
    void generaAceptando() {
        op.limpia();
        op.responde(Operador::Si).responde(Operador::No);
        ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);
    }
};

} // namespace

TEST_P(AlertasEHistorialTest, LasAlertasDetienenHastaQueElOperadorAcepta) {
    op.responde(Operador::No);
    const ResultadoGeneracion r = lote->Genera();
    EXPECT_EQ(r.estado, ResultadoGeneracion::Estado::ConAlertas);
    ASSERT_EQ(r.alertas.size(), 3) << r.alertas.join("\n").toStdString();
    EXPECT_TRUE(r.alertas[0].contains("000000101") && r.alertas[0].contains("variación +50,0%"));
    EXPECT_TRUE(r.alertas[1].contains("000000103") &&
                r.alertas[1].contains("oferta 100,00 no menor que regular 100,00"));
    EXPECT_TRUE(r.alertas[2].contains("000000105") &&
                r.alertas[2].contains("precio 79,999 bajo costo 80,00"));
    // One question, its Yes writing: No by default.
    ASSERT_EQ(op.preguntas().size(), 1);
    EXPECT_TRUE(op.preguntas()[0].texto.startsWith(
        "3 precios con alerta: ¿generar de todos modos?\r\nFila "));
    EXPECT_TRUE(op.preguntas()[0].estilo & Operador::SegundoPorDefecto);
    // The alerted rows are flagged with their reasons; the others are not.
    int marcadas = 0;
    for (int f = 1; f < ventana.grilla.Rows(); ++f) {
        const QString cod = celda(f, FilaNovedad::CodInterno);
        const bool alerta = cod == "000000101" || cod == "000000103" || cod == "000000105";
        EXPECT_EQ(ventana.grilla.Marcada(f), alerta) << cod.toStdString();
        if (alerta) {
            EXPECT_TRUE(ventana.grilla.Motivos(f).startsWith("Alerta: "));
            ++marcadas;
        }
    }
    EXPECT_EQ(marcadas, 3);
    // Nothing written, nothing marked, the rows still loaded.
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 2"), 0);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM V_MA_PRECIOS WHERE ESTADO = '1-M'"), 0);
    EXPECT_FALSE(QFile::exists(rutaCambios()));
    EXPECT_EQ(ventana.FilasCargadas(), 6);

    // Accepted: the batch goes out and its alerts are kept for the witness.
    generaAceptando();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = 2"), 6);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_ALERTAS WHERE Codigo = 2"), 3);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_ALERTAS WHERE Codigo = 2 AND CodInterno = "
                     "'000000105' AND Motivo = 'precio 79,999 bajo costo 80,00'"),
              1);
}

TEST_P(AlertasEHistorialTest, LosUmbralesSeLeenDeLaConfiguracion) {
    // 60% lets the +50.001% change through; a 10% margin makes the price
    // at cost (80 against 80) alert too.
    esquema->configuracion("TARVELO_VARIACION_MAXIMA", "60");
    esquema->configuracion("TARVELO_MARGEN_MINIMO", "10");
    op.responde(Operador::No);
    const ResultadoGeneracion r = lote->Genera();
    ASSERT_EQ(r.estado, ResultadoGeneracion::Estado::ConAlertas);
    QStringList codigos;
    for (const QString& a : r.alertas) {
        codigos << a.section('(', 1, 1).section(')', 0, 0);
    }
    EXPECT_EQ(codigos, QStringList({"000000103", "000000105", "000000106"}));
}

TEST_P(AlertasEHistorialTest, CadaLotePublicadoQuedaGuardadoYSePuedeProbar) {
    Reloj::fijaAhora(QDateTime(kHoy, QTime(20, 0)));
    generaAceptando();
    // The copies hold exactly the published bytes.
    const QByteArray cambios = lee(rutaCambios());
    const QByteArray balanza = lee(rutaBalanza());
    EXPECT_EQ(lee(copia("CAMBIOS.TXT")), cambios);
    EXPECT_EQ(lee(copia("BALANZA.TXT")), balanza);
    // Their length and digest are recorded with the batch.
    QSqlQuery q(esquema->conexion());
    ASSERT_TRUE(q.exec("SELECT Archivo, Largo, Sha256, Copia FROM MV_TARVELO_ARCHIVOS WHERE "
                       "Codigo = 2 ORDER BY Archivo"));
    QStringList vistos;
    while (q.next()) {
        const QString archivo = q.value(0).toString().trimmed();
        const QByteArray contenido = archivo == "CAMBIOS.TXT" ? cambios : balanza;
        vistos << archivo;
        EXPECT_EQ(q.value(1).toLongLong(), contenido.size());
        EXPECT_EQ(q.value(2).toString().trimmed(),
                  QCryptographicHash::hash(contenido, QCryptographicHash::Sha256).toHex());
        EXPECT_EQ(QDir::fromNativeSeparators(q.value(3).toString().trimmed()), copia(archivo));
    }
    EXPECT_EQ(vistos, QStringList({"BALANZA.TXT", "CAMBIOS.TXT"}));

    VerificadorLote verificador(*lote);
    ResultadoVerificacion v = verificador.Verifica(2);
    EXPECT_EQ(v.estado, ResultadoVerificacion::Estado::Iguales)
        << v.lineas.join("\n").toStdString();

    // A copy changed afterwards is caught at its first differing record.
    QByteArray cambiado = cambios;
    const qsizetype segundo = cambiado.indexOf("\r\n") + 2;
    cambiado[segundo] = 'X';
    escribe(copia("CAMBIOS.TXT"), cambiado);
    lote->InicializaFormulario();
    v = verificador.Verifica(2);
    EXPECT_EQ(v.estado, ResultadoVerificacion::Estado::Difieren);
    EXPECT_TRUE(v.lineas.join("\n").contains("difiere: en el registro 2"))
        << v.lineas.join("\n").toStdString();

    // A stored row changed afterwards: the rebuilt files no longer match
    // their digests.
    escribe(copia("CAMBIOS.TXT"), cambios);
    esquema->ejecuta("UPDATE MV_TARVELO SET Precio = '000099000' WHERE Codigo = 2 AND CodInterno = "
                     "'000000106'");
    lote->InicializaFormulario();
    v = verificador.Verifica(2);
    EXPECT_EQ(v.estado, ResultadoVerificacion::Estado::Difieren);
    EXPECT_TRUE(v.lineas.join("\n").contains(
        QStringLiteral("CAMBIOS.TXT, publicación del 2026-03-10 20:00:00.000: se registraron")))
        << v.lineas.join("\n").toStdString();
    esquema->ejecuta("UPDATE MV_TARVELO SET Precio = '000080000' WHERE Codigo = 2 AND CodInterno = "
                     "'000000106'");

    // A regeneration writes the same bytes, records them again and keeps
    // them again; nothing is asked about alerts.
    QFile::remove(copia("CAMBIOS.TXT"));
    lote->InicializaFormulario();
    ventana.campo("Codigo") = "2";
    ASSERT_EQ(lote->CargaLote().estado, ResultadoCarga::Estado::Cargado);
    op.limpia();
    op.responde(Operador::Si).responde(Operador::No);
    Reloj::fijaAhora(QDateTime(kHoy, QTime(21, 0)));
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Regenerado);
    EXPECT_EQ(op.preguntas().size(), 2);
    EXPECT_EQ(lee(rutaCambios()), cambios);
    EXPECT_EQ(lee(rutaBalanza()), balanza);
    EXPECT_EQ(lee(copia("CAMBIOS.TXT")), cambios);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_ARCHIVOS WHERE Codigo = 2"), 4);
    lote->InicializaFormulario();
    v = verificador.Verifica(2);
    EXPECT_EQ(v.estado, ResultadoVerificacion::Estado::Iguales)
        << v.lineas.join("\n").toStdString();
    lote->InicializaFormulario();
    EXPECT_EQ(verificador.Verifica(77).estado, ResultadoVerificacion::Estado::NoExiste);
}

// The history folder is never followed through a link: the batch still goes
// out, the operator is told, and nothing lands where the link points.
TEST_P(AlertasEHistorialTest, UnEnlaceEnElHistorialNoSeSigue) {
    QTemporaryDir ajena;
    ASSERT_TRUE(QFile::link(ajena.path(), carpeta.path() + "/historial"));
    op.responde(Operador::Si).responde(Operador::Aceptar).responde(Operador::No);
    ASSERT_EQ(lote->Genera().estado, ResultadoGeneracion::Estado::Generado);
    EXPECT_TRUE(op.sinGuion().isEmpty());
    EXPECT_TRUE(op.preguntas()[1].texto.startsWith(GeneradorLote::kSinHistorial.arg("").trimmed()))
        << op.preguntas()[1].texto.toStdString();
    EXPECT_TRUE(QDir(ajena.path()).isEmpty());
    EXPECT_TRUE(QFile::exists(rutaCambios()));
    // Recorded all the same; verificar says the copy cannot be read.
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_ARCHIVOS WHERE Codigo = 2"), 2);
    lote->InicializaFormulario();
    const ResultadoVerificacion v = VerificadorLote(*lote).Verifica(2);
    EXPECT_EQ(v.estado, ResultadoVerificacion::Estado::Difieren);
}

INSTANTIATE_TEST_SUITE_P(Motores, AlertasEHistorialTest, valoresMotores(), nombreMotor);

// A run stopped after its commit, before it kept its copies and renamed its
// files: the next run keeps the copies from the same temporary files, then
// publishes them. The history folder may not exist yet (the list's first
// batch in that folder): it is created as any generation creates it.
TEST_P(AlertasEHistorialTest, UnLoteSinPublicarGuardaSusCopiasAlPublicarse) {
    generaAceptando();
    const QByteArray cambios = lee(rutaCambios());
    const QByteArray balanza = lee(rutaBalanza());
    ASSERT_TRUE(QDir(carpeta.path() + "/historial").removeRecursively());
    QFile::remove(rutaCambios());
    const QString temporal = rutaCambios() + ".999.tmp";
    const QString temporalBalanza = rutaBalanza() + ".999.tmp";
    escribe(temporal, cambios);
    escribe(temporalBalanza, balanza);
    QSqlQuery q(esquema->conexion());
    ASSERT_TRUE(q.prepare("INSERT INTO MV_TARVELO_PENDIENTE (Codigo, Destino, Temporal, "
                          "DestinoBalanza, TemporalBalanza) VALUES (2, ?, ?, ?, ?)"));
    for (const QString& v : {rutaCambios(), temporal, rutaBalanza(), temporalBalanza}) {
        q.addBindValue(v);
    }
    ASSERT_TRUE(q.exec());
    const QStringList avisos = lote->PublicaPendientes();
    ASSERT_EQ(avisos.size(), 1) << avisos.join("\n").toStdString();
    EXPECT_EQ(lee(rutaCambios()), cambios);
    EXPECT_EQ(lee(copia("CAMBIOS.TXT")), cambios);
    EXPECT_EQ(lee(copia("BALANZA.TXT")), balanza);
    lote->InicializaFormulario();
    EXPECT_EQ(VerificadorLote(*lote).Verifica(2).estado, ResultadoVerificacion::Estado::Iguales);
}

// The note of a batch to publish keeps each file's final and temporary
// names in publication order; a batch with more files than the note has room
// for is refused, never noted without some of them.
TEST_P(AlertasEHistorialTest, LaNotaDePublicacionGuardaCadaArchivo) {
    PublicacionPendiente p;
    p.codigo = 7;
    p.archivos = {{"/n/CAMBIOS.TXT", "/n/CAMBIOS.TXT.1.tmp"},
                  {"/n/BALANZA.TXT", "/n/BALANZA.TXT.1.tmp"}};
    repositorio->AnotaPublicacion(p);
    const std::vector<PublicacionPendiente> leidas = repositorio->PublicacionesPendientes();
    ASSERT_EQ(leidas.size(), 1u);
    EXPECT_EQ(leidas[0].codigo, 7);
    ASSERT_EQ(leidas[0].archivos.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(leidas[0].archivos[i].destino, p.archivos[i].destino);
        EXPECT_EQ(leidas[0].archivos[i].temporal, p.archivos[i].temporal);
    }
    repositorio->PublicacionHecha(7);

    p.archivos.push_back({"/n/OTRO.TXT", "/n/OTRO.TXT.1.tmp"});
    EXPECT_THROW(repositorio->AnotaPublicacion(p), FalloKX);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_PENDIENTE"), 0);
}

// A database made before the program's own tables: the first generation
// creates them and records in them.
TEST_P(AlertasEHistorialTest, LasTablasPropiasSeCreanAlPrimerUso) {
    for (const char* t : {"MV_TARVELO_ARCHIVOS", "MV_TARVELO_ALERTAS", "MV_TARVELO_PENDIENTE",
                          "MV_TARVELO_CARGAS"}) {
        base().ejecutaDirecto(QStringLiteral("DROP TABLE ") + t);
    }
    generaAceptando();
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_ARCHIVOS WHERE Codigo = 2"), 2);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_ALERTAS WHERE Codigo = 2"), 3);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_PENDIENTE"), 0);
    EXPECT_EQ(cuenta("SELECT COUNT(*) FROM MV_TARVELO_CARGAS WHERE Codigo = 2"), 1);
}
