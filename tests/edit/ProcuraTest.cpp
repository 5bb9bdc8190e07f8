// The find without a window: folding, which rows and fields it reads, the folded texts following the
// tables' changes, the limit, and the words spelling looks at.

#include "edit/Ortografia.h"
#include "edit/Procura.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <gtest/gtest.h>

// Readable strings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QString S(const char* t) { return QString::fromUtf8(t); }

void Linha(store::Table& t, std::initializer_list<std::pair<const char*, const char*>> valores)
{
    t.append();
    for (const auto& [campo, valor] : valores)
        t.setValue(S(campo), S(valor));
    t.post();
}

QStringList Linhas(const edit::ResultadoDaProcura& r)
{
    QStringList l;
    for (const edit::Achado& a : r.achados)
        l << edit::LinhaDoAchado(a);
    return l;
}

// Rows, filter, order, indexes and current row of every table.
QStringList Estado()
{
    QStringList r;
    for (store::Table* t : store::dados().todas()) {
        QString e = t->name() + S("|") + t->filter() + (t->filtered() ? S("|on|") : S("|off|")) + t->indexName() + S("|")
                    + t->indexNames().join(QLatin1Char(',')) + S("|") + QString::number(t->bookmark());
        for (store::Table::Bookmark b : t->naturalRows())
            for (int c = 0; c < t->fieldCount(); ++c)
                e += S("|") + t->rowValue(b, c);
        r << e;
    }
    return r;
}

TEST(Dobra, MinusculasSemAcentosUmaUnidadePorUnidade)
{
    const std::vector<std::pair<const char*, const char*>> casos = {
        {"AÇÃO", "acao"},
        {"Coração ÜBER Ñandú", "coracao uber nandu"},
        {"ÉÊÈËéêèë ÍÓÚÔÕ", "eeeeeeee iouoo"},
        {"a\u00A0b", "a b"},            // the no-break space is a space
        {"ª º", "a o"},                 // ordinal indicators are their letters
        {"ß", "ß"},                     // no single letter for it: kept
        {"\U0001F600 x", "\U0001F600 x"},  // outside the basic plane: kept, both halves
    };
    for (const auto& [de, para] : casos) {
        const QString dobrado = edit::Dobra(S(de));
        EXPECT_EQ(dobrado, S(para)) << de;
        EXPECT_EQ(dobrado.size(), S(de).size()) << de;
    }
}

TEST(PalavrasDoTexto, SoPalavrasDeLetras)
{
    const std::vector<std::pair<const char*, QStringList>> casos = {
        {"A análise, concluída.", {S("A"), S("análise"), S("concluída")}},
        {"guarda-chuva d'água -x- fim-", {S("guarda-chuva"), S("d'água"), S("x"), S("fim")}},
        {"item 3b e 12/2024 ok", {S("item"), S("e"), S("ok")}},
        {"ver www.exemplo.gov.br ou fulano@exemplo.com ou https://x.y/z fim", {S("ver"), S("ou"), S("ou"), S("fim")}},
        {"AVALIAÇÃO\tFINAL", {S("AVALIAÇÃO"), S("FINAL")}},
        {"", {}},
    };
    for (const auto& [texto, esperadas] : casos) {
        const QString t = S(texto);
        QStringList achadas;
        for (const edit::PalavraNoTexto& p : edit::PalavrasDoTexto(t))
            achadas << t.mid(p.inicio, p.tamanho);
        EXPECT_EQ(achadas, esperadas) << texto;
    }
    EXPECT_TRUE(edit::Ortografia::EmMaiusculas(S("AÇÃO")));
    EXPECT_FALSE(edit::Ortografia::EmMaiusculas(S("Ação")));
    EXPECT_FALSE(edit::Ortografia::EmMaiusculas(S("123")));
}

class ProcuraTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::InicializaEstado(QString());
        store::criaDados();
        Linha(estudos(), {{"Status", "N"}, {"Cod_Estudo", "2"}, {"TipoEstudo", "DIAGNÓSTICO"}, {"Titulo", "Seca no sertão"}});
        Linha(estudos(), {{"Status", "A"}, {"Cod_Estudo", "1"}, {"TipoEstudo", "AVALIAÇÃO"}, {"Titulo", "Chuvas"},
                          {"Descricao", "Depois da SECA vieram as chuvas"}, {"Autor", "seca"}});
        Linha(estudos(), {{"Status", "D"}, {"Cod_Estudo", "3"}, {"TipoEstudo", "X"}, {"Titulo", "Seca apagada"}});
        Linha(estudos(), {{"Status", "Y"}, {"Cod_Estudo", "4"}, {"TipoEstudo", "X"}, {"Titulo", "Seca em edição"}});
        estudos().setIndexName(S("Primary"));
        estudos().first();
    }
    void TearDown() override { store::destroiDados(); }

    static store::Table& estudos() { return store::DataResultadosGerados().tbEstudo; }
};

TEST_F(ProcuraTest, LeSoOQueAGradeMostraESegueAsMudancasDaTabela)
{
    edit::Procura procura;
    const QStringList antes = Estado();
    // In the grid's order (the code), the visible records only; the member code in Autor is not a
    // text the user sees.
    const QStringList primeira = {
        S("Estudos — Chuvas — Descrição — Depois da SECA vieram as chuvas"),
        S("Estudos — Seca no sertão — Título — Seca no sertão"),
    };
    EXPECT_EQ(Linhas(procura.procura(S("  sEcA "))), primeira);
    EXPECT_EQ(Estado(), antes);

    // A new record is found by the next search.
    Linha(estudos(), {{"Status", "I"}, {"Cod_Estudo", "-1"}, {"TipoEstudo", "X"}, {"Titulo", "Após a seca"}});
    EXPECT_EQ(procura.procura(S("seca")).total, 3);
    // A record edited, one deleted.
    ASSERT_TRUE(estudos().findKey({S("2")}));
    estudos().edit();
    estudos().setValue(S("Titulo"), S("Cheia no sertão"));
    estudos().post();
    EXPECT_EQ(procura.procura(S("seca")).total, 2);
    EXPECT_EQ(procura.procura(S("cheia")).total, 1);
    ASSERT_TRUE(estudos().findKey({S("1")}));
    estudos().edit();
    estudos().setValue(S("Status"), S("D"));
    estudos().post();
    EXPECT_EQ(Linhas(procura.procura(S("seca"))), QStringList{S("Estudos — Após a seca — Título — Após a seca")});
    // The filter changed: what the grid shows now.
    estudos().setFilter(S("Status = 'D'"));
    EXPECT_EQ(procura.procura(S("seca")).total, 0);
    estudos().setFiltered(false);
    EXPECT_EQ(procura.procura(S("seca")).total, 1);
    estudos().setFiltered(true);
    estudos().setFilter(S("Status <> 'D'"));
    // Another order: the results follow it.
    Linha(estudos(), {{"Status", "I"}, {"Cod_Estudo", "-0"}, {"TipoEstudo", "X"}, {"Titulo", "Antes da seca"}});
    estudos().setIndexName(QString());
    EXPECT_EQ(Linhas(procura.procura(S("seca"))),
              (QStringList{S("Estudos — Após a seca — Título — Após a seca"),
                           S("Estudos — Antes da seca — Título — Antes da seca")}));
    estudos().setIndexName(S("Primary"));
    EXPECT_EQ(Linhas(procura.procura(S("seca"))),
              (QStringList{S("Estudos — Antes da seca — Título — Antes da seca"),
                           S("Estudos — Após a seca — Título — Após a seca")}));

    // A store made anew is read anew.
    store::criaDados();
    EXPECT_EQ(procura.procura(S("seca")).total, 0);
    Linha(estudos(), {{"Status", "N"}, {"Cod_Estudo", "9"}, {"TipoEstudo", "X"}, {"Titulo", "Seca nova"}});
    EXPECT_EQ(procura.procura(S("seca")).total, 1);
}

TEST_F(ProcuraTest, LimiteContaTodosEOTrechoFicaNumaLinha)
{
    for (int i = 0; i < 30; ++i)
        Linha(estudos(), {{"Status", "I"}, {"Cod_Estudo", qPrintable(QString::number(-i - 1))}, {"TipoEstudo", "X"},
                          {"Titulo", "Tema"}, {"Descricao", "tema"}});
    edit::Procura procura;
    const edit::ResultadoDaProcura r = procura.procura(S("tema"), 7);
    EXPECT_EQ(r.total, 60);
    EXPECT_EQ(r.achados.size(), 7u);
    EXPECT_EQ(procura.procura(S("tema")).achados.size(), 60u);

    // A long memo: the match with some words around it, cut between words, on one line.
    Linha(store::DataAnaliseResultados().tbComentariosGerais,
          {{"Status", "N"},
           {"Descricao", "Primeira linha do comentário geral do projeto.\r\nSegunda linha: a avaliação externa considerou "
                         "o relatório satisfatório em todos os aspectos examinados pela comissão."}});
    const edit::ResultadoDaProcura c = procura.procura(S("avaliacao externa"));
    ASSERT_EQ(c.achados.size(), 1u);
    const edit::Achado& a = c.achados[0];
    EXPECT_EQ(a.trecho, S("…projeto.  Segunda linha: a avaliação externa considerou o relatório "
                          "satisfatório em todos os…"));
    EXPECT_EQ(a.trecho.mid(a.inicio, a.tamanho), S("avaliação externa"));
    EXPECT_EQ(edit::LinhaDoAchado(a).section(S(" — "), 0, 2), S("Observações — Comentários Gerais — Comentários Gerais"));
}

} // namespace
