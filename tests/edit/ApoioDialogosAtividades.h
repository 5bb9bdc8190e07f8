#pragma once

// Shared ground of the tests of the activity, resource and analysis dialogs: a fresh store, the
// scripted seam, lookup lists from memory, scripted choices, and a run of a dialog's logic through
// AbreEdicao on a scripted form.

#include "edit/Edicao.h"
#include "edit/EdicaoEntidade.h"
#include "edit/EscolhasAtividades.h"
#include "edit/FonteDeItens.h"
#include "edit/FormularioRoteirizado.h"

#include "core/InteracaoRoteirizada.h"
#include "store/Dados.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <utility>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class DialogoAtividadeTest : public ::testing::Test
{
protected:
    using Valores = std::initializer_list<std::pair<const char*, const char*>>;

    void SetUp() override;
    void TearDown() override;

    store::Dados& d() { return store::dados(); }

    // Appends and posts a row, whatever the filter shows; returns its bookmark.
    static store::Table::Bookmark linha(store::Table& t, Valores valores);
    // Moves to the row whose column holds the value (filter off meanwhile); false when none.
    static bool vaiPara(store::Table& t, const char* coluna, const QString& valor);
    // "col1|col2" of every row, hidden ones included, in natural order.
    static QStringList linhas(store::Table& t, std::initializer_list<const char*> colunas);
    // Rows of any letter holding `texto` in `coluna`.
    static int conta(store::Table& t, const char* coluna, const QString& texto);
    // Every row of every table as text: a whole-store comparison for Cancelar.
    QStringList fotografia();

    // A project record with its signature date.
    void projeto(const char* assinatura = "10/05/1995");

    // Runs the logic through AbreEdicao: insert (new record) or edit of the current row; `roteiro` acts
    // as the user. Returns the dialog's exec result (1 OK, 2 Cancel, 0 still open).
    int abre(bool inserir, store::Table& tabela, const QString& chave,
             const std::function<std::unique_ptr<edit::EdicaoEntidade>(edit::Formulario&)>& cria,
             const std::function<void()>& roteiro);

    // The descriptions the scripted choices give, in order.
    std::deque<QString> areasEscolhidas;
    std::deque<QString> acessosEscolhidos;
    std::deque<QString> acoesEscolhidas;

    QStringList mensagens() const { return roteiro.textos(); }

    edit::FormularioRoteirizado form;
    std::unique_ptr<edit::EdicaoEntidade> logica;
    app::InteracaoRoteirizada roteiro;

private:
    edit::LeitorDeItens m_leitorAnterior;
    edit::EscolhasAtividades m_escolhasAnteriores;
};
