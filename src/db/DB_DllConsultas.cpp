#include "db/DB_Dll.h"
#include "db/TextoSql.h"

#include "utility_library/Operador.h"
#include "utility_library/Programa.h"
#include "utility_library/QlTexto.h"

namespace {
const QString kCRLF = QStringLiteral("\r\n");

// Oracle text is recognised by the connection string, as the suite does it:
// "ORACLE" after its first character.
bool textoOracle(const QString& cadena) {
    return cadena.indexOf(QLatin1String("ORACLE"), 0, Qt::CaseInsensitive) > 0;
}

bool perdidaDeConexion(const ErrorKX& e, const Conexion* c) {
    return (e.numero == NumerosADO::FalloNoEspecificado ||
            e.numero == NumerosADO::ConexionCerrada) &&
           c && !c->Errors.isEmpty();
}
} // namespace

void DB_Dll::avisoConexionPerdida() {
    const DB_Dll& p = DB_Dll::instancia();
    const QString texto =
        kCRLF + kCRLF + kCRLF + QStringLiteral("Se perdio la conexion con la base de datos ") +
        p.gDBName + kCRLF + QStringLiteral(" Servidor ") + p.gServidor + kCRLF + kCRLF +
        QStringLiteral("Elija SI para reintentar conectarse") + kCRLF +
        QStringLiteral("Elija NO para cerrar la aplicacion") + kCRLF + kCRLF + kCRLF;
    const int r = operador().MsgBox(texto, Operador::SiNo + Operador::IconoCritico,
                                    QStringLiteral("AVISO AL OPERADOR"));
    if (r != Operador::Si) {
        Programa::termina(1);
    }
}

void DB_Dll::reconecta() {
    ReintentaConectar();
    while (!gOpenFlag) {
        ReintentaConectar();
        if (!gOpenFlag) {
            avisoConexionPerdida(); // "No" ends the process
        }
    }
}

void DB_Dll::AbrirRecordset(QString& SentenciaSQL, Recordset& Lrcs, Conexion* Conexionactiva,
                            int CursorType, int LockType, int Options, bool ConvOracle) {
    Q_UNUSED(CursorType);
    Q_UNUSED(LockType);
    Q_UNUSED(Options);
    int intento = 1;
    CierraRecordset(Lrcs);
    SentenciaSQL = SS_TSinonimos(SentenciaSQL);
    Conexion* c = Conexionactiva ? Conexionactiva : gCnn.get();
    const bool oracle = c && textoOracle(c->ConnectionString) && ConvOracle;
    const QString texto = oracle ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL;
    for (;;) {
        try {
            if (!c) {
                throw FalloKX(NumerosADO::ConexionCerrada,
                              QStringLiteral("Operation is not allowed when the object is closed."),
                              QStringLiteral("ADODB.Recordset"));
            }
            c->Abre(texto, Lrcs);
            return;
        } catch (const FalloKX& f) {
            if (Lrcs.abierto()) {
                try {
                    Lrcs.Cierra();
                } catch (const FalloKX&) {
                }
            }
            const bool perdida = perdidaDeConexion(f.error(), c) && c == gCnn.get();
            // Two rounds of reconnect-and-retry per call; a third loss goes to
            // the dialog, and so does any loss while a load reads its source.
            if (perdida && intento < 3 && c->puedeReconectar()) {
                reconecta();
                ++intento;
                continue;
            }
            const int r = TratamientoErrores(f.error(), Operador::ErrorConReintento,
                                             QStringLiteral("AbrirRecordset"));
            if (r == Operador::Reintentar) {
                if (perdida) {
                    reconecta(); // retrying on a dead link could never succeed
                }
                continue;
            }
            return; // the result set stays closed
        }
    }
}

void DB_Dll::AbrirRecordset(const QString& SentenciaSQL, Recordset& Lrcs) {
    QString s = SentenciaSQL;
    AbrirRecordset(s, Lrcs);
}

void DB_Dll::EjecutaConsultaSQL(QString& SentenciaSQL, qint64* RecordsAffected, Recordset* Lrcs) {
    const auto limpiaTruncado = [this, &SentenciaSQL]() {
        const Conexion* p = DB_Dll::instancia().gCnn.get();
        if (!p) {
            return;
        }
        const auto& errores = DB_Dll::instancia().gCnn->Errors;
        if ((errores.size() == 1 || errores.size() == 2) &&
            !SentenciaSQL.contains(QLatin1String("TRANS"), Qt::CaseInsensitive) &&
            errores.first().nativo == NumerosADO::Truncado) {
            DB_Dll::instancia().gCnn->Errors.clear();
        }
        Q_UNUSED(this);
    };
    try {
        const bool dropCreate =
            SentenciaSQL.contains(QLatin1String("DROP"), Qt::CaseInsensitive) &&
            SentenciaSQL.contains(QLatin1String("CREATE"), Qt::CaseInsensitive) &&
            !SentenciaSQL.contains(QLatin1String("DELETE"), Qt::CaseInsensitive) &&
            !SentenciaSQL.contains(QLatin1String("@ADMIN_"), Qt::CaseInsensitive);
        if (dropCreate) {
            SentenciaSQL = SS_TSinonimos(SentenciaSQL);
        } else {
            SentenciaSQL.remove(QStringLiteral("@Admin_"), Qt::CaseInsensitive);
        }
        if (!gCnn) {
            throw FalloKX(NumerosADO::ConexionCerrada,
                          QStringLiteral("Operation is not allowed when the object is closed."),
                          QStringLiteral("ADODB.Connection"));
        }
        if (gCnn->ConnectionString.contains(QLatin1String("ORACLE"), Qt::CaseInsensitive)) {
            qint64 n = RecordsAffected ? *RecordsAffected : 0;
            EjecutaScriptSQL(SentenciaSQL, n);
            if (RecordsAffected) {
                *RecordsAffected = n;
            }
        } else {
            qint64 n = -1;
            gCnn->Execute(SentenciaSQL, &n, Lrcs);
            if (RecordsAffected) {
                *RecordsAffected = n;
            }
        }
        limpiaTruncado();
    } catch (...) {
        // Statements never raise to the caller; it reads the error list.
        try {
            limpiaTruncado();
        } catch (...) {
            // Cleaning a work table that may not exist: nothing was written there.
        }
    }
}

void DB_Dll::EjecutaConsultaSQL(const QString& SentenciaSQL) {
    QString s = SentenciaSQL;
    EjecutaConsultaSQL(s);
}

void DB_Dll::CierraRecordset(Recordset& LrcsTemp) {
    for (;;) {
        try {
            if (LrcsTemp.abierto()) {
                LrcsTemp.Cierra();
            }
            return;
        } catch (const FalloKX& f) {
            if (f.error().numero == NumerosADO::NoPermitido) {
                try {
                    LrcsTemp.CancelUpdate();
                    if (LrcsTemp.abierto()) {
                        LrcsTemp.Cierra();
                    }
                } catch (...) {
                    // The update was refused: nothing of it stays to undo.
                }
                return;
            }
            const int r = TratamientoErrores(f.error(), Operador::ErrorConReintento,
                                             QStringLiteral("CierraRecordset"));
            if (r == Operador::Reintentar) {
                continue;
            }
            return;
        }
    }
}

int DB_Dll::avisoOperador(const ErrorKX& e) {
    return operador().MsgBox(e.descripcion,
                             Operador::AbortarReintentarIgnorar + Operador::IconoCritico,
                             QStringLiteral("Aviso al Operador"));
}

bool DB_Dll::ExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                           Recordset* Lrcs, int Tipodato, const QString& Condicion,
                           bool SoloLectura) {
    Q_UNUSED(Tipodato);
    Q_UNUSED(SoloLectura);
    QString sql;
    if (!Condicion.isEmpty()) {
        const QString x =
            Condicion.contains(QLatin1String(" WHERE "), Qt::CaseInsensitive) ? " " : " WHERE ";
        sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla + QStringLiteral(" with(nolock) ") +
              x + Condicion;
    } else {
        sql = QStringLiteral("SELECT TOP 1  * FROM ") + Tabla +
              QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(") + Campo +
              QStringLiteral(")) ='") + TextoSql::Escapa(ValorBuscado.trimmed()) +
              QStringLiteral("'");
    }
    sql = SS_TSinonimos(sql);
    bool resultado = false;
    for (;;) {
        try {
            if (!gCnn) {
                throw FalloKX(NumerosADO::ConexionCerrada,
                              QStringLiteral("Operation is not allowed when the object is closed."),
                              QStringLiteral("ADODB.Recordset"));
            }
            if (!Lrcs) {
                Recordset propio;
                gCnn->Abre(ORACLE_Dicc(sql), propio);
                resultado = !propio.Bof();
                propio.Cierra();
            } else {
                if (Lrcs->abierto()) {
                    Lrcs->Cierra();
                }
                gCnn->Abre(sql, *Lrcs);
                resultado = !Lrcs->Eof();
            }
            return resultado;
        } catch (const FalloKX& f) {
            const int r = avisoOperador(f.error());
            if (r == Operador::Reintentar) {
                if (gCnn && gCnn->enlacePerdido()) {
                    ReintentaConectar();
                }
                continue;
            }
            return resultado;
        }
    }
}

bool DB_Dll::ExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado,
                             const QString& Campo, Recordset* Lrcs, int Tipodato,
                             const QString& Condicion, bool SoloLectura) {
    Q_UNUSED(Lrcs);
    Q_UNUSED(Tipodato);
    Q_UNUSED(Condicion);
    Q_UNUSED(SoloLectura);
    const QString sql = QStringLiteral("SELECT * FROM ") + Tabla +
                        QStringLiteral(" with(nolock)   WHERE ") + Campo + QStringLiteral(" ='") +
                        TextoSql::Escapa(ValorBuscado) + QStringLiteral("'");
    DB_Dll& principal = DB_Dll::instancia();
    bool resultado = false;
    for (;;) {
        try {
            if (!principal.gCnn) {
                throw FalloKX(NumerosADO::ConexionCerrada,
                              QStringLiteral("Operation is not allowed when the object is closed."),
                              QStringLiteral("ADODB.Recordset"));
            }
            Recordset propio;
            principal.gCnn->Abre(sql, propio);
            resultado = !propio.Bof();
            propio.Cierra();
            return resultado;
        } catch (const FalloKX& f) {
            const int r = avisoOperador(f.error());
            if (r == Operador::Reintentar) {
                if (principal.gCnn && principal.gCnn->enlacePerdido()) {
                    principal.ReintentaConectar();
                }
                continue;
            }
            return resultado;
        }
    }
}

QString DB_Dll::DatosTabla(const QString& Tabla, const QString& ValorBuscado,
                           const QString& CampoDevuelto, const QString& Campo, int Tipodato,
                           const QString& Condicion, bool UsaTrim, bool IgnoraError) {
    Q_UNUSED(Tipodato);
    Q_UNUSED(Condicion);
    Q_UNUSED(UsaTrim);
    QString sql = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla +
                  QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(") + Campo +
                  QStringLiteral(")) ='") + TextoSql::Escapa(ValorBuscado.trimmed()) +
                  QStringLiteral("' ");
    Recordset rs;
    QString valor;
    int paso = 0; // 0 open, 1 read, 2 close
    while (paso < 3) {
        try {
            if (paso == 0) {
                AbrirRecordset(sql, rs, gCnn.get(), 0, 1, -1, true);
                if (!gOpenFlag) {
                    return QString();
                }
                if (!rs.abierto()) {
                    return QString();
                }
            } else if (paso == 1) {
                if (!rs.Eof()) {
                    valor = QlUtil::NoNulo(rs.Campo(CampoDevuelto));
                }
            } else {
                CierraRecordset(rs);
            }
            ++paso;
        } catch (const FalloKX& f) {
            if (IgnoraError) {
                ++paso;
                continue;
            }
            const int r = avisoOperador(f.error());
            if (r == Operador::Reintentar) {
                continue;
            }
            if (r == Operador::Ignorar) {
                ++paso;
                continue;
            }
            return valor;
        }
    }
    return valor;
}
