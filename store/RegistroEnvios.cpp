#include "store/RegistroEnvios.h"

#include "store/Catalogo.h"
#include "store/Table.h"

#include <algorithm>

#include <QStringList>

namespace store {

namespace {

const QByteArray Assinatura = QByteArrayLiteral("#REZOZUR envios 1");
const QString FormatoData = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

} // namespace

QString SemSeparadores(QString valor)
{
    for (QChar& c : valor)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return valor;
}

QString LinhaComTabs(const QStringList& campos)
{
    QStringList r;
    for (const QString& c : campos)
        r << SemSeparadores(c);
    return r.join(QLatin1Char('\t')) + QLatin1Char('\n');
}

QByteArray RegistroEnvios::texto() const
{
    QString t = QString::fromLatin1(Assinatura) + QLatin1Char('\n');
    for (const PedidoEnviado& p : pedidos) {
        t += LinhaComTabs({QStringLiteral("P"), p.quando.toString(FormatoData), p.tabela, p.procedimento, p.situacao,
                    p.possivelmenteAplicado ? QStringLiteral("1") : QStringLiteral("0"),
                    p.liberado ? QStringLiteral("1") : QStringLiteral("0"), p.envio.toString(FormatoData)});
        for (const ItemEnviado& i : p.itens)
            t += LinhaComTabs({QStringLiteral("R"), i.status, i.chaveAntes, i.chaveDepois, i.resposta, i.significado, i.nome});
    }
    return t.toUtf8();
}

namespace {

// A date and time as texto() writes them, read by hand: the general format parser costs tens of
// microseconds a value, which made a long log take most of a project's opening.
QDateTime DataDoRegistro(QStringView t)
{
    if (t.size() != 23 || t[4] != u'-' || t[7] != u'-' || t[10] != u'T' || t[13] != u':' || t[16] != u':' || t[19] != u'.')
        return {};
    int campos[7] = {};
    const int inicio[7] = {0, 5, 8, 11, 14, 17, 20};
    const int largura[7] = {4, 2, 2, 2, 2, 2, 3};
    for (int k = 0; k < 7; ++k)
        for (int i = 0; i < largura[k]; ++i) {
            const QChar c = t[inicio[k] + i];
            if (c < u'0' || c > u'9')
                return {};
            campos[k] = campos[k] * 10 + (c.unicode() - u'0');
        }
    const QDate dia(campos[0], campos[1], campos[2]);
    const QTime hora(campos[3], campos[4], campos[5], campos[6]);
    if (!dia.isValid() || !hora.isValid())
        return {};
    return QDateTime(dia, hora);
}

qsizetype LinhasDoTexto(const PedidoEnviado& p, qsizetype& bytes)
{
    // What texto() writes for the request: its fields, the dates and the separators.
    bytes += 64 + p.tabela.size() + p.procedimento.size() + p.situacao.size();
    for (const ItemEnviado& i : p.itens)
        bytes += 8 + i.status.size() + i.chaveAntes.size() + i.chaveDepois.size() + i.resposta.size() + i.significado.size()
                 + i.nome.size();
    return 1 + qsizetype(p.itens.size());
}

} // namespace

bool RegistroEnvios::CabeNoLimite(const QByteArray& texto)
{
    return texto.size() <= LimiteDeBytes && texto.count('\n') <= LimiteDeLinhas + 1;
}

void RegistroEnvios::aparaAoLimite()
{
    // Characters stand for bytes here: the fields are mostly ASCII, and the reader's limit is kept
    // with room to spare.
    std::vector<std::pair<qsizetype, qsizetype>> custo(pedidos.size());
    qsizetype linhas = 1, bytes = 32;
    for (size_t i = 0; i < pedidos.size(); ++i) {
        qsizetype b = 0;
        custo[i] = {LinhasDoTexto(pedidos[i], b), b};
        linhas += custo[i].first;
        bytes += b;
    }
    auto excede = [&] { return linhas > LimiteDeLinhas || bytes * 3 / 2 > LimiteDeBytes; };
    if (!excede())
        return;
    // The last send stays whole as long as it can; before it, the oldest requests go first, those
    // still marked as possibly applied only when nothing else is left.
    std::vector<char> sai(pedidos.size(), 0);
    auto tira = [&](size_t i) {
        sai[i] = 1;
        linhas -= custo[i].first;
        bytes -= custo[i].second;
    };
    const QDateTime ultimo = pedidos.back().envio;
    for (bool marcados : {false, true})
        for (size_t i = 0; i < pedidos.size() && excede() && pedidos[i].envio != ultimo; ++i)
            if (!sai[i] && (marcados || !pedidos[i].possivelmenteAplicado || pedidos[i].liberado))
                tira(i);
    for (size_t i = 0; i + 1 < pedidos.size() && excede(); ++i)
        if (!sai[i])
            tira(i);
    size_t j = 0;
    for (size_t i = 0; i < pedidos.size(); ++i) {
        if (sai[i])
            continue;
        if (i != j)
            pedidos[j] = std::move(pedidos[i]);
        ++j;
    }
    pedidos.resize(j);
    ++m_revisao;
}

bool RegistroEnvios::le(const QByteArray& bytes)
{
    pedidos.clear();
    ++m_revisao;
    if (!CabeNoLimite(bytes))
        return false;
    const QString texto = QString::fromUtf8(bytes);
    const QStringView todo(texto);
    std::vector<PedidoEnviado> lidos;
    qsizetype inicio = 0;
    bool primeira = true;
    while (inicio <= todo.size()) {
        qsizetype fim = todo.indexOf(u'\n', inicio);
        if (fim < 0)
            fim = todo.size();
        const QStringView l = todo.mid(inicio, fim - inicio);
        inicio = fim + 1;
        if (primeira) {
            if (l.trimmed().toLatin1() != Assinatura)
                return false;
            primeira = false;
            continue;
        }
        if (l.isEmpty())
            continue;
        const QList<QStringView> c = l.split(u'\t');
        if (c.first() == u"P" && c.size() >= 7) {
            PedidoEnviado p;
            p.quando = DataDoRegistro(c[1]);
            p.tabela = c[2].toString();
            p.procedimento = c[3].toString();
            p.situacao = c[4].toString();
            p.possivelmenteAplicado = c[5] == u"1";
            p.liberado = c[6] == u"1";
            p.envio = c.size() > 7 ? DataDoRegistro(c[7]) : p.quando;
            lidos.push_back(std::move(p));
        } else if (c.first() == u"R" && c.size() >= 6 && !lidos.empty()) {
            lidos.back().itens.push_back({c[1].toString(), c[2].toString(), c[3].toString(), c[4].toString(),
                                          c[5].toString(), c.size() > 6 ? c[6].toString() : QString()});
        } else {
            return false;
        }
    }
    if (primeira)
        return false;
    pedidos = std::move(lidos);
    return true;
}

std::vector<const PedidoEnviado*> RegistroEnvios::ultimoEnvio() const
{
    std::vector<const PedidoEnviado*> r;
    if (pedidos.empty())
        return r;
    const QDateTime ultimo = pedidos.back().envio;
    for (const PedidoEnviado& p : pedidos)
        if (p.envio == ultimo)
            r.push_back(&p);
    return r;
}

std::vector<LinhaDoHistorico> LinhasDoHistorico(const RegistroEnvios& registro, const QString& tabela,
                                                bool soRecusados)
{
    std::vector<LinhaDoHistorico> r;
    for (auto p = registro.pedidos.rbegin(); p != registro.pedidos.rend(); ++p) {
        if (!tabela.isEmpty() && p->tabela != tabela)
            continue;
        for (const ItemEnviado& i : p->itens)
            if (!soRecusados || i.recusado())
                r.push_back({&*p, &i});
    }
    return r;
}

QString ChaveDoRegistro(const Table& t, quint64 linha)
{
    const int tag = t.tag();
    if (tag >= 0 && tag < NumSlots && !SlotVazio(tag) && !TableKeyFields[size_t(tag)].isEmpty()) {
        const int col = t.fieldIndex(TableKeyFields[size_t(tag)]);
        if (col >= 0)
            return t.rowValue(linha, col).trimmed();
    }
    QStringList partes;
    for (int i = 1; i < std::min(3, t.fieldCount()); ++i)
        partes << t.rowValue(linha, i).trimmed();
    return partes.join(QStringLiteral(" / "));
}

QString NomeDoRegistro(const Table& t, quint64 linha)
{
    // The columns each page's grid names its rows by.
    static const std::vector<std::pair<const char*, std::vector<const char*>>> colunas = {
        {"tbProjeto", {"Titulo"}},
        {"tbInstituicao", {"Nome"}},
        {"tbMembro", {"Nome"}},
        {"tbLocaisPesquisa", {"Nome_Inst"}},
        {"tbEstudo", {"Titulo"}},
        {"tbPublicacao", {"Titulo"}},
        {"tbObrasEditadas", {"Titulo"}},
        {"tbProdTec", {"NomeProd"}},
        {"tbSoftware", {"Nome"}},
        {"tbEventosApoiados", {"Nome"}},
        {"tbBolsa", {"NomeBolsista", "Modalidade"}},
        {"tbCapacit", {"TipodeCapacitacao", "DataFim"}},
        {"tbQualidade", {"Nome_InstCliente"}},
        {"tbLaboratorio", {"NomeLab"}},
        {"tbServico", {"TipoServico"}},
        {"tbCursos", {"Nome"}},
        {"tbBase", {"Identificacao"}},
        {"tbMaterialAdquirido", {"TipoMaterial", "AnoAquisicao"}},
        {"tbEquipamentos", {"TipoEquip", "ValorAtual"}},
        {"tbPlanoAplic", {"ItemDispendio"}},
        {"tbOutrasFontes", {"NomeInst", "TipoFonte"}},
        {"tbProblemas", {"Repercussao", "DataOcorrenc"}},
        {"tbAnalisQualitativa", {"Descricao"}},
        {"tbComentariosGerais", {"Descricao"}},
    };
    QStringList partes;
    for (const auto& [tabela, nomes] : colunas) {
        if (t.name().compare(QLatin1String(tabela), Qt::CaseInsensitive) != 0)
            continue;
        for (const char* nome : nomes) {
            const int col = t.fieldIndex(QLatin1String(nome));
            const QString v = col >= 0 ? t.rowValue(linha, col).simplified() : QString();
            if (!v.isEmpty())
                partes << (v.size() > 80 ? v.left(77) + QStringLiteral("...") : v);
        }
        break;
    }
    return partes.isEmpty() ? ChaveDoRegistro(t, linha) : partes.join(QStringLiteral(" - "));
}

QString TituloDaTabela(const QString& tabela)
{
    const QString arquivo = tabela + QStringLiteral(".cof");
    for (int slot = 0; slot < NumSlots; ++slot)
        if (!SlotVazio(slot) && TableFiles[size_t(slot)].compare(arquivo, Qt::CaseInsensitive) == 0)
            return TableTitles[size_t(slot)];
    return tabela;
}

RegistroEnvios& Envios()
{
    static RegistroEnvios r;
    return r;
}

} // namespace store
