#pragma once

#include <QString>
#include <QStringList>

// The command line the suite's menu program writes: items "keyword = value"
// separated by ";", e.g. "@server=SRV01; @dbname= COMERCIAL; @usuario= VENTAS;
// @Password=; @UsuarioLogeado = OPERADOR; @Caja=3". Besides the suite's items
// it reads "@Plataforma" (SQLSERVER, ORACLE, POSTGRESQL, SQLITE) and "@Puerto".
class LineaComando {
public:
    QString servidor;       // "@server", raw (see ExtraeServidor)
    QString dbName;         // "@dbname"
    QString usuario;        // "@usuario"
    QString password;       // "@Password"
    QString usuarioLogeado; // "@UsuarioLogeado"
    QString caja;           // "@Caja", "1" when absent
    QString plataforma;     // "@Plataforma", empty when absent
    QString puerto;         // "@Puerto", empty when absent

    static LineaComando Lee(const QString& linea);

    // The value of one keyword: found without regard to case at its first
    // occurrence, up to the next ";" (or the end of the line), every "=" and
    // the outer blanks removed. `porDefecto` when the keyword is missing.
    static QString ExtraeValor(const QString& linea, const QString& clave,
                               const QString& porDefecto = QString());

    // The process command line as one text: the arguments after the program
    // name joined by single blanks (the suite passes it as one text).
    static QString DeArgumentos(const QStringList& argumentosSinPrograma);
};

// "tcp/SRV01:1433" -> "SRV01": drops what comes up to the first "/" and from
// the first ":" on; "SRV01\INST" stays as it is.
QString ExtraeServidor(const QString& servidor);
