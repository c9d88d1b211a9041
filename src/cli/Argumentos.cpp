#include "cli/Argumentos.h"

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
    a = Argumentos{};
    QStringList posicionales;
    // Every word once, in order: an option is taken only as it is written
    // in the command's form (two dashes, its exact name); any other word
    // that starts with a dash is refused, never skipped.
    bool soloPosicionales = false;
    for (qsizetype i = 0; i < palabras.size(); ++i) {
        const QString& w = palabras[i];
        if (soloPosicionales || !w.startsWith(QLatin1Char('-')) || w == QLatin1String("-")) {
            posicionales << w;
            continue;
        }
        if (w == QLatin1String("--")) {
            soloPosicionales = true; // what follows is no option, whatever it starts with
            continue;
        }
        if (w == QLatin1String("-h") || w == QLatin1String("--help")) {
            a.ayuda = true;
            continue;
        }
        if (!w.startsWith(QLatin1String("--"))) {
            return falla(QStringLiteral("Opcion desconocida: %1 (las opciones se escriben con "
                                        "dos guiones)")
                             .arg(w));
        }
        QString nombre = w.mid(2);
        std::optional<QString> valor;
        if (const qsizetype igual = nombre.indexOf(QLatin1Char('=')); igual >= 0) {
            valor = nombre.mid(igual + 1);
            nombre.truncate(igual);
        }
        const bool repetible = forma.repetibles.contains(nombre);
        if (forma.banderas.contains(nombre)) {
            if (valor) {
                return falla(QStringLiteral("La opcion --%1 no lleva valor: %2").arg(nombre, w));
            }
            if (a.banderas.contains(nombre)) {
                return falla(QStringLiteral("La opcion --%1 se dio dos veces").arg(nombre));
            }
            a.banderas.insert(nombre);
            continue;
        }
        if (!repetible && !forma.conValor.contains(nombre)) {
            return falla(QStringLiteral("Opcion desconocida: %1").arg(w));
        }
        if (!valor) {
            // The next word is the value, unless it is another option.
            if (i + 1 >= palabras.size() || palabras[i + 1].startsWith(QLatin1String("--"))) {
                return falla(QStringLiteral("Falta el valor de --%1").arg(nombre));
            }
            valor = palabras[++i];
        }
        if (repetible) {
            a.repetidos << qMakePair(nombre, *valor);
        } else if (a.valores.contains(nombre)) {
            return falla(QStringLiteral("La opcion --%1 se dio dos veces").arg(nombre));
        } else {
            a.valores.insert(nombre, *valor);
        }
    }
    if (posicionales.size() > 1 && !forma.variasPalabras) {
        return falla(QStringLiteral("Argumento inesperado: ") + posicionales[1]);
    }
    a.posicional = posicionales.join(QLatin1Char(' ')).trimmed();
    if (!a.ayuda && a.posicional.isEmpty() && !forma.faltaPosicional.isEmpty()) {
        err << forma.faltaPosicional << Qt::endl
            << "Vea tarvelo-lote " << forma.nombre << " --help" << Qt::endl;
        return false;
    }
    return true;
}
