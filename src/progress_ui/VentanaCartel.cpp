#include "progress_ui/VentanaCartel.h"

#include "progress_ui/CuadrosAnimacion.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kCancelar = QStringLiteral("&Cancelar");
const QString kAbortado = QStringLiteral("Abortado");
} // namespace

VentanaCartel::VentanaCartel(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Procesando Datos"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 242, 250));
    setPalette(pal);

    titulo_ = new QLabel(this);
    QFont f = titulo_->font();
    f.setBold(true);
    titulo_->setFont(f);
    titulo_->setText(windowTitle());
    Image1_ = new QLabel(this);
    Image1_->setFixedSize(36, 36);
    Image1_->setAlignment(Qt::AlignCenter);
    for (auto& l : LblCtrol_) {
        l = new QLabel(this);
        l->setMinimumWidth(260);
    }
    cancelar_ = new QPushButton(kCancelar, this);
    cancelar_->setVisible(false);
    connect(cancelar_, &QPushButton::clicked, this, [this] { cancelar_->setText(kAbortado); });

    auto* lineas = new QVBoxLayout;
    lineas->addWidget(titulo_);
    for (auto* l : LblCtrol_) {
        lineas->addWidget(l);
    }
    auto* fila = new QHBoxLayout;
    fila->addWidget(Image1_, 0, Qt::AlignTop);
    fila->addLayout(lineas, 1);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(fila);
    todo->addWidget(cancelar_, 0, Qt::AlignRight);

    ImageList1_ = CuadrosAnimacion::dibuja(32);
    muestraCuadro(1);
    setWindowOpacity(Opacidad);
    adjustSize();
    if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
        const QRect r = pantalla->availableGeometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }

    Timer1_ = new QTimer(this);
    Timer1_->setInterval(100);
    connect(Timer1_, &QTimer::timeout, this, &VentanaCartel::avanzaAnimacion);
    Timer1_->start();
}

void VentanaCartel::fijaTitulo(const QString& titulo) {
    setWindowTitle(titulo);
    titulo_->setText(titulo);
}

void VentanaCartel::fijaLinea(int indice, const QString& texto) {
    if (indice >= 0 && indice < 3) {
        LblCtrol_[indice]->setText(texto);
    }
}

QString VentanaCartel::linea(int indice) const {
    return indice >= 0 && indice < 3 ? LblCtrol_[indice]->text() : QString();
}

void VentanaCartel::muestraCancelar(bool mostrar) {
    cancelar_->setVisible(mostrar);
}

bool VentanaCartel::cancelarVisible() const {
    return !cancelar_->isHidden();
}

bool VentanaCartel::abortado() const {
    return cancelar_->text() == kAbortado;
}

void VentanaCartel::avanzaAnimacion() {
    ++contador_;
    muestraCuadro(contador_);
    if (contador_ >= CuadrosAnimacion::Cantidad) {
        contador_ = 0;
    }
}

void VentanaCartel::muestraCuadro(int numero) {
    if (numero < 1 || numero > ImageList1_.size()) {
        return;
    }
    Image1_->setPixmap(QPixmap::fromImage(ImageList1_[numero - 1]));
    cuadroMostrado_ = numero;
}

void VentanaCartel::fijaSiempreVisible(bool siempre) {
    const bool estabaVisible = isVisible();
    const QRect lugar = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, siempre);
    // Changing the flag hides the window: put it back where it was.
    setGeometry(lugar);
    if (estabaVisible) {
        show();
    }
}
