#include "runtime/OperadorQt.h"
#include "DialogoModal.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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
