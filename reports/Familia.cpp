#include "reports/Familia.h"

#include "core/ArquivosDeConfiguracao.h"
#include "reports/Impressao.h"

#include <QHash>
#include <QSettings>

#include <optional>

namespace reports {

RelatorioDaFamilia::RelatorioDaFamilia(const QString& nome, QSizeF tamanho) : Relatorio(nome)
{
    pagina = tamanho;
    antesDeImprimir = [this] {
        if (cabecalhoPagina())
            cabecalhoPagina()->habilitada = false;
        contador = 0;
        algumImpresso = false;
        tituloNaPagina = false;
    };
    inicioDePagina = [this] {
        contador = 0;
        tituloNaPagina = false;
    };
}

Banda& RelatorioDaFamilia::titulo(const QString& pasta, const QString& secao)
{
    Banda& b = criaTitulo();
    b.rotulo(0, 0, ProdutoKesta, Fonte{10, true, false}).alinhamento = Alinhamento::Direita;
    b.novaLinha(0.5);
    b.rotulo(0, 0, pasta.isEmpty() ? secao : pasta, Fonte{15, true, false}).umaLinha = true;
    if (!pasta.isEmpty()) {
        b.novaLinha(1.5);
        b.rotulo(0, 0, secao, Fonte{12, true, false}).umaLinha = true;
    }
    b.novaLinha(1);
    b.linha();
    b.espacoDepois = 3;
    b.antesDeImprimir = [this](Banda&, bool&) {
        if (impressao() && !impressao()->paginaLimpa())
            novaPagina();
    };
    b.depoisDeImprimir = [this](Banda&) { tituloNaPagina = true; };
    return b;
}

Banda& RelatorioDaFamilia::cabecalho(const QString& secao)
{
    Banda& b = criaCabecalhoPagina();
    b.rotulo(0, 40, ProdutoKesta, Fonte{10, true, false});
    Item& s = b.rotulo(40, 0, secao, Fonte{10, true, false});
    s.alinhamento = Alinhamento::Direita;
    s.umaLinha = true;
    b.linha();
    b.espacoDepois = 2;
    return b;
}

Banda& RelatorioDaFamilia::rodape()
{
    Banda& b = criaRodapePagina();
    b.linha();
    Item& n = b.numeroPagina(0, 0, Fonte{8, false, false});
    n.texto = QStringLiteral("Página ");
    n.alinhamento = Alinhamento::Direita;
    return b;
}

Banda& RelatorioDaFamilia::detalhe(store::Table& tabela, Quebra quebra, int porPagina)
{
    defineMestre(&tabela);
    Banda& b = mestre.criaDetalhe();
    b.antesDeImprimir = [this, quebra, porPagina](Banda&, bool&) {
        switch (quebra) {
        case Quebra::Seguidos: break;
        case Quebra::PorRegistro:
            if (algumImpresso)
                novaPagina();
            break;
        case Quebra::SeOcupada:
            // The first record stays under its own title rather than leaving it alone on a page.
            if (!impressao()->paginaLimpa() && !(tituloNaPagina && !algumImpresso))
                novaPagina();
            break;
        case Quebra::Maximo:
            if (++contador > porPagina) {
                novaPagina();
                contador = 1;
            }
            break;
        }
        algumImpresso = true;
        // A record that runs on to further pages has the section's header on them.
        if (cabecalhoPagina())
            cabecalhoPagina()->habilitada = true;
    };
    b.depoisDeImprimir = [this](Banda&) {
        if (cabecalhoPagina())
            cabecalhoPagina()->habilitada = true;
    };
    b.espacoDepois = 2;
    return b;
}

QString Traduz(const QString& codigo, const QMap<QString, QString>& textos)
{
    const auto it = textos.constFind(codigo);
    return it == textos.constEnd() ? codigo : it.value();
}

QString SimNao(const QString& codigo)
{
    return Traduz(codigo, {{QStringLiteral("S"), QStringLiteral("Sim")}, {QStringLiteral("N"), QStringLiteral("Não")}});
}

QString BrasilExterior(const QString& codigo)
{
    return Traduz(codigo,
                  {{QStringLiteral("P"), QStringLiteral("Brasil")}, {QStringLiteral("E"), QStringLiteral("Exterior")}});
}

void AntesDeImprimir(Banda& banda, std::function<void(Banda&, bool&)> evento)
{
    auto anterior = std::move(banda.antesDeImprimir);
    banda.antesDeImprimir = [anterior, evento](Banda& b, bool& imprime) {
        if (anterior)
            anterior(b, imprime);
        if (imprime)
            evento(b, imprime);
    };
}

void DepoisDeImprimir(Banda& banda, std::function<void(Banda&)> evento)
{
    auto anterior = std::move(banda.depoisDeImprimir);
    banda.depoisDeImprimir = [anterior, evento](Banda& b) {
        if (anterior)
            anterior(b);
        evento(b);
    };
}

Item& ParCalculado(Banda& banda, const QString& rotulo, std::function<QString()> valor)
{
    Item& item = banda.parTexto(rotulo);
    Item* p = &item;
    AntesDeImprimir(banda, [p, valor](Banda&, bool&) { p->texto = valor(); });
    return item;
}

Item& ParBusca(Banda& banda, const QString& rotulo, store::Table& alvo, const QString& campoCodigo,
               store::Table& origem, const QString& campoOrigem, const QString& campoResultado)
{
    origem.fieldIndexOrThrow(campoOrigem);
    const int codigo = alvo.fieldIndexOrThrow(campoCodigo);
    const int resultado = alvo.fieldIndexOrThrow(campoResultado);
    // The program's look-up takes the first row of the code among the unchanged rows (N), then the
    // changed (A), then the new (I). Printing changes no row, so the answers of a whole report are
    // gathered in one pass instead of one index per record.
    auto nomes = std::make_shared<std::optional<QHash<QString, QString>>>();
    return ParCalculado(banda, rotulo, [&alvo, codigo, resultado, &origem, campoOrigem, nomes] {
        if (!*nomes) {
            QHash<QString, QString> r;
            QHash<QString, int> ordem;
            const int status = alvo.fieldIndexOrThrow(QStringLiteral("Status"));
            const QString indice = alvo.indexName();
            const bool filtrada = alvo.filtered();
            const store::Table::Bookmark linha = alvo.bookmark();
            alvo.setFiltered(false);
            alvo.setIndexName(QString());
            for (store::Table::Bookmark b : alvo.visibleRows()) {
                const QString s = alvo.rowValue(b, status);
                const int o = s == QLatin1String("N") ? 0 : s == QLatin1String("A") ? 1 : s == QLatin1String("I") ? 2 : -1;
                if (o < 0)
                    continue;
                const QString c = alvo.rowValue(b, codigo);
                const auto it = ordem.constFind(c);
                if (it == ordem.constEnd() || o < it.value()) {
                    ordem.insert(c, o);
                    r.insert(c, alvo.rowValue(b, resultado));
                }
            }
            alvo.setIndexName(indice);
            alvo.setFiltered(filtrada);
            if (linha != 0)
                alvo.gotoBookmark(linha);
            *nomes = std::move(r);
        }
        return (*nomes)->value(origem.value(campoOrigem));
    });
}

void CabecalhoDeLista(Grupo& grupo, const QString& texto)
{
    Banda& c = grupo.criaCabecalho();
    c.espacoAntes = 2;
    c.rotulo(0, 0, texto, Fonte{9.5, true, true});
    // No heading over an empty list, even where the group's footer prints.
    Grupo* g = &grupo;
    c.antesDeImprimir = [g](Banda&, bool& imprime) { imprime = !g->linhas.empty(); };
}

void Pares(Banda& banda, store::Table& tabela, std::initializer_list<Rotulado> pares)
{
    for (const Rotulado& p : pares)
        banda.par(QString::fromUtf8(p.rotulo), tabela, QString::fromUtf8(p.campo));
}

Banda& Memorando(RelatorioDaFamilia& relatorio, Banda& pai, const QString& titulo, store::Table& tabela,
                 const QString& campo, int limite)
{
    tabela.fieldIndexOrThrow(campo);
    Banda& m = pai.filho();
    m.espacoAntes = 2;
    m.rotulo(0, 0, titulo, Fonte{9, true, false});
    m.novaLinha(0.5);
    m.campo(0, 0, tabela, campo);
    if (limite > 0) {
        RelatorioDaFamilia* r = &relatorio;
        m.antesDeImprimir = [r, &tabela, campo, limite](Banda&, bool&) {
            if (tabela.value(campo).size() > limite)
                r->novaPagina();
        };
    }
    return m;
}

void RodapeComLinha(Grupo& grupo)
{
    grupo.imprimeSeVazio = true;  // the line separates records whether or not the list has rows
    grupo.criaRodape().linha();
}

QString NomeCompletoDoPrograma()
{
    // The variable, when set, is the name, even an empty one.
    if (qEnvironmentVariableIsSet("REZOZUR_NOME_DO_PROGRAMA"))
        return qEnvironmentVariable("REZOZUR_NOME_DO_PROGRAMA").trimmed();
    QString nome;
    for (const QString& arquivo : app::ArquivosDeConfiguracao()) {
        const QString n = QSettings(arquivo, QSettings::IniFormat).value(QStringLiteral("relatorio/nomeDoPrograma")).toString().trimmed();
        if (!n.isEmpty())
            nome = n;
    }
    return nome;
}

} // namespace reports
