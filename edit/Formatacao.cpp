#include "edit/Formatacao.h"

#include "edit/TabelaAux.h"

#include "store/Table.h"

#include <QStringList>

#include <utility>

namespace edit {

namespace {

QString formata(const QString& valor, QChar separador)
{
    const QString texto = valor.trimmed();
    const int ponto = texto.indexOf(QLatin1Char('.'));
    QString inteira = (ponto < 0 ? texto : texto.left(ponto)).trimmed();
    if (inteira.isEmpty())
        inteira = QStringLiteral("0");
    const int largura = int(valor.size()) - 3;
    if (inteira.size() < largura)
        inteira.prepend(QString(largura - inteira.size(), QLatin1Char(' ')));
    if (ponto < 0 || ponto == texto.size() - 1)
        return inteira + separador + QStringLiteral("00");
    QString cauda = separador + texto.mid(ponto + 1).trimmed();
    if (cauda.size() < 3)
        cauda.append(QString(3 - cauda.size(), QLatin1Char(' ')));
    return inteira + cauda;
}

const std::pair<const char*, QStringList>* regioes(int& n)
{
    static const std::pair<const char*, QStringList> tabela[] = {
        {"NORTE", {QStringLiteral("TO"), QStringLiteral("RR"), QStringLiteral("AP"), QStringLiteral("AM"),
                   QStringLiteral("PA"), QStringLiteral("AC"), QStringLiteral("RO")}},
        {"NORDESTE", {QStringLiteral("MA"), QStringLiteral("PI"), QStringLiteral("CE"), QStringLiteral("RN"),
                      QStringLiteral("PB"), QStringLiteral("PE"), QStringLiteral("AL"), QStringLiteral("SE"),
                      QStringLiteral("BA")}},
        {"CENTRO-OESTE", {QStringLiteral("MT"), QStringLiteral("MS"), QStringLiteral("GO"), QStringLiteral("DF")}},
        {"SUDESTE", {QStringLiteral("MG"), QStringLiteral("ES"), QStringLiteral("RJ"), QStringLiteral("SP")}},
        {"SUL", {QStringLiteral("PR"), QStringLiteral("SC"), QStringLiteral("RS")}},
    };
    n = int(std::size(tabela));
    return tabela;
}

} // namespace

QString FormataValor(const QString& valor) { return formata(valor, QLatin1Char('.')); }

QString FormataValorVirgula(const QString& valor) { return formata(valor, QLatin1Char(',')); }

bool RegiaoConfere(const QString& estado, const QString& regiao)
{
    if (regiao.trimmed().isEmpty() || estado.trimmed().isEmpty())
        return true;
    int n = 0;
    const auto* tabela = regioes(n);
    for (int i = 0; i < n; ++i)
        if (regiao == QLatin1String(tabela[i].first))
            return tabela[i].second.contains(estado);
    return true;
}

QString RegiaoDoEstado(const QString& estado)
{
    const QString uf = estado.trimmed();
    int n = 0;
    const auto* tabela = regioes(n);
    for (int i = 0; i < n; ++i)
        if (tabela[i].second.contains(uf))
            return QString::fromLatin1(tabela[i].first);
    return QString();
}

QString BuscaTexto(store::Table& tabela, const QString& campoCodigo, const QString& codigo,
                   const QString& campoResultado, const QString& seNaoAchar)
{
    const QString indice = QStringLiteral("IndiceNovo");
    // Reports call this while walking other tables; this table's order and row are given back too.
    aux::modoNavegacao(tabela);
    const QString indiceAnterior = tabela.indexName();
    const store::Table::Bookmark marca = tabela.bookmark();
    const auto restaura = [&] {
        aux::removeIndice(tabela, indice);
        aux::selecionaIndice(tabela, indiceAnterior);
        tabela.setFiltered(true);
        if (marca != 0)
            tabela.gotoBookmark(marca);
    };

    QString resultado = seNaoAchar;
    tabela.setFiltered(false);
    try {
        aux::criaIndice(tabela, indice, campoCodigo + QStringLiteral(";Status"));
        for (const char* letra : {"N", "A", "I"}) {
            if (tabela.findKey({codigo, QString::fromLatin1(letra)})) {
                resultado = tabela.value(campoResultado);
                break;
            }
        }
    } catch (...) {
        restaura();
        throw;
    }
    restaura();
    return resultado;
}

} // namespace edit
