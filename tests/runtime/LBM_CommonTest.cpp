#include "runtime/ExisteArchivo.h"
#include "runtime/FormatosFecha.h"
#include "runtime/ScriptSql.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace LBM_Common;

TEST(LBM_Common, DisplayFormats) {
    EXPECT_EQ(FormatoFechaHora(), "dd/mm/yy hh:mm");
    EXPECT_EQ(FormatoFecha(), "dd/mm/yy");
    EXPECT_EQ(FormatoHora(), "hh:mm");
    const QDateTime t(QDate(2021, 12, 31), QTime(23, 59, 58));
    EXPECT_EQ(AplicaFormato(t, FormatoFechaHora()), "31/12/21 23:59");
    EXPECT_EQ(AplicaFormato(t, FormatoFecha()), "31/12/21");
    EXPECT_EQ(AplicaFormato(t, FormatoHora()), "23:59");
    const QDateTime m(QDate(2026, 3, 4), QTime(5, 7, 9));
    EXPECT_EQ(AplicaFormato(m, "dd/mm/yyyy hh:nn:ss"), "04/03/2026 05:07:09");
    EXPECT_EQ(AplicaFormato(m, FormatoFechaHora()), "04/03/26 05:07");
}

TEST(LBM_Common, ExisteArchivo) {
    QTemporaryDir d;
    const QString ruta = QDir(d.path()).filePath("con blanco.txt");
    {
        QFile f(ruta);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(ExisteArchivo(ruta));
    EXPECT_TRUE(ExisteArchivo("\"" + ruta + "\""));
    EXPECT_FALSE(ExisteArchivo(d.path())); // a folder
    EXPECT_FALSE(ExisteArchivo(""));
    EXPECT_FALSE(ExisteArchivo("   "));
    EXPECT_FALSE(ExisteArchivo(ruta + ".no"));
    EXPECT_FALSE(ExisteArchivo(QString::fromLatin1("\0x", 2)));
    EXPECT_FALSE(QFile::exists(ruta + ".no")); // the test does not create it
}

TEST(LBM_Common, InsertBuilder) {
    QString maquina = "PC01", usuario = "O'Brien", nulo = "null", vacio = "", blancos = " A ";
    CargaCampoSQL("Maquina", maquina, "'", true);
    CargaCampoSQL("Usuario", usuario, "'", false);
    CargaCampoSQL("Tarea", nulo, "'", false);
    CargaCampoSQL("Vacio", vacio, "'", false);
    CargaCampoSQL("Blancos", blancos, "'", false);
    EXPECT_EQ(usuario, "OBrien"); // the caller's variable loses its apostrophes
    EXPECT_EQ(CamposPendientes(), 5);
    QStringList lista{QString()};
    ArmaSentenciaSQL(lista, "Control_Acceso");
    ASSERT_EQ(lista.size(), 3);
    EXPECT_EQ(lista[0], "");
    EXPECT_EQ(lista[1], "INSERT INTO Control_Acceso (Maquina,Usuario,Tarea,Vacio,Blancos) VALUES "
                        "('PC01','OBrien',Null,'',' A ')");
    EXPECT_EQ(lista[2], "");
    EXPECT_EQ(CamposPendientes(), 0);

    // A first column starts a new statement even after an abandoned one.
    QString a = "1", b = "NULL";
    CargaCampoSQL("X", a, "'", false);
    CargaCampoSQL("A", a, "'", true);
    CargaCampoSQL("B", b, "'", false);
    QStringList otra;
    ArmaSentenciaSQL(otra, "T");
    EXPECT_EQ(otra, (QStringList{"INSERT INTO T (A,B) VALUES ('1',Null)", ""}));
}
