// The header a load or a range uses is always the one the window shows:
// however the operator leaves the list field, a batch never carries one
// list's code with another list's name; lookups open on what the field holds.
#include "VentanaPrueba.h"

#include "generator/CabeceraLote.h"
#include "generator/LoteNovedades.h"

#include <QComboBox>

namespace {

class CabeceraConfirmadaTest : public VentanaTest {
protected:
    static void alt(QWidget* w, Qt::Key tecla) {
        QTest::keyClick(w, tecla, Qt::AltModifier);
        // The button's click comes a moment later, as on screen.
        QTest::qWait(400);
    }
    QString nombreDeLista(const QString& lista) {
        return EsquemaPrueba()
            .valor("SELECT NOMBRE FROM V_MA_PRECIOSCAB WHERE IDLISTA = ?", {lista})
            .toString()
            .trimmed();
    }
};

} // namespace

// A list typed over a confirmed one and left without Enter: Tab and Shift+Tab
// confirm it at once, a click or an access key on "&Cargar" confirms it before
// loading; the load, its label and the stored batch all name the typed list.
TEST_P(CabeceraConfirmadaTest, ListaSinEnterSeConfirmaAntesDeCargar) {
    struct Caso {
        const char* nombre;
        QString primera, segunda;
        std::function<void()> sale; // leaves the field and loads
    };
    const Caso casos[] = {
        {"Tab y Enter", "1", "2",
         [this] {
             QTest::keyClick(campo("IdLista"), Qt::Key_Tab);
             EXPECT_EQ(enfocado(), "cmdCargar");
             EXPECT_TRUE(etiqueta("lblLista").contains(nombreDeLista("2")));
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
         }},
        {"Shift+Tab y Alt+C", "2", "1",
         [this] {
             QTest::keyClick(campo("IdLista"), Qt::Key_Backtab, Qt::ShiftModifier);
             EXPECT_EQ(enfocado(), "txtfields_Fecha");
             EXPECT_TRUE(etiqueta("lblLista").contains(nombreDeLista("1")));
             alt(QApplication::focusWidget(), Qt::Key_C);
         }},
        {"clic en Cargar", "1", "2", [this] { clic("cmdCargar"); }},
        {"Alt+C desde la lista", "2", "1", [this] { alt(campo("IdLista"), Qt::Key_C); }},
    };
    abre();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        op.limpia();
        ventana->InicializaFormulario();
        enter("Codigo");
        enter("Fecha");
        escribeYEnter("IdLista", c.primera);
        ASSERT_TRUE(etiqueta("lblLista").contains(nombreDeLista(c.primera)));
        escribe("IdLista", c.segunda);
        c.sale();
        QApplication::processEvents();
        ASSERT_GT(estado.FilasCargadas(), 0);
        ASSERT_TRUE(estado.cabecera.has_value());
        EXPECT_EQ(estado.cabecera->lista, c.segunda);
        EXPECT_EQ(estado.cabecera->nombreLista, nombreDeLista(c.segunda));
        EXPECT_TRUE(etiqueta("lblLista").contains(nombreDeLista(c.segunda)))
            << etiqueta("lblLista").toStdString();
    }

    // The last load generated: every stored row names its list by its own name.
    op.limpia();
    op.respondeArchivo(base().carpeta());
    clic("cmdExaminar");
    // The demo's short record is sent anyway; no witness.
    op.responde(Operador::Si).responde(Operador::No);
    const QString codigo = campo("Codigo")->text();
    alt(ventana.get(), Qt::Key_G);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !op.preguntas().isEmpty(); }, 5000));
    EsquemaPrueba e;
    EXPECT_GT(e.cuenta("SELECT COUNT(*) FROM MV_TARVELO WHERE Codigo = " + codigo), 0);
    EXPECT_EQ(e.cuenta("SELECT COUNT(*) FROM MV_TARVELO m WHERE m.Codigo = " + codigo +
                       " AND m.Nombre <> (SELECT c.NOMBRE FROM V_MA_PRECIOSCAB c WHERE "
                       "c.IDLISTA = m.IdLista)"),
              0);
}

// A list that is no sales list, or none at all, is refused with the list's
// own message when the load confirms it, and the focus goes back to it.
TEST_P(CabeceraConfirmadaTest, CargaConListaInvalidaDiceQueLeFalta) {
    abre();
    struct Caso {
        QString lista, mensaje;
    };
    for (const Caso& c :
         {Caso{"C1", LoteNovedades::kListaInexistente},
          Caso{"77", LoteNovedades::kListaInexistente}, Caso{"", LoteNovedades::kFaltaLista}}) {
        SCOPED_TRACE(c.lista.toStdString());
        op.limpia();
        ventana->InicializaFormulario();
        enter("Codigo");
        enter("Fecha");
        escribeYEnter("IdLista", "1");
        escribe("IdLista", c.lista);
        alt(campo("IdLista"), Qt::Key_C);
        ASSERT_FALSE(op.preguntas().isEmpty());
        EXPECT_EQ(op.preguntas().last().texto, c.mensaje);
        EXPECT_EQ(estado.FilasCargadas(), 0);
        EXPECT_FALSE(estado.cabecera.has_value());
        EXPECT_EQ(etiqueta("lblLista").trimmed(), EstadoVentana::kPrefijoLista.trimmed());
        EXPECT_EQ(enfocado(), "txtfields_IdLista");
    }
}

// F5 in a range's bounds opens the lookup of the range's kind, on the value
// the field holds; the list's lookup opens on the list.
TEST_P(CabeceraConfirmadaTest, ConsultaSegunElTipoDeRangoYSobreElValor) {
    abre();
    enter("Codigo");
    enter("Fecha");
    escribeYEnter("IdLista", "2");
    consultas.pedidos.clear();
    campo("IdLista")->setFocus();
    QTest::keyClick(campo("IdLista"), Qt::Key_F5);
    ASSERT_EQ(consultas.pedidos.size(), 1);
    EXPECT_EQ(consultas.pedidos[0].valorActual, "2");
    EXPECT_FALSE(consultas.pedidos[0].arbol);
    EXPECT_EQ(campo("IdLista")->text(), "2"); // left without a choice

    struct Caso {
        const char* tipo;
        QString campo, valor;
        QString tipoConsulta, devuelto;
        bool arbol;
    };
    const Caso casos[] = {
        {"Articulo", "ArtDesde", "000010", "V_MA_ARTICULOS", "IDARTICULO", false},
        {"Familia", "ArtDesde", "0101", "V_TA_FAMILIAS", "IDFAMILIA", true},
        {"Familia", "ArtHasta", "02", "V_TA_FAMILIAS", "IDFAMILIA", true},
    };
    alt(ventana.get(), Qt::Key_M);
    ASSERT_TRUE(control<QWidget>("frmManual")->isVisible());
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.tipo) + " " + c.campo.toStdString());
        control<QComboBox>("CmbTipo")->setCurrentText(c.tipo);
        escribe(c.campo, c.valor);
        consultas.pedidos.clear();
        consultas.respuestas = {c.valor + "9"};
        QTest::keyClick(campo(c.campo), Qt::Key_F5);
        QApplication::processEvents();
        ASSERT_EQ(consultas.pedidos.size(), 1);
        const PedidoConsulta& p = consultas.pedidos[0];
        EXPECT_EQ(p.tipo, c.tipoConsulta);
        EXPECT_EQ(p.campoDevuelto, c.devuelto);
        EXPECT_EQ(p.arbol, c.arbol);
        EXPECT_EQ(p.valorActual, c.valor);
        if (c.arbol) {
            EXPECT_TRUE(p.consulta.contains("V_TA_FAMILIAS", Qt::CaseInsensitive));
        }
        EXPECT_EQ(campo(c.campo)->text(), c.valor + "9");
    }
}

INSTANTIATE_TEST_SUITE_P(Motores, CabeceraConfirmadaTest, valoresMotores(), nombreMotor);
