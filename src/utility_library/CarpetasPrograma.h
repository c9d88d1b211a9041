#pragma once

#include <QString>

// Where the program's own files are, decided in one place from the program
// folder (the executable's, Programa::carpeta()).
//
// A program folder the program may write to (a build, or a copied folder as
// the suite installs it) keeps everything, as it always has. One it may not
// write to keeps nothing the program writes:
//   - the files the program writes (KXERR.LOG, consultas.kvx,
//     CONSULTASLEN.KVX, BASES.TXT, ve000zi.ini, tarvelo.ini, a SQLite
//     database named without a folder) go to the service's state folder
//     ($STATE_DIRECTORY, set by systemd) or else to the user's data folder
//     ($XDG_DATA_HOME/tarvelo, normally ~/.local/share/tarvelo), the same
//     for both programs;
//   - the files it only reads (Styles/, reports/, the icon strips, schema/)
//     come from the installed data folder, ../share/tarvelo beside the
//     executable's folder, when there is one, and from the program folder
//     otherwise.
//
// "May not write" is decided without trying to write: a program run by root
// passes every permission check, and a probe file would itself be a file
// written beside the executable. The folder is read-only when
//   - it is an installed layout: named "bin", with ../share/tarvelo beside it
//     (the package, or any install prefix): an installed program never writes
//     beside itself, whoever runs it;
//   - or its file system is mounted read-only;
//   - or the process is refused write access (access(2));
//   - or nobody has write permission on it (no w bit at all): the
//     administrator made it read-only, even if root could still write.
class CarpetasPrograma {
public:
    // Folder of the files the program writes; ends with '/'. Created when it
    // is the state or data folder and missing.
    static QString escritura();
    // Folder of the files shipped with the program that it only reads; ends
    // with '/'.
    static QString lectura();
    // True while the program folder keeps everything.
    static bool enCarpetaPrograma();
    // Start-up's account of where files are read and written, one line each,
    // in Spanish, each ending with '\n'.
    static QString informe();
    // One line for standard error when the files are not in the program
    // folder (empty otherwise): where this run writes.
    static QString aviso();
};
