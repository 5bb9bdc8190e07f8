#include "net/TextoTabela.h"

#include "PeerHttp.h"
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/Transporte.h"
#include "store/Table.h"

#include "ImprimeQt.h"

#include <gtest/gtest.h>

using net::CopiaTrecho;
using net::ProcuraTexto;

namespace {

store::FieldDef campo(const char* nome, bool obrigatorio = false)
{
    store::FieldDef f;
    f.name = QString::fromLatin1(nome);
    f.size = 255;
    f.required = obrigatorio;
    return f;
}

// Slot 10 carries three columns (Status and two more); the fourth column is local only.
std::unique_ptr<store::Table> tabelaComSlot()
{
    auto t = std::make_unique<store::Table>(QStringLiteral("tbEstudosAreaConhec"), 10,
                                            std::vector<store::FieldDef>{campo("Status"), campo("Cod_Estudo", true),
                                                                         campo("DescricaoAreaConhec"), campo("Local")});
    t->open();
    return t;
}

std::unique_ptr<store::Table> tabelaSemSlot()
{
    auto t = std::make_unique<store::Table>(QStringLiteral("tbProjetos"), -1,
                                            std::vector<store::FieldDef>{campo("Cod_Proj"), campo("Titulo"),
                                                                         campo("Num_Contratacao")});
    t->open();
    return t;
}

QList<QStringList> linhas(store::Table& t)
{
    QList<QStringList> r;
    for (store::Table::Bookmark b : t.visibleRows()) {
        QStringList l;
        for (int i = 0; i < t.fieldCount(); ++i)
            l << t.rowValue(b, i);
        r << l;
    }
    return r;
}

QStringList L(std::initializer_list<const char*> v)
{
    QStringList r;
    for (const char* s : v)
        r << QString::fromUtf8(s);
    return r;
}

} // namespace

TEST(ProcuraTexto, ResultadoEAlcance)
{
    const QByteArray t = QByteArrayLiteral("ab|cd<FimTab>x");
    const int last = int(t.size());
    EXPECT_EQ(ProcuraTexto(0, "|", t, last), 2 + 2);
    EXPECT_EQ(ProcuraTexto(0, "<FimTab>", t, last), 5 + 8 + 1);
    EXPECT_EQ(ProcuraTexto(3, "|", t, last), -1);
    EXPECT_EQ(ProcuraTexto(0, "zz", t, last), -1);
    // A match must end before `last`.
    EXPECT_EQ(ProcuraTexto(0, "x", t, last - 1), -1);
    EXPECT_EQ(ProcuraTexto(0, "x", t, last), 13 + 2);
    // A `last` beyond the text never reads past it.
    EXPECT_EQ(ProcuraTexto(0, "x!", t, 141071), -1);
    EXPECT_EQ(ProcuraTexto(-5, "a", t, last), 2);
}

TEST(CopiaTrecho, IntervaloFechado)
{
    const QByteArray t("Jo\xE3o|x");
    EXPECT_EQ(CopiaTrecho(0, 3, t), QStringLiteral("João"));
    EXPECT_EQ(CopiaTrecho(5, 5, t), QStringLiteral("x"));
    EXPECT_EQ(CopiaTrecho(4, 3, t), QString());
    EXPECT_EQ(CopiaTrecho(5, 99, t), QStringLiteral("x"));
}

TEST(CreateTable, CasosDoQuadro)
{
    app::InteracaoRoteirizada ui;
    {
        auto t = tabelaComSlot();
        EXPECT_EQ(net::CreateTable("<InitTab>\n<FimTab>", *t), 0);
        EXPECT_EQ(t->totalRowCount(), 0);
    }
    {
        auto t = tabelaComSlot();
        EXPECT_EQ(net::CreateTable("cabe\xE7" "alho<InitTab>\nA|B\nC|D|\n<FimTab>resto|x\n", *t), 2);
        EXPECT_EQ(linhas(*t), (QList<QStringList>{L({"N", "A", "B", ""}), L({"N", "C", "D", ""})}));
    }
    {
        // An empty middle field; a short row; a row with more fields than the slot carries.
        auto t = tabelaComSlot();
        net::CreateTable("<InitTab>\nX||Z\nY\nP|Q|R|S\n<FimTab>", *t);
        EXPECT_EQ(linhas(*t), (QList<QStringList>{L({"N", "X", "", ""}), L({"N", "Y", "", ""}), L({"N", "P", "Q", ""})}));
    }
    {
        // A carriage return has no meaning: it stays in the last field. Bytes are Windows-1252.
        auto t = tabelaComSlot();
        net::CreateTable("<InitTab>\n1|Sa\xFA" "de\r\n<FimTab>", *t);
        EXPECT_EQ(linhas(*t), QList<QStringList>{L({"N", "1", "Saúde\r", ""})});
    }
    EXPECT_TRUE(ui.mensagens.isEmpty());
}

TEST(CreateTable, SemMarcasNadaCarrega)
{
    app::InteracaoRoteirizada ui;
    auto t = tabelaComSlot();
    EXPECT_EQ(net::CreateTable("A|B\nC|D\n<FimTab>", *t), 0);
    EXPECT_EQ(net::CreateTable("<InitTab>\nA|B\nC|D\n", *t), 0);
    EXPECT_EQ(net::CreateTable("", *t), 0);
    // The end marker must follow the start marker.
    EXPECT_EQ(net::CreateTable("<FimTab><InitTab>\nA|B\n", *t), 0);
    EXPECT_EQ(t->totalRowCount(), 0);

    // An earlier, longer reply leaves nothing behind for the next one.
    net::DefineResposta("<InitTab>\nA|B\nC|D\n<FimTab>");
    net::DefineResposta("<InitTab>\nE|F\n");
    EXPECT_EQ(net::CreateTable(net::Resposta(), *t), 0);
}

TEST(CreateTable, TabelaSemSlotRecebeDesdeAColunaZero)
{
    app::InteracaoRoteirizada ui;
    auto t = tabelaSemSlot();
    net::CreateTable("<InitTab>\n10|Projeto A|123|\n11|Projeto B\n12\n13|T|N|sobra\n<FimTab>", *t);
    EXPECT_EQ(linhas(*t), (QList<QStringList>{L({"10", "Projeto A", "123"}), L({"11", "Projeto B", ""}),
                                              L({"12", "", ""}), L({"13", "T", "N"})}));
}

TEST(CreateTable, LinhaRecusadaCaiAsOutrasFicam)
{
    app::InteracaoRoteirizada ui;
    auto t = tabelaComSlot();
    // The second row leaves the required code empty.
    EXPECT_EQ(net::CreateTable("<InitTab>\nA|1\n|2\nC|3\n<FimTab>", *t), 2);
    EXPECT_EQ(linhas(*t), (QList<QStringList>{L({"N", "A", "1", ""}), L({"N", "C", "3", ""})}));
    ASSERT_EQ(ui.mensagens.size(), 1);
    EXPECT_EQ(ui.mensagens[0].texto, QStringLiteral("Incompatibilidade detectada."));
    EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Erro);
    EXPECT_EQ(t->state(), store::Table::State::Browse);
}

TEST(CreateTable, QuadroMalFormadoNaoPassaDoFim)
{
    app::InteracaoRoteirizada ui;
    auto t = tabelaComSlot();
    // The last row lacks its line feed: it ends where the table ends, and what follows the end
    // marker is never read.
    net::CreateTable("<InitTab>\nA|B\nC|D<FimTab>\nE|F\n", *t);
    EXPECT_EQ(linhas(*t), (QList<QStringList>{L({"N", "A", "B", ""}), L({"N", "C", "D", ""})}));
}

TEST(LeitorQuadro, UltimaLinhaVaziaSoNoCarregador)
{
    const QByteArray texto = QByteArrayLiteral("<InitTab>\nA|B\n\n<FimTab>");
    int inclusivo = 0, exclusivo = 0;
    net::LeitorQuadro a(texto, true);
    while (a.proximaLinha())
        ++inclusivo;
    net::LeitorQuadro b(texto, false);
    while (b.proximaLinha())
        ++exclusivo;
    EXPECT_EQ(inclusivo, 2);
    EXPECT_EQ(exclusivo, 1);
}

// Values that repeat down a column are held once; every row still reads its own value, a column of
// distinct values and a long one load as they are, and changing one row leaves the rows that shared
// its text alone.
TEST(CreateTable, ValoresRepetidosSaoPartilhadosSemSeMisturar)
{
    app::InteracaoRoteirizada ui;
    auto t = tabelaComSlot();
    const QByteArray longo(250, 'x');  // the column holds 255
    const char* areas[] = {"Sa\xFA" "de", "Educa\xE7\xE3o", "", "\x80 custo", "Sa\xFA" "de "};
    QByteArray texto = "<InitTab>\n";
    QList<QStringList> esperado;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray area = i % 50 == 7 ? longo : QByteArray(areas[i % 5]);
        texto += QByteArray::number(i) + "|" + area + (i % 9 == 0 ? "" : "|") + "\n";
        esperado << QStringList{QStringLiteral("N"), QString::number(i), net::DeWindows1252(area), QString()};
    }
    texto += "<FimTab>\n";
    ASSERT_EQ(net::CreateTable(texto, *t), 1000);
    EXPECT_EQ(linhas(*t), esperado);
    EXPECT_EQ(t->rowValue(t->visibleRows()[3], 2), QStringLiteral("\u20AC custo"));

    // The same description in rows 0 and 5; changing row 0 changes only row 0.
    const auto rows = t->visibleRows();
    EXPECT_EQ(t->rowValue(rows[0], 2), t->rowValue(rows[5], 2));
    t->first();
    t->edit();
    t->setValue(2, QStringLiteral("Outra"));
    t->post();
    EXPECT_EQ(t->rowValue(rows[0], 2), QStringLiteral("Outra"));
    EXPECT_EQ(t->rowValue(rows[5], 2), QStringLiteral("Saúde"));
    EXPECT_EQ(t->rowValue(rows[10], 2), QStringLiteral("Saúde"));
    EXPECT_TRUE(ui.mensagens.isEmpty());
}

TEST(CreateTable, ProgressoCresceAteOFim)
{
    app::InteracaoRoteirizada ui;
    auto t = tabelaComSlot();
    QByteArray texto = "<InitTab>\n";
    for (int i = 0; i < 3000; ++i)
        texto += QByteArray::number(i) + "|area\n";
    texto += "<FimTab>";
    EXPECT_EQ(net::CreateTable(texto, *t), 3000);
    ASSERT_FALSE(ui.progressos.isEmpty());
    EXPECT_LE(ui.progressos.size(), 501);
    int anterior = -1;
    for (const auto& p : ui.progressos) {
        EXPECT_GT(p.first, anterior);
        EXPECT_LE(p.first, p.second);
        anterior = p.first;
    }
}

TEST(RecebeTabela, PedidoRespostaEFalhas)
{
    app::InteracaoRoteirizada ui;
    PeerHttp peer;
    const net::Configuracao antes = net::Config();
    net::Config().host = QStringLiteral("127.0.0.1");
    net::Config().portaKesta = peer.porta();
    app::Estado().ProjectCode = QStringLiteral("4711");
    app::SetTrocaCancelada(false);
    net::SetErroNaTroca(false);

    auto t = tabelaComSlot();
    peer.corpo = QByteArrayLiteral("<InitTab>\nA|B\n<FimTab>");
    EXPECT_EQ(net::RecebeTabela(*t, QStringLiteral("/kesta_off/owa/carga_tabelas_off.areasEstudos")), 22);
    ASSERT_EQ(peer.pedidos.size(), 1);
    EXPECT_EQ(peer.pedidos[0].caminho, QByteArrayLiteral("/kesta_off/owa/carga_tabelas_off.areasEstudos"));
    EXPECT_EQ(peer.pedidos[0].corpo, QByteArrayLiteral("cod_projeto=4711"));
    EXPECT_EQ(ui.textosEspera.last(), QStringLiteral("Recebendo dados de Estudos - Áreas de Conhec."));
    EXPECT_EQ(t->totalRowCount(), 1);
    EXPECT_EQ(ui.status[2], QString());
    EXPECT_FALSE(net::ErroNaTroca());

    // A failed request: its text, the wait window closed, the error flag set, nothing loaded.
    app::AbreEspera(QStringLiteral("Recebendo os dados do Projeto"));
    peer.corpo = QByteArrayLiteral("<HTML>");
    EXPECT_EQ(net::RecebeTabela(*t, QStringLiteral("/p")), -3);
    EXPECT_EQ(ui.textos(), QStringList{net::TextoFalha(-3)});
    EXPECT_FALSE(ui.esperaAberta());
    EXPECT_TRUE(net::ErroNaTroca());
    EXPECT_EQ(t->totalRowCount(), 1);

    // After a Cancel no request goes out.
    app::SetTrocaCancelada(true);
    EXPECT_EQ(net::RecebeTabela(*t, QStringLiteral("/p")), net::TrocaCancelada);
    EXPECT_EQ(peer.pedidos.size(), 2);
    app::SetTrocaCancelada(false);
    net::Config() = antes;
}
