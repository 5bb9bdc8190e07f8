#include "reports/Documento.h"

#include "core/ProgramState.h"
#include "reports/Definicoes.h"
#include "reports/Impressao.h"
#include "reports/Impressora.h"
#include "store/Dados.h"

#include <QFileInfo>
#include <QPdfWriter>

#include <stdexcept>

namespace reports {

namespace {

struct DefinicaoDeRelatorio {
    const char* nome;
    def::Cria cria;
};

const std::vector<DefinicaoDeRelatorio>& Definicoes()
{
    static const std::vector<DefinicaoDeRelatorio> lista = {
        {"TWinReport", &def::TWinReport},
        {"TWinReport1", &def::TWinReport1},
        {"TWinReportLocais", &def::TWinReportLocais},
        {"TWinReportinstituicoes", &def::TWinReportinstituicoes},
        {"TWinReportEquipe", &def::TWinReportEquipe},
        {"TWinReportResultados", &def::TWinReportResultados},
        {"TwinReportResultados1", &def::TwinReportResultados1},
        {"TWinReportResultados2", &def::TWinReportResultados2},
        {"TWinReportResultados3", &def::TWinReportResultados3},
        {"TWinReportResultados4", &def::TWinReportResultados4},
        {"TWinReportResultados5", &def::TWinReportResultados5},
        {"TWinReportResultados6", &def::TWinReportResultados6},
        {"TWinReportResultados7", &def::TWinReportResultados7},
        {"TWinReportResultados8", &def::TWinReportResultados8},
        {"TwinReportAtivAp", &def::TwinReportAtivAp},
        {"TWinReportAtivAp1", &def::TWinReportAtivAp1},
        {"TWinReportAtivAp2", &def::TWinReportAtivAp2},
        {"TWinReportAtivAp3", &def::TWinReportAtivAp3},
        {"TwinReportRecursos", &def::TwinReportRecursos},
        {"TWinReportRecursos1", &def::TWinReportRecursos1},
        {"TWinReportOrcamento", &def::TWinReportOrcamento},
        {"TWinReportOrcamento1", &def::TWinReportOrcamento1},
        {"TWinReportAvaliacao", &def::TWinReportAvaliacao},
        {"TWinREportAvaliacao01", &def::TWinREportAvaliacao01},
        {"TWinReportAvaliacao1", &def::TWinReportAvaliacao1},
    };
    return lista;
}

// Every table as it was before printing: filter, order, current row. Grids see one change at the end.
class TabelasIntactas
{
public:
    explicit TabelasIntactas(store::Dados& dados) : m_modificado(app::Estado().ProjectModified)
    {
        for (store::Table* t : dados.todas()) {
            if (!t->active())
                continue;
            t->disableControls();
            m_tabelas.push_back({t, t->filter(), t->filtered(), t->indexName(), t->bookmark(), t->indexNames()});
        }
    }
    ~TabelasIntactas()
    {
        for (const Salva& s : m_tabelas) {
            store::Table& t = *s.tabela;
            try {
                for (const QString& nome : t.indexNames())
                    if (!s.indices.contains(nome))
                        t.deleteIndex(nome);
                if (t.filter() != s.filtro || t.filtered() != s.filtrado) {
                    t.setFiltered(false);
                    t.setFilter(s.filtro);
                    t.setFiltered(s.filtrado);
                }
                if (t.indexName() != s.indice)
                    t.setIndexName(s.indice);
                if (s.linha != 0 && t.bookmark() != s.linha)
                    t.gotoBookmark(s.linha);
            } catch (const std::exception&) {
                // A table that cannot be put back still gets its controls back below.
            }
            t.enableControls();
        }
        if (app::Estado().ProjectModified != m_modificado)
            app::SetModified(m_modificado);
    }

private:
    struct Salva {
        store::Table* tabela;
        QString filtro;
        bool filtrado;
        QString indice;
        store::Table::Bookmark linha;
        QStringList indices;
    };
    std::vector<Salva> m_tabelas;
    bool m_modificado;
};

} // namespace

std::unique_ptr<Relatorio> CriaRelatorio(const QString& nome, store::Dados& dados)
{
    for (const auto& d : Definicoes())
        if (nome == QLatin1String(d.nome))
            return d.cria(dados);
    throw std::invalid_argument("relatório desconhecido: " + nome.toStdString());
}

QList<Pasta> TodasAsPastas()
{
    return {Pasta::DadosGerais, Pasta::Instituicoes, Pasta::Equipe, Pasta::Resultados,
            Pasta::Apoios, Pasta::RecursosAdquiridos, Pasta::Orcamento, Pasta::Avaliacao};
}

QString NomeDaPasta(Pasta pasta)
{
    switch (pasta) {
    case Pasta::DadosGerais: return QStringLiteral("dados-gerais");
    case Pasta::Instituicoes: return QStringLiteral("instituicoes");
    case Pasta::Equipe: return QStringLiteral("equipe");
    case Pasta::Resultados: return QStringLiteral("resultados");
    case Pasta::Apoios: return QStringLiteral("apoios");
    case Pasta::RecursosAdquiridos: return QStringLiteral("recursos-adquiridos");
    case Pasta::Orcamento: return QStringLiteral("orcamento");
    case Pasta::Avaliacao: return QStringLiteral("avaliacao");
    }
    return QString();
}

bool LePastas(const QString& lista, QList<Pasta>& pastas, QString& desconhecida)
{
    pastas.clear();
    for (const QString& parte : lista.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString nome = parte.trimmed();
        if (nome.isEmpty())
            continue;
        bool achou = false;
        for (Pasta p : TodasAsPastas()) {
            if (NomeDaPasta(p) == nome) {
                if (!pastas.contains(p))
                    pastas << p;
                achou = true;
            }
        }
        if (!achou) {
            desconhecida = nome;
            return false;
        }
    }
    return true;
}

QStringList RelatoriosDaPasta(Pasta pasta)
{
    switch (pasta) {
    case Pasta::DadosGerais: return {QStringLiteral("TWinReport1"), QStringLiteral("TWinReportLocais")};
    case Pasta::Instituicoes: return {QStringLiteral("TWinReportinstituicoes")};
    case Pasta::Equipe: return {QStringLiteral("TWinReportEquipe")};
    case Pasta::Resultados:
        return {QStringLiteral("TWinReportResultados"),  QStringLiteral("TwinReportResultados1"),
                QStringLiteral("TWinReportResultados2"), QStringLiteral("TWinReportResultados3"),
                QStringLiteral("TWinReportResultados4"), QStringLiteral("TWinReportResultados5"),
                QStringLiteral("TWinReportResultados6"), QStringLiteral("TWinReportResultados7"),
                QStringLiteral("TWinReportResultados8")};
    case Pasta::Apoios:
        return {QStringLiteral("TwinReportAtivAp"), QStringLiteral("TWinReportAtivAp1"), QStringLiteral("TWinReportAtivAp2"),
                QStringLiteral("TWinReportAtivAp3")};
    case Pasta::RecursosAdquiridos: return {QStringLiteral("TwinReportRecursos"), QStringLiteral("TWinReportRecursos1")};
    case Pasta::Orcamento: return {QStringLiteral("TWinReportOrcamento"), QStringLiteral("TWinReportOrcamento1")};
    case Pasta::Avaliacao:
        return {QStringLiteral("TWinReportAvaliacao"), QStringLiteral("TWinREportAvaliacao01"),
                QStringLiteral("TWinReportAvaliacao1")};
    }
    return {};
}

std::vector<std::unique_ptr<Relatorio>> CriaRelatorios(const QList<Pasta>& marcadas, store::Dados& dados)
{
    std::vector<std::unique_ptr<Relatorio>> r;
    r.push_back(CriaRelatorio(QStringLiteral("TWinReport"), dados));
    for (Pasta p : TodasAsPastas()) {
        if (!marcadas.contains(p))
            continue;
        for (const QString& nome : RelatoriosDaPasta(p))
            r.push_back(CriaRelatorio(nome, dados));
    }
    for (auto& rel : r)
        rel->pagina.setHeight(279.4);
    return r;
}

int Composto::imprime(QPagedPaintDevice& dispositivo)
{
    if (impressora::EhImpressora(dispositivo)) {
        impressora::Carregada().poeTrabalho(dispositivo, titulo, copias);
    } else if (auto* pdf = dynamic_cast<QPdfWriter*>(&dispositivo)) {
        pdf->setTitle(titulo);
    }
    TabelasIntactas intactas(store::dados());
    Impressao impressao(dispositivo);
    impressao.aoImprimirTexto = aoImprimirTexto;
    for (auto& r : relatorios) {
        if (r->incluir && !r->incluir())
            continue;
        r->imprime(impressao);
    }
    impressao.termina();
    return impressao.paginas();
}

QString TituloDoTrabalho() { return QFileInfo(app::Estado().ProjectFileName).fileName(); }

int GravaPdf(const QString& arquivo, const QList<Pasta>& pastas, store::Dados& dados)
{
    Composto composto;
    composto.relatorios = CriaRelatorios(pastas, dados);
    const QString nome = TituloDoTrabalho();
    if (!nome.isEmpty())
        composto.titulo = nome;
    QPdfWriter pdf(arquivo);
    pdf.setCreator(QStringLiteral("REZOZUR Eva-Rudo 1.3.1"));
    pdf.setResolution(600);
    const int paginas = composto.imprime(pdf);
    return paginas;
}

} // namespace reports
