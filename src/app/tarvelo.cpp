// tarvelo: started by the suite's menu with its command line, or by hand
// (the connection dialog then asks for what is missing).
#include "demo/ComandosDemo.h"
#include "connection_dialog/DialogoConexionQt.h"
#include "runtime/IniciaAplicacion.h"
#include "utility_library/Operador.h"
#include "runtime/OperadorQt.h"
#include "utility_library/Programa.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextStream>
#include <QVBoxLayout>

namespace {

// Start-up's report in a fixed-width box, so its columns line up.
void MuestraInforme(const QString& informe) {
    QDialog d;
    d.setWindowTitle(
        QStringLiteral("Generador de novedades de precios para sucursales / Puntos de Venta"));
    auto* texto = new QPlainTextEdit(informe, &d);
    texto->setReadOnly(true);
    texto->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    texto->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok, &d);
    QObject::connect(botones, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    auto* capa = new QVBoxLayout(&d);
    capa->addWidget(texto);
    capa->addWidget(botones);
    d.resize(820, 560);
    d.exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Programa::fijaNombreEjecutable(QStringLiteral("tarvelo"));
    OperadorQt op;
    fijaOperador(&op);
    InstalaDialogoConexion();

    QString informe, errores;
    QTextStream salida(&informe), fallas(&errores);
    const QStringList args = app.arguments().mid(1);
    const int codigo = ComandoInicio(args, ModoInicio::ConDialogo, salida, fallas);
    salida.flush();
    fallas.flush();
    QTextStream out(stdout), err(stderr);
    if (codigo != CodigoInicio::Correcto) {
        err << errores;
        return codigo;
    }
    // The main window arrives with its own issue; meanwhile show what start-up found.
    ComandoResumen(args, salida, fallas);
    salida.flush();
    out << informe;
    out.flush();
    MuestraInforme(informe);
    return 0;
}
