#pragma once

#include <QString>

#include <functional>
#include <memory>

class QDialog;

namespace app::ui {

class TfrmMenu1;

// What the "&Incluir" and "&Editar" buttons and the grid's double click of a record page open: each
// family of entity dialogs fills PaginaRegistro::incluirEditar for its own pages, in its own file
// (RegistrosEquipe.cpp ...), so the families never edit the same lines.
void LigaRegistros(TfrmMenu1& janela);

// The families.
void LigaRegistrosEquipe(TfrmMenu1& janela);                    // Equipe, Bolsas
void LigaRegistrosIdentificacaoResultados(TfrmMenu1& janela);   // identification and generated results
void LigaRegistrosAtividadesRecursos(TfrmMenu1& janela);        // supported activities, resources, analysis

// Makes the page of `tabela` open the dialog `fabrica` creates, through AbreEdicao with the page's
// button panel and the key field name ("XXX": no code of its own). `antes` (may be empty) runs
// after the dialog is created and before it is shown, with the insert flag.
using FabricaDialogo = std::function<std::unique_ptr<QDialog>()>;
void LigaDialogo(TfrmMenu1& janela, const QString& tabela, const QString& campoChave, FabricaDialogo fabrica,
                 std::function<void(QDialog&, bool inserir)> antes = {});

} // namespace app::ui
