// Records made in the study and production dialogs, sent to the reference server: every new record
// arrives with the server's code, and the children carry their parents' codes.

#include "ApoioEnvio.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "edit/Edicao.h"
#include "edit/EdicaoEstudosR.h"
#include "edit/EdicaoPatentes.h"
#include "edit/EdicaoProducoes.h"
#include "edit/FonteDeItens.h"
#include "edit/FormularioRoteirizado.h"
#include "edit/GradePatentes.h"
#include "net/CargaProjeto.h"
#include "net/EnviaDados.h"
#include "net/Transporte.h"
#include "store/Dados.h"
#include "tests/support/ServidorDeTeste.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using apoio::valor;
using edit::FormularioRoteirizado;

namespace {

const QString Confirmar = QStringLiteral("btmbtConfirmar");

class EnvioDialogosTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_servidor.iniciado()) << m_servidor.erro().toStdString();
        m_servidor.exportaAmbiente();
        net::RecarregaConfiguracao();
        app::Estado().ProgramDir = app::ComBarra(m_dir.path());
        app::Estado().SystemDir = app::ComBarra(m_dir.path());
        m_leitor = edit::TrocaLeitorDeItens([](const QString& arquivo) {
            if (arquivo.startsWith(QLatin1String("paises")))
                return QStringList{QStringLiteral("BRASIL"), QStringLiteral("ESTADOS UNIDOS")};
            return QStringList{QStringLiteral("PATENTE DE INVENÇÃO"), QStringLiteral("DIAGNÓSTICO"),
                               QStringLiteral("PROTÓTIPO"), QStringLiteral("EM DESENVOLVIMENTO")};
        });
        store::criaDados();
        m_acoes.verificarPendencia = [](bool) {};
        m_acoes.salvarComo = [] { return false; };  // the user declines to save
        const bool ok = net::RecebeProjeto(QStringLiteral("demo"), QStringLiteral("demo"), [](store::Table&) {
            app::Estado().ProjectCode = QStringLiteral("1");
        });
        ASSERT_TRUE(ok) << m_seam.textos().join(QLatin1Char('\n')).toStdString();
        m_seam.mensagens.clear();
    }
    void TearDown() override
    {
        edit::TrocaLeitorDeItens(m_leitor);
        store::destroiDados();
        EXPECT_TRUE(m_seam.inesperadas.isEmpty()) << m_seam.inesperadas.join(QLatin1Char('\n')).toStdString();
    }

    store::Dados& d() { return store::dados(); }

    // Rows of `t` whose column holds `v`, whatever the filter shows.
    static std::vector<store::Table::Bookmark> linhas(store::Table& t, const char* coluna, const QString& v)
    {
        std::vector<store::Table::Bookmark> r;
        for (const auto b : t.naturalRows())
            if (valor(t, b, coluna) == v)
                r.push_back(b);
        return r;
    }
    // A child row as the choice dialog leaves it for a new parent.
    static void filho(store::Table& t, const char* ligacao, const QString& codigo, const char* campo, const char* texto)
    {
        t.append();
        t.setValue(QStringLiteral("Status"), QStringLiteral("I"));
        t.setValue(QString::fromLatin1(ligacao), codigo);
        t.setValue(QString::fromLatin1(campo), QString::fromUtf8(texto));
        t.post();
    }

    QTemporaryDir m_dir;
    ServidorDeTeste m_servidor;
    app::InteracaoRoteirizada m_seam;
    net::AcoesDoEnvio m_acoes;
    edit::LeitorDeItens m_leitor;
};

} // namespace

TEST_F(EnvioDialogosTest, NewStudyAndNewProductionWithTwoPatentsArriveWithTheServersCodes)
{
    auto& r = d().resultadosGerados();
    store::Table& membros = d().identificacao().tbMembro;
    membros.first();
    const QString autor = membros.value(QStringLiteral("Nome"));
    const QString codigoAutor = membros.value(QStringLiteral("Cod_Membro"));

    // A study with one area and one sector.
    QString estudo;
    {
        FormularioRoteirizado f;
        edit::EdicaoEstudosR l(f);
        f.instala(l);
        edit::AbreEdicao(true, f.dialogo([&] {
            estudo = l.codigo();
            f.digita("DBTipoEstudo", "DIAGNÓSTICO");
            f.digita("dbeTitulo", "QUALIDADE DA ÁGUA DO RIO CLARO");
            f.digita("dbmDescricao", "COLETAS MENSAIS");
            f.digita("dbcAutor", autor);
            f.digita("meDataInicio", "04/1996");
            filho(r.tbEstudosAreaConhec, "Cod_Estudo", estudo, "DescricaoAreaConhec", "ECOLOGIA");
            filho(r.tbEstudosSetores, "Cod_Estudo", estudo, "DescricaoSetorEcon", "CAPTAÇÃO DE ÁGUA");
            f.clica(Confirmar);
        }), r.tbEstudo, nullptr, QStringLiteral("Cod_Estudo"));
        ASSERT_EQ(f.resultadoFinal(), edit::Resultado::Ok) << m_seam.textos().join('|').toStdString();
    }
    ASSERT_LT(estudo.toLongLong(), 1);

    // A production with a Brazilian patent and one abroad.
    QString producao;
    {
        FormularioRoteirizado f;
        edit::EdicaoProducoes l(f);
        f.instala(l);
        l.abrePatentes = [&] {
            edit::GradePatentes grade(l.codigo(), nullptr, nullptr);
            grade.mostra();
            for (const char* pais : {"BRASIL", "ESTADOS UNIDOS"}) {
                FormularioRoteirizado p;
                edit::EdicaoPatentes lp(p, l.codigo());
                p.instala(lp);
                edit::AbreEdicao(true, p.dialogo([&] {
                    p.digita("dbeTitulo", QStringLiteral("SENSOR ") + QString::fromUtf8(pais));
                    p.digita("dbcInventor", autor);
                    p.digita("dbPais", QString::fromUtf8(pais));
                    p.digita("dbTipoPatente", "PATENTE DE INVENÇÃO");
                    p.digita("dbeCodDeposito", "BR-77");
                    p.digita("meDataDeposito", "10/10/1996");
                    p.clica(Confirmar);
                }), r.tbPatente, nullptr, QStringLiteral("Cod_Patente"));
                ASSERT_EQ(p.resultadoFinal(), edit::Resultado::Ok) << m_seam.textos().join('|').toStdString();
            }
            grade.fecha();
        };
        edit::AbreEdicao(true, f.dialogo([&] {
            producao = l.codigo();
            f.digita("dbTipoProducao", "PROTÓTIPO");
            f.digita("dbeNomeProd", "SONDA DE TURBIDEZ PORTÁTIL");
            f.digita("dbmDescrTecnologica", "ÓPTICA");
            f.digita("dbSituacao", "EM DESENVOLVIMENTO");
            f.clica("btPatentes");
            f.clica(Confirmar);
        }), r.tbProdTec, nullptr, QStringLiteral("Cod_Prod"));
        ASSERT_EQ(f.resultadoFinal(), edit::Resultado::Ok) << m_seam.textos().join('|').toStdString();
    }
    ASSERT_EQ(linhas(r.tbPatente, "Cod_Prod", producao).size(), 2u);

    const net::ResultadoEnvio resultado = net::EnviaDados(d(), QStringLiteral("demo"), QStringLiteral("demo"), m_acoes);
    ASSERT_EQ(resultado.etapa, net::EtapaEnvio::Concluido) << m_seam.textos().join('|').toStdString();
    EXPECT_FALSE(resultado.flags.erroResposta);

    // The study and its children, under the server's code.
    const auto estudos = linhas(r.tbEstudo, "Titulo", QStringLiteral("QUALIDADE DA ÁGUA DO RIO CLARO"));
    ASSERT_EQ(estudos.size(), 1u);
    const QString codEstudo = valor(r.tbEstudo, estudos[0], "Cod_Estudo");
    EXPECT_GT(codEstudo.toLongLong(), 0);
    EXPECT_EQ(valor(r.tbEstudo, estudos[0], "Status"), QStringLiteral("N"));
    EXPECT_EQ(valor(r.tbEstudo, estudos[0], "Autor"), codigoAutor);
    EXPECT_TRUE(linhas(r.tbEstudosAreaConhec, "Cod_Estudo", estudo).empty());
    const auto areas = linhas(r.tbEstudosAreaConhec, "Cod_Estudo", codEstudo);
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(valor(r.tbEstudosAreaConhec, areas[0], "Status"), QStringLiteral("N"));
    ASSERT_EQ(linhas(r.tbEstudosSetores, "Cod_Estudo", codEstudo).size(), 1u);

    // The production and its two patents, under the server's codes.
    const auto producoes = linhas(r.tbProdTec, "NomeProd", QStringLiteral("SONDA DE TURBIDEZ PORTÁTIL"));
    ASSERT_EQ(producoes.size(), 1u);
    const QString codProducao = valor(r.tbProdTec, producoes[0], "Cod_Prod");
    EXPECT_GT(codProducao.toLongLong(), 0);
    const auto patentes = linhas(r.tbPatente, "Cod_Prod", codProducao);
    ASSERT_EQ(patentes.size(), 2u);
    for (const auto b : patentes) {
        EXPECT_GT(valor(r.tbPatente, b, "Cod_Patente").toLongLong(), 0);
        EXPECT_EQ(valor(r.tbPatente, b, "Status"), QStringLiteral("N"));
        EXPECT_EQ(valor(r.tbPatente, b, "TipoPatente"),
                  valor(r.tbPatente, b, "Pais") == QLatin1String("BRASIL") ? QStringLiteral("PATENTE DE INVENÇÃO")
                                                                            : QStringLiteral("PATENTE NO EXTERIOR"));
    }

    // Downloaded again, the server holds them with the same codes and links.
    d().geral().ClearTables();
    ASSERT_TRUE(net::RecebeProjeto(QStringLiteral("demo"), QStringLiteral("demo"), [](store::Table&) {
        app::Estado().ProjectCode = QStringLiteral("1");
    }));
    EXPECT_EQ(linhas(r.tbEstudo, "Cod_Estudo", codEstudo).size(), 1u);
    EXPECT_EQ(linhas(r.tbEstudosAreaConhec, "Cod_Estudo", codEstudo).size(), 1u);
    EXPECT_EQ(linhas(r.tbEstudosSetores, "Cod_Estudo", codEstudo).size(), 1u);
    EXPECT_EQ(linhas(r.tbProdTec, "Cod_Prod", codProducao).size(), 1u);
    EXPECT_EQ(linhas(r.tbPatente, "Cod_Prod", codProducao).size(), 2u);
}
