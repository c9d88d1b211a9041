#include "generator/EstadoVentana.h"

#include "utility_library/ErrorKX.h"
#include "utility_library/QlFields.h"

const QStringList EstadoVentana::kCamposDeDatos = {
    QStringLiteral("Codigo"),   QStringLiteral("Fecha"), QStringLiteral("IdLista"),
    QStringLiteral("ArtDesde"), QStringLiteral("Letra"), QStringLiteral("ArtHasta")};
const QString EstadoVentana::kSinRuta = QStringLiteral("...");
const QString EstadoVentana::kPrefijoLista = QStringLiteral("Lista de Precios: ");

EstadoVentana::EstadoVentana()
    : txtfields(kCamposDeDatos.size()), lblLista(kPrefijoLista), lblRuta(kSinRuta),
      lblRutaToolTip(kSinRuta) {
    for (int i = 0; i < kCamposDeDatos.size(); ++i) {
        txtfieldsHabilitado << (i == 0);
    }
}

int EstadoVentana::indiceCampo(const QString& campoDeDatos) const {
    const int i = QlFields::IndiceCampo(campoDeDatos, kCamposDeDatos);
    if (i < 0) {
        throw FalloKX(340,
                      QStringLiteral("Control array element '%1' doesn't exist").arg(campoDeDatos),
                      QStringLiteral("txtfields"));
    }
    return i;
}

QString& EstadoVentana::campo(const QString& campoDeDatos) {
    return txtfields[indiceCampo(campoDeDatos)];
}

QString EstadoVentana::campo(const QString& campoDeDatos) const {
    return txtfields[indiceCampo(campoDeDatos)];
}

bool& EstadoVentana::campoHabilitado(const QString& campoDeDatos) {
    return txtfieldsHabilitado[indiceCampo(campoDeDatos)];
}

void EstadoVentana::fijaRuta(const QString& ruta) {
    lblRuta = ruta;
    lblRutaToolTip = ruta;
    const bool hayRuta = ruta.compare(kSinRuta, Qt::CaseInsensitive) != 0;
    cmdExportarHabilitado = hayRuta;
    CmdEtiquetasHabilitado = hayRuta;
}
