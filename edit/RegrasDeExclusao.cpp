#include "edit/RegrasDeExclusao.h"

#include "edit/Edicao.h"
#include "edit/Exclusao.h"
#include "edit/TabelaAux.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "store/Dados.h"
#include "store/Table.h"

#include <QStringList>

#include <memory>
#include <utility>

namespace edit {

namespace {

QString S(const char* t) { return QString::fromUtf8(t); }

const QString Primaria = QStringLiteral("Primary");
// The works of a member or a grant that a deletion reaches: those not deleted, in a dialog or not.
const QString FiltroTrabalhos = QStringLiteral("(Status <> 'D' and Status <> 'X' and Status <> 'Y')");

store::Table& tabela(const QString& nome) { return store::dados().tabelaOuErro(nome); }

// Keeps what a command may change on a table (filter text, filter switch, current index) and gives it
// back when it ends, however it ends; look-up indexes made through it are dropped. The cursor stays on
// its row when that row is still shown.
class Preserva
{
public:
    enum Modo { SoEstado, Congela };

    explicit Preserva(store::Table& t, Modo modo = SoEstado)
        : m_t(t)
        , m_filtro(t.filter())
        , m_filtrado(t.filtered())
        , m_indice(t.indexName())
        , m_emEdicao(aux::emEdicao(t))
        , m_congela(modo == Congela)
    {
        if (m_congela)
            m_t.disableControls();
    }
    ~Preserva()
    {
        try {
            restaura();
        } catch (...) {
            // Nothing left to give back that could fail twice; the first failure is the one reported.
        }
        if (m_congela)
            m_t.enableControls();
    }
    Preserva(const Preserva&) = delete;
    Preserva& operator=(const Preserva&) = delete;

    // Makes `nome` the current index, built on `campos` when the table has none by that name. A
    // look-up index is only ever searched by its key, so one the table keeps on the same columns
    // under another name serves instead of a new one.
    void usaIndice(const QString& nome, const QString& campos)
    {
        if (!m_t.hasIndex(nome)) {
            const QString existente = aux::indiceSobre(m_t, campos);
            if (!existente.isEmpty()) {
                m_t.setIndexName(existente);
                return;
            }
            m_t.addIndex(nome, campos);
            m_criados << nome;
        }
        m_t.setIndexName(nome);
    }

    void filtra(const QString& filtro)
    {
        m_t.setFiltered(false);
        m_t.setFilter(filtro);
        m_t.setFiltered(true);
    }

    void restaura()
    {
        // A table that was being edited when the command began belongs to whoever edits it.
        if (m_emEdicao)
            return;
        if (aux::emEdicao(m_t))
            m_t.cancel();
        const store::Table::Bookmark linha = m_t.bookmark();
        bool moveu = false;
        if (m_t.indexName().compare(m_indice, Qt::CaseInsensitive) != 0) {
            aux::selecionaIndice(m_t, m_indice);
            moveu = true;
        }
        for (const QString& nome : std::as_const(m_criados))
            aux::removeIndice(m_t, nome);
        m_criados.clear();
        if (m_t.filter() != m_filtro || m_t.filtered() != m_filtrado) {
            m_t.setFiltered(false);
            m_t.setFilter(m_filtro);
            m_t.setFiltered(m_filtrado);
            moveu = true;
        }
        if (moveu && linha != 0 && m_t.bookmarkValid(linha))
            m_t.gotoBookmark(linha);
    }

private:
    store::Table& m_t;
    QString m_filtro;
    bool m_filtrado;
    QString m_indice;
    bool m_emEdicao;
    bool m_congela;
    QStringList m_criados;
};

// True when a row of the referring table, as its filter shows it, holds the code.
bool referido(const Referencia& r, const QString& codigo)
{
    store::Table& t = tabela(r.tabela);
    Preserva estado(t);
    if (!r.filtro.isEmpty())
        estado.filtra(r.filtro);
    estado.usaIndice(r.indice, r.campo);
    return t.findKey({codigo});
}

// The first look-up that finds the code refuses the deletion: its message is shown.
bool recusada(const std::vector<Referencia>& referencias, const QString& codigo)
{
    for (const Referencia& r : referencias) {
        if (referido(r, codigo)) {
            app::Mensagem(r.mensagem, app::Icone::Informacao);
            return true;
        }
    }
    return false;
}

// True while the table still shows a record with the key (the deletion was declined or left it).
bool aindaMostra(store::Table& t, const QString& indice, const QString& campoChave, const QString& chave)
{
    Preserva estado(t);
    estado.usaIndice(indice, campoChave);
    return t.findKey({chave});
}

// The current row's status, read where the row keeps it.
bool conhecida(const store::Table& t) { return aux::statusE(t, u"N") || aux::statusE(t, u"A"); }
bool nova(const store::Table& t) { return aux::statusE(t, u"I") || aux::statusE(t, u"E"); }

// The academic works of a deleted member or grant (`campo` holds its code) and the areas of each.
void excluiTrabalhos(const QString& campo, const QString& codigo)
{
    store::Table& trabalhos = tabela(QStringLiteral("tbTrabalhoAcademico"));
    QStringList codigos;
    {
        Preserva estado(trabalhos);
        estado.filtra(FiltroTrabalhos);
        estado.usaIndice(QStringLiteral("indiceTrab"), campo);
        const int coluna = trabalhos.fieldIndexOrThrow(campo);
        const int colunaTrab = trabalhos.fieldIndexOrThrow(QStringLiteral("Cod_Trab"));
        // Every work of the parent is taken once; the areas follow only the works that the cascade
        // below deletes, so a work it leaves keeps its areas.
        if (trabalhos.findKey({codigo})) {
            for (; !trabalhos.eof() && trabalhos.valueIs(coluna, codigo); trabalhos.next()) {
                if (conhecida(trabalhos) || nova(trabalhos))
                    codigos << trabalhos.value(colunaTrab);
            }
        }
    }
    ExcluiDependentes(tabela(QStringLiteral("tbTrabalhoAreaConhec")), QStringLiteral("Cod_Trab"), codigos);
    ExcluiDependentes(trabalhos, campo, codigo);
}

// Deletion of the current record and, when it is gone, of its dependent rows.
void excluiComDependentes(const RegraDeExclusao& regra, store::Table& t)
{
    Preserva estado(t);
    const QString chave = regra.campoChave.isEmpty() ? QString() : t.value(regra.campoChave);
    ExcluiRegistro(t, regra.descricao);
    const bool temDependentes = !regra.dependentes.empty() || regra.tipo == RegraDeExclusao::Tipo::Bolsa;
    if (!temDependentes || aindaMostra(t, Primaria, regra.campoChave, chave))
        return;
    for (const Dependente& d : regra.dependentes)
        ExcluiDependentes(tabela(d.tabela), d.campoLigacao, chave);
    if (regra.tipo == RegraDeExclusao::Tipo::Bolsa)
        excluiTrabalhos(QStringLiteral("Cod_Bolsa"), chave);
}

void excluiLaboratorio(const RegraDeExclusao& regra, store::Table& t)
{
    const Referencia servico{QStringLiteral("tbServico"), QStringLiteral("Laboratorio"), QStringLiteral("Laboratorio"),
                             recusa::Laboratorio, {}};
    if (recusada({servico}, t.value(QStringLiteral("Cod_Laboratorio"))))
        return;
    excluiComDependentes(regra, t);
}

void excluiInstituicao(const RegraDeExclusao& regra, store::Table& t)
{
    if (recusada(ReferenciasDaInstituicao(t.value(QStringLiteral("TipoEnvolvimento"))),
                 t.value(QStringLiteral("Cod_Inst"))))
        return;
    excluiComDependentes(regra, t);
}

void excluiMembro(const RegraDeExclusao& regra, store::Table& t)
{
    Preserva estado(t);
    const QString codigo = t.value(regra.campoChave);
    if (recusada(ReferenciasDoMembro(), codigo))
        return;
    ExcluiRegistro(t, regra.descricao);
    if (aindaMostra(t, QStringLiteral("indiceMembro"), regra.campoChave, codigo))
        return;
    ExcluiDependentes(tabela(QStringLiteral("tbMembroBolsista")), regra.campoChave, codigo);
    excluiTrabalhos(regra.campoChave, codigo);
}

// A material has no code of its own: it and its areas are the rows with its type, year and place.
void excluiMaterial(const RegraDeExclusao& regra, store::Table& t)
{
    store::Table& areas = tabela(QStringLiteral("tbMaterialAreaConhec"));
    Preserva estadoMaterial(t);
    Preserva estadoAreas(areas);
    const QString filtro = FiltroDoMaterial(t.value(QStringLiteral("TipoMaterial")),
                                            t.value(QStringLiteral("AnoAquisicao")),
                                            t.value(QStringLiteral("LocaldeGastos")));
    ExcluiRegistro(t, regra.descricao);
    estadoMaterial.filtra(filtro);
    if (!t.isEmpty())
        return;
    estadoAreas.filtra(filtro);
    // The rows are taken from a list made before the walk, so a row the walk leaves alone is passed
    // once and the walk ends at the last row whatever the letters.
    bool mudou = false;
    for (const store::Table::Bookmark linha : areas.visibleRows()) {
        if (!areas.gotoBookmark(linha))
            continue;
        if (conhecida(areas)) {
            aux::mudaStatus(areas, QStringLiteral("D"));
            mudou = true;
        } else if (nova(areas)) {
            areas.remove();
            mudou = true;
        }
    }
    if (mudou)
        app::SetModified(true);
}

void executa(const RegraDeExclusao& regra, store::Table& t)
{
    switch (regra.tipo) {
    case RegraDeExclusao::Tipo::Laboratorio: excluiLaboratorio(regra, t); break;
    case RegraDeExclusao::Tipo::Instituicao: excluiInstituicao(regra, t); break;
    case RegraDeExclusao::Tipo::Membro: excluiMembro(regra, t); break;
    case RegraDeExclusao::Tipo::Material: excluiMaterial(regra, t); break;
    case RegraDeExclusao::Tipo::Geral:
    case RegraDeExclusao::Tipo::Bolsa: excluiComDependentes(regra, t); break;
    }
}

} // namespace

const std::vector<RegraDeExclusao>& RegrasDeExclusao()
{
    using T = RegraDeExclusao::Tipo;
    const auto Q = [](const char* t) { return QString::fromUtf8(t); };
    static const std::vector<RegraDeExclusao> regras = {
        {Q("tbSetorEconAting"), Q("este Setor Econômico ?"), {}, {}, false, T::Geral},
        {Q("tbAreaConhecAting"), Q("esta Área de Conhecimento?"), {}, {}, false, T::Geral},
        {Q("tbLocaisPesquisa"), Q("este Local de Pesquisa de Campo ?"), {}, {}, false, T::Geral},
        {Q("tbInstituicao"), Q("esta Instituição ?"), {}, {}, false, T::Instituicao},
        {Q("tbMembro"), Q("este Membro da Equipe ?"), Q("Cod_Membro"), {}, false, T::Membro},
        {Q("tbEstudo"), Q("este Estudo Realizado ?"), Q("Cod_Estudo"),
         {{Q("tbEstudosAreaConhec"), Q("Cod_Estudo")}, {Q("tbEstudosSetores"), Q("Cod_Estudo")}}, true, T::Geral},
        {Q("tbPublicacao"), Q("esta Publicação ?"), Q("Cod_Publicacao"),
         {{Q("tbPublicAreaConhec"), Q("Cod_Publicacao")}}, true, T::Geral},
        {Q("tbObrasEditadas"), Q("este Obra Editada ?"), Q("Cod_Obra"), {{Q("tbObraAreaConhec"), Q("Cod_Obra")}}, true,
         T::Geral},
        {Q("tbProdTec"), Q("esta Produção Tecnológica ?"), Q("Cod_Prod"), {{Q("tbPatente"), Q("Cod_Prod")}}, true,
         T::Geral},
        {Q("tbSoftware"), Q("este Softwares Gerados Pelo Projeto ?"), Q("Cod_Software"),
         {{Q("tbSoftSetores"), Q("Cod_Software")}}, true, T::Geral},
        {Q("tbEventosApoiados"), Q("este Evento Apoiado ?"), Q("Cod_Evento"),
         {{Q("tbEventosAreaConhec"), Q("Cod_Evento")}}, true, T::Geral},
        {Q("tbBolsa"), Q("esta Bolsa de Estudos ?"), Q("Cod_Bolsa"), {{Q("tbBolsaAreaConhec"), Q("Cod_Bolsa")}}, false,
         T::Bolsa},
        {Q("tbCapacit"), Q("esta Atividade de Capacitação ?"), Q("Cod_Capacitacao"),
         {{Q("tbCapacitMembro"), Q("Cod_Capacitacao")}}, true, T::Geral},
        {Q("tbQualidade"), Q("este Programa de Qualidade ?"), {}, {}, true, T::Geral},
        {Q("tbLaboratorio"), Q("este Laboratório ?"), {}, {}, false, T::Laboratorio},
        {Q("tbServico"), Q("este Serviço ?"), Q("Cod_Servico"),
         {{Q("tbServicoAreaConhec"), Q("Cod_Servico")}, {Q("tbServicoSetores"), Q("Cod_Servico")}}, true, T::Geral},
        {Q("tbCursos"), Q("este Curso ?"), Q("Cod_Curso"), {{Q("tbCursosAreaConhec"), Q("Cod_Curso")}}, true, T::Geral},
        {Q("tbBase"), Q("esta Base de Dados ?"), Q("Identificacao"),
         {{Q("tbBaseArea"), Q("Identificacao")}, {Q("tbBaseAcesso"), Q("Identificacao")}}, true, T::Geral},
        {Q("tbMaterialAdquirido"), Q("este Material Informacional ?"), {}, {}, false, T::Material},
        {Q("tbEquipamentos"), Q("este Equipamento ?"), {}, {}, true, T::Geral},
        {Q("tbOutrasFontes"), Q("este Outro Financiamento ?"), {}, {}, false, T::Geral},
        {Q("tbProblemas"), Q("este Problema ?"), Q("Cod_Problema"), {{Q("tbAcoesCorretivas"), Q("Cod_Problema")}}, true,
         T::Geral},
    };
    return regras;
}

const RegraDeExclusao* RegraDaTabela(const QString& nome)
{
    for (const RegraDeExclusao& r : RegrasDeExclusao())
        if (r.tabela == nome)
            return &r;
    return nullptr;
}

std::vector<Referencia> ReferenciasDaInstituicao(const QString& tipo)
{
    const auto R = [](const char* t, const char* campo, const char* indice, const QString& mensagem) {
        return Referencia{S(t), S(campo), S(indice), mensagem, {}};
    };
    if (tipo == QLatin1String("CO-EXECUTORA"))
        return {R("tbLocaisPesquisa", "Cod_Inst", "indicelocpeq", recusa::LocalPesquisa),
                R("tbQualidade", "Cod_InstFornec", "indiceQld", recusa::Gqt),
                R("tbEquipamentos", "InstLocaliz", "indiceEquip", recusa::Equipamento),
                R("tbLaboratorio", "Cod_Inst", "indiceLab", recusa::LaboratorioDaInstituicao),
                R("tbServico", "InstPrest", "indiceServ", recusa::Servico),
                R("tbCursos", "instFornec", "indiceCurso", recusa::Curso)};
    if (tipo == QLatin1String("CLIENTE"))
        return {R("tbQualidade", "Cod_InstCliente", "indiceQldCli", recusa::Gqt)};
    if (tipo == QLatin1String("FORNECEDORA DE PROGRAMAS DE QUALIDADE"))
        return {R("tbQualidade", "Cod_InstFornec", "indiceQld", recusa::Gqt)};
    if (tipo == S("CONTRATADA PARA EXECUÇÃO DE ESTUDOS"))
        return {R("tbEstudo", "Cod_Inst", "indiceest", recusa::Estudo)};
    if (tipo == QLatin1String("CONTRATADA PARA DESENVOLVIMENTO DE SOFTWARE"))
        return {R("tbSoftware", "InstDesenv", "indicesoftw", recusa::Software)};
    return {};
}

const std::vector<Referencia>& ReferenciasDoMembro()
{
    static const std::vector<Referencia> r = {
        {S("tbEstudo"), S("Autor"), S("indiceEst"), recusa::EstudoDoMembro, {}},
        {S("tbPublicacao"), S("Autor"), S("indicePub"), recusa::PublicacaoDoMembro, {}},
        {S("tbObrasEditadas"), S("Autor"), S("indiceObr"), recusa::ObraDoMembro, {}},
        {S("tbPatente"), S("Inventor"), S("indicePat"), recusa::PatenteDoMembro,
         S("Status <> 'D' and Status <> 'X' and Status <> 'Y' ")},
        {S("tbSoftware"), S("Autor"), S("indiceSoft"), recusa::SoftwareDoMembro, {}},
        {S("tbCapacitMembro"), S("Cod_Membro"), S("indiceCapacit"), recusa::CapacitacaoDoMembro, S("Status <> 'D'")},
    };
    return r;
}

QString FiltroDoMaterial(const QString& tipo, const QString& ano, const QString& local)
{
    // An apostrophe inside a value is doubled, as the filter texts quote it; otherwise it would end
    // the value and the command would fail after the record was already deleted.
    const auto q = [](QString v) { return v.replace(QLatin1Char('\''), QStringLiteral("''")); };
    return QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (TipoMaterial =  '") + q(tipo)
        + QStringLiteral("'") + QStringLiteral(" and AnoAquisicao = ") + QStringLiteral(" '") + q(ano)
        + QStringLiteral("'") + QStringLiteral(" and LocaldeGastos =") + QStringLiteral(" '") + q(local)
        + QStringLiteral("')");
}

void ExcluiDaPagina(store::Table& tabela, PainelBotoes* painel)
{
    const RegraDeExclusao* regra = RegraDaTabela(tabela.name());
    QString falha;
    if (regra && tabela.active() && !tabela.isEmpty()) {
        // Besides the tables a rule selects and filters itself, the posting rules of some tables move
        // the index of others (a program of quality looks its client up among the institutions):
        // every table is given back as it was. The grids hear of the changes once, at the end.
        std::vector<std::unique_ptr<Preserva>> todas;
        for (store::Table* t : store::dados().todas())
            todas.push_back(std::make_unique<Preserva>(*t, Preserva::Congela));
        if (regra->guardada) {
            try {
                executa(*regra, tabela);
            } catch (const app::Abort&) {
                throw;
            } catch (const std::exception& e) {
                falha = QString::fromUtf8(e.what());
            }
        } else {
            executa(*regra, tabela);
        }
    }
    if (!falha.isNull())
        app::Mensagem(QStringLiteral("Erro inesperado ao confirmar operação!\rConsulte suporte informando a "
                                     "seguinte mensagem:\r")
                          + falha,
                      app::Icone::Erro);
    HabilitaBotoes(tabela, painel);
}

} // namespace edit
