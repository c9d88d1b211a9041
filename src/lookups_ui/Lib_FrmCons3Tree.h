#pragma once

#include "lookups/ArbolConsulta.h"

#include <QDialog>
#include <QStringList>
#include <QVariant>
#include <optional>

class QLineEdit;
class QPushButton;
class QTreeView;
class ModeloArbolConsulta;

// The modal tree lookup, titled "Consulta...": hierarchical codes under one
// root, derived from the codes themselves (families from the database's
// parent column, any other statement by the longest code each one begins
// with). Find by typing, F5 narrows on the server, single choice or check boxes.
class Lib_FrmCons3Tree : public QDialog {
    Q_OBJECT
public:
    explicit Lib_FrmCons3Tree(QWidget* padre = nullptr);
    ~Lib_FrmCons3Tree() override;

    QString SQL;
    QString CampoDevuelto; // "IDFAMILIA", "IDPOSICION" or "CODIGO"
    bool CheckBoxes = false;
    // The code of the node that is current when the window opens.
    QString ValorInicial;
    QVariant ValorDevuelto;
    std::optional<QStringList> Valores;
    std::optional<QStringList> CmpsDevueltos;

    void Load();
    void Unload();

    // For tests and the benchmark.
    const ArbolConsulta& arbol() const { return arbol_; }
    QTreeView* TreeV() const { return TreeV_; }
    QLineEdit* CmbSearch() const { return CmbSearch_; }
    int nodoSeleccionado() const; // -1 when none
    QPushButton* boton(const QString& texto) const;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void reject() override;

private:
    ArbolConsulta arbol_;
    ModeloArbolConsulta* modelo_;
    QTreeView* TreeV_;
    QLineEdit* CmbSearch_;
    QPushButton *CmdAceptar, *CmdCancelar, *CmdNueva;
    QString SQLBase_, SQLOrden_;

    void construye();
    void ArmarTreeVFamilias();
    void ArmarTreeVAutomatico();
    void arma(bool familias);
    void inicioArbol();
    void busquedaIncremental(const QString& texto);
    void nuevaBusqueda();
    void CmdAceptar_Click();
    void CmdCancelar_Click();
};
