#pragma once

#include "lookups/MotorConsultas.h"
#include "lookups/VentanasConsulta.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// The suite's lookup engine: turns a request (a table name or a full
// statement) into one statement, shows it in the list or the tree window and
// leaves the operator's choice in its members. One instance for the program
// (instancia()); the windows it shows come from the VentanasConsulta set with
// fijaVentanasPrograma (the Qt ones in the program, a recorder in tests).
class Lib_ClsCons3 : public MotorConsultas {
public:
    // Reads the configuration keys (a key that cannot be read stays empty).
    explicit Lib_ClsCons3(VentanasConsulta* ventanas = nullptr);

    QVariant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
    QString MuestraStock;
    QStringList CmpsDevueltos; // kept for callers; the operations never read it
    std::optional<QStringList> Cantidades;
    bool Checks = false; // one-shot: reset by every ConsultaSearch
    QString gConnString;
    QString gRutaMascaraConsultas;
    bool gUsarMascarasConsultas = false;
    bool UsaCantidades = false;

    // Check-list picker: each option starts with a flag ("1" checked); the
    // checked options' texts arrive in Valores. Returns empty text.
    QString CheckOpciones(const QString& Titulo, std::optional<QStringList>& CmpsDevueltos,
                          const QStringList& Opc);
    // Single-choice picker: the chosen text, empty when cancelled.
    QString MenuOpciones(const QString& Titulo, const QStringList& Opc);
    using MotorConsultas::ConsultaSearch;
    void ConsultaSearch(QString& SQL, std::optional<QStringList>& CmpsDevueltos, QString& Clave,
                        QString& CampoBusqueda, QString& Where, QString& SentenciaOpcional,
                        bool TreeView, QString& ValoresDefault) override;
    // Single-choice picker over the lines of a text file.
    QString ConsultaDesdeArchivo(const QString& Titulo, const QString& QueArchivo,
                                 const QString& Separador = QString());

    // The statement the last ConsultaSearch showed (empty when none).
    QString ultimaSentencia() const { return ultimaSentencia_; }
    bool contieneLike() const { return usaLike_; }
    void fijaVentanas(VentanasConsulta* v) { ventanas_ = v; }

    // The program-wide engine, created on first use with the program's windows.
    static Lib_ClsCons3& instancia();
    // The windows every engine created afterwards uses (does not take ownership).
    static void fijaVentanasPrograma(VentanasConsulta* v);
    // Drops the program-wide engine (tests; the next use creates a fresh one).
    static void reinicia();

private:
    VentanasConsulta* ventanas_;
    bool usaLike_ = false;
    QString ultimaSentencia_;

    QString armaSentencia(QString& SQL, QString& CampoBusqueda, QString& Where,
                          const QString& SentenciaOpcional, bool* seguir);
    QString ramaPorDefecto(const QString& tabla, QString& CampoBusqueda, const QString& Where,
                           const QString& SentenciaOpcional, int n);
    int limiteFilas() const;
    PedidoOpciones preparaOpciones(PedidoOpciones::Tipo tipo, const QString& Titulo) const;
    void anchoOpciones(PedidoOpciones& p, int largoMayor) const;
};

// The engine the windows of the program call.
MotorConsultas& motorConsultas();
