#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class GrillaLote;

// What would leave the fixed layout if the grid were written now. The suite
// writes such records as they are (a one-character category, an amount of a
// million or more or below zero make longer cells), and so do we, but never
// without saying so: a point of sale reading fixed positions misreads every
// field after a longer cell, and a character Windows-1252 has no code for
// reaches the files as "?".
struct HallazgoFormato {
    enum class Tipo {
        LargoCambios,       // the point-of-sale record is not 126 characters
        LargoBalanza,       // the scale record is not 81 characters
        CaracteresPerdidos, // a cell holds characters outside Windows-1252
    };
    Tipo tipo = Tipo::LargoCambios;
    int fila = 0;     // grid row
    QString codigo;   // the row's CodInterno cell, to name it
    int columna = -1; // CaracteresPerdidos: the cell's column (FilaNovedad::Columna)
    int largo = 0;    // Largo*: the record's length as written, in bytes
    QString archivo;  // Largo*: the file whose layout the record leaves
    int esperado = 0; // Largo*: the file's record length
    QString perdidos; // CaracteresPerdidos: the characters written as "?"

    // One line for the operator, e.g. "Fila 3 (000001234): el registro de
    // CAMBIOS.TXT tendría 127 caracteres en lugar de 126".
    QString Describe() const;
};

struct RevisionFormato {
    QList<HallazgoFormato> hallazgos; // by row, then in the order above

    bool vacia() const { return hallazgos.isEmpty(); }
    // Rows whose point-of-sale record would not be 126 characters.
    int filasCambios() const;
    // Rows whose scale record would not be 81 characters.
    int filasBalanza() const;
    // Cells that would lose characters.
    int celdasConPerdidas() const;
    // The grid rows named by any finding, ascending, each once (to mark them).
    QList<int> filas() const;
    // One line per finding.
    QStringList Describe() const;
};

// Looks at every loaded row of the grid (blank rows are never written) the
// way ArchivosCambio writes it: each file's own check of its records, then
// the cells. Pure: no database, no file, no question.
RevisionFormato RevisaFormato(const GrillaLote& grilla);
