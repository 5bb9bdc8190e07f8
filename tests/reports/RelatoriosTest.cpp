// The reports as a reader of the PDF sees them, and what printing leaves untouched.
#include "ApoioRelatorios.h"

#include "core/ProgramState.h"
#include "reports/Impressora.h"
#include "reports/Valor.h"

#include <QDir>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;
using reports::Pasta;

namespace {

class Relatorios : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("REZOZUR_NOME_DO_PROGRAMA", "Programa de Apoio de Teste");
        ambiente = std::make_unique<teste::AmbienteDeProjeto>();
    }
    void TearDown() override { ambiente.reset(); }

    store::TDataIdentificacao& id() { return store::DataIdentificacao(); }
    store::TDataAtividadesApoiadas& aa() { return store::DataAtividadesApoiadas(); }
    store::TDataResultadosGerados& rg() { return store::DataResultadosGerados(); }

    std::unique_ptr<teste::AmbienteDeProjeto> ambiente;
};

bool TemLinha(const QString& pagina, const QString& padrao)
{
    return QRegularExpression(padrao, QRegularExpression::MultilineOption).match(pagina).hasMatch();
}

bool Mapeada(const char* biblioteca)
{
    QFile f(u"/proc/self/maps"_s);
    return f.open(QIODevice::ReadOnly) && f.readAll().contains(biblioteca);
}

} // namespace

// Printers live in a module: a document written to PDF never maps Qt's print support, which comes in
// with the first printer asked for. This program links neither.
TEST_F(Relatorios, SoUmaImpressoraTrazOSuporteDeImpressaoDoQt)
{
    Insere(id().tbProjeto, {{"Cod_Proj", u"77"_s}, {"Titulo", u"Estudo"_s}});
    EXPECT_EQ(Imprime({}).paginasInfo, 1);
    EXPECT_FALSE(Mapeada("libQt6PrintSupport"));
    QPdfWriter arquivo(u"/dev/null"_s);
    EXPECT_FALSE(reports::impressora::EhImpressora(arquivo));

    const std::unique_ptr<QPagedPaintDevice> impressora = reports::impressora::Carregada().cria(u"Estudo"_s, 2);
    ASSERT_NE(impressora, nullptr);
    EXPECT_TRUE(reports::impressora::EhImpressora(*impressora));
    EXPECT_TRUE(Mapeada("libQt6PrintSupport"));
}

TEST_F(Relatorios, SemPastasSoACapaComTituloECoordenador)
{
    Insere(id().tbProjeto, {{"Cod_Proj", u"77"_s}, {"Titulo", u"Estudo das Águas do Cerrado"_s}});
    Insere(id().tbMembro, {{"Cod_Membro", u"1"_s}, {"Nome", u"Maria Auxiliar"_s}, {"DescricaoFuncao", u"PESQUISADOR"_s}});
    Insere(id().tbMembro, {{"Cod_Membro", u"2"_s}, {"Nome", u"Ana Coordenadora"_s}, {"DescricaoFuncao", u"COORDENADOR"_s}});
    int paginas = 0;
    const LeituraPdf pdf = Imprime({}, &paginas);
    ASSERT_EQ(pdf.paginasInfo, 1);
    EXPECT_EQ(paginas, 1);
    const QString capa = pdf.paginas[0];
    EXPECT_TRUE(capa.contains(u"Programa de Apoio de Teste"_s)) << qPrintable(capa);
    EXPECT_TRUE(capa.contains(u"Orvane -"_s));
    EXPECT_TRUE(capa.contains(u"Estudo das Águas do Cerrado"_s));
    EXPECT_TRUE(capa.contains(u"Ana Coordenadora"_s));
    EXPECT_FALSE(capa.contains(u"Maria Auxiliar"_s));
    EXPECT_FALSE(capa.contains(u"Página"_s));  // the cover has no page number
}

TEST_F(Relatorios, NoveLaboratoriosEmTresPaginasComCabecalhoDaSegundaEmDiante)
{
    for (int i = 1; i <= 9; ++i)
        Insere(aa().tbLaboratorio, {{"Cod_Laboratorio", QString::number(i)}, {"NomeLab", u"LABORATORIO-%1"_s.arg(i)},
                                    {"BIROLab", u"B%1"_s.arg(i)}, {"TipoApoio", u"APOIO-%1"_s.arg(i)},
                                    {"DataInicio", u"0%1/02/2001"_s.arg(i)}});
    const LeituraPdf pdf = Imprime({Pasta::Apoios});
    QList<int> paginaDe;
    for (int i = 1; i <= 9; ++i) {
        const QList<int> p = pdf.paginasCom(u"LABORATORIO-%1"_s.arg(i));
        ASSERT_EQ(p.size(), 1) << i;
        paginaDe << p[0];
        EXPECT_TRUE(pdf.paginas[p[0] - 1].contains(u"APOIO-%1"_s.arg(i)));
    }
    const int primeira = paginaDe[0];
    EXPECT_EQ(primeira, 2);  // right after the cover
    EXPECT_EQ(paginaDe, (QList<int>{primeira, primeira, primeira, primeira, primeira + 1, primeira + 1, primeira + 1,
                                    primeira + 1, primeira + 2}));
    const QString cabecalho = u"^\\s*KESTA II\\s+Laboratórios apoiados\\s*$"_s;
    EXPECT_FALSE(TemLinha(pdf.paginas[primeira - 1], cabecalho)) << qPrintable(pdf.paginas[primeira - 1]);
    EXPECT_TRUE(pdf.paginas[primeira - 1].contains(u"Atividades apoiadas"_s));
    EXPECT_TRUE(TemLinha(pdf.paginas[primeira], cabecalho)) << qPrintable(pdf.paginas[primeira]);
    EXPECT_TRUE(TemLinha(pdf.paginas[primeira + 1], cabecalho));
    for (int p = primeira; p <= primeira + 2; ++p)
        EXPECT_TRUE(TemLinha(pdf.paginas[p - 1], u"Página %1\\s*$"_s.arg(p))) << p;
}

TEST_F(Relatorios, DoisCursosEmDuasPaginasCadaUmComSuasAreas)
{
    Insere(id().tbInstituicao, {{"Cod_Inst", u"10"_s}, {"Nome", u"Universidade Fornecedora"_s}});
    Insere(aa().tbCursos, {{"Cod_Curso", u"1"_s}, {"Nome", u"CURSO-UM"_s}, {"instFornec", u"10"_s}});
    Insere(aa().tbCursos, {{"Cod_Curso", u"2"_s}, {"Nome", u"CURSO-DOIS"_s}});
    store::Table& areas = aa().tbCursosAreaConhec;
    Insere(areas, {{"Cod_Curso", u"1"_s}, {"DescricaoAreaConhec", u"AREA-UM-A"_s}});
    Insere(areas, {{"Cod_Curso", u"2"_s}, {"DescricaoAreaConhec", u"AREA-DOIS-A"_s}});
    Insere(areas, {{"Cod_Curso", u"1"_s}, {"DescricaoAreaConhec", u"AREA-UM-B"_s}});
    for (const char* s : {"D", "X", "Y"})
        Insere(areas, {{"Status", QString::fromLatin1(s)}, {"Cod_Curso", u"1"_s},
                       {"DescricaoAreaConhec", u"AREA-EXCLUIDA-%1"_s.arg(QLatin1String(s))}});
    areas.setFiltered(false);  // as the course dialog may leave it
    const QString filtroAntes = areas.filter();

    const LeituraPdf pdf = Imprime({Pasta::Apoios});
    const QList<int> um = pdf.paginasCom(u"CURSO-UM"_s);
    const QList<int> dois = pdf.paginasCom(u"CURSO-DOIS"_s);
    ASSERT_EQ(um.size(), 1);
    ASSERT_EQ(dois.size(), 1);
    EXPECT_EQ(dois[0], um[0] + 1);
    const QString& p1 = pdf.paginas[um[0] - 1];
    const QString& p2 = pdf.paginas[dois[0] - 1];
    EXPECT_TRUE(p1.contains(u"AREA-UM-A"_s) && p1.contains(u"AREA-UM-B"_s));
    EXPECT_FALSE(p1.contains(u"AREA-DOIS"_s));
    EXPECT_TRUE(p2.contains(u"AREA-DOIS-A"_s));
    EXPECT_FALSE(p2.contains(u"AREA-UM"_s));
    EXPECT_TRUE(p1.contains(u"Universidade Fornecedora"_s));
    EXPECT_FALSE(pdf.tudo().contains(u"AREA-EXCLUIDA"_s));
    EXPECT_FALSE(areas.filtered());
    EXPECT_EQ(areas.filter(), filtroAntes);
}

TEST_F(Relatorios, OrcamentoSomaPorGrupoETotalGeral)
{
    store::Table& plano = id().tbPlanoAplic;
    plano.beforePost = nullptr;  // so that empty and malformed values reach the table, as a file may hold them
    Insere(plano, {{"Local", u"E"_s}, {"ItemDispendio", u"PASSAGENS"_s}, {"VlContratado", u"100.10"_s},
                   {"VlDesembolsado", u"50"_s}, {"VlExecutado", QString()}});
    Insere(plano, {{"Local", u"P"_s}, {"ItemDispendio", u"MATERIAL"_s}, {"VlContratado", u"1000.5"_s},
                   {"VlDesembolsado", u"300.00"_s}, {"VlExecutado", u"299.99"_s}});
    Insere(plano, {{"Local", u"E"_s}, {"ItemDispendio", u"DIARIAS"_s}, {"VlContratado", u"200.25"_s},
                   {"VlDesembolsado", u"0.75"_s}, {"VlExecutado", u"10"_s}});
    Insere(plano, {{"Local", u"P"_s}, {"ItemDispendio", u"SERVICOS"_s}, {"VlContratado", u"12,5"_s},
                   {"VlDesembolsado", QString()}, {"VlExecutado", u"0.01"_s}});
    Insere(plano, {{"Status", u"D"_s}, {"Local", u"E"_s}, {"ItemDispendio", u"APAGADA"_s}, {"VlContratado", u"999"_s},
                   {"VlDesembolsado", u"999"_s}, {"VlExecutado", u"999"_s}});
    plano.setFilter(u"Local = 'P'"_s);
    const LeituraPdf pdf = Imprime({Pasta::Orcamento});
    const QString t = pdf.tudo();
    EXPECT_FALSE(t.contains(u"APAGADA"_s));
    // Abroad first, then Brazil.
    EXPECT_LT(t.indexOf(u"PASSAGENS"_s), t.indexOf(u"MATERIAL"_s));
    EXPECT_LT(t.indexOf(u"DIARIAS"_s), t.indexOf(u"MATERIAL"_s));
    EXPECT_TRUE(TemLinha(t, u"PASSAGENS\\s+Exterior\\s+100,10\\s+50,00\\s+0,00$"_s)) << qPrintable(t);
    EXPECT_TRUE(TemLinha(t, u"SERVICOS\\s+Brasil\\s+12,5\\s+0,00\\s+0,01$"_s)) << qPrintable(t);
    EXPECT_TRUE(TemLinha(t, u"Total Exterior\\s+300,35\\s+50,75\\s+10,00$"_s)) << qPrintable(t);
    EXPECT_TRUE(TemLinha(t, u"Total Brasil\\s+1000,50\\s+300,00\\s+300,00$"_s)) << qPrintable(t);
    EXPECT_TRUE(TemLinha(t, u"Total Geral\\s+1300,85\\s+350,75\\s+310,00$"_s)) << qPrintable(t);
    EXPECT_EQ(plano.filter(), u"Local = 'P'"_s);
    // No other source: that report leaves itself out.
    EXPECT_FALSE(t.contains(u"Outras fontes de financiamento"_s));
}

TEST_F(Relatorios, OrcamentoDeVariasPaginasTotalizaOPlanoInteiro)
{
    store::Table& plano = id().tbPlanoAplic;
    for (int i = 0; i < 70; ++i)
        Insere(plano, {{"Local", u"E"_s}, {"ItemDispendio", u"ITEM-E-%1"_s.arg(i)}, {"VlContratado", u"1.01"_s},
                       {"VlDesembolsado", u"0.10"_s}, {"VlExecutado", u"2"_s}});
    for (int i = 0; i < 50; ++i)
        Insere(plano, {{"Local", u"P"_s}, {"ItemDispendio", u"ITEM-P-%1"_s.arg(i)}, {"VlContratado", u"2.00"_s},
                       {"VlDesembolsado", u"0.01"_s}, {"VlExecutado", u"1000000.5"_s}});
    const LeituraPdf pdf = Imprime({Pasta::Orcamento});
    const QList<int> primeira = pdf.paginasCom(u"ITEM-E-0 "_s);
    const QList<int> ultima = pdf.paginasCom(u"ITEM-P-49 "_s);
    ASSERT_EQ(primeira.size(), 1);
    ASSERT_EQ(ultima.size(), 1);
    ASSERT_GE(ultima[0], primeira[0] + 2) << "the plan should take at least three pages";
    // Totals of every line, not of the last page's.
    const QString t = pdf.tudo();
    EXPECT_TRUE(TemLinha(t, u"Total Exterior\\s+70,70\\s+7,00\\s+140,00$"_s)) << qPrintable(t);
    EXPECT_TRUE(TemLinha(t, u"Total Brasil\\s+100,00\\s+0,50\\s+50000025,00$"_s)) << qPrintable(t);
    EXPECT_TRUE(TemLinha(t, u"Total Geral\\s+170,70\\s+7,50\\s+50000165,00$"_s)) << qPrintable(t);
    for (int p = primeira[0] + 1; p <= ultima[0]; ++p)
        EXPECT_TRUE(TemLinha(pdf.paginas[p - 1], u"^[ ]*KESTA II[ ]+Planos de aplicação dos recursos financeiros"_s)) << p;
}

TEST_F(Relatorios, TodasAsSecoesNaOrdemDoDocumento)
{
    teste::PreencheProjeto(3, 11);
    Insere(store::DataAnaliseResultados().tbComentariosGerais, {{"Descricao", u"COMENTARIO-GERAL-DO-PROJETO"_s}});
    const LeituraPdf pdf = Imprime(reports::TodasAsPastas());
    const QString t = pdf.semEspacos();
    const QStringList secoes = {
        u"Orvane -"_s, u"Identificação"_s, u"Áreas de atuação"_s, u"Locais de execução de pesquisa de campo"_s,
        u"Instituições envolvidas no projeto , inclusive Co-executoras"_s, u"Contato com o coordenador atual"_s,
        u"Membros da equipe"_s, u"Estudos Realizados"_s, u"Publicações"_s, u"Obras editadas"_s, u"Produções tecnológicas"_s,
        u"Eventos apoiados"_s, u"Bolsas de estudos concedidas"_s,
        u"Outras atividades de capacitação de RH, exceto concessão de bolsas"_s,
        u"Resultados dos programas de qualidade apoiados"_s, u"Softwares gerados"_s, u"Laboratórios apoiados"_s,
        u"Serviços externos prestados"_s, u"Cursos apoiados"_s, u"Bases de dados apoiadas"_s,
        u"Materiais informacionais adquiridos"_s, u"Equipamentos adquiridos"_s,
        u"Planos de aplicação dos recursos financeiros"_s, u"Outras fontes de financiamento"_s,
        u"Análise dos resultados"_s, u"COMENTARIO-GERAL-DO-PROJETO"_s, u"Problemas ocorridos ao longo do projeto"_s};
    qsizetype antes = -1;
    for (QString s : secoes) {
        s.remove(u' ');
        const qsizetype aqui = t.indexOf(s);
        EXPECT_GT(aqui, antes) << qPrintable(s);
        antes = std::max(antes, aqui);
    }
}

TEST_F(Relatorios, ObjetivoLongoAtravessaPaginasSemPerderPalavras)
{
    QStringList palavras;
    QString objetivo;
    for (int i = 0; objetivo.size() < 5000; ++i) {
        palavras << u"obj%1"_s.arg(i, 4, 10, QLatin1Char('0'));
        objetivo += palavras.back() + (i % 37 == 36 ? u"\r\n"_s : u" "_s);
    }
    Insere(id().tbProjeto, {{"Cod_Proj", u"1"_s}, {"Titulo", u"Projeto Longo"_s}, {"Objetivo", objetivo}});
    Insere(store::DataGeral().tbAreaConhecAting, {{"DescricaoAreaConhec", u"AREA-ATINGIDA"_s}});
    const LeituraPdf pdf = Imprime({Pasta::DadosGerais});
    const QString t = pdf.tudo();
    for (const QString& p : palavras)
        ASSERT_TRUE(t.contains(p)) << qPrintable(p);
    const QList<int> com = [&] {
        QList<int> r;
        for (int i = 0; i < pdf.paginas.size(); ++i)
            if (pdf.paginas[i].contains(u"obj"_s))
                r << i + 1;
        return r;
    }();
    ASSERT_GE(com.size(), 2);
    for (int p : com) {
        // The page number line stands alone: no text was printed over the footer.
        EXPECT_TRUE(TemLinha(pdf.paginas[p - 1], u"^\\s*Página %1\\s*$"_s.arg(p))) << qPrintable(pdf.paginas[p - 1]);
    }
    // The identification block ends its page; the areas follow under their own header.
    const QList<int> area = pdf.paginasCom(u"AREA-ATINGIDA"_s);
    ASSERT_EQ(area.size(), 1);
    EXPECT_GT(area[0], com.back());
    EXPECT_TRUE(TemLinha(pdf.paginas[area[0] - 1], u"KESTA II\\s+Áreas de atuação"_s));
    EXPECT_FALSE(TemLinha(pdf.paginas[com.front() - 1], u"Áreas de atuação"_s));
}

TEST_F(Relatorios, ListasNuncaMostramRegistrosDXY)
{
    struct Lista {
        store::Table* tabela;
        std::vector<std::pair<const char*, QString>> ligacao;
        const char* mostrado;
    };
    auto& ar = store::DataAnaliseResultados();
    auto& ra = store::DataRecursosAdquiridos();
    Insere(id().tbProjeto, {{"Cod_Proj", u"1"_s}});
    Insere(id().tbMembro, {{"Cod_Membro", u"M1"_s}, {"Nome", u"Membro"_s}, {"DescricaoFuncao", u"PESQUISADOR"_s}});
    Insere(rg().tbEstudo, {{"Cod_Estudo", u"M1"_s}});
    Insere(rg().tbPublicacao, {{"Cod_Publicacao", u"M1"_s}});
    Insere(rg().tbObrasEditadas, {{"Cod_Obra", u"M1"_s}});
    Insere(rg().tbProdTec, {{"Cod_Prod", u"M1"_s}});
    Insere(aa().tbEventosApoiados, {{"Cod_Evento", u"M1"_s}});
    Insere(aa().tbBolsa, {{"Cod_Bolsa", u"M1"_s}});
    Insere(aa().tbCapacit, {{"Cod_Capacitacao", u"M1"_s}});
    Insere(rg().tbSoftware, {{"Cod_Software", u"M1"_s}});
    Insere(rg().tbServico, {{"Cod_Servico", u"M1"_s}});
    Insere(aa().tbCursos, {{"Cod_Curso", u"M1"_s}});
    Insere(aa().tbBase, {{"Identificacao", u"M1"_s}});
    Insere(ra.tbMaterialAdquirido, {{"TipoMaterial", u"M1"_s}, {"AnoAquisicao", u"2001"_s}, {"LocaldeGastos", u"P"_s}});
    Insere(ar.tbProblemas, {{"Cod_Problema", u"M1"_s}});
    Insere(aa().tbTrabalhoAcademico, {{"Cod_Trab", u"T1"_s}, {"Cod_Bolsa", u"M1"_s}, {"Cod_Membro", u"M1"_s},
                                      {"TituloTrab", u"TRABALHO-VISIVEL"_s}});
    const std::vector<Lista> listas = {
        {&rg().tbEstudosAreaConhec, {{"Cod_Estudo", u"M1"_s}}, "DescricaoAreaConhec"},
        {&rg().tbEstudosSetores, {{"Cod_Estudo", u"M1"_s}}, "DescricaoSetorEcon"},
        {&rg().tbPublicAreaConhec, {{"Cod_Publicacao", u"M1"_s}}, "DescricaoAreaConhec"},
        {&rg().tbObraAreaConhec, {{"Cod_Obra", u"M1"_s}}, "DescricaoAreaConhec"},
        {&rg().tbPatente, {{"Cod_Prod", u"M1"_s}, {"Pais", u"BRASIL"_s}}, "Titulo"},
        {&aa().tbEventosAreaConhec, {{"Cod_Evento", u"M1"_s}}, "DescricaoAreaConhec"},
        {&aa().tbBolsaAreaConhec, {{"Cod_Bolsa", u"M1"_s}}, "DescricaoAreaConhec"},
        {&aa().tbTrabalhoAcademico, {{"Cod_Bolsa", u"M1"_s}, {"Cod_Membro", u"M1"_s}}, "TituloTrab"},
        {&aa().tbTrabalhoAreaConhec, {{"Cod_Trab", u"T1"_s}}, "DescArea"},
        {&aa().tbCapacitMembro, {{"Cod_Capacitacao", u"M1"_s}}, "Nome"},
        {&rg().tbSoftSetores, {{"Cod_Software", u"M1"_s}}, "DescrSetorEcon"},
        {&rg().tbServicoSetores, {{"Cod_Servico", u"M1"_s}}, "DescrSetorEcon"},
        {&rg().tbServicoAreaConhec, {{"Cod_Servico", u"M1"_s}}, "DescricaoAreaConhec"},
        {&aa().tbCursosAreaConhec, {{"Cod_Curso", u"M1"_s}}, "DescricaoAreaConhec"},
        {&aa().tbBaseAcesso, {{"Identificacao", u"M1"_s}}, "TipoAcesso"},
        {&aa().tbBaseArea, {{"Identificacao", u"M1"_s}}, "DescricaoAreaConhec"},
        {&ra.tbMaterialAreaConhec, {{"TipoMaterial", u"M1"_s}, {"AnoAquisicao", u"2001"_s}, {"LocaldeGastos", u"P"_s}},
         "DescricaoAreaConhec"},
        {&ar.tbAcoesCorretivas, {{"Cod_Problema", u"M1"_s}}, "TipoAcao"},
        {&id().tbMembroBolsista, {{"Cod_Membro", u"M1"_s}}, "FontePagadora"},
        {&store::DataGeral().tbSetorEconAting, {}, "DescrSetorEcon"},
        {&store::DataGeral().tbAreaConhecAting, {}, "DescricaoAreaConhec"},
    };
    for (const Lista& l : listas) {
        for (const char* s : {"N", "A", "I", "D", "X", "Y"}) {
            store::Table& t = *l.tabela;
            t.append();
            t.setValue(u"Status"_s, QString::fromLatin1(s));
            for (int c = 1; c < t.fieldCount(); ++c)
                if (t.field(c).required)
                    t.setValue(c, u"r"_s);
            for (const auto& [campo, valor] : l.ligacao)
                t.setValue(QString::fromUtf8(campo), valor);
            const bool visivel = QByteArray("NAI").contains(s);
            t.setValue(QString::fromUtf8(l.mostrado),
                       (visivel ? u"VISIVEL-%1-%2"_s : u"OCULTO-%1-%2"_s).arg(t.name(), QLatin1String(s)));
            t.post();
        }
    }
    const LeituraPdf pdf = Imprime(reports::TodasAsPastas());
    const QString t = pdf.semEspacos();
    for (const Lista& l : listas) {
        for (const char* s : {"N", "A", "I"})
            EXPECT_TRUE(t.contains(u"VISIVEL-%1-%2"_s.arg(l.tabela->name(), QLatin1String(s)))) << qPrintable(l.tabela->name());
        EXPECT_FALSE(t.contains(u"OCULTO-%1"_s.arg(l.tabela->name()))) << qPrintable(l.tabela->name());
    }
}

TEST_F(Relatorios, ImprimirNaoMudaDadosFiltrosNemRegistroCorrente)
{
    teste::PreencheProjeto(7, 3);
    Insere(id().tbMembro, {{"Cod_Membro", u"900"_s}, {"Nome", u"MEMBRO-ATIVO"_s}, {"DescricaoFuncao", u"PESQUISADOR"_s}});
    store::Table& membro = id().tbMembro;
    // A row as an old file may hold it: no exit reason, yet a later activity.
    membro.beforePost = nullptr;
    membro.edit();
    membro.setValue(u"DescAtivPosPro"_s, u"ATIVIDADE-POSTERIOR"_s);
    membro.setValue(u"TipInstAtivPosPro"_s, u"EMPRESA-PRIVADA"_s);
    membro.post();
    store::InstalaRegrasDePostagem(store::dados());
    Insere(rg().tbProdTec, {{"Cod_Prod", u"P9"_s}, {"NomeProd", u"PRODUTO-COM-PATENTE"_s}});
    Insere(rg().tbPatente, {{"Cod_Prod", u"P9"_s}, {"Titulo", u"PATENTE-ALEMA"_s}, {"Pais", u"ALEMANHA"_s},
                            {"TipoPatente", u"INVENÇÃO"_s}});

    // Filters, orders and current rows as the pages may leave them.
    aa().tbCursosAreaConhec.setFilter(u"Cod_Curso = 'zz'"_s);
    id().tbPlanoAplic.setFilter(u"Local = 'E'"_s);
    aa().tbTrabalhoAcademico.setFiltered(false);
    membro.first();
    membro.next();
    membro.next();
    rg().tbPatente.last();
    app::SetModified(false);

    struct Estado {
        QString filtro;
        bool filtrado;
        QString indice;
        QStringList indices;
        store::Table::Bookmark linha;
        bool operator==(const Estado&) const = default;
    };
    std::map<QString, Estado> antes;
    for (store::Table* t : store::dados().todas())
        antes[t->name()] = {t->filter(), t->filtered(), t->indexName(), t->indexNames(), t->bookmark()};
    const teste::Instantaneo dados = teste::TiraInstantaneo();
    // TiraInstantaneo moves cursors itself: the states are taken again after it.
    for (store::Table* t : store::dados().todas())
        antes[t->name()].linha = t->bookmark();

    const LeituraPdf pdf = Imprime(reports::TodasAsPastas());
    ASSERT_GT(pdf.paginasInfo, 10);

    for (store::Table* t : store::dados().todas()) {
        const Estado agora{t->filter(), t->filtered(), t->indexName(), t->indexNames(), t->bookmark()};
        EXPECT_EQ(agora.filtro, antes[t->name()].filtro) << qPrintable(t->name());
        EXPECT_EQ(agora.filtrado, antes[t->name()].filtrado) << qPrintable(t->name());
        EXPECT_EQ(agora.indice, antes[t->name()].indice) << qPrintable(t->name());
        EXPECT_EQ(agora.indices, antes[t->name()].indices) << qPrintable(t->name());
        EXPECT_EQ(agora.linha, antes[t->name()].linha) << qPrintable(t->name());
    }
    EXPECT_EQ(teste::TiraInstantaneo(), dados);
    EXPECT_FALSE(app::Estado().ProjectModified);

    // What printing shows instead of writing it.
    const QString t = pdf.tudo();
    EXPECT_TRUE(t.contains(u"PATENTE NO EXTERIOR"_s));
    EXPECT_FALSE(t.contains(u"ATIVIDADE-POSTERIOR"_s));
    const QList<int> ativo = pdf.paginasCom(u"MEMBRO-ATIVO"_s);
    ASSERT_EQ(ativo.size(), 1);
    EXPECT_TRUE(pdf.paginas[ativo[0] - 1].contains(u"PARTICIPANTE ATIVO"_s));
    EXPECT_FALSE(pdf.paginas[ativo[0] - 1].contains(u"EMPRESA-PRIVADA"_s));
}

TEST_F(Relatorios, EquipeComCoordenadorNoTituloEUmMembroPorPagina)
{
    Insere(id().tbMembro, {{"Cod_Membro", u"1"_s}, {"Nome", u"COORD-ANTIGO"_s}, {"DescricaoFuncao", u"COORDENADOR"_s},
                           {"MotivoSaida", u"APOSENTADORIA"_s}, {"TipInstAtivPosPro", u"OUTRA"_s}, {"Email", u"velho@x"_s}});
    Insere(id().tbMembro, {{"Cod_Membro", u"2"_s}, {"Nome", u"COORD-ATUAL"_s}, {"DescricaoFuncao", u"COORDENADOR"_s},
                           {"Email", u"atual@exemplo.br"_s}, {"EquipeOriginal", u"S"_s}});
    Insere(aa().tbTrabalhoAcademico, {{"Cod_Trab", u"T1"_s}, {"Cod_Membro", u"2"_s}, {"TituloTrab", u"TESE-DO-ATUAL"_s}});
    Insere(aa().tbTrabalhoAreaConhec, {{"Cod_Trab", u"T1"_s}, {"DescArea", u"AREA-DA-TESE"_s}});
    const LeituraPdf pdf = Imprime({Pasta::Equipe});
    const QList<int> contato = pdf.paginasCom(u"Contato com o coordenador atual"_s);
    ASSERT_EQ(contato.size(), 1);
    EXPECT_TRUE(pdf.paginas[contato[0] - 1].contains(u"atual@exemplo.br"_s));
    EXPECT_FALSE(pdf.paginas[contato[0] - 1].contains(u"velho@x"_s));
    QList<int> antigo = pdf.paginasCom(u"COORD-ANTIGO"_s);
    antigo.removeAll(1);  // the cover names the first coordinator of the table, as the store finds it
    const QList<int> atual = pdf.paginasCom(u"COORD-ATUAL"_s);
    ASSERT_EQ(antigo.size(), 1) << qPrintable(pdf.tudo());
    ASSERT_FALSE(atual.isEmpty());
    EXPECT_GT(antigo[0], contato[0]);
    const int paginaDoAtual = atual.back();
    EXPECT_GT(paginaDoAtual, antigo[0]);
    EXPECT_TRUE(TemLinha(pdf.paginas[paginaDoAtual - 1], u"Equipe original\\s+Sim"_s));
    EXPECT_TRUE(TemLinha(pdf.paginas[antigo[0] - 1], u"KESTA II\\s+Membros da equipe"_s));
    const QList<int> tese = pdf.paginasCom(u"TESE-DO-ATUAL"_s);
    ASSERT_EQ(tese.size(), 1);
    EXPECT_EQ(tese[0], paginaDoAtual + 1);  // the works start a page of their own
    EXPECT_TRUE(pdf.paginas[tese[0] - 1].contains(u"AREA-DA-TESE"_s));
}

TEST_F(Relatorios, PrimeiroEquipamentoSobOTituloOsOutrosEmPaginaPropria)
{
    store::Table& eq = store::DataRecursosAdquiridos().tbEquipamentos;
    for (int i = 1; i <= 3; ++i)
        Insere(eq, {{"Cod_Equip", QString::number(i)}, {"Descr_Equip", u"EQUIPAMENTO-%1"_s.arg(i)}});
    // A material with no area: the line under it prints, a heading over nothing does not.
    Insere(store::DataRecursosAdquiridos().tbMaterialAdquirido,
           {{"TipoMaterial", u"LIVROS"_s}, {"AnoAquisicao", u"1998"_s}, {"LocaldeGastos", u"E"_s}});
    const LeituraPdf pdf = Imprime({Pasta::RecursosAdquiridos});
    QList<int> pagina;
    for (int i = 1; i <= 3; ++i) {
        const QList<int> p = pdf.paginasCom(u"EQUIPAMENTO-%1"_s.arg(i));
        ASSERT_EQ(p.size(), 1) << i;
        pagina << p[0];
    }
    const QList<int> titulo = pdf.paginasCom(u"(Valores acima de US$ 5.000,00)"_s);
    ASSERT_EQ(titulo.size(), 1);
    EXPECT_EQ(pagina, (QList<int>{titulo[0], titulo[0] + 1, titulo[0] + 2}));
    EXPECT_EQ(pdf.paginasInfo, titulo[0] + 2);
    const QString cabecalho = u"^[ ]*KESTA II[ ]+Equipamentos adquiridos[ ]*$"_s;
    EXPECT_FALSE(TemLinha(pdf.paginas[titulo[0] - 1], cabecalho));
    EXPECT_TRUE(TemLinha(pdf.paginas[titulo[0]], cabecalho)) << qPrintable(pdf.paginas[titulo[0]]);
    EXPECT_TRUE(pdf.tudo().contains(u"Exterior"_s));
    EXPECT_FALSE(pdf.tudo().contains(u"Áreas do conhecimento"_s));
}

TEST(ValorDoOrcamento, SomaExataEIgnoraValoresMalFormados)
{
    reports::Valor v;
    for (int i = 0; i < 10; ++i)
        v.soma(u"0.1"_s);
    v.soma(u" 99999999999999.99 "_s);
    EXPECT_EQ(v.texto(), u"100000000000000.99"_s);  // beyond what a double adds exactly
    for (const QString& ruim : {u"12,5"_s, u"abc"_s, u"1e3"_s, QString(), u"1.2.3"_s, u"0.00001"_s})
        v.soma(ruim);
    EXPECT_EQ(v.texto(), u"100000000000000.99"_s);
    reports::Valor negativo;
    negativo.soma(u"-2.5"_s);
    negativo.soma(u"1.25"_s);
    EXPECT_EQ(negativo.texto(), u"-1.25"_s);
    EXPECT_FALSE(reports::Valor::le(u"12,5"_s));
    EXPECT_EQ(reports::Valor::le(u"7"_s)->texto(), u"7.00"_s);
}

// A training activity names its event when it is a participation in one, its institution otherwise.
TEST_F(Relatorios, CapacitacaoMostraOTipoDeEventoOuAInstituicao)
{
    struct Caso {
        QString tipo, evento, instituicao, rotulo, mostrado, escondido;
    };
    const QList<Caso> casos = {
        {u"PARTICIPAÇÃO EM EVENTO NO PAÍS"_s, u"EVENTO-NACIONAL"_s, u"INST-ESCONDIDA-1"_s, u"Tipo de evento"_s,
         u"EVENTO-NACIONAL"_s, u"INST-ESCONDIDA-1"_s},
        {u"PARTICIPAÇÃO EM EVENTO NO EXTERIOR"_s, u"EVENTO-EXTERIOR"_s, u"INST-ESCONDIDA-2"_s, u"Tipo de evento"_s,
         u"EVENTO-EXTERIOR"_s, u"INST-ESCONDIDA-2"_s},
        {u"TREINAMENTO EM SERVIÇO"_s, u"EVENTO-ESCONDIDO"_s, u"INST-DE-TREINO"_s, u"Instituição de treinamento"_s,
         u"INST-DE-TREINO"_s, u"EVENTO-ESCONDIDO"_s},
    };
    int n = 0;
    for (const Caso& c : casos)
        Insere(aa().tbCapacit, {{"Cod_Capacitacao", QString::number(++n)}, {"TipodeCapacitacao", c.tipo},
                                {"TipoEvento", c.evento}, {"NomeInstTreinam", c.instituicao}});
    const QString t = Imprime({Pasta::Resultados}).tudo();
    for (const Caso& c : casos) {
        EXPECT_TRUE(TemLinha(t, u"^\\s*%1\\s+%2\\s*$"_s.arg(c.rotulo, c.mostrado))) << qPrintable(c.tipo) << qPrintable(t);
        EXPECT_FALSE(t.contains(c.escondido)) << qPrintable(c.tipo);
    }
}

// Every page of a long memo is headed by its section, the ones it runs on to as much as its first.
TEST_F(Relatorios, MemoLongoTemOCabecalhoDaSecaoEmCadaPagina)
{
    struct Caso {
        const char* nome;
        Pasta pasta;
        std::function<void(const QString&)> insere;
        QString secao;
    };
    const QList<Caso> casos = {
        {"objetivo", Pasta::DadosGerais,
         [&](const QString& m) { Insere(id().tbProjeto, {{"Cod_Proj", u"1"_s}, {"Objetivo", m}}); }, u"Identificação"_s},
        {"análise", Pasta::Avaliacao,
         [](const QString& m) { Insere(store::DataAnaliseResultados().tbAnalisQualitativa, {{"Descricao", m}}); },
         u"Análise dos resultados"_s},
        {"comentários", Pasta::Avaliacao,
         [](const QString& m) { Insere(store::DataAnaliseResultados().tbComentariosGerais, {{"Descricao", m}}); },
         u"Análise dos resultados"_s},
        {"programa de qualidade", Pasta::Resultados,
         [](const QString& m) { Insere(store::DataAnaliseResultados().tbQualidade, {{"Cod_Qualidade", u"1"_s}, {"Resultados", m}}); },
         u"Resultados dos programas de qualidade apoiados"_s},
        {"produção tecnológica", Pasta::Resultados,
         [&](const QString& m) { Insere(rg().tbProdTec, {{"Cod_Prod", u"1"_s}, {"Descricao", m}}); }, u"Produções tecnológicas"_s},
        {"estudo", Pasta::Resultados,
         [&](const QString& m) { Insere(rg().tbEstudo, {{"Cod_Estudo", u"1"_s}, {"Descricao", m}}); }, u"Estudos Realizados"_s},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ambiente = std::make_unique<teste::AmbienteDeProjeto>();
        QString memo;
        for (int i = 0; memo.size() < 9000; ++i)
            memo += u"m%1 "_s.arg(i, 4, 10, QLatin1Char('0'));
        c.insere(memo);
        const LeituraPdf pdf = Imprime({c.pasta});
        const QList<int> paginas = pdf.paginasCom(u"m0"_s);
        ASSERT_GE(paginas.size(), 2);
        EXPECT_TRUE(pdf.tudo().contains(memo.trimmed().section(u' ', -1)));  // its last word
        const QString cabecalho = u"^\\s*KESTA II\\s+%1\\s*$"_s.arg(c.secao);
        for (int p : paginas.mid(1))
            EXPECT_TRUE(TemLinha(pdf.paginas[p - 1], cabecalho)) << p << qPrintable(pdf.paginas[p - 1]);
    }
}

// The cover: the agency and the programme's full name on one line, the name from the user's settings,
// else the installation's, else none and no dash.
TEST_F(Relatorios, CapaComESemNomeDoPrograma)
{
    QTemporaryDir usuario;
    const QByteArray xdgAntes = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(usuario.path()));
    struct Caso {
        const char* nome;
        std::optional<QByteArray> ambiente;  // REZOZUR_NOME_DO_PROGRAMA, unset when none
        QString doUsuario;                   // nomeDoPrograma in the user's own settings, none when empty
        QString linha;
    };
    const QList<Caso> casos = {
        {"variável", QByteArray("Programa de Apoio de Teste"), {}, u"Orvane - Programa de Apoio de Teste"_s},
        {"sem nome", QByteArray(), {}, u"Orvane"_s},
        {"o da instalação", std::nullopt, {}, u"Orvane - Programa KESTA de Ciência e Tecnologia"_s},
        {"o do usuário sobre o da instalação", std::nullopt, u"Programa do Usuário"_s, u"Orvane - Programa do Usuário"_s},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        if (c.ambiente)
            qputenv("REZOZUR_NOME_DO_PROGRAMA", *c.ambiente);
        else
            qunsetenv("REZOZUR_NOME_DO_PROGRAMA");
        QDir(usuario.path()).mkpath(u"rezozur"_s);
        QFile ini(usuario.filePath(u"rezozur/rezozur.ini"_s));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(c.doUsuario.isEmpty() ? QByteArray() : "[relatorio]\nnomeDoPrograma=" + c.doUsuario.toUtf8() + "\n");
        ini.close();
        const QString capa = Imprime({}).paginas.value(0);
        // The title may wrap: its words in order, the name right after the dash, and no line ending in one.
        const QString titulo = capa.simplified();
        EXPECT_TRUE(titulo.startsWith(c.linha + u" "_s)) << qPrintable(capa);
        EXPECT_FALSE(TemLinha(capa, u"-\\s*$"_s)) << qPrintable(capa);
    }
    qputenv("XDG_CONFIG_HOME", xdgAntes);
}

// The budget numbers every page, its first ones in the page footer and its last one in the footer of
// the totals, once each.
TEST_F(Relatorios, OrcamentoNumeraCadaPaginaUmaVez)
{
    for (const int linhas : {60, 130}) {
        SCOPED_TRACE(linhas);
        ambiente = std::make_unique<teste::AmbienteDeProjeto>();
        for (int i = 0; i < linhas; ++i)
            Insere(id().tbPlanoAplic, {{"Local", i % 2 ? u"E"_s : u"P"_s}, {"ItemDispendio", u"ITEM-%1"_s.arg(i)},
                                       {"VlContratado", u"1.00"_s}});
        const LeituraPdf pdf = Imprime({Pasta::Orcamento});
        const int primeira = pdf.paginasCom(u"Planos de aplicação dos recursos financeiros"_s).value(0);
        ASSERT_GE(pdf.paginasInfo, primeira + 1) << "the plan should take two pages at least";
        for (int p = primeira; p <= pdf.paginasInfo; ++p)
            EXPECT_EQ(pdf.paginas[p - 1].count(QRegularExpression(u"Página %1\\s*$"_s.arg(p), QRegularExpression::MultilineOption)),
                      1) << p << qPrintable(pdf.paginas[p - 1]);
        EXPECT_TRUE(TemLinha(pdf.paginas.back(), u"Total Geral"_s));
    }
}

// Every page header and every section title stands on one line, the longest one included.
TEST_F(Relatorios, CabecalhosCabemNumaLinha)
{
    teste::PreencheProjeto(8, 7);
    const LeituraPdf pdf = Imprime(reports::TodasAsPastas());
    const QRegularExpression cabecalho(u"^\\s*KESTA II\\s+(\\S.*\\S)\\s*$"_s, QRegularExpression::MultilineOption);
    QSet<QString> vistos;
    for (const QString& p : pdf.paginas)
        for (const auto& m : cabecalho.globalMatch(p))
            vistos << m.captured(1);
    const QString longo = u"Outras atividades de capacitação de RH, exceto concessão de bolsas"_s;
    EXPECT_TRUE(vistos.contains(longo)) << qPrintable(QStringList(vistos.begin(), vistos.end()).join(u'\n'));
    EXPECT_TRUE(TemLinha(pdf.tudo(), u"^\\s*%1\\s*$"_s.arg(longo)));  // the title
    const QSet<QString> secoes = {
        u"Identificação"_s, u"Áreas de atuação"_s, u"Locais de execução de pesquisa de campo"_s,
        u"Instituições envolvidas no projeto , inclusive Co-executoras"_s, u"Membros da equipe"_s,
        u"Estudos Realizados"_s, u"Publicações"_s, u"Obras editadas"_s, u"Produções tecnológicas"_s,
        u"Eventos apoiados"_s, u"Bolsas de estudos concedidas"_s, longo,
        u"Resultados dos programas de qualidade apoiados"_s, u"Softwares gerados"_s, u"Laboratórios apoiados"_s,
        u"Serviços externos prestados"_s, u"Cursos apoiados"_s, u"Bases de dados apoiadas"_s,
        u"Materiais informacionais adquiridos"_s, u"Equipamentos adquiridos"_s,
        u"Planos de aplicação dos recursos financeiros"_s, u"Outras fontes de financiamento"_s,
        u"Análise dos resultados"_s, u"Problemas ocorridos ao longo do projeto"_s,
        // The folders' names, beside the product label of their titles.
        u"Dados Gerais"_s, u"Instituições"_s, u"Equipe"_s, u"Resultados Gerados"_s, u"Atividades apoiadas"_s,
        u"Recursos adquiridos"_s, u"Recursos Financeiros / Orçamento"_s, u"Avaliação"_s};
    for (const QString& v : vistos)
        EXPECT_TRUE(secoes.contains(v)) << "a header cut or unknown: " << qPrintable(v);
}
