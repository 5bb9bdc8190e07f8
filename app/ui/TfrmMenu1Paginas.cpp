// The page tree of the main window: every page with its grid, caption line and record buttons.
// The record pages are made the first time they show (PaginaAdiada); the identification and the
// analysis pages, whose editors the page guards and Open use, are made with the window (or, in the
// program's own start, right after its first picture: TfrmMenu1::garantePaginas).
#include "app/ui/TfrmMenu1.h"
#include "edit/ui/EditMascarado.h"
#include "edit/ui/RealceOrtografico.h"

#include "app/ui/EditorMemo.h"
#include "app/ui/PaginaAdiada.h"
#include "store/Dados.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QValidator>

namespace app::ui {

namespace {

// Only the digits 0 to 9 are typed in. Checked by hand: a pattern engine would be loaded and compiled at
// every start for this one field.
class SoAlgarismos : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& texto, int&) const override
    {
        for (const QChar c : texto)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return Invalid;
        return Acceptable;
    }
};

QString S(const char* t) { return QString::fromUtf8(t); }

ColunaGrade C(const char* campo, const char* titulo = "") { return {S(campo), S(titulo)}; }

QPushButton* botao(QWidget* pai, const QString& nome, const QString& texto, int tag = 0)
{
    auto* b = new QPushButton(texto, pai);
    b->setObjectName(nome);
    b->setProperty("tag", tag);
    b->setAutoDefault(false);
    return b;
}

QLabel* linhaTitulo(const QString& texto, QWidget* pai)
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QStringLiteral("lbLinhaTitulo"));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QLineEdit* campoSoLeitura(QWidget* pai, const QString& nome)
{
    auto* e = new QLineEdit(pai);
    e->setObjectName(nome);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    e->setPalette(p);
    return e;
}

} // namespace

struct TfrmMenu1::DefGrade {
    QString legenda;
    QString tabela;
    QString nomeGrade;
    std::vector<ColunaGrade> colunas;
    QString titulo;
    QString sufixo;
    QString nomeExcluir;
    bool comBotoes = true;
    bool duploCliqueEdita = true;
};

PaginaAdiada* TfrmMenu1::criaPaginaAdiada(const QString& nome, const std::vector<std::pair<QString, QString>>& tabelas,
                                          std::function<void(QWidget&)> montagem)
{
    std::vector<QString> nomes;
    for (const auto& [tabela, legenda] : tabelas) {
        auto p = std::make_unique<PaginaRegistro>();
        p->tabela = tabela;
        p->legenda = legenda;
        m_ordemPaginas.push_back(tabela);
        m_paginas[tabela] = std::move(p);
        nomes.push_back(tabela);
    }
    auto* folha = new PaginaAdiada(nome, [this, nomes, montagem = std::move(montagem)](QWidget& pagina) {
        montagem(pagina);
        for (const QString& tabela : nomes)
            poeEmDia(*m_paginas.at(tabela));
    });
    for (const QString& tabela : nomes)
        m_paginas.at(tabela)->folha = folha;
    return folha;
}

void TfrmMenu1::registraPainel(const QString& tabela, GradeTabela* grade, QWidget* painel, QPushButton* inc,
                               QPushButton* edt, QPushButton* exc, bool duploCliqueEdita)
{
    PaginaRegistro* r = m_paginas.at(tabela).get();
    r->grade = grade;
    r->painel = painel;
    r->btIncluir = inc;
    r->btEditar = edt;
    r->btExcluir = exc;
    r->duploCliqueEdita = duploCliqueEdita;
    if (grade)
        connect(grade, &GradeTabela::duploClique, this, [this, r] { duploCliqueGrade(*r); });
    if (inc)
        connect(inc, &QPushButton::clicked, this, [this, r, inc] { incluirEditarClick(*r, inc); });
    if (edt)
        connect(edt, &QPushButton::clicked, this, [this, r, edt] { incluirEditarClick(*r, edt); });
    if (exc)
        connect(exc, &QPushButton::clicked, this, [this, r] { excluirClick(*r); });
}

void TfrmMenu1::poeEmDia(PaginaRegistro& p)
{
    // As CreateWindows left the pages made before it: the project's table in the grid, and the
    // panel rule on its buttons.
    if (!p.grade || !m_tabelasLigadas || !store::dadosCriados())
        return;
    p.grade->setTabela(store::dados().tabela(p.tabela));
    if (p.grade->tabela() && p.painel)
        HabilitaBotoes(*p.grade->tabela(), p.painel);
}

QWidget* TfrmMenu1::criaPaginaDeGrade(DefGrade def)
{
    const QString nome = QStringLiteral("ts") + def.sufixo;
    const std::vector<std::pair<QString, QString>> tabelas = {{def.tabela, def.legenda}};
    return criaPaginaAdiada(nome, tabelas, [this, def = std::move(def)](QWidget& pagina) {
        montaPaginaDeGrade(pagina, def);
    });
}

void TfrmMenu1::montaPaginaDeGrade(QWidget& pagina, const DefGrade& def)
{
    auto* l = new QVBoxLayout(&pagina);
    l->setContentsMargins(6, 6, 6, 6);
    l->setSpacing(4);
    if (!def.titulo.isEmpty())
        l->addWidget(linhaTitulo(def.titulo, &pagina));
    // Page grids show each record's local state in a first column.
    auto* grade = new GradeTabela(def.nomeGrade, def.colunas, {true, true, true}, &pagina);
    l->addWidget(grade, 1);
    QWidget* painel = nullptr;
    QPushButton *inc = nullptr, *edt = nullptr, *exc = nullptr;
    if (def.comBotoes) {
        painel = new QWidget(&pagina);
        painel->setObjectName(QStringLiteral("pn") + def.sufixo);
        auto* pl = new QHBoxLayout(painel);
        pl->setContentsMargins(0, 0, 0, 0);
        inc = botao(painel, QStringLiteral("btIns") + def.sufixo, QStringLiteral("&Incluir"), 1);
        edt = botao(painel, QStringLiteral("btEdt") + def.sufixo, QStringLiteral("&Editar"));
        exc = botao(painel, def.nomeExcluir, QStringLiteral("E&xcluir"));
        pl->addStretch();
        pl->addWidget(inc);
        pl->addWidget(edt);
        pl->addWidget(exc);
        if (def.tabela == QLatin1String("tbPublicacao")) {
            // Publications may also come from a reference manager's file; tag 1: always available.
            QPushButton* importar = botao(painel, QStringLiteral("btImpPub"), QStringLiteral("I&mportar..."), 1);
            connect(importar, &QPushButton::clicked, acImportarPublicacoes, &QAction::trigger);
            pl->addWidget(importar);
        }
        l->addWidget(painel);
    }
    registraPainel(def.tabela, grade, painel, inc, edt, exc, def.comBotoes && def.duploCliqueEdita);
}

void TfrmMenu1::criaPaginas()
{
    pgGeral = new TPageControl(BarraAbas::Lado::Topo, this);
    pgGeral->setObjectName(QStringLiteral("pgGeral"));
    setCentralWidget(pgGeral);

    auto subControle = [this](const char* nome) {
        auto* pc = new TPageControl(BarraAbas::Lado::DireitaEmBaixo);
        pc->setObjectName(QString::fromLatin1(nome));
        return pc;
    };
    // The top control's pages are added once the fonts are in (completaPaginas): a page control shown as
    // the first page of another measures its tabs.
    auto adiciona = [this](TPageControl* pc, QWidget* pagina, const char* legenda) {
        if (pc == pgGeral)
            m_paginasDoTopo.emplace_back(pagina, QString::fromUtf8(legenda));
        else
            pc->addPage(pagina, QString::fromUtf8(legenda));
    };
    // A page whose controls are made in completaPaginas: until then it is an empty page, which its
    // control shows with nothing to lay out.
    auto paginaVazia = [](const char* nome) {
        auto* pagina = new QWidget;
        pagina->setObjectName(QString::fromLatin1(nome));
        return pagina;
    };

    // Dados Gerais
    pgDadosGerais = subControle("pgDadosGerais");
    tsIdentificacao = paginaVazia("tsIdentificacao");
    adiciona(pgDadosGerais, tsIdentificacao, "Identificação");
    adiciona(pgDadosGerais,
             criaPaginaAdiada(S("tsAreasAtuacao"),
                              {{S("tbSetorEconAting"), S("Setores Econômicos")},
                               {S("tbAreaConhecAting"), S("Área do Conhecimento")}},
                              [this](QWidget& pagina) { montaAreasDeAtuacao(pagina); }),
             "Áreas de Atuação");
    adiciona(pgDadosGerais,
             criaPaginaDeGrade({S("Locais de Execução"), S("tbLocaisPesquisa"), S("dbgLocPesq"),
                               {C("Cidade"), C("UF"), C("Regiao", "Região"), C("BIRO_Inst", "Código BIRO"),
                                C("Nome_Inst", "Instituição")},
                               S("Locais de Execução  de Pesquisa de Campo:"), S("LocPesq"), S("btDelLocPesq")}),
             "Locais de Execução");
    tsDadosGerais = pgDadosGerais;
    adiciona(pgGeral, pgDadosGerais, "Dados Gerais");

    adiciona(pgGeral,
             criaPaginaAdiada(S("tsInst"), {{S("tbInstituicao"), S("Instituições")}},
                              [this](QWidget& pagina) { montaInstituicoes(pagina); }),
             "Instituições");
    adiciona(pgGeral,
             criaPaginaAdiada(S("tsMembro1"), {{S("tbMembro"), S("Equipe")}},
                              [this](QWidget& pagina) {
                                  montaPaginaDeGrade(pagina, {S("Equipe"), S("tbMembro"), S("dbgMembro"),
                                                              {C("BIRO"), C("Nome"), C("DescricaoFuncao"),
                                                               C("CargaHoraria")},
                                                              S("Membros de Equipe:"), S("Membro1"), S("btDelMembro")});
                                  m_paginas.at(S("tbMembro"))->btExcluir->setEnabled(false);
                              }),
             "Equipe");

    // Resultados
    pgResultados = subControle("pgResultados");
    struct Def {
        const char* legenda;
        const char* tabela;
        const char* grade;
        std::vector<ColunaGrade> colunas;
        const char* titulo;
        const char* sufixo;
        const char* excluir;
    };
    const std::vector<Def> resultados = {
        {"Estudos", "tbEstudo", "GridEstudo",
         {C("TipoEstudo", "Tipo"), C("Titulo", "Título"), C("DataFim", "Conclusão")},
         "Estudos realizados pelo projeto:", "Est", "btDelEst"},
        {"Publicações", "tbPublicacao", "dbgPublicacoes",
         {C("TipoPublicacao", "Tipo"), C("Titulo", "Título"), C("DataPublicacao", "Conclusão")},
         "Publicações do Projeto:", "Pub", "btDelPub"},
        {"Obras", "tbObrasEditadas", "dbgObrasEditadas",
         {C("TipoObra", "Tipo"), C("Titulo", "Título"), C("AnoEdicao", "Conclusão")},
         "Obras Editadas pelo projeto:", "Obr", "btDelObr"},
        {"Prod.Tecno.", "tbProdTec", "dbgProducaoTecnologica",
         {C("TipoProd", "Tipo"), C("NomeProd", "Título"), C("FaseDesenvolv", "Situação")},
         "Produções Tecnológicas do projeto:", "Pro", "btDelPro"},
        {"Softwares", "tbSoftware", "dbgSoftware", {C("Nome"), C("DataConclusao", "Conclusão")},
         "Softwares gerados pelo projeto:", "Software", "btDelSoftware"},
        {"Eventos", "tbEventosApoiados", "dbgEventos",
         {C("Tipo"), C("Nome", "Título"), C("DataFim", "Conclusão")}, "Eventos apoioados pelo projeto:",
         "Eventos", "btDelEventos"},
        {"Bolsas", "tbBolsa", "dbgBolsas",
         {C("Modalidade"), C("BIROBolsista", "Código BIRO"), C("NomeBolsista"), C("DataConclusao", "Conclusao")},
         "Bolsas de Estudo concedidas pelo projeto:", "Bolsa", "btDelBolsa"},
        {"Capacitação", "tbCapacit", "dbgCapacit", {C("TipodeCapacitacao", "Tipo"), C("DataFim", "Conclusão")},
         "Atividades de Capacitação  de RH (excluindo-se Concessão de bolsas):", "Capacitacao", "Button12"},
        {"GQT", "tbQualidade", "dbgGQT",
         {C("BIRO_InstCliente", "Código BIRO"), C("Nome_InstCliente", "Instituição Cliente"),
          C("Situacao", "Situação")},
         "", "Programa", "btExcluirPrograma"},
    };
    for (const Def& d : resultados)
        adiciona(pgResultados,
                 criaPaginaDeGrade({S(d.legenda), S(d.tabela), S(d.grade), d.colunas, S(d.titulo), S(d.sufixo),
                                   S(d.excluir)}),
                 d.legenda);
    adiciona(pgGeral, pgResultados, "Resultados");

    // Apoios
    pgApoios = subControle("pgApoios");
    const std::vector<Def> apoios = {
        {"Laboratórios", "tbLaboratorio", "dbgLab",
         {C("BIROLab", "Código BIRO"), C("NomeLab", "Nome"), C("TipoApoio", "Tipo de Apoio")}, "",
         "Laboratorio", "btDelLaboratorio"},
        {"Serviços Externos", "tbServico", "dbgServico", {C("TipoServico", "Nome"), C("TipoApoio", "Tipo de Apoio")},
         "", "Servico", "bDelServico"},
        {"Cursos", "tbCursos", "dbgCursos", {C("Nome"), C("TipoApoio", "Tipo de Apoio")}, "", "Curso",
         "btDelCurso"},
        {"Bases de Dados", "tbBase", "dbgBase", {C("Identificacao", "Nome"), C("TipoApoioTxt", "Tipo de Apoio")}, "",
         "Base", "btDelBase"},
    };
    for (const Def& d : apoios)
        adiciona(pgApoios,
                 criaPaginaDeGrade({S(d.legenda), S(d.tabela), S(d.grade), d.colunas, S(d.titulo), S(d.sufixo),
                                   S(d.excluir)}),
                 d.legenda);
    adiciona(pgGeral, pgApoios, "Apoios");

    // Recursos Adquiridos
    pgRecursos = subControle("pgRecursos");
    adiciona(pgRecursos,
             criaPaginaDeGrade({S("Materiais Informacionais"), S("tbMaterialAdquirido"), S("dbgMaterial"),
                               {C("TipoMaterial", "Tipo"), C("ValorAtual", "Valor"),
                                C("PaisExterior", "Brasil/Exterior")},
                               {}, S("Material"), S("btDelIMaterial")}),
             "Materiais Informacionais");
    adiciona(pgRecursos,
             criaPaginaDeGrade({S("Equipamentos"), S("tbEquipamentos"), S("dbgEquip"),
                               {C("TipoEquip", "Tipo"), C("ValorAtual", "Valor"),
                                C("PaisFabricacao", "País de Fabricação")},
                               {}, S("Equipamento"), S("bDelEquipamento")}),
             "Equipamentos");
    adiciona(pgGeral, pgRecursos, "Recursos Adquiridos");

    // Orçamento
    pgOrcamento = subControle("pgOrcamento");
    adiciona(pgOrcamento,
             criaPaginaDeGrade({S("Planos de Aplicação"), S("tbPlanoAplic"), S("dbgPlanoAplic"),
                               {C("ItemDispendio", "Item de Dispêndio"), C("VlContratado", "Valor Contratado (US$)"),
                                C("VlDesembolsado", "Valor Desembolsado (US$)"),
                                C("PaisExterior", "Brasil/Exterior")},
                               {}, S("PlanoAplic"), {}, false, false}),
             "Planos de Aplicação");
    adiciona(pgOrcamento,
             criaPaginaDeGrade({S("Outros Financiamentos"), S("tbOutrasFontes"), S("dbgOutraFonte"),
                               {C("BIROInst"), C("NomeInst"), C("TipoFonte"), C("ValorRecurso", "Valor (US$)")}, {},
                               S("OutraFonte"), S("btDelOutraFonte")}),
             "Outros Financiamentos");
    adiciona(pgGeral, pgOrcamento, "Orçamento");

    // Avaliação
    pgAvaliacao = subControle("pgAvaliacao");
    tsObservacoes = paginaVazia("tsObservacoes");
    adiciona(pgAvaliacao, tsObservacoes, "Observações");
    adiciona(pgAvaliacao,
             criaPaginaDeGrade({S("Problemas"), S("tbProblemas"), S("DBGrid1"),
                               {C("CategoriaTxt", "Categoria"), C("Repercussao", "Repercussão"),
                                C("DataOcorrenc", "Ocorrência")},
                               {}, S("Problemas"), S("btDelProblema")}),
             "Problemas");
    tsAvaliacao = pgAvaliacao;
    adiciona(pgGeral, pgAvaliacao, "Avaliação");
}

void TfrmMenu1::completaPaginas()
{
    montaIdentificacao(*tsIdentificacao);
    montaObservacoes(*tsObservacoes);
    for (const auto& [pagina, legenda] : m_paginasDoTopo)
        pgGeral->addPage(pagina, legenda);
    m_paginasDoTopo.clear();

    pgGeral->onChanging = [this](bool& permite) { pgGeralChanging(permite); };
    pgDadosGerais->onChanging = [this](bool& permite) { pgDadosGeraisChanging(permite); };
    pgAvaliacao->onChanging = [this](bool& permite) { pgAvaliacaoChanging(permite); };
}

void TfrmMenu1::montaInstituicoes(QWidget& pagina)
{
    montaPaginaDeGrade(pagina, {S("Instituições"), S("tbInstituicao"), S("dbgInstituicoes"),
                                {C("BIRO"), C("Nome"), C("TipoEnvolvimento")}, S("Instituições  Envolvidas:"),
                                S("Inst"), S("btDelInst")});
    auto* topo = new QWidget(&pagina);
    auto* g = new QGridLayout(topo);
    g->setContentsMargins(0, 0, 0, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(2);
    auto* gestora = campoSoLeitura(topo, S("dbeInstGestora"));
    auto* executora = campoSoLeitura(topo, S("dbeInstExecutora"));
    g->addWidget(new QLabel(S("Gestora"), topo), 0, 0);
    g->addWidget(gestora, 0, 1);
    g->addWidget(new QLabel(S("Executora - Coordenadora"), topo), 1, 0);
    g->addWidget(executora, 1, 1);
    m_camposSoLeitura[S("InstGestora")] = gestora;
    m_camposSoLeitura[S("InstExecutora")] = executora;
    static_cast<QVBoxLayout*>(pagina.layout())->insertWidget(0, topo);
    // The two boxes show the open project's institutions, as the identification's boxes do.
    carregaCamposSoLeitura();
}

void TfrmMenu1::montaAreasDeAtuacao(QWidget& pagina)
{
    auto* l = new QVBoxLayout(&pagina);
    l->setContentsMargins(6, 6, 6, 6);
    l->addWidget(linhaTitulo(S("Áreas de  Atuação:"), &pagina));
    auto* lado = new QHBoxLayout;
    l->addLayout(lado, 1);
    auto grupo = [&](const char* titulo, const char* tabela, const char* campo, const char* nomeGrade,
                     const char* sufixo, const char* excluir) {
        auto* g = new QGroupBox(S(titulo), &pagina);
        auto* gl = new QVBoxLayout(g);
        gl->setContentsMargins(4, 4, 4, 4);
        auto* grade = new GradeTabela(S(nomeGrade), {C(campo)}, {false, false, true}, g);
        gl->addWidget(grade, 1);
        auto* painel = new QWidget(g);
        painel->setObjectName(QStringLiteral("pn") + S(sufixo));
        auto* pl = new QHBoxLayout(painel);
        pl->setContentsMargins(0, 0, 0, 0);
        auto* inc = botao(painel, QStringLiteral("btIns") + S(sufixo), S("&Incluir"), 1);
        auto* exc = botao(painel, S(excluir), S("E&xcluir"));
        pl->addStretch();
        pl->addWidget(inc);
        pl->addWidget(exc);
        gl->addWidget(painel);
        lado->addWidget(g, 1);
        registraPainel(S(tabela), grade, painel, inc, nullptr, exc, false);
    };
    grupo("Setores Econômicos", "tbSetorEconAting", "DescrSetorEcon", "dbgSetorEcon", "SetorEcon", "btdelSetorEcon");
    grupo("Área do Conhecimento", "tbAreaConhecAting", "DescricaoAreaConhec", "dbgAreaConhec", "AreaConhec",
          "btDelAreaConhec");
}

void TfrmMenu1::montaIdentificacao(QWidget& paginaIdentificacao)
{
    QWidget* pagina = &paginaIdentificacao;
    auto* l = new QVBoxLayout(pagina);
    l->setContentsMargins(4, 2, 4, 4);
    l->setSpacing(2);

    auto grupo = [&](const char* titulo, std::vector<std::pair<const char*, const char*>> campos, int porLinha) {
        auto* g = new QGroupBox(S(titulo), pagina);
        auto* gl = new QGridLayout(g);
        gl->setContentsMargins(4, 2, 4, 2);
        gl->setHorizontalSpacing(4);
        gl->setVerticalSpacing(2);
        int i = 0;
        for (const auto& [campo, rotulo] : campos) {
            auto* e = campoSoLeitura(g, QStringLiteral("dbe") + S(campo));
            m_camposSoLeitura[S(campo)] = e;
            const int linha = i / porLinha;
            const int coluna = (i % porLinha) * 2;
            gl->addWidget(new QLabel(S(rotulo), g), linha, coluna);
            gl->addWidget(e, linha, coluna + 1);
            ++i;
        }
        return g;
    };
    auto* linha1 = new QHBoxLayout;
    linha1->setSpacing(4);
    linha1->addWidget(grupo("Dados da Proposta ",
                            {{"Processo", "Processo"}, {"Classe", "Classe"}, {"Atividade", "Atividade"},
                             {"SubProg", "Subprograma"}, {"NumEdital", "Edital"}, {"NumChamada", "Chamada"}},
                            2),
                      3);
    linha1->addWidget(grupo("Dados do Contrato",
                            {{"Agencia", "Agência"}, {"NumRelContratacao", "Nr. Rel. Contratação"},
                             {"DataDesembolso", "Desembolso"}},
                            1),
                      2);
    l->addLayout(linha1);
    l->addWidget(grupo("Dados do Projeto", {{"Titulo", "Título"}, {"DataFimPrevista", "Fim Previsto"}}, 2));

    auto* linhaObjetivo = new QHBoxLayout;
    linhaObjetivo->setSpacing(4);
    auto* objetivo = new QLabel(S("Objetivo"), pagina);
    objetivo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    linhaObjetivo->addWidget(objetivo);
    dbmObjetivoAtual = new QPlainTextEdit(pagina);
    dbmObjetivoAtual->setObjectName(S("dbmObjetivoAtual"));
    dbmObjetivoAtual->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    dbmObjetivoAtual->setTabChangesFocus(true);
    edit::InstalaOrtografia(dbmObjetivoAtual);
    linhaObjetivo->addWidget(dbmObjetivoAtual, 1);
    l->addLayout(linhaObjetivo, 1);

    auto* editores = new QGridLayout;
    editores->setHorizontalSpacing(4);
    editores->setVerticalSpacing(1);
    auto rotulo = [&](const char* texto) { return new QLabel(S(texto), pagina); };
    // The editors' captions are two labels, one above the other.
    auto rotuloDuplo = [&](const char* linha1, const char* linha2, Qt::Alignment alinhamento = Qt::AlignLeft) {
        auto* w = new QWidget(pagina);
        auto* v = new QVBoxLayout(w);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(0);
        for (const char* texto : {linha1, linha2}) {
            auto* l = new QLabel(S(texto), w);
            l->setAlignment(alinhamento | Qt::AlignVCenter);
            v->addWidget(l);
        }
        return w;
    };

    dbcOrigem = new QComboBox(pagina);
    dbcOrigem->setObjectName(S("dbcOrigem"));
    dbcOrigem->setEditable(true);
    dbcOrigem->setInsertPolicy(QComboBox::NoInsert);
    dbcOrigem->addItems({S("ORIGEM EXTERNA"), S("KESTA I"), S("KESTA II"), S("SEM ORIGEM")});
    dbcOrigem->setCurrentIndex(-1);
    dbcOrigem->setEditText(QString());

    dbeNrProjetoOrigem = new QLineEdit(pagina);
    dbeNrProjetoOrigem->setObjectName(S("dbeNrProjetoOrigem"));
    dbeNrProjetoOrigem->setMaxLength(10);
    dbeNrProjetoOrigem->setValidator(new SoAlgarismos(dbeNrProjetoOrigem));

    edit::AvisaTeclaRecusada(dbeNrProjetoOrigem);

    auto mascarado = [&](const char* nome, const char* mascara, bool valor) {
        auto* e = new QLineEdit(pagina);
        e->setObjectName(S(nome));
        edit::PreparaMascara(e, S(mascara), valor);
        return e;
    };
    meDataFim = mascarado("meDataFim", "99/99/9999", false);
    meDataAssinat = mascarado("meDataAssinat", "99/99/9999", false);
    meValProposta = mascarado("meValProposta", "#############.##", true);
    // Wide enough for every position of the masks.
    const int largura = pagina->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (QLineEdit* e : {meDataFim, meDataAssinat, dbeNrProjetoOrigem})
        e->setFixedWidth(largura * 10 + 16);
    meValProposta->setFixedWidth(largura * 16 + 16);

    bmbtConfirmar = botao(pagina, S("bmbtConfirmar"), S("&Confirmar"));
    bmbtCancelar = botao(pagina, S("bmbtCancelar"), S("Ca&ncelar"));

    editores->addWidget(rotulo("Origem"), 0, 0);
    editores->addWidget(dbcOrigem, 0, 1);
    editores->addWidget(rotuloDuplo("Nr. Projeto", "de Origem"), 0, 2);
    editores->addWidget(dbeNrProjetoOrigem, 0, 3);
    editores->addWidget(rotuloDuplo("Data de", "Fim Real"), 0, 4);
    editores->addWidget(meDataFim, 0, 5);
    editores->addWidget(rotuloDuplo("Valor Solicitado na", "Proposta (US$)"), 1, 0);
    editores->addWidget(meValProposta, 1, 1);
    editores->addWidget(rotuloDuplo("Data de Assinatura", "do Convênio", Qt::AlignRight), 1, 2, 1, 2, Qt::AlignRight | Qt::AlignVCenter);
    editores->addWidget(meDataAssinat, 1, 5);
    editores->setColumnStretch(1, 1);
    l->addLayout(editores);
    auto* botoes = new QHBoxLayout;
    botoes->setContentsMargins(0, 2, 0, 0);
    botoes->addStretch();
    botoes->addWidget(bmbtCancelar);
    botoes->addWidget(bmbtConfirmar);
    l->addLayout(botoes);
    // Tab follows the rows as laid out (the editors were made in another order), then the buttons
    // left to right.
    QWidget::setTabOrder(dbcOrigem, dbeNrProjetoOrigem);
    QWidget::setTabOrder(dbeNrProjetoOrigem, meDataFim);
    QWidget::setTabOrder(meDataFim, meValProposta);
    QWidget::setTabOrder(meValProposta, meDataAssinat);
    QWidget::setTabOrder(meDataAssinat, bmbtCancelar);
    QWidget::setTabOrder(bmbtCancelar, bmbtConfirmar);

    connect(dbcOrigem, &QComboBox::currentTextChanged, this, &TfrmMenu1::dbcOrigemChange);
    // The spelling underline redraws the memo without changing a letter: that is no edit.
    connect(dbmObjetivoAtual, &QPlainTextEdit::textChanged, this, [this, ultimo = QString()]() mutable {
        QString texto = dbmObjetivoAtual->toPlainText();
        if (texto != ultimo) {
            ultimo = std::move(texto);
            marcaIdentificacao();
        }
    });
    connect(dbeNrProjetoOrigem, &QLineEdit::textChanged, this, &TfrmMenu1::marcaIdentificacao);
    connect(meValProposta, &QLineEdit::textChanged, this, &TfrmMenu1::marcaIdentificacao);
    connect(meDataFim, &QLineEdit::textChanged, this, &TfrmMenu1::marcaIdentificacao);
    connect(meDataAssinat, &QLineEdit::textChanged, this, &TfrmMenu1::marcaIdentificacao);
    connect(bmbtConfirmar, &QPushButton::clicked, this, &TfrmMenu1::bmbtConfirmarClick);
    connect(bmbtCancelar, &QPushButton::clicked, this, &TfrmMenu1::bmbtCancelarClick);
}

void TfrmMenu1::montaObservacoes(QWidget& paginaObservacoes)
{
    QWidget* pagina = &paginaObservacoes;
    auto* l = new QVBoxLayout(pagina);
    l->setContentsMargins(6, 6, 6, 6);
    auto grupo = [&](const char* titulo, const char* memo, const char* confirmar, const char* cancelar) {
        auto* g = new QGroupBox(S(titulo), pagina);
        auto* gl = new QHBoxLayout(g);
        gl->setContentsMargins(4, 4, 4, 4);
        auto* m = new QPlainTextEdit(g);
        m->setObjectName(S(memo));
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setTabChangesFocus(true);
        edit::InstalaOrtografia(m);
        gl->addWidget(m, 1);
        auto* bl = new QVBoxLayout;
        auto* bc = botao(g, S(confirmar), S("&Confirmar"));
        auto* bx = botao(g, S(cancelar), S("&Cancelar"));
        bl->addWidget(bc);
        bl->addWidget(bx);
        bl->addStretch();
        gl->addLayout(bl);
        l->addWidget(g, 1);
        return std::make_unique<EditorMemo>(m, bc, bx);
    };
    m_analise = grupo("Análise Qualitativa", "dbAnalise", "btConfirmAnalise", "btCancelAnalise");
    m_comentario = grupo("Comentários Gerais", "dbComentario", "btConfirmComent", "btCancelComent");
}

void TfrmMenu1::carregaCamposSoLeitura()
{
    const bool temProjeto = m_tbProjeto && m_tbProjeto->active() && !m_tbProjeto->isEmpty();
    for (auto& [campo, e] : m_camposSoLeitura) {
        e->setText(temProjeto ? m_tbProjeto->value(campo) : QString());
        e->setCursorPosition(0);
    }
}

} // namespace app::ui
