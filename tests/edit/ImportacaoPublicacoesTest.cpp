// The import of publications from BibTeX and RIS files: reading, mapping, the dialog's checks and the
// writing in one step, over the lookup files the build lays out and a project like the demo one.
#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "edit/ImportacaoPublicacoes.h"
#include "store/Dados.h"

#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;
using edit::Destino;

namespace {

QByteArray LeFixture(const QString& nome)
{
    QFile f(QStringLiteral(DADOS_DE_TESTE "/referencias/") + nome);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ImportacaoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::InicializaEstado(QCoreApplication::applicationDirPath());
        store::criaDados();
        app::instalaInteracao(&m_seam);
        auto& id = store::DataIdentificacao();
        inclui(id.tbProjeto, {{u"Cod_Proj"_s, u"1"_s}, {u"DataAssinat"_s, u"15/03/1996"_s}});
        const std::pair<QString, QString> membros[] = {
            {u"1001"_s, u"MARIA APARECIDA DOS SANTOS"_s}, {u"1002"_s, u"JOÃO BATISTA DE OLIVEIRA"_s},
            {u"1003"_s, u"ANA LÚCIA FERREIRA"_s},         {u"1004"_s, u"JOSÉ CARLOS PEREIRA"_s},
            {u"1005"_s, u"LUIZ FERNANDO COSTA"_s},        {u"1006"_s, u"PATRÍCIA GOMES RIBEIRO"_s}};
        for (const auto& [codigo, nome] : membros)
            membro(codigo, nome);
        inclui(pub(), {{u"Cod_Publicacao"_s, u"2001"_s}, {u"TipoPublicacao"_s, u"ARTIGO EM PERIÓDICO"_s},
                       {u"Qualificacao"_s, u"INTERNACIONAL"_s},
                       {u"Titulo"_s, u"SENSOR DE TURBIDEZ EM FIBRA ÓPTICA PLÁSTICA PARA ÁGUAS SUPERFICIAIS"_s},
                       {u"Autor"_s, u"1001"_s}, {u"VeiculoPublic"_s, u"REVISTA BRASILEIRA DE INSTRUMENTAÇÃO"_s},
                       {u"PaisPublicacao"_s, u"BRASIL"_s}, {u"DataPublicacao"_s, u"10/08/1997"_s}});
        opcoes.area = u"ENGENHARIA SANITÁRIA"_s;
        opcoes.qualificacao = u"NACIONAL"_s;
    }
    void TearDown() override
    {
        app::instalaInteracao(nullptr);
        store::destroiDados();
    }

    static void membro(const QString& codigo, const QString& nome)
    {
        inclui(store::DataIdentificacao().tbMembro,
               {{u"Cod_Membro"_s, codigo}, {u"Nome"_s, nome}, {u"EquipeOriginal"_s, u"S"_s}, {u"DescricaoFuncao"_s, u"PESQUISADOR"_s}});
    }
    static store::Table& pub() { return store::DataResultadosGerados().tbPublicacao; }
    static store::Table& areas() { return store::DataResultadosGerados().tbPublicAreaConhec; }

    static void inclui(store::Table& t, std::initializer_list<std::pair<QString, QString>> campos)
    {
        if (!t.active())
            t.open();
        t.append();
        t.setValue(u"Status"_s, u"N"_s);
        for (const auto& [c, v] : campos)
            t.setValue(c, v);
        t.post();
    }

    // Every row of a table, the filter aside, to compare before and after.
    static std::string despejo(const store::Table& t)
    {
        QStringList linhas;
        for (const auto b : t.naturalRows()) {
            QStringList v;
            for (int c = 0; c < t.fieldCount(); ++c)
                v << t.rowValue(b, c);
            linhas << v.join(u'|');
        }
        return linhas.join(u'\n').toStdString();
    }

    edit::Importacao prepara(const QByteArray& bytes, const QString& nome = u"refs.bib"_s)
    {
        return edit::PreparaImportacao(bytes, nome, opcoes);
    }

    app::InteracaoRoteirizada m_seam;
    edit::OpcoesImportacao opcoes;
};

// What one entry must come out as; an empty expected field is not compared.
struct Esperado {
    Destino destino;
    const char16_t* tipo;
    const char16_t* titulo;
    const char16_t* veiculo;
    const char16_t* data;
    const char16_t* autor;   // the member's name
    const char16_t* motivo;  // a part of the reason
};

void Confere(const edit::Importacao& imp, const std::vector<Esperado>& esperados, const char* arquivo)
{
    ASSERT_EQ(imp.entradas.size(), esperados.size()) << arquivo;
    for (size_t i = 0; i < esperados.size(); ++i) {
        const edit::PublicacaoImportada& p = imp.entradas[i];
        const Esperado& e = esperados[i];
        SCOPED_TRACE(std::string(arquivo) + " linha " + std::to_string(p.referencia.linha) + " "
                     + p.referencia.chave.toStdString() + ": " + p.motivo.toStdString());
        EXPECT_EQ(int(p.destino), int(e.destino));
        EXPECT_EQ(p.marcada, e.destino == Destino::Importar);
        const std::pair<const char16_t*, QString> campos[] = {
            {e.tipo, p.tipo}, {e.titulo, p.titulo}, {e.veiculo, p.veiculo}, {e.data, p.data}, {e.autor, p.nomeAutor}};
        for (const auto& [esperado, obtido] : campos) {
            if (esperado && *esperado) {
                EXPECT_EQ(obtido.toStdString(), QString::fromUtf16(esperado).toStdString());
            }
        }
        if (e.motivo && *e.motivo) {
            EXPECT_TRUE(p.motivo.contains(QString::fromUtf16(e.motivo))) << p.motivo.toStdString();
        }
        if (e.destino == Destino::Importar) {
            EXPECT_EQ(p.qualificacao, u"NACIONAL"_s);
            EXPECT_EQ(p.pais, u"BRASIL"_s);
        }
    }
}

constexpr auto I = Destino::Importar;
constexpr auto D = Destino::Duplicada;
constexpr auto R = Destino::Recusada;
const char16_t* const Periodico = u"ARTIGO EM PERIÓDICO";
const char16_t* const Anais = u"ARTIGO EM ANAIS DE EVENTO";
const char16_t* const Outra = u"OUTRA";
const char16_t* const Maria = u"MARIA APARECIDA DOS SANTOS";
const char16_t* const Joao = u"JOÃO BATISTA DE OLIVEIRA";
const char16_t* const Ana = u"ANA LÚCIA FERREIRA";
const char16_t* const Jose = u"JOSÉ CARLOS PEREIRA";
const char16_t* const Luiz = u"LUIZ FERNANDO COSTA";
const char16_t* const Patricia = u"PATRÍCIA GOMES RIBEIRO";
const char16_t* const Rbi = u"Revista Brasileira de Instrumentação";
const char16_t* const SemAutor = u"-  Autor Principal";
const char16_t* const SemData = u"-  Data de Publicação";
const char16_t* const Aspas = u"O título da publicação não pode conter aspas!";
const char16_t* const Duplicada = u"Já existe Publicação cadastrada com Título e Veículo de Publicação indicados!";

} // namespace

// Both files as reference managers write them (BibTeX in UTF-8 with LaTeX accents and @string macros;
// RIS in Latin-1 with CRLF line ends), entry by entry: fields, fate and reason.
TEST_F(ImportacaoTest, MapeamentoDosDoisFormatos)
{
    const std::vector<Esperado> bib = {
        {I, Periodico, u"Calibração de sondas ópticas em águas turvas", Rbi, u"31/03/1997", Maria, nullptr},
        {I, Anais, u"Monitoramento contínuo da turbidez no Rio das Velhas",
         u"Anais do Simpósio Brasileiro de Recursos Hídricos – Volume 2", u"31/10/1998", Joao, nullptr},
        {I, u"RELATÓRIO TÉCNICO", u"Relatório de ensaios de campo em Sabará",
         u"Instituto de Pesquisas Hidrológicas do Cerrado", u"30/06/1999", Jose, nullptr},
        {R, Periodico, nullptr, nullptr, nullptr, nullptr, SemAutor},
        {D, nullptr, u"SENSOR DE TURBIDEZ EM FIBRA ÓPTICA PLÁSTICA PARA ÁGUAS SUPERFICIAIS",
         u"REVISTA BRASILEIRA DE INSTRUMENTAÇÃO", nullptr, Maria, Duplicada},
        {D, nullptr, nullptr, nullptr, nullptr, nullptr, u"(repete a entrada da linha 11)"},
        {R, nullptr, u"Sondas d'água: uma revisão", nullptr, nullptr, Ana, Aspas},
        {R, nullptr, nullptr, u"Engenharia Sanitária e Ambiental", u"", Luiz, SemData},
        {R, nullptr, nullptr, nullptr, nullptr, Joao, u"O tipo de entrada \"Dataset\" não corresponde"},
        {I, Outra, u"Manual de operação da sonda SMO-1", u"IPHC", u"31/12/2004", Jose, nullptr},
        {I, Outra, u"Óptica aplicada à qualidade da água", u"Editora Universitária das Águas", u"31/12/2000",
         Patricia, nullptr},
        {I, Outra, nullptr, u"Universidade Federal de São João das Águas", u"28/02/2005", Joao, nullptr},
        {I, Periodico, u"The KESTA programme and its Sensors: A Nested Case", u"Water Research", u"30/09/2006",
         Maria, nullptr},
        {I, Periodico, u"Medições de condutividade em âmbito regional: análise à luz do método de Müller", Rbi,
         u"31/12/2007", Jose, nullptr},
        {R, nullptr, nullptr, nullptr, nullptr, Ana, u"Data precisa ser maior que a Data de Assinatura do Projeto."},
        {R, nullptr, nullptr, nullptr, nullptr, Maria, u"Datas Finais precisam estar entre 01/01/1990 e 31/12/2010."},
        {I, Anais, u"Telemetria de baixo custo para Sabará", u"Anais do Congresso de Instrumentação", u"30/11/2008",
         Luiz, nullptr},
        {I, Periodico, u"Turbidez e sólidos em suspensão", u"Revista Água & Ambiente", u"14/05/2009", Joao, nullptr},
        {I, Outra, nullptr, u"IPHC", u"31/12/2010", Patricia, nullptr},
    };
    const edit::Importacao b = prepara(LeFixture(u"publicacoes.bib"_s), u"publicacoes.bib"_s);
    Confere(b, bib, "publicacoes.bib");
    EXPECT_EQ(b.entradas[0].coautores, u"Maria Aparecida dos Santos; João Batista de Oliveira; Ana Lúcia Ferreira"_s);
    EXPECT_EQ(b.entradas[16].coautores, u"Luiz Fernando Costa"_s);

    const std::vector<Esperado> ris = {
        {I, Periodico, u"Turbidez de águas superficiais medida por fibra óptica", Rbi, u"14/05/1998", Maria, nullptr},
        {I, Anais, u"Rede de sondas para o Alto Rio das Velhas", u"Anais do Simpósio Brasileiro de Recursos Hídricos",
         u"30/09/1999", Joao, nullptr},
        {I, u"RELATÓRIO TÉCNICO", nullptr, u"Instituto de Pesquisas Hidrológicas do Cerrado", u"31/12/2000", Jose,
         nullptr},
        {R, nullptr, u"Trübungsmessung in Flüssen", nullptr, nullptr, u"", SemAutor},
        {D, nullptr, nullptr, nullptr, u"10/08/1997", Maria, Duplicada},
        {D, nullptr, nullptr, nullptr, nullptr, Ana, u"(repete a entrada da linha 1)"},
        {R, nullptr, nullptr, nullptr, nullptr, Luiz, Aspas},
        {R, nullptr, nullptr, nullptr, nullptr, Patricia, SemData},
        {R, nullptr, nullptr, nullptr, nullptr, nullptr, u"O tipo de entrada \"DATA\" não corresponde"},
        {I, Outra, u"Óptica aplicada à qualidade da água", u"Editora Universitária das Águas", u"31/12/2001",
         Patricia, nullptr},
        {I, Outra, nullptr, u"Manual de Hidrologia Aplicada", u"31/03/2002", Luiz, nullptr},
        {I, Outra, nullptr, u"Universidade Federal de São João das Águas", u"31/12/2003", Joao, nullptr},
        {I, u"RESUMO EM ANAIS DE EVENTO", nullptr, nullptr, u"31/12/2004", Ana, nullptr},
        {I, u"ARTIGO DE DIVULGAÇÃO", nullptr, u"Ciência Hoje", u"01/07/2005", Maria, nullptr},
        {I, Periodico, u"Um método de calibração de sondas que se estende por mais de uma linha", Rbi,
         u"31/12/2006", Jose, nullptr},
        {R, nullptr, nullptr, nullptr, nullptr, nullptr, u"Data precisa ser maior que a Data de Assinatura"},
        {I, Periodico, u"Sólidos em suspensão no Rio das Velhas", nullptr, u"31/12/2009", Ana, nullptr},
        {I, Periodico, u"Deriva térmica de fotodiodos", u"Rev. Bras. Instrum.", u"31/12/2006", Jose, nullptr},
        {I, Outra, nullptr, u"IPHC", u"31/12/2007", Luiz, nullptr},
        {I, Periodico, u"Turbidity in Brazilian savanna rivers", u"Water Research", u"31/12/2008", Joao, nullptr},
    };
    const edit::Importacao r = prepara(LeFixture(u"publicacoes.ris"_s), u"publicacoes.ris"_s);
    Confere(r, ris, "publicacoes.ris");
    EXPECT_EQ(r.entradas[2].coautores, u"Pereira JC; Costa LF"_s);
    EXPECT_EQ(r.entradas[17].referencia.chave, u"ref18"_s);
    // Preparing changes nothing.
    EXPECT_EQ(pub().totalRowCount(), 1);
    EXPECT_EQ(areas().totalRowCount(), 0);
    EXPECT_TRUE(m_seam.mensagens.isEmpty());
}

// The dialog's refusals as the batch choices and the entries bring them about, one case a row.
TEST_F(ImportacaoTest, RecusasComAsRegrasDoDialogo)
{
    const QByteArray artigo = "@article{a, author={Santos, M. A.}, title={T{\\'\\i}tulo}, journal={J}, year=1999}";
    struct Caso {
        const char* nome;
        QByteArray arquivo;
        std::function<void(edit::OpcoesImportacao&)> muda;
        Destino destino;
        QString motivo;
    };
    const QString longo(256, u'x');
    const std::vector<Caso> casos = {
        {"sem área", artigo, [](auto& o) { o.area.clear(); }, R, u"Indique pelo menos uma Área do Conhecimento."_s},
        {"sem qualificação", artigo, [](auto& o) { o.qualificacao.clear(); }, R,
         u"Verifique se os seguintes campos estão preenchidos:\r\r           -  Qualificação"_s},
        {"sem país", artigo, [](auto& o) { o.pais.clear(); }, R, u"           -  País"_s},
        {"tudo em ordem", artigo, {}, I, QString()},
        {"tipo desconhecido com tipo escolhido", "@patent{p, author={Santos, M.}, title={P}, publisher={X}, year=1999}",
         [](auto& o) { o.tipoDesconhecido = u"OUTRA"_s; }, I, QString()},
        {"aspas no veículo", "@article{a, author={Santos, M.}, title={T}, journal={Jornal d'Oeste}, year=1999}", {}, R,
         u"O veículo da publicação não pode conter aspas!"_s},
        {"título longo demais", "@article{a, author={Santos, M.}, title={" + longo.toUtf8() + "}, journal={J}, year=1999}",
         {}, R, u"O valor do campo 'Titulo' excede o tamanho máximo de 255 caracteres."_s},
        {"sem veículo", "@article{a, author={Santos, M.}, title={T}, year=1999}", {}, R,
         u"           -  Veículo de Publicação"_s},
        {"sem título", "@article{a, author={Santos, M.}, journal={J}, year=1999}", {}, R, u"           -  Título"_s},
        {"nome ambíguo", "@article{a, author={Silva, J.}, title={T}, journal={J}, year=1999}", {}, R,
         u"-  Autor Principal"_s},
        {"ilegível", "@article{a, title={sem {fim, year=1999}\n", {}, R, u"Entrada ilegível (linha 1: chave aberta"_s},
        {"ano não numérico", "@article{a, author={Santos, M.}, title={T}, journal={J}, year={no prelo}}", {}, R,
         u"-  Data de Publicação"_s},
        {"duplicada em outra caixa, como o servidor a devolve",
         "@article{a, author={Santos, M.}, title={Sensor de turbidez em fibra óptica plástica para águas superficiais},"
         " journal={Revista Brasileira de Instrumentação}, year=1999}",
         {}, D, u"Já existe Publicação cadastrada com Título e Veículo de Publicação indicados!"_s},
        {"publicação excluída não é duplicada",
         "@article{a, author={Santos, M.}, title={EXCLUIDA}, journal={J}, year=1999}", {}, I, QString()},
    };
    // Two members whose names a bare initial cannot tell apart, and a deleted publication.
    membro(u"1101"_s, u"JOSÉ DA SILVA"_s);
    membro(u"1102"_s, u"JÚLIA SILVA"_s);
    inclui(pub(), {{u"Status"_s, u"D"_s}, {u"Cod_Publicacao"_s, u"2002"_s}, {u"TipoPublicacao"_s, u"OUTRA"_s},
                   {u"Qualificacao"_s, u"LOCAL"_s}, {u"Titulo"_s, u"EXCLUIDA"_s}, {u"Autor"_s, u"1001"_s},
                   {u"VeiculoPublic"_s, u"J"_s}});
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        edit::OpcoesImportacao o = opcoes;
        if (c.muda)
            c.muda(o);
        const edit::Importacao imp = edit::PreparaImportacao(c.arquivo, u"x.bib"_s, o);
        ASSERT_EQ(imp.entradas.size(), 1u);
        EXPECT_EQ(int(imp.entradas[0].destino), int(c.destino));
        const QString& motivo = imp.entradas[0].motivo;
        EXPECT_TRUE(c.motivo.isEmpty() ? motivo.isEmpty() : motivo.contains(c.motivo)) << motivo.toStdString();
    }
    // A broken entry costs only itself: the reading goes on at the next "@" that starts a line.
    const edit::Importacao imp = prepara("@article{a, title={sem {fim, year=1999}\n" + artigo);
    ASSERT_EQ(imp.entradas.size(), 2u);
    EXPECT_EQ(int(imp.entradas[1].destino), int(I));
    EXPECT_EQ(imp.entradas[1].titulo, u"Título"_s);

    // Macros made of macros, each as long as a value may be: the reading refuses them past a bound
    // instead of filling the memory, and still reads the entry after them.
    QByteArray bomba = "@string{m0 = \"" + QByteArray(60000, 'x') + "\"}\n";
    for (int i = 1; i < 100; ++i)
        bomba += "@string{m" + QByteArray::number(i) + " = m" + QByteArray::number(i - 1) + " # m0}\n";
    const edit::Importacao depois = prepara(bomba + artigo);
    ASSERT_FALSE(depois.entradas.empty());
    EXPECT_TRUE(depois.entradas.front().motivo.contains(u"as macros @string passam de 4194304 caracteres"_s))
        << depois.entradas.front().motivo.toStdString();
    EXPECT_EQ(int(depois.entradas.back().destino), int(I));
}

// The writing: new rows as the dialog makes them, all of them or none, whatever stops it.
TEST_F(ImportacaoTest, GravacaoEmUmPassoComCancelamentoEFalha)
{
    edit::Importacao imp = prepara(LeFixture(u"publicacoes.bib"_s));
    imp.entradas[1].marcada = false;  // unticked in the preview
    const std::string pubAntes = despejo(pub()), areasAntes = despejo(areas());
    const QString filtroAntes = pub().filter();

    // Cancelled at the second question: nothing stays.
    int perguntas = 0;
    EXPECT_EQ(edit::GravaImportacao(imp, opcoes, [&](int, int) { return ++perguntas < 2; }), -1);
    EXPECT_EQ(despejo(pub()), pubAntes);
    EXPECT_EQ(despejo(areas()), areasAntes);
    EXPECT_FALSE(app::Estado().ProjectModified);

    // A failure on the fifth area row: nothing stays and the failure reaches the caller.
    int postadas = 0;
    areas().beforePost = [&](store::Table&) {
        if (++postadas == 5)
            throw std::runtime_error("disco cheio");
    };
    EXPECT_THROW(edit::GravaImportacao(imp, opcoes), std::runtime_error);
    areas().beforePost = nullptr;
    EXPECT_EQ(despejo(pub()), pubAntes);
    EXPECT_EQ(despejo(areas()), areasAntes);
    EXPECT_EQ(pub().filter(), filtroAntes);
    EXPECT_TRUE(pub().filtered());

    int ultima = -1;
    EXPECT_EQ(edit::GravaImportacao(imp, opcoes, [&](int feitas, int total) {
                  EXPECT_EQ(total, 10);
                  ultima = feitas;
                  return true;
              }),
              10);
    EXPECT_EQ(ultima, 10);
    EXPECT_TRUE(app::Estado().ProjectModified);
    ASSERT_EQ(pub().totalRowCount(), 11);
    ASSERT_EQ(areas().totalRowCount(), 10);
    QSet<QString> codigos;
    const auto linhas = pub().naturalRows();
    for (size_t i = 1; i < linhas.size(); ++i) {
        const QString codigo = pub().rowValue(linhas[i], 1);
        EXPECT_EQ(pub().rowValue(linhas[i], 0), u"I"_s);
        EXPECT_TRUE(codigo.toInt() <= 0 && codigo.toInt() > -2000000) << codigo.toStdString();
        codigos.insert(codigo);
    }
    EXPECT_EQ(codigos.size(), 10);
    for (const auto b : areas().naturalRows()) {
        EXPECT_EQ(areas().rowValue(b, 0), u"I"_s);
        EXPECT_TRUE(codigos.contains(areas().rowValue(b, 1)));
        EXPECT_EQ(areas().rowValue(b, 2), u"ENGENHARIA SANITÁRIA"_s);
    }
    const auto primeira = linhas[1];
    const QStringList esperado = {u"I"_s, pub().rowValue(primeira, 1), u"ARTIGO EM PERIÓDICO"_s, u"NACIONAL"_s,
                                  u"Calibração de sondas ópticas em águas turvas"_s, u"1001"_s,
                                  u"Revista Brasileira de Instrumentação"_s, u"BRASIL"_s, u"31/03/1997"_s,
                                  u"Maria Aparecida dos Santos; João Batista de Oliveira; Ana Lúcia Ferreira"_s};
    EXPECT_EQ(QString::fromStdString(despejo(pub())).split(u'\n').value(1), esperado.join(u'|'));

    // Imported once, the same file finds every entry a duplicate.
    const edit::Importacao outra = prepara(LeFixture(u"publicacoes.bib"_s));
    EXPECT_EQ(outra.conta(Destino::Importar), 1);  // the one left unticked
    EXPECT_EQ(outra.conta(Destino::Duplicada), 12);
}

// The choices of the batch are taken as the lookup files spell them, and refused when not listed.
TEST_F(ImportacaoTest, OpcoesConferidasComAsListas)
{
    edit::OpcoesImportacao o;
    o.area = u"engenharia sanitaria"_s;
    o.qualificacao = u"nacional"_s;
    o.pais = u"brasil"_s;
    EXPECT_EQ(edit::ConfereOpcoes(o), QString());
    EXPECT_EQ(o.area, u"ENGENHARIA SANITÁRIA"_s);
    EXPECT_EQ(o.qualificacao, u"NACIONAL"_s);
    EXPECT_EQ(o.pais, u"BRASIL"_s);
    o.area = u"ASTROLOGIA"_s;
    o.tipoDesconhecido = u"POEMA"_s;
    EXPECT_EQ(edit::ConfereOpcoes(o), u"área do conhecimento \"ASTROLOGIA\" não consta da lista; "
                                      "tipo de publicação \"POEMA\" não consta da lista"_s);
}

// Field names as files write them (any case), LaTeX with dashes next to plain runs, one journal spelt in
// two cases and one refused date met twice: each entry comes out as if it were the only one of its kind.
TEST_F(ImportacaoTest, NomesDeCampoTracosEDatasRepetidas)
{
    const QByteArray bib = R"(@ARTICLE{a1, AUTHOR = {Santos, Maria A.}, TITLE = {Sondas {\'o}pticas -- parte 1-A},
  JournalTitle = {Revista {\'A}gua}, YEAR = 1998, Month = Mar}
@article{a2, author = {Costa, L. F.}, title = {Sondas---revis{\~a}o~geral}, journal = {REVISTA ÁGUA}, year = {1999}}
@article{a3, author = {Costa, L. F.}, title = {Sondas ópticas -- parte 1-A}, journal = {Revista Água}, year = 1998, month = 3}
@article{a4, author = {Santos, Maria A.}, title = {Antes do projeto}, journal = {Revista Água}, year = 1991}
@article{a5, author = {Costa, L. F.}, title = {Também antes}, journal = {Outra Revista}, year = 1991}
@article{a6, author = {Santos, Maria A.}, titlé = {Não é o título}, title = {Com campo estranho}, journal = {X}, year = 2001}
)";
    const char16_t* const Antes = u"Data precisa ser maior que a Data de Assinatura do Projeto.";
    const std::vector<Esperado> esperados = {
        {Destino::Importar, nullptr, u"Sondas ópticas – parte 1-A", u"Revista Água", u"31/03/1998", nullptr, nullptr},
        {Destino::Importar, nullptr, u"Sondas—revisão geral", u"REVISTA ÁGUA", u"31/12/1999", nullptr, nullptr},
        {Destino::Duplicada, nullptr, nullptr, nullptr, nullptr, nullptr, u"(repete a entrada da linha 1)"},
        {Destino::Recusada, nullptr, nullptr, nullptr, nullptr, nullptr, Antes},
        {Destino::Recusada, nullptr, nullptr, nullptr, nullptr, nullptr, Antes},
        {Destino::Importar, nullptr, u"Com campo estranho", u"X", u"31/12/2001", nullptr, nullptr},
    };
    Confere(prepara(bib), esperados, "nomes e traços");
}
