#include "HerramientasPdf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
QString corre(const QString& programa, const QStringList& args, int* codigo = nullptr) {
    QProcess p;
    p.start(programa, args);
    if (!p.waitForFinished(600000)) {
        return QString();
    }
    if (codigo) {
        *codigo = p.exitCode();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

QString HerramientasPdf::revisa(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf});
    if (!p.waitForFinished(600000)) {
        return QStringLiteral("qpdf no terminó");
    }
    const QString salida =
        QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 ||
        salida.contains(QLatin1String("WARNING"), Qt::CaseInsensitive) ||
        !salida.contains(QLatin1String("No syntax or stream encoding errors"))) {
        return salida.isEmpty() ? QStringLiteral("qpdf no pudo correr") : salida;
    }
    return QString();
}

QStringList HerramientasPdf::fuentes(const QString& pdf) {
    QStringList r;
    const QStringList lineas = corre(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    // Two header lines; then name, type (one or more words), encoding,
    // emb, sub, uni, object, generation.
    for (qsizetype i = 2; i < lineas.size(); ++i) {
        const QStringList c = lineas[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (c.size() < 8) {
            continue;
        }
        const QString tipo = c.mid(1, c.size() - 7).join(QLatin1Char(' '));
        r << c[0] + QLatin1Char(' ') + tipo + QLatin1Char(' ') + c[c.size() - 5];
    }
    return r;
}

QString HerramientasPdf::texto(const QString& pdf, int pagina) {
    QStringList args{QStringLiteral("-layout")};
    if (pagina > 0) {
        args << QStringLiteral("-f") << QString::number(pagina) << QStringLiteral("-l")
             << QString::number(pagina);
    }
    return corre(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

int HerramientasPdf::paginas(const QString& pdf) {
    const QString info = corre(QStringLiteral("pdfinfo"), {pdf});
    const auto m = QRegularExpression(QStringLiteral(R"(Pages:\s+(\d+))")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QStringList HerramientasPdf::codigos(const QString& pdf, int ppp) {
    QTemporaryDir dir;
    corre(QStringLiteral("pdftoppm"),
          {QStringLiteral("-r"), QString::number(ppp), QStringLiteral("-gray"),
           QStringLiteral("-png"), pdf, dir.filePath(QStringLiteral("p"))});
    QStringList imagenes;
    for (const QString& f :
         QDir(dir.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
        imagenes << dir.filePath(f);
    }
    if (imagenes.isEmpty()) {
        return {};
    }
    QStringList r = corre(QStringLiteral("zbarimg"), QStringList{QStringLiteral("-q")} + imagenes)
                        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.sort();
    return r;
}

bool HerramientasPdf::copiaReportes(const QString& carpeta) {
    const QDir origen(QStringLiteral(TARVELO_RECURSOS "/reports"));
    QDir(carpeta).mkpath(QStringLiteral("reports"));
    bool ok = true;
    for (const QString& f : origen.entryList(QDir::Files)) {
        ok = QFile::copy(origen.filePath(f), QDir(carpeta).filePath("reports/" + f)) && ok;
    }
    return ok;
}
