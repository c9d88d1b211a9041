#pragma once

#include "db/Plataforma.h"

#include <QString>
#include <QStringList>

// What the connection dialog does, without its widgets: the values of its
// boxes and list, the hints, the registered connections of "BASES.TXT",
// accepting, cancelling and registering. The window only mirrors it.
class ModeloAcceso {
public:
    enum Caja { Servidor, DbName, UserId, UserPassword, Puerto, OtraCaja };

    // The boxes' texts.
    QString txtServidor;
    QString txtDbName;
    QString txtUserId = QStringLiteral(" ");
    QString txtUserPassword;
    QString txtPuerto = QStringLiteral("1433");
    // Platform list: 0 SQL Server, 1 ORACLE, 2 PostgreSQL, 3 SQLite.
    int indicePlataforma = 0;
    static QStringList Plataformas();

    // Registered connections shown in the list, and the selected one (-1: none).
    QStringList lstBases;
    int indiceLista = -1;

    bool aceptar = false;

    // A box that got its hint shows it in the hint colour (red 2, green 0, blue 0).
    bool enColorPista[OtraCaja + 1] = {};

    // Window load: fills the list (showing its first entry) and puts the hints.
    void Carga();
    // Fills the list from "BASES.TXT"; selects (and shows) the first entry.
    void llenarlist();
    // Looks a registered connection up by name (exact, case-sensitive, trimmed).
    void DatosBase(const QString& Nombre);
    // Shows the selected entry in the boxes (click, key press or double click).
    void AsignarDatosBase();
    static QString Pista(Caja c);
    // Puts the box's hint into it when it is blank or shows the hint; true then
    // (the window selects the whole text and colours it).
    bool MensajeInicial(Caja c);
    QString& texto(Caja c);

    void Aceptar();
    void Cancelar();
    // "Registrar": tests the connection and appends it to "BASES.TXT".
    void Registrar();
    // Whether a connection with these values opens (closed again at once).
    static bool ExisteBaseDeDatos(const QString& Servidor, const QString& Dbname,
                                  const QString& Usuario, const QString& Password,
                                  Plataforma plataforma, int puerto);
    // "Crear Acceso Directo": the launcher "David Orudar" in `carpetaEscritorio`
    // (the user's desktop when empty) starting `programa` (this executable when
    // empty). Returns the launcher's path, empty when it could not be written.
    static QString CreaAccesoDirecto(const QString& carpetaEscritorio = QString(),
                                     const QString& programa = QString());

    QString encontradoServidor, encontradoBaseDatos; // the last entry found by name
    QString valorPuerto;                             // shown in TxtPuerto with an entry
    QString rutaBases;                               // kept by llenarlist

    Plataforma plataforma() const;
};
