// The general-data editors of the main window (identification, qualitative analysis, general
// comments) and the guards that resolve their pending edits before a page switch or a command.
#include "app/ui/TfrmMenu1.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "app/ui/EditorMemo.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"
#include "edit/ui/CampoLineEdit.h"
#include "store/Table.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace app::ui {

namespace {

const QString RotuloValor = QStringLiteral("Valor Solicitado na  Proposta");
const QString MensagemErroConfirmar =
    QStringLiteral("Erro inesperado ao confirmar operação!\rConsulte suporte informando a seguinte mensagem:\r");

QString textoDe(QLineEdit* e) { return edit::CampoLineEdit(e).texto(); }

void poeTexto(QLineEdit* e, const QString& texto)
{
    // Written only when different, so that writing a box back does not count as an edit.
    edit::CampoLineEdit campo(e);
    if (campo.texto() != texto)
        campo.defineTexto(texto);
}

bool pergunta(const QString& texto)
{
    return app::Mensagem(texto, app::Icone::Informacao, app::Botoes::SimNao) == app::Resposta::Sim;
}

// An edit's text for the table: empty when it is the empty mask.
QString valorDaData(const QString& texto)
{
    return texto.trimmed() == QStringLiteral("/  /") ? QString() : texto;
}

} // namespace

void TfrmMenu1::marcaIdentificacao() { m_editouIdentificacao = true; }

bool TfrmMenu1::origemSemNumero() const
{
    const QString origem = dbcOrigem->currentText();
    return origem == QStringLiteral("ORIGEM EXTERNA") || origem == QStringLiteral("SEM ORIGEM");
}

void TfrmMenu1::aplicaRegraDeOrigem()
{
    if (origemSemNumero()) {
        dbeNrProjetoOrigem->clear();
        dbeNrProjetoOrigem->setEnabled(false);
    } else {
        dbeNrProjetoOrigem->setEnabled(true);
    }
    m_editouIdentificacao = true;
}

void TfrmMenu1::dbcOrigemChange() { aplicaRegraDeOrigem(); }

void TfrmMenu1::carregaIdentificacao()
{
    const bool temProjeto = m_tbProjeto && m_tbProjeto->active() && !m_tbProjeto->isEmpty();
    auto campo = [&](const char* nome) {
        return temProjeto ? m_tbProjeto->value(QString::fromLatin1(nome)) : QString();
    };
    dbcOrigem->setEditText(campo("Origem"));
    aplicaRegraDeOrigem();
    poeTexto(meDataFim, campo("DataFim"));
    poeTexto(meDataAssinat, campo("DataAssinat"));
    poeTexto(meValProposta, campo("ValProposta").trimmed());
    edit::CampoLineEdit valor(meValProposta);
    edit::AlinhaValor(valor);
    const QString objetivo = campo("Objetivo");
    if (dbmObjetivoAtual->toPlainText() != objetivo)
        dbmObjetivoAtual->setPlainText(objetivo);
    if (!origemSemNumero())
        dbeNrProjetoOrigem->setText(campo("NumProjOrigem"));
}

void TfrmMenu1::mostraIdentificacao()
{
    pgGeral->setActivePage(pgGeral->indexOf(tsDadosGerais));
    pgDadosGerais->setActivePage(pgDadosGerais->indexOf(tsIdentificacao));
}

void TfrmMenu1::focoMudou(QWidget* antigo, QWidget* novo)
{
    if (meValProposta && antigo == meValProposta && novo && novo->window() == this)
        meValPropostaExit(novo);
}

void TfrmMenu1::meValPropostaExit(QWidget* novoFoco)
{
    if (novoFoco == bmbtCancelar || m_saindoDoValor)
        return;
    m_saindoDoValor = true;
    edit::CampoLineEdit valor(meValProposta);
    edit::AlinhaValor(valor);
    if (!edit::ValidaValor(valor, RotuloValor)) {
        mostraIdentificacao();
        meValProposta->setFocus();
    }
    m_saindoDoValor = false;
}

void TfrmMenu1::bmbtConfirmarClick()
{
    if (!m_tbProjeto || !m_tbProjeto->active() || m_tbProjeto->isEmpty())
        return;
    store::Table& t = *m_tbProjeto;
    if (t.state() != store::Table::State::Edit && t.state() != store::Table::State::Insert)
        t.edit();
    // A Confirmar that stops gives the record back as it was: the boxes keep what the user typed, and
    // a half-checked record left in edit would be posted, marked changed, by whatever next moved the
    // table's cursor (a save does).
    struct Desfaz {
        store::Table& t;
        ~Desfaz()
        {
            if (t.state() == store::Table::State::Edit || t.state() == store::Table::State::Insert)
                t.cancel();
        }
    } desfaz{t};
    try {
        if (origemSemNumero()) {
            t.setValue(QStringLiteral("NumProjOrigem"), QString());
        } else {
            const QString numero = dbeNrProjetoOrigem->text();
            if (numero.isEmpty()) {
                app::Mensagem(QStringLiteral("Para Projetos om Origem KESTA I ou KESTA II é obrigatório informar o "
                                             "Nr. do Projeto de Origem!"),
                              app::Icone::Erro);
                pgGeral->setActivePage(pgGeral->indexOf(tsDadosGerais));
                dbeNrProjetoOrigem->setFocus();
                return;
            }
            t.setValue(QStringLiteral("NumProjOrigem"), numero);
        }
        t.setValue(QStringLiteral("Objetivo"), dbmObjetivoAtual->toPlainText());
        t.setValue(QStringLiteral("Status"), QStringLiteral("A"));

        const QString assinatura = textoDe(meDataAssinat);
        const QString fim = textoDe(meDataFim);
        if (!edit::ValidaDataAssinatura(assinatura, fim)) {
            pgGeral->setActivePage(pgGeral->indexOf(tsDadosGerais));
            meDataAssinat->setFocus();
            return;
        }
        poeTexto(meDataAssinat, assinatura);
        poeTexto(meDataFim, fim);

        t.setValue(QStringLiteral("DataFim"), valorDaData(fim));
        t.setValue(QStringLiteral("DataAssinat"), valorDaData(assinatura));
        // The amount is stored as the box shows it, right-aligned by its leading blanks.
        const QString valor = textoDe(meValProposta);
        t.setValue(QStringLiteral("ValProposta"), valor.trimmed() == QStringLiteral(".") ? QString() : valor);

        if (t.value(QStringLiteral("DataAssinat")).isEmpty()) {
            app::Mensagem(QStringLiteral("Data de Assinatura do Convênio é obrigatória."), app::Icone::Erro);
            pgGeral->setActivePage(pgGeral->indexOf(tsDadosGerais));
            meDataAssinat->setFocus();
            return;
        }

        const QString origem = dbcOrigem->currentText();
        t.setValue(QStringLiteral("Origem"), origem);
        if (origem.isEmpty()) {
            app::Mensagem(QStringLiteral("Verifique se os seguintes campos estão preenchidos:\r\r           -  "
                                         "Origem\r           -  Data da Assin Convênio"),
                          app::Icone::Erro);
            pgGeral->setActivePage(pgGeral->indexOf(tsDadosGerais));
            dbcOrigem->setFocus();
            return;
        }

        t.post();
        m_editouIdentificacao = false;
        app::SetModified(true);
        app::Mensagem(QStringLiteral("Dados de Identificação alterados com sucesso!"), app::Icone::Informacao);
    } catch (const app::Abort&) {
        throw;
    } catch (const std::exception& e) {
        app::Mensagem(MensagemErroConfirmar + QString::fromUtf8(e.what()), app::Icone::Erro);
    }
}

void TfrmMenu1::bmbtCancelarClick()
{
    if (m_tbProjeto && (m_tbProjeto->state() == store::Table::State::Edit
                        || m_tbProjeto->state() == store::Table::State::Insert))
        m_tbProjeto->cancel();
    carregaIdentificacao();
    m_editouIdentificacao = false;
    app::Mensagem(QStringLiteral("Alterações sobre Identificação foram canceladas!"), app::Icone::Informacao);
}

void TfrmMenu1::dbAnaliseEnter() { m_analise->entra(); }
void TfrmMenu1::btConfirmAnaliseClick() { m_analise->confirma(); }
void TfrmMenu1::btCancelAnaliseClick() { m_analise->cancela(); }
void TfrmMenu1::dbComentarioEnter() { m_comentario->entra(); }
void TfrmMenu1::btConfirmComentClick() { m_comentario->confirma(); }
void TfrmMenu1::btCancelComentClick() { m_comentario->cancela(); }

bool TfrmMenu1::validaIdentificacao(bool& recusou)
{
    recusou = false;
    edit::CampoLineEdit valor(meValProposta);
    edit::AlinhaValor(valor);
    if (!edit::ValidaValor(valor, RotuloValor)) {
        recusou = true;
        mostraIdentificacao();
        meValProposta->setFocus();
        return false;
    }
    const QString assinatura = textoDe(meDataAssinat);
    const QString fim = textoDe(meDataFim);
    if (!edit::ValidaDataAssinatura(assinatura, fim)) {
        recusou = true;
        mostraIdentificacao();
        meDataAssinat->setFocus();
        return false;
    }
    poeTexto(meDataAssinat, assinatura);
    poeTexto(meDataFim, fim);
    if (m_editouIdentificacao) {
        if (pergunta(QStringLiteral("Infomações de Identificação foram editadas.\rDeseja confirmar as mudanças?")))
            bmbtConfirmarClick();
        else
            bmbtCancelarClick();
        // A failed confirmation refuses the change, but the memo edits are still resolved.
        if (m_editouIdentificacao)
            recusou = true;
    }
    return true;
}

void TfrmMenu1::pgGeralChanging(bool& allowChange)
{
    garantePaginas();
    // Without a project the editors hold nothing to resolve; an empty value box would otherwise be
    // refused as "0.00" and keep Print from saying that no project is open.
    if (!app::Estado().ProjectOpen)
        return;
    bool recusou = false;
    if (!validaIdentificacao(recusou)) {
        allowChange = false;
        return;
    }
    if (recusou)
        allowChange = false;
    pgAvaliacaoChanging(allowChange);
}

void TfrmMenu1::pgDadosGeraisChanging(bool& allowChange)
{
    garantePaginas();
    bool recusou = false;
    if (!validaIdentificacao(recusou) || recusou) {
        allowChange = false;
        pgDadosGerais->setActivePage(pgDadosGerais->indexOf(tsIdentificacao));
    }
}

void TfrmMenu1::pgAvaliacaoChanging(bool&)
{
    garantePaginas();
    const auto resolve = [](EditorMemo& memo, const QString& texto) {
        if (memo.editado()) {
            if (pergunta(texto))
                memo.confirma();
            else
                memo.cancela();
            memo.limpaEditado();
        }
        // An edit entered but left untouched is not asked about, and not left open either.
        memo.largaEdicaoSemMudanca();
    };
    resolve(*m_analise, QStringLiteral("Infomações de Análise Qualitativa foram editadas.\rDeseja confirmar as mudanças?"));
    resolve(*m_comentario, QStringLiteral("Infomações de Comentários foram editadas.\rDeseja confirmar as mudanças?"));
}

} // namespace app::ui
