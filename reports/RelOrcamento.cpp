// The budget plan: lines abroad, then lines in Brazil, with the sums of each group and of both.
#include "reports/Definicoes.h"

#include "edit/Formatacao.h"
#include "reports/Impressao.h"
#include "reports/Valor.h"

#include <array>

namespace reports::def {

namespace {

QString S(const char* s) { return QString::fromUtf8(s); }

const std::array<const char*, 3> Colunas{"VlContratado", "VlDesembolsado", "VlExecutado"};

struct Somas {
    std::array<Valor, 3> exterior, brasil;
};

// A stored amount as the report shows it: formatted when it is a number, as stored when it is not.
QString Mostra(const QString& v)
{
    return Valor::le(v) || v.trimmed().isEmpty() ? edit::FormataValorVirgula(v) : v;
}

// Three amount columns, right-aligned.
std::array<Item*, 3> Colunas3(Banda& b, double x0)
{
    std::array<Item*, 3> itens{};
    for (size_t i = 0; i < 3; ++i) {
        itens[i] = &b.rotulo(x0 + 28 * double(i), 26, QString());
        itens[i]->alinhamento = Alinhamento::Direita;
    }
    return itens;
}

} // namespace

std::unique_ptr<Relatorio> TWinReportOrcamento(store::Dados& dados)
{
    auto r = Novo(S("TWinReportOrcamento"), PaginaCarta, S("Recursos Financeiros / Orçamento"),
                  S("Planos de aplicação dos recursos financeiros"));
    // The page number of its last page sits in the last group footer; every other page has it in the
    // page footer, as the other reports do.
    RelatorioDaFamilia* rel = r.get();
    // (The page may close after the report has ended, when the next one begins: the run is kept.)
    struct PaginaDoTotal {
        Impressao* impressao = nullptr;
        int pagina = 0;
    };
    auto paginaDoTotal = std::make_shared<PaginaDoTotal>();
    r->rodapePagina()->antesDeImprimir = [paginaDoTotal](Banda&, bool& imprime) {
        const PaginaDoTotal& p = *paginaDoTotal;
        imprime = !p.impressao || p.impressao->numeroPagina() != p.pagina;
    };
    store::Table& t = dados.identificacao().tbPlanoAplic;
    auto somas = std::make_shared<Somas>();
    auto antes = r->antesDeImprimir;
    // The sums cover the whole plan, however many pages it takes.
    r->antesDeImprimir = [antes, somas, paginaDoTotal] {
        antes();
        *somas = Somas{};
        *paginaDoTotal = {};
    };
    r->defineMestre(nullptr);
    r->mestre.mestre = false;

    const Fonte negrito{8.5, true, false};
    for (const bool exterior : {true, false}) {
        Grupo& g = r->mestre.subdetalhe(t, {}, {}, exterior ? S("(Local = 'E')") : S("(Local = 'P')"));
        Banda& c = g.criaCabecalho();
        c.espacoAntes = 3;
        c.rotulo(0, 0, exterior ? S("Exterior") : S("Brasil"), Fonte{10, true, false});
        c.novaLinha(1);
        c.rotulo(0, 70, S("Item de dispêndio"), negrito);
        c.rotulo(72, 20, S("Local"), negrito);
        const char* titulos[] = {"Contratado", "Desembolsado", "Executado"};
        for (int i = 0; i < 3; ++i)
            c.rotulo(94 + 28 * i, 26, S(titulos[i]), Fonte{8, true, false}).alinhamento = Alinhamento::Direita;
        c.linha();

        Banda& d = g.criaDetalhe();
        d.campo(0, 70, t, S("ItemDispendio"));
        Item* local = &d.rotulo(72, 20, QString());
        const std::array<Item*, 3> valores = Colunas3(d, 94);
        d.antesDeImprimir = [&t, local, valores](Banda&, bool&) {
            local->texto = BrasilExterior(t.value(S("Local")));
            for (int i = 0; i < 3; ++i)
                valores[size_t(i)]->texto = Mostra(t.value(S(Colunas[size_t(i)])));
        };
        d.depoisDeImprimir = [&t, somas, exterior, rel](Banda&) {
            auto& alvo = exterior ? somas->exterior : somas->brasil;
            for (int i = 0; i < 3; ++i)
                alvo[size_t(i)].soma(t.value(S(Colunas[size_t(i)])));
            rel->cabecalhoPagina()->habilitada = true;
        };

        Banda& f = g.criaRodape();
        f.linha();
        f.rotulo(0, 92, exterior ? S("Total Exterior") : S("Total Brasil"), negrito);
        const std::array<Item*, 3> grupo = Colunas3(f, 94);
        std::array<Item*, 3> geral{};
        Item* pagina = nullptr;
        if (!exterior) {
            f.novaLinha(1);
            f.rotulo(0, 92, S("Total Geral"), negrito);
            geral = Colunas3(f, 94);
            f.novaLinha(3);
            pagina = &f.numeroPagina(0, 0, Fonte{8, false, false});
            pagina->texto = S("Página ");
            pagina->alinhamento = Alinhamento::Direita;
        }
        if (!exterior)
            f.depoisDeImprimir = [rel, paginaDoTotal](Banda&) {
                *paginaDoTotal = {rel->impressao(), rel->impressao()->numeroPagina()};
            };
        f.antesDeImprimir = [somas, exterior, grupo, geral](Banda&, bool&) {
            const auto& s = exterior ? somas->exterior : somas->brasil;
            for (size_t i = 0; i < 3; ++i) {
                grupo[i]->texto = edit::FormataValorVirgula(s[i].texto());
                if (geral[i]) {
                    Valor total = somas->exterior[i];
                    total.soma(somas->brasil[i]);
                    geral[i]->texto = edit::FormataValorVirgula(total.texto());
                }
            }
        };
    }
    return r;
}

} // namespace reports::def
