#pragma once

#include "lookups/FilasConsulta.h"
#include "lookups/VentanasConsulta.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class ModeloFilasConsulta;
class DB_Dll;
class Recordset;

// The modal list lookup: the rows of one statement in a list, a search box
// above every column (typing moves to the first row that starts with the
// text, F5 asks the server again with a LIKE condition on that column),
// single choice or check marks, stock colours, shortages and quantities for
// article lists. The engine sets the members, calls Load, shows it and reads
// the results.
class Lib_FrmCons3 : public QDialog {
    Q_OBJECT
public:
    explicit Lib_FrmCons3(QWidget* padre = nullptr);
    ~Lib_FrmCons3() override;

    // --- members set by the engine; results read after the window hides
    QVariant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
    QString MuestraStock;
    QString SQL;
    QString CampoDevuelto;
    std::optional<QStringList> CmpsDevueltos;
    bool CheckBoxes = false;
    QString gConnString;
    QVariant ValorDevuelto;
    QString FiltroInicial;
    // The value of CampoDevuelto whose row is current when the window opens.
    QString ValorInicial;
    QString CampoBusqueda;
    bool OrdenarPorLwv = false;
    std::optional<QStringList> Valores;
    std::optional<QStringList> Cantidades;
    bool UsaCantidades = false;
    QString ValoresDefault;
    bool CfgUsaConsultaLIKE = false;
    bool GrabarCfg = false;
    bool UsarUDBC = false;

    // Fills the window from SQL (also run by F5 and "&Nueva Busqueda").
    void Load();
    void CalcularAncho();
    void Leer(int Cdesde, int Cuantas);
    void Encolumnar();
    int Busqueda(int Clave, const QString& QueValor) const;
    int IndiceColumna(const QString& Columna) const;
    // The pickers: one column headed by the title, rows given by hand.
    void preparaOpciones(const PedidoOpciones& p);
    // What the window does when it is dropped: the widths are saved when
    // GrabarCfg is set, the rows are cleared.
    void Unload();
    // Clears every row's check mark.
    void desmarcaTodo();

    // For tests and the benchmark.
    QTableView* lista() const { return ListView1; }
    QLineEdit* cajaBusqueda(int i) const;
    int cajasBusqueda() const { return int(CmbSearch.size()); }
    QString tablaConsulta() const { return TablaConsulta; }
    const FilasConsulta& filas() const { return filas_; }
    int filaSeleccionada() const; // from 0, -1 when none
    QPushButton* boton(const QString& texto) const;

    // The second database-access object (used when UsarUDBC is set); the
    // main one's connection values until a caller connects it otherwise.
    static DB_Dll& segundaBase();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void reject() override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QLabel* Label1;
    QWidget* picFields;
    QWidget* franjaBusqueda;
    QList<QLineEdit*> CmbSearch;
    QTableView* ListView1;
    QPushButton *CmdAceptar, *CmdCancelar, *CmdNueva, *CmdNuevo, *CmdTodos;
    FilasConsulta filas_;
    std::unique_ptr<Recordset> rs_; // the result being read during Load
    ModeloFilasConsulta* modelo_;

    bool EsArticulos = false;
    QString SQLInicial, SQLBase, SQLOrden, TablaConsulta;
    bool primeraCarga_ = true;
    int IndiceBusqueda = 0;
    bool ordenAscendente_ = true;
    // The last incremental search, so a longer text goes on from its row.
    int ultimaCaja_ = -1, ultimaFila_ = 0;
    QString ultimoTexto_;

    void creaControles();
    QLineEdit* creaCaja(int i);
    void ubicaCajas();
    void CargaAnchos();
    void GrabaAnchos();
    void busquedaIncremental(int caja, const QString& texto);
    void nuevaBusqueda(int caja);
    void seleccionaFila(int fila);
    // The row (as shown) whose CampoDevuelto column holds `valor`; -1 when none.
    int filaDeValor(const QString& valor) const;
    void CmdAceptar_Click();
    void CmdCancelar_Click();
    void CmdNueva_Click();
    void CmdNuevo_Click();
    void CmdTodos_Click();
    void informaFaltante();
    bool teclaLista(QKeyEvent* k);
    void cantidad(int fila, int modo);
    int anchoPixeles(int twips) const;
    int twipsDe(int pixeles) const;
};
