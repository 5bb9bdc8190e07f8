#include "tests/edit/Apoio.h"

#include "edit/Exclusao.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"

#include <gtest/gtest.h>

using app::Icone;
using app::InteracaoRoteirizada;
using app::Resposta;

namespace {

const QString Removido = QStringLiteral("removido");

enum class Helper { Registro, Item, ItemAninhado };

void chama(Helper h, store::Table& t, const QString& descricao)
{
    switch (h) {
    case Helper::Registro: edit::ExcluiRegistro(t, descricao); break;
    case Helper::Item: edit::ExcluiItem(t, descricao); break;
    case Helper::ItemAninhado: edit::ExcluiItemAninhado(t, descricao); break;
    }
}

// What deleting one row with `antes` leaves behind: its letter, or "removido".
QString depoisDe(Helper h, const QString& antes)
{
    InteracaoRoteirizada roteiro;
    roteiro.responde(Resposta::Sim);
    auto t = TabelaFilhos();
    t->setFiltered(false);  // every letter must be reachable as the current row
    Adiciona(*t, antes, QStringLiteral("1"), QStringLiteral("10"));
    EXPECT_TRUE(VaiPara(*t, QStringLiteral("10")));
    chama(h, *t, QStringLiteral("este Item ?"));
    EXPECT_TRUE(roteiro.inesperadas.isEmpty());
    const auto letras = Letras(*t);
    return letras.contains(QStringLiteral("10")) ? letras.value(QStringLiteral("10")) : Removido;
}

QString depoisDaCascata(const QString& antes)
{
    InteracaoRoteirizada roteiro;
    auto t = TabelaFilhos();
    Adiciona(*t, antes, QStringLiteral("1"), QStringLiteral("10"));
    edit::ExcluiDependentes(*t, QStringLiteral("Cod_Pai"), QStringLiteral("1"));
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
    const auto letras = Letras(*t);
    return letras.contains(QStringLiteral("10")) ? letras.value(QStringLiteral("10")) : Removido;
}

} // namespace

TEST(Exclusao, TransicoesDeCadaLetraEmCadaContexto)
{
    struct Linha {
        const char* antes;
        QString registro, item, aninhado, cascata;
    };
    const QString r = Removido;
    const auto l = [](const char* s) { return QString::fromLatin1(s); };
    const Linha tabela[] = {
        {"N", l("D"), l("X"), l("X"), l("D")},
        {"A", l("D"), l("X"), l("X"), l("D")},
        {"I", r, l("Y"), l("Y"), r},
        {"E", r, r, l("Q"), r},
        {"P", l("P"), l("P"), r, l("P")},
        {"X", l("X"), l("X"), l("X"), l("X")},
        {"Y", l("Y"), l("Y"), l("Y"), l("Y")},
        {"Q", l("Q"), l("Q"), l("Q"), l("Q")},
        {"M", l("M"), l("M"), l("M"), l("M")},
        {"Z", l("Z"), l("Z"), l("Z"), l("Z")},
        {"D", l("D"), l("D"), l("D"), l("D")},
        {"F", l("F"), l("F"), l("F"), l("F")},
    };
    for (const Linha& linha : tabela) {
        const QString antes = QString::fromLatin1(linha.antes);
        SCOPED_TRACE(linha.antes);
        EXPECT_EQ(depoisDe(Helper::Registro, antes), linha.registro);
        EXPECT_EQ(depoisDe(Helper::Item, antes), linha.item);
        EXPECT_EQ(depoisDe(Helper::ItemAninhado, antes), linha.aninhado);
        EXPECT_EQ(depoisDaCascata(antes), linha.cascata);
    }
}

TEST(Exclusao, PerguntaEConfirmacao)
{
    for (Helper h : {Helper::Registro, Helper::Item, Helper::ItemAninhado}) {
        InteracaoRoteirizada roteiro;
        roteiro.responde(Resposta::Sim);
        app::Estado().ProjectModified = false;
        auto t = TabelaFilhos();
        t->setFilter(QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y'"));
        Adiciona(*t, QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("10"));
        chama(h, *t, QStringLiteral("este Estudo Realizado ?"));
        ASSERT_EQ(roteiro.mensagens.size(), 1);
        EXPECT_EQ(roteiro.mensagens[0].texto, QStringLiteral("Deseja realmente excluir este Estudo Realizado ?"));
        EXPECT_EQ(roteiro.mensagens[0].icone, Icone::Pergunta);
        EXPECT_EQ(roteiro.mensagens[0].botoes, app::Botoes::SimNao);
        EXPECT_EQ(roteiro.mensagens[0].titulo, QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));
        EXPECT_TRUE(app::Estado().ProjectModified);
        // The row marked deleted disappears from the view.
        EXPECT_TRUE(t->filtered());
        EXPECT_EQ(t->recordCount(), 0);
    }
}

TEST(Exclusao, RespostaQueNaoESimCancelaSemMudarNada)
{
    for (Resposta resposta : {Resposta::Nao, Resposta::Cancelar}) {
        for (Helper h : {Helper::Registro, Helper::Item, Helper::ItemAninhado}) {
            InteracaoRoteirizada roteiro;
            roteiro.responde(resposta);
            app::Estado().ProjectModified = false;
            auto t = TabelaFilhos();
            Adiciona(*t, QStringLiteral("I"), QStringLiteral("1"), QStringLiteral("10"));
            chama(h, *t, QStringLiteral("esta Bolsa ?"));
            ASSERT_EQ(roteiro.mensagens.size(), 2);
            EXPECT_EQ(roteiro.mensagens[1].texto, QStringLiteral("Exclusão cancelada!"));
            EXPECT_EQ(roteiro.mensagens[1].icone, Icone::Erro);
            EXPECT_EQ(Letras(*t).value(QStringLiteral("10")), QStringLiteral("I"));
            EXPECT_FALSE(app::Estado().ProjectModified);
        }
    }
}

TEST(Exclusao, DescricaoVaziaNoDialogoExcluiSemPerguntar)
{
    InteracaoRoteirizada roteiro;
    auto t = TabelaFilhos();
    Adiciona(*t, QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("10"));
    Adiciona(*t, QStringLiteral("E"), QStringLiteral("1"), QStringLiteral("11"));
    VaiPara(*t, QStringLiteral("10"));
    edit::ExcluiItem(*t, QString());
    VaiPara(*t, QStringLiteral("11"));
    edit::ExcluiItemAninhado(*t, QString());
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
    EXPECT_EQ(Letras(*t).value(QStringLiteral("10")), QStringLiteral("X"));
    EXPECT_EQ(Letras(*t).value(QStringLiteral("11")), QStringLiteral("Q"));

    // The main window always asks, even with no description.
    roteiro.responde(Resposta::Sim);
    VaiPara(*t, QStringLiteral("10"));
    edit::ExcluiRegistro(*t, QString());
    ASSERT_EQ(roteiro.mensagens.size(), 1);
    EXPECT_EQ(roteiro.mensagens[0].texto, QStringLiteral("Deseja realmente excluir "));
}

TEST(Exclusao, TabelaVaziaNaoPerguntaNada)
{
    InteracaoRoteirizada roteiro;
    auto t = TabelaFilhos();
    Adiciona(*t, QStringLiteral("D"), QStringLiteral("1"), QStringLiteral("10"));  // hidden
    edit::ExcluiRegistro(*t, QStringLiteral("este Curso ?"));
    edit::ExcluiItem(*t, QStringLiteral("este Curso ?"));
    edit::ExcluiItemAninhado(*t, QStringLiteral("este Curso ?"));
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
    EXPECT_TRUE(roteiro.inesperadas.isEmpty());
}

TEST(ExcluiDependentes, PercorreSoOsFilhosDoPaiEPassaPelosQueNaoMudam)
{
    InteracaoRoteirizada roteiro;
    app::Estado().ProjectModified = false;
    auto t = TabelaFilhos();
    t->setFilter(QStringLiteral("Cod_Pai = '1'"));  // a dialog's view, restored afterwards
    const char* letras[] = {"N", "X", "A", "P", "I", "Q", "E", "Y", "D", "F", "M"};
    int n = 0;
    for (const char* l : letras)
        Adiciona(*t, QString::fromLatin1(l), QStringLiteral("7"), QString::number(100 + n++));
    Adiciona(*t, QStringLiteral("N"), QStringLiteral("8"), QStringLiteral("200"));
    Adiciona(*t, QStringLiteral("I"), QStringLiteral("70"), QStringLiteral("201"));
    t->setIndexName(QStringLiteral("Primary"));

    edit::ExcluiDependentes(*t, QStringLiteral("Cod_Pai"), QStringLiteral("7"));

    const auto depois = Letras(*t);
    const QMap<QString, QString> esperado = {
        {QStringLiteral("100"), QStringLiteral("D")}, {QStringLiteral("101"), QStringLiteral("X")},
        {QStringLiteral("102"), QStringLiteral("D")}, {QStringLiteral("103"), QStringLiteral("P")},
        {QStringLiteral("105"), QStringLiteral("Q")}, {QStringLiteral("107"), QStringLiteral("Y")},
        {QStringLiteral("108"), QStringLiteral("D")}, {QStringLiteral("109"), QStringLiteral("F")},
        {QStringLiteral("110"), QStringLiteral("M")}, {QStringLiteral("200"), QStringLiteral("N")},
        {QStringLiteral("201"), QStringLiteral("I")}};
    EXPECT_EQ(depois, esperado);
    EXPECT_TRUE(app::Estado().ProjectModified);
    EXPECT_EQ(t->filter(), QStringLiteral("Cod_Pai = '1'"));
    EXPECT_TRUE(t->filtered());
    EXPECT_FALSE(t->hasIndex(QStringLiteral("Temp")));
    EXPECT_EQ(t->indexName(), QStringLiteral("Primary"));
    EXPECT_TRUE(roteiro.mensagens.isEmpty());
}

TEST(ExcluiDependentes, SemFilhosNaoMarcaModificado)
{
    InteracaoRoteirizada roteiro;
    app::Estado().ProjectModified = false;
    auto t = TabelaFilhos();
    Adiciona(*t, QStringLiteral("X"), QStringLiteral("7"), QStringLiteral("1"));
    Adiciona(*t, QStringLiteral("N"), QStringLiteral("8"), QStringLiteral("2"));
    edit::ExcluiDependentes(*t, QStringLiteral("Cod_Pai"), QStringLiteral("7"));
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_EQ(Letras(*t).value(QStringLiteral("1")), QStringLiteral("X"));
}

TEST(ExcluiDependentes, MilhoresDeFilhosNumaSoPassada)
{
    InteracaoRoteirizada roteiro;
    auto t = TabelaFilhos();
    for (int i = 0; i < 3000; ++i)
        Adiciona(*t, QString::fromLatin1(i % 3 == 0 ? "N" : i % 3 == 1 ? "I" : "X"), QStringLiteral("5"),
                 QString::number(i));
    edit::ExcluiDependentes(*t, QStringLiteral("Cod_Pai"), QStringLiteral("5"));
    int d = 0, x = 0;
    for (const QString& l : Letras(*t)) {
        d += l == QLatin1String("D");
        x += l == QLatin1String("X");
    }
    EXPECT_EQ(d, 1000);
    EXPECT_EQ(x, 1000);
    EXPECT_EQ(t->totalRowCount(), 2000);
}
