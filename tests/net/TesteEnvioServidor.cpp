// The send against the reference server: the demo project downloaded, changed, sent, saved and
// downloaded again; the bodies the server received compared byte for byte.

#include "ApoioEnvio.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "net/EnviaDados.h"
#include "net/Transporte.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/RegistroEnvios.h"
#include "tests/support/ServidorDeTeste.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using apoio::contaStatus;
using apoio::inclui;
using apoio::valor;

namespace {

const QString Gravacao = QStringLiteral("\r\rSerá agora efetuado a gravação local dos dados do projeto.\r"
                                        "Caso deseje, cancele a operação.\r"
                                        "Lembrando que, caso cancele, a atualização no servidor não será cancelada e\r"
                                        "sua versão gravada na máquina local pode estar diferente.");
const QString Sucesso = QStringLiteral("SUCESSO!! Dados atualizados no servidor.") + Gravacao;
const QString ComErro = QStringLiteral("ATENÇÃO: Dados atualizados no servidor COM OCORRÊNCIA DE ERRO.") + Gravacao;
const QString ExclusaoRecusada = QStringLiteral("Atenção:\rNão foi possível excluir alguns dos registros especificados.");

struct PedidoRegistrado {
    QString caminho;
    QByteArray corpo;
};

class EnvioServidorTest : public ::testing::Test
{
protected:
    EnvioServidorTest()
        : m_servidor(opcoes())
    {
    }

    ServidorDeTeste::Opcoes opcoes()
    {
        ServidorDeTeste::Opcoes o;
        o.extras = {QStringLiteral("--registro-pedidos"), m_dir.filePath(QStringLiteral("pedidos.log"))};
        return o;
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_servidor.iniciado()) << m_servidor.erro().toStdString();
        m_servidor.exportaAmbiente();
        net::RecarregaConfiguracao();
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        store::criaDados();
        m_acoes.verificarPendencia = [](bool) {};
        m_acoes.salvarComo = [this] {
            ++m_salvamentos;
            const bool gravou = store::GravaProjeto(m_dir.filePath(QStringLiteral("enviado.prj")));
            EXPECT_TRUE(gravou);
            return gravou;
        };
        baixa();
    }
    void TearDown() override
    {
        store::destroiDados();
        EXPECT_EQ(m_seam.esperasAbertas, 0);
        EXPECT_TRUE(m_seam.inesperadas.isEmpty()) << m_seam.inesperadas.join(QLatin1Char('\n')).toStdString();
    }

    store::Dados& d() { return store::dados(); }

    void baixa()
    {
        d().geral().ClearTables();
        const bool ok = net::RecebeProjeto(QStringLiteral("demo"), QStringLiteral("demo"), [](store::Table& projetos) {
            app::Estado().ProjectCode = QStringLiteral("1");
            (void)projetos;
        });
        ASSERT_TRUE(ok) << m_seam.textos().join(QLatin1Char('\n')).toStdString();
        m_seam.mensagens.clear();
    }

    net::ResultadoEnvio envia() { return net::EnviaDados(d(), QStringLiteral("demo"), QStringLiteral("demo"), m_acoes); }

    // The requests the server received, in order.
    QList<PedidoRegistrado> pedidos() const
    {
        QList<PedidoRegistrado> r;
        QFile f(m_dir.filePath(QStringLiteral("pedidos.log")));
        if (!f.open(QIODevice::ReadOnly))
            return r;
        const QByteArray tudo = f.readAll();
        qsizetype pos = 0;
        while (pos < tudo.size()) {
            const qsizetype fim = tudo.indexOf('\n', pos);
            const QList<QByteArray> cab = tudo.mid(pos, fim - pos).split(' ');
            const qsizetype tamanho = cab.value(1).toLongLong();
            r.append({QString::fromUtf8(cab.value(0)), tudo.mid(fim + 1, tamanho)});
            pos = fim + 1 + tamanho + 1;
        }
        return r;
    }
    QList<PedidoRegistrado> pedidosDeEnvio() const
    {
        QList<PedidoRegistrado> r;
        for (const PedidoRegistrado& p : pedidos())
            if (p.caminho.contains(QLatin1String(".atualiza_")))
                r << p;
        return r;
    }
    void apagaRegistro() { QFile::remove(m_dir.filePath(QStringLiteral("pedidos.log"))); }

    // The first row whose column holds the value, whatever the filter shows; 0 when none.
    static store::Table::Bookmark acha(store::Table& t, const char* coluna, const QString& v)
    {
        const bool f = t.filtered();
        t.setFiltered(false);
        store::Table::Bookmark achada = 0;
        for (auto b : t.visibleRows())
            if (valor(t, b, coluna) == v) {
                achada = b;
                break;
            }
        t.setFiltered(f);
        return achada;
    }
    static void altera(store::Table& t, store::Table::Bookmark b, apoio::Valores valores)
    {
        const bool f = t.filtered();
        t.setFiltered(false);
        t.gotoBookmark(b);
        t.edit();
        for (const auto& [c, v] : valores)
            t.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
        t.post();
        t.setFiltered(f);
    }

    QTemporaryDir m_dir;
    ServidorDeTeste m_servidor;
    app::InteracaoRoteirizada m_seam;
    net::AcoesDoEnvio m_acoes;
    int m_salvamentos = 0;
};

} // namespace

TEST_F(EnvioServidorTest, ChangedIdentificationAndNewMemberReachTheServerAndComeBack)
{
    store::Table& projeto = d().identificacao().tbProjeto;
    store::Table& membro = d().identificacao().tbMembro;
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    const QString objetivo = QString(1900, QLatin1Char('o')) + QString(1900, QLatin1Char('p')) + QString(200, QLatin1Char('q'));
    projeto.first();
    altera(projeto, projeto.bookmark(),
           {{"Status", "A"}, {"DataAssinat", "01/02/2004"}, {"ValProposta", "450000.00"},
            {"Objetivo", ("  " + objetivo + " ").toUtf8().constData()}, {"Origem", ""}, {"NumProjOrigem", "77"},
            {"DataFim", "31/12/2007"}});
    const auto nova = inclui(membro, {{"Status", "I"}, {"Cod_Membro", "-1"}, {"Nome", "Rita de Cássia"}, {"KESTA", ""},
                                      {"EquipeOriginal", "S"}, {"CargaHoraria", "10"},
                                      {"DescricaoFuncao", "PESQUISADOR"}, {"MotivoSaida", ""}});
    estudo.first();
    const auto est = estudo.bookmark();
    const QString codEstudo = valor(estudo, est, "Cod_Estudo");
    altera(estudo, est, {{"Status", "A"}, {"Autor", "-1"}});
    store::Table& area = d().resultadosGerados().tbEstudosAreaConhec;
    const auto areaDoEstudo = acha(area, "Cod_Estudo", codEstudo);
    ASSERT_NE(areaDoEstudo, 0u);
    altera(area, areaDoEstudo, {{"Status", "D"}});
    apagaRegistro();

    const net::ResultadoEnvio r = envia();

    ASSERT_EQ(r.etapa, net::EtapaEnvio::Concluido);
    EXPECT_EQ(m_seam.textos(), QStringList{Sucesso});
    EXPECT_EQ(m_salvamentos, 1);
    const QList<PedidoRegistrado> enviados = pedidosDeEnvio();
    ASSERT_EQ(enviados.size(), 4);
    EXPECT_EQ(enviados[0].caminho, QStringLiteral("/kesta_off/owa/projeto.atualiza_projeto"));
    EXPECT_EQ(enviados[0].corpo.toStdString(),
              "cod_proj=1&DataAssinat=01%2F02%2F2004&ValProposta=450000%2E00"
              "&Objetivo=" + std::string(1900, 'O') + "&Objetivo=" + std::string(1900, 'P') + "&Objetivo="
                  + std::string(200, 'Q') + "&Origem=&NumProjOrigem=77&DataFim=31%2F12%2F2007");
    EXPECT_EQ(enviados[1].caminho, QStringLiteral("/kesta_off/owa/membro_equipe.atualiza_membro"));
    EXPECT_EQ(enviados[1].corpo.toStdString(),
              "cod_proj=1&Status=I&Cod_Membro=&BIRO=&Nome=RITA+DE+C%C1SSIA&EquipeOriginal=S&CargaHoraria=10"
              "&DescricaoFuncao=PESQUISADOR&MotivoSaida=&TipInstAtivPosPro=&DescAtivPosPro=&UF=&Cidade=&Fone="
              "&Email=&Fax=&Endereco=&CEP=&TitulacaoAtual=&AreaConhecTitulacao=&PaisTitulacao=&KESTA=");
    EXPECT_EQ(enviados[2].caminho, QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo"));
    EXPECT_EQ(enviados[3].caminho, QStringLiteral("/kesta_off/owa/estudo.atualiza_estudoareaconhec"));
    EXPECT_EQ(enviados[3].corpo.toStdString(),
              "cod_proj=1&Status=D&Cod_Estudo=" + codEstudo.toStdString()
                  + "&DescricaoAreaConhec=ENGENHARIA+SANIT%C1RIA");
    EXPECT_FALSE(area.bookmarkValid(areaDoEstudo));

    // The server's code replaced the provisional one, in the member and in the study that names it.
    const QString codigo = valor(membro, nova, "Cod_Membro");
    EXPECT_NE(codigo, QStringLiteral("-1"));
    EXPECT_GT(codigo.toLongLong(), 0);
    EXPECT_TRUE(enviados[2].corpo.contains(QByteArray("&Autor=" + codigo.toLatin1() + "&")));
    EXPECT_EQ(valor(estudo, est, "Autor"), codigo);
    EXPECT_EQ(valor(estudo, est, "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(membro, nova, "Status"), QStringLiteral("N"));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("enviado.prj"))));

    // A second download shows the changes on the server.
    baixa();
    projeto.first();
    EXPECT_EQ(projeto.value(QStringLiteral("Objetivo")), objetivo.toUpper());
    EXPECT_EQ(projeto.value(QStringLiteral("DataFim")), QStringLiteral("31/12/2007"));
    EXPECT_EQ(projeto.value(QStringLiteral("NumProjOrigem")), QStringLiteral("77"));
    const auto denovo = acha(membro, "Cod_Membro", codigo);
    ASSERT_NE(denovo, 0u);
    EXPECT_EQ(valor(membro, denovo, "Nome"), QStringLiteral("RITA DE CÁSSIA"));
    EXPECT_EQ(valor(estudo, acha(estudo, "Cod_Estudo", codEstudo), "Autor"), codigo);
    EXPECT_EQ(acha(area, "Cod_Estudo", codEstudo), 0u);
}

TEST_F(EnvioServidorTest, RefusedDeletionAndRefusedInsertionStayPending)
{
    store::Table& inst = d().identificacao().tbInstituicao;
    store::Table& lab = d().atividadesApoiadas().tbLaboratorio;
    // The institute is still named by a study: the server refuses its deletion.
    const auto instituto = acha(inst, "BIRO", QStringLiteral("000007730"));
    ASSERT_NE(instituto, 0u);
    altera(inst, instituto, {{"Status", "D"}});
    // A laboratory of an institution the project does not have: refused by the programme's rule.
    const auto novoLab = inclui(lab, {{"Status", "I"}, {"Cod_Laboratorio", "-4"}, {"Cod_Inst", "999999"},
                                      {"NomeLab", "LAB NOVO"}, {"TipoApoio", "AMPLIAÇÃO"}});

    const net::ResultadoEnvio r = envia();

    EXPECT_EQ(valor(inst, instituto, "Status"), QStringLiteral("D"));
    EXPECT_EQ(valor(lab, novoLab, "Status"), QStringLiteral("I"));
    EXPECT_EQ(valor(lab, novoLab, "Cod_Laboratorio"), QStringLiteral("-4"));
    EXPECT_TRUE(r.flags.exclusaoRecusada);
    EXPECT_TRUE(r.flags.erroResposta);
    EXPECT_FALSE(r.flags.erro);
    EXPECT_EQ(m_seam.textos(),
              (QStringList{QStringLiteral("Laboratório(s) não está(ão) sediado(s) na Instituição Sede indicada.\r"
                                          "Após concluído envio, é aconselhável carregar novamente o projeto e "
                                          "conferir as informações."),
                           ExclusaoRecusada, ComErro}));
    EXPECT_EQ(m_salvamentos, 1);
    EXPECT_FALSE(inst.rowMatchesFilter(instituto));  // still hidden from lists

    // The send log has every record with the server's own answer and what it meant.
    const QString codInst = valor(inst, instituto, "Cod_Inst");
    const std::vector<store::LinhaDoHistorico> recusas = store::LinhasDoHistorico(store::Envios(), {}, true);
    ASSERT_EQ(recusas.size(), 2u) << QString::fromUtf8(store::Envios().texto()).toStdString();
    EXPECT_EQ(recusas[0].pedido->tabela, QStringLiteral("tbLaboratorio"));
    EXPECT_EQ(recusas[0].pedido->procedimento, QStringLiteral("laboratorio.atualiza_laboratorio"));
    EXPECT_EQ(recusas[0].item->status, QStringLiteral("I"));
    EXPECT_EQ(recusas[0].item->chaveAntes, QStringLiteral("-4"));
    EXPECT_EQ(recusas[0].item->resposta, QStringLiteral("-3"));
    EXPECT_EQ(recusas[0].item->significado,
              QStringLiteral("recusado: -3 (laboratório não sediado na instituição sede indicada)"));
    EXPECT_EQ(recusas[1].pedido->tabela, QStringLiteral("tbInstituicao"));
    EXPECT_EQ(recusas[1].item->status, QStringLiteral("D"));
    EXPECT_EQ(recusas[1].item->chaveAntes, codInst);
    EXPECT_EQ(recusas[1].item->resposta, QStringLiteral("-2"));
    EXPECT_EQ(recusas[1].item->significado, QStringLiteral("exclusão recusada: -2"));
    EXPECT_EQ(store::Envios().pedidos.size(), 2u);
    EXPECT_EQ(store::Envios().ultimoEnvio().size(), 2u);

    // It survives saving and opening, and a second send adds to it.
    const QString arquivo = m_dir.filePath(QStringLiteral("recusas.prj"));
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    d().geral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(arquivo));
    ASSERT_EQ(store::Envios().pedidos.size(), 2u);
    m_seam.mensagens.clear();
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    estudo.first();
    const auto e = estudo.bookmark();
    const QString codEstudo = valor(estudo, e, "Cod_Estudo");
    altera(estudo, e, {{"Status", "A"}, {"Titulo", "OUTRO TÍTULO"}});
    envia();
    ASSERT_EQ(store::Envios().pedidos.size(), 5u);
    const std::vector<const store::PedidoEnviado*> ultimo = store::Envios().ultimoEnvio();
    ASSERT_EQ(ultimo.size(), 3u);
    EXPECT_EQ(ultimo[0]->tabela, QStringLiteral("tbInstituicao"));
    EXPECT_EQ(ultimo[1]->tabela, QStringLiteral("tbEstudo"));
    EXPECT_EQ(ultimo[2]->tabela, QStringLiteral("tbLaboratorio"));
    ASSERT_EQ(ultimo[1]->itens.size(), 1u);
    EXPECT_EQ(ultimo[1]->itens[0].status, QStringLiteral("A"));
    EXPECT_EQ(ultimo[1]->itens[0].resposta, codEstudo);
    EXPECT_EQ(ultimo[1]->itens[0].chaveDepois, codEstudo);
    EXPECT_EQ(ultimo[1]->itens[0].significado, QStringLiteral("aceito"));
    EXPECT_NE(ultimo[0]->envio, store::Envios().pedidos[0].envio);
    EXPECT_EQ(store::LinhasDoHistorico(store::Envios(), QStringLiteral("tbInstituicao"), true).size(), 2u);
}

// A refusal other than -3 (here a study's area that names a study the server does not have, -8) is
// in the log with the server's own code, after the accepted change of the request before it.
TEST_F(EnvioServidorTest, RefusalWithAnotherCodeIsLoggedWithTheServersAnswer)
{
    store::Table& est = d().resultadosGerados().tbEstudo;
    store::Table& areas = d().resultadosGerados().tbEstudosAreaConhec;
    est.first();
    const auto existente = est.bookmark();
    const QString cod = valor(est, existente, "Cod_Estudo");
    altera(est, existente, {{"Status", "A"}, {"Titulo", "TÍTULO REVISTO"}});
    inclui(areas, {{"Status", "I"}, {"Cod_Estudo", "999999"}, {"DescricaoAreaConhec", "GEOLOGIA"}});

    const net::ResultadoEnvio r = envia();
    EXPECT_EQ(r.etapa, net::EtapaEnvio::Concluido);
    EXPECT_TRUE(r.flags.erroResposta);
    EXPECT_TRUE(r.flags.erro);
    const std::vector<const store::PedidoEnviado*> ultimo = store::Envios().ultimoEnvio();
    ASSERT_EQ(ultimo.size(), 2u);
    EXPECT_EQ(ultimo[0]->procedimento, QStringLiteral("estudo.atualiza_estudo"));
    ASSERT_EQ(ultimo[0]->itens.size(), 1u);
    const store::ItemEnviado& alterado = ultimo[0]->itens[0];
    EXPECT_EQ(alterado.status, QStringLiteral("A"));
    EXPECT_EQ(alterado.chaveAntes, cod);
    EXPECT_EQ(alterado.resposta, cod);
    EXPECT_EQ(alterado.significado, QStringLiteral("aceito"));
    EXPECT_EQ(ultimo[1]->procedimento, QStringLiteral("estudo.atualiza_estudoareaconhec"));
    ASSERT_EQ(ultimo[1]->itens.size(), 1u);
    const store::ItemEnviado& novo = ultimo[1]->itens[0];
    EXPECT_EQ(novo.status, QStringLiteral("I"));
    EXPECT_EQ(novo.resposta, QStringLiteral("-8"));
    EXPECT_EQ(novo.significado, QStringLiteral("recusado: -8"));
    EXPECT_TRUE(novo.recusado());
    // The refused area is still new here, to be sent again once mended.
    EXPECT_EQ(contaStatus(areas, QStringLiteral("I")), 1);
    EXPECT_EQ(contaStatus(est, QStringLiteral("A")), 0);
}

TEST_F(EnvioServidorTest, FailedRequestStopsTheSendAndASecondSendSendsWhatIsLeftOnce)
{
    store::Table& inst = d().identificacao().tbInstituicao;
    store::Table& membro = d().identificacao().tbMembro;
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    inst.first();
    const auto i = inst.bookmark();
    altera(inst, i, {{"Status", "A"}, {"Nome", "UNIVERSIDADE FEDERAL RENOMEADA"}});
    membro.first();
    const auto m = membro.bookmark();
    altera(membro, m, {{"Status", "A"}, {"Fone", "(31) 0000-0000"}});
    estudo.first();
    const auto e = estudo.bookmark();
    altera(estudo, e, {{"Status", "A"}, {"Titulo", "TÍTULO NOVO"}});
    ASSERT_TRUE(m_servidor.injetaFalha(QStringLiteral("membro_equipe.atualiza_membro"), QStringLiteral("html")));
    apagaRegistro();

    const net::ResultadoEnvio r = envia();

    EXPECT_EQ(r.etapa, net::EtapaEnvio::FalhaEnvio);
    EXPECT_EQ(m_salvamentos, 0);
    EXPECT_EQ(valor(inst, i, "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(membro, m, "Status"), QStringLiteral("A"));
    EXPECT_EQ(valor(estudo, e, "Status"), QStringLiteral("A"));
    EXPECT_EQ(m_seam.textos(),
              (QStringList{net::TextoFalha(net::FalhaPaginaHtml),
                           QStringLiteral("Problemas para enviar Membros.\rAs informações relacionadas com Membros "
                                          "também deverão estar comprometidas.")}));
    QList<PedidoRegistrado> enviados = pedidosDeEnvio();
    ASSERT_EQ(enviados.size(), 2);
    EXPECT_TRUE(enviados[1].caminho.endsWith(QLatin1String("atualiza_membro")));
    EXPECT_TRUE(app::Estado().ProjectModified);  // the institution's answer changed the project

    // An HTML page is no answer of the protocol: a proxy may send one after the server applied the
    // request. The member may be on the server already, so the next send holds it back unless the
    // user chooses otherwise, and sends the rest.
    m_seam.mensagens.clear();
    apagaRegistro();
    m_seam.responde(app::Resposta::Nao);
    const net::ResultadoEnvio segundo = envia();
    EXPECT_EQ(segundo.etapa, net::EtapaEnvio::Concluido);
    ASSERT_EQ(segundo.retidos.size(), 1u);
    EXPECT_TRUE(segundo.retidos[0].startsWith(QStringLiteral("Membros: "))) << segundo.retidos[0].toStdString();
    enviados = pedidosDeEnvio();
    ASSERT_EQ(enviados.size(), 1);
    EXPECT_TRUE(enviados[0].caminho.endsWith(QLatin1String("atualiza_estudo")));
    ASSERT_EQ(m_seam.textos().size(), 2);
    EXPECT_TRUE(m_seam.textos()[0].contains(QStringLiteral("Respondendo Não, esses registros ficam retidos")));
    EXPECT_EQ(m_seam.textos()[1], Sucesso);
    EXPECT_EQ(valor(membro, m, "Status"), QStringLiteral("A"));
    EXPECT_EQ(contaStatus(estudo, QStringLiteral("A")), 0);

    // Chosen explicitly: the member goes.
    m_seam.mensagens.clear();
    apagaRegistro();
    m_seam.responde(app::Resposta::Sim);
    envia();
    enviados = pedidosDeEnvio();
    ASSERT_EQ(enviados.size(), 1);
    EXPECT_TRUE(enviados[0].caminho.endsWith(QLatin1String("atualiza_membro")));
    EXPECT_EQ(contaStatus(membro, QStringLiteral("A")), 0);
}

TEST_F(EnvioServidorTest, AnswerShortOfALineLeavesTheLastRowForTheNextSend)
{
    store::Table& est = d().resultadosGerados().tbEstudo;
    const auto a = inclui(est, {{"Status", "I"}, {"Cod_Estudo", "-1"}, {"Titulo", "PRIMEIRO"}, {"TipoEstudo", "X"}});
    const auto b = inclui(est, {{"Status", "I"}, {"Cod_Estudo", "-2"}, {"Titulo", "SEGUNDO"}, {"TipoEstudo", "X"}});
    ASSERT_TRUE(m_servidor.injetaFalha(QStringLiteral("estudo.atualiza_estudo"), QStringLiteral("linhas-a-menos")));

    const net::ResultadoEnvio r = envia();

    EXPECT_TRUE(r.flags.erro);
    EXPECT_EQ(valor(est, a, "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(est, b, "Status"), QStringLiteral("I"));
    ASSERT_EQ(m_seam.textos().size(), 3);
    EXPECT_TRUE(m_seam.textos()[0].startsWith(QStringLiteral("Problemas para enviar Estudos .\r")));
    EXPECT_EQ(m_seam.textos()[2], ComErro);
    EXPECT_EQ(m_salvamentos, 1);

    // The server stored both, but the client cannot know it: the next send names the row left
    // without an answer and sends nothing unless the user explicitly chooses to.
    m_seam.mensagens.clear();
    apagaRegistro();
    m_seam.responde(app::Resposta::Nao);
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::SemRespostaAnterior);
    EXPECT_TRUE(pedidosDeEnvio().isEmpty());
    ASSERT_EQ(m_seam.textos().size(), 2);
    EXPECT_TRUE(m_seam.textos()[0].contains(QStringLiteral("\rEstudos: SEGUNDO (inclusão, código -2): enviado em ")))
        << m_seam.textos()[0].toStdString();
    EXPECT_FALSE(m_seam.textos()[0].contains(QStringLiteral("PRIMEIRO")));

    // Chosen explicitly: only the row without an answer goes out again.
    m_seam.mensagens.clear();
    m_seam.responde(app::Resposta::Sim);
    envia();
    const QList<PedidoRegistrado> enviados = pedidosDeEnvio();
    ASSERT_EQ(enviados.size(), 1);
    EXPECT_EQ(enviados[0].corpo.count("&Status="), 1);
    EXPECT_TRUE(enviados[0].corpo.contains("&Titulo=SEGUNDO&"));
    EXPECT_EQ(valor(est, b, "Status"), QStringLiteral("N"));
}

TEST_F(EnvioServidorTest, CommandLineSendsSavesWithBackupAndTheServerHasTheChange)
{
    store::Table& projeto = d().identificacao().tbProjeto;
    projeto.first();
    altera(projeto, projeto.bookmark(), {{"Status", "A"}, {"DataFim", "15/03/2008"}});
    // The demo's registry check would stop on a code the national registry does not know.
    store::Table& membro = d().identificacao().tbMembro;
    const auto luiz = acha(membro, "BIRO", QStringLiteral("6789012345678901"));
    ASSERT_NE(luiz, 0u);
    altera(membro, luiz, {{"Status", "A"}, {"BIRO", ""}});
    const QString arquivo = m_dir.filePath(QStringLiteral("demo.prj"));
    ASSERT_TRUE(store::GravaProjeto(arquivo));

    QProcess cli;
    cli.setProgram(ServidorDeTeste::executavel().replace(QLatin1String("kesta-server"), QLatin1String("rezozur-cli")));
    cli.setArguments({QStringLiteral("enviar"), arquivo, QStringLiteral("--usuario"), QStringLiteral("demo"),
                      QStringLiteral("--senha"), QStringLiteral("demo"), QStringLiteral("--aceitar-nomes")});
    cli.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    cli.start();
    ASSERT_TRUE(cli.waitForFinished(120000));
    const QString saida = QString::fromUtf8(cli.readAllStandardOutput());
    const QString erros = QString::fromUtf8(cli.readAllStandardError());
    EXPECT_EQ(cli.exitCode(), 0) << saida.toStdString() << erros.toStdString();
    EXPECT_TRUE(saida.contains(QStringLiteral("resultado: enviado;"))) << saida.toStdString();
    EXPECT_TRUE(erros.contains(QStringLiteral("SUCESSO!! Dados atualizados no servidor."))) << erros.toStdString();
    EXPECT_TRUE(QFile::exists(arquivo + QStringLiteral(".bak")) || QFile::exists(m_dir.filePath(QStringLiteral("demo.bak"))));

    baixa();
    projeto.first();
    EXPECT_EQ(projeto.value(QStringLiteral("DataFim")), QStringLiteral("15/03/2008"));
}

// The reply to a send is cut after the server applied it: the rows sent are marked in the send log
// (which survives saving and opening), and the retry sends nothing, so nothing is duplicated,
// unless the user explicitly chooses to.
TEST_F(EnvioServidorTest, LostReplyIsNeverFollowedByADuplicateUnlessTheUserChoosesIt)
{
    store::Table& prob = d().analiseResultados().tbProblemas;
    const int antes = apoio::contaLinhas(prob);
    inclui(prob, {{"Status", "I"}, {"Cod_Problema", "-1"}, {"DataOcorrenc", "01/02/2005"}, {"Categoria", "T"},
                  {"Repercussao", "ATRASO"}, {"DescrProbTec", "FALHA NO EQUIPAMENTO"}});
    ASSERT_TRUE(m_servidor.injetaFalha(QStringLiteral("problema.atualiza_problema"), QStringLiteral("corte")));
    apagaRegistro();

    EXPECT_EQ(envia().etapa, net::EtapaEnvio::FalhaEnvio);
    EXPECT_EQ(pedidosDeEnvio().size(), 1);
    EXPECT_EQ(contaStatus(prob, QStringLiteral("I")), 1);
    ASSERT_EQ(store::Envios().pedidos.size(), 1u);
    EXPECT_TRUE(store::Envios().pedidos[0].possivelmenteAplicado);

    // The mark lives in the project file.
    const QString arquivo = m_dir.filePath(QStringLiteral("cortado.prj"));
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    d().geral().ClearTables();
    EXPECT_TRUE(store::Envios().vazio());
    ASSERT_TRUE(store::LeProjeto(arquivo));
    ASSERT_EQ(store::Envios().pedidos.size(), 1u);

    m_seam.mensagens.clear();
    apagaRegistro();
    m_seam.responde(app::Resposta::Nao);
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::SemRespostaAnterior);
    EXPECT_TRUE(pedidos().isEmpty());  // not even the permission request
    ASSERT_FALSE(m_seam.textos().isEmpty());
    EXPECT_TRUE(m_seam.textos()[0].contains(QStringLiteral("Problemas Ocorridos: ATRASO - 01/02/2005 (inclusão, código -1)")))
        << m_seam.textos()[0].toStdString();
    EXPECT_TRUE(m_seam.textos()[0].contains(QStringLiteral("Recomenda-se carregar novamente o projeto")));

    // The server holds the problem once; a fresh download shows it and asks nothing any more.
    baixa();
    EXPECT_EQ(apoio::contaLinhas(prob), antes + 1);
    EXPECT_TRUE(store::Envios().vazio());
    apagaRegistro();
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::Concluido);
    EXPECT_TRUE(pedidosDeEnvio().isEmpty());
}

// When the save that follows a send does not happen, the sent state is written beside the file.
TEST_F(EnvioServidorTest, SendWhoseSaveFailsKeepsTheSentStateBesideTheFile)
{
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    estudo.first();
    altera(estudo, estudo.bookmark(), {{"Status", "A"}, {"Titulo", "SALVO NA COPIA"}});
    app::Estado().ProjectFileName = m_dir.filePath(QStringLiteral("projeto.prj"));
    m_acoes.salvarComo = [] { return false; };

    EXPECT_EQ(envia().etapa, net::EtapaEnvio::Concluido);

    const QString copia = m_dir.filePath(QStringLiteral("projeto.enviado.prj"));
    ASSERT_TRUE(QFile::exists(copia));
    ASSERT_FALSE(m_seam.textos().isEmpty());
    EXPECT_TRUE(m_seam.textos().back().contains(QDir::toNativeSeparators(copia))) << m_seam.textos().back().toStdString();
    d().geral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(copia));
    EXPECT_EQ(contaStatus(estudo, QStringLiteral("A")), 0);
    ASSERT_EQ(store::Envios().pedidos.size(), 1u);
    EXPECT_EQ(store::Envios().pedidos[0].itens.at(0).significado, QStringLiteral("aceito"));
}

// rezozur-cli enviar --simular prints the preview and sends no table; info then reports no send.
// A real send afterwards is summarised by info.
TEST_F(EnvioServidorTest, CommandLineSimulationSendsNoTableAndInfoSummarisesTheLastSend)
{
    store::Table& projeto = d().identificacao().tbProjeto;
    projeto.first();
    altera(projeto, projeto.bookmark(), {{"Status", "A"}, {"DataFim", "15/03/2008"}});
    store::Table& membro = d().identificacao().tbMembro;
    const auto luiz = acha(membro, "BIRO", QStringLiteral("6789012345678901"));
    ASSERT_NE(luiz, 0u);
    altera(membro, luiz, {{"Status", "A"}, {"BIRO", ""}});
    const QString arquivo = m_dir.filePath(QStringLiteral("demo.prj"));
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray antes = f.readAll();
    f.close();
    apagaRegistro();

    const auto cli = [&](const QStringList& argumentos, QString& saida) {
        QProcess p;
        p.setProgram(ServidorDeTeste::executavel().replace(QLatin1String("kesta-server"), QLatin1String("rezozur-cli")));
        p.setArguments(argumentos);
        p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        p.start();
        EXPECT_TRUE(p.waitForFinished(120000));
        saida = QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    };
    const QStringList enviar{QStringLiteral("enviar"), arquivo, QStringLiteral("--usuario"), QStringLiteral("demo"),
                             QStringLiteral("--senha"), QStringLiteral("demo"), QStringLiteral("--aceitar-nomes")};
    QString saida;
    EXPECT_EQ(cli(enviar + QStringList{QStringLiteral("--simular")}, saida), 0) << saida.toStdString();
    EXPECT_TRUE(saida.contains(QStringLiteral("prévia: Dados Gerais: 0 inclusão(ões), 1 alteração(ões), 0 exclusão(ões)")))
        << saida.toStdString();
    EXPECT_TRUE(saida.contains(QStringLiteral("prévia: Membros: 0 inclusão(ões), 1 alteração(ões), 0 exclusão(ões)")));
    EXPECT_TRUE(saida.contains(QStringLiteral("resultado: simulação; nada foi enviado")));
    EXPECT_TRUE(pedidosDeEnvio().isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), antes);
    f.close();
    EXPECT_EQ(cli({QStringLiteral("info"), arquivo}, saida), 0);
    EXPECT_TRUE(saida.contains(QStringLiteral("último envio: nenhum"))) << saida.toStdString();

    EXPECT_EQ(cli(enviar, saida), 0) << saida.toStdString();
    EXPECT_EQ(pedidosDeEnvio().size(), 2);
    EXPECT_EQ(cli({QStringLiteral("info"), arquivo}, saida), 0);
    EXPECT_TRUE(saida.contains(QRegularExpression(
        QStringLiteral("último envio: \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d; 2 pedido\\(s\\); 2 aceito\\(s\\), 0 recusado\\(s\\), 0 sem resposta"))))
        << saida.toStdString();
}

// Refused records can be found: the history and rezozur-cli info name them as their pages do, with
// the server's answer and the procedure; the refused deletion stays deleted, hidden from its page.
TEST_F(EnvioServidorTest, RefusedRecordsAreNamedWithTheServersAnswer)
{
    store::Table& inst = d().identificacao().tbInstituicao;
    store::Table& lab = d().atividadesApoiadas().tbLaboratorio;
    const auto instituto = acha(inst, "BIRO", QStringLiteral("000007730"));
    ASSERT_NE(instituto, 0u);
    const QString nome = valor(inst, instituto, "Nome");
    const QString codigo = valor(inst, instituto, "Cod_Inst");
    altera(inst, instituto, {{"Status", "D"}});
    // A new laboratory of an institution the project does not have.
    inclui(lab, {{"Status", "I"}, {"Cod_Laboratorio", "-9"}, {"Cod_Inst", "999999"}, {"NomeLab", "LAB SEM SEDE"},
                 {"TipoApoio", "AMPLIAÇÃO"}});

    EXPECT_TRUE(envia().flags.exclusaoRecusada);
    EXPECT_EQ(valor(inst, instituto, "Status"), QStringLiteral("D"));
    EXPECT_FALSE(inst.rowMatchesFilter(instituto));
    QStringList recusas;
    for (const store::LinhaDoHistorico& l : store::LinhasDoHistorico(store::Envios(), QString(), true))
        recusas << l.pedido->procedimento + QLatin1Char('|') + l.item->rotulo() + QLatin1Char('|') + l.item->resposta
                       + QLatin1Char('|') + l.item->significado;
    const QString semSede = QStringLiteral("recusado: -3 (laboratório não sediado na instituição sede indicada)");
    EXPECT_EQ(recusas, (QStringList{QStringLiteral("laboratorio.atualiza_laboratorio|LAB SEM SEDE|-3|") + semSede,
                                    QStringLiteral("instituicao_envolvida.atualiza_instituicao|") + nome
                                        + QStringLiteral("|-2|exclusão recusada: -2")}));

    const QString arquivo = m_dir.filePath(QStringLiteral("recusas.prj"));
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    QProcess cli;
    cli.start(ServidorDeTeste::executavel().replace(QLatin1String("kesta-server"), QLatin1String("rezozur-cli")),
              {QStringLiteral("info"), arquivo});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QString saida = QString::fromUtf8(cli.readAllStandardOutput());
    EXPECT_TRUE(saida.contains(QStringLiteral("  Laboratórios Apoiados: LAB SEM SEDE (I, código -9): ") + semSede
                               + QStringLiteral("; resposta -3\n")))
        << saida.toStdString();
    EXPECT_TRUE(saida.contains(store::TituloDaTabela(QStringLiteral("tbInstituicao")) + QStringLiteral(": ") + nome
                               + QStringLiteral(" (D, código ") + codigo + QStringLiteral("): exclusão recusada: -2; resposta -2\n")))
        << saida.toStdString();
}
