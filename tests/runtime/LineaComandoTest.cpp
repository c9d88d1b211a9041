#include "runtime/LineaComando.h"

#include <gtest/gtest.h>

namespace {
struct Caso {
    const char* linea;
    const char* servidor;
    const char* dbName;
    const char* usuario;
    const char* password;
    const char* usuarioLogeado;
    const char* caja;
};
} // namespace

TEST(LineaComando, SuiteCommandLines) {
    const Caso casos[] = {
        // The menu program's own line, with blanks around "=" and a bare item.
        {"@server=SRV01; @dbname= COMERCIAL; @usuario= VENTAS; @Password=; "
         "@ParametroAdicional=; quor@ ; @UsuarioLogeado = OPERADOR; @Caja=3",
         "SRV01", "COMERCIAL", "VENTAS", "", "OPERADOR", "3"},
        // No blanks at all.
        {"@server=SRV01;@dbname=DB", "SRV01", "DB", "", "", "", "1"},
        // Keywords in capitals; values keep their case.
        {"@SERVER=Srv01; @DBNAME=Ventas; @USUARIO=Pepe; @PASSWORD=Clave", "Srv01", "Ventas", "Pepe",
         "Clave", "", "1"},
        // No command line at all.
        {"", "", "", "", "", "", "1"},
        // Every "=" is lost, outer blanks too.
        {"@usuario=A; @Password= a=b=c ; @Caja=2", "", "", "A", "abc", "", "2"},
        // A final item keeps its whole value (it used to be cut to the keyword's length).
        {"@server=S; @Caja=12", "S", "", "", "", "", "12"},
        {"@server=S; @Caja=123456", "S", "", "", "", "", "123456"},
        {"@server=S; @dbname=COMERCIAL", "S", "COMERCIAL", "", "", "", "1"},
        // The argument text MenuExes writes, leading blank and final ";" included.
        {" ; @server=SRV01; @dbname=COMERCIAL; @usuario=VENTAS; @Password=; "
         "@ParametroAdicional=1; quor@ ; @UsuarioLogeado = VENTAS; @Caja=1;",
         "SRV01", "COMERCIAL", "VENTAS", "", "VENTAS", "1"},
        // Garbage items are ignored.
        {"basura;;; =; @@ ;@server=X;otra cosa", "X", "", "", "", "", "1"},
        // "@usuario" is found inside "@UsuarioLogeado" when that comes first.
        {"@UsuarioLogeado=OPER; @usuario=VENTAS", "", "", "LogeadoOPER", "", "OPER", "1"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.linea);
        const LineaComando l = LineaComando::Lee(QString::fromUtf8(c.linea));
        EXPECT_EQ(l.servidor, QString::fromUtf8(c.servidor));
        EXPECT_EQ(l.dbName, QString::fromUtf8(c.dbName));
        EXPECT_EQ(l.usuario, QString::fromUtf8(c.usuario));
        EXPECT_EQ(l.password, QString::fromUtf8(c.password));
        EXPECT_EQ(l.usuarioLogeado, QString::fromUtf8(c.usuarioLogeado));
        EXPECT_EQ(l.caja, QString::fromUtf8(c.caja));
    }
}

TEST(LineaComando, PlatformAndPortItems) {
    LineaComando l =
        LineaComando::Lee("@server=; @Plataforma = sqlite; @dbname=demo.db; @Puerto=5433");
    EXPECT_EQ(l.plataforma, "sqlite");
    EXPECT_EQ(l.puerto, "5433");
    EXPECT_EQ(l.dbName, "demo.db");
    l = LineaComando::Lee("@server=S; @dbname=D");
    EXPECT_TRUE(l.plataforma.isEmpty());
    EXPECT_TRUE(l.puerto.isEmpty());
    // As the last item the platform is read whole.
    EXPECT_EQ(LineaComando::Lee("@server=S; @Plataforma=POSTGRESQL").plataforma, "POSTGRESQL");
}

TEST(LineaComando, ArgumentsJoinIntoOneLine) {
    EXPECT_EQ(LineaComando::DeArgumentos({"@server=S;", "@dbname=", "D;", "@Caja=4"}),
              "@server=S; @dbname= D; @Caja=4");
    EXPECT_EQ(LineaComando::Lee(LineaComando::DeArgumentos({" ; @server=S; @Caja=4;"})).caja, "4");
}

TEST(LineaComando, ExtraeServidor) {
    const std::pair<const char*, const char*> casos[] = {
        {"tcp/SRV01:1433", "SRV01"},
        {"SRV01\\INST", "SRV01\\INST"},
        {"SRV01:1500", "SRV01"},
        {"a/b/c:1", "b/c"},
        {"", ""},
        {"#ORA", "#ORA"},
        {"np/SRV02", "SRV02"},
    };
    for (const auto& [entrada, salida] : casos) {
        EXPECT_EQ(ExtraeServidor(QString::fromUtf8(entrada)), QString::fromUtf8(salida)) << entrada;
    }
}
