#include "connection_dialog/VentanaConexion.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

VentanaConexion::VentanaConexion(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmAcceso"));
    setWindowTitle(QStringLiteral("Control de Acceso"));
    setModal(true);

    auto* framAcceso = new QGroupBox(this);
    framAcceso->setObjectName(QStringLiteral("framAcceso"));
    auto nuevaCaja = [&](const char* nombre, const QString& ayuda) {
        auto* c = new QLineEdit(framAcceso);
        c->setObjectName(QString::fromLatin1(nombre));
        c->setToolTip(ayuda);
        return c;
    };
    TxtServidor =
        nuevaCaja("TxtServidor", QStringLiteral("ingrese el nombre del servidor e instancia"));
    TxtDbName = nuevaCaja("TxtDbName", QStringLiteral("ingrese el nombre de la base de datos"));
    TxtUserId = nuevaCaja("TxtUserId", QStringLiteral("Ingrese el nombre de usuario"));
    TxtUserPassword = nuevaCaja("TxtUserPassword", QString::fromUtf8("Ingrese la contraseña"));
    TxtUserPassword->setEchoMode(QLineEdit::Password);
    TxtPuerto = nuevaCaja("TxtPuerto", QStringLiteral("Ingrese el Puerto "));
    CboPlataformaDB = new QComboBox(framAcceso);
    CboPlataformaDB->setObjectName(QStringLiteral("CboPlataformaDB"));
    CboPlataformaDB->addItems(ModeloAcceso::Plataformas());

    auto* datos = new QGridLayout(framAcceso);
    auto* titulo = new QLabel(QStringLiteral("Complete los datos de conexion"), framAcceso);
    titulo->setObjectName(QStringLiteral("Label1"));
    datos->addWidget(titulo, 0, 0, 1, 2);
    const QList<QPair<QString, QWidget*>> filas{
        {QStringLiteral("Servidor"), TxtServidor},
        {QStringLiteral("Base de datos"), TxtDbName},
        {QStringLiteral("Usuario"), TxtUserId},
        {QString::fromUtf8("Contraseña"), TxtUserPassword},
        {QStringLiteral("Puerto"), TxtPuerto},
        {QStringLiteral("Plataforma"), CboPlataformaDB},
    };
    int fila = 1;
    for (const auto& f : filas) {
        datos->addWidget(new QLabel(f.first, framAcceso), fila, 0);
        datos->addWidget(f.second, fila++, 1);
    }

    auto* registradas = new QLabel(QStringLiteral("Conexiones registradas"), this);
    registradas->setObjectName(QStringLiteral("Label1"));
    lstBases = new QListWidget(this);
    lstBases->setObjectName(QStringLiteral("lstBases"));

    bcAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    bcAceptar->setObjectName(QStringLiteral("bcAceptar"));
    bcAceptar->setDefault(true);
    bcCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    bcCancelar->setObjectName(QStringLiteral("bcCancelar"));
    CmdRegistrar = new QPushButton(QStringLiteral("Registrar"), this);
    CmdRegistrar->setObjectName(QStringLiteral("CmdRegistrar"));
    CmdLineaComando = new QPushButton(QStringLiteral("Crear Acceso Directo"), this);
    CmdLineaComando->setObjectName(QStringLiteral("CmdLineaComando"));

    auto* botones = new QHBoxLayout;
    botones->addWidget(CmdRegistrar);
    botones->addWidget(CmdLineaComando);
    botones->addStretch();
    botones->addWidget(bcAceptar);
    botones->addWidget(bcCancelar);
    auto* capa = new QVBoxLayout(this);
    capa->addWidget(framAcceso);
    capa->addWidget(registradas);
    capa->addWidget(lstBases);
    capa->addLayout(botones);

    connect(bcAceptar, &QPushButton::clicked, this, [this] {
        lee();
        modelo_.Aceptar();
        accept();
    });
    connect(bcCancelar, &QPushButton::clicked, this, [this] {
        modelo_.Cancelar();
        reject();
    });
    connect(CmdRegistrar, &QPushButton::clicked, this, [this] {
        lee();
        modelo_.Registrar();
        muestra();
    });
    connect(CmdLineaComando, &QPushButton::clicked, this,
            [] { ModeloAcceso::CreaAccesoDirecto(); });
    connect(lstBases, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* i) { seleccionLista(lstBases->row(i)); });
    connect(lstBases, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* i) {
        seleccionLista(lstBases->row(i));
        bcAceptar->click();
    });
    lstBases->installEventFilter(this);
    TxtUserId->installEventFilter(this);
    connect(TxtDbName, &QLineEdit::textChanged, this,
            [this] { cambioTexto(ModeloAcceso::DbName); });
    connect(TxtServidor, &QLineEdit::textChanged, this,
            [this] { cambioTexto(ModeloAcceso::Servidor); });
    connect(TxtUserPassword, &QLineEdit::textChanged, this,
            [this] { cambioTexto(ModeloAcceso::UserPassword); });
    muestra();
}

void VentanaConexion::Carga() {
    if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
        const QRect r = pantalla->availableGeometry();
        move(r.left() + (r.width() - width()) / 2, r.top() + (r.height() - height()) / 2);
    }
    modelo_.Carga();
    muestra();
}

QLineEdit* VentanaConexion::caja(ModeloAcceso::Caja c) const {
    switch (c) {
    case ModeloAcceso::Servidor:
        return TxtServidor;
    case ModeloAcceso::DbName:
        return TxtDbName;
    case ModeloAcceso::UserId:
        return TxtUserId;
    case ModeloAcceso::UserPassword:
        return TxtUserPassword;
    case ModeloAcceso::Puerto:
        return TxtPuerto;
    default:
        return nullptr;
    }
}

void VentanaConexion::pintaPista(ModeloAcceso::Caja c, QLineEdit* cajaTexto) {
    if (!modelo_.enColorPista[c]) {
        return;
    }
    QPalette p = cajaTexto->palette();
    p.setColor(QPalette::Text, QColor(2, 0, 0));
    cajaTexto->setPalette(p);
}

void VentanaConexion::muestra() {
    mostrando_ = true;
    for (int c = ModeloAcceso::Servidor; c <= ModeloAcceso::Puerto; ++c) {
        QLineEdit* e = caja(ModeloAcceso::Caja(c));
        const QString& t = modelo_.texto(ModeloAcceso::Caja(c));
        if (e->text() != t) {
            e->setText(t);
        }
        pintaPista(ModeloAcceso::Caja(c), e);
    }
    CboPlataformaDB->setCurrentIndex(modelo_.indicePlataforma);
    QStringList actual;
    for (int i = 0; i < lstBases->count(); ++i) {
        actual << lstBases->item(i)->text();
    }
    if (actual != modelo_.lstBases) {
        lstBases->clear();
        lstBases->addItems(modelo_.lstBases);
    }
    lstBases->setCurrentRow(modelo_.indiceLista);
    mostrando_ = false;
}

void VentanaConexion::lee() {
    modelo_.txtServidor = TxtServidor->text();
    modelo_.txtDbName = TxtDbName->text();
    modelo_.txtUserId = TxtUserId->text();
    modelo_.txtUserPassword = TxtUserPassword->text();
    modelo_.txtPuerto = TxtPuerto->text();
    modelo_.indicePlataforma = CboPlataformaDB->currentIndex();
    modelo_.indiceLista = lstBases->currentRow();
}

void VentanaConexion::cambioTexto(ModeloAcceso::Caja c) {
    if (mostrando_) {
        return;
    }
    lee();
    if (modelo_.MensajeInicial(c)) {
        QLineEdit* e = caja(c);
        mostrando_ = true;
        if (e->text() != modelo_.texto(c)) {
            e->setText(modelo_.texto(c));
        }
        pintaPista(c, e);
        e->setSelection(0, int(modelo_.texto(c).trimmed().size()));
        mostrando_ = false;
    }
}

void VentanaConexion::seleccionLista(int fila) {
    lee();
    modelo_.indiceLista = fila;
    modelo_.AsignarDatosBase();
    muestra();
}

bool VentanaConexion::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lstBases && evento->type() == QEvent::KeyRelease) {
        // Any key in the list shows the entry it leaves selected.
        seleccionLista(lstBases->currentRow());
    } else if (objeto == TxtUserId && evento->type() == QEvent::FocusIn) {
        lee();
        if (modelo_.MensajeInicial(ModeloAcceso::UserId)) {
            mostrando_ = true;
            TxtUserId->setText(modelo_.txtUserId);
            pintaPista(ModeloAcceso::UserId, TxtUserId);
            TxtUserId->setSelection(0, int(modelo_.txtUserId.trimmed().size()));
            mostrando_ = false;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}
