#include "connection_dialog/BasesRegistradas.h"

#include "utility_library/Cp1252.h"

#include <QFile>

QList<QString> BasesRegistradas::Campos(const QString& texto) {
    QList<QString> campos;
    const qsizetype n = texto.size();
    qsizetype i = 0;
    bool esperaCampo = false; // right after a comma a field follows, even an empty one
    auto blanco = [&](qsizetype k) {
        return texto.at(k) == QLatin1Char(' ') || texto.at(k) == QLatin1Char('\t');
    };
    auto finDeLinea = [&](qsizetype k) {
        return texto.at(k) == QLatin1Char('\r') || texto.at(k) == QLatin1Char('\n');
    };
    while (i < n) {
        while (i < n && blanco(i)) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        if (finDeLinea(i)) {
            if (esperaCampo) {
                campos << QString();
                esperaCampo = false;
            }
            ++i; // blank lines hold no field
            continue;
        }
        QString campo;
        if (texto.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n && texto.at(i) != QLatin1Char('"')) {
                campo += texto.at(i++);
            }
            ++i; // the closing quote
            // Anything between the closing quote and the separator is dropped.
            while (i < n && texto.at(i) != QLatin1Char(',') && !finDeLinea(i)) {
                ++i;
            }
        } else {
            while (i < n && texto.at(i) != QLatin1Char(',') && !finDeLinea(i)) {
                campo += texto.at(i++);
            }
            campo = campo.trimmed();
        }
        campos << campo;
        esperaCampo = i < n && texto.at(i) == QLatin1Char(',');
        if (i < n) {
            ++i; // the comma or the line end
        }
    }
    if (esperaCampo) {
        campos << QString();
    }
    return campos;
}

bool BasesRegistradas::Lee(const QString& ruta, QList<Registro>& registros) {
    registros.clear();
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QList<QString> campos = Campos(Cp1252::decodifica(f.readAll()));
    for (qsizetype i = 0; i < campos.size(); i += 5) {
        auto campo = [&](qsizetype k) {
            return i + k < campos.size() ? campos.at(i + k) : QString();
        };
        registros << Registro{campo(0), campo(1), campo(2), campo(3), campo(4)};
    }
    return true;
}

QString BasesRegistradas::Clave(const QString& servidor, const QString& baseDatos) {
    QString claveServidor = servidor.toUpper().trimmed();
    const auto dosPuntos = claveServidor.indexOf(QLatin1Char(':'));
    if (dosPuntos >= 0) {
        claveServidor = claveServidor.left(dosPuntos);
    }
    return baseDatos.toUpper().trimmed() + QStringLiteral(" / ") + claveServidor;
}

bool BasesRegistradas::SeparaPuerto(QString& servidor, QString& puerto) {
    const auto dosPuntos = servidor.indexOf(QLatin1Char(':'));
    if (dosPuntos < 0) {
        return false;
    }
    puerto = servidor.mid(dosPuntos + 1);
    servidor = servidor.trimmed().toUpper();
    servidor = servidor.left(servidor.indexOf(QLatin1Char(':')));
    return true;
}
