#include "cli/Comandos.h"

#include "cli/ComandoLote.h"
#include "cli/ComandoTestigo.h"
#include "cli/ComandosBase.h"

const QList<ComandoDeLote>& ComandosLote() {
    static const QList<ComandoDeLote> c = {
        {"crear-base", &ComandoCrearBase, false}, {"resumen", &ComandoResumen, false},
        {"inicio", &ComandoInicioLote, false},    {"generar", &ComandoGenerar, false},
        {"regenerar", &ComandoRegenerar, false},  {"verificar", &ComandoVerificar, false},
        {"testigo", &ComandoTestigo, true},
    };
    return c;
}

const ComandoDeLote* BuscaComando(const QString& nombre) {
    for (const ComandoDeLote& c : ComandosLote()) {
        if (nombre == QLatin1String(c.nombre)) {
            return &c;
        }
    }
    return nullptr;
}

QString AyudaLote() {
    return QStringLiteral(
               "Uso: tarvelo-lote COMANDO [argumentos]\n"
               "\n"
               "Comandos:\n"
               "  crear-base ARCHIVO [--demo] [--hoy AAAA-MM-DD]\n"
               "      Crea una base SQLite con las tablas de la suite (y datos de demostracion).\n"
               "  resumen \"<linea de comando de la suite>\"\n"
               "      Listas de precios, cantidad de articulos y novedades pendientes.\n"
               "  inicio \"<linea de comando de la suite>\"\n"
               "      Ejecuta el inicio del programa sin dialogos e informa lo que encontro.\n") +
           AyudaComandoLote() + QStringLiteral("\n") + AyudaComandoTestigo() +
           QStringLiteral("\n") + CodigosDeSalidaLote();
}
