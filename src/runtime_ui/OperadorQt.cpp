#include "runtime_ui/OperadorQt.h"

#include "utility_library/Reloj.h"

#include <QAbstractFileIconProvider>
#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString textoPantalla(QString t) {
    // The suite separates lines with CR alone as often as with CR LF.
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// A message that lists rows (rows left pending, records out of the fixed
// layout) can run to thousands of lines: the box shows its first line, the
// first rows of the list with the count of the rest, and a closing question
// when there is one; the whole text stays under the box's details.
constexpr int kFilasVisibles = 10;

QString textoResumido(const QString& texto) {
    QStringList lineas = texto.split(QLatin1Char('\n'));
    const int minimo = kFilasVisibles + 3;
    if (lineas.size() <= minimo) {
        return texto;
    }
    const QString primera = lineas.takeFirst();
    QString ultima;
    if (lineas.last().trimmed().endsWith(QLatin1Char('?'))) {
        ultima = lineas.takeLast();
    }
    const qsizetype resto = lineas.size() - kFilasVisibles;
    QStringList r{primera};
    r << lineas.mid(0, kFilasVisibles) << QStringLiteral("y %1 más").arg(resto);
    if (!ultima.isNull()) {
        r << ultima;
    }
    return r.join(QLatin1Char('\n'));
}

// Icons told by the kind of entry alone. The stock provider asks the MIME
// database, which opens files to read their first bytes: closing such a
// descriptor of the database file would drop every lock SQLite holds on it.
class IconosSinAbrir : public QAbstractFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override {
        return QAbstractFileIconProvider::icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override {
        return info.isDir() ? QStringLiteral("Carpeta") : QStringLiteral("Archivo");
    }
};

struct Boton {
    QMessageBox::StandardButton boton;
    int respuesta;
};

QList<Boton> botonesDe(int estilo) {
    using M = QMessageBox;
    switch (estilo & 7) {
    case Operador::AceptarCancelar:
        return {{M::Ok, Operador::Aceptar}, {M::Cancel, Operador::Cancelar}};
    case Operador::AbortarReintentarIgnorar:
        return {{M::Abort, Operador::Abortar},
                {M::Retry, Operador::Reintentar},
                {M::Ignore, Operador::Ignorar}};
    case Operador::SiNoCancelar:
        return {{M::Yes, Operador::Si}, {M::No, Operador::No}, {M::Cancel, Operador::Cancelar}};
    case Operador::SiNo:
        return {{M::Yes, Operador::Si}, {M::No, Operador::No}};
    case Operador::ReintentarCancelar:
        return {{M::Retry, Operador::Reintentar}, {M::Cancel, Operador::Cancelar}};
    default:
        return {{M::Ok, Operador::Aceptar}};
    }
}

QMessageBox::Icon iconoDe(int estilo) {
    switch (estilo & 0x70) {
    case Operador::IconoCritico:
        return QMessageBox::Critical;
    case Operador::IconoPregunta:
        return QMessageBox::Question;
    case Operador::IconoExclamacion:
        return QMessageBox::Warning;
    case Operador::IconoInformacion:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// "Texto (*.txt)|*.txt|Todos|*.*" -> "Texto (*.txt) (*.txt);;Todos (*.*)"
QString filtroQt(const QString& filtro) {
    if (!filtro.contains(QLatin1Char('|'))) {
        return filtro;
    }
    const QStringList partes = filtro.split(QLatin1Char('|'));
    QStringList r;
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        r << partes.at(i) + QStringLiteral(" (") + QString(partes.at(i + 1)).replace(';', ' ') +
                 QLatin1Char(')');
    }
    return r.join(QStringLiteral(";;"));
}
} // namespace

int OperadorQt::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    const QString completo = textoPantalla(texto);
    const QString visible = textoResumido(completo);
    QMessageBox caja(iconoDe(estilo), titulo, visible, QMessageBox::NoButton, padre_);
    if (visible != completo) {
        caja.setDetailedText(completo);
    }
    const QList<Boton> botones = botonesDe(estilo);
    QList<QAbstractButton*> creados;
    for (const Boton& b : botones) {
        creados << caja.addButton(b.boton);
    }
    // Default button: 256 second, 512 third.
    const int porDefecto = (estilo >> 8) & 3;
    if (porDefecto < creados.size()) {
        caja.setDefaultButton(qobject_cast<QPushButton*>(creados.at(porDefecto)));
    }
    // Escape gives the answer that leaves things as they are.
    QAbstractButton* escape = creados.last();
    for (int i = 0; i < botones.size(); ++i) {
        if (botones.at(i).respuesta == Operador::Abortar) {
            escape = creados.at(i);
        }
    }
    caja.setEscapeButton(escape);
    caja.exec();
    QAbstractButton* pulsado = caja.clickedButton();
    for (int i = 0; i < creados.size(); ++i) {
        if (creados.at(i) == pulsado) {
            return botones.at(i).respuesta;
        }
    }
    return botones.size() == 1 ? Operador::Aceptar : Operador::Cancelar;
}

bool OperadorQt::InputBox(const QString& texto, const QString& titulo, QString& valor) {
    bool ok = false;
    const QString r =
        QInputDialog::getText(padre_, titulo, textoPantalla(texto), QLineEdit::Normal, valor, &ok);
    if (ok) {
        valor = r;
    }
    return ok;
}

QString OperadorQt::GuardarArchivo(const QString& titulo, const QString& carpeta,
                                   const QString& nombre, const QString& filtro) {
    const QString inicial = carpeta.isEmpty() ? nombre : QDir(carpeta).filePath(nombre);
    IconosSinAbrir iconos;
    QFileDialog d(padre_, titulo, inicial, filtroQt(filtro));
    d.setIconProvider(&iconos);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontUseCustomDirectoryIcons);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) {
        return QString();
    }
    return d.selectedFiles().constFirst();
}

QDate OperadorQt::EligeFecha() {
    QDialog d(padre_);
    d.setWindowTitle(QStringLiteral("Fecha"));
    auto* calendario = new QCalendarWidget(&d);
    calendario->setObjectName(QStringLiteral("calendario"));
    calendario->setSelectedDate(Reloj::hoy());
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    auto* capa = new QVBoxLayout(&d);
    capa->addWidget(calendario);
    capa->addWidget(botones);
    QObject::connect(botones, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(botones, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    QObject::connect(calendario, &QCalendarWidget::activated, &d, &QDialog::accept);
    if (d.exec() != QDialog::Accepted) {
        return QDate();
    }
    return calendario->selectedDate();
}

QString OperadorQt::EligeCarpeta(const QString& titulo, const QString& carpeta) {
    IconosSinAbrir iconos;
    QFileDialog d(padre_, titulo, carpeta);
    d.setIconProvider(&iconos);
    d.setFileMode(QFileDialog::Directory);
    d.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog |
                 QFileDialog::DontResolveSymlinks | QFileDialog::DontUseCustomDirectoryIcons);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) {
        return QString();
    }
    return d.selectedFiles().constFirst();
}
