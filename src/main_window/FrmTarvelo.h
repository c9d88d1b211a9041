#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>

class CamposVentana;
class ConsultasVentana;
class LoteNovedades;
class ModeloGrilla;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QToolButton;
class UtilLin;
struct ResultadoCarga;

// The program's window: the header fields, the path and list labels, the
// five buttons and the labels button, the manual range frame, the batch grid
// and the progress bar, under the command toolbar. It shows the window state
// of the batch logic and forwards the operator's events to it.
class FrmTarvelo : public QMainWindow {
    Q_OBJECT
public:
    static const QString kTitulo;

    // `consultas` may be null: the lookups of the engine are then not offered.
    FrmTarvelo(LoteNovedades& lote, ConsultasVentana* consultas, QWidget* padre = nullptr);
    ~FrmTarvelo() override;

    // Window load, after start-up: the initial state with the next code.
    void Carga();
    void InicializaFormulario();
    // Validates a field as Enter does; validacionFallida() tells the outcome.
    void CampoValida(QLineEdit* campo);
    bool validacionFallida() const { return validacionFallida_; }
    // The lookup of the field that last had the focus, then Enter in it.
    void ConsultaCampo();
    void ControlInsert() {}
    // A toolbar command by name.
    void UtilLin1_Click(const QString& boton);

    CamposVentana& campos() const { return *campos_; }
    ModeloGrilla& modeloGrilla() const { return *modelo_; }
    UtilLin* barra() const { return UtilLin1_; }

Q_SIGNALS:
    // The window was unloaded: the program ends.
    void descargada();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void armaControles();
    void armaDisposicion();
    void conecta();
    void muestraEstado(unsigned areas);
    void ajustaColumnas();
    // A current cell for a grid with rows, and the current row's reasons.
    void muestraFilaActual();
    void muestraMotivo();
    void enfoca(QLineEdit* campo, bool todo);
    bool aceptaCampo(int indice);
    // Runs an event handler's work; a failure goes to the error dialog under
    // `rutina` (retry, go on, leave).
    void corre(const QString& rutina, const std::function<void()>& trabajo);
    void recuperaTeclado();
    // One command at a time: while one runs (its loops let window events
    // through, for the banner) everything that would start another is
    // disabled; the focus comes back where it was when it ends.
    class Ocupacion;
    void correSolo(const QString& rutina, const std::function<void()>& trabajo);
    void focoPorDefecto();
    friend class Ocupacion;
    bool ocupado() const { return ocupado_ > 0; }
    // Enter on Fecha or Lista with a batch loaded under another value: asks
    // before dropping the rows; false when the field is refused.
    bool aceptaCambioDeCabecera(int indice);
    // Tab or Shift+Tab out of a field: false keeps the focus there (refused).
    bool aceptaAlSalir(int indice);
    // Before a range goes under the load's header: Fecha or Lista edited
    // since the load are accepted as Enter would; false when refused.
    bool confirmaCabeceraCambiada();
    // The focus to the header field a refused load names.
    void enfocaRechazado(const ResultadoCarga& r);
    void cierraRangoManual();

    void cmdExaminar_Click();
    void CmdBuscar_Click();
    void cmdCargar_Click();
    void cmdManual_Click();
    void cmdMAceptar_Click();
    void cmdMCancelar_Click();
    void cmdExportar_Click();
    void CmdEtiquetas_Click();

    LoteNovedades& lote_;
    ConsultasVentana* consultas_;
    CamposVentana* campos_;
    ModeloGrilla* modelo_;
    bool validacionFallida_ = false;
    int ocupado_ = 0;
    QPointer<QWidget> focoPedido_;

    UtilLin* UtilLin1_;
    QFrame* Frame1_;
    QFrame* Frame2_;
    QLabel* lblRuta_;
    QLabel* lblLista_;
    QLabel* lblMotivo_;
    // Above the grid, shown only when the pending load caught up on days
    // without a batch.
    QLabel* lblRecuperacion_;
    QLabel* lblCarga_; // "Carga incompleta: N de M filas", only then
    QPushButton* CmdBuscar_;
    QPushButton* cmdCargar_;
    QPushButton* cmdManual_;
    QPushButton* cmdExaminar_;
    QPushButton* cmdExportar_;
    QToolButton* CmdEtiquetas_;
    QGroupBox* frmManual_;
    QComboBox* CmbTipo_;
    QCheckBox* chkNoMarcar_;
    QPushButton* cmdMAceptar_;
    QPushButton* cmdMCancelar_;
    QTableView* MSFlexGrid1_;
    QProgressBar* PBar_;
    QList<QLineEdit*> txtfields_;
};
