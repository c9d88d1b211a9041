#include "runtime/Configuracion.h"
#include "db/DB_Dll.h"

#include <gtest/gtest.h>

TEST(Configuracion, TextoABooleano) {
    for (const char* falso : {"FALSE", "false", "Falso", "0", "NO", "no", "No", "N", "n"}) {
        EXPECT_FALSE(ModGlobal::TextoABooleano(falso)) << falso;
    }
    for (const char* verdadero : {"", "SI", "1", "TRUE", "cualquiera", " NO", "NO ", "00"}) {
        EXPECT_TRUE(ModGlobal::TextoABooleano(verdadero)) << verdadero;
    }
}

TEST(Configuracion, ColorFromCFondo) {
    const quint32 actual = 0x123456;
    const std::pair<const char*, quint32> casos[] = {
        {"", 0xFFFF00},         {" ", 0xFFFF00},
        {"0", 0xFFFF00},        {"abc", 0xFFFF00},
        {"255", 255},           {"16777215", 0xFFFFFF},
        {"12632256", 0xC0C0C0}, {"99999999999", actual}, // does not fit: unchanged
    };
    for (const auto& [texto, color] : casos) {
        EXPECT_EQ(ModGlobal::ColorDeTexto(texto, actual), color) << texto;
    }
}

TEST(Configuracion, CfgBeforeTheConnectionIsOpenReadsNothing) {
    DB_Dll& db = DB_Dll::instancia();
    const bool antes = db.gOpenFlag;
    db.gOpenFlag = false;
    QString aux = "x";
    EXPECT_EQ(ModGlobal::Cfg("CFondo", &aux), QString());
    EXPECT_EQ(aux, QString());
    db.gOpenFlag = antes;
}
