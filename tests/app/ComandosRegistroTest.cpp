// The record buttons of the main window's pages, clicked as a user clicks them.
#include "JanelaFixture.h"

#include "edit/Escolha.h"
#include "edit/RegrasDeExclusao.h"
#include "store/Dados.h"

#include <QTest>

using app::Resposta;
using app::ui::PaginaRegistro;

namespace {

QString S(const char* t) { return QString::fromUtf8(t); }

QString letraDe(store::Table& t, const char* campo, const char* valor)
{
    t.setFiltered(false);
    QString r = S("removido");
    for (const auto b : t.visibleRows())
        if (t.rowValue(b, t.fieldIndexOrThrow(S(campo))) == S(valor))
            r = t.rowValue(b, 0);
    t.setFiltered(true);
    return r;
}

} // namespace

TEST_F(JanelaTest, ExcluirDeletesThePagesRecordAndTheLastOneTurnsEditAndDeleteOff)
{
    preencheProjeto();
    auto& res = store::DataResultadosGerados();
    res.tbEstudosAreaConhec.append();
    res.tbEstudosAreaConhec.setValue(S("Status"), S("N"));
    res.tbEstudosAreaConhec.setValue(S("Cod_Estudo"), S("20"));
    res.tbEstudosAreaConhec.setValue(S("DescricaoAreaConhec"), S("HIDROLOGIA"));
    res.tbEstudosAreaConhec.post();
    abreProjeto();

    PaginaRegistro* est = janela->pagina(S("tbEstudo"));
    ASSERT_TRUE(est->btExcluir->isEnabled());
    roteiro->responde(Resposta::Sim);
    QTest::mouseClick(est->btExcluir, Qt::LeftButton);
    EXPECT_EQ(roteiro->textos(), QStringList{S("Deseja realmente excluir este Estudo Realizado ?")});
    EXPECT_EQ(letraDe(res.tbEstudo, "Cod_Estudo", "20"), S("D"));
    EXPECT_EQ(letraDe(res.tbEstudosAreaConhec, "Cod_Estudo", "20"), S("D"));
    EXPECT_EQ(est->grade->model()->rowCount(), 0);
    EXPECT_FALSE(est->btExcluir->isEnabled());
    EXPECT_FALSE(est->btEditar->isEnabled());
    EXPECT_TRUE(est->btIncluir->isEnabled());

    // A refused deletion leaves the page as it was: the co-executing institution still has a site.
    auto& id = store::DataIdentificacao();
    id.tbLocaisPesquisa.append();
    id.tbLocaisPesquisa.setValue(S("Status"), S("N"));
    id.tbLocaisPesquisa.setValue(S("Cod_Local"), S("60"));
    id.tbLocaisPesquisa.setValue(S("Cod_Inst"), S("11"));
    id.tbLocaisPesquisa.setValue(S("Cidade"), S("RECIFE"));
    id.tbLocaisPesquisa.post();
    PaginaRegistro* inst = janela->pagina(S("tbInstituicao"));
    janela->pgGeral->setActivePage(1);
    QTest::mouseClick(inst->grade->viewport(), Qt::LeftButton, {},
                      inst->grade->visualRect(inst->grade->model()->index(1, 0)).center());
    ASSERT_EQ(id.tbInstituicao.value(S("Cod_Inst")), S("11"));
    roteiro->mensagens.clear();
    QTest::mouseClick(inst->btExcluir, Qt::LeftButton);
    EXPECT_EQ(roteiro->textos(), QStringList{edit::recusa::LocalPesquisa});
    EXPECT_EQ(inst->grade->model()->rowCount(), 2);
    EXPECT_TRUE(inst->btExcluir->isEnabled());
}

TEST_F(JanelaTest, IncluirOfTheProjectListsRunsTheChoiceOnTheListItselfAndDeleteTakesItAgain)
{
    preencheProjeto();
    abreProjeto();
    std::vector<std::pair<edit::TipoEscolha, edit::ContextoEscolha>> aberturas;
    // The choice dialog as the user confirms it: the chosen item written into the appended row.
    auto anterior = edit::InstalaAbridorEscolha([&](edit::TipoEscolha tipo, const edit::ContextoEscolha& c) {
        aberturas.push_back({tipo, c});
        const QString texto = tipo == edit::TipoEscolha::Setor ? S("PESCA") : S("OCEANOGRAFIA");
        c.filho->setValue(edit::CampoDescricao(tipo, *c.filho), texto);
        c.filho->setValue(S("Status"), S("I"));
        c.filho->post();
        return edit::ResultadoEscolha{true, texto};
    });
    janela->pgGeral->setActivePage(0);
    janela->pgDadosGerais->setActivePage(1);
    struct Lista {
        const char* tabela;
        edit::TipoEscolha tipo;
        const char* campo;
        const char* texto;
    };
    for (const Lista& l : {Lista{"tbSetorEconAting", edit::TipoEscolha::Setor, "DescrSetorEcon", "PESCA"},
                           Lista{"tbAreaConhecAting", edit::TipoEscolha::Conhec, "DescricaoAreaConhec", "OCEANOGRAFIA"}}) {
        SCOPED_TRACE(l.tabela);
        PaginaRegistro* p = janela->pagina(S(l.tabela));
        store::Table& t = *p->grade->tabela();
        EXPECT_FALSE(p->btExcluir->isEnabled());
        aberturas.clear();
        QTest::mouseClick(p->btIncluir, Qt::LeftButton);
        ASSERT_EQ(aberturas.size(), 1u);
        EXPECT_EQ(aberturas[0].first, l.tipo);
        EXPECT_EQ(aberturas[0].second.filho, &t);
        EXPECT_EQ(aberturas[0].second.campoLigacao, S("XXX"));
        EXPECT_EQ(aberturas[0].second.modo, 1);
        EXPECT_EQ(letraDe(t, l.campo, l.texto), S("I"));
        EXPECT_EQ(p->grade->model()->rowCount(), 1);
        EXPECT_TRUE(p->btExcluir->isEnabled());

        // Deleting the new item removes it; the empty list turns Excluir off again.
        roteiro->responde(Resposta::Sim);
        QTest::mouseClick(p->btExcluir, Qt::LeftButton);
        EXPECT_EQ(letraDe(t, l.campo, l.texto), S("removido"));
        EXPECT_FALSE(p->btExcluir->isEnabled());
    }
    EXPECT_EQ(roteiro->textos(), (QStringList{S("Deseja realmente excluir este Setor Econômico ?"),
                                              S("Deseja realmente excluir esta Área de Conhecimento?")}));
    edit::InstalaAbridorEscolha(anterior);
}
