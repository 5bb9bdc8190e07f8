#include "net/Verificacao.h"

#include "RegistroFalso.h"
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include "ImprimeQt.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class Verificacao : public ::testing::Test
{
protected:
    void SetUp() override
    {
        store::criaDados();
        store::DataGeral().EmptyRecord();
        net::Contadores() = {};
    }
    void TearDown() override { store::destroiDados(); }

    store::Table& membros() { return store::DataIdentificacao().tbMembro; }
    store::Table& bolsas() { return store::DataAtividadesApoiadas().tbBolsa; }

    void membro(const QString& cod, const QString& nome, const QString& kesta = {}, const QString& biro = {},
                const QString& funcao = u"PESQUISADOR"_s, const QString& status = u"N"_s)
    {
        adiciona(membros(), {{"Status", status}, {"Cod_Membro", cod}, {"Nome", nome}, {"EquipeOriginal", u"S"_s},
                             {"DescricaoFuncao", funcao}, {"KESTA", kesta}, {"BIRO", biro}});
    }
    void bolsa(const QString& cod, const QString& nome, const QString& kesta = {}, const QString& biro = {},
               const QString& instDestino = {}, const QString& nomeInst = {})
    {
        adiciona(bolsas(), {{"Status", u"N"_s}, {"Cod_Bolsa", cod}, {"NomeBolsista", nome}, {"Modalidade", u"IC"_s},
                            {"KESTA", kesta}, {"BIROBolsista", biro}, {"BIROInstDestino", instDestino},
                            {"NomeInstDestino", nomeInst}});
    }
    // The column of the visible row whose key column holds `chave`.
    static QString valor(store::Table& t, const QString& chaveCol, const QString& chave, const QString& coluna)
    {
        for (auto b : t.visibleRows())
            if (t.rowValue(b, t.fieldIndex(chaveCol)) == chave)
                return t.rowValue(b, t.fieldIndex(coluna));
        ADD_FAILURE() << "sem linha " << qPrintable(chave);
        return {};
    }
};

} // namespace

TEST(StripInfo, RespostasDoRegistroNacional)
{
    net::InfoBIRO a = net::StripInfo("0; 123; MARIA SILVA; maria@x.br\n", 33);
    EXPECT_TRUE(a.lida);
    EXPECT_EQ(a.codigo, u"123"_s);
    EXPECT_EQ(a.nome, u"MARIA SILVA"_s);
    EXPECT_EQ(a.email, u"maria@x.br"_s);
    // An e-mail closed by a ";" loses the character before it too, as the one before the reply's end.
    EXPECT_EQ(net::StripInfo("0; 123; MARIA SILVA; maria@x.br ;\n", 34).email, u"maria@x.br"_s);

    // No e-mail field: the name runs to the end less its last character, and the e-mail is empty.
    net::InfoBIRO b = net::StripInfo("0; 77; INSTITUTO\n", 17);
    EXPECT_TRUE(b.lida);
    EXPECT_EQ(b.codigo, u"77"_s);
    EXPECT_EQ(b.nome, u"INSTITUTO"_s);
    EXPECT_EQ(b.email, QString());

    // Only the given length is read, whatever follows it.
    const QByteArray longa = "0; 5; ANA\n; sobra; outra@x\n";
    net::InfoBIRO c = net::StripInfo(longa, 10);
    EXPECT_EQ(c.nome, u"ANA"_s);
    EXPECT_EQ(c.email, QString());

    // Without separators there is nothing to read.
    EXPECT_FALSE(net::StripInfo("0\n", 2).lida);
    EXPECT_FALSE(net::StripInfo("0; 123 sem mais nada\n", 21).lida);
}

TEST(StripInfo, RespostasDoCadastroKESTA)
{
    net::InfoKESTA a = net::StripInfoKESTA("4711|Jos\xE9 Souza|\n", 17);
    EXPECT_TRUE(a.lida);
    EXPECT_EQ(a.codigo, u"4711"_s);
    EXPECT_EQ(a.nome, u"José Souza"_s);
    net::InfoKESTA b = net::StripInfoKESTA("12|ANA\n", 7);
    EXPECT_EQ(b.nome, u"ANA"_s);
    EXPECT_FALSE(net::StripInfoKESTA("resposta sem barras\n", 20).lida);
}

TEST_F(Verificacao, LocalSemAreaESemCoordenadorAtivo)
{
    app::InteracaoRoteirizada ui;
    membro(u"1"_s, u"ANA"_s, {}, {}, u"COORDENADOR"_s, u"D"_s);
    membro(u"2"_s, u"BETO"_s);
    EXPECT_FALSE(net::VerificaPendenciasLocais());
    EXPECT_EQ(net::Validacao().MemoErr,
              (QStringList{u"É obrigatório indicar pelo menos uma área de Atuação (Área do Conhecimento ou Setor Econômico)."_s,
                           u"O projeto precisa ter pelo menos um COORDENADOR ativo."_s}));
    EXPECT_EQ(ui.textosEspera.value(0), u"Verificando Pendências Locais"_s);
    EXPECT_FALSE(ui.esperaAberta());
    // The members' filter is back as it was.
    EXPECT_EQ(membros().filter(), u"Status <> 'D' and Status <> 'F'"_s);
    EXPECT_EQ(membros().recordCount(), 1);

    adiciona(store::DataGeral().tbSetorEconAting, {{"Status", u"N"_s}, {"DescrSetorEcon", u"AGRICULTURA"_s}});
    membro(u"3"_s, u"CARLA"_s, {}, {}, u"COORDENADOR"_s);
    EXPECT_TRUE(net::VerificaPendenciasLocais());
    EXPECT_TRUE(net::Validacao().MemoErr.isEmpty());
}

TEST_F(Verificacao, KESTAInexistenteNosDoisModos)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    membro(u"1"_s, u"ANA"_s, u"900"_s);
    QStringList erros, avisos;

    EXPECT_FALSE(net::VerificaPessoaKESTA(erros, avisos, false));
    EXPECT_EQ(erros, QStringList{u"Código KESTA do membro inexistente: 900"_s});
    EXPECT_EQ(net::Contadores().DiferencasPessoas, 1);
    EXPECT_EQ(net::Contadores().ErrosPessoas, 0);

    EXPECT_FALSE(net::VerificaPessoaKESTA(erros, avisos, true));
    EXPECT_EQ(erros, QStringList{u"Não foi possível realizar a operação para o código KESTA 900"_s});
    EXPECT_EQ(net::Contadores().DiferencasPessoas, 1);
    EXPECT_EQ(net::Contadores().ErrosPessoas, 1);

    EXPECT_EQ(reg.corpos(), (QList<QByteArray>{"id_membro=900&nome=ANA&status=0", "id_membro=900&nome=ANA&status=1"}));
}

TEST_F(Verificacao, KESTABuscaPorCodigoPorBiroEPorNome)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    reg.porCodigo[u"10"_s] = {u"10"_s, u"Ana Lima"_s};
    reg.porBiro[u"B20"_s] = {u"20"_s, u"BETO REIS"_s};
    reg.porNome[u"JOÃO DA SILVA"_s] = {u"30"_s, u"JOÃO DA SILVA"_s};
    membro(u"1"_s, u"ANA LIMA "_s, u"10"_s);
    membro(u"2"_s, u"Roberto Reis"_s, {}, u"b20"_s);
    membro(u"3"_s, u"joão da silva"_s);
    membro(u"4"_s, u"Ninguém"_s);
    bolsa(u"7"_s, u"PEDRO"_s);

    QStringList erros, avisos;
    EXPECT_TRUE(net::VerificaPessoaKESTA(erros, avisos, false));
    EXPECT_EQ(reg.corpos(), (QList<QByteArray>{
                                "id_membro=10&nome=ANA+LIMA&status=0",
                                "biro=B20&nome=ROBERTO+REIS&status=0",
                                "nome=JO%C3O+DA+SILVA&status=0",
                                "nome=NINGU%C9M&status=0",
                                "nome=PEDRO&status=0",
                            }));
    EXPECT_EQ(reg.caminhos().value(0), u"/kesta_off/owa/pessoa.Valida_id"_s);
    EXPECT_EQ(reg.caminhos().value(1), u"/kesta_off/owa/pessoa.Valida_biro"_s);
    EXPECT_EQ(reg.caminhos().value(2), u"/kesta_off/owa/pessoa.Valida_nome"_s);
    // Case and blanks make no difference; another name does.
    EXPECT_EQ(avisos,
              (QStringList{u"O código KESTA \"20\" corresponde ao pesquisador \"BETO REIS\". O nome cadastrado localmente é \"Roberto Reis\"."_s,
                           u"Membro Ninguém não existe no KESTA."_s,
                           u"Registro para o Bolsista PEDRO não existe no KESTA."_s}));
    EXPECT_EQ(net::Contadores().DiferencasPessoas, 3);
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"2"_s, u"KESTA"_s), u"20"_s);
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"2"_s, u"Nome_KESTA"_s), u"BETO REIS"_s);
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"3"_s, u"KESTA"_s), u"30"_s);
    // Nothing changes a row's status.
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"2"_s, u"Status"_s), u"N"_s);
}

TEST_F(Verificacao, BIROCaixaEmailERespostaSemSeparadores)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    reg.pesquisadores[u"111"_s] = {u"ana lima"_s, u"ana@x.br"_s};
    reg.pesquisadores[u"222"_s] = {u"Beto Reis"_s, {}, true};
    reg.respostasForcadas[u"/biro/owa/kesta_proc.ValidaPesq?login=333"_s] = "0; 333 sem separador\n";
    membro(u"1"_s, u"ANA LIMA"_s, {}, u"111"_s);
    membro(u"2"_s, u"Roberto"_s, {}, u"222"_s, u"COORDENADOR"_s);
    membro(u"3"_s, u"Carla"_s, {}, u"333"_s);
    membro(u"4"_s, u"Davi"_s, {}, u"999"_s);

    QStringList erros, avisos;
    EXPECT_FALSE(net::VerificaPessoaBIRO(erros, avisos, false));
    EXPECT_EQ(reg.corpos().value(0), QByteArray("login=111"));
    EXPECT_EQ(reg.caminhos().value(0), u"/biro/owa/kesta_proc.ValidaPesq"_s);
    // Only the case differs: no warning, the registry name stored upper-cased.
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"1"_s, u"Nome_BIRO"_s), u"ANA LIMA"_s);
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"2"_s, u"Nome_BIRO"_s), u"BETO REIS"_s);
    EXPECT_EQ(avisos, QStringList{u"O código BIRO \"222\" corresponde ao pesquisador \"BETO REIS\". O nome cadastrado localmente é \"Roberto\"."_s});
    // The coordinator's reply has no e-mail field: an empty e-mail, not the one read before it.
    EXPECT_EQ(erros, (QStringList{u"O Coordenador não possui e-mail cadastrado no BIRO"_s,
                                  u"Resposta não reconhecida do BIRO para o código 333"_s,
                                  u"Código BIRO do membro inválido : 999"_s}));
    EXPECT_EQ(net::Contadores().ErrosPessoas, 2);
    EXPECT_EQ(net::Contadores().DiferencasPessoas, 1);
}

TEST_F(Verificacao, InstituicoesNomeIgualNadaEscreve)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    reg.instituicoes[u"1001"_s] = u"Universidade Federal"_s;
    reg.instituicoes[u"1002"_s] = u"INSTITUTO NOVO"_s;
    store::Table& inst = store::DataIdentificacao().tbInstituicao;
    auto instituicao = [&](const char* cod, const char* biro, const char* nome) {
        adiciona(inst, {{"Status", u"N"_s}, {"Cod_Inst", QString::fromUtf8(cod)}, {"BIRO", QString::fromUtf8(biro)},
                        {"Nome", QString::fromUtf8(nome)}, {"TipoEnvolvimento", u"EXECUTORA"_s},
                        {"TipoVinculacao", u"PUBLICA"_s}});
    };
    instituicao("1", "1001", "UNIVERSIDADE FEDERAL");
    instituicao("2", "1002", "Instituto Velho");
    instituicao("3", " 1003", "Outra");
    adiciona(store::DataAtividadesApoiadas().tbCapacit,
             {{"Status", u"N"_s}, {"Cod_Capacitacao", u"5"_s}, {"TipodeCapacitacao", u"CURSO"_s}});

    QStringList erros, avisos;
    EXPECT_FALSE(net::VerificaInstituicao(erros, avisos));
    EXPECT_EQ(valor(inst, u"Cod_Inst"_s, u"1"_s, u"Nome_BIRO"_s), QString());
    EXPECT_EQ(valor(inst, u"Cod_Inst"_s, u"2"_s, u"Nome_BIRO"_s), u"INSTITUTO NOVO"_s);
    EXPECT_EQ(avisos, QStringList{u"O código BIRO \"1002\" corresponde à instituição \"INSTITUTO NOVO\". O nome cadastrado localmente é \"Instituto Velho\"."_s});
    EXPECT_EQ(erros, QStringList{u"Código da instituição inválido :  1003"_s});
    EXPECT_EQ(net::Contadores().DiferencasInstituicoes, 1);
    EXPECT_EQ(net::Contadores().ErrosInstituicoes, 1);
    // The code travels as stored; a training row without a code is not looked up.
    EXPECT_EQ(reg.corpos(), (QList<QByteArray>{"inst=1001", "inst=1002", "inst= 1003"}));
}

TEST_F(Verificacao, FalhaDePedidoParaTudo)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    reg.peer.modo = PeerHttp::Modo::Fecha;
    membro(u"1"_s, u"ANA"_s, u"10"_s);
    membro(u"2"_s, u"BIA"_s, u"11"_s);
    QStringList erros, avisos;
    EXPECT_FALSE(net::VerificaPessoaKESTA(erros, avisos, false));
    EXPECT_EQ(erros, QStringList{net::TextoFalha(-2)});
    ASSERT_EQ(ui.mensagens.size(), 1);
    EXPECT_EQ(ui.mensagens[0].texto, net::TextoFalha(-2));
    EXPECT_EQ(ui.mensagens[0].icone, app::Icone::Informacao);
    // The walk stopped at the first member.
    for (const QByteArray& corpo : reg.corpos())
        EXPECT_EQ(corpo, QByteArray("id_membro=10&nome=ANA&status=0"));
}

TEST_F(Verificacao, CadastrosSemAchadosTerminaComNenhumErro)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    reg.porCodigo[u"10"_s] = {u"10"_s, u"ANA"_s};
    reg.pesquisadores[u"111"_s] = {u"ANA"_s, u"ana@x"_s};
    membro(u"1"_s, u"ANA"_s, u"10"_s, u"111"_s, u"COORDENADOR"_s);
    reg.porBiro[u"111"_s] = {u"10"_s, u"ANA"_s};
    EXPECT_TRUE(net::VerificaCadastros(false));
    EXPECT_EQ(net::Validacao().MemoErr, QStringList{u"Nenhum erro encontrado."_s});
    EXPECT_TRUE(net::Validacao().MemoWarn.isEmpty());
    EXPECT_TRUE(ui.inesperadas.isEmpty());
    EXPECT_FALSE(ui.esperaAberta());
    EXPECT_EQ(ui.status[2], QString());
    EXPECT_TRUE(ui.textosEspera.contains(u"Verificando na Base do KESTA..."_s));
    EXPECT_TRUE(ui.textosEspera.contains(u"Verificando na Base do BIRO..."_s));
}

TEST_F(Verificacao, CadastrosNomesAjustadosAposSim)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    reg.porCodigo[u"10"_s] = {u"10"_s, u"ANA MARIA LIMA"_s};
    reg.pesquisadores[u"111"_s] = {u"ANA M. LIMA"_s, u"a@x"_s};
    reg.porBiro[u"111"_s] = {u"10"_s, u"ANA MARIA LIMA"_s};
    reg.instituicoes[u"1002"_s] = u"INSTITUTO NOVO"_s;
    membro(u"1"_s, u"Ana Lima"_s, u"10"_s, u"111"_s, u"COORDENADOR"_s);
    adiciona(store::DataIdentificacao().tbInstituicao,
             {{"Status", u"N"_s}, {"Cod_Inst", u"2"_s}, {"BIRO", u"1002"_s}, {"Nome", u"Instituto Velho"_s},
              {"TipoEnvolvimento", u"EXECUTORA"_s}, {"TipoVinculacao", u"PUBLICA"_s}});
    ui.responde(app::Resposta::Sim);
    ui.responde(app::Resposta::Sim);
    app::SetModified(false);
    EXPECT_TRUE(net::VerificaCadastros(false));
    EXPECT_TRUE(app::Estado().ProjectModified);
    ASSERT_EQ(ui.mensagens.size(), 2);
    EXPECT_EQ(ui.mensagens[0].titulo, u"Verificação no KESTA Concluída"_s);
    EXPECT_EQ(ui.mensagens[0].botoes, app::Botoes::SimNao);
    EXPECT_TRUE(ui.mensagens[0].texto.startsWith(u"Os dados do projeto foram analisados.\r\rAlgumas pessoas estão cadastrados no KESTA\r"_s));
    EXPECT_EQ(ui.mensagens[1].titulo, u"Verificação no BIRO Concluída"_s);
    // KESTA's name first, then the national registry's over it.
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"1"_s, u"Nome"_s), u"ANA M. LIMA"_s);
    EXPECT_EQ(valor(store::DataIdentificacao().tbInstituicao, u"Cod_Inst"_s, u"2"_s, u"Nome"_s), u"INSTITUTO NOVO"_s);
    EXPECT_EQ(net::Validacao().MemoErr, QStringList{u"Nenhum erro encontrado."_s});
    // Two from the programme's register, one for the institution, one from the national registry.
    EXPECT_EQ(net::Validacao().MemoWarn.size(), 4);
}

TEST_F(Verificacao, CadastrosNaoDeixaNomesComoEstao)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    reg.porCodigo[u"10"_s] = {u"10"_s, u"ANA MARIA LIMA"_s};
    membro(u"1"_s, u"Ana Lima"_s, u"10"_s);
    ui.responde(app::Resposta::Nao);
    app::SetModified(false);
    EXPECT_FALSE(net::VerificaCadastros(false));
    EXPECT_FALSE(app::Estado().ProjectModified);
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"1"_s, u"Nome"_s), u"Ana Lima"_s);
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"1"_s, u"Nome_KESTA"_s), u"ANA MARIA LIMA"_s);
    EXPECT_TRUE(net::Validacao().MemoErr.isEmpty());
    EXPECT_EQ(net::Validacao().MemoWarn.size(), 1);
    // No national-registry look-up after a No.
    for (const QString& c : reg.caminhos())
        EXPECT_FALSE(c.startsWith(u"/biro/"_s));
    EXPECT_FALSE(ui.esperaAberta());
}

TEST_F(Verificacao, CadastrosModoSilencioso)
{
    app::InteracaoRoteirizada ui;
    RegistroFalso reg;
    reg.porCodigo[u"10"_s] = {u"10"_s, u"OUTRO NOME"_s};
    reg.instituicoes[u"1002"_s] = u"X"_s;
    membro(u"1"_s, u"Ana"_s, u"10"_s);
    membro(u"2"_s, u"Bia"_s, u"77"_s);
    adiciona(store::DataIdentificacao().tbInstituicao,
             {{"Status", u"N"_s}, {"Cod_Inst", u"2"_s}, {"BIRO", u"1002"_s}, {"Nome", u"Y"_s},
              {"TipoEnvolvimento", u"EXECUTORA"_s}, {"TipoVinculacao", u"PUBLICA"_s}});
    EXPECT_FALSE(net::VerificaCadastros(true));
    // No wait window, no question, no institution look-up.
    EXPECT_TRUE(ui.textosEspera.isEmpty());
    EXPECT_TRUE(ui.mensagens.isEmpty());
    for (const QString& c : reg.caminhos())
        EXPECT_NE(c, u"/biro/owa/kesta_proc.ValidaInst"_s);
    EXPECT_EQ(net::Validacao().MemoErr, QStringList{u"Não foi possível realizar a operação para o código KESTA 77"_s});
    EXPECT_EQ(net::Contadores().ErrosPessoas, 1);
    for (const QByteArray& corpo : reg.corpos()) {
        if (corpo.startsWith("id_membro")) {
            EXPECT_TRUE(corpo.endsWith("&status=1"));
        }
    }
}

TEST_F(Verificacao, AjustaKESTACopiaOCodigoProprio)
{
    membro(u"41"_s, u"ANA"_s);
    membro(u"42"_s, u"BIA"_s, {}, {}, u"PESQUISADOR"_s, u"D"_s);
    bolsa(u"7"_s, u"PEDRO"_s);
    net::AjustaKESTA(membros());
    net::AjustaKESTA(bolsas());
    membros().setFiltered(false);
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"41"_s, u"KESTA"_s), u"41"_s);
    EXPECT_EQ(valor(membros(), u"Cod_Membro"_s, u"42"_s, u"KESTA"_s), u"42"_s);
    membros().setFiltered(true);
    EXPECT_EQ(valor(bolsas(), u"Cod_Bolsa"_s, u"7"_s, u"KESTA"_s), u"7"_s);
    EXPECT_TRUE(membros().filtered());
}
