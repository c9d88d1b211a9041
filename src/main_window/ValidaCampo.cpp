#include "main_window/ValidaCampo.h"

#include "generator/CargadorLote.h"
#include "generator/EstadoVentana.h"
#include "generator/LoteNovedades.h"
#include "generator/RepositorioLote.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlUtil.h"
#include "utility_library/Regional.h"
#include "utility_library/Reloj.h"

const QString ValidaCampo::kFaltaCodigo =
    QStringLiteral("Debe ingresar un código para el Generador.");
const QString& ValidaCampo::kFechaInvalida = LoteNovedades::kFechaInvalida;
const QString& ValidaCampo::kFaltaLista = LoteNovedades::kFaltaLista;
const QString& ValidaCampo::kListaInexistente = LoteNovedades::kListaInexistente;

ValidaCampo::Resultado ValidaCampo::rechaza(const QString& mensaje) {
    mensaje_ = mensaje;
    return Resultado::Rechazado;
}

ValidaCampo::Resultado ValidaCampo::Valida(int indice) {
    mensaje_.clear();
    EstadoVentana& v = lote_.ventana();
    const QString nombre = EstadoVentana::kCamposDeDatos.value(indice);
    const QString texto = v.campos.value(indice).trimmed();
    try {
        if (nombre.compare(QLatin1String("Codigo"), Qt::CaseInsensitive) == 0) {
            return Codigo(texto);
        }
        if (nombre.compare(QLatin1String("Fecha"), Qt::CaseInsensitive) == 0) {
            return Fecha();
        }
        if (nombre.compare(QLatin1String("IdLista"), Qt::CaseInsensitive) == 0) {
            return Lista(texto);
        }
        return Resultado::Aceptado;
    } catch (const FalloKX& e) {
        // A failure refuses the field too, but says what failed instead of
        // showing an empty box.
        return rechaza(e.error().descripcion.trimmed().isEmpty()
                           ? QStringLiteral("Error ") + QString::number(e.error().numero)
                           : e.error().descripcion.trimmed());
    } catch (const std::exception& e) {
        return rechaza(QString::fromLocal8Bit(e.what()));
    }
}

ValidaCampo::Resultado ValidaCampo::Codigo(const QString& texto) {
    if (texto.isEmpty()) {
        return rechaza(kFaltaCodigo);
    }
    // Read as the reload and the generation read it, or not at all.
    if (!lote_.LeeCodigo(texto)) {
        return rechaza(CargadorLote::kCodigoInvalido);
    }
    // Entering a code discards whatever was half prepared.
    lote_.InicializaFormulario();
    EstadoVentana& v = lote_.ventana();
    v.campo(QStringLiteral("Codigo")) = texto;
    v.avisa();
    if (lote_.RevisaCodigo(texto).estado == LoteNovedades::EstadoCodigo::Existente) {
        lote_.CargaLote();
        return Resultado::LoteRecargado;
    }
    lote_.HabilitaEdicion(true);
    return Resultado::CodigoNuevo;
}

ValidaCampo::Resultado ValidaCampo::Fecha() {
    return lote_.AceptaFecha() ? Resultado::Aceptado : rechaza(kFechaInvalida);
}

ValidaCampo::Resultado ValidaCampo::Lista(const QString& texto) {
    const LoteNovedades::EleccionLista e = lote_.EligeLista(texto);
    return e == LoteNovedades::EleccionLista::Elegida ? Resultado::Aceptado
                                                      : rechaza(LoteNovedades::MotivoLista(e));
}
