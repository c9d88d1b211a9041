#include "cli/ComandosBase.h"

#include "cli/Argumentos.h"
#include "cli/Comandos.h"
#include "demo/OperacionesBase.h"
#include "runtime/IniciaAplicacion.h"

namespace {
constexpr int kArgumentos = 2;
} // namespace

int ComandoCrearBase(const QStringList& args, QTextStream& out, QTextStream& err) {
    FormaComando forma;
    forma.nombre = QStringLiteral("crear-base");
    forma.conValor = {QStringLiteral("hoy")};
    forma.banderas = {QStringLiteral("demo")};
    forma.faltaPosicional = QStringLiteral("crear-base: falta el archivo de la base de datos.");
    Argumentos a;
    if (!LeeArgumentos(args, forma, a, err)) {
        return kArgumentos;
    }
    if (a.ayuda) {
        out << AyudaLote();
        return 0;
    }
    QDate hoy;
    if (const auto texto = a.valor("hoy")) {
        hoy = QDate::fromString(texto->trimmed(), QStringLiteral("yyyy-MM-dd"));
        if (!hoy.isValid()) {
            err << "crear-base: la fecha de --hoy debe tener la forma AAAA-MM-DD: " << *texto
                << Qt::endl;
            return kArgumentos;
        }
    }
    return CreaBaseSqlite(a.posicional, a.bandera("demo"), hoy, out, err);
}

int ComandoResumen(const QStringList& args, QTextStream& out, QTextStream& err) {
    FormaComando forma;
    forma.nombre = QStringLiteral("resumen");
    forma.variasPalabras = true;
    forma.faltaPosicional =
        QStringLiteral("resumen: falta la línea de comando de la base de datos.");
    Argumentos a;
    if (!LeeArgumentos(args, forma, a, err)) {
        return kArgumentos;
    }
    if (a.ayuda) {
        out << AyudaLote();
        return 0;
    }
    return ResumeBase(a.posicional, out, err);
}

int ComandoInicioLote(const QStringList& args, QTextStream& out, QTextStream& err) {
    FormaComando forma;
    forma.nombre = QStringLiteral("inicio");
    forma.variasPalabras = true;
    Argumentos a;
    if (!LeeArgumentos(args, forma, a, err)) {
        return kArgumentos;
    }
    if (a.ayuda) {
        out << AyudaLote();
        return 0;
    }
    return ComandoInicio(a.posicional.isEmpty() ? QStringList() : QStringList{a.posicional},
                         ModoInicio::SinDialogo, out, err);
}
