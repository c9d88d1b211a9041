#include "generator/EstadoVentana.h"

#include "generator/FilaNovedad.h"
#include "utility_library/ErrorKX.h"
#include "utility_library/QlFields.h"

const QStringList EstadoVentana::kCamposDeDatos = {
    QStringLiteral("Codigo"),   QStringLiteral("Fecha"), QStringLiteral("IdLista"),
    QStringLiteral("ArtDesde"), QStringLiteral("Letra"), QStringLiteral("ArtHasta")};
const QString EstadoVentana::kSinRuta = QStringLiteral("...");
const QString EstadoVentana::kPrefijoLista = QStringLiteral("Lista de Precios: ");

namespace {

// What a mode does with a control.
enum Regla : char {
    No,   // disabled
    Si,   // enabled
    Ruta, // enabled while the path label holds a path
    Foco, // enabled while the focused field has a lookup
};

struct FilaModos {
    ControlVentana control;
    Regla inicial, edicion, regeneracion;
};

// The window's modes side by side. NUEVO stays on outside regeneration, so
// that after leaving a reloaded batch the toolbar is whole again; PLANILLA,
// BORRAR and GRABAR do nothing in this window and are never offered.
constexpr FilaModos kModos[kControlesVentana] = {
    {ControlVentana::CampoCodigo, Si, No, No}, {ControlVentana::CamposEdicion, No, Si, No},
    {ControlVentana::Examinar, No, Si, No},    {ControlVentana::Buscar, No, Si, No},
    {ControlVentana::Manual, No, Si, No},      {ControlVentana::Cargar, No, Si, No},
    {ControlVentana::Generar, Ruta, Ruta, Si}, {ControlVentana::Etiquetas, Ruta, Ruta, Si},
    {ControlVentana::Nuevo, Si, Si, No},       {ControlVentana::Borrar, No, No, No},
    {ControlVentana::Reporte, No, No, Si},     {ControlVentana::Consultar, Foco, Foco, No},
    {ControlVentana::Planilla, No, No, No},    {ControlVentana::Grabar, No, No, No},
    {ControlVentana::Cancelar, No, Si, Si},    {ControlVentana::Cerrar, Si, No, No},
};

constexpr bool tablaEnOrden() {
    for (int i = 0; i < kControlesVentana; ++i) {
        if (int(kModos[i].control) != i) {
            return false;
        }
    }
    return true;
}
static_assert(tablaEnOrden(), "one row per control, in the order of ControlVentana");

} // namespace

EstadoVentana::EstadoVentana()
    : campos(kCamposDeDatos.size()), textoLista(kPrefijoLista), textoRuta(kSinRuta),
      ayudaRuta(kSinRuta) {
    notificada_ = vista();
}

void EstadoVentana::fijaLista(const std::optional<ListaPrecios>& lista) {
    lista_ = lista;
    textoLista = kPrefijoLista + (lista ? lista->nombre : QString());
}

int EstadoVentana::indiceCampo(const QString& campoDeDatos) const {
    const int i = QlFields::IndiceCampo(campoDeDatos, kCamposDeDatos);
    if (i < 0) {
        throw FalloKX(340, QStringLiteral("La ventana no tiene el campo '%1'").arg(campoDeDatos),
                      QStringLiteral("txtfields"));
    }
    return i;
}

QString& EstadoVentana::campo(const QString& campoDeDatos) {
    return campos[indiceCampo(campoDeDatos)];
}

QString EstadoVentana::campo(const QString& campoDeDatos) const {
    return campos[indiceCampo(campoDeDatos)];
}

void EstadoVentana::fijaRuta(const QString& ruta) {
    textoRuta = ruta;
    ayudaRuta = ruta;
}

bool EstadoVentana::hayRuta() const {
    return textoRuta.compare(kSinRuta, Qt::CaseInsensitive) != 0;
}

bool EstadoVentana::habilitado(ControlVentana c) const {
    if (ocupado_) {
        return false;
    }
    const FilaModos& f = kModos[int(c)];
    const Regla r = modo_ == ModoVentana::Inicial   ? f.inicial
                    : modo_ == ModoVentana::Edicion ? f.edicion
                                                    : f.regeneracion;
    switch (r) {
    case Si:
        return true;
    case Ruta:
        return hayRuta();
    case Foco:
        return consultaPorFoco_;
    case No:
        break;
    }
    return false;
}

int EstadoVentana::FilasCargadas() const {
    int n = 0;
    for (int f = 1; f < grilla.Rows(); ++f) {
        n += FilaNovedad::EnBlanco(grilla, f) ? 0 : 1;
    }
    return n;
}

bool EstadoVentana::campoHabilitado(int indice) const {
    return habilitado(indice == 0 ? ControlVentana::CampoCodigo : ControlVentana::CamposEdicion);
}

bool EstadoVentana::campoHabilitado(const QString& campoDeDatos) const {
    return campoHabilitado(indiceCampo(campoDeDatos));
}

EstadoVentana::Vista EstadoVentana::vista() const {
    Vista v;
    v.campos = campos;
    for (int i = 0; i < kControlesVentana; ++i) {
        v.habilitados[size_t(i)] = habilitado(ControlVentana(i));
    }
    v.textoLista = textoLista;
    v.textoRuta = textoRuta;
    v.textoRecuperacion = textoRecuperacion;
    v.cargaIncompleta = cargaIncompleta;
    v.rangoVisible = rangoVisible;
    v.tipoRango = tipoRango;
    v.rangoSinMarcar = rangoSinMarcar;
    v.progresoMin = progresoMin;
    v.progresoMax = progresoMax;
    v.progresoValor = progresoValor;
    return v;
}

unsigned EstadoVentana::cambiosPendientes() const {
    const Vista a = vista();
    const Vista& n = notificada_;
    unsigned r = 0;
    if (a.campos != n.campos) {
        r |= Campos;
    }
    if (a.habilitados != n.habilitados) {
        r |= Habilitacion;
    }
    if (a.textoLista != n.textoLista || a.textoRuta != n.textoRuta ||
        a.textoRecuperacion != n.textoRecuperacion || a.cargaIncompleta != n.cargaIncompleta) {
        r |= Etiquetas;
    }
    if (a.rangoVisible != n.rangoVisible || a.tipoRango != n.tipoRango ||
        a.rangoSinMarcar != n.rangoSinMarcar) {
        r |= RangoManual;
    }
    if (a.progresoMin != n.progresoMin || a.progresoMax != n.progresoMax ||
        a.progresoValor != n.progresoValor) {
        r |= Progreso;
    }
    return r;
}

void EstadoVentana::avisa() {
    const unsigned cambios = cambiosPendientes();
    if (cambios == 0) {
        return;
    }
    notificada_ = vista();
    if (alCambiar) {
        alCambiar(cambios);
    }
}
