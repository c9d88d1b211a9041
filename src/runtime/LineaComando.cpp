#include "runtime/LineaComando.h"

#include "utility_library/QlTexto.h"

QString LineaComando::ExtraeValor(const QString& linea, const QString& clave,
                                  const QString& porDefecto) {
    const auto pos = linea.indexOf(clave, 0, Qt::CaseInsensitive);
    if (pos < 0) {
        return porDefecto;
    }
    const auto inicio = pos + clave.size();
    const auto fin = linea.indexOf(QLatin1Char(';'), pos);
    // The last item has no ";" after it: its value runs to the end of the line.
    const QString crudo = fin < 0 ? linea.mid(inicio) : linea.mid(inicio, fin - inicio);
    return QlUtil::QuitaCaracteres(crudo, QStringLiteral("=")).trimmed();
}

LineaComando LineaComando::Lee(const QString& linea) {
    LineaComando l;
    l.servidor = ExtraeValor(linea, QStringLiteral("@server"));
    l.dbName = ExtraeValor(linea, QStringLiteral("@dbname"));
    l.usuario = ExtraeValor(linea, QStringLiteral("@usuario"));
    l.password = ExtraeValor(linea, QStringLiteral("@Password"));
    l.usuarioLogeado = ExtraeValor(linea, QStringLiteral("@UsuarioLogeado"));
    l.caja = ExtraeValor(linea, QStringLiteral("@Caja"), QStringLiteral("1"));
    l.plataforma = ExtraeValor(linea, QStringLiteral("@Plataforma"));
    l.puerto = ExtraeValor(linea, QStringLiteral("@Puerto"));
    return l;
}

QString LineaComando::DeArgumentos(const QStringList& argumentosSinPrograma) {
    return argumentosSinPrograma.join(QLatin1Char(' '));
}

QString ExtraeServidor(const QString& servidor) {
    QString s = servidor;
    const auto barra = s.indexOf(QLatin1Char('/'));
    if (barra >= 0) {
        s = s.mid(barra + 1);
    }
    const auto dosPuntos = s.indexOf(QLatin1Char(':'));
    if (dosPuntos >= 0) {
        s = s.left(dosPuntos);
    }
    return s;
}
