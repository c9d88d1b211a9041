#pragma once

#include "toolbar/ComandoUtilLin.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>

class QAction;
class QBoxLayout;
class QSettings;
class QShortcut;
class QToolBar;

// The suite's row of eight window commands with their keys. The host places
// one, switches commands on and off through the …Enabled and …Visible
// properties, lets it hear the window's keys, and receives every command as
// Click with the command's name. What a command does is the host's business.
class UtilLin : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool ConTitulo READ ConTitulo WRITE fijaConTitulo)
    Q_PROPERTY(bool Enabled READ Enabled WRITE fijaEnabled)
    Q_PROPERTY(bool NuevoEnabled READ NuevoEnabled WRITE fijaNuevoEnabled)
    Q_PROPERTY(bool BorrarEnabled READ BorrarEnabled WRITE fijaBorrarEnabled)
    Q_PROPERTY(bool ReporteEnabled READ ReporteEnabled WRITE fijaReporteEnabled)
    Q_PROPERTY(bool ConsultaEnabled READ ConsultaEnabled WRITE fijaConsultaEnabled)
    Q_PROPERTY(bool PlanillaEnabled READ PlanillaEnabled WRITE fijaPlanillaEnabled)
    Q_PROPERTY(bool CancelarEnabled READ CancelarEnabled WRITE fijaCancelarEnabled)
    Q_PROPERTY(bool GrabarEnabled READ GrabarEnabled WRITE fijaGrabarEnabled)
    Q_PROPERTY(bool CerrarEnabled READ CerrarEnabled WRITE fijaCerrarEnabled)
    Q_PROPERTY(bool NuevoVisible READ NuevoVisible WRITE fijaNuevoVisible)
    Q_PROPERTY(bool BorrarVisible READ BorrarVisible WRITE fijaBorrarVisible)
    Q_PROPERTY(bool ReporteVisible READ ReporteVisible WRITE fijaReporteVisible)
    Q_PROPERTY(bool consultarVisible READ consultarVisible WRITE fijaConsultarVisible)
    Q_PROPERTY(bool PlanillaVisible READ PlanillaVisible WRITE fijaPlanillaVisible)
    Q_PROPERTY(bool CancelarVisible READ CancelarVisible WRITE fijaCancelarVisible)
    Q_PROPERTY(bool GrabarVisible READ GrabarVisible WRITE fijaGrabarVisible)
    Q_PROPERTY(bool CerrarVisible READ CerrarVisible WRITE fijaCerrarVisible)
    Q_PROPERTY(qint16 Theme READ Theme WRITE fijaTheme)

public:
    explicit UtilLin(QWidget* padre = nullptr);

    // Raises Click for the command a key code stands for, when that command is
    // enabled (visible or not). Esc raises CANCELAR, or CERRAR when CANCELAR is
    // off. Keys never touch BorrarEnabled; only clicks do.
    void KeyAnalisis(qint16 KeyCode);
    // The window's key presses reach KeyAnalisis whatever widget of `ventana`
    // has the focus, before that widget sees them (F2-F6, F10 and Esc only).
    // A host that forwards keys itself must not call this as well.
    void AtiendeTeclasDe(QWidget* ventana);
    // The suite's key code of a Qt key (Esc 27, Enter 13, F1 112 …); 0 when none.
    static qint16 CodigoTecla(int teclaQt);

    // Builds the bar again from scratch: every flag back to true, the icon
    // strip read anew for the current style.
    void ActualizarBotones();

    bool habilitado(ComandoUtilLin c) const { return habilitados_[indice(c)]; }
    void fijaHabilitado(ComandoUtilLin c, bool valor);
    bool visible(ComandoUtilLin c) const { return visibles_[indice(c)]; }
    void fijaVisible(ComandoUtilLin c, bool valor);

    bool ConTitulo() const { return conTitulo_; }
    void fijaConTitulo(bool valor);
    // Kept and persisted only; the bar does not follow it.
    bool Enabled() const { return enabled_; }
    void fijaEnabled(bool valor);
    // Kept only; a value below 0 or above 2 is kept as 0.
    qint16 Theme() const { return theme_; }
    void fijaTheme(qint16 valor);

    bool NuevoEnabled() const { return habilitado(ComandoUtilLin::Nuevo); }
    bool BorrarEnabled() const { return habilitado(ComandoUtilLin::Borrar); }
    bool ReporteEnabled() const { return habilitado(ComandoUtilLin::Reporte); }
    bool ConsultaEnabled() const { return habilitado(ComandoUtilLin::Consultar); }
    bool PlanillaEnabled() const { return habilitado(ComandoUtilLin::Planilla); }
    bool CancelarEnabled() const { return habilitado(ComandoUtilLin::Cancelar); }
    bool GrabarEnabled() const { return habilitado(ComandoUtilLin::Grabar); }
    bool CerrarEnabled() const { return habilitado(ComandoUtilLin::Cerrar); }
    void fijaNuevoEnabled(bool v) { fijaHabilitado(ComandoUtilLin::Nuevo, v); }
    void fijaBorrarEnabled(bool v) { fijaHabilitado(ComandoUtilLin::Borrar, v); }
    void fijaReporteEnabled(bool v) { fijaHabilitado(ComandoUtilLin::Reporte, v); }
    void fijaConsultaEnabled(bool v) { fijaHabilitado(ComandoUtilLin::Consultar, v); }
    void fijaPlanillaEnabled(bool v) { fijaHabilitado(ComandoUtilLin::Planilla, v); }
    void fijaCancelarEnabled(bool v) { fijaHabilitado(ComandoUtilLin::Cancelar, v); }
    void fijaGrabarEnabled(bool v) { fijaHabilitado(ComandoUtilLin::Grabar, v); }
    void fijaCerrarEnabled(bool v) { fijaHabilitado(ComandoUtilLin::Cerrar, v); }

    bool NuevoVisible() const { return visible(ComandoUtilLin::Nuevo); }
    bool BorrarVisible() const { return visible(ComandoUtilLin::Borrar); }
    bool ReporteVisible() const { return visible(ComandoUtilLin::Reporte); }
    bool consultarVisible() const { return visible(ComandoUtilLin::Consultar); }
    bool PlanillaVisible() const { return visible(ComandoUtilLin::Planilla); }
    bool CancelarVisible() const { return visible(ComandoUtilLin::Cancelar); }
    bool GrabarVisible() const { return visible(ComandoUtilLin::Grabar); }
    bool CerrarVisible() const { return visible(ComandoUtilLin::Cerrar); }
    void fijaNuevoVisible(bool v) { fijaVisible(ComandoUtilLin::Nuevo, v); }
    void fijaBorrarVisible(bool v) { fijaVisible(ComandoUtilLin::Borrar, v); }
    void fijaReporteVisible(bool v) { fijaVisible(ComandoUtilLin::Reporte, v); }
    void fijaConsultarVisible(bool v) { fijaVisible(ComandoUtilLin::Consultar, v); }
    void fijaPlanillaVisible(bool v) { fijaVisible(ComandoUtilLin::Planilla, v); }
    void fijaCancelarVisible(bool v) { fijaVisible(ComandoUtilLin::Cancelar, v); }
    void fijaGrabarVisible(bool v) { fijaVisible(ComandoUtilLin::Grabar, v); }
    void fijaCerrarVisible(bool v) { fijaVisible(ComandoUtilLin::Cerrar, v); }

    // Names of the persisted properties, in the order they are written and read.
    static const QStringList& PropiedadesPersistidas();
    // Writes the persisted properties into the settings' current group; a
    // property at its default (true) is not stored (a stale entry is removed).
    void GuardaPropiedades(QSettings& ajustes) const;
    // Reads them back; a missing or unreadable entry gives true.
    void LeePropiedades(QSettings& ajustes);

    // The bar and its buttons, for the host's layout and for tests.
    QToolBar* barra() const { return barra_; }
    QAction* accion(ComandoUtilLin c) const { return acciones_[indice(c)]; }
    QWidget* boton(ComandoUtilLin c) const;
    // Strip file the icons came from at the last build (it may not exist).
    const QString& archivoTira() const { return archivoTira_; }
    bool tieneIconos() const { return tieneIconos_; }

Q_SIGNALS:
    // The command's name: NUEVO, BORRAR, REPORTE, CONSULTAR, PLANILLA, CANCELAR,
    // GRABAR or CERRAR.
    void Click(const QString& Boton);
    // Any property was set (the host may persist them again).
    void PropiedadCambiada(const QString& nombre);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    static std::size_t indice(ComandoUtilLin c) { return static_cast<std::size_t>(c); }
    void creaBarra();
    void cargaIconos();
    void refrescaBotones();
    void ajustaOrientacion();
    void alPulsar(ComandoUtilLin c);
    void levanta(ComandoUtilLin c);
    bool leePropiedad(const QString& nombre) const;
    void fijaPropiedad(const QString& nombre, bool valor);

    bool conTitulo_ = true;
    bool enabled_ = true;
    qint16 theme_ = 0;
    std::array<bool, 8> habilitados_{};
    std::array<bool, 8> visibles_{};
    QBoxLayout* capa_ = nullptr;
    QToolBar* barra_ = nullptr;
    std::array<QAction*, 8> acciones_{};
    QList<QPointer<QShortcut>> atajos_;
    QString archivoTira_;
    bool tieneIconos_ = false;
};
