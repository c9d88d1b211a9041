#include "runtime_ui/Skins.h"

#include "runtime/ErroresOperador.h"
#include "runtime_ui/SkinVentana.h"
#include "utility_library/CarpetasPrograma.h"
#include "utility_library/LogKX.h"
#include "utility_library/Programa.h"
#include "utility_library/QlEquipo.h"
#include "utility_library/QlIni.h"
#include "utility_library/QlTexto.h"
#include "utility_library/Reloj.h"

#include <QRegularExpression>
#include <QWidget>
#include <cmath>
#include <limits>

namespace {

// Leading number of a text read the suite's way: blanks, tabs and line feeds
// anywhere are ignored, "&H"/"&O" introduce hexadecimal and octal, and reading
// stops at the first character that cannot continue the number.
double ValorNumerico(const QString& texto) {
    QString t;
    for (const QChar c : texto) {
        if (c != u' ' && c != u'\t' && c != u'\n') {
            t += c;
        }
    }
    if (t.startsWith(u'&')) {
        int base = 8, desde = 1;
        if (t.size() > 1 && (t[1] == u'H' || t[1] == u'h')) {
            base = 16;
            desde = 2;
        } else if (t.size() > 1 && (t[1] == u'O' || t[1] == u'o')) {
            desde = 2;
        }
        qint64 v = 0;
        for (int i = desde; i < t.size(); ++i) {
            const char16_t c = t[i].toUpper().unicode();
            const int d = (c >= u'0' && c <= u'9')   ? c - u'0'
                          : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                                     : -1;
            if (d < 0 || d >= base) {
                break;
            }
            if (v > (std::numeric_limits<qint64>::max() >> 4)) {
                return 0;
            }
            v = v * base + d;
        }
        return double(v);
    }
    static const QRegularExpression numero(
        QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([EeDd][+-]?\d+)?)"));
    const auto m = numero.match(t);
    if (!m.hasMatch()) {
        return 0;
    }
    QString n = m.captured(0);
    n.replace(u'D', u'E').replace(u'd', u'e');
    bool ok = false;
    const double v = n.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

void RegistraFalla(const ErrorKX& e) {
    const QString ruta = ModGlobal::CarpetaLogErrores() + QStringLiteral("KXERR.LOG");
    LogKX::agrega(ruta,
                  LogKX::linea(Reloj::ahora(), LogKX::textoRutina(QStringLiteral("AplicaSkin")),
                               LogKX::mensaje(e), 0));
}

} // namespace

namespace Skins {

QString ValorEstilo() {
    const QString seccion = QlEquipo::NombreUsuario().toUpper() + QStringLiteral("Styles");
    return QlIni::LeeValor(QStringLiteral("ve000zi.ini"), seccion, QStringLiteral("Styles"),
                           QStringLiteral("1"));
}

int NumeroSkin(const QString& valor) {
    const double redondo = std::nearbyint(ValorNumerico(valor));
    // A number no window could mean falls to the table's last row, like any other.
    if (!(redondo >= std::numeric_limits<int>::min() &&
          redondo <= std::numeric_limits<int>::max())) {
        return 0;
    }
    return int(redondo);
}

ArchivoSkin ArchivoDeSkin(int numero) {
    switch (numero) {
    case 1:
        return {QStringLiteral("Styles/Vista.qskin"), QString()};
    case 2:
        return {QStringLiteral("Styles/WinXP.Luna.qskin"), QString()};
    case 3:
        return {QStringLiteral("Styles/WinXP.Royale.qskin"), QString()};
    case 4:
        return {QStringLiteral("Styles/iTunes"), QStringLiteral("Normalitunes.ini")};
    default:
        return {QStringLiteral("Styles/Office2007.qskin"), QString()};
    }
}

bool AplicaSkin(QWidget* Ventana) {
    if (Ventana == nullptr) {
        return false;
    }
    const ArchivoSkin archivo = ArchivoDeSkin(NumeroSkin(ValorEstilo()));
    SkinVentana skin;
    if (!skin.CargaSkin(CarpetasPrograma::lectura() + archivo.ruta, archivo.ajustes)) {
        SkinVentana::QuitaSkin(Ventana);
        RegistraFalla(skin.error());
        return false;
    }
    skin.AplicaVentana(Ventana);
    return true;
}

} // namespace Skins
