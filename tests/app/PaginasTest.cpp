#include "JanelaFixture.h"

#include "core/ProgramState.h"
#include "store/Dados.h"
#include "store/RegistroEnvios.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QIcon>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <map>

using app::ui::GradeTabela;
using app::ui::PaginaRegistro;
using app::ui::TPageControl;

namespace {
QStringList titulos(const GradeTabela* g)
{
    QStringList r;
    for (int c = 0; c < g->model()->columnCount(); ++c)
        r << g->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return r;
}

QStringList legendas(const TPageControl* pc)
{
    QStringList r;
    for (int i = 0; i < pc->pageCount(); ++i)
        r << pc->caption(i);
    return r;
}
}

TEST_F(JanelaTest, PageTreeHasEveryPageInOrder)
{
    EXPECT_EQ(legendas(janela->pgGeral),
              QStringList({"Dados Gerais", "Instituições", "Equipe", "Resultados", "Apoios", "Recursos Adquiridos",
                           "Orçamento", "Avaliação"}));
    EXPECT_EQ(legendas(janela->pgDadosGerais),
              QStringList({"Identificação", "Áreas de Atuação", "Locais de Execução"}));
    EXPECT_EQ(legendas(janela->pgResultados),
              QStringList({"Estudos", "Publicações", "Obras", "Prod.Tecno.", "Softwares", "Eventos", "Bolsas",
                           "Capacitação", "GQT"}));
    EXPECT_EQ(legendas(janela->pgApoios), QStringList({"Laboratórios", "Serviços Externos", "Cursos", "Bases de Dados"}));
    EXPECT_EQ(legendas(janela->pgRecursos), QStringList({"Materiais Informacionais", "Equipamentos"}));
    EXPECT_EQ(legendas(janela->pgOrcamento), QStringList({"Planos de Aplicação", "Outros Financiamentos"}));
    EXPECT_EQ(legendas(janela->pgAvaliacao), QStringList({"Observações", "Problemas"}));
}

TEST_F(JanelaTest, GridsShowTheirColumnsWithTheWindowsOrTheSchemasHeadings)
{
    preencheProjeto();
    abreProjeto();
    const std::vector<std::pair<const char*, QStringList>> esperado = {
        {"dbgSetorEcon", {"DescrSetorEcon"}},
        {"dbgAreaConhec", {"DescricaoAreaConhec"}},
        {"dbgLocPesq", {"Cidade", "UF", "Região", "Código BIRO", "Instituição"}},
        {"dbgInstituicoes", {"Código BIRO", "Nome", "Função"}},
        {"dbgMembro", {"Código BIRO", "Nome", "Função", "Horas Semanais"}},
        {"GridEstudo", {"Tipo", "Título", "Conclusão"}},
        {"dbgPublicacoes", {"Tipo", "Título", "Conclusão"}},
        {"dbgObrasEditadas", {"Tipo", "Título", "Conclusão"}},
        {"dbgProducaoTecnologica", {"Tipo", "Título", "Situação"}},
        {"dbgSoftware", {"Nome", "Conclusão"}},
        {"dbgEventos", {"Tipo", "Título", "Conclusão"}},
        {"dbgBolsas", {"Modalidade", "Código BIRO", "NomeBolsista", "Conclusao"}},
        {"dbgCapacit", {"Tipo", "Conclusão"}},
        {"dbgGQT", {"Código BIRO", "Instituição Cliente", "Situação"}},
        {"dbgLab", {"Código BIRO", "Nome", "Tipo de Apoio"}},
        {"dbgServico", {"Nome", "Tipo de Apoio"}},
        {"dbgCursos", {"Nome", "Tipo de Apoio"}},
        {"dbgBase", {"Nome", "Tipo de Apoio"}},
        {"dbgMaterial", {"Tipo", "Valor", "Brasil/Exterior"}},
        {"dbgEquip", {"Tipo", "Valor", "País de Fabricação"}},
        {"dbgPlanoAplic", {"Item de Dispêndio", "Valor Contratado (US$)", "Valor Desembolsado (US$)", "Brasil/Exterior"}},
        {"dbgOutraFonte", {" Código BIRO", "Instituição", "Recurso", "Valor (US$)"}},
        {"DBGrid1", {"Categoria", "Repercussão", "Ocorrência"}},
    };
    for (const auto& [nome, colunas] : esperado) {
        auto* g = achar<GradeTabela>(nome);
        ASSERT_NE(g, nullptr);
        // The state column comes first, with no heading of its own.
        EXPECT_EQ(titulos(g), QStringList{QString()} + colunas) << nome;
        EXPECT_NE(g->tabela(), nullptr) << nome;
        EXPECT_EQ(g->editTriggers(), QAbstractItemView::NoEditTriggers) << nome;
        const bool lista = QByteArray(nome) == "dbgSetorEcon" || QByteArray(nome) == "dbgAreaConhec";
        EXPECT_EQ(g->horizontalHeader()->isVisibleTo(g), !lista) << nome;
        EXPECT_EQ(g->verticalHeader()->isVisibleTo(g), !lista) << nome;
    }

    auto* inst = achar<GradeTabela>("dbgInstituicoes");
    ASSERT_EQ(inst->model()->rowCount(), 2);
    EXPECT_EQ(inst->model()->index(1, 2).data().toString(), QStringLiteral("LABORATÓRIO PARCEIRO"));
    EXPECT_EQ(achar<QLineEdit>("dbeInstGestora")->text(), QStringLiteral("FUNDAÇÃO GESTORA"));
    EXPECT_EQ(achar<QLineEdit>("dbeInstExecutora")->text(), QStringLiteral("UNIVERSIDADE EXECUTORA"));

    // The grid follows the table: a new row appears, and a click moves the table's cursor.
    auto& t = store::DataIdentificacao().tbInstituicao;
    t.append();
    for (auto [c, v] : {std::pair{"Status", "I"}, {"Cod_Inst", "-5"}, {"BIRO", "B12"}, {"Nome", "NOVA"},
                        {"TipoEnvolvimento", "CLIENTE"}, {"TipoVinculacao", "PUBLICA"}})
        t.setValue(QString::fromLatin1(c), QString::fromLatin1(v));
    t.post();
    EXPECT_EQ(inst->model()->rowCount(), 3);
    janela->pgGeral->setActivePage(1);
    inst->selectRow(1);
    EXPECT_EQ(t.value(QStringLiteral("Nome")), inst->model()->index(1, 2).data().toString());
    inst->selectRow(0);
    EXPECT_EQ(t.value(QStringLiteral("Nome")), inst->model()->index(0, 2).data().toString());
    EXPECT_EQ(inst->model()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("\u25B6"));
}

TEST_F(JanelaTest, CreateWindowsSelectsFirstPagesAppliesThePanelRuleAndLoadsTheIdentification)
{
    preencheProjeto();
    janela->pgGeral->setActivePage(3);
    janela->pgResultados->setActivePage(4);
    abreProjeto();

    EXPECT_EQ(janela->pgGeral->activeCaption(), QStringLiteral("Dados Gerais"));
    EXPECT_EQ(janela->pgDadosGerais->activeCaption(), QStringLiteral("Identificação"));
    EXPECT_EQ(janela->pgResultados->activeCaption(), QStringLiteral("Estudos"));
    EXPECT_EQ(janela->pgApoios->activeCaption(), QStringLiteral("Laboratórios"));
    EXPECT_EQ(janela->pgRecursos->activeCaption(), QStringLiteral("Materiais Informacionais"));
    EXPECT_EQ(janela->pgOrcamento->activeCaption(), QStringLiteral("Planos de Aplicação"));
    EXPECT_EQ(janela->pgAvaliacao->activeCaption(), QStringLiteral("Observações"));

    // Panel rule: Incluir always; Editar and Excluir only with records.
    for (const char* nome : {"btInsInst", "btInsMembro1", "btInsEst", "btInsPub", "btInsSetorEcon", "btInsProblemas"})
        EXPECT_TRUE(habilitado(nome)) << nome;
    for (const char* nome : {"btEdtInst", "btDelInst", "btEdtEst", "btDelEst", "btEdtBolsa", "btDelBolsa",
                             "btEdtProblemas", "btDelProblema"})
        EXPECT_TRUE(habilitado(nome)) << nome;
    for (const char* nome : {"btEdtMembro1", "btDelMembro", "btEdtPub", "btDelPub", "btdelSetorEcon",
                             "btDelAreaConhec", "btEdtLocPesq", "btDelLocPesq", "Button12", "btExcluirPrograma",
                             "bDelServico", "btDelIMaterial", "bDelEquipamento", "btDelOutraFonte"})
        EXPECT_FALSE(habilitado(nome)) << nome;
    for (const char* nome : {"btConfirmAnalise", "btCancelAnalise", "btConfirmComent", "btCancelComent"})
        EXPECT_FALSE(habilitado(nome)) << nome;

    EXPECT_EQ(achar<QComboBox>("dbcOrigem")->currentText(), QStringLiteral("KESTA I"));
    EXPECT_EQ(achar<QLineEdit>("dbeNrProjetoOrigem")->text(), QStringLiteral("1234"));
    EXPECT_TRUE(habilitado("dbeNrProjetoOrigem"));
    EXPECT_EQ(achar<QLineEdit>("meDataAssinat")->text(), QStringLiteral("10/05/1995"));
    EXPECT_EQ(achar<QLineEdit>("meDataFim")->displayText(), QStringLiteral("  /  /    "));
    // The amount is right-aligned in the box, with its decimals completed.
    EXPECT_EQ(achar<QLineEdit>("meValProposta")->displayText(), QStringLiteral("         1500.5 "));
    EXPECT_EQ(achar<QLineEdit>("dbeProcesso")->text(), QStringLiteral("62.0001/95"));
    EXPECT_FALSE(janela->identificacaoEditada());
    EXPECT_FALSE(janela->analiseEditada());
    EXPECT_FALSE(janela->comentarioEditado());
}

TEST_F(JanelaTest, DoubleClickOnAnEmptyGridDoesNothingAndButtonsTellInsertFromEdit)
{
    preencheProjeto();
    abreProjeto();
    std::vector<bool> chamadas;
    for (PaginaRegistro* p : janela->paginas())
        p->incluirEditar = [&chamadas](bool inserir) { chamadas.push_back(inserir); };

    // Every page with an edit dialog: nothing on an empty grid.
    for (PaginaRegistro* p : janela->paginas())
        if (p->grade && p->grade->tabela()->isEmpty())
            janela->duploCliqueGrade(*p);
    EXPECT_TRUE(chamadas.empty());

    PaginaRegistro* inst = janela->pagina(QStringLiteral("tbInstituicao"));
    ASSERT_NE(inst, nullptr);
    janela->pgGeral->setActivePage(1);
    QTest::mouseDClick(inst->grade->viewport(), Qt::LeftButton, {}, inst->grade->visualRect(inst->grade->model()->index(0, 0)).center());
    inst->btIncluir->click();
    inst->btEditar->click();
    EXPECT_EQ(chamadas, std::vector<bool>({false, true, false}));

    // The lists of "Áreas de Atuação" and the "Planos de Aplicação" grid react to no double click.
    auto& setores = store::DataGeral().tbSetorEconAting;
    setores.append();
    setores.setValue(QStringLiteral("Status"), QStringLiteral("N"));
    setores.setValue(QStringLiteral("DescrSetorEcon"), QStringLiteral("AGRICULTURA"));
    setores.post();
    janela->duploCliqueGrade(*janela->pagina(QStringLiteral("tbSetorEconAting")));
    EXPECT_EQ(chamadas.size(), 3u);

    // A disabled Editar does nothing.
    PaginaRegistro* membro = janela->pagina(QStringLiteral("tbMembro"));
    janela->incluirEditarClick(*membro, membro->btEditar);
    EXPECT_EQ(chamadas.size(), 3u);
}

TEST_F(JanelaTest, DeletingTheLastRecordDisablesEditAndDelete)
{
    preencheProjeto();
    abreProjeto();
    PaginaRegistro* est = janela->pagina(QStringLiteral("tbEstudo"));
    est->excluir = [] {
        auto& t = store::DataResultadosGerados().tbEstudo;
        t.remove();
    };
    EXPECT_TRUE(est->btExcluir->isEnabled());
    est->btExcluir->click();
    EXPECT_FALSE(est->btExcluir->isEnabled());
    EXPECT_FALSE(est->btEditar->isEnabled());
    EXPECT_TRUE(est->btIncluir->isEnabled());
}

TEST_F(JanelaTest, PageControlsAskBeforeTheUserSwitchesAndObeyTheProgram)
{
    TPageControl* pc = janela->pgResultados;
    int perguntas = 0;
    bool permitir = false;
    pc->onChanging = [&](bool& allow) {
        ++perguntas;
        allow = permitir;
    };
    EXPECT_FALSE(pc->selectByUser(2));
    EXPECT_EQ(pc->activePageIndex(), 0);
    permitir = true;
    preencheProjeto();
    abreProjeto();
    janela->pgGeral->setActivePage(3);
    // A click on the tab, as the user does it.
    const QRect aba = pc->tabBar()->retanguloAba(2);
    QTest::mouseClick(pc->tabBar(), Qt::LeftButton, {}, aba.center());
    EXPECT_EQ(pc->activeCaption(), QStringLiteral("Obras"));
    EXPECT_EQ(perguntas, 2);
    pc->setActivePage(5);  // by program: nothing asked
    EXPECT_EQ(perguntas, 2);
    EXPECT_EQ(pc->activeCaption(), QStringLiteral("Eventos"));

    // Second-level tabs stand at the right edge, packed towards the bottom; the top tabs along the top.
    const QRect ultima = pc->tabBar()->retanguloAba(pc->pageCount() - 1);
    EXPECT_GT(pc->tabBar()->mapTo(pc, QPoint(0, 0)).x(), pc->width() / 2);
    EXPECT_LE(ultima.bottom(), pc->tabBar()->height());
    EXPECT_GE(ultima.bottom(), pc->tabBar()->height() - 2);
    EXPECT_GT(ultima.height(), ultima.width());
    EXPECT_EQ(janela->pgGeral->tabBar()->retanguloAba(0).topLeft(), QPoint(0, 0));

    // A larger font places the tabs again for their new captions, still packed towards the bottom.
    QFont maior = pc->tabBar()->font();
    maior.setPointSizeF(maior.pointSizeF() * 2);
    pc->tabBar()->setFont(maior);
    const QRect maiorUltima = pc->tabBar()->retanguloAba(pc->pageCount() - 1);
    EXPECT_GT(maiorUltima.height(), ultima.height());
    EXPECT_GT(maiorUltima.width(), ultima.width());
    EXPECT_GE(maiorUltima.bottom(), pc->tabBar()->height() - 2);

    // On a short window the side tabs stay in one column, their captions shortened, never off the top.
    janela->showNormal();
    janela->resize(janela->minimumSize());
    QCoreApplication::processEvents();
    ASSERT_LT(pc->tabBar()->height(), pc->tabBar()->comprimentoInteiro());
    for (int i = 0; i < pc->pageCount(); ++i) {
        EXPECT_EQ(pc->tabBar()->retanguloAba(i).left(), 0) << i;
        EXPECT_GE(pc->tabBar()->retanguloAba(i).top(), 0) << i;
    }
    EXPECT_EQ(pc->tabBar()->sizeHint().width(), maiorUltima.width() + 2);
}

TEST_F(JanelaTest, IdentificationEditorsCarryTheirTwoLineCaptionsAndGroups)
{
    QStringList rotulos;
    for (const QLabel* l : janela->pgDadosGerais->page(0)->findChildren<QLabel*>())
        rotulos << l->text();
    for (const char* texto : {"Nr. Projeto", "de Origem", "Data de", "Fim Real", "Data de Assinatura", "do Convênio",
                              "Valor Solicitado na", "Proposta (US$)"})
        EXPECT_TRUE(rotulos.contains(QString::fromUtf8(texto))) << texto;

    QStringList grupos;
    for (const QGroupBox* g : janela->pgDadosGerais->page(0)->findChildren<QGroupBox*>())
        grupos << g->title();
    EXPECT_EQ(grupos, QStringList({"Dados da Proposta ", "Dados do Contrato", "Dados do Projeto"}));

    QStringList instituicao;
    janela->pagina(QStringLiteral("tbInstituicao"));
    for (const QLabel* l : janela->pgGeral->page(1)->findChildren<QLabel*>())
        instituicao << l->text();
    for (const char* texto : {"Gestora", "Executora - Coordenadora", "Instituições  Envolvidas:"})
        EXPECT_TRUE(instituicao.contains(QString::fromUtf8(texto))) << texto;
}

TEST_F(JanelaTest, NoGridTakesTypedValuesNotEvenTheTrainingOne)
{
    preencheProjeto();
    abreProjeto();
    janela->paginas();
    const auto grades = janela->findChildren<GradeTabela*>();
    ASSERT_EQ(grades.size(), 23);
    for (const GradeTabela* g : grades) {
        EXPECT_EQ(g->editTriggers(), QAbstractItemView::NoEditTriggers) << g->objectName().toStdString();
        if (g->model()->rowCount() > 0) {
            EXPECT_FALSE(g->model()->flags(g->model()->index(0, 0)) & Qt::ItemIsEditable);
        }
    }
    EXPECT_NE(janela->findChild<GradeTabela*>(QStringLiteral("dbgCapacit")), nullptr);
}

// The first column of a grid tells each record's local state by an icon, a tooltip and an accessible
// text (never by colour alone); unchanged records show nothing; a record the server refused at the
// last send says so and why. The legend is in the Help menu.
TEST_F(JanelaTest, StateColumnMarksNewChangedDeletedAndRefusedRecords)
{
    preencheProjeto();
    auto& inst = store::DataIdentificacao().tbInstituicao;
    const auto linha = [&inst](const char* status, const char* cod, const char* nome) {
        inst.append();
        for (auto [c, v] : {std::pair{"Status", status}, {"Cod_Inst", cod}, {"BIRO", cod}, {"Nome", nome},
                            {"TipoEnvolvimento", "CLIENTE"}, {"TipoVinculacao", "PUBLICA"}})
            inst.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
        inst.post();
    };
    linha("I", "-5", "NOVA");
    linha("A", "12", "ALTERADA");
    linha("I", "-6", "RECUSADA");
    store::PedidoEnviado p;
    p.envio = p.quando = QDateTime::currentDateTime();
    p.tabela = QStringLiteral("tbInstituicao");
    p.itens.push_back({QStringLiteral("I"), QStringLiteral("-6"), QStringLiteral("-6"), QStringLiteral("-4"),
                       QStringLiteral("recusado: -4")});
    p.itens.push_back({QStringLiteral("A"), QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("12"),
                       QStringLiteral("aceito")});
    store::Envios().registra(p);
    abreProjeto();

    auto* g = achar<GradeTabela>("dbgInstituicoes");
    QAbstractItemModel* m = g->model();
    std::map<QString, QString> situacao;
    for (int r = 0; r < m->rowCount(); ++r) {
        const QModelIndex i = m->index(r, 0);
        const QString texto = i.data(Qt::AccessibleTextRole).toString();
        EXPECT_EQ(i.data(Qt::ToolTipRole).toString(), texto);
        EXPECT_EQ(i.data(Qt::DecorationRole).value<QIcon>().isNull(), texto.isEmpty()) << texto.toStdString();
        EXPECT_TRUE(i.data(Qt::DisplayRole).toString().isEmpty());
        situacao[m->index(r, 2).data().toString()] = texto;
    }
    EXPECT_EQ(situacao[QStringLiteral("UNIVERSIDADE EXECUTORA")], QString());
    EXPECT_EQ(situacao[QStringLiteral("NOVA")], QStringLiteral("Novo: ainda não enviado ao servidor"));
    EXPECT_EQ(situacao[QStringLiteral("ALTERADA")], QStringLiteral("Alterado: alteração ainda não enviada ao servidor"));
    EXPECT_EQ(situacao[QStringLiteral("RECUSADA")],
              QStringLiteral("Novo: ainda não enviado ao servidor; Recusado pelo servidor no último envio (recusado: -4)"));
    EXPECT_EQ(m->headerData(0, Qt::Horizontal, Qt::AccessibleTextRole).toString(), QStringLiteral("Situação do registro"));
    // The columns of a page not shown yet are fitted when it shows, to the rows then in view.
    ASSERT_FALSE(g->isVisible());
    janela->pgGeral->setActivePage(1);
    ASSERT_TRUE(g->isVisible());
    EXPECT_LT(g->columnWidth(0), g->columnWidth(1));
    EXPECT_GE(g->columnWidth(2), g->fontMetrics().horizontalAdvance(QStringLiteral("UNIVERSIDADE EXECUTORA")));

    // A deletion is hidden by the page's filter; where a filter shows it, it is marked as such.
    const int antes = m->rowCount();
    store::Table::Bookmark alterada = 0;
    for (store::Table::Bookmark b : inst.visibleRows())
        if (inst.rowValue(b, inst.fieldIndex(QStringLiteral("Nome"))) == QStringLiteral("ALTERADA"))
            alterada = b;
    ASSERT_NE(alterada, 0u);
    inst.gotoBookmark(alterada);
    inst.edit();
    inst.setValue(QStringLiteral("Status"), QStringLiteral("D"));
    inst.post();
    EXPECT_EQ(m->rowCount(), antes - 1);
    EXPECT_EQ(g->modelo()->textoDaSituacao(alterada), QStringLiteral("Excluído: exclusão ainda não enviada ao servidor"));

    // The legend, from the Help menu.
    roteiro->mensagens.clear();
    achar<QAction>("LegendaSituacao1")->trigger();
    ASSERT_EQ(roteiro->mensagens.size(), 1);
    EXPECT_EQ(roteiro->mensagens[0].titulo, QStringLiteral("Legenda da situação dos registros"));
    for (const char* t : {"Novo: ainda não enviado ao servidor", "Recusado pelo servidor no último envio",
                          "Excluído: exclusão ainda não enviada ao servidor"})
        EXPECT_TRUE(roteiro->mensagens[0].texto.contains(QString::fromUtf8(t))) << t;

    // A send writes its log after the rows' answers changed the table: the grid already shown
    // picks the refusal up with no further change of the table.
    store::PedidoEnviado q = p;
    q.itens = {{QStringLiteral("I"), QStringLiteral("-5"), QStringLiteral("-5"), QStringLiteral("-1"),
                QStringLiteral("recusado: -1")}};
    store::Envios().registra(q);
    QString nova;
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, 2).data().toString() == QStringLiteral("NOVA"))
            nova = m->index(r, 0).data(Qt::AccessibleTextRole).toString();
    EXPECT_EQ(nova, QStringLiteral("Novo: ainda não enviado ao servidor; Recusado pelo servidor no último envio (recusado: -1)"));
    store::Envios().limpa();
}
