#include "reports/Plantilla.h"

namespace {
const char* const kNombres[kCamposReporte] = {
    "Numero",           "TipoMov",      "CodInterno",    "Descripcion", "Marca",
    "PrecioVenta",      "Precio",       "PrecioCosto",   "CodBarra",    "Pesable",
    "PrecioAnterior",   "LoteAnterior", "Variacion",     "Aviso",       "Titulo",
    "Empresa",          "Codigo",       "IdLista",       "Lista",       "Fecha",
    "RutaArchivo",      "Usuario",      "Retransmitido", "Impreso",     "Filas",
    "RegistrosBalanza", "Avisos",       "HuellaCambios", "HuellaBalanza", "Recuperacion",
    "Pagina",           "Paginas",
};
} // namespace

QString NombreCampo(CampoReporte c) {
    const int i = int(c);
    return i >= 0 && i < kCamposReporte ? QString::fromLatin1(kNombres[i]) : QString();
}

int IndiceCampo(const QString& nombre) {
    for (int i = 0; i < kCamposReporte; ++i) {
        if (nombre.compare(QLatin1String(kNombres[i]), Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

bool Plantilla::lee(const QString& texto, QString& error) {
    partes_.clear();
    QString literal;
    for (int i = 0; i < texto.size(); ++i) {
        if (texto[i] != QLatin1Char('{')) {
            literal += texto[i];
            continue;
        }
        const int cierre = texto.indexOf(QLatin1Char('}'), i + 1);
        if (cierre < 0) {
            error = QStringLiteral("falta la llave de cierre en \"%1\"").arg(texto);
            return false;
        }
        const QString nombre = texto.mid(i + 1, cierre - i - 1).trimmed();
        const int campo = IndiceCampo(nombre);
        if (campo < 0) {
            error = QStringLiteral("el valor {%1} no existe").arg(nombre);
            return false;
        }
        if (!literal.isEmpty()) {
            partes_.push_back({literal, -1});
            literal.clear();
        }
        partes_.push_back({QString(), campo});
        i = cierre;
    }
    if (!literal.isEmpty()) {
        partes_.push_back({literal, -1});
    }
    return true;
}

QString Plantilla::texto(const ValoresReporte& reporte, const ValoresFila* fila) const {
    if (partes_.size() == 1) {
        const Parte& p = partes_.front();
        if (p.campo < 0) {
            return p.literal;
        }
        if (p.campo < kCamposFila) {
            return fila ? (*fila)[p.campo] : QString();
        }
        return reporte[p.campo];
    }
    QString t;
    for (const Parte& p : partes_) {
        if (p.campo < 0) {
            t += p.literal;
        } else if (p.campo < kCamposFila) {
            if (fila) {
                t += (*fila)[p.campo];
            }
        } else {
            t += reporte[p.campo];
        }
    }
    return t;
}

bool Plantilla::usaCifras() const {
    for (const Parte& p : partes_) {
        switch (CampoReporte(p.campo)) {
        case CampoReporte::Numero:
        case CampoReporte::CodInterno:
        case CampoReporte::PrecioVenta:
        case CampoReporte::Precio:
        case CampoReporte::PrecioCosto:
        case CampoReporte::CodBarra:
        case CampoReporte::PrecioAnterior:
        case CampoReporte::LoteAnterior:
        case CampoReporte::Variacion:
        case CampoReporte::Codigo:
        case CampoReporte::IdLista:
        case CampoReporte::Fecha:
        case CampoReporte::Retransmitido:
        case CampoReporte::Impreso:
        case CampoReporte::Filas:
        case CampoReporte::RegistrosBalanza:
        case CampoReporte::Avisos:
        case CampoReporte::HuellaCambios:
        case CampoReporte::HuellaBalanza:
        case CampoReporte::Pagina:
        case CampoReporte::Paginas:
            return true;
        default:
            break;
        }
    }
    return false;
}

bool Plantilla::usaFila() const {
    for (const Parte& p : partes_) {
        if (p.campo >= 0 && p.campo < kCamposFila) {
            return true;
        }
    }
    return false;
}
