#include "BaseDePrueba.h"
#include "lookups/ArbolConsulta.h"
#include "lookups/FilasConsulta.h"
#include "lookups/FiltroConsulta.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QVector<ArbolConsulta::Fila> filas(std::initializer_list<const char*> codigos) {
    QVector<ArbolConsulta::Fila> r;
    for (const char* c : codigos) {
        r.append({QString::fromLatin1(c), QStringLiteral("D") + QString::fromLatin1(c), {}});
    }
    return r;
}

// "code>parent code" for every node but the root, in insertion order.
QStringList padres(const ArbolConsulta& a) {
    QStringList r;
    for (int i = 1; i < a.cantidad(); ++i) {
        const int p = a.nodo(i).padre;
        r.append(a.codigo(i) + QLatin1Char('>') + (p == 0 ? QStringLiteral("A") : a.codigo(p)));
    }
    return r;
}

TEST(ArbolAutomatico, CodesNestUnderTheLongestCodeTheyBeginWith) {
    struct Caso {
        const char* nombre;
        QVector<ArbolConsulta::Fila> filas;
        QStringList esperado;
    } casos[] = {
        {"full hierarchy",
         filas({"01", "0101", "010101", "02"}),
         {"01>A", "0101>01", "010101>0101", "02>A"}},
        // 0102 has no 0102xx parent level missing: 010201 skips to 01.
        {"gaps in the hierarchy",
         filas({"01", "010201", "0103", "01030405", "9"}),
         {"01>A", "010201>01", "0103>01", "01030405>0103", "9>A"}},
        {"child before its parent",
         filas({"0101", "01", "010101"}),
         {"0101>A", "01>A", "010101>0101"}},
        {"any case", filas({"ab", "ABc", "aBcD"}), {"ab>A", "ABc>ab", "aBcD>ABc"}},
    };
    for (const Caso& c : casos) {
        ArbolConsulta a;
        EXPECT_TRUE(a.armaAutomatico(c.filas, nullptr));
        EXPECT_EQ(padres(a), c.esperado) << c.nombre;
    }
}

// Codes in order are placed through a stack of open codes, codes out of order
// through the prefix index: both must give what the plain rule gives (the
// longest code already in the tree that the code begins with, any case; a
// repeated code skipped).
TEST(ArbolAutomatico, InOrderAndOutOfOrderAgreeWithThePlainRule) {
    QRandomGenerator azar(11);
    const QString letras = QStringLiteral("01aAbB");
    QVector<ArbolConsulta::Fila> base;
    for (int i = 0; i < 400; ++i) {
        QString c;
        for (int k = 1 + int(azar.bounded(5)); k > 0; --k) {
            c += letras[int(azar.bounded(letras.size()))];
        }
        base.append({c, QStringLiteral("D"), {}});
    }
    QVector<ArbolConsulta::Fila> enOrden = base;
    std::sort(enOrden.begin(), enOrden.end(), [](const auto& a, const auto& b) {
        return a.codigo.toCaseFolded() < b.codigo.toCaseFolded();
    });
    for (const auto& filas : {base, enOrden}) {
        QStringList esperado, puestos;
        for (const auto& f : filas) {
            const QString c = f.codigo.toCaseFolded();
            if (puestos.contains(c)) {
                continue;
            }
            QString padre = QStringLiteral("A");
            for (const QString& p : puestos) {
                if (c.startsWith(p) && (padre == QStringLiteral("A") || p.size() > padre.size())) {
                    padre = p;
                }
            }
            puestos.append(c);
            esperado.append(c + QLatin1Char('>') + padre);
        }
        ArbolConsulta a;
        int repetidos = 0;
        EXPECT_TRUE(a.armaAutomatico(filas, [&](int, const QString&) {
            ++repetidos;
            return 5;
        }));
        QStringList obtenido;
        for (int i = 1; i < a.cantidad(); ++i) {
            const int p = a.nodo(i).padre;
            obtenido.append(a.codigo(i).toCaseFolded() + QLatin1Char('>') +
                            (p == 0 ? QStringLiteral("A") : a.codigo(p).toCaseFolded()));
        }
        EXPECT_EQ(obtenido, esperado);
        EXPECT_EQ(repetidos, filas.size() - esperado.size());
        // The key lookups, built afterwards, know every node.
        for (int i = 1; i < a.cantidad(); ++i) {
            EXPECT_EQ(a.indice(QStringLiteral("A") + a.codigo(i).toUpper()), i);
        }
    }
}

TEST(ArbolAutomatico, ADuplicateKeyGoesToTheDialogAndCanBeSkipped) {
    ArbolConsulta a;
    QList<int> numeros;
    EXPECT_TRUE(a.armaAutomatico(filas({"01", "01", "0101"}), [&](int n, const QString&) {
        numeros.append(n);
        return 5;
    }));
    EXPECT_EQ(numeros, (QList<int>{35602}));
    EXPECT_EQ(padres(a), (QStringList{"01>A", "0101>01"}));
    // Any other answer leaves the building where it stood.
    ArbolConsulta b;
    EXPECT_FALSE(
        b.armaAutomatico(filas({"01", "01", "0101"}), [](int, const QString&) { return 3; }));
    EXPECT_EQ(b.cantidad(), 2);
}

TEST(ArbolFamilias, ParentsFromTheRowsAndAMissingParentSkipped) {
    QVector<ArbolConsulta::Fila> f = {{"01", "A", {}},
                                      {"0101", "B", QStringLiteral("01")},
                                      {"010101", "C", QStringLiteral("0101")},
                                      {"02", "D", {}},
                                      {"0301", "E", QStringLiteral("03")}};
    ArbolConsulta a;
    int fallas = 0;
    EXPECT_TRUE(a.armaFamilias(f, [&](int n, const QString&) {
        EXPECT_EQ(n, 35601);
        ++fallas;
        return 5;
    }));
    EXPECT_EQ(fallas, 1);
    EXPECT_EQ(padres(a), (QStringList{"01>A", "0101>01", "010101>0101", "02>A"}));
    EXPECT_EQ(a.texto(3), QStringLiteral("010101 - C"));
}

TEST(ArbolConsulta, FindByTypingAndMarksSixLevelsDown) {
    ArbolConsulta a;
    a.armaAutomatico({{"01", "Almacen", {}},
                      {"0101", "Bebidas", {}},
                      {"010101", "aBsenta", {}},
                      {"02", "Abarrotes", {}}},
                     nullptr);
    EXPECT_EQ(a.busca(QString()), 0);
    EXPECT_EQ(a.busca(QStringLiteral("ab")), 3); // description, first in order
    EXPECT_EQ(a.busca(QStringLiteral("0101")), 2);
    EXPECT_EQ(a.busca(QStringLiteral("zz")), -1);
    EXPECT_EQ(a.busca(QStringLiteral("Consulta")), -1); // the root has no "-"

    ArbolConsulta b;
    QVector<ArbolConsulta::Fila> cadena;
    QString c;
    for (int i = 0; i < 9; ++i) {
        c += QLatin1Char('1');
        cadena.append({c, QStringLiteral("x"), {}});
    }
    b.armaAutomatico(cadena, nullptr);
    b.marca(1, true);
    // Node 1 and the six levels below it (nodes 2..7); node 8 and 9 keep theirs.
    EXPECT_EQ(b.marcados(), (QVector<int>{1, 2, 3, 4, 5, 6, 7}));
    b.marca(3, false);
    EXPECT_EQ(b.marcados(), (QVector<int>{1, 2}));
}

TEST(FiltroLista, LikeConditionsWithApostrophesAndTails) {
    struct Caso {
        const char *sql, *campo, *texto;
        bool contiene;
        const char* esperado;
    } casos[] = {
        {"SELECT A,B FROM T ", "B", "ab", false, "SELECT A,B FROM T  where B like 'ab%' "},
        {"SELECT A FROM T WHERE X=1 ORDER BY A ", "A", "O'BRIEN", false,
         "SELECT A FROM T WHERE X=1  and A like 'O''BRIEN%' ORDER BY A "},
        {"SELECT A FROM T ", "A", "a b", true, "SELECT A FROM T  where A like '%a%b%' "},
        {"SELECT A FROM T ", "A", "ab*c", false, "SELECT A FROM T  where A like 'ab%c%' "},
        {"SELECT I,N FROM P WHERE E='0-C' GROUP BY I,N ", "N", "x", false,
         "SELECT I,N FROM P WHERE E='0-C'  and N like 'x%' GROUP BY I,N"},
        {"SELECT v_ma_articulos.A FROM v_ma_articulos ", "A", "1", false,
         "SELECT v_ma_articulos.A FROM v_ma_articulos  where v_ma_articulos.A like '1%' "},
    };
    for (const Caso& c : casos) {
        const QString sql = QString::fromLatin1(c.sql);
        const auto r = FiltroConsulta::Lista(sql, sql, QString::fromLatin1(c.campo),
                                             QString::fromLatin1(c.texto), c.contiene);
        EXPECT_EQ(r.sql, QString::fromLatin1(c.esperado)) << c.sql;
    }
    // A second F5 adds a second condition.
    const QString uno = QStringLiteral("SELECT A FROM T ORDER BY A ");
    const auto r1 = FiltroConsulta::Lista(uno, uno, "A", "x", false);
    const auto r2 = FiltroConsulta::Lista(r1.sql, r1.sql, "B", "y", false);
    EXPECT_EQ(r2.sql,
              QStringLiteral("SELECT A FROM T  where A like 'x%'  and B like 'y%' ORDER BY A "));
}

TEST(FiltroArbol, DescriptionAnywhereWithTheTextKeptInsideTheLiteral) {
    EXPECT_EQ(FiltroConsulta::Arbol("SELECT C,D FROM T ORDER BY C", "d'a").sql,
              QStringLiteral("SELECT C,D FROM T  where Descripcion like '%d''a%' ORDER BY C"));
}

TEST(FilasConsulta, SearchHeadersAndSort) {
    FilasConsulta f;
    f.fijaColumnas({{"DESCRIPCION", "DESCRIPCION", 10}, {"IDARTICULO", " IdArticulo ", 5}});
    f.agregaFila({"QUESO", "0003"});
    f.agregaFila({"abeja", " AB12"});
    f.agregaFila({"ABROJO", "0001"});
    EXPECT_EQ(f.Busqueda(0, QStringLiteral("ab")), 2);
    EXPECT_EQ(f.Busqueda(0, QStringLiteral("abr")), 3);
    EXPECT_EQ(f.Busqueda(0, QStringLiteral("abr"), 2), 3);
    EXPECT_EQ(f.Busqueda(1, QStringLiteral(" ab ")), 2); // both sides trimmed
    EXPECT_EQ(f.Busqueda(0, QString()), 1);
    EXPECT_EQ(f.Busqueda(0, QStringLiteral("Z")), 0);
    EXPECT_EQ(f.IndiceColumna(QStringLiteral("idarticulo")), 2);
    EXPECT_EQ(f.IndiceColumna(QStringLiteral("PRECIO")), 0);
    f.ordena(1, true);
    EXPECT_EQ(f.celda(0, 0), QStringLiteral("ABROJO")); // compared trimmed, any case
    f.ordena(0, false);
    EXPECT_EQ(f.celda(0, 0), QStringLiteral("QUESO"));
    EXPECT_EQ(f.Busqueda(0, QStringLiteral("ab")), 2); // the search follows the new order
}

// The first row from `desde` whose cell, trimmed, begins with the text in any
// case, the way a search box has always found it: one row after another.
int buscaFilaAFila(const FilasConsulta& f, int col, const QString& valor, int desde) {
    const QString v = valor.trimmed().toCaseFolded();
    if (v.isEmpty()) {
        return 1; // nothing typed: the first row
    }
    for (int i = std::max(desde, 0); i < f.filas(); ++i) {
        if (f.celda(i, col).trimmed().toCaseFolded().startsWith(v)) {
            return i + 1;
        }
    }
    return 0;
}

// A column whose rows are in order is searched by halving, any other one row
// after another; both must find the row the plain scan finds, and a cell
// changed out of order must send the search back to the plain way.
TEST(FilasConsulta, SearchInAColumnInOrderFindsWhatAPlainScanFinds) {
    QRandomGenerator azar(7);
    const QString letras = QStringLiteral("aAbB ñÑ");
    FilasConsulta f;
    f.fijaColumnas({{"A", "A", 10}, {"B", "B", 10}});
    for (int i = 0; i < 300; ++i) {
        QString c;
        for (int k = int(azar.bounded(5)); k > 0; --k) {
            c += letras[int(azar.bounded(letras.size()))];
        }
        f.agregaFila({c, QString::number(i)});
    }
    f.ordena(0, true);
    QStringList textos{"a", "A", "ab", " aB", "b b", "ñ", "Ñab", "aaaaaa", "c", "bbbb", "  ", "z"};
    auto revisa = [&](const char* cuando) {
        for (const QString& t : textos) {
            for (int desde : {0, 1, 57, 150, 299, 300}) {
                EXPECT_EQ(f.Busqueda(0, t, desde), buscaFilaAFila(f, 0, t, desde))
                    << cuando << " '" << qPrintable(t) << "' desde " << desde;
            }
        }
    };
    revisa("in order");
    f.ordena(0, false);
    revisa("descending");
    f.ordena(0, true);
    f.fijaCelda(150, 0, QStringLiteral("AB"));
    revisa("one cell changed");
    f.fijaCelda(10, 0, QStringLiteral("zzz"));
    revisa("one cell out of order");
    f.agregaFila({QStringLiteral("a"), QStringLiteral("x")});
    revisa("a row added out of order");
}

TEST(FilasConsulta, StockLevels) {
    struct Caso {
        double p, s;
        int nivel;
    } casos[] = {{0, 5, 1}, {10, 11, 2}, {10, 9, 3}, {10, 10, 4}, {0, 0, 4}, {0, -1, 4}};
    for (const Caso& c : casos) {
        EXPECT_EQ(FilasConsulta::nivelStock(c.p, c.s), c.nivel) << c.p << " " << c.s;
    }
    EXPECT_EQ(FilasConsulta::colorDe(QStringLiteral(" 255 ")), 255);
    EXPECT_EQ(FilasConsulta::colorDe(QString()), FilasConsulta::SinColor);
}

} // namespace
