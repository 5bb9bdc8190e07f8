#include "server/Tabelas.h"
#include "tests/support/ServidorDeTeste.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString Owa = QStringLiteral("/kesta_off/owa/");

QByteArray Carga(const ServidorDeTeste& s, const QString& procedimento, const QByteArray& projeto = "1")
{
    return s.kesta(Owa + QStringLiteral("carga_tabelas_off.") + procedimento, "cod_projeto=" + projeto).corpo;
}

// The rows of a framed reply, each split into its fields (the trailing "|" dropped).
std::vector<QStringList> Linhas(const QString& texto)
{
    std::vector<QStringList> linhas;
    const qsizetype inicio = texto.indexOf(QStringLiteral("<InitTab>\n"));
    const qsizetype fim = texto.indexOf(QStringLiteral("<FimTab>"));
    if (inicio < 0 || fim < 0)
        return linhas;
    const QString corpo = texto.mid(inicio + 10, fim - inicio - 10);
    for (const QString& l : corpo.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QStringList campos = l.split(QLatin1Char('|'));
        if (!campos.isEmpty() && campos.last().isEmpty())
            campos.removeLast();
        linhas.push_back(campos);
    }
    return linhas;
}

std::vector<QStringList> Tabela(const ServidorDeTeste& s, const QString& procedimento, const QByteArray& projeto = "1")
{
    ServidorDeTeste::Resposta r;
    r.corpo = Carga(s, procedimento, projeto);
    return Linhas(r.texto());
}

QString Envia(const ServidorDeTeste& s, const QString& procedimento, const QByteArray& corpo)
{
    return s.kesta(Owa + procedimento, corpo).texto();
}

QByteArray Instituicao(const char* status, const QByteArray& codigo, const QByteArray& nome)
{
    return QByteArray("&Status=") + status + "&Cod_Inst=" + codigo + "&BIRO=INST9&Nome=" + nome
           + "&TipoEnvolvimento=CLIENTE&TipoVinculacao=PRIVADA";
}

// Field-major body of several records, as the client builds it: every key once per record, in order.
QByteArray CorpoDeInstituicoes(const QList<QList<QByteArray>>& registros)
{
    const char* campos[] = {"Status", "Cod_Inst", "BIRO", "Nome", "TipoEnvolvimento", "TipoVinculacao"};
    QByteArray corpo = "cod_proj=1";
    for (int c = 0; c < 6; ++c)
        for (const auto& r : registros)
            corpo += QByteArray("&") + campos[c] + "=" + r.value(c);
    return corpo;
}

class Servidor : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(s.iniciado()) << s.erro().toStdString(); }
    ServidorDeTeste s;
};

TEST_F(Servidor, LoginListaProjetosERecusaUsuariosInvalidos)
{
    const auto r = s.kesta(Owa + QStringLiteral("login.Confere_login"), "login=DEMO&senha=DEMO");
    EXPECT_EQ(r.status, 200);
    const auto projetos = Linhas(r.texto());
    ASSERT_EQ(projetos.size(), 2u);
    EXPECT_EQ(projetos[0].value(0), QStringLiteral("1"));
    EXPECT_EQ(projetos[0].value(2), QStringLiteral("0123/1996"));
    EXPECT_EQ(projetos[1].value(0), QStringLiteral("2"));
    EXPECT_TRUE(projetos[0].value(1).contains(QStringLiteral("ÓPTICOS")));

    EXPECT_EQ(Envia(s, QStringLiteral("login.Confere_login"), "login=DEMO&senha=ERRADA"), QStringLiteral("-1\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("login.Confere_login"), "login=NINGUEM&senha=DEMO"), QStringLiteral("-1\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("login.Confere_login"), "login=&senha="), QStringLiteral("-1\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("login.Confere_login"), "login=SEMPROJETO&senha=SEMPROJETO"), QStringLiteral("-2\n"));

    // Repair of an old project file: the code of the project with that contract report number.
    const auto fix = Linhas(Envia(s, QStringLiteral("login.fix_projeto"), "login=DEMO&senha=DEMO&relat_contratacao=0456%2F1997"));
    ASSERT_EQ(fix.size(), 1u);
    EXPECT_EQ(fix[0].value(0), QStringLiteral("2"));
    EXPECT_EQ(Envia(s, QStringLiteral("login.fix_projeto"), "login=DEMO&senha=DEMO&relat_contratacao=9999"), QStringLiteral("-2\n"));

    EXPECT_EQ(Envia(s, QStringLiteral("login.confere_permissao"), "login=DEMO&senha=DEMO&cod_proj=1"), QStringLiteral("0\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("login.confere_permissao"), "login=SEMPROJETO&senha=SEMPROJETO&cod_proj=1"), QStringLiteral("-1\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("login.confere_permissao"), "login=DEMO&senha=DEMO&cod_proj=999"), QStringLiteral("-2\n"));

    const auto teste = s.post(s.portaTeste(), QStringLiteral("/consult/owa/test_comunic"), "id_proj=1");
    EXPECT_TRUE(teste.texto().startsWith(QStringLiteral("1!SENSORES ÓPTICOS")));
}

TEST_F(Servidor, CadaTabelaDoProjetoDemoVemComSuasColunas)
{
    int tabelas = 0;
    for (const servidor::TabelaServidor& t : servidor::Tabelas()) {
        if (t.carga.isEmpty())
            continue;
        ++tabelas;
        const auto r = s.kesta(Owa + QStringLiteral("carga_tabelas_off.") + t.carga, "cod_projeto=1");
        ASSERT_EQ(r.status, 200) << t.carga.toStdString();
        EXPECT_TRUE(r.corpo.startsWith("<InitTab>\n")) << t.carga.toStdString();
        EXPECT_TRUE(r.corpo.endsWith("\n<FimTab>\n")) << t.carga.toStdString();
        const auto linhas = Linhas(r.texto());
        EXPECT_FALSE(linhas.empty()) << t.nome.toStdString();
        for (const QStringList& l : linhas)
            EXPECT_EQ(l.size(), qsizetype(t.colunas.size())) << t.nome.toStdString() << ": " << l.join('|').toStdString();
    }
    EXPECT_EQ(tabelas, 45);

    // Windows-1252 on the wire: "Ã" of "JOÃO" is one byte 0xC3.
    EXPECT_TRUE(Carga(s, QStringLiteral("membros")).contains("JO\xC3O BATISTA"));
    // Member columns in order: code, registry code, name ... KESTA last.
    const auto membros = Tabela(s, QStringLiteral("membros"));
    EXPECT_EQ(membros[0].value(2), QStringLiteral("MARIA APARECIDA DOS SANTOS"));
    EXPECT_EQ(membros[0].value(5), QStringLiteral("COORDENADOR"));
    EXPECT_EQ(membros[0].value(19), membros[0].value(0));

    // The second project holds only its own rows; an unknown project is an error page, not an empty table.
    EXPECT_EQ(Tabela(s, QStringLiteral("membros"), "2").size(), 1u);
    const auto desconhecido = s.kesta(Owa + QStringLiteral("carga_tabelas_off.membros"), "cod_projeto=777");
    EXPECT_EQ(desconhecido.status, 404);
    EXPECT_TRUE(desconhecido.corpo.startsWith("<HTML>"));
}

TEST_F(Servidor, InclusoesRecebemCodigosNovosEMembrosConhecidosMantemOCodigo)
{
    const QString resposta = Envia(s, QStringLiteral("instituicao_envolvida.atualiza_instituicao"),
                                   CorpoDeInstituicoes({{"I", "-55", "INST9", "NOVA+A", "CLIENTE", "PRIVADA"},
                                                        {"I", "-56", "INST8", "NOVA+B", "CLIENTE", "PRIVADA"}}));
    const QStringList codigos = resposta.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(codigos.size(), 2) << resposta.toStdString();
    EXPECT_GT(codigos[0].toLongLong(), 0);
    EXPECT_GT(codigos[1].toLongLong(), codigos[0].toLongLong());
    bool achou = false;
    for (const auto& l : Tabela(s, QStringLiteral("instEnvolvidas")))
        achou = achou || (l.value(0) == codigos[1] && l.value(2) == QStringLiteral("NOVA B"));
    EXPECT_TRUE(achou);

    // Carla is in the programme register (project 2): as a new member of project 1 she keeps her code.
    const QString carla = Tabela(s, QStringLiteral("membros"), "2")[0].value(0);
    QByteArray membro = "cod_proj=1&Status=I&Cod_Membro=" + carla.toLatin1()
                        + "&BIRO=9012345678901234&Nome=CARLA+REGINA+MOREIRA&EquipeOriginal=N&DescricaoFuncao=PESQUISADOR";
    EXPECT_EQ(Envia(s, QStringLiteral("membro_equipe.atualiza_membro"), membro), carla + QLatin1Char('\n'));
    // A member without a programme code gets a new one, which the register then knows.
    const QString novo = Envia(s, QStringLiteral("membro_equipe.atualiza_membro"),
                               "cod_proj=1&Status=I&Cod_Membro=&Nome=S%C9RGIO+NOVO&EquipeOriginal=N&DescricaoFuncao=T%C9CNICO")
                             .trimmed();
    EXPECT_GT(novo.toLongLong(), 0);
    EXPECT_EQ(Envia(s, QStringLiteral("pessoa.Valida_id"), "id_membro=" + novo.toLatin1() + "&nome=X&status=0"),
              novo + QStringLiteral("|SÉRGIO NOVO|\n"));
}

TEST_F(Servidor, AlteracoesGravamOsCamposEnviadosETextosEmPedacos)
{
    const QString codigo = Tabela(s, QStringLiteral("instEnvolvidas"))[1].value(0);
    EXPECT_EQ(Envia(s, QStringLiteral("instituicao_envolvida.atualiza_instituicao"),
                    "cod_proj=1" + Instituicao("A", codigo.toLatin1(), "INSTITUTO+RENOMEADO")),
              codigo + QLatin1Char('\n'));
    EXPECT_EQ(Tabela(s, QStringLiteral("instEnvolvidas"))[1].value(2), QStringLiteral("INSTITUTO RENOMEADO"));
    EXPECT_EQ(Envia(s, QStringLiteral("instituicao_envolvida.atualiza_instituicao"),
                    "cod_proj=1" + Instituicao("A", "424242", "X")),
              QStringLiteral("-6\n"));

    // The general data: no status, the objective in pieces of 1,900, 1,900 and 200 characters.
    const QByteArray a(1900, 'A'), b(1900, 'B'), c(200, 'C');
    const QString r = Envia(s, QStringLiteral("projeto.atualiza_projeto"),
                            "cod_proj=1&DataAssinat=01%2F02%2F2004&ValProposta=500000.00&Objetivo=" + a + "&Objetivo=" + b
                                + "&Objetivo=" + c + "&Origem=&NumProjOrigem=123&DataFim=");
    EXPECT_EQ(r, QStringLiteral("0\n"));
    const auto projeto = Tabela(s, QStringLiteral("Consulta_proj"))[0];
    EXPECT_EQ(projeto.value(14), QString::fromLatin1(a + b + c));
    EXPECT_EQ(projeto.value(12), QStringLiteral("01/02/2004"));
    EXPECT_EQ(projeto.value(1).left(8), QStringLiteral("SENSORES"));  // columns not sent stay as they were
}

TEST_F(Servidor, ExclusoesERecusas)
{
    const auto membros = Tabela(s, QStringLiteral("membros"));
    const QByteArray maria = membros[0].value(0).toLatin1();  // author of a publication and a book
    const QByteArray patricia = membros[5].value(0).toLatin1();
    QByteArray corpo = "cod_proj=1&Status=D&Status=D&Cod_Membro=" + maria + "&Cod_Membro=" + patricia
                       + "&Nome=A&Nome=B&EquipeOriginal=S&EquipeOriginal=S&DescricaoFuncao=X&DescricaoFuncao=Y";
    EXPECT_EQ(Envia(s, QStringLiteral("membro_equipe.atualiza_membro"), corpo), QStringLiteral("-2\n0\n"));
    EXPECT_EQ(Tabela(s, QStringLiteral("membros")).size(), membros.size() - 1);
    // Patrícia's scholarship row went with her; a later deletion of it finds nothing and is accepted.
    EXPECT_EQ(Tabela(s, QStringLiteral("membrosBolsas")).size(), 1u);
    EXPECT_EQ(Envia(s, QStringLiteral("membro_equipe.atualiza_membrobolsista"),
                    "cod_proj=1&Status=D&Cod_Membro=" + patricia + "&FontePagadora=X&ModalidadeBolsa=Y"),
              QStringLiteral("0\n"));

    // A study goes with its areas and sectors.
    const QByteArray estudo = Tabela(s, QStringLiteral("estudosRealizados"))[0].value(0).toLatin1();
    EXPECT_EQ(Envia(s, QStringLiteral("estudo.atualiza_estudo"), "cod_proj=1&Status=D&Cod_Estudo=" + estudo + "&TipoEstudo=X&Titulo=Y"),
              QStringLiteral("0\n"));
    EXPECT_TRUE(Tabela(s, QStringLiteral("areasEstudos")).empty());
    EXPECT_TRUE(Tabela(s, QStringLiteral("setoresEstudos")).empty());

    // A laboratory that a service uses stays.
    const QByteArray lab = Tabela(s, QStringLiteral("laboratorios"))[1].value(0).toLatin1();
    EXPECT_EQ(Envia(s, QStringLiteral("laboratorio.atualiza_laboratorio"),
                    "cod_proj=1&Status=D&Cod_Laboratorio=" + lab + "&Cod_Inst=1&BIROLab=X&NomeLab=Y&TipoApoio=Z"),
              QStringLiteral("-2\n"));

    // Rules of the programme: an event in Brazil needs state and city; a laboratory must sit at an
    // institution of the project; required columns and column sizes.
    EXPECT_EQ(Envia(s, QStringLiteral("evento.atualiza_evento"),
                    "cod_proj=1&Status=I&Cod_Evento=-1&Nome=SEMIN%C1RIO&Tipo=X&Pais=BRASIL&UF=MG&Cidade=&Alcance=LOCAL"),
              QStringLiteral("-3\n"));
    EXPECT_GT(Envia(s, QStringLiteral("evento.atualiza_evento"),
                    "cod_proj=1&Status=I&Cod_Evento=-1&Nome=CONGRESSO&Tipo=X&Pais=ARGENTINA&UF=&Cidade=&Alcance=LOCAL")
                  .toLongLong(),
              0);
    EXPECT_EQ(Envia(s, QStringLiteral("laboratorio.atualiza_laboratorio"),
                    "cod_proj=1&Status=I&Cod_Laboratorio=-9&Cod_Inst=55555&BIROLab=LAB1&NomeLab=LAB&TipoApoio=X"),
              QStringLiteral("-3\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("areas.atualiza_areaconhec"), "cod_proj=1&Status=I&DescricaoAreaConhec="),
              QStringLiteral("-4\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("membro_equipe.atualiza_membro"),
                    "cod_proj=1&Status=I&Cod_Membro=&Nome=X&EquipeOriginal=SS&DescricaoFuncao=Y"),
              QStringLiteral("-5\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("estudo.atualiza_estudoareaconhec"),
                    "cod_proj=1&Status=I&Cod_Estudo=-77&DescricaoAreaConhec=QU%CDMICA"),
              QStringLiteral("-8\n"));
    EXPECT_EQ(Envia(s, QStringLiteral("areas.atualiza_areaconhec"), "cod_proj=1&Status=X&DescricaoAreaConhec=A"),
              QStringLiteral("-1\n"));
}

TEST_F(Servidor, RegistrosRespondemNasFormasDoCliente)
{
    EXPECT_EQ(s.biro(QStringLiteral("/biro/owa/kesta_proc.ValidaPesq"), "login=3456789012345678").texto(),
              QStringLiteral("0; 3456789012345678; JOAO BATISTA DE OLIVEIRA; jboliveira@ufsja.edu.br\n"));
    EXPECT_EQ(s.biro(QStringLiteral("/biro/owa/kesta_proc.ValidaPesq"), "login=4567890123456789").texto(),
              QStringLiteral("0; 4567890123456789; ANA LÚCIA FERREIRA; \n"));
    EXPECT_TRUE(s.biro(QStringLiteral("/biro/owa/kesta_proc.ValidaPesq"), "login=6789012345678901").texto().startsWith('-'));
    EXPECT_EQ(s.biro(QStringLiteral("/biro/owa/kesta_proc.ValidaInst"), "inst=000004410").texto(),
              QStringLiteral("0; 000004410; LABORATÓRIO DE ÓPTICA APLICADA\n"));
    EXPECT_TRUE(s.biro(QStringLiteral("/biro/owa/kesta_proc.ValidaInst"), "inst=").texto().startsWith('-'));

    EXPECT_EQ(Envia(s, QStringLiteral("pessoa.Valida_biro"), "biro=5678901234567890&nome=X&status=1").section('|', 1, 1),
              QStringLiteral("JOSE CARLOS PEREIRA"));
    EXPECT_EQ(Envia(s, QStringLiteral("pessoa.Valida_nome"), "nome=ANA+L%DACIA+FERREIRA&status=0").section('|', 1, 1),
              QStringLiteral("ANA LÚCIA FERREIRA"));
    EXPECT_TRUE(Envia(s, QStringLiteral("pessoa.Valida_id"), "id_membro=1&nome=X&status=0").startsWith('-'));
}

TEST_F(Servidor, FalhasInjetadas)
{
    const QString login = Owa + QStringLiteral("login.Confere_login");
    ASSERT_TRUE(s.injetaFalha(QStringLiteral("login.Confere_login"), QStringLiteral("html"), 1, 1));
    EXPECT_TRUE(s.kesta(login, "login=DEMO&senha=DEMO").corpo.startsWith("<InitTab>"));  // the first passes
    EXPECT_TRUE(s.kesta(login, "login=DEMO&senha=DEMO").corpo.startsWith("<HTML>"));
    EXPECT_TRUE(s.kesta(login, "login=DEMO&senha=DEMO").corpo.startsWith("<InitTab>"));  // once only

    ASSERT_TRUE(s.injetaFalha(QStringLiteral("*"), QStringLiteral("internal")));
    EXPECT_TRUE(s.kesta(login, "login=DEMO&senha=DEMO").corpo.startsWith("INTERNAL"));

    ASSERT_TRUE(s.injetaFalha(QStringLiteral("carga_tabelas_off.membros"), QStringLiteral("corte")));
    const auto cortada = s.kesta(Owa + QStringLiteral("carga_tabelas_off.membros"), "cod_projeto=1");
    EXPECT_FALSE(cortada.completa);
    EXPECT_GT(cortada.corpo.size(), 0);

    ASSERT_TRUE(s.injetaFalha(QStringLiteral("login.Confere_login"), QStringLiteral("fecha")));
    EXPECT_EQ(s.kesta(login, "login=DEMO&senha=DEMO").status, 0);

    ASSERT_TRUE(s.injetaFalha(QStringLiteral("login.Confere_login"), QStringLiteral("lixo")));
    const QByteArray lixo = s.kesta(login, "login=DEMO&senha=DEMO").corpo;
    EXPECT_FALSE(lixo.contains("<InitTab>"));
    EXPECT_FALSE(lixo.startsWith("<H") || lixo.startsWith("INTERNAL"));

    ASSERT_TRUE(s.injetaFalha(QStringLiteral("areas.atualiza_areaconhec"), QStringLiteral("linhas-a-menos")));
    EXPECT_EQ(Envia(s, QStringLiteral("areas.atualiza_areaconhec"),
                    "cod_proj=1&Status=I&Status=I&DescricaoAreaConhec=F%CDSICA&DescricaoAreaConhec=QU%CDMICA"),
              QStringLiteral("0\n"));

    ASSERT_TRUE(s.injetaFalha(QStringLiteral("login.Confere_login"), QStringLiteral("demora"), 0, 1, 30));
    EXPECT_EQ(s.post(s.portaKesta(), login, "login=DEMO&senha=DEMO", 1000).status, 0);
    ASSERT_TRUE(s.limpaFalhas());
    EXPECT_TRUE(s.kesta(login, "login=DEMO&senha=DEMO").corpo.startsWith("<InitTab>"));

    // An HTML fault stands for a server that never got to the request: nothing is stored.
    ASSERT_TRUE(s.injetaFalha(QStringLiteral("areas.atualiza_areaconhec"), QStringLiteral("html")));
    const auto antes = Tabela(s, QStringLiteral("areasConhecimento")).size();
    Envia(s, QStringLiteral("areas.atualiza_areaconhec"), "cod_proj=1&Status=I&DescricaoAreaConhec=BIOLOGIA");
    EXPECT_EQ(Tabela(s, QStringLiteral("areasConhecimento")).size(), antes);
    EXPECT_TRUE(s.logDoServidor().contains(QStringLiteral("areas.atualiza_areaconhec 200")));
}

TEST_F(Servidor, EntradaInvalidaNaoAlteraOArmazenamento)
{
    const auto antes = Tabela(s, QStringLiteral("areasConhecimento")).size();
    const char* ruins[] = {
        "cod_proj=1&Status=I&Status=I&DescricaoAreaConhec=A&DescricaoAreaConhec=B%G1",  // invalid escape
        "cod_proj=1&Status=I&Status=I&DescricaoAreaConhec=A",                           // counts differ
        "cod_proj=1&Status=I&DescricaoAreaConhec=A&Desconhecido=1",                     // unknown column
        "cod_proj=1&Status=I&DescricaoAreaConhec=A&semigual",                           // piece without "="
        "cod_proj=999&Status=I&DescricaoAreaConhec=A",                                  // unknown project
        "Status=I&DescricaoAreaConhec=A",                                               // no project
    };
    for (const char* corpo : ruins) {
        const auto r = s.kesta(Owa + QStringLiteral("areas.atualiza_areaconhec"), corpo);
        EXPECT_GE(r.status, 400) << corpo;
        EXPECT_TRUE(r.corpo.startsWith("<HTML>")) << corpo;
    }
    EXPECT_EQ(Tabela(s, QStringLiteral("areasConhecimento")).size(), antes);
    EXPECT_EQ(s.kesta(Owa + QStringLiteral("nao.existe"), "a=1").status, 404);
    EXPECT_EQ(s.biro(Owa + QStringLiteral("login.Confere_login"), "login=DEMO&senha=DEMO").status, 404);  // wrong port
}

TEST(ServidorLimites, CorpoAcimaDoLimiteRecebe413)
{
    ServidorDeTeste::Opcoes o;
    o.extras = QStringList{QStringLiteral("--limite-corpo"), QStringLiteral("1000")};
    ServidorDeTeste s(o);
    ASSERT_TRUE(s.iniciado()) << s.erro().toStdString();
    const QByteArray grande = "cod_proj=1&Status=I&DescricaoAreaConhec=" + QByteArray(2000, 'A');
    const auto r = s.kesta(Owa + QStringLiteral("areas.atualiza_areaconhec"), grande);
    EXPECT_EQ(r.status, 413);
    EXPECT_TRUE(Tabela(s, QStringLiteral("areasConhecimento")).size() == 2u);
}

TEST(ServidorPersistencia, ReinicioMantemOsDadosECorposDeVariosMegabytes)
{
    ServidorDeTeste s;
    ASSERT_TRUE(s.iniciado()) << s.erro().toStdString();
    // About 6 MB: 20,000 knowledge areas of 250 characters each, every one answered in order.
    const int n = 20000;
    QByteArray status, areas;
    for (int i = 0; i < n; ++i) {
        status += "&Status=I";
        areas += "&DescricaoAreaConhec=AREA+" + QByteArray::number(i) + "+" + QByteArray(240, 'X');
    }
    const auto r = s.kesta(Owa + QStringLiteral("areas.atualiza_areaconhec"), "cod_proj=1" + status + areas);
    ASSERT_EQ(r.status, 200);
    EXPECT_EQ(r.corpo.count('\n'), n);
    EXPECT_EQ(r.corpo, QByteArray("0\n").repeated(n));

    // A comment of 3 MB in pieces of 1,900 characters comes back whole.
    QByteArray comentario = "cod_proj=1&Status=A";
    QString esperado;
    for (int i = 0; i < 1600; ++i) {
        const QByteArray pedaco(1900, char('a' + i % 26));
        comentario += "&Descricao=" + pedaco;
        esperado += QString::fromLatin1(pedaco);
    }
    EXPECT_EQ(Envia(s, QStringLiteral("analise_comentarioS.atualiza_comentario"), comentario), QStringLiteral("0\n"));

    ASSERT_TRUE(s.reinicia()) << s.erro().toStdString();
    EXPECT_EQ(Tabela(s, QStringLiteral("areasConhecimento")).size(), size_t(n + 2));
    const auto comentarios = Tabela(s, QStringLiteral("comentarios"));
    ASSERT_EQ(comentarios.size(), 1u);
    EXPECT_EQ(comentarios[0].value(0), esperado);
    // The demo is not seeded twice.
    EXPECT_EQ(Tabela(s, QStringLiteral("membros")).size(), 6u);
}

TEST(ServidorGrande, SementeGrandeEspalhaAsLinhasPelasTabelas)
{
    ServidorDeTeste::Opcoes o;
    o.sementes = QStringList{QStringLiteral("grande:500")};
    ServidorDeTeste s(o);
    ASSERT_TRUE(s.iniciado()) << s.erro().toStdString();
    const auto projetos = Linhas(Envia(s, QStringLiteral("login.Confere_login"), "login=GRANDE&senha=GRANDE"));
    ASSERT_EQ(projetos.size(), 1u);
    const QByteArray codigo = projetos[0].value(0).toLatin1();
    int total = 0, comLinhas = 0;
    for (const servidor::TabelaServidor& t : servidor::Tabelas()) {
        const auto n = Tabela(s, t.carga, codigo).size();
        total += int(n);
        comLinhas += n > 0 ? 1 : 0;
    }
    EXPECT_EQ(comLinhas, 45);
    EXPECT_GE(total, 500);
    EXPECT_LE(total, 545);
}

} // namespace
