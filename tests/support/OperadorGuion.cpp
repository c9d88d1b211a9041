#include "OperadorGuion.h"

#include <gtest/gtest.h>

OperadorGuion& OperadorGuion::responde(int respuesta) {
    respuestas_ << respuesta;
    return *this;
}

OperadorGuion& OperadorGuion::respondeTexto(const QString& texto, bool ok) {
    textos_ << qMakePair(texto, ok);
    return *this;
}

OperadorGuion& OperadorGuion::respondeArchivo(const QString& ruta) {
    archivos_ << ruta;
    return *this;
}

OperadorGuion& OperadorGuion::respondeFecha(const QDate& fecha) {
    fechas_ << fecha;
    return *this;
}

int OperadorGuion::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    Pregunta p{texto, estilo, titulo, 0};
    if (!respuestas_.isEmpty()) {
        p.respuesta = respuestas_.takeFirst();
    } else if (siempre_ != 0) {
        p.respuesta = siempre_;
    } else {
        sinGuion_ << titulo + " | " + texto;
        p.respuesta = RespuestaSegura(estilo);
        // A notice with one button asks nothing; a question must be scripted.
        if (!toleraSinGuion_ && (estilo & 7) != SoloAceptar) {
            ADD_FAILURE() << "Pregunta sin respuesta en el guion: "
                          << (titulo + " | " + texto).toStdString();
        }
    }
    preguntas_ << p;
    return p.respuesta;
}

bool OperadorGuion::InputBox(const QString& texto, const QString& titulo, QString& valor) {
    preguntas_ << Pregunta{texto, -1, titulo, 0};
    if (textos_.isEmpty()) {
        sinGuion_ << titulo + " | " + texto;
        return false;
    }
    auto t = textos_.takeFirst();
    if (t.second) {
        valor = t.first;
    }
    return t.second;
}

QString OperadorGuion::GuardarArchivo(const QString& titulo, const QString&, const QString&,
                                      const QString&) {
    preguntas_ << Pregunta{QString(), -2, titulo, 0};
    if (archivos_.isEmpty()) {
        sinGuion_ << titulo;
        return {};
    }
    return archivos_.takeFirst();
}

QString OperadorGuion::EligeCarpeta(const QString& titulo, const QString& carpeta) {
    return GuardarArchivo(titulo, carpeta, QString(), QString());
}

QDate OperadorGuion::EligeFecha() {
    preguntas_ << Pregunta{QString(), -3, QString(), 0};
    if (fechas_.isEmpty()) {
        sinGuion_ << QStringLiteral("EligeFecha");
        return {};
    }
    return fechas_.takeFirst();
}

void OperadorGuion::limpia() {
    respuestas_.clear();
    textos_.clear();
    archivos_.clear();
    fechas_.clear();
    preguntas_.clear();
    sinGuion_.clear();
}
