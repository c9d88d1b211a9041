#include "BaseDePrueba.h"
#include "db/DB_Dll.h"
#include "OperadorGuion.h"

#include <gtest/gtest.h>

namespace {

// The script runner sends "BEGIN TRANSACTION " and its statements as one text,
// then a separate COMMIT or ROLLBACK depending on the connection's error list.
class Transacciones : public PruebaPorMotor {
protected:
    void SetUp() override {
        PruebaPorMotor::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        base().ejecutaDirecto(QStringLiteral("CREATE TABLE Control_Acceso (Maquina ") +
                              base().tipoTexto(20) + QStringLiteral(", Usuario ") +
                              base().tipoTexto(20) + QStringLiteral(", N integer NOT NULL)"));
    }
    static QString script(const QStringList& sentencias) {
        QString s;
        for (const QString& x : sentencias) {
            s += QLatin1Char('\r') + x;
        }
        return QStringLiteral("BEGIN TRANSACTION ") + QLatin1Char('\r') + QLatin1Char('\r') + s +
               QLatin1Char('\r');
    }
    // True when another connection sees the row: it was committed.
    bool otraConexionVe(const QString& maquina) {
        DB_Dll otra;
        EXPECT_TRUE(base().abre(otra));
        const bool r = otra.ExisteEnTabla(QStringLiteral("Control_Acceso"), maquina,
                                          QStringLiteral("Maquina"));
        otra.reinicia();
        return r;
    }
};

TEST_P(Transacciones, ScriptCorrectoSeConfirma) {
    QString s =
        script({"INSERT INTO Control_Acceso (Maquina,Usuario,N) VALUES ('PC01','OPERADOR',1)",
                "INSERT INTO Control_Acceso (Maquina,Usuario,N) VALUES ('PC02','OPERADOR',2)"});
    qint64 n = 0;
    db().EjecutaConsultaSQL(s, &n);
    EXPECT_TRUE(db().gCnn->Errors.isEmpty());
    EXPECT_EQ(n, 2);
    EXPECT_EQ(db().gCnn->nivelTransaccion(), 1);
    EXPECT_FALSE(otraConexionVe(QStringLiteral("PC01")));
    db().EjecutaConsultaSQL(QStringLiteral("COMMIT TRANSACTION"));
    EXPECT_TRUE(db().gCnn->Errors.isEmpty());
    EXPECT_EQ(db().gCnn->nivelTransaccion(), 0);
    EXPECT_TRUE(otraConexionVe(QStringLiteral("PC01")));
    EXPECT_TRUE(otraConexionVe(QStringLiteral("PC02")));
}

TEST_P(Transacciones, FalloEnLaSegundaSentenciaDeshaceLaPrimera) {
    QString s =
        script({"INSERT INTO Control_Acceso (Maquina,Usuario,N) VALUES ('PC01','OPERADOR',1)",
                "INSERT INTO Control_Acceso (Maquina,Usuario) VALUES ('PC02','OPERADOR')",
                "INSERT INTO Control_Acceso (Maquina,Usuario,N) VALUES ('PC03','OPERADOR',3)"});
    EXPECT_NO_THROW(db().EjecutaConsultaSQL(s));
    ASSERT_FALSE(db().gCnn->Errors.isEmpty());
    EXPECT_NE(db().gCnn->Errors.first().nativo, 0);
    db().gCnn->Errors.clear();
    db().EjecutaConsultaSQL(QStringLiteral("ROLLBACK TRANSACTION"));
    EXPECT_TRUE(db().gCnn->Errors.isEmpty());
    EXPECT_EQ(db().gCnn->nivelTransaccion(), 0);
    EXPECT_FALSE(db().ExisteEnTabla(QStringLiteral("Control_Acceso"), QStringLiteral("PC01"),
                                    QStringLiteral("Maquina")));
    EXPECT_FALSE(db().ExisteEnTabla(QStringLiteral("Control_Acceso"), QStringLiteral("PC03"),
                                    QStringLiteral("Maquina")));
    // The connection works normally afterwards (no transaction left open).
    db().EjecutaConsultaSQL(QStringLiteral(
        "INSERT INTO Control_Acceso (Maquina,Usuario,N) VALUES ('PC04','OPERADOR',4)"));
    EXPECT_TRUE(db().gCnn->Errors.isEmpty());
    EXPECT_TRUE(otraConexionVe(QStringLiteral("PC04")));
}

TEST_P(Transacciones, ConfirmarSinTransaccionEsUnErrorSilencioso) {
    db().EjecutaConsultaSQL(QStringLiteral("COMMIT TRANSACTION"));
    ASSERT_EQ(db().gCnn->Errors.size(), 1);
    EXPECT_EQ(db().gCnn->Errors.first().nativo, 3902);
}

INSTANTIATE_TEST_SUITE_P(Motores, Transacciones, valoresMotores(), nombreMotor);

} // namespace
