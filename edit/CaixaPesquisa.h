#pragma once

#include "edit/ListasInstituicao.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace edit {

class Formulario;

// Texts shown twice (an institution listed once per involvement) get their key after them, " (key)",
// so that every item of a box names one row and the choice finds that row.
void DistingueRepetidos(std::vector<ItemPesquisa>& itens);

// A list box that shows one column of a table and stores another (an institution's name shown, its
// code stored). The box itself is unbound: the dialog loads its items and the shown choice, and on
// each choice writes the key into the record.
class CaixaPesquisa
{
public:
    explicit CaixaPesquisa(QString controle) : m_controle(std::move(controle)) {}

    const QString& controle() const { return m_controle; }

    // Replaces the items; texts shown twice get their key after them, so every item names one row.
    void carrega(Formulario& form, std::vector<ItemPesquisa> itens);
    // Shows the item of `chave` (none when the box does not list it); false when it is not listed.
    bool mostra(Formulario& form, const QString& chave) const;
    // The key of the item the box shows; empty when none.
    QString chaveEscolhida(const Formulario& form) const;
    bool contem(const QString& chave) const;

private:
    QString m_controle;
    std::vector<ItemPesquisa> m_itens;  // shown texts made unique
};

} // namespace edit
