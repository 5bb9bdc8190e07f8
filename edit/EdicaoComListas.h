#pragma once

#include "edit/EdicaoEntidade.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace store {
class Table;
}

namespace edit {

// A list box that shows the names of another table's records and stores the chosen record's code
// (an institution, a team member, a laboratory). The box lists the records that the dialog's filter
// shows in the source table; the table's own filter is left as it is.
class ConsultaTabela
{
public:
    ConsultaTabela(QString controle, store::Table& origem, QString filtro, QString campoNome, QString campoCodigo,
                   store::Table& destino, QString campoDestino);

    const QString& controle() const { return m_controle; }

    // Fills the box from the source table (sorted by name).
    void carrega(Formulario& form);
    // The name shown for the code stored in the record; empty when the box does not list the code.
    QString nomeDe(const QString& codigo) const;
    bool lista(const QString& codigo) const;
    // Shows the stored code; a code that the box cannot show is emptied in the record when
    // `esvaziaAusente` (the record is in edit state).
    void mostra(Formulario& form, bool esvaziaAusente);
    // The user chose an item: its code goes into the record.
    void escolheu(Formulario& form);
    // Backspace: the field is emptied.
    void apaga(Formulario& form);
    // The chosen record's value of another field of the source table; empty when none is chosen.
    QString campoDoEscolhido(const QString& campo) const;

private:
    QString m_controle;
    store::Table& m_origem;
    QString m_filtro;
    QString m_campoNome, m_campoCodigo;
    store::Table& m_destino;
    QString m_campoDestino;
    std::vector<std::pair<QString, QString>> m_itens;  // name, code; sorted by name
};

// An entity dialog with child lists of knowledge areas and economic sectors: each list is filtered
// to the record while the dialog is open, has its Incluir and Excluir buttons, and is committed or
// rolled back with the record.
class EdicaoComListas : public EdicaoEntidade
{
public:
    using EdicaoEntidade::EdicaoEntidade;

protected:
    enum class TipoLista { Areas, Setores };
    struct ListaFilha {
        TipoLista tipo;
        store::Table* tabela = nullptr;
        QString ligacao;  // the link field (the record's key)
        QString incluir, excluir;
        QString pagina;   // where "no area" sends the user
    };

    // Declarations (constructor).
    void declaraListaFilha(TipoLista tipo, store::Table& tabela, const QString& ligacao, const QString& incluir,
                           const QString& excluir, const QString& pagina);
    void declaraConsulta(const QString& controle, store::Table& origem, const QString& filtro,
                         const QString& campoNome, const QString& campoCodigo, const QString& campoDestino);

    // Showing: the child lists filtered to the record.
    void filtraListas();
    // The lookup boxes filled and their stored codes shown; codes they cannot show are emptied
    // when `esvazia`.
    void mostraConsultas(bool esvazia);
    void habilitaBotoesListas();

    // Events the dialogs pass on: true when the control was one of the lists or lookups.
    bool clicouLista(const QString& controle);
    bool mudouConsulta(const QString& controle);
    bool apagouConsulta(const QString& controle);
    ConsultaTabela* consulta(const QString& controle);

    // True when the record has no knowledge area shown in its list.
    bool semAreas() const;
    const ListaFilha* lista(TipoLista tipo) const;

    // Commit and roll-back of the lists, in their declaration order.
    void confirmaListas();
    void cancelaListas();
    std::vector<store::Table*> tabelasFilhas() const;

    // The value of a field of the record, trimmed.
    QString campo(const QString& nome) const;
    void defineCampo(const QString& nome, const QString& valor);
    // A text right-aligned in a masked edit of `tamanho` positions, as AlinhaNumero or AlinhaValor
    // leave it; written into the edit with mostraAlinhado.
    static QString Alinhado(const QString& texto, int tamanho, bool valor = false);
    void mostraAlinhado(const QString& controle, const QString& texto, bool valor = false);
    // A masked edit's text with its empty mask read as empty, trimmed.
    QString mascaraOuVazio(const QString& controle, const QString& vazia) const;

private:
    std::vector<ListaFilha> m_listas;
    std::vector<ConsultaTabela> m_consultas;
};

} // namespace edit
