#include "JanelaFixture.h"
#include "PassosDeJanela.h"

#include "app/ui/Aplicacao.h"
#include "edit/Ortografia.h"
#include "store/ComandosProjeto.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
void escreveMascara(QLineEdit* e, const QString& texto)
{
    e->setFocus();
    e->selectAll();
    e->setText(QString(texto).replace(QLatin1Char(' '), QLatin1Char('_')));
}
}

class EditoresTest : public JanelaTest
{
protected:
    void SetUp() override
    {
        JanelaTest::SetUp();
        preencheProjeto();
        abreProjeto();
        janela->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    }
    store::Table& projeto() { return store::DataIdentificacao().tbProjeto; }
};

TEST_F(EditoresTest, LeavingGeneralDataWithAZeroProposalValueIsRefused)
{
    auto* valor = achar<QLineEdit>("meValProposta");
    valor->setText(QStringLiteral("            0.00"));
    roteiro->mensagens.clear();
    EXPECT_FALSE(janela->pgGeral->selectByUser(2));
    EXPECT_EQ(janela->pgGeral->activeCaption(), QStringLiteral("Dados Gerais"));
    EXPECT_EQ(janela->pgDadosGerais->activeCaption(), QStringLiteral("Identificação"));
    ASSERT_FALSE(roteiro->mensagens.isEmpty());
    EXPECT_EQ(roteiro->mensagens.last().texto, QStringLiteral("Valor Solicitado na  Proposta precisa ser maior que zero."));
    EXPECT_EQ(roteiro->mensagens.last().icone, app::Icone::Erro);
    EXPECT_EQ(QApplication::focusWidget(), valor);

    // The same guard stops the commands that work on the open project.
    int enviou = 0, verificou = 0, imprimiu = 0;
    janela->comandos.Enviar = [&] { ++enviou; };
    janela->comandos.Verificar = [&] { ++verificou; };
    janela->comandos.Imprimir = [&] { ++imprimiu; };
    janela->EnviarClick();
    janela->VerificarPendenciasClick();
    janela->ImprimirClick();
    EXPECT_FALSE(store::Janela().pgGeralChanging());
    EXPECT_EQ(enviou + verificou + imprimiu, 0);

    // A sub-page switch inside "Dados Gerais" is refused too and shows "Identificação".
    EXPECT_FALSE(janela->pgDadosGerais->selectByUser(1));
    EXPECT_EQ(janela->pgDadosGerais->activeCaption(), QStringLiteral("Identificação"));

    // A valid amount lets the page go, once the edit it made is confirmed.
    valor->setText(QStringLiteral("            0.01"));
    roteiro->mensagens.clear();
    roteiro->responde(app::Resposta::Sim);
    EXPECT_TRUE(janela->pgGeral->selectByUser(2));
    EXPECT_EQ(roteiro->textos(),
              QStringList({QStringLiteral("Infomações de Identificação foram editadas.\rDeseja confirmar as mudanças?"),
                           QStringLiteral("Dados de Identificação alterados com sucesso!")}));
    // Stored as the box shows it, right-aligned.
    EXPECT_EQ(projeto().value(QStringLiteral("ValProposta")), QStringLiteral("            0.01"));
    EXPECT_EQ(janela->pgGeral->activeCaption(), QStringLiteral("Equipe"));
}

TEST_F(EditoresTest, UnconfirmedIdentificationEditsAreConfirmedOrCancelledOnLeaving)
{
    auto* objetivo = achar<QPlainTextEdit>("dbmObjetivoAtual");
    objetivo->setPlainText(QStringLiteral("Novo objetivo."));
    EXPECT_TRUE(janela->identificacaoEditada());

    roteiro->responde(app::Resposta::Nao);
    EXPECT_TRUE(janela->pgGeral->selectByUser(1));
    EXPECT_EQ(roteiro->textos(),
              QStringList({QStringLiteral("Infomações de Identificação foram editadas.\rDeseja confirmar as mudanças?"),
                           QStringLiteral("Alterações sobre Identificação foram canceladas!")}));
    EXPECT_EQ(roteiro->mensagens[0].botoes, app::Botoes::SimNao);
    EXPECT_EQ(roteiro->mensagens[0].icone, app::Icone::Informacao);
    EXPECT_EQ(objetivo->toPlainText(), QStringLiteral("Medir a qualidade da água."));
    EXPECT_FALSE(janela->identificacaoEditada());
    EXPECT_EQ(projeto().value(QStringLiteral("Status")), QStringLiteral("N"));

    janela->pgGeral->setActivePage(0);
    objetivo->setPlainText(QStringLiteral("Novo objetivo."));
    roteiro->mensagens.clear();
    roteiro->responde(app::Resposta::Sim);
    EXPECT_TRUE(janela->pgGeral->selectByUser(1));
    EXPECT_EQ(roteiro->textos().last(), QStringLiteral("Dados de Identificação alterados com sucesso!"));
    EXPECT_EQ(projeto().state(), store::Table::State::Browse);
    EXPECT_EQ(projeto().value(QStringLiteral("Objetivo")), QStringLiteral("Novo objetivo."));
    EXPECT_EQ(projeto().value(QStringLiteral("Status")), QStringLiteral("A"));
    EXPECT_EQ(projeto().value(QStringLiteral("ValProposta")), QStringLiteral("         1500.5 "));
    EXPECT_EQ(projeto().value(QStringLiteral("DataFim")), QString());
    EXPECT_TRUE(app::Estado().ProjectModified);
}

TEST_F(EditoresTest, ConfirmRefusesKestaTwoWithoutOriginNumberAndEmptiesItWithoutOrigin)
{
    auto* origem = achar<QComboBox>("dbcOrigem");
    auto* numero = achar<QLineEdit>("dbeNrProjetoOrigem");
    origem->setEditText(QStringLiteral("KESTA II"));
    numero->clear();
    roteiro->mensagens.clear();
    janela->bmbtConfirmarClick();
    ASSERT_EQ(roteiro->mensagens.size(), 1);
    EXPECT_EQ(roteiro->mensagens[0].texto, QStringLiteral("Para Projetos om Origem KESTA I ou KESTA II é obrigatório "
                                                          "informar o Nr. do Projeto de Origem!"));
    EXPECT_EQ(roteiro->mensagens[0].icone, app::Icone::Erro);
    // The refused record is given back as it was; the boxes keep what was typed.
    EXPECT_EQ(projeto().state(), store::Table::State::Browse);
    EXPECT_EQ(projeto().value(QStringLiteral("Origem")), QStringLiteral("KESTA I"));
    EXPECT_EQ(origem->currentText(), QStringLiteral("KESTA II"));
    EXPECT_TRUE(janela->identificacaoEditada());
    // The guard refuses while the confirmation fails.
    roteiro->responde(app::Resposta::Sim);
    EXPECT_FALSE(store::Janela().pgGeralChanging());

    origem->setEditText(QStringLiteral("SEM ORIGEM"));
    EXPECT_TRUE(numero->text().isEmpty());
    EXPECT_FALSE(numero->isEnabled());
    roteiro->mensagens.clear();
    janela->bmbtConfirmarClick();
    EXPECT_EQ(roteiro->textos(), QStringList({QStringLiteral("Dados de Identificação alterados com sucesso!")}));
    EXPECT_EQ(projeto().state(), store::Table::State::Browse);
    EXPECT_EQ(projeto().value(QStringLiteral("Origem")), QStringLiteral("SEM ORIGEM"));
    EXPECT_EQ(projeto().value(QStringLiteral("NumProjOrigem")), QString());
    EXPECT_EQ(projeto().value(QStringLiteral("Status")), QStringLiteral("A"));

    origem->setEditText(QStringLiteral("KESTA I"));
    EXPECT_TRUE(numero->isEnabled());
}

TEST_F(EditoresTest, ConfirmRequiresSignatureDateAndOrigin)
{
    escreveMascara(achar<QLineEdit>("meDataAssinat"), QStringLiteral("  /  /    "));
    roteiro->mensagens.clear();
    janela->bmbtConfirmarClick();
    EXPECT_EQ(roteiro->textos(), QStringList({QStringLiteral("Data de Assinatura do Convênio é obrigatória.")}));
    EXPECT_EQ(projeto().state(), store::Table::State::Browse);
    EXPECT_EQ(projeto().value(QStringLiteral("DataAssinat")), QStringLiteral("10/05/1995"));

    escreveMascara(achar<QLineEdit>("meDataAssinat"), QStringLiteral("01/02/1996"));
    achar<QComboBox>("dbcOrigem")->setEditText(QString());
    roteiro->mensagens.clear();
    janela->bmbtConfirmarClick();
    EXPECT_EQ(roteiro->textos(),
              QStringList({QStringLiteral("Verifique se os seguintes campos estão preenchidos:\r\r           -  "
                                          "Origem\r           -  Data da Assin Convênio")}));

    // An end date before the signature is refused by the date check.
    achar<QComboBox>("dbcOrigem")->setEditText(QStringLiteral("ORIGEM EXTERNA"));
    escreveMascara(achar<QLineEdit>("meDataFim"), QStringLiteral("01/01/1996"));
    roteiro->mensagens.clear();
    janela->bmbtConfirmarClick();
    EXPECT_EQ(roteiro->textos(),
              QStringList({QStringLiteral("Data precisa ser maior que a Data de Assinatura do Projeto.")}));

    escreveMascara(achar<QLineEdit>("meDataFim"), QStringLiteral("01/01/1999"));
    roteiro->mensagens.clear();
    janela->bmbtConfirmarClick();
    EXPECT_EQ(roteiro->textos(), QStringList({QStringLiteral("Dados de Identificação alterados com sucesso!")}));
    EXPECT_EQ(projeto().value(QStringLiteral("DataAssinat")), QStringLiteral("01/02/1996"));
    EXPECT_EQ(projeto().value(QStringLiteral("DataFim")), QStringLiteral("01/01/1999"));

    // An empty end date and an empty value box leave their fields empty.
    escreveMascara(achar<QLineEdit>("meDataFim"), QStringLiteral("  /  /    "));
    escreveMascara(achar<QLineEdit>("meValProposta"), QStringLiteral("             .  "));
    roteiro->mensagens.clear();
    janela->bmbtConfirmarClick();
    EXPECT_EQ(roteiro->textos(), QStringList({QStringLiteral("Dados de Identificação alterados com sucesso!")}));
    EXPECT_EQ(projeto().value(QStringLiteral("DataFim")), QString());
    EXPECT_EQ(projeto().value(QStringLiteral("ValProposta")), QString());
}

TEST_F(EditoresTest, ValueBoxIsAlignedAndCheckedWhenLeftExceptTowardsCancel)
{
    auto* valor = achar<QLineEdit>("meValProposta");
    valor->setFocus();
    valor->setText(QStringLiteral("0.00"));
    roteiro->mensagens.clear();
    janela->meValPropostaExit(achar<QWidget>("bmbtCancelar"));
    EXPECT_TRUE(roteiro->mensagens.isEmpty());
    EXPECT_EQ(valor->displayText(), QStringLiteral("0            .00"));

    janela->meValPropostaExit(achar<QWidget>("dbcOrigem"));
    EXPECT_EQ(valor->displayText(), QStringLiteral("            0.00"));
    EXPECT_EQ(roteiro->textos(), QStringList({QStringLiteral("Valor Solicitado na  Proposta precisa ser maior que zero.")}));
    EXPECT_EQ(QApplication::focusWidget(), valor);

    // Focus moving out of the box by itself runs the same check.
    valor->setText(QStringLiteral("250"));
    valor->setFocus();
    achar<QComboBox>("dbcOrigem")->setFocus();
    EXPECT_EQ(valor->displayText(), QStringLiteral("          250.00"));
}

TEST_F(EditoresTest, MemoStatusLettersFollowTheRecordsHistory)
{
    auto& analise = store::DataAnaliseResultados().tbAnalisQualitativa;
    auto* memo = achar<QPlainTextEdit>("dbAnalise");
    ASSERT_TRUE(analise.isEmpty());

    // Empty table: entering starts a new record; confirming with text gives I.
    janela->pgGeral->setActivePage(7);
    memo->setFocus();
    EXPECT_EQ(analise.state(), store::Table::State::Insert);
    EXPECT_TRUE(habilitado("btConfirmAnalise"));
    EXPECT_TRUE(habilitado("btCancelAnalise"));
    memo->setPlainText(QStringLiteral("Boa execução."));
    EXPECT_TRUE(janela->analiseEditada());
    achar<QPushButton>("btConfirmAnalise")->click();
    EXPECT_EQ(analise.state(), store::Table::State::Browse);
    EXPECT_EQ(analise.value(QStringLiteral("Status")), QStringLiteral("I"));
    EXPECT_EQ(analise.value(QStringLiteral("Descricao")), QStringLiteral("Boa execução."));
    EXPECT_FALSE(habilitado("btConfirmAnalise"));
    EXPECT_FALSE(janela->analiseEditada());
    EXPECT_TRUE(app::Estado().ProjectModified);

    // A record the server knows: text gives A, no text gives D (and the record leaves the view).
    auto& comentarios = store::DataAnaliseResultados().tbComentariosGerais;
    comentarios.append();
    comentarios.setValue(QStringLiteral("Status"), QStringLiteral("N"));
    comentarios.setValue(QStringLiteral("Descricao"), QStringLiteral("Texto do servidor."));
    comentarios.post();
    auto* coment = achar<QPlainTextEdit>("dbComentario");
    janela->CreateWindows();
    janela->pgGeral->setActivePage(7);
    EXPECT_EQ(coment->toPlainText(), QStringLiteral("Texto do servidor."));
    janela->dbComentarioEnter();
    coment->setPlainText(QStringLiteral("Texto revisto."));
    janela->btConfirmComentClick();
    EXPECT_EQ(comentarios.value(QStringLiteral("Status")), QStringLiteral("A"));
    janela->dbComentarioEnter();
    coment->clear();
    janela->btConfirmComentClick();
    EXPECT_TRUE(comentarios.isEmpty());
    comentarios.setFiltered(false);
    EXPECT_EQ(comentarios.value(QStringLiteral("Status")), QStringLiteral("D"));
    comentarios.setFiltered(true);

    // Cancel reverts the text and ends the edit.
    janela->dbAnaliseEnter();
    memo->setPlainText(QStringLiteral("Rascunho"));
    janela->btCancelAnaliseClick();
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("Boa execução."));
    EXPECT_EQ(analise.state(), store::Table::State::Browse);
    EXPECT_FALSE(habilitado("btCancelAnalise"));
}

TEST_F(EditoresTest, EvaluationGuardAsksAboutMemoEditsAndNeverRefuses)
{
    janela->pgGeral->setActivePage(7);
    janela->dbAnaliseEnter();
    achar<QPlainTextEdit>("dbAnalise")->setPlainText(QStringLiteral("Nova análise"));
    janela->dbComentarioEnter();
    achar<QPlainTextEdit>("dbComentario")->setPlainText(QStringLiteral("Novo comentário"));
    roteiro->mensagens.clear();
    roteiro->responde(app::Resposta::Sim);
    roteiro->responde(app::Resposta::Nao);
    EXPECT_TRUE(janela->pgAvaliacao->selectByUser(1));
    EXPECT_EQ(roteiro->textos(),
              QStringList({QStringLiteral("Infomações de Análise Qualitativa foram editadas.\rDeseja confirmar as mudanças?"),
                           QStringLiteral("Infomações de Comentários foram editadas.\rDeseja confirmar as mudanças?")}));
    EXPECT_EQ(store::DataAnaliseResultados().tbAnalisQualitativa.value(QStringLiteral("Status")), QStringLiteral("I"));
    EXPECT_TRUE(store::DataAnaliseResultados().tbComentariosGerais.isEmpty());
    EXPECT_FALSE(janela->analiseEditada());
    EXPECT_FALSE(janela->comentarioEditado());
}

TEST_F(EditoresTest, SendClearsTheEditFlagsWhateverHappens)
{
    int enviou = 0;
    janela->comandos.Enviar = [&] { ++enviou; };
    janela->dbAnaliseEnter();
    achar<QPlainTextEdit>("dbAnalise")->setPlainText(QStringLiteral("x"));
    roteiro->responde(app::Resposta::Nao);
    janela->EnviarClick();
    EXPECT_EQ(enviou, 1);
    EXPECT_FALSE(janela->analiseEditada());
    EXPECT_FALSE(janela->identificacaoEditada());
}

TEST_F(EditoresTest, AFailedIdentificationConfirmRefusesButTheMemoEditsAreStillResolved)
{
    achar<QComboBox>("dbcOrigem")->setEditText(QStringLiteral("KESTA II"));
    achar<QLineEdit>("dbeNrProjetoOrigem")->clear();
    janela->dbAnaliseEnter();
    achar<QPlainTextEdit>("dbAnalise")->setPlainText(QStringLiteral("Análise pendente"));
    roteiro->mensagens.clear();
    roteiro->responde(app::Resposta::Sim);  // confirm the identification: refused for want of a number
    roteiro->responde(app::Resposta::Sim);  // confirm the analysis
    EXPECT_FALSE(janela->pgGeral->selectByUser(1));
    EXPECT_EQ(roteiro->textos(),
              QStringList({QStringLiteral("Infomações de Identificação foram editadas.\rDeseja confirmar as mudanças?"),
                           QStringLiteral("Para Projetos om Origem KESTA I ou KESTA II é obrigatório informar o Nr. "
                                          "do Projeto de Origem!"),
                           QStringLiteral("Infomações de Análise Qualitativa foram editadas.\rDeseja confirmar as "
                                          "mudanças?")}));
    EXPECT_EQ(janela->pgGeral->activeCaption(), QStringLiteral("Dados Gerais"));
    EXPECT_TRUE(janela->identificacaoEditada());
    EXPECT_FALSE(janela->analiseEditada());
    auto& analise = store::DataAnaliseResultados().tbAnalisQualitativa;
    EXPECT_EQ(analise.state(), store::Table::State::Browse);
    EXPECT_EQ(analise.value(QStringLiteral("Status")), QStringLiteral("I"));
    EXPECT_EQ(analise.value(QStringLiteral("Descricao")), QStringLiteral("Análise pendente"));

    // The sub-pages of "Dados Gerais" ask only about the identification.
    roteiro->mensagens.clear();
    roteiro->responde(app::Resposta::Sim);
    EXPECT_FALSE(janela->pgDadosGerais->selectByUser(1));
    EXPECT_EQ(roteiro->mensagens.size(), 2);
    EXPECT_EQ(janela->pgDadosGerais->activeCaption(), QStringLiteral("Identificação"));
}

namespace {

// Answers the next question box of the window's own seam with the button that carries `texto`.
void RespondeCaixa(const QString& texto, bool& respondida)
{
    auto* relogio = new QTimer;
    relogio->setInterval(5);
    QObject::connect(relogio, &QTimer::timeout, [relogio, texto, &respondida] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* caixa = qobject_cast<QMessageBox*>(w); caixa && caixa->isVisible())
                for (QAbstractButton* b : caixa->buttons())
                    if (b->text() == texto) {
                        respondida = true;
                        relogio->deleteLater();
                        QTest::mouseClick(b, Qt::LeftButton);
                        return;
                    }
    });
    relogio->start();
}

struct CasoMemo {
    const char* memo;
    const char* confirmar;
    const char* pergunta;
    store::Table& (*tabela)();
};

const CasoMemo CasosMemo[] = {
    {"dbComentario", "btConfirmComent", "Infomações de Comentários foram editadas.\rDeseja confirmar as mudanças?",
     [] () -> store::Table& { return store::DataAnaliseResultados().tbComentariosGerais; }},
    {"dbAnalise", "btConfirmAnalise", "Infomações de Análise Qualitativa foram editadas.\rDeseja confirmar as mudanças?",
     [] () -> store::Table& { return store::DataAnaliseResultados().tbAnalisQualitativa; }},
};

} // namespace

// Type, leave the page and answer "Não" in the real question box, Salvar, come back, type, Confirmar:
// the memo's buttons follow its table after the "Não", the save posts nothing the user did not
// confirm, and Confirmar writes the text typed last.
TEST_F(EditoresTest, MemoAfterNoToTheGuardSaveAndTypingAgainConfirmsWhatWasTyped)
{
    QTemporaryDir pasta;
    app::Estado().ProgramDir = pasta.path() + QLatin1Char('/');
    app::Estado().ProjectFileName = pasta.filePath(QStringLiteral("memo.prj"));
    app::ui::LigaComandos(*janela);
    for (const CasoMemo& caso : CasosMemo) {
        SCOPED_TRACE(caso.memo);
        store::Table& tabela = caso.tabela();
        auto* memo = achar<QPlainTextEdit>(caso.memo);
        auto* confirmar = achar<QPushButton>(caso.confirmar);
        passos::mostra(memo);
        QTest::mouseClick(memo->viewport(), Qt::LeftButton);
        QTest::keyClicks(memo, QStringLiteral("Primeira versao"));
        ASSERT_TRUE(confirmar->isEnabled());

        // The window's own seam, so that the focus goes to a real box and comes back.
        roteiro.reset();
        bool respondida = false;
        RespondeCaixa(QStringLiteral("&Não"), respondida);
        EXPECT_TRUE(janela->pgAvaliacao->selectByUser(1));
        QTest::qWait(20);
        EXPECT_TRUE(respondida);
        roteiro = std::make_unique<app::InteracaoRoteirizada>();
        EXPECT_FALSE(confirmar->isEnabled());
        EXPECT_EQ(tabela.state(), store::Table::State::Browse);

        QTest::mouseClick(janela->findChild<QToolButton*>(QStringLiteral("btSalvar")), Qt::LeftButton);
        EXPECT_EQ(tabela.totalRowCount(), 0) << "the save posted a record nobody confirmed";
        EXPECT_FALSE(confirmar->isEnabled());

        passos::mostra(memo);
        QTest::mouseClick(memo->viewport(), Qt::LeftButton);
        memo->selectAll();
        QTest::keyClicks(memo, QStringLiteral("Segunda versao"));
        QTest::mouseClick(confirmar, Qt::LeftButton);
        EXPECT_EQ(tabela.state(), store::Table::State::Browse);
        EXPECT_EQ(tabela.value(QStringLiteral("Descricao")), QStringLiteral("Segunda versao"));
        EXPECT_EQ(tabela.value(QStringLiteral("Status")), QStringLiteral("I"));
        EXPECT_FALSE(confirmar->isEnabled());
        EXPECT_TRUE(roteiro->textos().isEmpty()) << qPrintable(roteiro->textos().join(QLatin1Char('|')));
    }
}

// The dictionary is read while the user works and the memos' misspelt words get their underline
// then: a redraw of the memos, not an edit of them.
TEST_F(EditoresTest, TheSpellingUnderlineAppearingIsNoEdit)
{
    auto& an = store::DataAnaliseResultados();
    for (store::Table* t : {&an.tbAnalisQualitativa, &an.tbComentariosGerais}) {
        t->append();
        t->setValue(QStringLiteral("Status"), QStringLiteral("N"));
        t->setValue(QStringLiteral("Descricao"), QStringLiteral("Análize com erross ortograficus"));
        t->post();
    }
    projeto().edit();
    projeto().setValue(QStringLiteral("Objetivo"), QStringLiteral("Medir a qualidadde da agua"));
    projeto().post();
    janela->CreateWindows();
    auto& ortografia = edit::Ortografia::DoPrograma();
    ortografia.comecaLeitura();
    ortografia.esperaLeitura();
    if (!ortografia.disponivel())
        GTEST_SKIP() << qPrintable(ortografia.motivo());
    QTest::qWait(20);
    const auto realces = janela->findChildren<QSyntaxHighlighter*>();
    ASSERT_GE(realces.size(), 3);
    for (QSyntaxHighlighter* r : realces)
        r->rehighlight();
    EXPECT_FALSE(janela->identificacaoEditada());
    EXPECT_FALSE(janela->analiseEditada());
    EXPECT_FALSE(janela->comentarioEditado());
    EXPECT_EQ(an.tbAnalisQualitativa.state(), store::Table::State::Browse);
    EXPECT_EQ(an.tbComentariosGerais.state(), store::Table::State::Browse);
    EXPECT_FALSE(habilitado("btConfirmAnalise"));
    EXPECT_FALSE(habilitado("btConfirmComent"));
}
