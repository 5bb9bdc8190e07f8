#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace edit {

// The items of a lookup-list file (LeListaItens of edit/TabelasInternas.h), through a reader that
// tests replace. Throws FalhaTabelaInterna, which the dialogs turn into their one message.
QStringList ItensDaLista(const QString& arquivo);

// Replaces the reader (tests); returns the previous one. An empty function restores the file reader.
using LeitorDeItens = std::function<QStringList(const QString& arquivo)>;
LeitorDeItens TrocaLeitorDeItens(LeitorDeItens novo);

} // namespace edit
