// The whole send against a scripted peer that records every request: permission, checks, the order
// of the tables, the exact bodies, the closing messages and the save that follows.

#include "ApoioEnvio.h"
#include "PeerHttp.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "net/EnviaDados.h"
#include "net/Transporte.h"
#include "store/Dados.h"
#include "store/Projeto.h"
#include "store/RegistroEnvios.h"

#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using apoio::contaStatus;
using apoio::inclui;
using apoio::valor;

namespace {

const QString Permissao = QStringLiteral("/kesta_off/owa/login.confere_permissao");
const QString Nada = QStringLiteral("Nenhuma modificação foi detectada/efetuada no servidor.");
const QString Alguns = QStringLiteral("Alguns dados podem não ter sido atualizados no Servidor.\r"
                                      "Repita a operação posteriormente...");
const QString Gravacao = QStringLiteral("\r\rSerá agora efetuado a gravação local dos dados do projeto.\r"
                                        "Caso deseje, cancele a operação.\r"
                                        "Lembrando que, caso cancele, a atualização no servidor não será cancelada e\r"
                                        "sua versão gravada na máquina local pode estar diferente.");
const QString Sucesso = QStringLiteral("SUCESSO!! Dados atualizados no servidor.") + Gravacao;
const QString ComErro = QStringLiteral("ATENÇÃO: Dados atualizados no servidor COM OCORRÊNCIA DE ERRO.") + Gravacao;

class EnvioDadosTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        app::Estado().ProjectCode = QStringLiteral("55");
        app::Estado().ProjectModified = false;
        store::criaDados();
        m_config = net::Config();
        net::Config().host = QStringLiteral("127.0.0.1");
        net::Config().portaKesta = m_peer.porta();
        net::Config().tempoEnvioMs = net::Config().tempoRespostaMs = 10000;
        inclui(d().identificacao().tbProjeto, {{"Status", "N"}, {"Cod_Proj", "55"}, {"NumProjOrigem", "123"}});

        // The permission is granted unless a test says otherwise; each send procedure answers from
        // the script, or "0" per pending row when the script has nothing for it.
        m_peer.responde = [this](const PeerHttp::Pedido& p) -> QByteArray {
            const QString caminho = QString::fromLatin1(p.caminho);
            if (caminho == Permissao)
                return m_permissao;
            if (m_respostas.contains(caminho))
                return m_respostas.value(caminho);
            const int linhas = int(p.corpo.count("&Status="));
            return QByteArray("0\n").repeated(linhas);
        };
        m_acoes.verificarPendencia = [this](bool quiet) { m_verificacoes << quiet; };
        m_acoes.salvarComo = [this] {
            ++m_salvamentos;
            return true;
        };
    }
    void TearDown() override
    {
        net::Config() = m_config;
        store::destroiDados();
        EXPECT_EQ(m_seam.esperasAbertas, 0);
        EXPECT_TRUE(m_seam.inesperadas.isEmpty()) << m_seam.inesperadas.join(QLatin1Char('\n')).toStdString();
    }

    store::Dados& d() { return store::dados(); }
    net::ResultadoEnvio envia(const QString& senha = QStringLiteral("segredo"))
    {
        return net::EnviaDados(d(), QStringLiteral(" ana "), senha, m_acoes);
    }
    QStringList caminhos() const
    {
        QStringList r;
        for (const auto& p : m_peer.pedidos)
            r << QString::fromLatin1(p.caminho);
        return r;
    }
    QByteArray corpoDe(const QString& caminho) const
    {
        for (const auto& p : m_peer.pedidos)
            if (QString::fromLatin1(p.caminho) == caminho)
                return p.corpo;
        return {};
    }
    QStringList textos() const { return m_seam.textos(); }

    QTemporaryDir m_dir;
    app::InteracaoRoteirizada m_seam;
    PeerHttp m_peer;
    net::Configuracao m_config;
    QByteArray m_permissao = "0\n";
    QMap<QString, QByteArray> m_respostas;
    net::AcoesDoEnvio m_acoes;
    QList<bool> m_verificacoes;
    int m_salvamentos = 0;
};

} // namespace

TEST_F(EnvioDadosTest, ProjectWithoutChangesSendsNothingAndSaysSo)
{
    const net::ResultadoEnvio r = envia();
    EXPECT_EQ(r.etapa, net::EtapaEnvio::Concluido);
    EXPECT_TRUE(r.nadaEnviado);
    EXPECT_EQ(caminhos(), QStringList{Permissao});
    EXPECT_EQ(m_peer.pedidos[0].corpo, QByteArray("login=ANA&senha=SEGREDO&cod_proj=55"));
    EXPECT_EQ(m_verificacoes, (QList<bool>{false, true}));
    EXPECT_EQ(textos(), QStringList{Nada});
    EXPECT_EQ(m_salvamentos, 0);
    EXPECT_TRUE(m_seam.textosEspera.contains(QStringLiteral("Verificando Permissão")));
    EXPECT_TRUE(m_seam.textosEspera.contains(QStringLiteral("Enviando os Dados...")));
}

TEST_F(EnvioDadosTest, StopsBeforeAnyTableWhenNotAllowed)
{
    inclui(d().resultadosGerados().tbEstudo, {{"Status", "A"}, {"Cod_Estudo", "3"}});
    struct Caso {
        QByteArray permissao;
        QString mensagem;
        net::EtapaEnvio etapa;
    };
    const QList<Caso> casos{
        {"-1\n", QStringLiteral("Usuário sem permissão para projeto."), net::EtapaEnvio::SemPermissao},
        {"-2\n", QStringLiteral("Projeto inexistente"), net::EtapaEnvio::SemPermissao},
        {"", QStringLiteral("Resposta inesperada do servidor ao verificar a permissão para o projeto.\r"
                            "Repita a operação posteriormente."),
         net::EtapaEnvio::FalhaPermissao},
        {"ok", QStringLiteral("Resposta inesperada do servidor ao verificar a permissão para o projeto.\r"
                              "Repita a operação posteriormente."),
         net::EtapaEnvio::FalhaPermissao},
        {"<html>", net::TextoFalha(net::FalhaPaginaHtml), net::EtapaEnvio::FalhaPermissao},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.permissao.toStdString());
        m_seam.mensagens.clear();
        m_peer.pedidos.clear();
        m_permissao = c.permissao;
        EXPECT_EQ(envia().etapa, c.etapa);
        EXPECT_EQ(textos(), QStringList{c.mensagem});
        EXPECT_EQ(caminhos(), QStringList{Permissao});
        EXPECT_TRUE(m_verificacoes.isEmpty());
        EXPECT_EQ(m_seam.esperasAbertas, 0);
    }
    EXPECT_EQ(contaStatus(d().resultadosGerados().tbEstudo, QStringLiteral("A")), 1);
}

TEST_F(EnvioDadosTest, PasswordOriginNumberPendingItemsAndHalfEditedRowsStopTheSend)
{
    inclui(d().resultadosGerados().tbEstudo, {{"Status", "A"}, {"Cod_Estudo", "3"}});

    EXPECT_EQ(envia(QString()).etapa, net::EtapaEnvio::SemSenha);
    EXPECT_FALSE(envia(QString()).fechaDialogo());
    EXPECT_EQ(textos().value(0), QStringLiteral("Informe sua senha."));
    EXPECT_TRUE(m_peer.pedidos.isEmpty());

    m_seam.mensagens.clear();
    store::Table& projeto = d().identificacao().tbProjeto;
    projeto.first();
    projeto.edit();
    projeto.setValue(QStringLiteral("NumProjOrigem"), QStringLiteral("12a"));
    projeto.post();
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::OrigemInvalida);
    EXPECT_EQ(textos(), QStringList{QStringLiteral("Nr. Projeto de Origem inválido!\rSó é permitido números neste campo.")});
    EXPECT_EQ(caminhos(), QStringList{Permissao});
    projeto.first();
    projeto.edit();
    projeto.setValue(QStringLiteral("NumProjOrigem"), QString());
    projeto.post();

    m_peer.pedidos.clear();
    m_acoes.verificarPendencia = [this](bool quiet) {
        m_verificacoes << quiet;
        if (quiet)
            throw app::Abort();
    };
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::Pendencias);
    EXPECT_EQ(m_verificacoes, (QList<bool>{false, true}));
    EXPECT_EQ(caminhos(), QStringList{Permissao});

    // A row left in a dialog's working letter, and the user keeps it: nothing at all is asked of the
    // server.
    m_peer.pedidos.clear();
    m_seam.mensagens.clear();
    inclui(d().atividadesApoiadas().tbBolsaAreaConhec, {{"Status", "E"}, {"Cod_Bolsa", "-1"}, {"DescricaoAreaConhec", "GEO"}});
    m_seam.responde(app::Resposta::Nao);
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::EdicaoPendente);
    EXPECT_TRUE(m_peer.pedidos.isEmpty());
    EXPECT_EQ(textos(),
              (QStringList{QStringLiteral("Há registros com edição não concluída em:\r"
                                          "Bolsas - Área de Conhec.: -1 / GEO (E)\r\r"
                                          "Essas edições podem ser desfeitas como o Cancelar do diálogo faria: "
                                          "inclusões não confirmadas são removidas e exclusões não confirmadas, "
                                          "desfeitas.\rDesfazer essas edições e continuar o envio?"),
                           QStringLiteral("Nenhum dado foi enviado.")}));
    EXPECT_EQ(contaStatus(d().atividadesApoiadas().tbBolsaAreaConhec, QStringLiteral("E")), 1);
    EXPECT_EQ(contaStatus(d().resultadosGerados().tbEstudo, QStringLiteral("A")), 1);
}

TEST_F(EnvioDadosTest, ChangesOfSeveralTablesGoOutInOrderWithExactBodies)
{
    store::Table& membro = d().identificacao().tbMembro;
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    store::Table& area = d().resultadosGerados().tbEstudosAreaConhec;
    const auto novo = inclui(membro, {{"Status", "I"}, {"Cod_Membro", "-1"}, {"Nome", "Ana Luz"}, {"KESTA", "4321"},
                                      {"EquipeOriginal", "S"}, {"DescricaoFuncao", "PESQUISADOR"}});
    const auto est = inclui(estudo, {{"Status", "I"}, {"Cod_Estudo", "-2"}, {"Autor", "-1"}, {"Titulo", "Solos"}});
    const auto del = inclui(area, {{"Status", "D"}, {"Cod_Estudo", "8"}, {"DescricaoAreaConhec", "GEO"}});
    const auto filha = inclui(area, {{"Status", "I"}, {"Cod_Estudo", "-2"}, {"DescricaoAreaConhec", "AGRO"}});
    m_respostas[QStringLiteral("/kesta_off/owa/membro_equipe.atualiza_membro")] = "4321\n";
    m_respostas[QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")] = "700\n";

    const net::ResultadoEnvio r = envia();

    EXPECT_EQ(r.etapa, net::EtapaEnvio::Concluido);
    EXPECT_EQ(caminhos(), (QStringList{Permissao, QStringLiteral("/kesta_off/owa/membro_equipe.atualiza_membro"),
                                       QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo"),
                                       QStringLiteral("/kesta_off/owa/estudo.atualiza_estudoareaconhec")}));
    // The children went out with the parents' permanent codes.
    EXPECT_EQ(corpoDe(QStringLiteral("/kesta_off/owa/estudo.atualiza_estudoareaconhec")),
              QByteArray("cod_proj=55&Status=D&Status=I&Cod_Estudo=8&Cod_Estudo=700"
                         "&DescricaoAreaConhec=GEO&DescricaoAreaConhec=AGRO"));
    const QByteArray corpoEstudo = corpoDe(QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo"));
    EXPECT_TRUE(corpoEstudo.startsWith("cod_proj=55&Status=I&Cod_Estudo=%2D2&")) << corpoEstudo.toStdString();
    EXPECT_TRUE(corpoEstudo.contains("&Autor=4321&")) << corpoEstudo.toStdString();
    EXPECT_TRUE(corpoDe(QStringLiteral("/kesta_off/owa/membro_equipe.atualiza_membro"))
                    .startsWith("cod_proj=55&Status=I&Cod_Membro=4321&BIRO=&Nome=ANA+LUZ&EquipeOriginal=S&"));

    EXPECT_EQ(valor(membro, novo, "Cod_Membro"), QStringLiteral("4321"));
    EXPECT_EQ(valor(estudo, est, "Cod_Estudo"), QStringLiteral("700"));
    EXPECT_EQ(valor(estudo, est, "Status"), QStringLiteral("N"));
    EXPECT_FALSE(area.bookmarkValid(del));
    EXPECT_EQ(valor(area, filha, "Status"), QStringLiteral("N"));
    EXPECT_EQ(textos(), QStringList{Sucesso});
    EXPECT_EQ(m_salvamentos, 1);
    EXPECT_TRUE(app::Estado().ProjectModified);
}

TEST_F(EnvioDadosTest, RefusalsChooseTheSummary)
{
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    store::Table& area = d().resultadosGerados().tbEstudosAreaConhec;
    const auto recusado = inclui(estudo, {{"Status", "I"}, {"Cod_Estudo", "-2"}});
    const auto aceito = inclui(estudo, {{"Status", "I"}, {"Cod_Estudo", "-3"}});
    const auto del = inclui(area, {{"Status", "D"}, {"Cod_Estudo", "8"}, {"DescricaoAreaConhec", "GEO"}});
    m_respostas[QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")] = "-5\n90\n";
    m_respostas[QStringLiteral("/kesta_off/owa/estudo.atualiza_estudoareaconhec")] = "-1\n";

    const net::ResultadoEnvio r = envia();

    EXPECT_EQ(valor(estudo, recusado, "Status"), QStringLiteral("I"));
    EXPECT_EQ(valor(estudo, aceito, "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(estudo, aceito, "Cod_Estudo"), QStringLiteral("90"));
    EXPECT_EQ(valor(area, del, "Status"), QStringLiteral("D"));
    EXPECT_TRUE(r.flags.erro && r.flags.erroResposta && r.flags.exclusaoRecusada);
    ASSERT_EQ(textos().size(), 4);
    EXPECT_TRUE(textos()[0].startsWith(QStringLiteral("ERRO: -5. Informações de Estudos")));
    EXPECT_EQ(textos()[1], Alguns);
    EXPECT_EQ(textos()[2], QStringLiteral("Atenção:\rNão foi possível excluir alguns dos registros especificados."));
    EXPECT_EQ(textos()[3], ComErro);
    EXPECT_EQ(m_salvamentos, 1);

    // Only a refused deletion: the send itself went well.
    m_seam.mensagens.clear();
    m_respostas.clear();
    m_respostas[QStringLiteral("/kesta_off/owa/estudo.atualiza_estudoareaconhec")] = "-1\n";
    m_respostas[QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")] = "91\n";
    envia();
    EXPECT_EQ(textos(), (QStringList{QStringLiteral("Atenção:\rNão foi possível excluir alguns dos registros "
                                                    "especificados."),
                                     Sucesso}));
}

TEST_F(EnvioDadosTest, FailedRequestStopsTheSendLeavesLaterTablesAndSavesNothing)
{
    store::Table& membro = d().identificacao().tbMembro;
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    inclui(d().identificacao().tbInstituicao, {{"Status", "A"}, {"Cod_Inst", "4"}});
    const auto m = inclui(membro, {{"Status", "A"}, {"Cod_Membro", "10"}});
    const auto e = inclui(estudo, {{"Status", "A"}, {"Cod_Estudo", "3"}});
    m_respostas[QStringLiteral("/kesta_off/owa/instituicao_envolvida.atualiza_instituicao")] = "4\n";
    m_respostas[QStringLiteral("/kesta_off/owa/membro_equipe.atualiza_membro")] = "<html><body>erro</body></html>";

    const net::ResultadoEnvio r = envia();

    EXPECT_EQ(r.etapa, net::EtapaEnvio::FalhaEnvio);
    EXPECT_EQ(caminhos().last(), QStringLiteral("/kesta_off/owa/membro_equipe.atualiza_membro"));
    EXPECT_EQ(caminhos().size(), 3);
    EXPECT_EQ(contaStatus(d().identificacao().tbInstituicao, QStringLiteral("N")), 1);
    EXPECT_EQ(valor(membro, m, "Status"), QStringLiteral("A"));
    EXPECT_EQ(valor(estudo, e, "Status"), QStringLiteral("A"));
    EXPECT_EQ(textos(), (QStringList{net::TextoFalha(net::FalhaPaginaHtml),
                                     QStringLiteral("Problemas para enviar Membros.\rAs informações relacionadas com "
                                                    "Membros também deverão estar comprometidas.")}));
    EXPECT_EQ(m_salvamentos, 0);
    EXPECT_FALSE(membro.hasIndex(QStringLiteral("Status")));
}

TEST_F(EnvioDadosTest, AnswerShortOfLinesFailsThatTableOnlyAndASecondSendSendsWhatIsLeft)
{
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    store::Table& area = d().resultadosGerados().tbEstudosAreaConhec;
    const auto e1 = inclui(estudo, {{"Status", "I"}, {"Cod_Estudo", "-1"}});
    const auto e2 = inclui(estudo, {{"Status", "I"}, {"Cod_Estudo", "-2"}});
    const auto a1 = inclui(area, {{"Status", "I"}, {"Cod_Estudo", "-1"}, {"DescricaoAreaConhec", "A"}});
    const auto a2 = inclui(area, {{"Status", "I"}, {"Cod_Estudo", "-2"}, {"DescricaoAreaConhec", "B"}});
    m_respostas[QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")] = "71\n";

    const net::ResultadoEnvio r = envia();

    EXPECT_EQ(r.etapa, net::EtapaEnvio::Concluido);
    EXPECT_TRUE(r.flags.erro);
    EXPECT_EQ(valor(estudo, e1, "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(estudo, e2, "Status"), QStringLiteral("I"));
    EXPECT_EQ(valor(area, a1, "Cod_Estudo"), QStringLiteral("71"));
    EXPECT_EQ(valor(area, a1, "Status"), QStringLiteral("N"));  // the next table went on
    EXPECT_EQ(valor(area, a2, "Status"), QStringLiteral("N"));
    ASSERT_EQ(textos().size(), 3);
    EXPECT_TRUE(textos()[0].startsWith(QStringLiteral(
        "Problemas para enviar Estudos .\rAs informações relacionadas com Estudos também deverão estar "
        "comprometidas.\rRepita a operação posteriormente.\rCaso o problema persista, contacte o suporte, "
        "indicando a seguinte mensagem:\r")));
    EXPECT_EQ(textos()[1], Alguns);
    EXPECT_EQ(textos()[2], ComErro);
    EXPECT_EQ(m_salvamentos, 1);

    // The row left unanswered may be on the server already: the second send asks first, and only on
    // an explicit Sim carries that row alone.
    m_peer.pedidos.clear();
    m_seam.mensagens.clear();
    m_respostas.clear();
    m_respostas[QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")] = "72\n";
    m_seam.responde(app::Resposta::Sim);
    envia();
    ASSERT_FALSE(m_seam.mensagens.isEmpty());
    EXPECT_EQ(m_seam.mensagens[0].botoes, app::Botoes::SimNao);
    EXPECT_TRUE(m_seam.mensagens[0].texto.contains(QStringLiteral(" (inclusão, código -2): enviado em ")))
        << m_seam.mensagens[0].texto.toStdString();
    m_seam.mensagens.removeFirst();
    EXPECT_EQ(caminhos(), (QStringList{Permissao, QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")}));
    EXPECT_EQ(corpoDe(QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")).count("&Status="), 1);
    EXPECT_TRUE(corpoDe(QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")).contains("&Cod_Estudo=%2D2&"));
    EXPECT_EQ(valor(estudo, e2, "Cod_Estudo"), QStringLiteral("72"));
    EXPECT_EQ(textos(), QStringList{Sucesso});
}

// A project saved with rows in every working letter: the send lists them and asks; No sends nothing
// and keeps them; Yes ends those edits as Cancelar would, and nothing goes out with a working letter.
TEST_F(EnvioDadosTest, WorkingLettersOfASavedProjectAreUndoneOnlyAfterTheUserAgrees)
{
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    store::Table& areas = d().resultadosGerados().tbEstudosAreaConhec;
    store::Table& bolsaAreas = d().atividadesApoiadas().tbBolsaAreaConhec;
    store::Table& trabAreas = d().atividadesApoiadas().tbTrabalhoAreaConhec;
    inclui(estudo, {{"Status", "X"}, {"Cod_Estudo", "78"}, {"Titulo", "EXCLUSAO DESISTIDA"}});
    inclui(estudo, {{"Status", "Y"}, {"Cod_Estudo", "-6"}, {"Titulo", "NOVO MANTIDO"}});
    inclui(estudo, {{"Status", "M"}, {"Cod_Estudo", "-5"}, {"Titulo", "NOVO EM TESTE"}});
    inclui(estudo, {{"Status", "Z"}, {"Cod_Estudo", "77"}, {"Titulo", "ALTERADO EM TESTE"}});
    inclui(areas, {{"Status", "E"}, {"Cod_Estudo", "78"}, {"DescricaoAreaConhec", "GEO"}});
    inclui(bolsaAreas, {{"Status", "Q"}, {"Cod_Bolsa", "9"}, {"DescricaoAreaConhec", "AGRO"}});
    inclui(trabAreas, {{"Status", "P"}, {"Cod_Trab", "-3"}, {"DescArea", "BIO"}});
    const QString arquivo = m_dir.filePath(QStringLiteral("letras.prj"));
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    d().geral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(arquivo));

    m_seam.responde(app::Resposta::Nao);
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::EdicaoPendente);
    EXPECT_TRUE(m_peer.pedidos.isEmpty());
    ASSERT_EQ(textos().size(), 2);
    for (const char* linha : {"Estudos: 78 (X)", "Estudos: -6 (Y)", "Estudos: -5 (M)", "Estudos: 77 (Z)",
                              "Estudos - Áreas de Conhec.: 78 / GEO (E)", "Bolsas - Área de Conhec.: 9 / AGRO (Q)"})
        EXPECT_TRUE(textos()[0].contains(QString::fromUtf8(linha))) << linha << "\n" << textos()[0].toStdString();
    EXPECT_EQ(contaStatus(estudo, QStringLiteral("X")), 1);
    EXPECT_EQ(contaStatus(areas, QStringLiteral("E")), 1);

    m_seam.mensagens.clear();
    m_seam.responde(app::Resposta::Sim);
    const net::ResultadoEnvio r = envia();
    EXPECT_EQ(r.etapa, net::EtapaEnvio::Concluido);
    // Only the studies went out: the rows added inside dialogs were removed, not sent.
    EXPECT_EQ(caminhos(), (QStringList{Permissao, QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo")}));
    const QByteArray corpo = corpoDe(QStringLiteral("/kesta_off/owa/estudo.atualiza_estudo"));
    EXPECT_EQ(corpo.count("&Status="), 4);
    EXPECT_EQ(corpo.count("&Status=A"), 2) << corpo.constData();  // 78 (was X) and 77 (server code)
    EXPECT_EQ(corpo.count("&Status=I"), 2) << corpo.constData();  // -6 (was Y) and -5 (provisional)
    for (const char* letra : {"E", "X", "Y", "P", "Q", "M", "Z"})
        EXPECT_FALSE(corpo.contains(QByteArray(QByteArray("&Status=") + letra + '&'))) << letra;
    EXPECT_EQ(apoio::contaLinhas(areas), 0);
    EXPECT_EQ(apoio::contaLinhas(bolsaAreas), 0);
    EXPECT_EQ(apoio::contaLinhas(trabAreas), 0);
    EXPECT_EQ(textos().back(), Sucesso);
    EXPECT_EQ(m_salvamentos, 1);
}

namespace {

// Every row of every table, whatever the filters show, with the filter settings: what "identical"
// means for the preview's Cancelar.
QStringList retrato(store::Dados& dados, bool comFiltros = true)
{
    QStringList r;
    for (store::Table* t : dados.armazenadas()) {
        r << t->name();
        if (comFiltros)
            r << t->filter() + QLatin1Char('|') + QString::number(t->filtered()) + QLatin1Char('|') + t->indexName();
        const bool f = t->filtered();
        t->setFiltered(false);
        for (store::Table::Bookmark b : t->visibleRows()) {
            QStringList v;
            for (int c = 0; c < t->fieldCount(); ++c)
                v << t->rowValue(b, c);
            r << v.join(QLatin1Char('|'));
        }
        t->setFiltered(f);
    }
    return r;
}

} // namespace

// The preview counts, per section, what the send then carries; its Cancelar sends no table and
// changes nothing.
TEST_F(EnvioDadosTest, PreviewCountsWhatTheSendCarriesAndItsCancelChangesNothing)
{
    store::Table& membro = d().identificacao().tbMembro;
    store::Table& estudo = d().resultadosGerados().tbEstudo;
    store::Table& area = d().resultadosGerados().tbEstudosAreaConhec;
    inclui(membro, {{"Status", "I"}, {"Cod_Membro", "-1"}, {"Nome", "Ana"}, {"KESTA", "4321"}});
    inclui(membro, {{"Status", "A"}, {"Cod_Membro", "12"}, {"Nome", "Bia"}});
    inclui(membro, {{"Status", "N"}, {"Cod_Membro", "13"}, {"Nome", "Caio"}});
    inclui(estudo, {{"Status", "D"}, {"Cod_Estudo", "8"}});
    inclui(estudo, {{"Status", "D"}, {"Cod_Estudo", "9"}});
    inclui(estudo, {{"Status", "A"}, {"Cod_Estudo", "10"}});
    inclui(area, {{"Status", "I"}, {"Cod_Estudo", "10"}, {"DescricaoAreaConhec", "GEO"}});
    inclui(area, {{"Status", "F"}, {"Cod_Estudo", "10"}, {"DescricaoAreaConhec", "NENHUMA"}});
    const QString arquivo = m_dir.filePath(QStringLiteral("antes.prj"));
    ASSERT_TRUE(store::GravaProjeto(arquivo));
    app::SetModified(false);
    const QStringList antes = retrato(d());

    std::vector<net::PreviaDaTabela> vista;
    m_acoes.confirmaPrevia = [&](const std::vector<net::PreviaDaTabela>& p) {
        vista = p;
        return false;
    };
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::PreviaCancelada);
    EXPECT_EQ(caminhos(), QStringList{Permissao});  // after the permission, before any table
    EXPECT_EQ(m_verificacoes, (QList<bool>{false, true}));
    EXPECT_TRUE(retrato(d()) == antes);
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_TRUE(store::Envios().vazio());
    EXPECT_TRUE(textos().isEmpty());
    const QString depois = m_dir.filePath(QStringLiteral("depois.prj"));
    ASSERT_TRUE(store::GravaProjeto(depois));
    d().geral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(depois));
    const QStringList doDepois = retrato(d(), false);
    d().geral().ClearTables();
    ASSERT_TRUE(store::LeProjeto(arquivo));
    // The archive written after the preview holds what the one written before it holds.
    EXPECT_TRUE(retrato(d(), false) == doDepois);

    ASSERT_EQ(vista.size(), 3u);
    EXPECT_EQ(net::TextoDaPrevia(vista),
              (QStringList{QStringLiteral("Membros: 1 inclusão(ões), 1 alteração(ões), 0 exclusão(ões)"),
                           QStringLiteral("Estudos: 0 inclusão(ões), 1 alteração(ões), 2 exclusão(ões)"),
                           QStringLiteral("Estudos - Áreas de Conhec.: 1 inclusão(ões), 0 alteração(ões), 0 exclusão(ões)")}));

    // "Enviar": each section's request carries exactly the rows the preview counted.
    m_peer.pedidos.clear();
    m_acoes.confirmaPrevia = [](const std::vector<net::PreviaDaTabela>&) { return true; };
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::Concluido);
    ASSERT_EQ(caminhos().size(), 4);
    for (const net::PreviaDaTabela& p : vista) {
        QByteArray corpo;
        for (const net::LinhaDeEnvio& l : net::TabelaDeEnvio)
            if (QString::fromLatin1(l.tabela) == p.tabela)
                corpo = corpoDe(QStringLiteral("/kesta_off/owa/") + QString::fromLatin1(l.procedimento));
        SCOPED_TRACE(p.tabela.toStdString());
        const auto conta = [&](char letra) {
            const QByteArray chave = QByteArray("&Status=") + letra;
            return corpo.count(QByteArray(chave + '&')) + (corpo.endsWith(chave) ? 1 : 0);
        };
        EXPECT_EQ(conta('I'), p.inclusoes);
        EXPECT_EQ(conta('A'), p.alteracoes);
        EXPECT_EQ(conta('D'), p.exclusoes);
    }

    // Nothing left to send: said at once, and no table request.
    m_peer.pedidos.clear();
    m_seam.mensagens.clear();
    bool previaMostrada = false;
    m_acoes.confirmaPrevia = [&](const std::vector<net::PreviaDaTabela>&) { return previaMostrada = true; };
    EXPECT_EQ(envia().etapa, net::EtapaEnvio::Concluido);
    EXPECT_FALSE(previaMostrada);
    EXPECT_EQ(caminhos(), QStringList{Permissao});
    EXPECT_EQ(textos(), QStringList{Nada});
}
