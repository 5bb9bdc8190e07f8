#include "JanelaFixture.h"

#include "app/ui/Aplicacao.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <QAction>
#include <QTest>

void JanelaTest::SetUp()
{
    store::criaDados();
    janela = std::make_unique<app::ui::TfrmMenu1>();
    janela->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(janela.get()));
    roteiro = std::make_unique<app::InteracaoRoteirizada>();
}

void JanelaTest::TearDown()
{
    EXPECT_TRUE(roteiro->inesperadas.isEmpty()) << roteiro->inesperadas.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(roteiro->respostasPendentes(), 0);
    roteiro.reset();
    janela.reset();
    store::destroiDados();
}

bool JanelaTest::habilitado(const char* nome) const
{
    if (auto* a = janela->findChild<QAction*>(QString::fromLatin1(nome)))
        return a->isEnabled();
    QWidget* w = achar(nome);
    return w && w->isEnabled();
}

namespace {
void linha(store::Table& t, std::initializer_list<std::pair<const char*, const char*>> valores)
{
    t.append();
    for (const auto& [campo, valor] : valores)
        t.setValue(QString::fromUtf8(campo), QString::fromUtf8(valor));
    t.post();
}
}

void JanelaTest::preencheProjeto()
{
    auto& id = store::DataIdentificacao();
    linha(id.tbProjeto, {{"Status", "N"}, {"Cod_Proj", "4711"}, {"Titulo", "Sensores de baixo custo"},
                         {"Origem", "KESTA I"}, {"NumProjOrigem", "1234"}, {"DataAssinat", "10/05/1995"},
                         {"DataFim", ""}, {"ValProposta", "1500.5"}, {"Objetivo", "Medir a qualidade da água."},
                         {"Processo", "62.0001/95"}, {"InstGestora", "FUNDAÇÃO GESTORA"},
                         {"InstExecutora", "UNIVERSIDADE EXECUTORA"}});
    id.tbProjeto.first();
    linha(id.tbInstituicao, {{"Status", "N"}, {"Cod_Inst", "10"}, {"BIRO", "B10"}, {"Nome", "UNIVERSIDADE EXECUTORA"},
                             {"TipoEnvolvimento", "EXECUTORA"}, {"TipoVinculacao", "PUBLICA"}});
    linha(id.tbInstituicao, {{"Status", "N"}, {"Cod_Inst", "11"}, {"BIRO", "B11"}, {"Nome", "LABORATÓRIO PARCEIRO"},
                             {"TipoEnvolvimento", "CO-EXECUTORA"}, {"TipoVinculacao", "PRIVADA"}});
    auto& res = store::DataResultadosGerados();
    linha(res.tbEstudo, {{"Status", "N"}, {"Cod_Estudo", "20"}, {"TipoEstudo", "DIAGNÓSTICO"},
                         {"Titulo", "Mapa das nascentes"}, {"DataFim", "12/12/1996"}});
    auto& at = store::DataAtividadesApoiadas();
    linha(at.tbBolsa, {{"Status", "N"}, {"Cod_Bolsa", "30"}, {"NomeBolsista", "ANA SILVA"}, {"Modalidade", "MESTRADO"},
                       {"BIROBolsista", "P30"}, {"DataConclusao", "01/03/1997"}});
    auto& an = store::DataAnaliseResultados();
    linha(an.tbProblemas, {{"Status", "N"}, {"Cod_Problema", "40"}, {"Categoria", "1"}, {"CategoriaTxt", "ADMINISTRATIVO"},
                           {"Repercussao", "ATRASO"}, {"DataOcorrenc", "02/02/1996"}});
}

void JanelaTest::abreProjeto()
{
    app::Estado().ProjectOpen = true;
    janela->CreateWindows();
    janela->SetMenuAndButtons();
}

QString JanelaTest::salvaProjetoEFecha(const QString& pasta, const QString& nome)
{
    app::Estado().ProgramDir = pasta + QLatin1Char('/');
    app::ui::LigaComandos(*janela);
    preencheProjeto();
    abreProjeto();
    app::SetModified(true);
    const QString arquivo = pasta + QLatin1Char('/') + nome;
    roteiro->respondeArquivo(arquivo);
    janela->findChild<QAction*>(QStringLiteral("SalvarComo1"))->trigger();
    janela->findChild<QToolButton*>(QStringLiteral("btFechar"))->click();
    return arquivo;
}
