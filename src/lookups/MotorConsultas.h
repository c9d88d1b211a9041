#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// What a window of the program asks of the lookup engine: set the column it
// wants back, run a lookup over a table name or a full statement, read the
// value picked (empty when the operator gave up).
//
//   MotorConsultas& m = motorConsultas();
//   m.CampoDevuelto = "IDLISTA";
//   QString sql = "SELECT IDLISTA,NOMBRE FROM V_MA_PRECIOSCAB ...";
//   m.ConsultaSearch(sql);
//   campos[i].setText(m.ValorDevuelto.toString());
class MotorConsultas {
public:
    virtual ~MotorConsultas() = default;

    // Request: the column whose value ValorDevuelto receives; emptied by every lookup.
    QString CampoDevuelto;
    // Request: the value the caller's field holds now; the window opens on the
    // row (or node) whose CampoDevuelto is that value. Emptied by every lookup.
    QString ValorInicial;
    // Results.
    QVariant ValorDevuelto;
    std::optional<QStringList> Valores; // nothing after a cancel

    // Every argument by reference, as the suite's callers pass them: the
    // engine may replace CampoBusqueda and wrap Where, and sets
    // CmpsDevueltos to nothing at the end.
    virtual void ConsultaSearch(QString& SQL, std::optional<QStringList>& CmpsDevueltos,
                                QString& Clave, QString& CampoBusqueda, QString& Where,
                                QString& SentenciaOpcional, bool TreeView,
                                QString& ValoresDefault) = 0;

    // The common call: all other arguments empty.
    void ConsultaSearch(QString& SQL) {
        std::optional<QStringList> cmps;
        QString clave, campo, where, opcional, defecto;
        ConsultaSearch(SQL, cmps, clave, campo, where, opcional, false, defecto);
    }
};
