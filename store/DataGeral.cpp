#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/DataModules.h"
#include "store/DecodificaTabela.h"
#include "store/Paralelo.h"
#include "store/RegistroEnvios.h"

#include <QDir>
#include <QFile>
#include <QSignalBlocker>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

namespace store {

namespace {

const QString FiltroLista = QStringLiteral("Status <> 'D' and Status <> 'F'");
const QString FiltroInstituicao =
    QStringLiteral("Status <> 'D' and Status <> 'F' and TipoVinculacao <> 'DESCONHECIDO'");
const QString FiltroPlaceholder = QStringLiteral("Status = 'F'");
constexpr int MaximoProgresso = 500;

// A table file of the working folder, which must be that table's with its columns.
Table::FileContents DecodificaArquivoDaTabela(const QString& caminho, const Table& tabela)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw TableError(QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(caminho, arquivo.errorString()));
    return DecodificaTabela(arquivo.readAll(), caminho, tabela.fields(), tabela.name());
}

struct IndiceExtra {
    QString nome;
    QString colunas;
};

struct IndicesDaTabela {
    QString tabela;
    QString primario;  // columns of "Primary"
    int opcao;         // option of "Primary"
    std::vector<IndiceExtra> outros;
    bool primarioCorrente;  // two child tables keep whatever index was current
};

const std::vector<IndicesDaTabela>& TabelaDeIndices()
{
    static const std::vector<IndicesDaTabela> t = {
    {QStringLiteral("tbAreaConhecAting"), QStringLiteral("DescricaoAreaConhec"), 1, {}, true},
    {QStringLiteral("tbSetorEconAting"), QStringLiteral("DescrSetorEcon"), 1, {}, true},
    {QStringLiteral("tbInstituicao"), QStringLiteral("Cod_Inst"), 1, {{QStringLiteral("BIRO"), QStringLiteral("BIRO")}}, true},
    {QStringLiteral("tbMembro"), QStringLiteral("Cod_Membro"), 1, {{QStringLiteral("BIRO"), QStringLiteral("BIRO")}}, true},
    {QStringLiteral("tbMembroBolsista"), QStringLiteral("Cod_Membro"), 1, {}, true},
    {QStringLiteral("tbLocaisPesquisa"), QStringLiteral("Cod_local"), 1, {{QStringLiteral("Instituicao"), QStringLiteral("Cod_Inst")}}, true},
    {QStringLiteral("tbEstudo"), QStringLiteral("Cod_Estudo"), 1, {{QStringLiteral("Instituicao"), QStringLiteral("Cod_Inst")}, {QStringLiteral("Membro"), QStringLiteral("Autor")}}, true},
    {QStringLiteral("tbEstudosAreaConhec"), QStringLiteral("Cod_Estudo;DescricaoAreaConhec"), 1, {{QStringLiteral("Estudo"), QStringLiteral("Cod_Estudo")}}, true},
    {QStringLiteral("tbEstudosSetores"), QStringLiteral("Cod_Estudo;DescricaoSetorEcon"), 1, {{QStringLiteral("Estudo"), QStringLiteral("Cod_Estudo")}}, true},
    {QStringLiteral("tbPublicacao"), QStringLiteral("Cod_Publicacao"), 1, {{QStringLiteral("Membro"), QStringLiteral("Autor")}}, true},
    {QStringLiteral("tbPublicPublicoAlvo"), QStringLiteral("Cod_Publicacao;DescricaoPublico"), 1, {{QStringLiteral("Publicacao"), QStringLiteral("Cod_Publicacao")}}, true},
    {QStringLiteral("tbPublicAreaConhec"), QStringLiteral("Cod_Publicacao;DescricaoAreaConhec"), 1, {{QStringLiteral("Publicacao"), QStringLiteral("Cod_Publicacao")}}, true},
    {QStringLiteral("tbPublicEstudo"), QStringLiteral("Cod_Publicacao;Cod_Estudo"), 1, {{QStringLiteral("Publicacao"), QStringLiteral("Cod_Publicacao")}, {QStringLiteral("Estudo"), QStringLiteral("Cod_Estudo")}}, true},
    {QStringLiteral("tbObrasEditadas"), QStringLiteral("Cod_Obra"), 1, {{QStringLiteral("Membro"), QStringLiteral("Autor")}}, true},
    {QStringLiteral("tbObraAreaConhec"), QStringLiteral("Cod_Obra;DescricaoAreaConhec"), 1, {{QStringLiteral("Obra"), QStringLiteral("Cod_Obra")}}, true},
    {QStringLiteral("tbProdTec"), QStringLiteral("Cod_Prod"), 1, {}, true},
    {QStringLiteral("tbPatente"), QStringLiteral("Cod_Patente"), 1, {{QStringLiteral("ProdTec"), QStringLiteral("Cod_Prod")}, {QStringLiteral("Membro"), QStringLiteral("Inventor")}}, true},
    {QStringLiteral("tbSoftware"), QStringLiteral("Cod_Software"), 1, {{QStringLiteral("Instituicao"), QStringLiteral("InstDesenv")}, {QStringLiteral("Membro"), QStringLiteral("Autor")}}, true},
    {QStringLiteral("tbSoftSetores"), QStringLiteral("Cod_Software;DescrSetorEcon"), 0, {{QStringLiteral("Software"), QStringLiteral("Cod_Software")}}, true},
    {QStringLiteral("tbServico"), QStringLiteral("Cod_Servico"), 1, {{QStringLiteral("Instituicao"), QStringLiteral("InstPrest")}, {QStringLiteral("Laboratorio"), QStringLiteral("Laboratorio")}}, true},
    {QStringLiteral("tbServicoAreaConhec"), QStringLiteral("Cod_Servico;DescricaoAreaConhec"), 1, {{QStringLiteral("Servico"), QStringLiteral("Cod_Servico")}}, true},
    {QStringLiteral("tbServicoSetores"), QStringLiteral("Cod_Servico;DescrSetorEcon"), 1, {{QStringLiteral("Servico"), QStringLiteral("Cod_Servico")}}, false},
    {QStringLiteral("tbMaterialAdquirido"), QStringLiteral("TipoMaterial;AnoAquisicao;LocaldeGastos"), 1, {}, true},
    {QStringLiteral("tbMaterialAreaConhec"), QStringLiteral("TipoMaterial;AnoAquisicao;LocaldeGastos;DescricaoAreaConhec"), 1, {{QStringLiteral("Material"), QStringLiteral("TipoMaterial;AnoAquisicao;LocaldeGastos;Status")}}, true},
    {QStringLiteral("tbEquipamentos"), QStringLiteral("Cod_Equip"), 1, {{QStringLiteral("Instituicao"), QStringLiteral("InstLocaliz")}}, true},
    {QStringLiteral("tbLaboratorio"), QStringLiteral("Cod_Laboratorio"), 1, {{QStringLiteral("Instituicao"), QStringLiteral("Cod_Inst")}}, true},
    {QStringLiteral("tbBolsa"), QStringLiteral("Cod_Bolsa"), 1, {}, true},
    {QStringLiteral("tbBolsaAreaConhec"), QStringLiteral("Cod_Bolsa;DescricaoAreaConhec"), 1, {{QStringLiteral("Bolsa"), QStringLiteral("Cod_Bolsa")}}, true},
    {QStringLiteral("tbTrabalhoAcademico"), QStringLiteral("Cod_Trab"), 1, {{QStringLiteral("Bolsa"), QStringLiteral("Cod_Bolsa")}, {QStringLiteral("Membro"), QStringLiteral("Cod_Membro")}}, true},
    {QStringLiteral("tbTrabalhoAreaConhec"), QStringLiteral("Cod_Trab;DescArea"), 1, {{QStringLiteral("Trabalho"), QStringLiteral("Cod_Trab")}}, true},
    {QStringLiteral("tbCapacit"), QStringLiteral("Cod_Capacitacao"), 1, {}, true},
    {QStringLiteral("tbCapacitMembro"), QStringLiteral("Cod_Capacitacao;Cod_Membro"), 1, {{QStringLiteral("Capacitacao"), QStringLiteral("Cod_Capacitacao")}, {QStringLiteral("Membro"), QStringLiteral("Cod_Membro")}}, true},
    {QStringLiteral("tbCursos"), QStringLiteral("Cod_Curso"), 1, {{QStringLiteral("Instituicao"), QStringLiteral("InstFornec")}}, true},
    {QStringLiteral("tbCursosAreaConhec"), QStringLiteral("Cod_Curso;DescricaoAreaConhec"), 1, {{QStringLiteral("Curso"), QStringLiteral("Cod_Curso")}}, true},
    {QStringLiteral("tbEventosApoiados"), QStringLiteral("Cod_Evento"), 1, {}, true},
    {QStringLiteral("tbEventosAreaConhec"), QStringLiteral("Cod_Evento;DescricaoAreaConhec"), 1, {{QStringLiteral("Evento"), QStringLiteral("Cod_Evento")}}, false},
    {QStringLiteral("tbBase"), QStringLiteral("Identificacao"), 1, {}, true},
    {QStringLiteral("tbBaseArea"), QStringLiteral("Identificacao;DescricaoAreaConhec"), 1, {{QStringLiteral("Base"), QStringLiteral("Identificacao")}}, true},
    {QStringLiteral("tbBaseAcesso"), QStringLiteral("Identificacao;TipoAcesso"), 1, {{QStringLiteral("Base"), QStringLiteral("Identificacao")}}, true},
    {QStringLiteral("tbProblemas"), QStringLiteral("Cod_Problema"), 1, {}, true},
    {QStringLiteral("tbAcoesCorretivas"), QStringLiteral("Cod_Problema;TipoAcao"), 1, {{QStringLiteral("Problema"), QStringLiteral("Cod_Problema")}}, true},
    {QStringLiteral("tbQualidade"), QStringLiteral("Cod_Qualidade"), 1, {{QStringLiteral("InstCliente"), QStringLiteral("Cod_InstCliente")}, {QStringLiteral("InstFornec"), QStringLiteral("Cod_InstFornec")}}, true},
    };
    return t;
}

void AplicaFiltro(Table& t, const QString& filtro)
{
    t.setFiltered(false);
    t.setFilter(filtro);
    t.setFiltered(true);
}

// A table just filled from its file, the n-th in store order: the list filter (the institutions'
// own), open, and the progress step of a load.
void AbreLida(Table& t, int n)
{
    t.setFilter(FiltroLista);
    t.setFiltered(true);
    t.open();
    if (t.name() == QLatin1String("tbInstituicao"))
        AplicaFiltro(t, FiltroInstituicao);
    // The first three steps count from 10; from the institutions on, the count lags one step.
    app::ProgressoEspera(n <= 3 ? 10 * n : 10 * (n - 1), MaximoProgresso);
}

// The indexes of one table, none of them made current: a table can get its own on a worker thread.
void AdicionaIndices(Table& t, const IndicesDaTabela& i)
{
    t.addIndex(QStringLiteral("Primary"), i.primario, i.opcao);
    for (const IndiceExtra& e : i.outros)
        t.addIndex(e.nome, e.colunas, ixNone);
}

// Shows only the placeholder rows of a table; true when there is one.
bool MostraPlaceholders(Table& t)
{
    t.setFiltered(false);
    t.setFilter(FiltroPlaceholder);
    t.setFiltered(true);
    return !t.isEmpty();
}

} // namespace

void TDataGeral::DataGeralCreate() { CreateIndexes(); }

void TDataGeral::LoadTable(Table& tabela)
{
    tabela.setIndexName(QString());
    tabela.loadFromFile(app::Estado().ProgramDir + TableFiles[size_t(tabela.tag())]);
    tabela.setFilter(FiltroLista);
    tabela.setFiltered(true);
    tabela.open();
}

// The files are decoded on worker threads, then installed one by one in store order, so progress,
// filters and a failure at one table behave as if they were read in turn.
void TDataGeral::LoadTables(const QString& pastaDosArquivos)
{
    const std::vector<Table*> tabelas = m_dados.armazenadas();
    struct Lida {
        Table::FileContents conteudo;
        std::exception_ptr erro;
    };
    std::vector<Lida> lidas(tabelas.size());
    const QString pasta = pastaDosArquivos.isEmpty() ? app::Estado().ProgramDir : pastaDosArquivos;
    EmParalelo(tabelas.size(), [&](size_t i) {
        try {
            lidas[i].conteudo = DecodificaArquivoDaTabela(pasta + TableFiles[size_t(tabelas[i]->tag())], *tabelas[i]);
        } catch (...) {
            lidas[i].erro = std::current_exception();
        }
    });

    for (size_t i = 0; i < tabelas.size(); ++i) {
        Table& t = *tabelas[i];
        t.setIndexName(QString());
        if (lidas[i].erro)
            std::rethrow_exception(lidas[i].erro);
        t.install(std::move(lidas[i].conteudo));
        AbreLida(t, int(i) + 1);
    }
    EmptyRecord();
}

// As LoadTables and then CreateIndexes with tables already decoded (one per stored table, in store
// order): each table is filled and indexed on a worker thread, different tables at once. While the
// workers run, no table may reach anything outside it: its signals are blocked (the cursor settles
// again below, on this thread) and its change notice waits until controls are enabled again, when
// every view reloads once. Views are not touched meanwhile: this thread is busy joining the workers and
// runs no events.
void TDataGeral::InstallTablesAndIndexes(std::vector<Table::FileContents>&& conteudos)
{
    const std::vector<Table*> tabelas = m_dados.armazenadas();
    if (conteudos.size() != tabelas.size())
        throw TableError(QStringLiteral("%1 tabelas lidas para %2 armazenadas").arg(conteudos.size()).arg(tabelas.size()));
    std::vector<const IndicesDaTabela*> indices(tabelas.size(), nullptr);
    std::vector<bool> indexada(TabelaDeIndices().size(), false);
    for (size_t i = 0; i < tabelas.size(); ++i)
        for (size_t k = 0; k < TabelaDeIndices().size(); ++k)
            if (TabelaDeIndices()[k].tabela == tabelas[i]->name()) {
                indices[i] = &TabelaDeIndices()[k];
                indexada[k] = true;
            }

    struct Congelada {
        explicit Congelada(Table& t) : tabela(t), bloqueio(&t) { t.disableControls(); }
        ~Congelada() { tabela.enableControls(); }
        Congelada(const Congelada&) = delete;
        Congelada& operator=(const Congelada&) = delete;
        Table& tabela;
        std::optional<QSignalBlocker> bloqueio;
    };
    std::vector<std::unique_ptr<Congelada>> congeladas;
    for (Table* t : tabelas) {
        // A pending edit is stored here, where its posting rules may look at other tables.
        t->setIndexName(QString());
        congeladas.push_back(std::make_unique<Congelada>(*t));
    }

    std::vector<std::exception_ptr> erros(tabelas.size());
    EmParalelo(tabelas.size(), [&](size_t i) {
        try {
            tabelas[i]->install(std::move(conteudos[i]));
            if (indices[i])
                AdicionaIndices(*tabelas[i], *indices[i]);
        } catch (...) {
            erros[i] = std::current_exception();
        }
    });
    for (auto& c : congeladas)
        c->bloqueio.reset();
    for (const std::exception_ptr& e : erros)
        if (e)
            std::rethrow_exception(e);

    for (size_t i = 0; i < tabelas.size(); ++i)
        AbreLida(*tabelas[i], int(i) + 1);
    EmptyRecord();
    for (size_t k = 0; k < TabelaDeIndices().size(); ++k) {
        const IndicesDaTabela& i = TabelaDeIndices()[k];
        Table& t = m_dados.tabelaOuErro(i.tabela);
        if (!indexada[k])
            AdicionaIndices(t, i);
        if (i.primarioCorrente)
            t.setIndexName(QStringLiteral("Primary"));
    }
    // congeladas: every view hears of its table once, now.
}

// A table file never holds index definitions, so the indexes stay in memory: the open project keeps
// its order and key searches after a save without rebuilding them.
void TDataGeral::SaveTable(Table& tabela)
{
    tabela.open();
    tabela.saveToFile(app::Estado().ProgramDir + TableFiles[size_t(tabela.tag())]);
}

// Encoding only reads the tables, so it runs on worker threads.
std::vector<QByteArray> TDataGeral::EncodeTables()
{
    const std::vector<Table*> tabelas = m_dados.armazenadas();
    for (Table* t : tabelas)
        t->open();
    std::vector<QByteArray> textos(tabelas.size());
    EmParalelo(tabelas.size(), [&](size_t i) { textos[i] = tabelas[i]->encodeFile(); });
    return textos;
}

// The files are written in store order after encoding, and a failure stops at that table as if they
// were written in turn.
void TDataGeral::SaveTables(const QString& pastaDosArquivos)
{
    const std::vector<Table*> tabelas = m_dados.armazenadas();
    std::vector<QByteArray> textos = EncodeTables();
    const QString pasta = pastaDosArquivos.isEmpty() ? app::Estado().ProgramDir : pastaDosArquivos;
    for (size_t i = 0; i < tabelas.size(); ++i) {
        Table::writeFile(pasta + TableFiles[size_t(tabelas[i]->tag())], textos[i]);
        textos[i] = QByteArray();
        app::ProgressoEspera(10 * (int(i) + 1), MaximoProgresso);
    }
}

void TDataGeral::ClearTables()
{
    for (Table* t : m_dados.armazenadas())
        t->emptyTable();
    // The send log belongs to the project whose tables these were.
    Envios().limpa();
}

void TDataGeral::CloseTables()
{
    for (Table* t : m_dados.armazenadas())
        t->close();
}

namespace {

void criaIndices(Table& t, const IndicesDaTabela& i)
{
    AdicionaIndices(t, i);
    if (i.primarioCorrente)
        t.setIndexName(QStringLiteral("Primary"));
}

} // namespace

void TDataGeral::CreateIndexes()
{
    for (const IndicesDaTabela& i : TabelaDeIndices())
        criaIndices(m_dados.tabelaOuErro(i.tabela), i);
}

void TDataGeral::CreateIndexes(Table& tabela)
{
    for (const IndicesDaTabela& i : TabelaDeIndices())
        if (i.tabela == tabela.name())
            criaIndices(tabela, i);
}

void TDataGeral::CreateIndexesExcept(const std::vector<const Table*>& prontas)
{
    for (const IndicesDaTabela& i : TabelaDeIndices()) {
        Table& t = m_dados.tabelaOuErro(i.tabela);
        if (std::find(prontas.begin(), prontas.end(), &t) == prontas.end())
            criaIndices(t, i);
    }
}

void TDataGeral::ClearIndexes()
{
    for (const IndicesDaTabela& i : TabelaDeIndices()) {
        Table& t = m_dados.tabelaOuErro(i.tabela);
        t.setIndexName(QString());
        t.deleteIndex(QStringLiteral("Primary"));
        for (const IndiceExtra& e : i.outros)
            t.deleteIndex(e.nome);
    }
    DataIdentificacao().tbOutrasFontes.clearIndexDefs();
}

void TDataGeral::EmptyRecord()
{
    auto anexa = [](Table& t, std::initializer_list<std::pair<const char*, const char*>> valores) {
        t.append();
        for (const auto& [coluna, valor] : valores)
            t.setValue(QString::fromLatin1(coluna), QString::fromLatin1(valor));
        t.post();
    };

    Table& inst = m_dados.identificacao().tbInstituicao;
    if (!MostraPlaceholders(inst)) {
        inst.setFiltered(false);
        anexa(inst, {{"Status", "F"}, {"Cod_Inst", " "}, {"BIRO", " "}, {"Nome", "NENHUMA"},
                     {"TipoEnvolvimento", " "}, {"TipoVinculacao", " "}});
    }
    AplicaFiltro(inst, FiltroInstituicao);

    Table& membro = m_dados.identificacao().tbMembro;
    if (!MostraPlaceholders(membro)) {
        membro.setFiltered(false);
        anexa(membro, {{"Status", "F"}, {"Cod_Membro", " "}, {"BIRO", " "}, {"Nome", "NENHUM"},
                       {"EquipeOriginal", " "}, {"CargaHoraria", " "}, {"DescricaoFuncao", " "}});
    }
    AplicaFiltro(membro, FiltroLista);

    // The laboratory placeholder is always made anew.
    Table& lab = m_dados.atividadesApoiadas().tbLaboratorio;
    MostraPlaceholders(lab);
    lab.first();
    while (!lab.isEmpty())
        lab.remove();
    lab.setFiltered(false);
    anexa(lab, {{"Status", "F"}, {"Cod_Inst", " "}, {"Cod_Laboratorio", " "}, {"BIROLab", " "},
                {"NomeLab", "NENHUM"}, {"TipoApoio", " "}, {"DataInicio", " "}});
    AplicaFiltro(lab, FiltroLista);
}

} // namespace store
