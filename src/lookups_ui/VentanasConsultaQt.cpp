#include "lookups_ui/VentanasConsultaQt.h"

#include "lookups/InicioConsultas.h"
#include "lookups/Lib_ClsCons3.h"
#include "lookups_ui/Lib_FrmCons3.h"
#include "lookups_ui/Lib_FrmCons3Tree.h"

#include <QApplication>
#include <QScreen>

ResultadoConsulta VentanasConsultaQt::muestraLista(const PedidoLista& p) {
    Lib_FrmCons3 f(QApplication::activeWindow());
    f.StkNivel1 = p.StkNivel[0];
    f.StkNivel2 = p.StkNivel[1];
    f.StkNivel3 = p.StkNivel[2];
    f.StkNivel4 = p.StkNivel[3];
    f.MuestraStock = p.MuestraStock;
    f.CfgUsaConsultaLIKE = p.CfgUsaConsultaLIKE;
    f.OrdenarPorLwv = p.OrdenarPorLwv;
    f.FiltroInicial = p.FiltroInicial;
    f.CampoBusqueda = p.CampoBusqueda;
    f.SQL = p.SQL;
    f.gConnString = p.gConnString;
    f.CampoDevuelto = p.CampoDevuelto;
    f.CheckBoxes = p.CheckBoxes;
    f.UsaCantidades = p.UsaCantidades;
    f.ValoresDefault = p.ValoresDefault;
    f.Valores.reset();
    f.Cantidades.reset();
    f.CmpsDevueltos = p.CmpsDevueltos;
    f.ValorInicial = p.ValorInicial;
    f.Load();
    // Rows named in ValoresDefault keep the marks the load gave them.
    f.exec();
    ResultadoConsulta r{f.ValorDevuelto, f.Valores, f.Cantidades};
    f.CampoDevuelto.clear();
    f.Unload();
    return r;
}

ResultadoConsulta VentanasConsultaQt::muestraArbol(const PedidoArbol& p) {
    Lib_FrmCons3Tree f(QApplication::activeWindow());
    f.SQL = p.SQL;
    f.CampoDevuelto = p.CampoDevuelto;
    f.CheckBoxes = p.CheckBoxes;
    f.ValorInicial = p.ValorInicial;
    f.Load();
    f.exec();
    ResultadoConsulta r{f.ValorDevuelto, f.Valores, std::nullopt};
    f.Unload();
    return r;
}

ResultadoConsulta VentanasConsultaQt::muestraOpciones(const PedidoOpciones& p) {
    Lib_FrmCons3 f(QApplication::activeWindow());
    f.preparaOpciones(p);
    f.exec();
    ResultadoConsulta r{f.ValorDevuelto, f.Valores, f.Cantidades};
    f.Unload();
    return r;
}

int VentanasConsultaQt::anchoPantallaTwips() const {
    const QScreen* s = QApplication::primaryScreen();
    if (!s) {
        return 1280 * 15;
    }
    return int(s->geometry().width() * 1440.0 / s->logicalDotsPerInchX());
}

void InstalaConsultas() {
    static VentanasConsultaQt ventanas;
    Lib_ClsCons3::fijaVentanasPrograma(&ventanas);
    InstalaConsultasEnInicio();
}
