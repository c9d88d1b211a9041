#include "utility_library/Cp1252.h"
#include "utility_library/LogKX.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(LogKX, LineFormatByteForByte) {
    const QDateTime t(QDate(2021, 12, 31), QTime(23, 59, 59));
    const ErrorKX e{13, " Type mismatch ", "src"};
    EXPECT_EQ(LogKX::linea(t, LogKX::textoRutina("Cfg"), LogKX::mensaje(e), 3),
              QString::fromUtf8("12-31-2021 23:59:59 Rutina: Cfg - Mensaje Ha ocurrido el "
                                "Siguiente Error (13) Type mismatch Respondió : Abortar"));
    EXPECT_EQ(LogKX::linea(t, LogKX::textoRutina(""), LogKX::mensaje(e), 4),
              QString::fromUtf8("12-31-2021 23:59:59 Rutina:  Mensaje Ha ocurrido el Siguiente "
                                "Error (13) Type mismatch Respondió : Reintentar"));
}

TEST(LogKX, AppendsWindows1252WithCrLf) {
    QTemporaryDir d;
    const QString ruta = d.filePath("KXERR.LOG");
    ASSERT_TRUE(LogKX::agrega(ruta, QString::fromUtf8("uno Respondió")));
    ASSERT_TRUE(LogKX::agrega(ruta, "dos"));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("uno Respondi\xf3\r\ndos\r\n"));
    EXPECT_FALSE(LogKX::agrega(d.filePath("no/existe/KXERR.LOG"), "x"));
}
