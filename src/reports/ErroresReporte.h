#pragma once

// Numbers of the report service's failures, as the error dialogs show them.
namespace ErroresReporte {
constexpr int kSinImpresora = 20545; // kept by QlReport itself
constexpr int kDefinicionFaltante = 20546;
constexpr int kDefinicionInvalida = 20547;
constexpr int kFormulaInvalida = 20548;
constexpr int kSinFilas = 20549;
constexpr int kSinConexion = 20550;
constexpr int kLectura = 20551;
constexpr int kSalida = 20552;
constexpr int kCodigoBarras = 20553;
constexpr int kPagina = 20554;
constexpr int kNoCabe = 20555; // a value that is never cut does not fit its box
} // namespace ErroresReporte
