#pragma once

// The main window on a test database, driven as the operator drives it.
#include "BaseDePrueba.h"
#include "EsquemaPrueba.h"
#include "OperadorGuion.h"
#include "cli/ComandoLote.h"
#include "generator/EstadoVentana.h"
#include "generator/FilaNovedad.h"
#include "generator/LoteNovedades.h"
#include "generator_sql/ParametrosConfigurados.h"
#include "generator_sql/RepositorioLoteSql.h"
#include "main_window/ArranqueTarvelo.h"
#include "main_window/CamposVentana.h"
#include "main_window/ConsultasVentana.h"
#include "main_window/FrmTarvelo.h"
#include "main_window/ModeloGrilla.h"
#include "main_window/ValidaCampo.h"
#include "progress_ui/CartelEnPantalla.h"
#include "progress_ui/VentanaCartel.h"
#include "runtime/ModGlobal.h"
#include "utility_library/Reloj.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

// A lookup engine with scripted choices that records every request.
class ConsultasGuion : public ConsultasVentana {
public:
    QString Consulta(const PedidoConsulta& pedido) override {
        pedidos << pedido;
        return respuestas.isEmpty() ? QString() : respuestas.takeFirst();
    }
    QList<PedidoConsulta> pedidos;
    QStringList respuestas;
};

inline const QDate kHoy(2026, 3, 10);

class VentanaTest : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        Reloj::fijaHoy(kHoy);
        fijaOperador(&op);
        Dll_Display::fijaInstancia(&cartel);
        ModGlobal::gColorFondo = 0xFFFF00;
    }
    void TearDown() override {
        ventana.reset();
        lote.reset();
        repositorio.reset();
        fijaOperador(nullptr);
        Dll_Display::fijaInstancia(nullptr);
        Reloj::fijaHoy(QDate());
        PruebaPorMotor::TearDown();
    }

    // The window on the demo database (or on the bare schema).
    // The window on the demo database (or on the bare schema), after the
    // configuration is read as start-up reads it.
    void abre(bool demo = true, const std::function<void(EsquemaPrueba&)>& antes = {}) {
        EsquemaPrueba e;
        if (demo) {
            ASSERT_GT(e.creaConDemo(kHoy).pendientes, 0);
        } else {
            ASSERT_TRUE(e.creaEsquema());
        }
        if (antes) {
            antes(e);
        }
        ModGlobal::CargaConfiguracion(base().carpeta());
        abreVentana();
    }
    void abreVentana() {
        repositorio = std::make_unique<RepositorioLoteSql>(db());
        lote =
            std::make_unique<LoteNovedades>(estado, *repositorio, cartel, &ParametrosConfigurados);
        ventana = std::make_unique<FrmTarvelo>(*lote, &consultas);
        ventana->Carga();
        ventana->show();
        ventana->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(ventana.get()));
    }

    QLineEdit* campo(const QString& nombre) const {
        return ventana->findChild<QLineEdit*>(QStringLiteral("txtfields_") + nombre);
    }
    template <class T = QPushButton> T* control(const QString& nombre) const {
        return ventana->findChild<T*>(nombre);
    }
    QString etiqueta(const QString& nombre) const { return control<QLabel>(nombre)->text(); }
    // Types into the field as the operator does: focus, then the keys.
    void escribe(const QString& nombre, const QString& texto) {
        QLineEdit* e = campo(nombre);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, texto);
    }
    // Window events (the keyboard coming back after the banner) run as they
    // would between two keys.
    void enter(const QString& nombre) {
        QTest::keyClick(campo(nombre), Qt::Key_Return);
        QApplication::processEvents();
    }
    void escribeYEnter(const QString& nombre, const QString& texto) {
        escribe(nombre, texto);
        enter(nombre);
    }
    void clic(const QString& nombre) {
        QAbstractButton* b = control<QAbstractButton>(nombre);
        ASSERT_TRUE(b) << nombre.toStdString();
        ASSERT_TRUE(b->isEnabled()) << nombre.toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
        QApplication::processEvents();
    }
    QString enfocado() const {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }
    // A new batch under the proposed code, with list 1 accepted.
    void nuevoLoteConLista() {
        enter("Codigo");
        enter("Fecha");
        escribeYEnter("IdLista", "1");
    }
    QString ultimoMensaje() const {
        return op.preguntas().isEmpty() ? QString() : op.preguntas().last().texto;
    }

    OperadorGuion op;
    CartelEnPantalla cartel;
    EstadoVentana estado;
    ConsultasGuion consultas;
    std::unique_ptr<RepositorioLoteSql> repositorio;
    std::unique_ptr<LoteNovedades> lote;
    std::unique_ptr<FrmTarvelo> ventana;
};

inline QByteArray lee(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no existe>");
}
