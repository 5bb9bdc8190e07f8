// The record buttons of the main window's pages, clicked as a user clicks them.
#include "JanelaFixture.h"

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
