#include "edit/DatasAtividade.h"

#include "edit/ValidaDatas.h"

#include "core/Interacao.h"

#include <QDate>
#include <QStringList>

namespace edit {

namespace {

struct DataInvalida {};

const QDate InicioFaixa(1990, 1, 1);
const QDate FimInicios(1997, 12, 31);
const QDate FimFinais(2010, 12, 31);

const QString MsgFimAntes = QStringLiteral("Data final precisa ser maior que data inicial.");
const QString MsgFimFaixa = QStringLiteral("Data de Fim precisa estar entre 01/01/1990 e 31/12/2010.");

QDate converte(const QString& texto)
{
    const QStringList partes = texto.trimmed().split(QLatin1Char('/'));
    if (partes.size() != 3)
        throw DataInvalida{};
    int v[3];
    for (int i = 0; i < 3; ++i) {
        const QString p = partes[i].trimmed();
        bool ok = !p.isEmpty();
        for (const QChar c : p)
            ok = ok && c.isDigit() && c.unicode() < 128;
        v[i] = ok ? p.toInt(&ok) : 0;
        if (!ok)
            throw DataInvalida{};
    }
    const QDate d(v[2], v[1], v[0]);
    if (!d.isValid())
        throw DataInvalida{};
    return d;
}

bool dentro(const QDate& d, const QDate& de, const QDate& ate) { return d >= de && d <= ate; }

DataRecusada recusa(const QString& texto, DataRecusada campo, app::Icone icone = app::Icone::Informacao)
{
    app::Mensagem(texto, icone);
    return campo;
}

// End before start, start range, end range; a conversion failure is "Data inválida.".
DataRecusada ordemEFaixas(const QString& inicio, const QString& fim, const QString& msgInicioFaixa)
{
    try {
        const QDate i = converte(inicio);
        const QDate f = converte(fim);
        if (f < i)
            return recusa(MsgFimAntes, DataRecusada::Fim);
        if (!dentro(i, InicioFaixa, FimInicios))
            return recusa(msgInicioFaixa, DataRecusada::Inicio);
        if (!dentro(f, InicioFaixa, FimFinais))
            return recusa(MsgFimFaixa, DataRecusada::Fim);
    } catch (const DataInvalida&) {
        return recusa(QStringLiteral("Data inválida."), DataRecusada::Inicio, app::Icone::Erro);
    }
    return DataRecusada::Nenhuma;
}

} // namespace

bool DataVaziaOuEmBranco(const QString& data) { return data == DataVazia || data.trimmed().isEmpty(); }

DataRecusada ValidaPeriodoEvento(const QString& inicio, const QString& fim)
{
    if (DataVaziaOuEmBranco(inicio))
        return recusa(QStringLiteral("Data de Início é obrigatória."), DataRecusada::Inicio);
    if (DataVaziaOuEmBranco(fim))
        return recusa(QStringLiteral("Data de Fim é obrigatória."), DataRecusada::Fim);
    const QString assinatura = DataAssinaturaDoProjeto();
    if (!ValidaDataAssinatura(assinatura, inicio))
        return DataRecusada::Inicio;
    if (!ValidaDataAssinatura(assinatura, fim))
        return DataRecusada::Fim;
    return ordemEFaixas(inicio, fim, QStringLiteral("Data de início precisam estar entre 01/01/1990 e 31/12/1997."));
}

DataRecusada ValidaPeriodoCapacitacao(const QString& inicio, const QString& fim)
{
    if (DataVaziaOuEmBranco(inicio))
        return recusa(QStringLiteral("Data de Início é obrigatória."), DataRecusada::Inicio);
    if (!DataVaziaOuEmBranco(fim)) {
        const DataRecusada r =
            ordemEFaixas(inicio, fim, QStringLiteral("Data de início precisa estar entre 01/01/1990 e 31/12/1997."));
        if (r != DataRecusada::Nenhuma)
            return r;
    }
    if (!ValidaDataAssinatura(DataAssinaturaDoProjeto(), inicio))
        return DataRecusada::Inicio;
    return DataRecusada::Nenhuma;
}

} // namespace edit
