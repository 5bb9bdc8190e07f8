#include "store/RegistroEnvios.h"

#include "store/Catalogo.h"
#include "store/Table.h"

#include <algorithm>

#include <QStringList>

namespace store {

namespace {

const QByteArray Assinatura = QByteArrayLiteral("#REZOZUR envios 1");
const QString FormatoData = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

// A value never holds the separators: a tab or a line break inside it becomes a blank.
QString limpo(QString v)
{
    for (QChar& c : v)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return v;
}

QString linha(const QStringList& campos)
{
    QStringList r;
    for (const QString& c : campos)
        r << limpo(c);
    return r.join(QLatin1Char('\t')) + QLatin1Char('\n');
}

} // namespace

QByteArray RegistroEnvios::texto() const
{
    QString t = QString::fromLatin1(Assinatura) + QLatin1Char('\n');
    for (const PedidoEnviado& p : pedidos) {
        t += linha({QStringLiteral("P"), p.quando.toString(FormatoData), p.tabela, p.procedimento, p.situacao,
                    p.possivelmenteAplicado ? QStringLiteral("1") : QStringLiteral("0"),
                    p.liberado ? QStringLiteral("1") : QStringLiteral("0"), p.envio.toString(FormatoData)});
        for (const ItemEnviado& i : p.itens)
            t += linha({QStringLiteral("R"), i.status, i.chaveAntes, i.chaveDepois, i.resposta, i.significado});
    }
    return t.toUtf8();
}

bool RegistroEnvios::le(const QByteArray& bytes)
{
    pedidos.clear();
    ++m_revisao;
    const QStringList linhas = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (linhas.isEmpty() || linhas.first().trimmed().toLatin1() != Assinatura)
        return false;
    std::vector<PedidoEnviado> lidos;
    for (qsizetype n = 1; n < linhas.size(); ++n) {
        const QString& l = linhas[n];
        if (l.isEmpty())
            continue;
        const QStringList c = l.split(QLatin1Char('\t'));
        if (c.first() == QLatin1String("P") && c.size() >= 7) {
            PedidoEnviado p;
            p.quando = QDateTime::fromString(c[1], FormatoData);
            p.tabela = c[2];
            p.procedimento = c[3];
            p.situacao = c[4];
            p.possivelmenteAplicado = c[5] == QLatin1String("1");
            p.liberado = c[6] == QLatin1String("1");
            p.envio = c.size() > 7 ? QDateTime::fromString(c[7], FormatoData) : p.quando;
            lidos.push_back(std::move(p));
        } else if (c.first() == QLatin1String("R") && c.size() >= 6 && !lidos.empty()) {
            lidos.back().itens.push_back({c[1], c[2], c[3], c[4], c[5]});
        } else {
            return false;
        }
    }
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
