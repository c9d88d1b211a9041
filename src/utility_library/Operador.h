#pragma once

#include <QDate>
#include <QString>

// Every modal question of the program goes through this seam, so that tests
// can script the answers and the unattended command can answer safely.
class Operador {
public:
    // Message box styles (buttons + icon), as the suite writes them.
    enum Estilo : int {
        SoloAceptar = 0,
        AceptarCancelar = 1,
        AbortarReintentarIgnorar = 2,
        SiNoCancelar = 3,
        SiNo = 4,
        ReintentarCancelar = 5,
        IconoCritico = 16,
        IconoPregunta = 32,
        IconoExclamacion = 48,
        IconoInformacion = 64,
        // The second button is the default one (No of Yes/No): for questions
        // whose Yes writes or marks, so that a hasty Enter changes nothing.
        SegundoPorDefecto = 256,
        // The error dialogs' buttons: abort, retry, ignore, with the critical icon.
        ErrorConReintento = AbortarReintentarIgnorar | IconoCritico,
    };
    // Answers.
    enum Respuesta : int {
        Aceptar = 1,
        Cancelar = 2,
        Abortar = 3,
        Reintentar = 4,
        Ignorar = 5,
        Si = 6,
        No = 7,
    };

    // The questions an unattended run answers on purpose, named so that its
    // operator recognises them by what they are, never by their wording.
    enum class IdPregunta {
        Otra,           // anything else: the safe answer
        Regenerar,      // "¿Está seguro de querer regenerar la novedad?"
        Testigo,        // "¿Desea Imprimir un Testigo?"
        CodigoUsado,    // the code was taken meanwhile: use the next one?
        FueraDeFormato, // records leave the fixed layout: generate anyway?
        Alertas,        // implausible prices: generate anyway?
    };

    virtual ~Operador() = default;
    // The answer that risks nothing when nobody can be asked: Abort on an
    // error, No to a question, Cancel where there is one, OK otherwise.
    static int RespuestaSegura(int estilo);

    virtual int MsgBox(const QString& texto, int estilo, const QString& titulo) = 0;
    // A named question; shown as any message box unless the operator knows it.
    virtual int Pregunta(IdPregunta cual, const QString& texto, int estilo, const QString& titulo) {
        (void)cual;
        return MsgBox(texto, estilo, titulo);
    }
    // Returns false when the operator gave up.
    virtual bool InputBox(const QString& texto, const QString& titulo, QString& valor) = 0;
    // Save-file dialog; empty when cancelled.
    virtual QString GuardarArchivo(const QString& titulo, const QString& carpeta,
                                   const QString& nombre, const QString& filtro) = 0;
    // Folder picker that lists folders only (nothing in it opens a file, so
    // no lock of the database file can go); empty when cancelled.
    virtual QString EligeCarpeta(const QString& titulo, const QString& carpeta) = 0;
    // Date picker; null when given up.
    virtual QDate EligeFecha() = 0;
};

// The program-wide operator. Defaults to the silent one until start-up sets another.
Operador& operador();
// Does not take ownership; pass nullptr to go back to the default.
void fijaOperador(Operador* o);
