#include "edit/Duplicados.h"

#include "core/InteracaoRoteirizada.h"
#include "store/Dados.h"

#include <gtest/gtest.h>

namespace {

class Duplicados : public ::testing::Test
{
protected:
    void SetUp() override { store::criaDados(); }
    void TearDown() override { store::destroiDados(); }

    store::Table& membros() { return store::DataIdentificacao().tbMembro; }
    store::Table& locais() { return store::DataIdentificacao().tbLocaisPesquisa; }

    void membro(const QString& status, const QString& codigo, const QString& nome, const QString& funcao,
                const QString& motivoSaida = QString())
    {
        store::Table& t = membros();
        t.append();
        t.setValue(QStringLiteral("Status"), status);
        t.setValue(QStringLiteral("Cod_Membro"), codigo);
        t.setValue(QStringLiteral("Nome"), nome);
        t.setValue(QStringLiteral("EquipeOriginal"), QStringLiteral("S"));
        t.setValue(QStringLiteral("DescricaoFuncao"), funcao);
        t.setValue(QStringLiteral("MotivoSaida"), motivoSaida);
        if (!motivoSaida.isEmpty())
            t.setValue(QStringLiteral("TipInstAtivPosPro"), QStringLiteral("EMPRESA"));
        t.post();
    }

    void local(const QString& status, const QString& codigo, const QString& uf, const QString& cidade)
    {
        store::Table& t = locais();
        t.append();
        t.setValue(QStringLiteral("Status"), status);
        t.setValue(QStringLiteral("Cod_Local"), codigo);
        t.setValue(QStringLiteral("Cod_Inst"), QStringLiteral("1"));
        t.setValue(QStringLiteral("Regiao"), QStringLiteral("SUDESTE"));
        t.setValue(QStringLiteral("UF"), uf);
        t.setValue(QStringLiteral("Cidade"), cidade);
        t.post();
    }

    // Opens the record as a dialog holds it: found by its code, in edit state.
    void abre(store::Table& t, const QString& campoChave, const QString& codigo)
    {
        t.addIndex(QStringLiteral("Busca"), campoChave);
        t.setIndexName(QStringLiteral("Busca"));
        ASSERT_TRUE(t.findKey({codigo}));
        t.edit();
    }

    app::InteracaoRoteirizada roteiro;
};

} // namespace

TEST(FiltroDuplicado, TextosExatos)
{
    EXPECT_EQ(edit::FiltroDuplicado(QStringLiteral("tbMembro"), QStringLiteral("Nome"), QStringLiteral("ANA"),
                                    QString(), QString(), QString(), QString()),
              QStringLiteral("(Status <> 'D' ) and Nome = 'ANA'"));
    EXPECT_EQ(edit::FiltroDuplicado(QStringLiteral("tbBolsa"), QStringLiteral("KESTA"), QStringLiteral("12"),
                                    QStringLiteral("NomeBolsista"), QStringLiteral("RUI"), QString(), QString()),
              QStringLiteral("(Status <> 'D' ) and KESTA = '12' and NomeBolsista = 'RUI'"));
    EXPECT_EQ(edit::FiltroDuplicado(QStringLiteral("tbMaterialAdquirido"), QStringLiteral("TipoMaterial"),
                                    QStringLiteral("LIVRO"), QStringLiteral("AnoAquisicao"), QStringLiteral("1995"),
                                    QStringLiteral("LocaldeGastos"), QStringLiteral("P")),
              QStringLiteral("(Status <> 'D' ) and (TipoMaterial = 'LIVRO' and AnoAquisicao = '1995' and "
                             "LocaldeGastos= 'P')"));
    // The sites always take the three-field form, even without a city.
    EXPECT_EQ(edit::FiltroDuplicado(QStringLiteral("tbLocaisPesquisa"), QStringLiteral("Regiao"),
                                    QStringLiteral("SUL"), QStringLiteral("UF"), QString(), QStringLiteral("Cidade"),
                                    QString()),
              QStringLiteral("(Status <> 'D' ) and (Regiao = 'SUL' and UF = '' and Cidade= '')"));
    EXPECT_EQ(edit::FiltroDuplicadoMembro(QStringLiteral("DescricaoFuncao"), QStringLiteral("COORDENADOR")),
              QStringLiteral("TipInstAtivPosPro = 'PARTICIPANTE ATIVO' and (Status <> 'D') and "
                             "DescricaoFuncao = 'COORDENADOR'"));
}

TEST_F(Duplicados, OutroRegistroVivoComOMesmoValor)
{
    membro(QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("ANA"), QStringLiteral("PESQUISADOR"));
    membro(QStringLiteral("D"), QStringLiteral("2"), QStringLiteral("RUI"), QStringLiteral("PESQUISADOR"));
    membro(QStringLiteral("I"), QStringLiteral("3"), QStringLiteral("RUI"), QStringLiteral("PESQUISADOR"));
    membro(QStringLiteral("A"), QStringLiteral("4"), QStringLiteral("ANA"), QStringLiteral("BOLSISTA"));
    const QString filtro = membros().filter();

    // Only a D row shares the name: no duplicate.
    abre(membros(), QStringLiteral("Cod_Membro"), QStringLiteral("3"));
    EXPECT_FALSE(edit::ExisteDuplicado(membros(), QStringLiteral("Nome"), QStringLiteral("RUI"), QString(),
                                       QString(), QString(), QString(), QStringLiteral("Cod_Membro"),
                                       QStringLiteral("3")));
    // The record under test is back in edit state with its own letter.
    EXPECT_EQ(membros().state(), store::Table::State::Edit);
    EXPECT_EQ(membros().value(QStringLiteral("Status")), QStringLiteral("I"));
    EXPECT_EQ(membros().value(QStringLiteral("Cod_Membro")), QStringLiteral("3"));
    // The table keeps its own index; no look-up index is left behind.
    EXPECT_EQ(membros().indexName(), QStringLiteral("Busca"));
    EXPECT_FALSE(membros().hasIndex(QStringLiteral("Partners")));
    EXPECT_EQ(membros().filter(), filtro);
    membros().post();

    abre(membros(), QStringLiteral("Cod_Membro"), QStringLiteral("1"));
    const QStringList indices = membros().indexNames();
    EXPECT_TRUE(edit::ExisteDuplicado(membros(), QStringLiteral("Nome"), QStringLiteral("ANA"), QString(),
                                      QString(), QString(), QString(), QStringLiteral("Cod_Membro"),
                                      QStringLiteral(" 1 ")));
    EXPECT_EQ(membros().value(QStringLiteral("Status")), QStringLiteral("N"));
    EXPECT_EQ(membros().value(QStringLiteral("Cod_Membro")), QStringLiteral("1"));
    EXPECT_EQ(membros().indexNames(), indices);
    membros().post();

    // Two fields: name and function together.
    abre(membros(), QStringLiteral("Cod_Membro"), QStringLiteral("1"));
    EXPECT_FALSE(edit::ExisteDuplicado(membros(), QStringLiteral("Nome"), QStringLiteral("ANA"),
                                       QStringLiteral("DescricaoFuncao"), QStringLiteral("PESQUISADOR"), QString(),
                                       QString(), QStringLiteral("Cod_Membro"), QStringLiteral("1")));
    membros().post();
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
}

TEST_F(Duplicados, LocaisDePesquisaOutraCidadeComOutroCodigo)
{
    local(QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("SP"), QStringLiteral("CAMPINAS"));
    local(QStringLiteral("N"), QStringLiteral("2"), QStringLiteral("SP"), QStringLiteral("SANTOS"));
    local(QStringLiteral("I"), QStringLiteral("3"), QStringLiteral("SP"), QStringLiteral("SANTOS"));
    abre(locais(), QStringLiteral("Cod_Local"), QStringLiteral("3"));
    EXPECT_TRUE(edit::ExisteDuplicado(locais(), QStringLiteral("Regiao"), QStringLiteral("SUDESTE"),
                                      QStringLiteral("UF"), QStringLiteral("SP"), QStringLiteral("Cidade"),
                                      QStringLiteral("SANTOS"), QStringLiteral("Cod_Local"), QStringLiteral("3")));
    EXPECT_EQ(locais().value(QStringLiteral("Status")), QStringLiteral("I"));
    locais().post();

    // Two rows that share the code are the same site: not a duplicate.
    local(QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("SP"), QStringLiteral("CAMPINAS"));
    abre(locais(), QStringLiteral("Cod_Local"), QStringLiteral("1"));
    EXPECT_FALSE(edit::ExisteDuplicado(locais(), QStringLiteral("Regiao"), QStringLiteral("SUDESTE"),
                                       QStringLiteral("UF"), QStringLiteral("SP"), QStringLiteral("Cidade"),
                                       QStringLiteral("CAMPINAS"), QStringLiteral("Cod_Local"),
                                       QStringLiteral("1")));
    locais().post();
}

TEST_F(Duplicados, MateriaisNaoSaoMarcados)
{
    store::Table& t = store::DataRecursosAdquiridos().tbMaterialAdquirido;
    for (const char* status : {"N", "Z"}) {
        t.append();
        t.setValue(QStringLiteral("Status"), QString::fromLatin1(status));
        t.setValue(QStringLiteral("TipoMaterial"), QStringLiteral("LIVRO"));
        t.setValue(QStringLiteral("AnoAquisicao"), QStringLiteral("1995"));
        t.setValue(QStringLiteral("LocaldeGastos"), QStringLiteral("P"));
        t.setValue(QStringLiteral("QtdAdquirida"), QStringLiteral("3"));
        t.post();
    }
    EXPECT_TRUE(edit::ExisteDuplicado(t, QStringLiteral("TipoMaterial"), QStringLiteral("LIVRO"),
                                      QStringLiteral("AnoAquisicao"), QStringLiteral("1995"),
                                      QStringLiteral("LocaldeGastos"), QStringLiteral("P"),
                                      QStringLiteral("TipoMaterial;AnoAquisicao;LocaldeGastos"), QString()));
    t.setFiltered(false);
    int z = 0, m = 0;
    for (t.first(); !t.eof(); t.next()) {
        z += t.value(QStringLiteral("Status")) == QLatin1String("Z");
        m += t.value(QStringLiteral("Status")) == QLatin1String("M");
    }
    EXPECT_EQ(z, 1);
    EXPECT_EQ(m, 0);
    EXPECT_FALSE(t.hasIndex(QStringLiteral("Partners")));
}

TEST_F(Duplicados, CoordenadorAtivo)
{
    membro(QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("ANA"), QStringLiteral("COORDENADOR"));
    membro(QStringLiteral("N"), QStringLiteral("2"), QStringLiteral("RUI"), QStringLiteral("COORDENADOR"),
           QStringLiteral("APOSENTADORIA"));
    membro(QStringLiteral("I"), QStringLiteral("3"), QStringLiteral("EVA"), QStringLiteral("PESQUISADOR"));

    membro(QStringLiteral("D"), QStringLiteral("4"), QStringLiteral("LIA"), QStringLiteral("COORDENADOR"));
    abre(membros(), QStringLiteral("Cod_Membro"), QStringLiteral("3"));
    membros().setValue(QStringLiteral("DescricaoFuncao"), QStringLiteral("COORDENADOR"));
    EXPECT_TRUE(edit::ExisteDuplicadoMembro(membros(), QStringLiteral("DescricaoFuncao"),
                                            QStringLiteral("COORDENADOR"), QStringLiteral("3"),
                                            QStringLiteral("Cod_Membro")));
    EXPECT_EQ(membros().value(QStringLiteral("Status")), QStringLiteral("I"));
    membros().post();

    abre(membros(), QStringLiteral("Cod_Membro"), QStringLiteral("1"));
    membros().setValue(QStringLiteral("DescricaoFuncao"), QStringLiteral("PESQUISADOR"));
    membros().post();
    // Left: one who left (RUI) and one deleted (LIA) are no active coordinators.
    abre(membros(), QStringLiteral("Cod_Membro"), QStringLiteral("3"));
    EXPECT_FALSE(edit::ExisteDuplicadoMembro(membros(), QStringLiteral("DescricaoFuncao"),
                                             QStringLiteral("COORDENADOR"), QStringLiteral("3"),
                                             QStringLiteral("Cod_Membro")));
    membros().post();
}

TEST_F(Duplicados, ValorComAspasNaoDeixaOMarcador)
{
    membro(QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("ANA"), QStringLiteral("PESQUISADOR"));
    abre(membros(), QStringLiteral("Cod_Membro"), QStringLiteral("1"));
    const QString filtro = membros().filter();
    EXPECT_THROW(edit::ExisteDuplicado(membros(), QStringLiteral("Nome"), QStringLiteral("D'ÁVILA"), QString(),
                                       QString(), QString(), QString(), QStringLiteral("Cod_Membro"),
                                       QStringLiteral("1")),
                 store::TableError);
    EXPECT_EQ(membros().value(QStringLiteral("Status")), QStringLiteral("N"));
    EXPECT_EQ(membros().filter(), filtro);
    EXPECT_FALSE(membros().hasIndex(QStringLiteral("Partners")));
}
