#include "store/FilterExpr.h"
#include "store/Table.h"

#include <gtest/gtest.h>

using store::FilterExpr;
using store::TableError;

namespace {

int resolve(const QString& nome)
{
    const QStringList cols{QStringLiteral("Status"), QStringLiteral("Cod"), QStringLiteral("TipoVinculacao")};
    for (int i = 0; i < cols.size(); ++i)
        if (cols[i].compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool casa(const char* filtro, std::vector<QString> linha)
{
    return FilterExpr::parse(QString::fromUtf8(filtro), resolve)->matches(linha);
}

} // namespace

TEST(Filter, ComparisonsAreExactAndColumnNamesIgnoreCase)
{
    EXPECT_TRUE(casa("Status = 'N'", {"N", "", ""}));
    EXPECT_FALSE(casa("Status = 'N'", {"n", "", ""}));
    EXPECT_TRUE(casa("STATUS <> 'D'", {"N", "", ""}));
    EXPECT_FALSE(casa("status<>'D'", {"D", "", ""}));
    EXPECT_TRUE(casa("Cod = ''", {"N", "", ""}));
    EXPECT_FALSE(casa("Cod = ''", {"N", " ", ""}));
    EXPECT_TRUE(casa("Cod = 'O''Brien'", {"N", "O'Brien", ""}));
    EXPECT_TRUE(casa("Cod = -5", {"N", "-5", ""}));
}

TEST(Filter, AndBindsTighterThanOrAndParenthesesGroup)
{
    const std::vector<QString> d{"D", "1", "DESCONHECIDO"};
    EXPECT_TRUE(casa("Status = 'D' or Status = 'N' and Cod = '9'", d));
    EXPECT_FALSE(casa("(Status = 'D' or Status = 'N') and Cod = '9'", d));
    EXPECT_TRUE(casa("not (Status = 'N')", d));
    EXPECT_FALSE(casa("Status <> 'D' and Status <> 'F' and TipoVinculacao <> 'DESCONHECIDO'", d));
    EXPECT_TRUE(casa("Status <> 'D' AND Status <> 'F' And TipoVinculacao <> 'DESCONHECIDO'", {"N", "", "X"}));
    EXPECT_TRUE(casa("   ", d)) << "a blank filter admits everything";
    // 'or' inside a literal and as a column-name prefix are not keywords.
    EXPECT_TRUE(casa("Cod = 'a or b'", {"N", "a or b", ""}));
}

TEST(Filter, BadTextsRaiseErrorsThatSayWhy)
{
    const char* ruins[] = {"Status = ",        "Status = 'N",         "Status 'N'",         "(Status = 'N'",
                           "Status = 'N')",     "Nada = 'N'",          "Status = 'N' and",   "= 'N'",
                           "Status = 'N' xor Cod = '1'"};
    for (const char* r : ruins) {
        try {
            FilterExpr::parse(QString::fromUtf8(r), resolve);
            ADD_FAILURE() << "accepted: " << r;
        } catch (const TableError& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Filtro inválido"))) << e.what();
        }
    }
    try {
        FilterExpr::parse(QStringLiteral("Nada = 'N'"), resolve);
    } catch (const TableError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("Nada")));
    }
}
