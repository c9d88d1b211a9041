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
