#pragma once

#include <QString>

class QWidget;

// What the main window calls for the exchange with the server, before a send.
namespace net {

// The Load command ("&Carregar dados"): the login dialog, the chooser, the download, then the
// window's CreateWindows through the project hooks.
void CarregarClick(QWidget* pai);

// The repair login of a file made by an earlier version; returns the server's code of the project,
// empty when the repair failed or was cancelled.
QString ReparaComLogin(QWidget* pai);
// Makes the Open command use ReparaComLogin for its conversion.
void InstalaReparoComLogin(QWidget* pai);

// TfrmMenu1.VerificarPendencia: both checks; when one finds something, the pending-items window is
// shown and app::Abort ends the command. The Check command calls it with quiet false, the send twice.
void VerificarPendenciaNaJanela(bool quiet, QWidget* pai);

// Shows the pending-items window with what the last check found.
void MostraPendencias(QWidget* pai);

} // namespace net
