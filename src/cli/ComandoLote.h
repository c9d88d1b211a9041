#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The batch with no window, for a scheduled nightly run:
//
//   generar "<suite command line>" --lista CODIGO --carpeta CARPETA [--codigo N]
//           [--fecha FECHA] [--hoy AAAA-MM-DD] [--articulos DESDE:HASTA]...
//           [--familias DESDE:HASTA]... [--letra L] [--marcar] [--testigo-pdf ARCHIVO]
//           [--acepta-alertas] [--sin-recuperar]
//   regenerar "<suite command line>" --codigo N [--carpeta CARPETA] [--hoy AAAA-MM-DD]
//             [--testigo-pdf ARCHIVO]
//   verificar "<suite command line>" --codigo N
//
// `args` are the words after the command's name (a leading command name is
// accepted too). Standard output gets one summary line; messages go to `err`.
namespace CodigoLote {
constexpr int Generado = 0;
constexpr int SinNovedades = 1; // nothing to send
constexpr int Invalido = 2;     // bad arguments or invalid input
constexpr int Abandonado = 3;   // a failure abandoned the operation
constexpr int ConAlertas = 4;   // prices alerted and --acepta-alertas was not given
constexpr int Difiere = 1;      // verificar: the batch's files differ from what was recorded
} // namespace CodigoLote

int ComandoGenerar(const QStringList& args, QTextStream& out, QTextStream& err);
int ComandoRegenerar(const QStringList& args, QTextStream& out, QTextStream& err);
// verificar "<suite command line>" --codigo N: exit 0 when the batch's files,
// rebuilt, equal their recorded digests and kept copies; 1 when they differ.
int ComandoVerificar(const QStringList& args, QTextStream& out, QTextStream& err);
// The --help text of both commands, and the exit codes' paragraph.
QString AyudaComandoLote();
QString CodigosDeSalidaLote();
