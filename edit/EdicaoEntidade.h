#pragma once

#include "edit/Formulario.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

namespace store {
class Table;
}

namespace edit {

// How a control shows its field.
enum class TipoControle {
    Texto,   // one-line edit: the field's text
    Memo,    // multi-line edit
    Lista,   // drop-down list box: the chosen item is the field's text
    Opcoes,  // radio group: the chosen item's stored value (valores, one per item in order)
    Marca,   // check box: valores[0] when checked, valores[1] when not
};

// One control bound to one field of one table, declared once by the dialog's logic. The form loads
// the control from the current record of the table and writes the user's changes into its edit
// buffer. `lista`: a lookup-list file whose lines replace the items of a list box or radio group.
struct Ligacao {
    QString controle;
    store::Table* tabela = nullptr;
    QString campo;
    TipoControle tipo = TipoControle::Texto;
    QStringList valores;
    QString lista;
};

// An unbound masked edit (codes, numbers, money, dates): its Qt mask ("#########;_", "99/99/9999;_").
struct Mascara {
    QString controle;
    QString mascara;
    int tamanho() const;  // positions of the mask, separators included
};

// The logic of an entity dialog: the rules every dialog shares, held once, and the hooks through
// which each dialog adds its own steps. A dialog derives from it, declares its bindings, masks and
// lists in its constructor, and writes its showing, exit, Confirmar and Cancelar steps in the hooks.
//
// The form reports its events to the public entry points below; the Qt form does so from its
// widgets' signals, tests call them through FormularioRoteirizado.
class EdicaoEntidade
{
public:
    // Control names every dialog shares.
    static inline const QString Confirmar = QStringLiteral("btmbtConfirmar");
    static inline const QString Cancelar = QStringLiteral("bmbtCancelar");

    EdicaoEntidade(Formulario& form, store::Table& tabela, QString campoChave);
    virtual ~EdicaoEntidade();
    EdicaoEntidade(const EdicaoEntidade&) = delete;
    EdicaoEntidade& operator=(const EdicaoEntidade&) = delete;

    // Declarations, for the forms.
    const std::vector<Ligacao>& ligacoes() const { return m_ligacoes; }
    const std::vector<Mascara>& mascaras() const { return m_mascaras; }
    const Ligacao* ligacao(const QString& controle) const;
    const Mascara* mascara(const QString& controle) const;
    // The first page, shown on showing and when Confirmar starts.
    const QString& primeiraPagina() const { return m_primeiraPagina; }

    // Events.
    void cria();     // creation: loads the lookup lists
    void mostra();   // showing
    void confirma(); // Confirmar, guarded
    void cancela();  // Cancelar, guarded
    // The window is being closed (title-bar close, Esc): true when it may close. Asks first while
    // closing is not allowed.
    bool fechando();
    void mudou(const QString& controle);   // the user changed the control's value
    void clicou(const QString& controle);  // a button (other than Confirmar and Cancelar)
    // The focus leaves `controle` for `proximo`; false when an exit check failed (the logic moved
    // the focus back). Quiet while the focus goes to Cancelar.
    bool saiu(const QString& controle, const QString& proximo);
    // The user asks for another page; false refuses.
    bool trocandoPagina(const QString& de, const QString& para);
    void apagou(const QString& controle);  // Backspace in a list box
    // The user changed a bound control: its value goes into the record. A record that is not being
    // edited is put into edit state first (MarcaEdicao: one the server knows becomes A), so that no
    // change of the user's is dropped; when there is no record to take it, the failure is told and
    // false returned (the form then shows the record's value again). Both forms write through it.
    bool usuarioEscreveu(const Ligacao& ligacao, const QString& valor);

    // State.
    int modo() const { return m_form.modo(); }
    bool inserindo() const { return modo() == 1; }
    bool podeFechar() const { return m_podeFechar; }
    Resultado resultado() const { return m_resultado; }
    bool listasCarregadas() const { return m_listasCarregadas; }
    store::Table& tabela() const { return m_tabela; }
    QString codigo() const;  // the main record's key
    Formulario& form() const { return m_form; }

    // The required-fields message: the heading, two carriage returns, one line per label.
    static QString MensagemObrigatorios(const QStringList& rotulos);

protected:
    // Declarations (constructor of the dialog).
    void liga(const QString& controle, store::Table& tabela, const QString& campo,
              TipoControle tipo = TipoControle::Texto, const QStringList& valores = {},
              const QString& lista = {});
    void declaraMascara(const QString& controle, const QString& mascara);
    void declaraLista(const QString& controle, const QString& arquivo);  // an unbound list box
    void defineTitulos(const QString& inclusao, const QString& edicao);
    void definePrimeiraPagina(const QString& pagina) { m_primeiraPagina = pagina; }
    // The question closing asks while closing is not allowed (a few dialogs word it their own way).
    void definePerguntaDeSaida(const QString& pergunta) { m_perguntaDeSaida = pergunta; }
    // A dialog that only lists (a grid dialog) may always close without asking.
    void permiteFechar() { m_podeFechar = true; }

    // Hooks.
    virtual void aoMostrar() {}
    // The checks and the commit, in the dialog's order: false when a check refused (after saying so
    // with recusa()). A throw is reported by the guard.
    virtual bool aoConfirmar() = 0;
    // The roll-back (closing is already allowed and the result is Cancel).
    virtual void aoCancelar() = 0;
    virtual void aoFechar() {}  // closing, before the remembered filters come back
    virtual void aoMudar(const QString&) {}
    virtual void aoClicar(const QString&) {}
    virtual bool aoSair(const QString&) { return true; }
    virtual bool aoTrocarPagina(const QString&, const QString&) { return true; }
    virtual void aoApagar(const QString&) {}
    virtual void aoFalharListas() {}  // Confirmar is disabled already

    // A failed check: the message (error icon), the page and the focus; the dialog stays open.
    bool recusa(const QString& mensagem, const QString& pagina, const QString& foco);
    bool recusaInfo(const QString& mensagem, const QString& pagina, const QString& foco);
    // The first enabled control of the list (the fallback chain of a focus); the last one otherwise.
    QString primeiroHabilitado(const QStringList& controles) const;
    // A required field of the main record: the field, its label in the message (none: it counts but
    // adds no line), its control and the page that holds it.
    struct Obrigatorio {
        QString campo, rotulo, controle, pagina;
    };
    // The required-fields message for the empty ones only, one line each in the given order; `foco` and
    // `pagina` get the control and page of the first (the first enabled one, should it be disabled).
    // Empty when nothing is missing.
    QString obrigatoriosVazios(const std::vector<Obrigatorio>& campos, QString& foco, QString& pagina) const;
    // The same message shown with the page and focus of the first empty field; true when it refused.
    bool faltaObrigatorio(const std::vector<Obrigatorio>& campos);
    // The labels of the fields, in order, whose (trimmed) value in `tabela` is empty.
    static QStringList Vazios(const store::Table& tabela, const std::vector<std::pair<QString, QString>>& camposERotulos);

    // Identity of a record the server knows: `Flag_BIRO` "L" in edit mode when the registry code is
    // empty; the controls given greyed when the record is N or A (the registry-code control only
    // while `Flag_BIRO` is not "L").
    void ajustaFlagBiro(const QString& campoRegistro);
    void protegeIdentidade(const QStringList& controles, const QString& controleRegistro);
    bool conhecidoDoServidor() const;

    // Child filters replaced while the dialog is open; the first replacement of a table remembers
    // its filter, which comes back when the dialog closes.
    void filtra(store::Table& tabela, const QString& filtro);
    void restauraFiltros();

    // Working copies taken on showing (besides the main table's, taken by AbreEdicao) and put back by
    // a Cancelar in edit mode.
    void guardaCopia(const QString& nome, store::Table& tabela);
    // Cancelar's end: in insert mode the new main record is dropped, in edit mode the main table comes
    // back from its copy; in both, every table with a working copy of the dialog's own comes back.
    void devolveTabelas();

    // Commit: runs the child-list commits, then posts the main record, allows closing, marks the
    // project modified and closes with OK. Should a commit step fail, the child tables are put back
    // as they were before it began, so the dialog is still whole and Cancelar still restores them.
    void efetiva(const std::vector<store::Table*>& filhos, const std::function<void()>& passos,
                 bool marcaModificado = true);

    // A money edit as the user left it: an amount typed before the "." (which the mask lets the user
    // jump to) is put against it with AlinhaValor, so that "250" and "00" around the "." read as
    // 250.00 and never reach the record with blanks inside; then ValidaValor with the label. The
    // empty edit (the "." alone) stays empty.
    bool validaValorDigitado(const QString& controle, const QString& rotulo);

    // Masked edits: copied into and out of the record, trimmed. A value the user left as it was shown
    // comes back as it was stored: a registry code the server gave with letters ("INST004521") does
    // not fit a digits-only mask, and an edit of the record must not cut it down.
    void copiaParaMascara(const QString& controle, const QString& campo, bool alinha = true);
    QString textoDaMascara(const QString& controle) const;  // trimmed

    // Ends the dialog with a result: the closing steps, then the form closes.
    void fecha(Resultado resultado);

    // An exit that must stay quiet (the focus goes to Cancelar).
    static bool SaidaParaCancelar(const QString& proximo) { return proximo == Cancelar; }

private:
    Formulario& m_form;
    store::Table& m_tabela;
    QString m_campoChave;
    std::vector<Ligacao> m_ligacoes;
    std::vector<Mascara> m_mascaras;
    std::vector<std::pair<QString, QString>> m_listas;  // unbound list boxes
    QString m_tituloInclusao, m_tituloEdicao;
    QString m_primeiraPagina;
    QString m_perguntaDeSaida = QStringLiteral("Deseja sair sem efetuar modificações?");
    bool m_podeFechar = false;
    bool m_listasCarregadas = true;
    bool m_fechado = false;
    Resultado m_resultado = Resultado::Nenhum;
    struct FiltroLembrado {
        store::Table* tabela;
        QString filtro;
        bool ligado;  // a table whose filter was off gets it back off
    };
    std::vector<FiltroLembrado> m_filtros;  // remembered filters
    std::vector<std::pair<QString, store::Table*>> m_copias;
    struct CopiaDeMascara {
        QString controle;
        QString guardado;  // the record's value
        QString mostrado;  // what the edit showed after the copy
    };
    std::vector<CopiaDeMascara> m_mascarasCopiadas;
};

} // namespace edit
