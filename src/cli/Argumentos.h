#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// What a command of tarvelo-lote takes: its options and its one positional
// argument (the suite's command line, or a file).
struct FormaComando {
    QString nombre;
    QStringList conValor;   // --opcion VALOR (or --opcion=VALOR)
    QStringList banderas;   // --opcion
    QStringList repetibles; // --opcion VALOR, any number of times, kept in order
    // Said when the positional argument is missing (the command then fails
    // before anything runs); empty: it may be missing.
    QString faltaPosicional;
    // The positional argument may take several words (joined by blanks).
    bool variasPalabras = false;
};

// The words of one command, as read.
struct Argumentos {
    bool ayuda = false;
    QString posicional;
    QMap<QString, QString> valores;
    QSet<QString> banderas;
    QList<QPair<QString, QString>> repetidos; // (option, value) in the order written

    std::optional<QString> valor(const char* opcion) const;
    bool bandera(const char* opcion) const { return banderas.contains(QLatin1String(opcion)); }
};

// The one reader of every command's words: `args` are the words after the
// program's name (the command's own name first, or already removed). Each
// word is read once, in order. An option is taken only as the form writes it:
// two dashes and its exact name ("--lista 1" or "--lista=1"); -h and --help
// ask for the help; "--" makes every later word positional. False, after
// saying why on `err` and where the help is, on any other word that starts
// with a dash (one dash included: never skipped), an option without its value
// or given twice (a repeatable one excepted), a value for a flag, an
// unexpected word or a missing positional argument.
bool LeeArgumentos(const QStringList& args, const FormaComando& forma, Argumentos& a,
                   QTextStream& err);
