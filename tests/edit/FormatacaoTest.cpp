#include "tests/edit/Apoio.h"

#include "edit/Formatacao.h"

#include <gtest/gtest.h>

TEST(FormataValor, ColunasDeRelatorio)
{
    const std::pair<const char*, const char*> casos[] = {
        {"1234.5", "1234.5 "},
        {"        1234.50", "        1234.50"},
        {"   12", "12.00"},
        {"        12.", "      12.00"},
        {"      .5", "    0.5 "},
        {"", "0.00"},
        {"7.125", " 7.125"},
    };
    for (const auto& [de, para] : casos) {
        EXPECT_EQ(edit::FormataValor(QString::fromLatin1(de)), QString::fromLatin1(para)) << de;
        QString virgula = QString::fromLatin1(para);
        virgula.replace(virgula.lastIndexOf(QLatin1Char('.')), 1, QLatin1Char(','));
        EXPECT_EQ(edit::FormataValorVirgula(QString::fromLatin1(de)), virgula) << de;
    }
}

TEST(Regioes, TabelaDeEstados)
{
    const std::pair<const char*, const char*> estados[] = {
        {"TO", "NORTE"}, {"RR", "NORTE"}, {"AP", "NORTE"}, {"AM", "NORTE"}, {"PA", "NORTE"}, {"AC", "NORTE"},
        {"RO", "NORTE"}, {"MA", "NORDESTE"}, {"PI", "NORDESTE"}, {"CE", "NORDESTE"}, {"RN", "NORDESTE"},
        {"PB", "NORDESTE"}, {"PE", "NORDESTE"}, {"AL", "NORDESTE"}, {"SE", "NORDESTE"}, {"BA", "NORDESTE"},
        {"MT", "CENTRO-OESTE"}, {"MS", "CENTRO-OESTE"}, {"GO", "CENTRO-OESTE"}, {"DF", "CENTRO-OESTE"},
        {"MG", "SUDESTE"}, {"ES", "SUDESTE"}, {"RJ", "SUDESTE"}, {"SP", "SUDESTE"},
        {"PR", "SUL"}, {"SC", "SUL"}, {"RS", "SUL"}};
    const char* regioes[] = {"NORTE", "NORDESTE", "CENTRO-OESTE", "SUDESTE", "SUL"};
    for (const auto& [uf, regiao] : estados) {
        EXPECT_EQ(edit::RegiaoDoEstado(QString::fromLatin1(uf)), QString::fromLatin1(regiao));
        for (const char* r : regioes)
            EXPECT_EQ(edit::RegiaoConfere(QString::fromLatin1(uf), QString::fromLatin1(r)), QByteArray(r) == regiao)
                << uf << " " << r;
    }
    EXPECT_EQ(edit::RegiaoDoEstado(QStringLiteral(" SP ")), QStringLiteral("SUDESTE"));
    EXPECT_EQ(edit::RegiaoDoEstado(QStringLiteral("XX")), QString());
    EXPECT_FALSE(edit::RegiaoConfere(QStringLiteral("SP"), QStringLiteral("NORTE")));
    EXPECT_TRUE(edit::RegiaoConfere(QStringLiteral("SP"), QStringLiteral("EXTERIOR")));
    EXPECT_TRUE(edit::RegiaoConfere(QStringLiteral("  "), QStringLiteral("NORTE")));
    EXPECT_TRUE(edit::RegiaoConfere(QStringLiteral("SP"), QStringLiteral(" ")));
    // The comparisons of a filled pair are exact.
    EXPECT_FALSE(edit::RegiaoConfere(QStringLiteral("sp"), QStringLiteral("SUDESTE")));
    EXPECT_TRUE(edit::RegiaoConfere(QStringLiteral("SP"), QStringLiteral("SUDESTE ")));
}

TEST(BuscaTexto, ProcuraNAIEmOrdem)
{
    auto t = TabelaFilhos();
    const auto adiciona = [&](const char* status, const char* codigo, const char* descricao) {
        t->append();
        t->setValue(0, QString::fromLatin1(status));
        t->setValue(2, QString::fromLatin1(codigo));
        t->setValue(3, QString::fromLatin1(descricao));
        t->post();
    };
    adiciona("I", "5", "novo");
    adiciona("A", "5", "alterado");
    adiciona("D", "6", "excluido");
    adiciona("I", "6", "novo 6");
    adiciona("N", "5", "baixado");
    adiciona("X", "7", "marcado");
    t->setIndexName(QStringLiteral("Primary"));

    const QString c = QStringLiteral("Cod_Item"), d = QStringLiteral("Descricao");
    EXPECT_EQ(edit::BuscaTexto(*t, c, QStringLiteral("5"), d), QStringLiteral("baixado"));
    EXPECT_EQ(edit::BuscaTexto(*t, c, QStringLiteral("6"), d), QStringLiteral("novo 6"));
    EXPECT_EQ(edit::BuscaTexto(*t, c, QStringLiteral("7"), d, QStringLiteral("anterior")), QStringLiteral("anterior"));
    EXPECT_EQ(edit::BuscaTexto(*t, c, QStringLiteral("8"), d), QString());
    t->setFiltered(false);
    VaiPara(*t, QStringLiteral("baixado"), 3);
    t->edit();
    t->setValue(0, QStringLiteral("D"));
    t->post();
    t->setFiltered(true);
    t->first();
    t->next();
    const auto atual = t->bookmark();
    EXPECT_EQ(edit::BuscaTexto(*t, c, QStringLiteral("5"), d), QStringLiteral("alterado"));

    EXPECT_TRUE(t->filtered());
    EXPECT_FALSE(t->hasIndex(QStringLiteral("IndiceNovo")));
    EXPECT_EQ(t->indexName(), QStringLiteral("Primary"));
    EXPECT_EQ(t->bookmark(), atual);
}
