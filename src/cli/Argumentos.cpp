#include "cli/Argumentos.h"

#include <QCommandLineParser>

std::optional<QString> Argumentos::valor(const char* opcion) const {
    const auto it = valores.find(QLatin1String(opcion));
    if (it == valores.end()) {
        return std::nullopt;
    }
    return *it;
}

bool LeeArgumentos(const QStringList& args, const FormaComando& forma, Argumentos& a,
                   QTextStream& err) {
    QStringList palabras = args;
    if (!palabras.isEmpty() && palabras.first().compare(forma.nombre, Qt::CaseInsensitive) == 0) {
        palabras.removeFirst();
    }
    const auto falla = [&](const QString& motivo) {
        err << motivo << Qt::endl << "Vea tarvelo-lote " << forma.nombre << " --help" << Qt::endl;
        return false;
    };
    QCommandLineParser p;
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption ayuda(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    p.addOption(ayuda);
    for (const QString& nombre : forma.conValor + forma.repetibles) {
        p.addOption(QCommandLineOption(nombre, QString(), QStringLiteral("valor")));
    }
    for (const QString& nombre : forma.banderas) {
        p.addOption(QCommandLineOption(nombre));
    }
    p.addPositionalArgument(QStringLiteral("argumento"), QString());
    if (!p.parse(QStringList{QStringLiteral("tarvelo-lote")} + palabras)) {
        if (!p.unknownOptionNames().isEmpty()) {
            return falla(QStringLiteral("Opcion desconocida: --") + p.unknownOptionNames().first());
        }
        return falla(QStringLiteral("Falta el valor de ") +
                     (palabras.isEmpty() ? QString() : palabras.last()));
    }
    a = Argumentos{};
    a.ayuda = p.isSet(ayuda);
    for (const QString& nombre : forma.conValor) {
        if (p.isSet(nombre)) {
            a.valores[nombre] = p.value(nombre);
        }
    }
    for (const QString& nombre : forma.banderas) {
        if (p.isSet(nombre)) {
            a.banderas.insert(nombre);
        }
    }
    // The repeated options in the order they were written, whichever their kind.
    QMap<QString, int> vistos;
    for (const QString& w : std::as_const(palabras)) {
        for (const QString& nombre : forma.repetibles) {
            const QString largo = QStringLiteral("--") + nombre;
            if (w == largo || w.startsWith(largo + QLatin1Char('='))) {
                a.repetidos << qMakePair(nombre, p.values(nombre).value(vistos[nombre]++));
            }
        }
    }
    const QStringList posicionales = p.positionalArguments();
    if (posicionales.size() > 1 && !forma.variasPalabras) {
        return falla(QStringLiteral("Argumento inesperado: ") + posicionales[1]);
    }
    a.posicional = posicionales.join(QLatin1Char(' ')).trimmed();
    if (!a.ayuda && a.posicional.isEmpty() && !forma.faltaPosicional.isEmpty()) {
        return falla(forma.faltaPosicional);
    }
    return true;
}
