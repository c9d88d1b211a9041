#pragma once

#include "generator/CabeceraLote.h"
#include "generator/EstadosAlCargar.h"
#include "generator/GrillaLote.h"
#include "generator/ListaPrecios.h"
#include "generator/VentanaCarga.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

// The three states of the main window.
enum class ModoVentana {
    Inicial,      // only the code field: a new batch is about to be chosen
    Edicion,      // a new batch is being prepared: header fields and loaders
    Regeneracion, // a stored batch was reloaded: generate it again or print it
};

// What the window switches on and off, one entry per control or toolbar command.
enum class ControlVentana {
    CampoCodigo,
    CamposEdicion, // every input field after the code
    Examinar,
    Buscar,
    Manual,
    Cargar,
    Generar,
    Etiquetas,
    Nuevo,
    Borrar,
    Reporte,
    Consultar,
    Planilla,
    Grabar,
    Cancelar,
    Cerrar,
};
inline constexpr int kControlesVentana = int(ControlVentana::Cerrar) + 1;

// What the batch logic reads from and writes to the main window: the input
// fields (found by their data field names), the labels, the range frame, the
// enabled state of buttons and toolbar commands, the progress bar and the
// grid. The window shows this state and forwards its events; the unattended
// command fills it directly.
class EstadoVentana {
public:
    // Data field names of the input fields, in the order of the field array.
    static const QStringList kCamposDeDatos; // Codigo, Fecha, IdLista, ArtDesde, Letra, ArtHasta
    static const QString kSinRuta;           // "..."
    static const QString kPrefijoLista;      // "Lista de Precios: "

    EstadoVentana();

    // The field bound to `campoDeDatos` (without regard to case); throws FalloKX
    // when the window has no such field.
    QString& campo(const QString& campoDeDatos);
    QString campo(const QString& campoDeDatos) const;
    int indiceCampo(const QString& campoDeDatos) const;

    // The path label: text and tooltip. Outside regeneration "&Generar" and
    // "Etiquetas" follow it: enabled exactly when it holds a path (anything but "...").
    void fijaRuta(const QString& ruta);
    bool hayRuta() const;

    // --- modes: one table says what each mode enables
    ModoVentana modo() const { return modo_; }
    void fijaModo(ModoVentana modo) { modo_ = modo; }
    bool habilitado(ControlVentana c) const;
    bool campoHabilitado(const QString& campoDeDatos) const;
    bool campoHabilitado(int indice) const;
    // CONSULTAR follows the focused field: on exactly when it has a lookup.
    void fijaConsultaPorFoco(bool hay) { consultaPorFoco_ = hay; }
    // While a load or a generation runs, nothing that would start another
    // command is enabled (the window's events still run, for the banner).
    void fijaOcupado(bool ocupado) { ocupado_ = ocupado; }
    bool ocupado() const { return ocupado_; }

    // --- change notices, by area, so the view repaints only what changed
    enum Area : unsigned {
        Campos = 1,       // texts of the input fields
        Habilitacion = 2, // enabled state of fields, buttons and commands
        Etiquetas = 4,    // list, path and catch-up labels, the incomplete load's notice
        RangoManual = 8,  // range frame: visible, kind, no-mark box
        Progreso = 16,    // progress bar
        Todo = 31,
    };

    // Input fields, by index (see kCamposDeDatos).
    QStringList campos;

    // The list the IdLista field was last confirmed with; none until a list
    // is confirmed. The list label shows its name (textoLista).
    const std::optional<ListaPrecios>& lista() const { return lista_; }
    void fijaLista(const std::optional<ListaPrecios>& lista);

    QString textoLista;
    QString textoRuta;
    QString ayudaRuta;
    // Above the grid: the days without a batch whose offers the pending
    // load took (empty: none).
    QString textoRecuperacion;

    // Range frame of the manual loader.
    bool rangoVisible = false;
    QString tipoRango = QStringLiteral("Articulo");
    bool rangoSinMarcar = false;

    // Progress bar.
    int progresoMin = 0;
    int progresoMax = 100;
    int progresoValor = 0;

    // Set by the batch reload: the grid holds a stored batch whose Id cells
    // name MV_TARVELO rows, and "&Generar" regenerates it. Cleared whenever the
    // window returns to its initial state.
    bool loteRecargado = false;

    GrillaLote grilla;
    // The header the grid's rows were loaded with; none while the grid holds
    // no load. The generation writes this header, whatever the fields say now.
    std::optional<CabeceraLote> cabecera;
    // "Carga incompleta: N de M filas" when the grid's load ended on a
    // failure before reading its whole source; empty otherwise. The window
    // shows it, and a generation asks before sending such a grid.
    QString cargaIncompleta;
    // Rows with something loaded (a new batch's rows, not yet generated, or a
    // reloaded batch's).
    int FilasCargadas() const;
    // Set by a pending load that ran to its end, for the rows it loaded:
    // the day it loaded for and the days it caught up on. A new batch of
    // these rows records the day with itself. None for a range loaded on
    // its own or a reloaded batch; cleared with the grid.
    std::optional<VentanaCarga> cargaPendiente;
    // The state each loaded price row (by its ID) had when it was read: the
    // generation marks a row as sent only while it is still in that state.
    EstadosAlCargar estadosAlCargar;
    // The regular price (thousandths) of each loaded price row (by its ID)
    // whose price is an offer: an offer at or above it alerts.
    QHash<qint64, qint64> regularesDeOferta;

    // Called with the areas that changed since the last notice; the logic
    // calls avisa() after it changed something the window shows. The grid
    // tells its own view (GrillaLote::Observador).
    std::function<void(unsigned areas)> alCambiar;
    void avisa();
    // What avisa() would report now.
    unsigned cambiosPendientes() const;

private:
    struct Vista {
        QStringList campos;
        std::array<bool, kControlesVentana> habilitados{};
        QString textoLista, textoRuta, textoRecuperacion, cargaIncompleta;
        bool rangoVisible = false;
        QString tipoRango;
        bool rangoSinMarcar = false;
        int progresoMin = 0, progresoMax = 0, progresoValor = 0;
    };
    Vista vista() const;

    std::optional<ListaPrecios> lista_;
    ModoVentana modo_ = ModoVentana::Inicial;
    bool consultaPorFoco_ = false;
    bool ocupado_ = false;
    Vista notificada_;
};
