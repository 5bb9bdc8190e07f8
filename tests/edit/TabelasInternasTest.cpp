#include "edit/TabelasInternas.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The damaged and sound lookup files kept as test data, copied into a fresh SystemDir + "tabelas/".
class TabelasInternas : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pasta.isValid());
        app::InicializaEstado(pasta.path());
        ASSERT_TRUE(QDir().mkpath(edit::PastaTabelas()));
        const QDir dados(QStringLiteral(DADOS_DE_TESTE "/tabelas"));
        for (const QString& nome : dados.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(dados.filePath(nome), edit::PastaTabelas() + nome));
    }

    // Copies a test file under the name a caller asks for.
    void ComoArquivo(const QString& origem, const QString& destino)
    {
        ASSERT_TRUE(QFile::copy(edit::PastaTabelas() + origem, edit::PastaTabelas() + destino));
    }

    static std::unique_ptr<store::Table> Niveis()
    {
        auto t = std::make_unique<store::Table>(QStringLiteral("tbNivel"), -99,
                                                std::vector<store::FieldDef>{{QStringLiteral("Descricao"), store::FieldType::Text, 255}});
        t->open();
        return t;
    }
    static std::unique_ptr<store::Table> SubNiveis()
    {
        auto t = std::make_unique<store::Table>(QStringLiteral("tbSubNivel"), -99,
                                                std::vector<store::FieldDef>{{QStringLiteral("Nivel"), store::FieldType::Text, 255},
                                                                             {QStringLiteral("Descricao"), store::FieldType::Text, 255}});
        t->open();
        return t;
    }

    static QStringList Coluna(store::Table& t, int c)
    {
        QStringList r;
        for (const auto b : t.visibleRows())
            r << t.rowValue(b, c);
        return r;
    }

    // The reason a reader gives for refusing a file; empty when it accepts it.
    template <class F>
    static QString Motivo(F&& ler)
    {
        try {
            ler();
        } catch (const edit::FalhaTabelaInterna& f) {
            return f.motivo();
        }
        return {};
    }

    QTemporaryDir pasta;
    app::InteracaoRoteirizada roteiro;
};

} // namespace

TEST_F(TabelasInternas, ListaDeItensDecodificadaSemLinhasEmBrancoEOrdenadaParaMostrar)
{
    const QStringList itens = edit::LeListaItens(QStringLiteral("lista_boa.txt"));
    EXPECT_EQ(itens, (QStringList{QStringLiteral("SÃO PAULO"), QStringLiteral("AÇÃO"), QStringLiteral("ZONA")}));
    // Accented letters sort as their base letter, as a coordinator reads them.
    EXPECT_EQ(edit::ItensOrdenados({QStringLiteral("ZONA"), QStringLiteral("ÁREA"), QStringLiteral("AVIÃO"),
                                    QStringLiteral("ESTADO"), QStringLiteral("ÉPOCA")}),
              (QStringList{QStringLiteral("ÁREA"), QStringLiteral("AVIÃO"), QStringLiteral("ÉPOCA"),
                           QStringLiteral("ESTADO"), QStringLiteral("ZONA")}));
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
}

TEST_F(TabelasInternas, ArvoreComProfundidadesEOrdenacaoDosIrmaos)
{
    const edit::ArvoreTabela nos = edit::LeArvore(QStringLiteral("arvore_boa.txt"));
    ASSERT_EQ(nos.size(), 6u);
    EXPECT_EQ(nos[2].texto, QStringLiteral("ÓPTICA"));
    EXPECT_EQ(nos[2].nivel, 2);
    EXPECT_EQ(nos[4].texto, QStringLiteral("ENGENHARIAS"));
    EXPECT_EQ(nos[4].nivel, 0);

    // Sorting moves whole branches: ÓPTICA stays under FÍSICA.
    const edit::ArvoreTabela ordenada = edit::ArvoreOrdenada(
        edit::ArvoreDeBytes(QByteArray("Z\n\tZ2\n\tB2\n\t\tB3\nA\n\tA2\n"), QStringLiteral("t")));
    QStringList vistos;
    for (const auto& no : ordenada)
        vistos << QString::number(no.nivel) + no.texto;
    EXPECT_EQ(vistos, (QStringList{QStringLiteral("0A"), QStringLiteral("1A2"), QStringLiteral("0Z"), QStringLiteral("1B2"),
                                   QStringLiteral("2B3"), QStringLiteral("1Z2")}));
}

TEST_F(TabelasInternas, ArquivosDanificadosSaoFalhasInteiras)
{
    EXPECT_EQ(Motivo([] { edit::LeArvore(QStringLiteral("arvore_funda.txt")); }),
              QStringLiteral("linha 2 está mais funda do que a linha acima permite"));
    EXPECT_FALSE(Motivo([] { edit::LeArvore(QStringLiteral("arvore_comeca_funda.txt")); }).isEmpty());
    EXPECT_TRUE(Motivo([] { edit::LeListaItens(QStringLiteral("byte_indefinido.txt")); }).contains(QStringLiteral("0x81")));
    EXPECT_TRUE(Motivo([] { edit::LeListaItens(QStringLiteral("em_utf8.txt")); }).contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(Motivo([] { edit::LeArvore(QStringLiteral("com_bom.txt")); }).contains(QStringLiteral("UTF-8")));
    EXPECT_TRUE(Motivo([] { edit::LeListaItens(QStringLiteral("nao_existe.txt")); }).contains(QStringLiteral("não encontrada")));

    // A table text that does not frame, or whose rows the table refuses, adds nothing at all.
    auto niveis = Niveis();
    EXPECT_FALSE(Motivo([&] { edit::LeTextoTabela(QStringLiteral("texto_sem_quadro.txt"), *niveis); }).isEmpty());
    EXPECT_FALSE(Motivo([&] { edit::LeTextoTabela(QStringLiteral("texto_sem_fim.txt"), *niveis); }).isEmpty());
    EXPECT_FALSE(Motivo([&] { edit::LeTextoTabela(QStringLiteral("texto_campo_longo.txt"), *niveis); }).isEmpty());
    EXPECT_EQ(niveis->totalRowCount(), 0);
    // The readers report; the message is the caller's, and it is the one text the user sees.
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
    edit::AvisaFalhaTabelaInterna();
    ASSERT_EQ(roteiro.mensagens.size(), 1);
    EXPECT_EQ(roteiro.mensagens[0].texto,
              QStringLiteral("Falha não recuperável para carregar tabela interna.\rConsulte o suporte."));
    EXPECT_EQ(roteiro.mensagens[0].icone, app::Icone::Erro);
    EXPECT_EQ(roteiro.mensagens[0].titulo, app::TituloProduto);
}

TEST_F(TabelasInternas, NomeDoArquivoSemDistincaoDeMaiusculas)
{
    // Shipped as "Modalidades_Bolsa.txt"; the two dialogs ask with two other spellings.
    const QStringList a = edit::LeListaItens(QStringLiteral("Modalidades_bolsa.txt"));
    const QStringList b = edit::LeListaItens(QStringLiteral("modalidades_bolsa.txt"));
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a, b);
    // An exact match wins over a name that differs only in case.
    ComoArquivo(QStringLiteral("lista_boa.txt"), QStringLiteral("modalidades_bolsa.txt"));
    EXPECT_EQ(edit::LeListaItens(QStringLiteral("modalidades_bolsa.txt")).size(), 3);
    EXPECT_EQ(edit::LeListaItens(QStringLiteral("Modalidades_Bolsa.txt")).size(), 2);
}

TEST_F(TabelasInternas, TextoDeTabelaLidoDaPrimeiraLinha)
{
    auto niveis = Niveis();
    auto sub = SubNiveis();
    EXPECT_EQ(edit::LeTextoTabela(QStringLiteral("niveis_bons.txt"), *niveis), 2);
    EXPECT_EQ(Coluna(*niveis, 0), (QStringList{QStringLiteral("GRADUAÇÃO"), QStringLiteral("PÓS-GRADUAÇÃO")}));
    // What follows the first line's carriage return is not read.
    EXPECT_EQ(edit::LeTextoTabela(QStringLiteral("subniveis_bons.txt"), *sub), 3);
    EXPECT_EQ(Coluna(*sub, 1), (QStringList{QStringLiteral("ESPECIALIZAÇÃO"), QStringLiteral("MESTRADO"), QStringLiteral("BACHARELADO")}));
    EXPECT_EQ(Coluna(*sub, 0).count(QStringLiteral("PÓS-GRADUAÇÃO")), 2);
    // An empty file adds no rows and is no failure.
    EXPECT_EQ(edit::LeTextoTabela(QStringLiteral("texto_vazio.txt"), *niveis), 0);
    EXPECT_EQ(niveis->totalRowCount(), 2);
}

TEST_F(TabelasInternas, NiveisDoCursoLidosSoComAsDuasTabelasVazias)
{
    ComoArquivo(QStringLiteral("niveis_bons.txt"), QStringLiteral("niveis_curso.txt"));
    ComoArquivo(QStringLiteral("subniveis_bons.txt"), QStringLiteral("subniveis_curso.txt"));
    auto niveis = Niveis();
    auto sub = SubNiveis();
    EXPECT_TRUE(edit::CarregaNiveisCurso(*niveis, *sub));
    EXPECT_EQ(niveis->totalRowCount(), 2);
    EXPECT_EQ(sub->totalRowCount(), 3);
    EXPECT_EQ(roteiro.textosEspera,
              (QStringList{QStringLiteral("Carregando tabela de Níveis"), QStringLiteral("Carregando tabela de Sub-níveis")}));
    EXPECT_EQ(roteiro.esperasAbertas, 0);

    // A second course dialog of the run reads nothing, even while a filter hides every sub-level.
    sub->setFilter(QStringLiteral("Nivel = 'NENHUM'"));
    sub->setFiltered(true);
    EXPECT_FALSE(edit::CarregaNiveisCurso(*niveis, *sub));
    EXPECT_EQ(sub->totalRowCount(), 3);
    EXPECT_EQ(roteiro.textosEspera.size(), 2);

    // A damaged sub-level file leaves both tables empty and the wait window closed.
    auto n2 = Niveis();
    auto s2 = SubNiveis();
    QFile::remove(edit::PastaTabelas() + QStringLiteral("subniveis_curso.txt"));
    ComoArquivo(QStringLiteral("texto_sem_fim.txt"), QStringLiteral("subniveis_curso.txt"));
    EXPECT_THROW(edit::CarregaNiveisCurso(*n2, *s2), edit::FalhaTabelaInterna);
    EXPECT_EQ(n2->totalRowCount(), 0);
    EXPECT_EQ(s2->totalRowCount(), 0);
    EXPECT_EQ(roteiro.esperasAbertas, 0);
}
