#include "generator_sql/ParametrosConfigurados.h"

#include "generator/ReglasLote.h"
#include "runtime/ModGlobal.h"

ParametrosLote ParametrosConfigurados() {
    ParametrosLote p;
    p.claseVenta = ModGlobal::Cfg(QStringLiteral("ClasePrecioVenta")).trimmed();
    p.claseSugerido = ModGlobal::Cfg(QStringLiteral("ClasePrecioSugerido")).trimmed();
    p.claseOferta = ModGlobal::Cfg(QStringLiteral("ClasePrecioOferta")).trimmed();
    p.ivaPorDefecto = ModGlobal::Cfg(QStringLiteral("piva"));
    p.unidadKG = ModGlobal::gUnidadKG;
    p.usuario = ModGlobal::gUsuarioLogeado;
    p.alertas.variacionMaxima =
        AlertasPrecio::LeeUmbral(ModGlobal::Cfg(QLatin1String(UmbralesAlerta::kClaveVariacion)),
                                 UmbralesAlerta{}.variacionMaxima);
    p.alertas.margenMinimo =
        AlertasPrecio::LeeUmbral(ModGlobal::Cfg(QLatin1String(UmbralesAlerta::kClaveMargen)),
                                 UmbralesAlerta{}.margenMinimo);
    p.diasRecuperacion =
        ReglasLote::LeeDias(ModGlobal::Cfg(QLatin1String(ParametrosLote::kClaveDiasRecuperacion)),
                            ParametrosLote::kDiasRecuperacion);
    return p;
}
