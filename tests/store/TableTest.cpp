#include "store/Table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <tuple>

using store::FieldDef;
using store::FieldType;
using store::Table;
using store::TableError;

namespace {

std::unique_ptr<Table> novaTabela()
{
    auto t = std::make_unique<Table>(QStringLiteral("tbTeste"), 7,
                                     std::vector<FieldDef>{{QStringLiteral("Status"), FieldType::Text, 1},
                                                           {QStringLiteral("Cod"), FieldType::Text, 10, true},
                                                           {QStringLiteral("Nome"), FieldType::Text, 30},
                                                           {QStringLiteral("Obs"), FieldType::Memo, 0}});
    t->open();
    return t;
}

void inclui(Table& t, const char* status, const char* cod, const char* nome = "")
{
    t.append();
    t.setValue(QStringLiteral("Status"), QString::fromUtf8(status));
    t.setValue(QStringLiteral("Cod"), QString::fromUtf8(cod));
    t.setValue(QStringLiteral("Nome"), QString::fromUtf8(nome));
    t.post();
}

QStringList codigos(Table& t)
{
    QStringList r;
    for (t.first(); !t.eof(); t.next())
        r << t.value(QStringLiteral("Cod"));
    return r;
}

// Every row's four values read back as expected, and null where the expected value is null when asked.
void ConfereValores(Table& u, const std::map<Table::Bookmark, std::vector<QString>>& esperado, const char* onde, bool nulos)
{
    ASSERT_EQ(u.totalRowCount(), int(esperado.size())) << onde;
    for (const auto& [b, v] : esperado)
        for (int c = 0; c < 4; ++c) {
            const QString lido = u.rowValue(b, c);
            ASSERT_EQ(lido, v[size_t(c)]) << onde << " row " << b << " col " << c;
            if (nulos) {
                ASSERT_EQ(lido.isNull(), v[size_t(c)].isNull()) << onde << " row " << b << " col " << c;
            }
        }
}

// A table saved to a file and read back into a new one gives every value back, in the same order, and
// encodes the same file again.
void ConfereIdaEVoltaPorArquivo(Table& t)
{
    QTemporaryDir dir;
    const QString caminho = dir.filePath(QStringLiteral("tbTeste.cof"));
    t.saveToFile(caminho);
    auto u = novaTabela();
    u->loadFromFile(caminho);
    const std::vector<Table::Bookmark> deT = t.naturalRows();
    const std::vector<Table::Bookmark> deU = u->naturalRows();
    ASSERT_EQ(deT.size(), deU.size());
    for (size_t i = 0; i < deT.size(); ++i)
        for (int c = 0; c < 4; ++c)
            ASSERT_EQ(u->rowValue(deU[i], c), t.rowValue(deT[i], c)) << "file row " << i << " col " << c;
    EXPECT_EQ(u->encodeFile(), t.encodeFile());
}

} // namespace

TEST(Table, ColumnsAreAddressedByNameWithoutCaseAndByPosition)
{
    auto t = novaTabela();
    inclui(*t, "N", "1", "Ana");
    EXPECT_EQ(t->value(QStringLiteral("nome")), QStringLiteral("Ana"));
    EXPECT_EQ(t->value(2), QStringLiteral("Ana"));
    EXPECT_EQ(t->fieldIndex(QStringLiteral("COD")), 1);
    EXPECT_EQ(t->fieldIndex(QStringLiteral("Nada")), -1);
    EXPECT_THROW(t->value(QStringLiteral("Nada")), TableError);
}

TEST(Table, PostRefusesMissingRequiredAndOverlongValuesWithoutCutting)
{
    auto t = novaTabela();
    t->append();
    t->setValue(QStringLiteral("Status"), QStringLiteral("I"));
    try {
        t->post();
        FAIL() << "empty required column was accepted";
    } catch (const TableError& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("Cod"))) << e.what();
    }
    // A single blank is a value.
    t->setValue(QStringLiteral("Cod"), QStringLiteral(" "));
    t->setValue(QStringLiteral("Nome"), QString(31, QLatin1Char('x')));
    try {
        t->post();
        FAIL() << "overlong value was accepted";
    } catch (const TableError& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("Nome"))) << e.what();
    }
    EXPECT_EQ(t->state(), Table::State::Insert);
    t->setValue(QStringLiteral("Nome"), QString(30, QLatin1Char('x')));
    t->setValue(QStringLiteral("Obs"), QString(5000, QLatin1Char('m')));
    t->post();
    EXPECT_EQ(t->value(QStringLiteral("Cod")), QStringLiteral(" "));
    EXPECT_EQ(t->value(QStringLiteral("Nome")).size(), 30);
    EXPECT_EQ(t->value(QStringLiteral("Obs")).size(), 5000);
}

TEST(Table, CancelDiscardsTheEditBuffer)
{
    auto t = novaTabela();
    inclui(*t, "N", "1", "Ana");
    t->edit();
    t->setValue(QStringLiteral("Nome"), QStringLiteral("Bia"));
    EXPECT_EQ(t->value(QStringLiteral("Nome")), QStringLiteral("Bia"));
    t->cancel();
    EXPECT_EQ(t->value(QStringLiteral("Nome")), QStringLiteral("Ana"));
    t->append();
    t->cancel();
    EXPECT_EQ(t->recordCount(), 1);
    EXPECT_THROW(t->setValue(QStringLiteral("Nome"), QStringLiteral("x")), TableError);
}

TEST(Table, FilterHidesRowsFromBrowsingAndCounting)
{
    auto t = novaTabela();
    inclui(*t, "N", "1");
    inclui(*t, "D", "2");
    inclui(*t, "F", "3");
    inclui(*t, "A", "4");
    t->setFilter(QStringLiteral("Status <> 'D' and Status <> 'F'"));
    EXPECT_EQ(t->recordCount(), 4) << "a filter that is off hides nothing";
    t->setFiltered(true);
    EXPECT_EQ(t->recordCount(), 2);
    EXPECT_EQ(codigos(*t), (QStringList{QStringLiteral("1"), QStringLiteral("4")}));
    t->setFilter(QStringLiteral("Status = 'Z'"));
    EXPECT_TRUE(t->isEmpty());
    EXPECT_TRUE(t->eof());
    t->setFilter(QString());
    EXPECT_EQ(t->recordCount(), 4) << "an empty filter switched on shows all rows";
    EXPECT_EQ(t->totalRowCount(), 4);
}

TEST(Table, CursorMovesToTheFollowingRowWhenThePostedRowLeavesTheFilter)
{
    auto t = novaTabela();
    for (const char* c : {"1", "2", "3", "4"})
        inclui(*t, "D", c);
    t->setFilter(QStringLiteral("Status = 'D'"));
    t->setFiltered(true);
    // The walk that turns every D into Z, as the send does: never calls next().
    QStringList visitados;
    t->first();
    while (!t->eof()) {
        visitados << t->value(QStringLiteral("Cod"));
        t->edit();
        t->setValue(QStringLiteral("Status"), QStringLiteral("Z"));
        t->post();
    }
    EXPECT_EQ(visitados, (QStringList{"1", "2", "3", "4"}));
    EXPECT_TRUE(t->isEmpty());
    t->setFiltered(false);
    EXPECT_EQ(t->recordCount(), 4);

    // A row that still matches keeps the cursor.
    t->first();
    t->next();
    t->edit();
    t->setValue(QStringLiteral("Nome"), QStringLiteral("x"));
    t->post();
    EXPECT_EQ(t->value(QStringLiteral("Cod")), QStringLiteral("2"));
}

TEST(Table, CursorAfterDeleteAndAfterNewFilterOrIndex)
{
    auto t = novaTabela();
    for (const char* c : {"3", "1", "2"})
        inclui(*t, "N", c);
    t->first();
    t->remove();
    EXPECT_EQ(t->value(QStringLiteral("Cod")), QStringLiteral("1")) << "delete moves to the next row";
    t->next();
    t->remove();
    EXPECT_TRUE(t->eof()) << "deleting the last row ends a walk";
    EXPECT_EQ(t->recordCount(), 1);

    inclui(*t, "N", "0");
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod"), store::ixPrimary);
    t->last();
    t->setIndexName(QStringLiteral("Primary"));
    EXPECT_EQ(t->value(QStringLiteral("Cod")), QStringLiteral("0")) << "a new index puts the cursor on the first row";
    t->last();
    t->setFilter(QStringLiteral("Status = 'N'"));
    t->setFiltered(true);
    EXPECT_EQ(t->value(QStringLiteral("Cod")), QStringLiteral("0")) << "a new filter puts the cursor on the first row";
}

TEST(Table, IndexesOrderRowsAndFindKeysOnLeadingColumns)
{
    auto t = novaTabela();
    inclui(*t, "N", "B", "2");
    inclui(*t, "N", "A", "9");
    inclui(*t, "D", "A", "1");
    inclui(*t, "N", "C", "5");
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod;Nome"), store::ixPrimary);
    t->addIndex(QStringLiteral("Desc"), QStringLiteral("cod"), store::ixDescending);
    EXPECT_THROW(t->addIndex(QStringLiteral("X"), QStringLiteral("Nada"), 0), TableError);
    EXPECT_THROW(t->setIndexName(QStringLiteral("Nenhum")), TableError);

    t->setIndexName(QStringLiteral("Primary"));
    EXPECT_EQ(codigos(*t), (QStringList{"A", "A", "B", "C"}));
    EXPECT_TRUE(t->findKey({QStringLiteral("A")}));
    EXPECT_EQ(t->value(QStringLiteral("Nome")), QStringLiteral("1")) << "the first of duplicate keys";
    EXPECT_TRUE(t->findKey({QStringLiteral("A"), QStringLiteral("9")}));
    EXPECT_EQ(t->value(QStringLiteral("Nome")), QStringLiteral("9"));
    EXPECT_FALSE(t->findKey({QStringLiteral("AB")}));
    EXPECT_FALSE(t->findKey({QStringLiteral("a")})) << "keys compare with case";

    t->setFilter(QStringLiteral("Status <> 'D'"));
    t->setFiltered(true);
    EXPECT_TRUE(t->findKey({QStringLiteral("A")}));
    EXPECT_EQ(t->value(QStringLiteral("Nome")), QStringLiteral("9")) << "hidden rows are not found";

    t->setIndexName(QStringLiteral("Desc"));
    EXPECT_EQ(codigos(*t), (QStringList{"C", "B", "A"}));
    EXPECT_TRUE(t->findKey({QStringLiteral("B")}));
    EXPECT_EQ(t->value(QStringLiteral("Nome")), QStringLiteral("2"));

    // Posting a changed key moves the row in every index.
    t->edit();
    t->setValue(QStringLiteral("Cod"), QStringLiteral("D"));
    t->post();
    EXPECT_EQ(codigos(*t), (QStringList{"D", "C", "A"}));
    t->setIndexName(QStringLiteral("Primary"));
    EXPECT_EQ(codigos(*t), (QStringList{"A", "C", "D"}));

    t->deleteIndex(QStringLiteral("Primary"));
    EXPECT_EQ(t->indexName(), QString());
    EXPECT_THROW(t->deleteIndex(QStringLiteral("Primary")), TableError);
    EXPECT_THROW(t->findKey({QStringLiteral("A")}), TableError);
}

TEST(Table, InsertPlacesTheRowBeforeTheCurrentOneInNaturalOrder)
{
    auto t = novaTabela();
    inclui(*t, "N", "1");
    inclui(*t, "N", "3");
    t->last();
    t->insert();
    t->setValue(QStringLiteral("Cod"), QStringLiteral("2"));
    t->post();
    EXPECT_EQ(codigos(*t), (QStringList{"1", "2", "3"}));
    // Many inserts at the same place exhaust the room between neighbours and renumber.
    for (int i = 0; i < 80; ++i) {
        t->first();
        t->next();
        t->insert();
        t->setValue(QStringLiteral("Cod"), QStringLiteral("x%1").arg(i));
        t->post();
    }
    const QStringList c = codigos(*t);
    ASSERT_EQ(c.size(), 83);
    EXPECT_EQ(c.first(), QStringLiteral("1"));
    EXPECT_EQ(c.at(1), QStringLiteral("x79"));
    EXPECT_EQ(c.at(80), QStringLiteral("x0"));
    EXPECT_EQ(c.last(), QStringLiteral("3"));
}

TEST(Table, BeforePostMayRewriteTheRow)
{
    auto t = novaTabela();
    t->beforePost = [](Table& r) { r.setValue(QStringLiteral("Nome"), r.value(QStringLiteral("Nome")).trimmed()); };
    inclui(*t, "I", "1", "  Ana  ");
    EXPECT_EQ(t->value(QStringLiteral("Nome")), QStringLiteral("Ana"));
}

TEST(Table, FileRoundTripKeepsEveryRowAndValue)
{
    QTemporaryDir dir;
    auto t = novaTabela();
    inclui(*t, "D", "2", "");
    inclui(*t, "N", "1", " ");
    inclui(*t, "F", " ", "NENHUM");
    t->edit();
    t->setValue(QStringLiteral("Obs"), QStringLiteral("linha 1\r\nlinha 2 \"aspas\" ção"));
    t->post();
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod"), 1);
    t->setIndexName(QStringLiteral("Primary"));
    t->setFilter(QStringLiteral("Status <> 'D'"));
    t->setFiltered(true);
    const QString path = dir.filePath(QStringLiteral("tbTeste.cof"));
    t->saveToFile(path);

    auto u = novaTabela();
    u->addIndex(QStringLiteral("Velho"), QStringLiteral("Nome"), 0);
    u->loadFromFile(path);
    EXPECT_TRUE(u->indexNames().isEmpty()) << "a table file holds no index";
    EXPECT_EQ(u->recordCount(), 3) << "rows of every status come back, D included";
    EXPECT_EQ(codigos(*u), (QStringList{"2", "1", " "})) << "natural order kept";
    u->first();
    EXPECT_EQ(u->value(QStringLiteral("Nome")), QString()) << "empty stays empty";
    u->next();
    EXPECT_EQ(u->value(QStringLiteral("Nome")), QStringLiteral(" ")) << "a blank stays a blank";
    u->next();
    EXPECT_EQ(u->value(QStringLiteral("Obs")), QStringLiteral("linha 1\r\nlinha 2 \"aspas\" ção"));

    // Column definitions come back too.
    Table vazia(QStringLiteral("tbTeste"), 7, {});
    vazia.loadFromFile(path);
    ASSERT_EQ(vazia.fieldCount(), 4);
    EXPECT_TRUE(vazia.field(1).required);
    EXPECT_EQ(vazia.field(2).size, 30);
    EXPECT_EQ(vazia.field(3).type, FieldType::Memo);
}

// A table file read back holds each repeated value once (names from a list, blanks, the same memo),
// yet every row reads its own value and a change to one row reaches no other.
TEST(Table, FileValuesThatRepeatReadBackAndStayApart)
{
    QTemporaryDir dir;
    auto t = novaTabela();
    const QString memo = QStringLiteral("linha 1\r\nlinha 2 \"aspas\" ção\\");
    const QStringList nomes{QStringLiteral("AÇÃO"), QStringLiteral(" "), QString(), QStringLiteral("Física")};
    for (int i = 0; i < 700; ++i) {
        inclui(*t, i % 3 ? "N" : "A", QByteArray::number(i).constData(), nomes[i % 4].toUtf8().constData());
        t->edit();
        t->setValue(QStringLiteral("Obs"), i % 2 ? memo : QStringLiteral("só %1").arg(i));
        t->post();
    }
    const QString path = dir.filePath(QStringLiteral("tbTeste.cof"));
    t->saveToFile(path);
    auto u = novaTabela();
    u->loadFromFile(path);
    ASSERT_EQ(u->totalRowCount(), 700);
    const auto linhas = u->visibleRows();
    for (int i = 0; i < 700; ++i) {
        const auto b = linhas[size_t(i)];
        ASSERT_EQ(u->rowValue(b, 0), QLatin1String(i % 3 ? "N" : "A")) << i;
        ASSERT_EQ(u->rowValue(b, 1), QString::number(i)) << i;
        ASSERT_EQ(u->rowValue(b, 2), nomes[i % 4]) << i;
        ASSERT_EQ(u->rowValue(b, 3), i % 2 ? memo : QStringLiteral("só %1").arg(i)) << i;
    }
    EXPECT_EQ(u->rowValue(linhas[1], 3), memo);

    u->first();
    u->edit();
    u->setValue(QStringLiteral("Nome"), QStringLiteral("OUTRO"));
    u->post();
    EXPECT_EQ(u->rowValue(linhas[0], 2), QStringLiteral("OUTRO"));
    EXPECT_EQ(u->rowValue(linhas[4], 2), QStringLiteral("AÇÃO"));
    EXPECT_EQ(u->rowValue(linhas[8], 2), QStringLiteral("AÇÃO"));

    // The memo, kept once for the rows that repeat it, outlives rows deleted and rows changed, and
    // comes back with them.
    const QByteArray lido = u->encodeFile();
    auto diario = u->startJournal();
    for (int i = 0; i < 300; ++i) {
        u->first();
        u->remove();
    }
    u->first();
    u->edit();
    u->setValue(QStringLiteral("Obs"), QStringLiteral("outro"));
    u->post();
    EXPECT_EQ(u->rowValue(linhas[301], 3), memo);
    EXPECT_EQ(u->rowValue(linhas[300], 3), QStringLiteral("outro"));
    u->rollBack(*diario);
    EXPECT_EQ(u->encodeFile(), lido);

    // Rows read from a file lie side by side in pieces of memory that they share: a copy of them
    // outlives the table, and lets its rows go one by one in any order.
    Table::FileContents copia = u->snapshot();
    diario.reset();
    u.reset();
    ASSERT_EQ(copia.rows.size(), 700u);
    std::vector<size_t> ordem(copia.rows.size());
    for (size_t i = 0; i < ordem.size(); ++i)
        ordem[i] = i;
    std::shuffle(ordem.begin(), ordem.end(), std::mt19937(5));
    for (size_t i : ordem) {
        const int n = int(i);
        ASSERT_EQ(copia.rows[i].texto(0), QLatin1String(n % 3 ? "N" : "A")) << n;
        ASSERT_EQ(copia.rows[i].texto(1), QString::number(n)) << n;
        ASSERT_EQ(copia.rows[i].texto(2), n == 0 ? QStringLiteral("OUTRO") : nomes[n % 4]) << n;
        ASSERT_EQ(copia.rows[i].texto(3), n % 2 ? memo : QStringLiteral("só %1").arg(n)) << n;
        copia.rows[i] = store::Celulas();
    }
    EXPECT_EQ(t->rowValue(t->naturalRows()[1], 3), memo);
}

TEST(Table, DamagedOrMissingFileIsRefusedAndTheTableKept)
{
    QTemporaryDir dir;
    auto t = novaTabela();
    inclui(*t, "N", "1");
    EXPECT_THROW(t->loadFromFile(dir.filePath(QStringLiteral("nada.cof"))), TableError);
    QFile f(dir.filePath(QStringLiteral("ruim.cof")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"formato\":\"rezozur-tabela\",\"versao\":1,\"colunas\":[{\"nome\":\"Status\"}],\"linhas\":[[\"N\",\"x\"]]}");
    f.close();
    EXPECT_THROW(t->loadFromFile(f.fileName()), TableError);
    EXPECT_EQ(t->recordCount(), 1);

    // A row holds exactly one value per column of the file: more, fewer or none is damage.
    for (const auto& [linhas, aceita] : {std::pair{"[[\"N\",\"7\"]]", true}, {"[[\"N\",\"7\",\"x\"]]", false},
                                         {"[[\"N\"]]", false}, {"[[]]", false}, {"[[\"N\",\"7\"],[\"N\"]]", false}}) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("{\"formato\":\"rezozur-tabela\",\"versao\":1,\"colunas\":[{\"nome\":\"Status\"},"
                           "{\"nome\":\"Cod\"}],\"linhas\":") + linhas + "}");
        f.close();
        auto u = novaTabela();
        if (aceita) {
            EXPECT_NO_THROW(u->loadFromFile(f.fileName())) << linhas;
            EXPECT_EQ(codigos(*u), QStringList{QStringLiteral("7")});
        } else {
            EXPECT_THROW(u->loadFromFile(f.fileName()), TableError) << linhas;
        }
    }
}

TEST(Table, DisabledControlsSignalOnceAtTheEnd)
{
    auto t = novaTabela();
    int sinais = 0;
    QObject::connect(t.get(), &Table::changed, [&] { ++sinais; });
    t->disableControls();
    for (int i = 0; i < 10; ++i)
        inclui(*t, "I", "1");
    EXPECT_EQ(sinais, 0);
    t->enableControls();
    EXPECT_EQ(sinais, 1);
}

TEST(Table, EditOnAnEmptyTableStartsANewRowAndNavigationPostsPendingEdits)
{
    auto t = novaTabela();
    t->edit();
    EXPECT_EQ(t->state(), Table::State::Insert);
    t->setValue(QStringLiteral("Cod"), QStringLiteral("1"));
    t->first();  // posts
    EXPECT_EQ(t->state(), Table::State::Browse);
    EXPECT_EQ(t->recordCount(), 1);
}

TEST(Table, AnIndexAcceptsEqualKeysAndAddingItAgainReplacesIt)
{
    auto t = novaTabela();
    inclui(*t, "D", "7", "velho");
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod"), store::ixPrimary);
    t->setIndexName(QStringLiteral("Primary"));
    inclui(*t, "I", "7", "novo");
    EXPECT_EQ(t->recordCount(), 2);
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Nome"), store::ixPrimary);
    EXPECT_EQ(t->indexName(), QStringLiteral("Primary"));
    EXPECT_EQ(codigos(*t).size(), 2);
    t->first();
    EXPECT_EQ(t->value(QStringLiteral("Nome")), QStringLiteral("novo")) << "ordered by the new columns";
}

TEST(Table, IndexOrderMatchesAReferenceSortForEveryShape)
{
    // Random keys with shared prefixes, accents and empty texts; the order must be QString's
    // case-sensitive order on the index columns, ties kept in natural order, whether the index is
    // built over existing rows or maintained row by row.
    std::srand(7);
    const QStringList pecas{QString(), QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("ação"),
                            QStringLiteral("abc"), QStringLiteral("abcdefghij"), QStringLiteral("abcdefghik"),
                            QStringLiteral(" "), QStringLiteral("Ω")};
    auto t = novaTabela();
    auto aleatorio = [&]() -> QString { return pecas[std::rand() % pecas.size()] + pecas[std::rand() % pecas.size()]; };
    // Texts of one byte per character after a long shared beginning, some ending inside it, some equal.
    const QStringList latinas{QString(), QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("abcdefgh"),
                              QStringLiteral("abcdefghi"), QStringLiteral("abcdefgI"), QStringLiteral("é"),
                              QStringLiteral("\x01"), QStringLiteral("ÿz")};
    auto latina = [&]() -> QString {
        const QString comum = QStringLiteral("Observação de número ");
        const QString t = comum + latinas[std::rand() % latinas.size()] + latinas[std::rand() % latinas.size()];
        return std::rand() % 10 == 0 ? comum.left(12 + std::rand() % (comum.size() - 12)) : t;
    };
    for (int i = 0; i < 600; ++i) {
        t->append();
        t->setValue(1, QString(QStringLiteral("k") + aleatorio()).left(10));
        t->setValue(2, aleatorio());
        t->setValue(3, latina());
        t->post();
    }
    const std::vector<std::pair<QString, int>> formas{{QStringLiteral("Cod"), 0},
                                                      {QStringLiteral("Nome;Cod"), 0},
                                                      {QStringLiteral("Cod;Nome"), store::ixDescending},
                                                      {QStringLiteral("Status;Cod;Nome;Obs"), 0},
                                                      {QStringLiteral("Obs;Cod"), 0},
                                                      {QStringLiteral("Obs"), store::ixDescending}};
    for (const auto& [colunas, opcao] : formas) {
        for (int fase = 0; fase < 2; ++fase) {
            t->addIndex(QStringLiteral("X"), colunas, opcao);
            t->setIndexName(QStringLiteral("X"));
            if (fase == 1) {
                // Change some keys through posts; the maintained order must stay right.
                for (int k = 0; k < 100; ++k) {
                    t->first();
                    for (int s = std::rand() % 50; s > 0; --s)
                        t->next();
                    t->edit();
                    t->setValue(2, aleatorio());
                    t->post();
                }
            }
            std::vector<int> cols;
            for (const QString& c : colunas.split(QLatin1Char(';')))
                cols.push_back(t->fieldIndex(c));
            std::vector<std::pair<std::vector<QString>, int>> esperado;
            t->setIndexName(QString());
            int pos = 0;
            for (t->first(); !t->eof(); t->next()) {
                std::vector<QString> k;
                for (int c : cols)
                    k.push_back(t->value(c));
                esperado.push_back({k, pos++});
            }
            std::stable_sort(esperado.begin(), esperado.end(), [&](const auto& a, const auto& b) {
                for (size_t i = 0; i < a.first.size(); ++i) {
                    const int r = QString::compare(a.first[i], b.first[i], Qt::CaseSensitive);
                    if (r != 0)
                        return (opcao & store::ixDescending) ? r > 0 : r < 0;
                }
                return false;
            });
            t->setIndexName(QStringLiteral("X"));
            size_t i = 0;
            for (t->first(); !t->eof(); t->next(), ++i) {
                ASSERT_LT(i, esperado.size());
                for (size_t c = 0; c < cols.size(); ++c)
                    ASSERT_EQ(t->value(cols[c]), esperado[i].first[c])
                        << colunas.toStdString() << " fase " << fase << " linha " << i;
            }
            EXPECT_EQ(i, esperado.size());
        }
    }
}

TEST(Table, TableFilesReadBackTextsOfEveryKindAndRefuseEveryCutVersion)
{
    QTemporaryDir dir;
    auto t = novaTabela();
    const QString raros = QStringLiteral("tab\there, nul-free \x01 ctrl, barra \\ e / , emoji ") + QString::fromUtf8("😀")
                          + QStringLiteral(" e ção \"entre aspas\"");
    inclui(*t, "N", "1", "");
    t->edit();
    t->setValue(QStringLiteral("Obs"), raros);
    t->post();
    inclui(*t, "I", "2", " ");
    const QString path = dir.filePath(QStringLiteral("t.cof"));
    t->saveToFile(path);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));

    auto u = novaTabela();
    u->loadFromFile(path);
    u->first();
    EXPECT_EQ(u->value(QStringLiteral("Obs")), raros);

    // Reformatted by a tool (indented, keys sorted, an extra key): still the same table.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll();
    f.close();
    QJsonObject o = QJsonDocument::fromJson(original).object();
    o.insert(QStringLiteral("comentario"), QJsonArray{1, true, QJsonValue::Null, QJsonObject{{"a", 2.5}}});
    const QString bonito = dir.filePath(QStringLiteral("bonito.cof"));
    QFile g(bonito);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write(QJsonDocument(o).toJson(QJsonDocument::Indented));
    g.close();
    auto v = novaTabela();
    v->loadFromFile(bonito);
    EXPECT_EQ(codigos(*v), (QStringList{"1", "2"}));
    v->first();
    EXPECT_EQ(v->value(QStringLiteral("Obs")), raros);

    // Every truncation is refused with the table left as it was.
    const QString cortado = dir.filePath(QStringLiteral("cortado.cof"));
    for (qsizetype n = 0; n < original.size() - 1; ++n) {
        QFile c(cortado);
        ASSERT_TRUE(c.open(QIODevice::WriteOnly | QIODevice::Truncate));
        c.write(original.left(n));
        c.close();
        EXPECT_THROW(v->loadFromFile(cortado), TableError) << n;
        ASSERT_EQ(v->totalRowCount(), 2) << n;
    }
}

TEST(Table, StepsFromTheCurrentRowStayRightThroughAnyMixOfChanges)
{
    // Random edits, deletions, insertions and index changes between steps: each step must land on the
    // row that follows in the visible order, however the table changed since the last one.
    std::srand(11);
    auto t = novaTabela();
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod"), store::ixPrimary);
    t->addIndex(QStringLiteral("Nome"), QStringLiteral("Nome"));
    t->setFilter(QStringLiteral("Status <> 'D'"));
    t->setFiltered(true);
    auto texto = [] { return QString::number(std::rand() % 40); };
    for (int i = 0; i < 60; ++i)
        inclui(*t, std::rand() % 4 ? "N" : "D", qPrintable(texto()), qPrintable(texto()));
    for (int passo = 0; passo < 3000; ++passo) {
        switch (std::rand() % 9) {
        case 0: t->setIndexName(std::rand() % 2 ? QStringLiteral("Primary") : QStringLiteral("Nome")); break;
        case 1:
            if (!t->isEmpty() && !t->eof()) {
                t->edit();
                t->setValue(std::rand() % 2 ? 1 : 2, texto());
                t->setValue(0, std::rand() % 4 ? QStringLiteral("N") : QStringLiteral("D"));
                t->post();
            }
            break;
        case 2:
            if (!t->isEmpty() && !t->eof())
                t->remove();
            break;
        case 3: inclui(*t, "N", qPrintable(texto()), qPrintable(texto())); break;
        case 4: t->addIndex(QStringLiteral("Nome"), std::rand() % 2 ? QStringLiteral("Nome") : QStringLiteral("Nome;Cod")); break;
        case 5: t->prior(); break;
        default: {
            const auto ordem = t->visibleRows();
            const Table::Bookmark atual = t->bookmark();
            t->next();
            const auto pos = std::find(ordem.begin(), ordem.end(), atual);
            if (atual == 0 || pos == ordem.end())
                break;  // the cursor rested on a row that the last change hid
            if (std::next(pos) == ordem.end()) {
                ASSERT_TRUE(t->eof()) << passo;
                ASSERT_EQ(t->bookmark(), atual) << passo;
            } else {
                ASSERT_EQ(t->bookmark(), *std::next(pos)) << passo;
            }
        }
        }
    }
    // The walk from the first row still visits exactly the visible rows, in order.
    std::vector<Table::Bookmark> andados;
    for (t->first(); !t->eof(); t->next())
        andados.push_back(t->bookmark());
    EXPECT_EQ(andados, t->visibleRows());
}

TEST(Table, TableFilesFromElsewhereAreRefusedWithoutHarm)
{
    QTemporaryDir dir;
    auto t = novaTabela();
    inclui(*t, "N", "1");
    const QString path = dir.filePath(QStringLiteral("t.cof"));
    const auto comCorpo = [&](const QByteArray& versao, const QByteArray& extra) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("{\"formato\":\"rezozur-tabela\"" + versao + extra
                + ",\"colunas\":[{\"nome\":\"Status\"},{\"nome\":\"Cod\"}],\"linhas\":[[\"N\",\"7\"]]}");
    };
    const auto le = [&] {
        auto u = novaTabela();
        u->loadFromFile(path);
        return codigos(*u);
    };

    comCorpo(",\"versao\":1", ",\"extra\":[[[{\"a\":[1,2]}]]]");
    EXPECT_EQ(le(), QStringList{QStringLiteral("7")}) << "an unknown key of modest depth is skipped";

    // Nesting deep enough to exhaust any stack is refused as damage, not followed.
    const int fundo = 200000;
    comCorpo(",\"versao\":1", ",\"extra\":" + QByteArray(fundo, '[') + QByteArray(fundo, ']'));
    EXPECT_THROW(le(), TableError);
    comCorpo(",\"versao\":1", ",\"extra\":" + QByteArray(fundo, '{').replace("{", "{\"k\":").append("1")
                                 + QByteArray(fundo, '}'));
    EXPECT_THROW(le(), TableError);

    // The version is an integer this program writes, and nothing else.
    // "5.5e64" once reached an int conversion out of range, found by fuzzing the table-file decoder.
    for (const char* v :
         {"1e308", "5.5e64", "99999999999999999999", "0", "-1", "2", "1.0", "01", "\"1\"", "true", "null"}) {
        comCorpo(",\"versao\":" + QByteArray(v), QByteArray());
        EXPECT_THROW(le(), TableError) << v;
    }
    comCorpo(QByteArray(), QByteArray());
    EXPECT_THROW(le(), TableError) << "no version";
    comCorpo(",\"versao\":1,\"versao\":1", QByteArray());
    EXPECT_THROW(le(), TableError) << "two versions";
    comCorpo(",\"versao\":1", ",\"linhas\":[]");
    EXPECT_THROW(le(), TableError) << "rows before columns, or twice";
    EXPECT_EQ(t->recordCount(), 1);

    // A link left under the temporary name is replaced, not written through.
    const QString alvo = dir.filePath(QStringLiteral("alheio.txt"));
    QFile a(alvo);
    ASSERT_TRUE(a.open(QIODevice::WriteOnly));
    a.write("intocado");
    a.close();
    ASSERT_TRUE(QFile::link(alvo, path + QStringLiteral(".tmp")));
    t->saveToFile(path);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), QByteArray("intocado"));
    EXPECT_EQ(le(), QStringList{QStringLiteral("1")});
}

TEST(Table, JournalsGiveBackEveryRowWithItsBookmarkWhateverChangedAndHoweverTheyNest)
{
    // Random posts, deletions, insertions (bursts of them before one row, which renumber the natural
    // order), emptying and installing, with up to four journals started at random moments and rolled
    // back or dropped in any order. Each rollback must give back the rows of its start with their
    // bookmarks, in the natural order and in every index's order, and leave the others still right.
    std::mt19937 sorte(23);
    auto acaso = [&sorte](int n) { return int(sorte() % unsigned(n)); };
    auto t = novaTabela();
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod"), store::ixPrimary);
    t->addIndex(QStringLiteral("NomeDesc"), QStringLiteral("Nome;Cod"), store::ixDescending);
    t->setFilter(QStringLiteral("Status <> 'D'"));
    t->setFiltered(true);
    auto texto = [&] { return QString::number(acaso(50)); };
    auto incluiAoAcaso = [&] {
        inclui(*t, acaso(4) ? "N" : "D", qPrintable(texto()), qPrintable(texto()));
    };
    for (int i = 0; i < 80; ++i)
        incluiAoAcaso();
    // Bookmark and values of every row, filter aside, in the natural order and in each index's order.
    auto estado = [&] {
        QStringList r;
        const QString indice = t->indexName();
        t->setFiltered(false);
        for (const QString& nome : {QString(), QStringLiteral("Primary"), QStringLiteral("NomeDesc")}) {
            t->setIndexName(nome);
            for (const Table::Bookmark b : t->visibleRows()) {
                QStringList v{QString::number(b)};
                for (int c = 0; c < t->fieldCount(); ++c)
                    v << t->rowValue(b, c);
                r << v.join(QLatin1Char('|'));
            }
            r << QStringLiteral("--");
        }
        t->setIndexName(indice);
        t->setFiltered(true);
        return r;
    };
    struct Aberto {
        std::unique_ptr<Table::Journal> diario;
        QStringList inicio;
    };
    std::vector<Aberto> abertos;
    int voltas = 0;
    int renumeracoes = 0;
    for (int passo = 0; passo < 4000; ++passo) {
        switch (acaso(14)) {
        case 0:
        case 1:
            if (!t->isEmpty() && !t->eof()) {
                t->edit();
                t->setValue(1 + acaso(2), texto());
                t->setValue(0, acaso(4) ? QStringLiteral("N") : QStringLiteral("D"));
                t->post();
            }
            break;
        case 2:
            if (!t->isEmpty() && !t->eof())
                t->remove();
            break;
        case 3: incluiAoAcaso(); break;
        case 4:
            if (!t->isEmpty() && !t->eof()) {
                // Before the current row, again and again: the numbers between two rows run out.
                const int n = acaso(8) == 0 ? 60 : 1;
                for (int k = 0; k < n; ++k) {
                    t->insert();
                    t->setValue(0, QStringLiteral("N"));
                    t->setValue(1, texto());
                    t->post();
                }
                renumeracoes += n > 1;
            }
            break;
        case 5:
            if (acaso(20) == 0)
                t->emptyTable();
            else if (acaso(20) == 0) {
                Table::FileContents c;
                c.fields = t->fields();
                c.rows = {{QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("x"), QString()}};
                t->install(std::move(c));
                t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod"), store::ixPrimary);
                t->addIndex(QStringLiteral("NomeDesc"), QStringLiteral("Nome;Cod"), store::ixDescending);
            }
            break;
        case 6: t->setIndexName(acaso(2) ? QStringLiteral("Primary") : QString()); break;
        case 7: t->next(); break;
        case 8:
        case 9:
            if (abertos.size() < 4)
                abertos.push_back({t->startJournal(), estado()});
            break;
        case 10:
        case 11:
            if (!abertos.empty()) {
                const size_t k = size_t(acaso(int(abertos.size())));
                t->rollBack(*abertos[k].diario);
                ASSERT_EQ(estado().join(QLatin1Char('\n')).toStdString(), abertos[k].inicio.join(QLatin1Char('\n')).toStdString()) << "step " << passo;
                ++voltas;
            }
            break;
        default:
            if (!abertos.empty())
                abertos.erase(abertos.begin() + acaso(int(abertos.size())));
        }
    }
    EXPECT_GT(voltas, 100);
    EXPECT_GT(renumeracoes, 5);
    // The cursor walks the rows the filter shows after a rollback, and new rows still go last.
    if (abertos.empty())
        abertos.push_back({t->startJournal(), estado()});
    incluiAoAcaso();
    t->rollBack(*abertos.back().diario);
    std::vector<Table::Bookmark> andados;
    for (t->first(); !t->eof(); t->next())
        andados.push_back(t->bookmark());
    EXPECT_EQ(andados, t->visibleRows());
    t->setIndexName(QString());
    inclui(*t, "N", "novo");
    EXPECT_EQ(t->naturalRows().back(), t->bookmark());
    EXPECT_EQ(t->value(QStringLiteral("Cod")), QStringLiteral("novo"));

    // A journal outlives its table with the rows of its start.
    auto diario = t->startJournal();
    QStringList antes;
    for (const Table::Bookmark b : t->naturalRows())
        antes << QString::number(b) + QLatin1Char('|') + t->rowValue(b, 1);
    t->setFiltered(false);
    t->first();
    t->remove();
    inclui(*t, "N", "depois");
    t.reset();
    EXPECT_EQ(diario->table(), nullptr);
    QStringList guardadas;
    for (const Table::Journal::Kept& k : diario->originalRows())
        guardadas << QString::number(k.id) + QLatin1Char('|') + k.values[1];
    EXPECT_EQ(guardadas, antes);
}

TEST(Table, AFilterOnAnIndexedValueShowsTheSameRowsInTheSameOrderAsAFullWalk)
{
    // A filter that pins a column some index leads with is answered from that index's stretch of the
    // value. The same filter written so that it pins nothing ("not (... <> ...)") walks every row.
    // Through random changes, both must show the same rows, in the same order, forwards and back,
    // whether the current order is the pinned index, another index or the natural order, and with
    // stretches shorter and longer than the few rows compared off the index.
    std::mt19937 sorte(5);
    auto acaso = [&sorte](int n) { return int(sorte() % unsigned(n)); };
    auto t = novaTabela();
    t->addIndex(QStringLiteral("Primary"), QStringLiteral("Cod"), store::ixPrimary);
    t->addIndex(QStringLiteral("Nome"), QStringLiteral("Nome;Status"), store::ixDescending);
    auto codigo = [&] { return QString::number(acaso(acaso(2) ? 3 : 200)); };
    for (int i = 0; i < 800; ++i)
        inclui(*t, acaso(4) ? "N" : "D", qPrintable(codigo()), qPrintable(QString::number(acaso(30))));
    struct Vista {
        std::vector<Table::Bookmark> frente, tras, linhas;
        int contagem = 0;
        bool vazia = false;
        bool operator==(const Vista&) const = default;
    };
    auto vista = [&](const QString& filtro) {
        const Table::Bookmark atual = t->bookmark();
        t->setFilter(filtro);
        Vista v;
        for (t->first(); !t->eof(); t->next())
            v.frente.push_back(t->bookmark());
        for (t->last(); !t->bof(); t->prior())
            v.tras.push_back(t->bookmark());
        v.linhas = t->visibleRows();
        v.contagem = t->recordCount();
        v.vazia = t->isEmpty();
        t->gotoBookmark(atual);
        return v;
    };
    t->setFiltered(true);
    int longas = 0, curtas = 0, vazias = 0;
    for (int passo = 0; passo < 300; ++passo) {
        const QString valor = codigo();
        const QString pelaChave = QStringLiteral("Status <> 'D' and (Cod = '%1')").arg(valor);
        const QString semChave = QStringLiteral("Status <> 'D' and not (Cod <> '%1')").arg(valor);
        const QString ordem = std::array<QString, 3>{QString(), QStringLiteral("Primary"), QStringLiteral("Nome")}[size_t(acaso(3))];
        t->setIndexName(ordem);
        const Vista a = vista(pelaChave);
        const Vista b = vista(semChave);
        ASSERT_TRUE(a == b) << "step " << passo << " order '" << qPrintable(ordem) << "' value " << qPrintable(valor);
        std::vector<Table::Bookmark> invertida(b.tras.rbegin(), b.tras.rend());
        ASSERT_EQ(b.frente, invertida);
        ASSERT_EQ(b.frente, b.linhas);
        ASSERT_EQ(b.contagem, int(b.linhas.size()));
        (b.linhas.size() > 64 ? longas : b.linhas.empty() ? vazias : curtas)++;

        // Changes under the pinned filter: a post that leaves the stretch, a deletion, an insertion.
        t->setFilter(pelaChave);
        t->first();
        for (int k = acaso(5); k > 0 && !t->eof(); --k)
            t->next();
        if (!t->eof()) {
            switch (acaso(3)) {
            case 0:
                t->edit();
                t->setValue(1, codigo());
                t->setValue(0, acaso(3) ? QStringLiteral("N") : QStringLiteral("D"));
                t->post();
                break;
            case 1: t->remove(); break;
            default:
                t->insert();
                t->setValue(0, QStringLiteral("N"));
                t->setValue(1, codigo());
                t->setValue(2, QString::number(acaso(30)));
                t->post();
            }
        }
    }
    EXPECT_GT(longas, 10);
    EXPECT_GT(curtas, 10);
    EXPECT_GT(vazias, 10);
}

TEST(Table, ValuesOfEveryFormReadBackExactlyThroughEditsDeletesFilesJournalsAndFilters)
{
    // Rows keep a value in one byte per character when it fits Latin-1 and in UTF-16 otherwise, side
    // by side in one block. Random values of both forms (accents, the top of Latin-1, Greek, a
    // surrogate pair, control characters), empty and null ones, long memos, posted, edited in part,
    // cancelled, deleted, rolled back and written to a file must read back as written (null stays
    // null in memory), and filters and key order must compare them as QString does, whatever form
    // each side is in.
    std::mt19937 sorte(31);
    auto acaso = [&sorte](int n) { return int(sorte() % unsigned(n)); };
    const QStringList pecas{QString(), QStringLiteral(""), QStringLiteral("a"), QStringLiteral("ação"),
                            QStringLiteral("ÿ"), QStringLiteral("\x01\t\""), QStringLiteral("Ω"),
                            QStringLiteral("Āa"), QString::fromUtf8("\xf0\x9f\x98\x80"), QStringLiteral("é\\")};
    auto valor = [&](int maximo) {
        QString v = pecas[acaso(int(pecas.size()))];
        for (int k = acaso(4); k > 0; --k)
            v += pecas[acaso(int(pecas.size()))];
        if (maximo > 0)
            v.truncate(maximo);
        if (!v.isEmpty() && v.back().isHighSurrogate())
            v.chop(1);  // half a pair has no UTF-8 form, so a file could not give it back
        return v;
    };
    auto memo = [&] {
        if (acaso(5))
            return valor(0);
        QString v = QString(300 + acaso(2000), QLatin1Char('m')) + valor(0);
        return acaso(2) ? v + QStringLiteral("Ω") : v;
    };
    auto t = novaTabela();
    t->addIndex(QStringLiteral("Nome"), QStringLiteral("Nome;Cod"));
    t->addIndex(QStringLiteral("Obs"), QStringLiteral("Obs"), store::ixDescending);
    std::map<Table::Bookmark, std::vector<QString>> esperado;
    auto confere = [&](Table& u, const char* onde, bool nulos) { ConfereValores(u, esperado, onde, nulos); };
    auto journal = t->startJournal();
    std::map<Table::Bookmark, std::vector<QString>> noInicio;
    for (int passo = 0; passo < 1500; ++passo) {
        const int o = acaso(10);
        if (o < 5 || t->isEmpty()) {
            t->append();
        } else {
            t->setIndexName(QString());
            t->first();
            for (int s = acaso(std::min(40, t->recordCount())); s > 0; --s)
                t->next();
            if (o == 5) {
                esperado.erase(t->bookmark());
                t->remove();
                continue;
            }
            t->edit();
        }
        // A new row leaves some columns unset (null). An edit sets some columns only, now and then to
        // the value they hold; the others read from the row, and nothing reaches the row before the post.
        const bool novo = t->state() == Table::State::Insert;
        const Table::Bookmark b = t->bookmark();
        const std::vector<QString> antes = novo ? std::vector<QString>(4) : esperado[b];
        std::vector<QString> v{valor(1), QString::number(passo) + valor(5), valor(30), memo()};
        bool igual = !novo;
        for (size_t c = 0; c < 4; ++c) {
            if (novo ? c != 1 && acaso(4) == 0 : acaso(2) == 0) {
                v[c] = antes[c];
                continue;
            }
            if (!novo && acaso(4) == 0)
                v[c] = antes[c];
            t->setValue(int(c), v[c]);
            igual = igual && v[c] == antes[c] && v[c].isNull() == antes[c].isNull();
        }
        for (int c = 0; c < 4; ++c) {
            ASSERT_EQ(t->value(c), v[size_t(c)]) << passo;
            ASSERT_EQ(t->value(c).isNull(), v[size_t(c)].isNull()) << passo;
            ASSERT_TRUE(t->valueIs(c, v[size_t(c)]) && !t->valueIs(c, QString(v[size_t(c)] + QLatin1Char('x')))) << passo;
            if (!novo) {
                ASSERT_EQ(t->rowValue(b, c), antes[size_t(c)]) << passo;
            }
        }
        if (!novo && passo != 700 && acaso(10) == 0) {
            t->cancel();
            for (int c = 0; c < 4; ++c)
                ASSERT_TRUE(t->value(c) == antes[size_t(c)] && t->value(c).isNull() == antes[size_t(c)].isNull());
            continue;
        }
        // A post that changes nothing keeps the row's block, shared with any copy taken before.
        const Table::FileContents copia = novo ? Table::FileContents{} : t->snapshot();
        t->post();
        esperado[t->bookmark()] = v;
        if (!novo) {
            const std::vector<Table::Bookmark> natural = t->naturalRows();
            const size_t i = size_t(std::find(natural.begin(), natural.end(), b) - natural.begin());
            ASSERT_EQ(t->snapshot().rows.at(i).mesmoBloco(copia.rows.at(i)), igual) << passo;
        }
        if (passo == 700)
            noInicio = esperado, journal = t->startJournal();
    }
    confere(*t, "posted", true);

    // Key order: QString's order of the values, across both forms.
    for (const auto& [indice, coluna, desc] : {std::tuple{QStringLiteral("Nome"), 2, false}, std::tuple{QStringLiteral("Obs"), 3, true}}) {
        t->setIndexName(indice);
        QString antes;
        bool primeiro = true;
        for (t->first(); !t->eof(); t->next(), primeiro = false) {
            const QString agora = t->value(coluna);
            if (!primeiro) {
                const int r = QString::compare(antes, agora, Qt::CaseSensitive);
                ASSERT_TRUE(desc ? r >= 0 : r <= 0) << indice.toStdString() << ": " << antes.toStdString() << " / " << agora.toStdString();
            }
            antes = agora;
        }
    }
    t->setIndexName(QString());

    // Filters compare as QString does.
    for (const QString& literal : {QStringLiteral("a"), QStringLiteral("ação"), QStringLiteral("Ω"), QStringLiteral("ÿ"), QString()}) {
        for (const char* op : {"=", "<", ">="}) {
            t->setFilter(QStringLiteral("Nome %1 '%2'").arg(QLatin1String(op), literal));
            t->setFiltered(true);
            int n = 0;
            for (const auto& [b, v] : esperado) {
                const int r = QString::compare(v[2], literal, Qt::CaseSensitive);
                const bool admite = op[0] == '=' ? r == 0 : op[0] == '<' ? r < 0 : r >= 0;
                ASSERT_EQ(t->rowMatchesFilter(b), admite) << op << " " << literal.toStdString() << " / " << v[2].toStdString();
                n += admite;
            }
            EXPECT_EQ(t->recordCount(), n);
        }
    }
    t->setFiltered(false);

    // A file gives every value back (null ones as empty texts), and so does a copy of the rows.
    ASSERT_NO_FATAL_FAILURE(ConfereIdaEVoltaPorArquivo(*t));
    EXPECT_EQ(Table::encodeContents(t->name(), t->snapshot()), t->encodeFile());

    // Rolling back gives back the values of the journal's start, null ones included.
    const std::vector<Table::Journal::Kept> guardadas = journal->originalRows();
    ASSERT_EQ(guardadas.size(), noInicio.size());
    for (const Table::Journal::Kept& k : guardadas)
        for (int c = 0; c < 4; ++c) {
            ASSERT_EQ(k.values[size_t(c)], noInicio[k.id][size_t(c)]);
            ASSERT_EQ(k.values[size_t(c)].isNull(), noInicio[k.id][size_t(c)].isNull());
        }
    t->rollBack(*journal);
    esperado = noInicio;
    confere(*t, "rolled back", true);
}

TEST(Table, IndexesKeepTheirOrderThroughRandomChangesLargeEnoughToSplitAndJoinBlocks)
{
    // Each order (the natural one, an ascending key and a descending key on two columns) must equal a
    // plain sort of the rows by key, equal keys in the natural order, through appends, insertions in
    // the middle of the natural order, edits of key columns and deletions, over enough rows, with
    // enough equal keys and enough deletions in a row, that the order's blocks split and join. Walks
    // both ways, the rows around the cursor after each change, key searches and a filter pinned to a
    // key must all agree with that sort.
    std::mt19937 sorte(77);
    auto acaso = [&sorte](int n) { return int(sorte() % unsigned(n)); };
    auto t = novaTabela();
    t->addIndex(QStringLiteral("Cod"), QStringLiteral("Cod"));
    t->addIndex(QStringLiteral("NomeCod"), QStringLiteral("Nome;Cod"), store::ixDescending);
    std::map<Table::Bookmark, std::pair<QString, QString>> valores;  // Cod, Nome
    std::vector<Table::Bookmark> natural;
    int distintos = 40;
    auto cod = [&] { return QString::number(acaso(distintos)); };
    auto nome = [&] { return QString(QLatin1Char(char('a' + acaso(4)))); };
    const QStringList ordens{QString(), QStringLiteral("Cod"), QStringLiteral("NomeCod")};
    auto esperada = [&](const QString& ordem) {
        struct Linha {
            const QString* cod;
            const QString* nome;
            size_t lugar;
            Table::Bookmark b;
        };
        std::vector<Linha> linhas;
        for (size_t i = 0; i < natural.size(); ++i) {
            const auto& v = valores.at(natural[i]);
            linhas.push_back({&v.first, &v.second, i, natural[i]});
        }
        std::sort(linhas.begin(), linhas.end(), [&](const Linha& a, const Linha& b) {
            int c = 0;
            if (ordem == QLatin1String("Cod"))
                c = QString::compare(*a.cod, *b.cod);
            else if (ordem == QLatin1String("NomeCod"))
                c = -(QString::compare(*a.nome, *b.nome) != 0 ? QString::compare(*a.nome, *b.nome) : QString::compare(*a.cod, *b.cod));
            return c != 0 ? c < 0 : a.lugar < b.lugar;
        });
        std::vector<Table::Bookmark> r;
        for (const Linha& l : linhas)
            r.push_back(l.b);
        return r;
    };
    auto confere = [&](int passo) {
        const Table::Bookmark atual = t->bookmark();
        const QString indice = t->indexName();
        for (const QString& ordem : ordens) {
            t->setIndexName(ordem);
            const std::vector<Table::Bookmark> e = esperada(ordem);
            std::vector<Table::Bookmark> frente, tras;
            for (t->first(); !t->eof(); t->next())
                frente.push_back(t->bookmark());
            for (t->last(); !t->bof(); t->prior())
                tras.push_back(t->bookmark());
            std::reverse(tras.begin(), tras.end());
            ASSERT_EQ(frente, e) << "step " << passo << " order '" << qPrintable(ordem) << "'";
            ASSERT_EQ(tras, e) << "step " << passo << " order '" << qPrintable(ordem) << "'";
            ASSERT_EQ(t->visibleRows(), e) << "step " << passo;
            if (ordem.isEmpty())
                continue;
            // The first row of a key, or none; a value between keys finds nothing.
            for (const QString& chave : QStringList{cod(), cod() + QLatin1Char('x'), nome()}) {
                const bool porCod = ordem == QLatin1String("Cod");
                if (!porCod && chave.size() > 1)
                    continue;
                const auto achado = std::find_if(e.begin(), e.end(), [&](Table::Bookmark b) {
                    return (porCod ? valores[b].first : valores[b].second) == chave;
                });
                const bool achou = t->findKey({chave});
                ASSERT_EQ(achou, achado != e.end()) << "step " << passo << " key " << qPrintable(chave);
                if (achou) {
                    ASSERT_EQ(t->bookmark(), *achado) << "step " << passo << " key " << qPrintable(chave);
                }
            }
        }
        // A filter pinned to a key: the key's stretch, in the current order.
        const QString chave = cod();
        t->setIndexName(ordens[acaso(3)]);
        t->setFilter(QStringLiteral("Cod = '%1'").arg(chave));
        t->setFiltered(true);
        std::vector<Table::Bookmark> e = esperada(t->indexName());
        e.erase(std::remove_if(e.begin(), e.end(), [&](Table::Bookmark b) { return valores[b].first != chave; }), e.end());
        ASSERT_EQ(t->visibleRows(), e) << "step " << passo << " key " << qPrintable(chave);
        ASSERT_EQ(t->recordCount(), int(e.size()));
        t->setFiltered(false);
        t->setIndexName(indice);
        if (atual)
            t->gotoBookmark(atual);
    };
    // After a change the cursor's neighbours must be the sort's.
    auto vizinhos = [&](int passo) {
        const Table::Bookmark b = t->bookmark();
        if (!b)
            return;
        const std::vector<Table::Bookmark> e = esperada(t->indexName());
        const auto i = std::find(e.begin(), e.end(), b);
        ASSERT_NE(i, e.end()) << "step " << passo;
        t->next();
        ASSERT_EQ(t->eof() ? Table::Bookmark(0) : t->bookmark(), i + 1 == e.end() ? 0 : *(i + 1)) << "step " << passo;
        t->gotoBookmark(b);
        t->prior();
        ASSERT_EQ(t->bof() ? Table::Bookmark(0) : t->bookmark(), i == e.begin() ? 0 : *(i - 1)) << "step " << passo;
        t->gotoBookmark(b);
    };
    auto vaiAAlguma = [&] {
        t->setIndexName(ordens[acaso(3)]);
        auto it = valores.begin();
        std::advance(it, acaso(int(valores.size())));
        ASSERT_TRUE(t->gotoBookmark(it->first));
    };
    // Grows to about 2,300 rows with long runs of equal keys, shrinks to about 200, grows again.
    struct Fase {
        int passos, inclusoes, edicoes;  // in a hundred; the rest are deletions
    };
    int passo = 0;
    for (const auto& [passos, crescimento, edicoes] : {Fase{3000, 85, 10}, Fase{2400, 2, 8}, Fase{1200, 60, 25}}) {
        for (int k = 0; k < passos; ++k, ++passo) {
            const int o = acaso(100);
            if (valores.empty() || o < crescimento) {
                const bool antes = !valores.empty() && acaso(2);
                Table::Bookmark ancora = 0;
                if (antes) {
                    vaiAAlguma();
                    ancora = t->bookmark();
                    t->insert();
                } else {
                    t->setIndexName(ordens[acaso(3)]);
                    t->append();
                }
                const QString c = cod(), n = nome();
                t->setValue(1, c);
                t->setValue(2, n);
                t->post();
                valores[t->bookmark()] = {c, n};
                natural.insert(antes ? std::find(natural.begin(), natural.end(), ancora) : natural.end(), t->bookmark());
            } else if (o < crescimento + edicoes) {
                vaiAAlguma();
                const Table::Bookmark b = t->bookmark();
                t->edit();
                if (acaso(3))
                    t->setValue(1, cod());
                if (acaso(2))
                    t->setValue(2, nome());
                t->post();
                valores[b] = {t->value(1), t->value(2)};
                ASSERT_EQ(t->bookmark(), b);
            } else {
                vaiAAlguma();
                const Table::Bookmark b = t->bookmark();
                t->remove();
                valores.erase(b);
                natural.erase(std::find(natural.begin(), natural.end(), b));
            }
            if (passo % 8 == 0) {
                ASSERT_NO_FATAL_FAILURE(vizinhos(passo));
            }
            if (passo % 500 == 0 || k + 1 == passos) {
                ASSERT_NO_FATAL_FAILURE(confere(passo));
            }
        }
        distintos = distintos == 40 ? 7 : 40;
    }
    EXPECT_GT(valores.size(), 400u);
}

TEST(Table, RowsWhoseValuesTakeAboutSixteenKibibytesKeepEveryValueItsLengthAndItsNullness)
{
    // A block notes where each value ends in two bytes while its values take under 16 KiB in all, in
    // four beyond. Rows made just below, at and just above that size (one or two bytes per character,
    // so a value placed after an odd length moves by one), with null and empty values beside them,
    // must read back the same whichever way the block was made: from texts, by an edit that keeps
    // the other values as they lie (so a block of one form is copied into the other), from a file
    // (where a longer value that repeats is kept once and the row holds only its place), and by a
    // rollback. Keys, filters and the comparison of whole blocks must see the same lengths.
    constexpr int Limite = 16 * 1024;
    std::mt19937 sorte(16);
    auto acaso = [&sorte](int n) { return int(sorte() % unsigned(n)); };
    auto largo = [](const QString& s) {
        return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() > 0xff; });
    };
    // The bytes the values take side by side: a value in two-byte units starts at an even place.
    auto ocupa = [&](const std::vector<QString>& v) {
        int pos = 0;
        for (const QString& s : v)
            pos = largo(s) ? ((pos + 1) & ~1) + 2 * int(s.size()) : pos + int(s.size());
        return pos;
    };
    const QStringList curtos{QString(), QStringLiteral(""), QStringLiteral("A"), QStringLiteral("Ω")};
    const QStringList nomes{QString(), QStringLiteral(""), QStringLiteral("x"), QStringLiteral("Ação"),
                            QStringLiteral("ΩΩΩ"), QStringLiteral("nome que se repete"), QStringLiteral("Ωnome que se repete")};
    std::map<int, int> vistos;  // size of the values around the limit, and whether the memo was wide
    auto linha = [&](int numero) {
        std::vector<QString> v{curtos[acaso(4)], QString::number(numero), nomes[acaso(int(nomes.size()))], QString()};
        const bool memoLargo = acaso(2) == 0;
        const int alvo = Limite + (acaso(4) ? acaso(9) - 4 : acaso(81) - 40);
        const int antes = ocupa({v[0], v[1], v[2]});
        const int n = memoLargo ? (alvo - ((antes + 1) & ~1)) / 2 : alvo - antes;
        v[3] = memoLargo ? QStringLiteral("Ω") + QString(n - 1, QLatin1Char('m')) : QString(n, QLatin1Char('m'));
        if (!memoLargo && acaso(2))
            v[3][n - 1] = QChar(0xff);  // the top of one-byte characters
        const int total = ocupa(v);
        if (std::abs(total - Limite) <= 2)
            ++vistos[2 * (total - Limite) + (memoLargo ? 1 : 0)];
        return v;
    };

    // The packed values themselves: each read back as given, equal blocks equal, blocks that differ in
    // one length or one null-ness different, resized and partly replaced blocks right.
    for (int k = 0; k < 400; ++k) {
        const std::vector<QString> v = linha(k);
        const store::Celulas c(v);
        ASSERT_EQ(c.size(), v.size());
        for (size_t i = 0; i < v.size(); ++i) {
            ASSERT_EQ(c.texto(i), v[i]) << k << " " << i;
            ASSERT_EQ(c.texto(i).isNull(), v[i].isNull()) << k << " " << i;
            ASSERT_TRUE(store::Celulas::iguais(c.vista(i), v[i])) << k << " " << i;
        }
        ASSERT_TRUE(c.texto(v.size()).isNull());
        ASSERT_TRUE(c.mesmas(store::Celulas(v)));
        std::vector<QString> outro = v;
        const size_t mexe = size_t(acaso(4));
        outro[mexe] = acaso(2) ? outro[mexe] + QLatin1Char('m') : (outro[mexe].isNull() ? QStringLiteral("") : QString());
        ASSERT_FALSE(c.mesmas(store::Celulas(outro))) << k;
        const std::array<char, 4> postos{0, 0, 0, 0};
        std::array<char, 4> muda = postos;
        muda[mexe] = 1;
        const store::Celulas mudado = c.comMudancas(outro.data(), muda.data(), outro.size());
        ASSERT_TRUE(mudado.mesmas(store::Celulas(outro))) << k;
        ASSERT_TRUE(c.comMudancas(v.data(), postos.data(), v.size()).mesmas(c)) << k;
        const store::Celulas menor = c.comTamanho(3);
        const store::Celulas maior = c.comTamanho(5);
        for (size_t i = 0; i < 5; ++i) {
            ASSERT_EQ(menor.texto(i), i < 3 ? v[i] : QString()) << k;
            ASSERT_EQ(maior.texto(i), i < 4 ? v[i] : QString()) << k;
            ASSERT_EQ(maior.texto(i).isNull(), i < 4 ? v[i].isNull() : true) << k;
        }
    }

    // A table: posts, edits of one column, a file, a rollback.
    auto t = novaTabela();
    t->addIndex(QStringLiteral("Obs"), QStringLiteral("Obs"));
    t->addIndex(QStringLiteral("NomeObs"), QStringLiteral("Nome;Obs"), store::ixDescending);
    std::map<Table::Bookmark, std::vector<QString>> esperado;
    auto confere = [&](Table& u, const char* onde, bool nulos) { ConfereValores(u, esperado, onde, nulos); };
    for (int k = 0; k < 300; ++k) {
        const std::vector<QString> v = linha(1000 + k);
        t->append();
        for (int c = 0; c < 4; ++c)
            if (!v[size_t(c)].isNull())
                t->setValue(c, v[size_t(c)]);
        t->post();
        esperado[t->bookmark()] = v;
    }
    confere(*t, "posted", true);
    auto diario = t->startJournal();
    const auto noInicio = esperado;
    t->setIndexName(QString());
    for (int k = 0; k < 200; ++k) {
        t->first();
        for (int s = acaso(40); s > 0; --s)
            t->next();
        const Table::Bookmark b = t->bookmark();
        std::vector<QString>& v = esperado[b];
        const int c = acaso(4);
        if (c == 1) {
            t->remove();
            esperado.erase(b);
            continue;
        }
        // One value changes by a character or two: the others are copied from the row as they lie.
        QString novo = c == 3 ? v[3].left(v[3].size() - 1 - acaso(2)) 
                                 : c == 0 ? curtos[acaso(4)] : nomes[acaso(int(nomes.size()))] + curtos[acaso(4)];
        if (c == 3 && acaso(2))
            novo += acaso(2) ? QStringLiteral("mm") : QStringLiteral("Ω");
        t->edit();
        t->setValue(c, novo);
        ASSERT_TRUE(t->valueIs(c, novo) && !t->valueIs(c, QString(novo + QLatin1Char('m')))) << k;
        t->post();
        v[size_t(c)] = novo;
    }
    confere(*t, "edited", true);

    // Key order and filters compare the whole of each value.
    t->setIndexName(QStringLiteral("Obs"));
    QString anterior;
    for (t->first(); !t->eof(); t->next()) {
        ASSERT_LE(QString::compare(anterior, t->value(3), Qt::CaseSensitive), 0);
        anterior = t->value(3);
    }
    const QString meio = esperado.begin()->second[3];
    t->setFilter(QStringLiteral("Obs = '%1'").arg(meio));
    t->setFiltered(true);
    int iguais = 0;
    for (const auto& [b, v] : esperado) {
        ASSERT_EQ(t->rowMatchesFilter(b), v[3] == meio);
        iguais += v[3] == meio;
    }
    EXPECT_EQ(t->recordCount(), iguais);
    t->setFiltered(false);
    t->setIndexName(QString());

    ASSERT_NO_FATAL_FAILURE(ConfereIdaEVoltaPorArquivo(*t));

    t->rollBack(*diario);
    esperado = noInicio;
    confere(*t, "rolled back", true);

    // Every size next to the limit was made, with a memo of each width where the size allows it.
    for (int d : {-2, -1, 0, 1, 2})
        EXPECT_GT(vistos[2 * d], 0) << d;
    for (int d : {-2, 0, 2})
        EXPECT_GT(vistos[2 * d + 1], 0) << d;
}
