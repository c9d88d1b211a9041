#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// What the lookup engine hands its windows and gets back. The engine knows
// only this interface; the windows (lookups_ui) implement it, and tests put
// a recorder in their place.

struct PedidoLista {
    QVariant StkNivel[4];
    QString MuestraStock;
    bool CfgUsaConsultaLIKE = false;
    bool OrdenarPorLwv = false;
    QString FiltroInicial;
    QString CampoBusqueda;
    QString SQL;
    QString gConnString;
    QString CampoDevuelto;
    bool CheckBoxes = false;
    bool UsaCantidades = false;
    QString ValoresDefault;
    std::optional<QStringList> CmpsDevueltos;
    QString ValorInicial; // the row of CampoDevuelto to open on
};

struct PedidoArbol {
    QString SQL;
    QString CampoDevuelto;
    bool CheckBoxes = false;
    QString ValorInicial; // the code of the node to open on
};

// The fixed-option pickers: the list window without a statement.
struct PedidoOpciones {
    enum class Tipo { Marcas, Menu, Archivo };
    Tipo tipo = Tipo::Menu;
    QString Titulo;
    // Rows in order: shown text, and whether it starts checked (Marcas only).
    QStringList textos;
    QList<bool> marcadas;
    int anchoTwips = 0; // the window's width
};

struct ResultadoConsulta {
    QVariant ValorDevuelto;
    std::optional<QStringList> Valores;
    std::optional<QStringList> Cantidades;
};

class VentanasConsulta {
public:
    virtual ~VentanasConsulta() = default;
    // Each shows a fresh window modally and returns once the operator closed it.
    virtual ResultadoConsulta muestraLista(const PedidoLista& p) = 0;
    virtual ResultadoConsulta muestraArbol(const PedidoArbol& p) = 0;
    virtual ResultadoConsulta muestraOpciones(const PedidoOpciones& p) = 0;
    // Screen width in twips, for the pickers' width rule.
    virtual int anchoPantallaTwips() const { return 1280 * 15; }
};
