#include "runtime_ui/OperadorQt.h"
#include "DialogoModal.h"
#include "generator/GeneradorLote.h"
#include "runtime_ui/IdiomaQt.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

TEST(OperadorQt, MessageBoxStylesAndAnswers) {
    const struct {
        int estilo;
        QMessageBox::StandardButton boton;
        int respuesta;
        QMessageBox::Icon icono;
        int botones;
    } casos[] = {
        {0, QMessageBox::Ok, 1, QMessageBox::NoIcon, 1},
        {1 + 32, QMessageBox::Cancel, 2, QMessageBox::Question, 2},
        {2 + 16, QMessageBox::Abort, 3, QMessageBox::Critical, 3},
        {18, QMessageBox::Retry, 4, QMessageBox::Critical, 3},
        {18, QMessageBox::Ignore, 5, QMessageBox::Critical, 3},
        {3 + 48, QMessageBox::Yes, 6, QMessageBox::Warning, 3},
        {4 + 64, QMessageBox::No, 7, QMessageBox::Information, 2},
        {5, QMessageBox::Retry, 4, QMessageBox::NoIcon, 2},
    };
    OperadorQt op;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.estilo);
        QString titulo, texto;
        int botones = 0;
        QMessageBox::Icon icono = QMessageBox::NoIcon;
        alAparecer([&, boton = c.boton](QWidget* w) {
            auto* caja = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(caja, nullptr);
            titulo = caja->windowTitle();
            texto = caja->text();
            icono = caja->icon();
            botones = int(caja->buttons().size());
            caja->button(boton)->click();
        });
        EXPECT_EQ(op.MsgBox("uno\rdos", c.estilo, "Titulo"), c.respuesta);
        EXPECT_EQ(titulo, "Titulo");
        EXPECT_EQ(texto, "uno\ndos");
        EXPECT_EQ(icono, c.icono);
        EXPECT_EQ(botones, c.botones);
    }
}

// A question listing thousands of rows shows its first rows and how many
// more, keeps its closing question, fits the screen, and defaults to what
// the style asks (No, for a question whose Yes writes).
TEST(OperadorQt, ListaLargaCabeEnLaPantalla) {
    QStringList lineas{"Hay registros que no respetan el formato fijo:"};
    for (int i = 1; i <= 2000; ++i) {
        lineas << QString("Fila %1: el registro tendría 125 caracteres").arg(i);
    }
    lineas << "¿Desea generar la novedad de todos modos?";
    OperadorQt op;
    QString texto, detalle;
    QRect caja, pantalla;
    QString porDefecto;
    alAparecer([&](QWidget* w) {
        auto* m = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(m, nullptr);
        texto = m->text();
        detalle = m->detailedText();
        caja = m->frameGeometry();
        pantalla = m->screen()->availableGeometry();
        porDefecto = m->defaultButton() ? m->defaultButton()->text() : QString();
        QTest::keyClick(m, Qt::Key_Return);
    });
    EXPECT_EQ(op.MsgBox(lineas.join("\r\n"), 4 + 32 + 256, "ATENCIÓN"), 7);
    const QStringList vistas = texto.split('\n');
    ASSERT_EQ(vistas.size(), 13);
    EXPECT_EQ(vistas[10], "Fila 10: el registro tendría 125 caracteres");
    EXPECT_EQ(vistas[11], "y 1990 más");
    EXPECT_EQ(vistas[12], "¿Desea generar la novedad de todos modos?");
    EXPECT_EQ(detalle.count('\n'), 2001);
    EXPECT_LE(caja.height(), pantalla.height());
    EXPECT_EQ(porDefecto.remove('&'), "No");
}

// The question on alerted prices, as a generation asks it, counts the rows the
// box leaves out by the real number (the list reaches the box whole).
TEST(OperadorQt, PreguntaDeAlertasCuentaLasFilasQueFaltan) {
    QStringList alertas;
    for (int i = 1; i <= 300; ++i) {
        alertas << QString("Fila %1 (0000%1): precio 2,00 bajo costo 3,00").arg(i);
    }
    OperadorQt op;
    QString texto;
    alAparecer([&](QWidget* w) {
        auto* m = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(m, nullptr);
        texto = m->text();
        QTest::keyClick(m, Qt::Key_Return);
    });
    op.MsgBox(GeneradorLote::Alertas(300, alertas), 4 + 32 + 256, "ATENCIÓN");
    const QStringList vistas = texto.split('\n');
    ASSERT_EQ(vistas.size(), 12) << texto.toStdString();
    EXPECT_EQ(vistas[0], "300 precios con alerta: ¿generar de todos modos?");
    EXPECT_EQ(vistas[11], "y 290 más");
    EXPECT_EQ(texto.count("más"), 1);
    EXPECT_EQ(GeneradorLote::Alertas(1, alertas.mid(0, 1)).section("\r\n", 0, 0),
              "1 precio con alerta: ¿generar de todos modos?");
}

// Qt's own texts speak Spanish: buttons and the calendar.
TEST(OperadorQt, TextosDeQtEnCastellano) {
    ASSERT_TRUE(IdiomaQt::Instala(*qApp));
    QMessageBox m;
    EXPECT_EQ(m.addButton(QMessageBox::Yes)->text().remove('&'), "Sí");
    EXPECT_EQ(m.addButton(QMessageBox::Cancel)->text().remove('&'), "Cancelar");
    EXPECT_EQ(m.addButton(QMessageBox::Abort)->text().remove('&'), "Interrumpir");
    EXPECT_EQ(QLocale().monthName(12), "diciembre");
    QCalendarWidget c;
    EXPECT_EQ(c.locale().dayName(1, QLocale::ShortFormat), "lun");
}

TEST(OperadorQt, InputBoxAndDatePicker) {
    OperadorQt op;
    alAparecer([](QWidget* w) {
        auto* d = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(d, nullptr);
        d->setTextValue("escrito");
        d->accept();
    });
    QString valor = "inicial";
    EXPECT_TRUE(op.InputBox("Codigo", "Titulo", valor));
    EXPECT_EQ(valor, "escrito");

    alAparecer([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(op.InputBox("Codigo", "Titulo", valor));
    EXPECT_EQ(valor, "escrito");

    alAparecer([](QWidget* w) {
        w->findChild<QCalendarWidget*>("calendario")->setSelectedDate(QDate(2024, 2, 29));
        qobject_cast<QDialog*>(w)->accept();
    });
    EXPECT_EQ(op.EligeFecha(), QDate(2024, 2, 29));
    alAparecer([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(op.EligeFecha().isValid());
}
