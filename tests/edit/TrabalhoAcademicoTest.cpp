// The entity-dialog pattern through its smallest member, the academic work: bindings, checks in
// order, nested commit and roll-back, the guard, the closing question and the quiet exits.
#include "tests/edit/Apoio.h"

#include "edit/CopiasDeTrabalho.h"
#include "edit/Edicao.h"
#include "edit/EdicaoTrabalhoAcademico.h"
#include "edit/Escolha.h"
#include "edit/FonteDeItens.h"
#include "edit/FormularioRoteirizado.h"
#include "edit/GradeTrabalhoAcademico.h"

#include "core/InteracaoRoteirizada.h"
#include "core/ProgramState.h"
#include "store/Dados.h"

#include <gtest/gtest.h>

// Readable strings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using app::Resposta;

void linha(store::Table& t, std::initializer_list<std::pair<const char*, const char*>> valores)
{
    t.append();
    for (const auto& [campo, valor] : valores)
        t.setValue(QString::fromUtf8(campo), QString::fromUtf8(valor));
    t.post();
}

class TrabalhoAcademico : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::Estado().ProjectModified = false;
        m_leitor = edit::TrocaLeitorDeItens([](const QString& arquivo) {
            if (arquivo == QLatin1String("tipos_trabalho_academico.txt"))
                return QStringList{QStringLiteral("TESE DE DOUTORADO"), QStringLiteral("DISSERTAÇÃO DE MESTRADO")};
            return QStringList{};
        });
        // Each choice is the next area of a short list, written as the choice dialog writes it.
        m_abridor = edit::InstalaAbridorEscolha([n = 0](edit::TipoEscolha, const edit::ContextoEscolha& c) mutable {
            const QStringList nomes = {QStringLiteral("ECOLOGIA"), QStringLiteral("BOTÂNICA")};
            const QString nome = nomes.at(n++ % 2);
            c.filho->setValue(QStringLiteral("DescArea"), nome);
            c.filho->setValue(c.campoLigacao, c.codigoPai);
            c.filho->setValue(QStringLiteral("Status"), QStringLiteral("P"));
            c.filho->post();
            return edit::ResultadoEscolha{true, nome};
        });
        auto& id = store::DataIdentificacao();
        linha(id.tbProjeto, {{"Status", "N"}, {"Cod_Proj", "1"}, {"DataAssinat", "10/05/1994"}});
        linha(trab, {{"Status", "N"}, {"Cod_Trab", "70"}, {"Cod_Membro", "5"}, {"TipoTrab", "TESE DE DOUTORADO"},
                     {"TituloTrab", "SOLOS"}, {"AnoInicio", "1995"}, {"AnoApresentacao", "1998"}});
        linha(trab, {{"Status", "I"}, {"Cod_Trab", "-71"}, {"Cod_Membro", "5"}, {"TipoTrab", "TESE DE DOUTORADO"},
                     {"TituloTrab", "RIOS"}, {"AnoInicio", "1996"}, {"AnoApresentacao", "1999"}});
        linha(areas, {{"Status", "N"}, {"Cod_Trab", "70"}, {"DescArea", "AGRONOMIA"}});
        linha(areas, {{"Status", "N"}, {"Cod_Trab", "70"}, {"DescArea", "GEOLOGIA"}});
        linha(areas, {{"Status", "I"}, {"Cod_Trab", "-71"}, {"DescArea", "HIDROLOGIA"}});
        // The owner's dialog shows its works only.
        trab.setFiltered(false);
        trab.setFilter(QStringLiteral("(Status <> 'D' and Status <> 'X' and Status <> 'Y') and (Cod_Membro =  '5')"));
        trab.setFiltered(true);
    }
    void TearDown() override
    {
        EXPECT_TRUE(roteiro.inesperadas.isEmpty()) << roteiro.inesperadas.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(roteiro.respostasPendentes(), 0);
        edit::InstalaAbridorEscolha(m_abridor);
        edit::TrocaLeitorDeItens(m_leitor);
        store::destroiDados();
    }

    // Opens the academic-work dialog on the works table as the grid does, and runs `passos` in it.
    edit::Resultado abre(bool inserir, const std::function<void(edit::FormularioRoteirizado&)>& passos)
    {
        edit::FormularioRoteirizado form;
        edit::EdicaoTrabalhoAcademico logica(form, QStringLiteral("Cod_Membro"), QStringLiteral("5"));
        form.instala(logica);
        edit::GuardaCopia(edit::CopiaTrabalhosDaGrade, trab);
        edit::AbreEdicao(inserir, form.dialogo([&] { passos(form); }), trab, nullptr, QStringLiteral("Cod_Trab"));
        edit::DescartaCopia(edit::CopiaTrabalhosDaGrade);
        return form.resultadoFinal();
    }

    bool vaiPara(const QString& codigo)
    {
        for (trab.first(); !trab.eof(); trab.next())
            if (trab.value(QStringLiteral("Cod_Trab")) == codigo)
                return true;
        return false;
    }

    app::InteracaoRoteirizada roteiro;
    // The store is made for each test: the tables are fetched after it.
    struct Criados {
        Criados() { store::criaDados(); }
    } m_criados;
    store::Table& trab = store::DataAtividadesApoiadas().tbTrabalhoAcademico;
    store::Table& areas = store::DataAtividadesApoiadas().tbTrabalhoAreaConhec;
    edit::LeitorDeItens m_leitor;
    edit::AbridorEscolha m_abridor;
};

TEST_F(TrabalhoAcademico, MensagemDeCamposObrigatorios)
{
    EXPECT_EQ(edit::EdicaoEntidade::MensagemObrigatorios({QStringLiteral("Nome"), QStringLiteral("Função")}),
              QStringLiteral("Verifique se os seguintes campos estão preenchidos:\r\r           -  Nome\r           -  Função"));
}

TEST_F(TrabalhoAcademico, InclusaoConfirmadaGuardaEComAreasEmE)
{
    const QString filtroAreas = areas.filter();
    QString codigo;
    const auto r = abre(true, [&](edit::FormularioRoteirizado& f) {
        EXPECT_EQ(f.titulo(), QStringLiteral("Inserir Trabalho Acadêmico"));
        EXPECT_EQ(f.pagina(), QStringLiteral("tsDadosGerais"));
        // The list box was filled from its file, sorted.
        EXPECT_EQ(f.itens(QStringLiteral("dbcbTipoTRabalho")),
                  (QStringList{QStringLiteral("DISSERTAÇÃO DE MESTRADO"), QStringLiteral("TESE DE DOUTORADO")}));
        EXPECT_FALSE(f.habilitado(QStringLiteral("btExcluirArea")));
        codigo = trab.value(QStringLiteral("Cod_Trab"));
        f.digita(QStringLiteral("dbcbTipoTRabalho"), QStringLiteral("DISSERTAÇÃO DE MESTRADO"));
        f.digita(QStringLiteral("dbeTituloTrab"), QStringLiteral("LAGOS"));
        f.digita(QStringLiteral("meAnoInicio"), QStringLiteral("1995"));
        f.digita(QStringLiteral("meAnoApresentacao"), QStringLiteral("1997"));
        f.clica(QStringLiteral("btIncluirArea"));
        EXPECT_TRUE(f.habilitado(QStringLiteral("btExcluirArea")));
        f.clica(QStringLiteral("btmbtConfirmar"));
    });
    EXPECT_EQ(r, edit::Resultado::Ok);
    EXPECT_TRUE(roteiro.mensagens.isEmpty()) << roteiro.textos().join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(vaiPara(codigo));
    EXPECT_EQ(trab.value(QStringLiteral("Status")), QStringLiteral("E"));
    EXPECT_EQ(trab.value(QStringLiteral("Cod_Membro")), QStringLiteral("5"));
    EXPECT_EQ(trab.value(QStringLiteral("TituloTrab")), QStringLiteral("LAGOS"));
    EXPECT_EQ(trab.value(QStringLiteral("AnoApresentacao")), QStringLiteral("1997"));
    const QMap<QString, QString> letras = Letras(areas, 2);
    EXPECT_EQ(letras.value(QStringLiteral("ECOLOGIA")), QStringLiteral("E"));  // P committed to E
    EXPECT_EQ(areas.filter(), filtroAreas);  // the dialog's filter is gone
    EXPECT_FALSE(app::Estado().ProjectModified);  // the owner's dialog marks it
}

TEST_F(TrabalhoAcademico, ChecagensNaOrdemComPaginaEFoco)
{
    std::vector<std::pair<QString, QString>> vistos;  // message, focus
    abre(true, [&](edit::FormularioRoteirizado& f) {
        const auto confirma = [&] {
            const int antes = int(roteiro.mensagens.size());
            f.clica(QStringLiteral("btmbtConfirmar"));
            EXPECT_FALSE(f.fechado());
            EXPECT_EQ(int(roteiro.mensagens.size()), antes + 1);
            vistos.emplace_back(roteiro.mensagens.back().texto, f.foco());
        };
        confirma();  // no years
        f.digita(QStringLiteral("meAnoInicio"), QStringLiteral("1996"));
        f.digita(QStringLiteral("meAnoApresentacao"), QStringLiteral("1995"));
        confirma();
        f.digita(QStringLiteral("meAnoInicio"), QStringLiteral("1989"));
        f.digita(QStringLiteral("meAnoApresentacao"), QStringLiteral("1995"));
        confirma();  // the signature date of 1994 comes first
        f.digita(QStringLiteral("meAnoInicio"), QStringLiteral("1998"));
        f.digita(QStringLiteral("meAnoApresentacao"), QStringLiteral("1999"));
        confirma();
        f.digita(QStringLiteral("meAnoInicio"), QStringLiteral("1995"));
        f.digita(QStringLiteral("meAnoApresentacao"), QStringLiteral("1999"));
        confirma();  // type and title
        f.digita(QStringLiteral("dbcbTipoTRabalho"), QStringLiteral("TESE DE DOUTORADO"));
        f.digita(QStringLiteral("dbeTituloTrab"), QStringLiteral("O'HARA"));
        confirma();  // no area
        EXPECT_EQ(f.pagina(), QStringLiteral("tsAreaConhecimento"));
        f.clica(QStringLiteral("btIncluirArea"));
        confirma();  // apostrophe
        EXPECT_EQ(f.pagina(), QStringLiteral("tsDadosGerais"));
        f.digita(QStringLiteral("dbeTituloTrab"), QStringLiteral("RIOS"));
        confirma();  // same type and title as work -71 of the same member
        f.clica(QStringLiteral("bmbtCancelar"));
    });
    const QString ms = QStringLiteral("Verifique se os seguintes campos estão preenchidos:\r\r           -  Tipo\r           -  Título");
    const std::vector<std::pair<QString, QString>> esperados = {
        {QStringLiteral("Data de Início e de Fim são obrigatórias."), QStringLiteral("meAnoInicio")},
        {QStringLiteral("Fim precisa ser maior que Início."), QStringLiteral("meAnoApresentacao")},
        {QStringLiteral("Data precisa ser maior que a Data de Assinatura do Projeto."), QStringLiteral("meAnoInicio")},
        {QStringLiteral("Início precisa estar entre 1990 e 1997."), QStringLiteral("meAnoInicio")},
        {ms, QStringLiteral("dbcbTipoTRabalho")},
        {QStringLiteral("Indique pelo menos uma Área do Conhecimento."), QStringLiteral("btIncluirArea")},
        {QStringLiteral("O título do trabalho não pode conter aspas!"), QStringLiteral("dbeTituloTrab")},
        {QStringLiteral("Já existe Trabalho Acadêmico cadastrado com Título e Tipo indicados para este Membro!"),
         QStringLiteral("dbeTituloTrab")},
    };
    EXPECT_EQ(vistos, esperados);
    EXPECT_EQ(roteiro.mensagens.at(1).icone, app::Icone::Informacao);
    EXPECT_EQ(roteiro.mensagens.at(4).icone, app::Icone::Erro);
}

TEST_F(TrabalhoAcademico, SaidaParaCancelarNaoChecaOAno)
{
    abre(false, [&](edit::FormularioRoteirizado& f) {
        f.foca(QStringLiteral("meAnoInicio"));
        f.digita(QStringLiteral("meAnoInicio"), QStringLiteral("2001"));
        EXPECT_FALSE(f.saiPara(QStringLiteral("dbeTituloTrab")));
        ASSERT_EQ(roteiro.mensagens.size(), 1);
        EXPECT_EQ(roteiro.mensagens.at(0).texto, QStringLiteral("Inicio precisa estar entre 1990 e 1997."));
        EXPECT_EQ(f.foco(), QStringLiteral("meAnoInicio"));
        // Page change refused as well.
        EXPECT_FALSE(f.vaiParaPagina(QStringLiteral("tsAreaConhecimento")));
        EXPECT_EQ(f.pagina(), QStringLiteral("tsDadosGerais"));
        const int vistas = int(roteiro.mensagens.size());
        f.clica(QStringLiteral("bmbtCancelar"));  // the focus moves to Cancelar: no message
        EXPECT_EQ(int(roteiro.mensagens.size()), vistas);
        EXPECT_TRUE(f.fechado());
    });
}

TEST_F(TrabalhoAcademico, CancelarDevolveAsTabelasExatamente)
{
    ASSERT_TRUE(vaiPara(QStringLiteral("70")));
    const QString trabAntes = Despejo(trab);
    const QString areasAntes = Despejo(areas);
    roteiro.responde(Resposta::Sim);  // the area's deletion
    const auto r = abre(false, [&](edit::FormularioRoteirizado& f) {
        EXPECT_EQ(f.titulo(), QStringLiteral("Editar Trabalho Acadêmico"));
        EXPECT_EQ(f.valor(QStringLiteral("meAnoApresentacao")), QStringLiteral("1998"));
        EXPECT_EQ(areas.recordCount(), 2);
        f.digita(QStringLiteral("dbeTituloTrab"), QStringLiteral("OUTRO"));
        f.clica(QStringLiteral("btIncluirArea"));
        areas.first();
        f.clica(QStringLiteral("btExcluirArea"));  // the question is answered below
        EXPECT_EQ(areas.recordCount(), 2);
        f.clica(QStringLiteral("bmbtCancelar"));
    });
    EXPECT_EQ(r, edit::Resultado::Cancelar);
    EXPECT_EQ(Despejo(trab).toStdString(), trabAntes.toStdString());
    EXPECT_EQ(Despejo(areas).toStdString(), areasAntes.toStdString());
}

TEST_F(TrabalhoAcademico, FecharPerguntaENaoMantemAberto)
{
    const QString trabAntes = Despejo(trab);
    roteiro.responde(Resposta::Nao);
    roteiro.responde(Resposta::Sim);
    abre(true, [&](edit::FormularioRoteirizado& f) {
        f.digita(QStringLiteral("dbeTituloTrab"), QStringLiteral("NOVO"));
        f.fechaJanela();
        EXPECT_FALSE(f.fechado());
        EXPECT_EQ(roteiro.mensagens.back().texto, QStringLiteral("Deseja sair sem efetuar modificações?"));
        f.fechaJanela();
        EXPECT_TRUE(f.fechado());
        EXPECT_EQ(f.resultadoFinal(), edit::Resultado::Cancelar);
    });
    EXPECT_EQ(Despejo(trab).toStdString(), trabAntes.toStdString());
}

TEST_F(TrabalhoAcademico, FalhaNoMeioDaEfetivacaoNaoDeixaMeioConfirmado)
{
    ASSERT_TRUE(vaiPara(QStringLiteral("70")));
    const QString trabAntes = Despejo(trab);
    const QString areasAntes = Despejo(areas);
    QString areasAntesDaConfirmacao;
    abre(false, [&](edit::FormularioRoteirizado& f) {
        f.clica(QStringLiteral("btIncluirArea"));
        f.clica(QStringLiteral("btIncluirArea"));  // a second, so the commit has two steps
        areasAntesDaConfirmacao = Despejo(areas);
        // The second area refuses its commit.
        int postagens = 0;
        areas.beforePost = [&postagens](store::Table& t) {
            if (t.value(QStringLiteral("Status")) == QLatin1String("E") && ++postagens == 2)
                throw store::TableError(QStringLiteral("disco cheio"));
        };
        f.clica(QStringLiteral("btmbtConfirmar"));
        areas.beforePost = nullptr;
        ASSERT_EQ(roteiro.mensagens.size(), 1);
        EXPECT_EQ(roteiro.mensagens.at(0).texto,
                  QStringLiteral("Erro inesperado ao confirmar operação!\rConsulte suporte informando a seguinte "
                                 "mensagem:\rdisco cheio"));
        EXPECT_FALSE(f.fechado());
        EXPECT_EQ(Despejo(areas), areasAntesDaConfirmacao);  // no area left half-committed
        EXPECT_EQ(trab.state(), store::Table::State::Edit);  // the work is still being edited
        f.clica(QStringLiteral("bmbtCancelar"));
    });
    EXPECT_EQ(Despejo(trab).toStdString(), trabAntes.toStdString());
    EXPECT_EQ(Despejo(areas).toStdString(), areasAntes.toStdString());
}

TEST_F(TrabalhoAcademico, GradeExcluiTrabalhoEMarcaAreas)
{
    roteiro.responde(Resposta::Sim);
    edit::FormularioRoteirizado form;
    edit::GradeTrabalhoAcademico grade(form, QStringLiteral("Cod_Membro"), QStringLiteral("5"),
                                       [](const QString&, const QString&) { return nullptr; });
    form.instala(grade);
    auto d = form.dialogo([&] {
        EXPECT_TRUE(form.habilitado(edit::GradeTrabalhoAcademico::Editar));
        ASSERT_TRUE(vaiPara(QStringLiteral("70")));
        form.clica(edit::GradeTrabalhoAcademico::Excluir);
        form.clica(edit::GradeTrabalhoAcademico::Fechar);
    });
    d->exec();
    EXPECT_EQ(roteiro.mensagens.at(0).texto, QStringLiteral("Deseja realmente excluir este Trabalho Acadêmico ?"));
    EXPECT_EQ(Letras(trab, 1).value(QStringLiteral("70")), QStringLiteral("X"));
    const QMap<QString, QString> letras = Letras(areas, 2);
    EXPECT_EQ(letras.value(QStringLiteral("AGRONOMIA")), QStringLiteral("X"));
    EXPECT_EQ(letras.value(QStringLiteral("GEOLOGIA")), QStringLiteral("X"));
    EXPECT_EQ(letras.value(QStringLiteral("HIDROLOGIA")), QStringLiteral("I"));  // another work's
    EXPECT_TRUE(app::Estado().ProjectModified);
    EXPECT_TRUE(form.fechado());
}

} // namespace
