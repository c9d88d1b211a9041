#pragma once

#include "generator/GrillaLote.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

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
    bool& campoHabilitado(const QString& campoDeDatos);
    int indiceCampo(const QString& campoDeDatos) const;

    // The path label: text and tooltip; "&Generar" and "Etiquetas" are
    // enabled exactly when it holds a path (anything but "...").
    void fijaRuta(const QString& ruta);

    // Input fields, by index (see kCamposDeDatos).
    QStringList txtfields;
    QList<bool> txtfieldsHabilitado;

    QString lblLista;
    QString lblRuta;
    QString lblRutaToolTip;

    // Range frame of the manual loader.
    bool frmManualVisible = false;
    QString CmbTipo = QStringLiteral("Articulo");
    bool chkNoMarcar = false;

    // Buttons.
    bool CmdBuscarHabilitado = false;
    bool cmdCargarHabilitado = false;
    bool cmdManualHabilitado = false;
    bool cmdExaminarHabilitado = false;
    bool cmdExportarHabilitado = false;
    bool CmdEtiquetasHabilitado = false;

    // Command toolbar.
    struct Barra {
        bool NuevoEnabled = true;
        bool BorrarEnabled = false;
        bool ReporteEnabled = false;
        bool ConsultaEnabled = false;
        bool PlanillaEnabled = true;
        bool GrabarEnabled = false;
        bool CancelarEnabled = false;
        bool CerrarEnabled = true;
    } UtilLin1;

    // Progress bar.
    int PBarMin = 0;
    int PBarMax = 100;
    int PBarValor = 0;

    // Set by the batch reload: the grid holds a stored batch whose Id cells
    // name MV_TARVELO rows, and "&Generar" regenerates it. Cleared whenever the
    // window returns to its initial state.
    bool loteRecargado = false;

    GrillaLote MSFlexGrid1;
    // The state each loaded price row (by its ID) had when it was read: the
    // generation marks a row as sent only while it is still in that state.
    QHash<qint64, QString> estadosAlCargar;

    // Called by the logic after it changed something the window shows (the
    // window repaints from this state).
    std::function<void()> alCambiar;
    void avisa() const {
        if (alCambiar) {
            alCambiar();
        }
    }
};
