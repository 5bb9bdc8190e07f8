#include "tests/edit/Apoio.h"

#include "edit/Exclusao.h"
#include "edit/ItensFilhos.h"

#include "core/InteracaoRoteirizada.h"

#include <gtest/gtest.h>

namespace {

// A parent table with one current record whose code is "7".
std::unique_ptr<store::Table> Pai(const QString& codigo = QStringLiteral("7"))
{
    auto t = TabelaFilhos();
    Adiciona(*t, QStringLiteral("A"), codigo, codigo);
    return t;
}

// One child of parent 7 for every letter, plus the same letters under parent 8 (never touched).
std::unique_ptr<store::Table> Filhos()
{
    auto t = TabelaFilhos();
    for (const char* l : {"N", "A", "I", "D", "E", "X", "Y", "P", "Q"}) {
        Adiciona(*t, QString::fromLatin1(l), QStringLiteral("7"), QStringLiteral("7") + QLatin1String(l));
        Adiciona(*t, QString::fromLatin1(l), QStringLiteral("8"), QStringLiteral("8") + QLatin1String(l));
    }
    t->setFilter(QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y'"));
    t->setIndexName(QStringLiteral("Primary"));
    return t;
}

// Letters of parent 7's children, by the letter they had before ("removido" when gone).
QMap<QString, QString> DoPai7(store::Table& filho)
{
    const auto letras = Letras(filho);
    QMap<QString, QString> r;
    for (const char* l : {"N", "A", "I", "D", "E", "X", "Y", "P", "Q"}) {
        const QString chave = QStringLiteral("7") + QLatin1String(l);
        r.insert(QString::fromLatin1(l), letras.contains(chave) ? letras.value(chave) : QStringLiteral("removido"));
    }
    for (const char* l : {"N", "A", "I", "D", "E", "X", "Y", "P", "Q"})
        EXPECT_EQ(letras.value(QStringLiteral("8") + QLatin1String(l)), QString::fromLatin1(l));
    return r;
}

QMap<QString, QString> Esperado(std::initializer_list<std::pair<const char*, const char*>> mudancas)
{
    QMap<QString, QString> r;
    for (const char* l : {"N", "A", "I", "D", "E", "X", "Y", "P", "Q"})
        r.insert(QString::fromLatin1(l), QString::fromLatin1(l));
    for (const auto& [de, para] : mudancas)
        r.insert(QString::fromLatin1(de), QString::fromLatin1(para));
    return r;
}

} // namespace

TEST(ItensFilhos, ConfirmaECancela)
{
    struct Caso {
        const char* nome;
        std::function<void(store::Table&, store::Table&)> chama;
        QMap<QString, QString> esperado;
    };
    const QString c = QStringLiteral("Cod_Pai");
    const Caso casos[] = {
        {"ConfirmaItens", [&](auto& p, auto& f) { edit::ConfirmaItens(p, f, c); },
         Esperado({{"E", "I"}, {"X", "D"}, {"Y", "removido"}})},
        {"CancelaItens edicao", [&](auto& p, auto& f) { edit::CancelaItens(p, f, c, 0); },
         Esperado({{"E", "removido"}, {"X", "N"}, {"Y", "I"}})},
        // The new parent goes away: so do all of its new children, the one deleted in the dialog too.
        {"CancelaItens inclusao", [&](auto& p, auto& f) { edit::CancelaItens(p, f, c, 1); },
         Esperado({{"I", "removido"}, {"E", "removido"}, {"X", "N"}, {"Y", "removido"}})},
        {"ConfirmaItensAninhados", [&](auto& p, auto& f) { edit::ConfirmaItensAninhados(p, f, c); },
         Esperado({{"P", "E"}, {"Q", "removido"}})},
        {"CancelaItensAninhados edicao", [&](auto& p, auto& f) { edit::CancelaItensAninhados(p, f, c, 0); },
         Esperado({{"Q", "E"}, {"P", "removido"}, {"X", "N"}, {"Y", "I"}})},
        {"CancelaItensAninhados inclusao", [&](auto& p, auto& f) { edit::CancelaItensAninhados(p, f, c, 1); },
         Esperado({{"I", "removido"}, {"P", "removido"}, {"X", "N"}, {"Y", "removido"}})},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        auto pai = Pai();
        auto filho = Filhos();
        caso.chama(*pai, *filho);
        EXPECT_EQ(DoPai7(*filho), caso.esperado);
        EXPECT_TRUE(filho->filtered());
        EXPECT_FALSE(filho->hasIndex(QStringLiteral("IndiceNovo")));
        EXPECT_EQ(filho->indexName(), QStringLiteral("Primary"));
    }
}

TEST(ItensFilhos, VidaDeUmaListaNumDialogoENoDialogoAninhado)
{
    app::InteracaoRoteirizada roteiro;
    auto pai = Pai();
    auto filho = TabelaFilhos();
    filho->setFilter(QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y'"));
    Adiciona(*filho, QStringLiteral("A"), QStringLiteral("7"), QStringLiteral("a"));  // changed earlier
    Adiciona(*filho, QStringLiteral("I"), QStringLiteral("7"), QStringLiteral("i"));

    // The outer dialog deletes both and adds one; the nested one adds and deletes.
    VaiPara(*filho, QStringLiteral("a"));
    edit::ExcluiItem(*filho, QString());
    VaiPara(*filho, QStringLiteral("i"));
    edit::ExcluiItem(*filho, QString());
    Adiciona(*filho, QStringLiteral("E"), QStringLiteral("7"), QStringLiteral("e"));
    Adiciona(*filho, QStringLiteral("P"), QStringLiteral("7"), QStringLiteral("p"));
    VaiPara(*filho, QStringLiteral("e"));
    edit::ExcluiItemAninhado(*filho, QString());
    EXPECT_EQ(Letras(*filho).value(QStringLiteral("e")), QStringLiteral("Q"));

    // The nested dialog is cancelled: its addition goes, its deletion is undone.
    edit::CancelaItensAninhados(*pai, *filho, QStringLiteral("Cod_Pai"), 0);
    EXPECT_FALSE(Letras(*filho).contains(QStringLiteral("p")));
    EXPECT_EQ(Letras(*filho).value(QStringLiteral("e")), QStringLiteral("E"));

    // The outer dialog is cancelled: the record that was A before its deletion comes back as N.
    edit::CancelaItens(*pai, *filho, QStringLiteral("Cod_Pai"), 0);
    const QMap<QString, QString> esperado = {{QStringLiteral("a"), QStringLiteral("N")},
                                             {QStringLiteral("i"), QStringLiteral("I")}};
    EXPECT_EQ(Letras(*filho), esperado);
}

TEST(ItensFilhos, InclusaoCanceladaRemoveFilhosIeE)
{
    auto pai = Pai(QStringLiteral("-15"));
    auto filho = TabelaFilhos();
    Adiciona(*filho, QStringLiteral("I"), QStringLiteral("-15"), QStringLiteral("1"));
    Adiciona(*filho, QStringLiteral("E"), QStringLiteral("-15"), QStringLiteral("2"));
    Adiciona(*filho, QStringLiteral("I"), QStringLiteral("-16"), QStringLiteral("3"));
    edit::CancelaItens(*pai, *filho, QStringLiteral("Cod_Pai"), 1);
    const QMap<QString, QString> esperado = {{QStringLiteral("3"), QStringLiteral("I")}};
    EXPECT_EQ(Letras(*filho), esperado);
}

TEST(ItensFilhos, SemLigacaoAListaInteiraConta)
{
    auto lista = TabelaFilhos();
    Adiciona(*lista, QStringLiteral("E"), QString(), QStringLiteral("1"));
    Adiciona(*lista, QStringLiteral("X"), QString(), QStringLiteral("2"));
    Adiciona(*lista, QStringLiteral("E"), QStringLiteral("9"), QStringLiteral("3"));
    edit::ConfirmaItens(*lista, *lista, QStringLiteral("XXX"));
    const QMap<QString, QString> esperado = {{QStringLiteral("1"), QStringLiteral("I")},
                                             {QStringLiteral("2"), QStringLiteral("D")},
                                             {QStringLiteral("3"), QStringLiteral("I")}};
    EXPECT_EQ(Letras(*lista), esperado);
}

TEST(ItensFilhos, NovoRegistroAindaNaoGravadoEDescartado)
{
    // A choice dialog cancelled after its append leaves an empty new row behind; it goes.
    auto pai = Pai();
    auto filho = TabelaFilhos();
    Adiciona(*filho, QStringLiteral("E"), QStringLiteral("7"), QStringLiteral("1"));
    filho->append();
    edit::ConfirmaItens(*pai, *filho, QStringLiteral("Cod_Pai"));
    EXPECT_EQ(filho->totalRowCount(), 1);
    EXPECT_EQ(Letras(*filho).value(QStringLiteral("1")), QStringLiteral("I"));
}
