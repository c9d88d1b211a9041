#pragma once

// Makes the database layer ask through the "Control de Acceso" window when
// connection data are missing (call once, with a QApplication running).
void InstalaDialogoConexion();
