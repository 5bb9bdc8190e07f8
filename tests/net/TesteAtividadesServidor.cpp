// Records made in the activity, resource and analysis dialogs, sent to the reference server: a new
// database renamed before Confirmar, a new information material with areas, a problem with two
// corrective actions. Each arrives and comes back with the server's codes.
#include "tests/edit/ApoioDialogosAtividades.h"

#include "edit/EdicaoBase.h"
#include "edit/FilhosBase.h"
#include "edit/EdicaoMateriais.h"
#include "edit/EdicaoProb.h"
#include "edit/GradeFilhos.h"

#include "core/ProgramState.h"
#include "net/CargaProjeto.h"
#include "net/EnviaDados.h"
#include "net/Transporte.h"
#include "store/Projeto.h"
#include "tests/support/ServidorDeTeste.h"

#include <QTemporaryDir>

namespace {

class AtividadesServidor : public DialogoAtividadeTest
{
protected:
    void SetUp() override
    {
        DialogoAtividadeTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_servidor.iniciado()) << m_servidor.erro().toStdString();
        m_servidor.exportaAmbiente();
        net::RecarregaConfiguracao();
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        baixa();
    }

    void baixa()
    {
        d().geral().ClearTables();
        const bool ok = net::RecebeProjeto(QStringLiteral("demo"), QStringLiteral("demo"), [](store::Table&) {
            app::Estado().ProjectCode = QStringLiteral("1");
        });
        ASSERT_TRUE(ok) << mensagens().join(QLatin1Char('\n')).toStdString();
        roteiro.mensagens.clear();
    }

    net::ResultadoEnvio envia()
    {
        net::AcoesDoEnvio acoes;
        acoes.verificarPendencia = [](bool) {};
        acoes.salvarComo = [this] {
            const bool gravou = store::GravaProjeto(m_dir.filePath(QStringLiteral("enviado.prj")));
            EXPECT_TRUE(gravou);
            return gravou;
        };
        return net::EnviaDados(d(), QStringLiteral("demo"), QStringLiteral("demo"), acoes);
    }

    QTemporaryDir m_dir;
    ServidorDeTeste m_servidor;
};

TEST_F(AtividadesServidor, NewDatabaseMaterialAndProblemArriveWithTheServersCodes)
{
    auto& at = d().atividadesApoiadas();
    auto& ra = d().recursosAdquiridos();
    auto& an = d().analiseResultados();

    // A new database with two areas and an access form, renamed before Confirmar.
    ASSERT_EQ(abre(true, at.tbBase, QStringLiteral("XXX"),
                   [&](edit::Formulario& f) {
                       return std::make_unique<edit::EdicaoBase>(f, at.tbBase, at.tbBaseArea, at.tbBaseAcesso);
                   },
                   [&] {
                       form.digita(QStringLiteral("dbeIdentificacao"), QStringLiteral("BASE PROVISÓRIA"));
                       form.digita(QStringLiteral("dbrgTipoBase"), QStringLiteral("CADASTRAL"));
                       form.digita(QStringLiteral("dbrgTipoApoio"), QStringLiteral("A"));
                       form.digita(QStringLiteral("dbmDescricao"), QStringLiteral("CADASTRO DE POÇOS"));
                       form.digita(QStringLiteral("medQtdeReg"), QStringLiteral("800"));
                       areasEscolhidas = {QStringLiteral("GEOLOGIA"), QStringLiteral("HIDROLOGIA")};
                       acessosEscolhidos = {QStringLiteral("CD-ROM")};
                       form.clica(QStringLiteral("btIncluirArea"));
                       form.clica(QStringLiteral("btIncluirArea"));
                       form.clica(QStringLiteral("btIncluirAcesso"));
                       form.digita(QStringLiteral("dbeIdentificacao"), QStringLiteral("POÇOS DO VALE"));
                       form.clica(edit::EdicaoEntidade::Confirmar);
                   }),
              1)
        << mensagens().join(QLatin1Char('\n')).toStdString();

    // A new material with areas.
    ASSERT_EQ(abre(true, ra.tbMaterialAdquirido, QStringLiteral("XXX"),
                   [&](edit::Formulario& f) {
                       return std::make_unique<edit::EdicaoMateriais>(f, ra.tbMaterialAdquirido, ra.tbMaterialAreaConhec);
                   },
                   [&] {
                       form.digita(QStringLiteral("dbTipoMaterial"), QStringLiteral("PERIÓDICOS"));
                       form.digita(QStringLiteral("medAnoAquisicao"), QStringLiteral("1996"));
                       form.digita(QStringLiteral("medQtdAdquirida"), QStringLiteral("4"));
                       form.digita(QStringLiteral("medValorAtual"), QStringLiteral("320.00"));
                       form.digita(QStringLiteral("dbrgLocaldeGastos"), QStringLiteral("E"));
                       areasEscolhidas = {QStringLiteral("GEOLOGIA"), QStringLiteral("HIDROLOGIA")};
                       form.clica(QStringLiteral("btIncluirArea"));
                       form.clica(QStringLiteral("btIncluirArea"));
                       form.clica(edit::EdicaoEntidade::Confirmar);
                   }),
              1)
        << mensagens().join(QLatin1Char('\n')).toStdString();

    // A problem with two corrective actions.
    ASSERT_EQ(abre(true, an.tbProblemas, QStringLiteral("Cod_Problema"),
                   [&](edit::Formulario& f) {
                       auto l = std::make_unique<edit::EdicaoProb>(f, an.tbProblemas, an.tbAcoesCorretivas);
                       l->abreAcoes = [&] {
                           const QString codigo = an.tbProblemas.value(QStringLiteral("Cod_Problema"));
                           edit::FormularioRoteirizado fg;
                           edit::GradeFilhos grade(fg, an.tbAcoesCorretivas, edit::GradeFilhos::FiltroAcoes(codigo),
                                                   QStringLiteral("esta Ação Corretiva?"), edit::GradeFilhos::NomesAcoes(),
                                                   [&] { edit::EscolheAcaoCorretiva(an.tbAcoesCorretivas, codigo, 1); });
                           fg.instala(grade);
                           grade.mostra();
                           for (const char* t : {"TREINAMENTO DA EQUIPE", "SUBSTITUIÇÃO DE FORNECEDOR"}) {
                               acoesEscolhidas = {QString::fromUtf8(t)};
                               fg.clica(QStringLiteral("btInsAcaoCorretiva"));
                           }
                           fg.clica(edit::GradeFilhos::Fechar);
                       };
                       return l;
                   },
                   [&] {
                       form.digita(QStringLiteral("dbrgCategoria"), QStringLiteral("T"));
                       form.digita(QStringLiteral("dbmDescrProbTec"), QStringLiteral("QUEIMA DE SENSORES"));
                       form.digita(QStringLiteral("medDataOcorrenc"), QStringLiteral("03/03/1997"));
                       form.digita(QStringLiteral("dbRepercussao"), QStringLiteral("ATRASO"));
                       form.clica(QStringLiteral("btAcoesCorretivas"));
                       form.clica(edit::EdicaoEntidade::Confirmar);
                   }),
              1)
        << mensagens().join(QLatin1Char('\n')).toStdString();

    ASSERT_TRUE(vaiPara(an.tbProblemas, "DescrProbTec", QStringLiteral("QUEIMA DE SENSORES")));
    const QString provisorio = an.tbProblemas.value(QStringLiteral("Cod_Problema"));
    ASSERT_TRUE(provisorio.startsWith(QLatin1Char('-')) || provisorio == QLatin1String("0"));

    const net::ResultadoEnvio r = envia();
    ASSERT_EQ(r.etapa, net::EtapaEnvio::Concluido) << mensagens().join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(r.flags.erro);
    EXPECT_FALSE(r.flags.erroResposta);

    // Locally: every sent row is N, the problem and its actions carry the server's code.
    ASSERT_TRUE(vaiPara(an.tbProblemas, "DescrProbTec", QStringLiteral("QUEIMA DE SENSORES")));
    const QString codigo = an.tbProblemas.value(QStringLiteral("Cod_Problema"));
    EXPECT_GT(codigo.toInt(), 0) << codigo.toStdString();
    EXPECT_EQ(conta(an.tbAcoesCorretivas, "Cod_Problema", codigo), 2);
    EXPECT_EQ(conta(an.tbAcoesCorretivas, "Cod_Problema", provisorio), 0);

    // From the server: download again and find everything there.
    baixa();
    ASSERT_TRUE(vaiPara(an.tbProblemas, "DescrProbTec", QStringLiteral("QUEIMA DE SENSORES")));
    EXPECT_EQ(an.tbProblemas.value(QStringLiteral("Cod_Problema")), codigo);
    EXPECT_EQ(an.tbProblemas.value(QStringLiteral("Status")), QStringLiteral("N"));
    QStringList acoes;
    for (const QString& l : linhas(an.tbAcoesCorretivas, {"Cod_Problema", "TipoAcao"}))
        if (l.startsWith(codigo + QLatin1Char('|')))
            acoes << l;
    EXPECT_EQ(acoes, (QStringList{codigo + "|TREINAMENTO DA EQUIPE", codigo + "|SUBSTITUIÇÃO DE FORNECEDOR"}));

    EXPECT_EQ(conta(at.tbBase, "Identificacao", QStringLiteral("POÇOS DO VALE")), 1);
    EXPECT_EQ(conta(at.tbBase, "Identificacao", QStringLiteral("BASE PROVISÓRIA")), 0);
    EXPECT_EQ(conta(at.tbBaseArea, "Identificacao", QStringLiteral("POÇOS DO VALE")), 2);
    EXPECT_EQ(conta(at.tbBaseAcesso, "Identificacao", QStringLiteral("POÇOS DO VALE")), 1);
    EXPECT_EQ(conta(at.tbBaseArea, "Identificacao", edit::MarcaBaseNova), 0);

    EXPECT_EQ(conta(ra.tbMaterialAdquirido, "TipoMaterial", QStringLiteral("PERIÓDICOS")), 1);
    QStringList areasMaterial;
    for (const QString& l : linhas(ra.tbMaterialAreaConhec, {"TipoMaterial", "AnoAquisicao", "LocaldeGastos",
                                                             "DescricaoAreaConhec", "Status"}))
        if (l.startsWith(QStringLiteral("PERIÓDICOS|")))
            areasMaterial << l;
    EXPECT_EQ(areasMaterial, (QStringList{"PERIÓDICOS|1996|E|GEOLOGIA|N", "PERIÓDICOS|1996|E|HIDROLOGIA|N"}));
    EXPECT_EQ(conta(ra.tbMaterialAreaConhec, "TipoMaterial", QStringLiteral("TipoMaterialNovo")), 0);
}

} // namespace
