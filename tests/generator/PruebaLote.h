#pragma once

#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "OperadorGuion.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/ImpresorTestigo.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "progress/CartelSilencioso.h"
#include "runtime/Configuracion.h"
#include "runtime/ValoresGlobales.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

#include <QDate>
#include <QTemporaryDir>
#include <memory>

// Records the reports asked for.
struct ImpresorPrueba : ImpresorTestigo {
    QList<bool> pedidos;
    void ImprimeTestigo(bool etiquetas) override { pedidos << etiquetas; }
};

// A fresh database with the suite's schema and the demo's configuration
// (sale class 1, offer class 2, suggested class 3, VAT 21, kilogram unit KG),
// the window's state with its batch logic, a scripted operator, a silent
// banner and a fixed day: 10 March 2026.
class PruebaLote : public PruebaPorMotor {
protected:
    static inline const QDate kHoy = QDate(2026, 3, 10);

    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        esquema = std::make_unique<EsquemaPrueba>();
        ASSERT_TRUE(esquema->creaEsquema());
        esquema->configuracionDemo();
        ModGlobal::CargaConfiguracion(QString());
        ModGlobal::gUsuarioLogeado = QStringLiteral("OPERADOR");
        Reloj::fijaHoy(kHoy);
        fijaOperador(&op);
        repositorio = std::make_unique<RepositorioLoteSql>(db());
        lote =
            std::make_unique<LoteNovedades>(ventana, *repositorio, cartel, &ParametrosConfigurados);
        lote->fijaImpresor(&impresor);
        lote->InicializaFormulario();
        ASSERT_TRUE(carpeta.isValid());
    }

    void TearDown() override {
        lote.reset();
        repositorio.reset();
        fijaOperador(nullptr);
        Reloj::fijaHoy(QDate());
        Reloj::fijaAhora(QDateTime());
        esquema.reset();
        PruebaPorMotor::TearDown();
    }

    // The list as the window leaves it after its validation.
    void eligeLista(const QString& lista, const QString& nombre) {
        ventana.campo(QStringLiteral("IdLista")) = lista;
        ventana.fijaLista(ListaPrecios{lista.trimmed(), nombre});
        lote->HabilitaEdicion(true);
    }

    QString rutaCambios() const { return carpeta.path() + QStringLiteral("/CAMBIOS.TXT"); }
    QString rutaBalanza() const { return carpeta.path() + QStringLiteral("/BALANZA.TXT"); }

    // Grid rows below the header, as lists of cells.
    QList<QStringList> filas() const {
        QList<QStringList> r;
        for (int f = 1; f < ventana.grilla.Rows(); ++f) {
            r << ventana.grilla.Fila(f);
        }
        return r;
    }
    QString celda(int fila, int col) const { return ventana.grilla.Texto(fila, col); }

    QStringList preguntas() const {
        QStringList r;
        for (const auto& p : op.preguntas()) {
            r << p.texto;
        }
        return r;
    }

    static QString fechaCorta(const QDate& d) { return Regional::fechaCorta(d); }

    std::unique_ptr<EsquemaPrueba> esquema;
    EstadoVentana ventana;
    CartelSilencioso cartel;
    OperadorGuion op;
    ImpresorPrueba impresor;
    std::unique_ptr<RepositorioLoteSql> repositorio;
    std::unique_ptr<LoteNovedades> lote;
    QTemporaryDir carpeta;
};
