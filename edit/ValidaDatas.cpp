#include "edit/ValidaDatas.h"

#include "core/Interacao.h"
#include "store/Dados.h"

#include <QDate>
#include <QStringList>

namespace edit {

namespace {

struct DataInvalida {};

const QDate InicioFaixa(1990, 1, 1);
const QDate FimAssinatura(1997, 12, 31);
const QDate FimFinais(2010, 12, 31);

const QString MsgDataInvalida = QStringLiteral("Data inválida.");
const QString MsgAssinatura =
    QStringLiteral("Data de assinatura do contrato precisa estar entre 01/01/1990 e 31/12/1997.");
const QString MsgAntesAssinatura = QStringLiteral("Data precisa ser maior que a Data de Assinatura do Projeto.");
const QString MsgFinais = QStringLiteral("Datas Finais precisam estar entre 01/01/1990 e 31/12/2010.");
const QString MsgInicio = QStringLiteral("Datas de início precisam estar entre 01/01/1990 e 31/12/1997.");

// "d/m/yyyy" with blanks around the parts allowed; anything else is a conversion failure.
QDate converte(const QString& texto)
{
    // Read in place: the import of publications runs this for every entry of a file.
    const QStringView t = QStringView(texto).trimmed();
    int valores[3];
    qsizetype inicio = 0;
    for (int i = 0; i < 3; ++i) {
        const qsizetype barra = i < 2 ? t.indexOf(QLatin1Char('/'), inicio) : t.size();
        if (barra < 0 || (i == 2 && t.indexOf(QLatin1Char('/'), inicio) >= 0))
            throw DataInvalida{};
        const QStringView p = t.mid(inicio, barra - inicio).trimmed();
        bool ok = !p.isEmpty();
        for (const QChar c : p)
            ok = ok && c.isDigit() && c.unicode() < 128;
        valores[i] = ok ? p.toInt(&ok) : 0;
        if (!ok)
            throw DataInvalida{};
        inicio = barra + 1;
    }
    const QDate data(valores[2], valores[1], valores[0]);
    if (!data.isValid())
        throw DataInvalida{};
    return data;
}

bool dentro(const QDate& d, const QDate& de, const QDate& ate) { return d >= de && d <= ate; }

using Motivo = std::optional<MotivoRecusa>;

Motivo recusa(const QString& texto, app::Icone icone = app::Icone::Informacao)
{
    return MotivoRecusa{texto, icone};
}

// The checks below give their reason; the public ones show it.
bool mostra(const Motivo& motivo)
{
    if (motivo)
        app::Mensagem(motivo->texto, motivo->icone);
    return !motivo;
}

Motivo motivoAssinatura(const QString& assinatura, const QString& data);

bool vazia(const QString& texto, const QString& mascara) { return texto.isEmpty() || texto == mascara; }

// Completes the year after the separator at `posicao` (the text is trimmed first).
QString completa(const QString& texto, const QString& mascara, int barras)
{
    if (texto.isEmpty() || texto == mascara)
        return texto;
    const QString t = texto.trimmed();
    int corte = -1;
    for (int n = 0; n < barras; ++n) {
        corte = t.indexOf(QLatin1Char('/'), corte + 1);
        if (corte < 0)
            return t;
    }
    const QString inicio = t.left(corte);
    QString ano = t.mid(corte + 1).trimmed();
    switch (ano.size()) {
    case 1: ano.prepend(QStringLiteral("199")); break;
    case 2: ano.prepend(QStringLiteral("19")); break;
    case 3: ano.prepend(QStringLiteral("1")); break;
    default: break;
    }
    return inicio + QLatin1Char('/') + ano;
}

// The last day of a "mm/yyyy" month, as a date text.
QString ultimoDia(const QString& mes)
{
    for (const char* dia : {"31/", "30/", "29/", "28/"}) {
        const QString texto = QString::fromLatin1(dia) + mes.trimmed();
        try {
            converte(texto);
            return texto;
        } catch (const DataInvalida&) {
        }
    }
    throw DataInvalida{};
}

// The two-date rule shared by dates and periods; the texts are already full dates.
Motivo validaIntervalo(const QString& assinatura, const QString& d1, const QString& d2, bool semFim,
                       const QString& msgFimAntes)
{
    if (semFim) {
        if (Motivo m = motivoAssinatura(assinatura, d1))
            return m;
        if (!dentro(converte(d1), InicioFaixa, FimAssinatura))
            return recusa(MsgInicio);
        return {};
    }
    if (Motivo m = motivoAssinatura(assinatura, d1))
        return m;
    if (Motivo m = motivoAssinatura(assinatura, d2))
        return m;
    const QDate inicio = converte(d1);
    const QDate fim = converte(d2);
    if (fim < inicio)
        return recusa(msgFimAntes, app::Icone::Erro);
    if (!dentro(inicio, InicioFaixa, FimAssinatura))
        return recusa(MsgInicio);
    if (!dentro(fim, InicioFaixa, FimFinais))
        return recusa(MsgFinais);
    return {};
}

Motivo motivoAssinatura(const QString& assinatura, const QString& data)
{
    // A project without a signature date (empty field, or the empty mask) has nothing to compare with.
    if (assinatura == DataVazia || assinatura.trimmed().isEmpty())
        return {};
    try {
        if (vazia(data, DataVazia)) {
            if (!dentro(converte(assinatura), InicioFaixa, FimAssinatura))
                return recusa(MsgAssinatura);
            return {};
        }
        const QDate s = converte(assinatura);
        const QDate t = converte(data);
        if (t < s)
            return recusa(MsgAntesAssinatura);
        if (!dentro(s, InicioFaixa, FimAssinatura))
            return recusa(MsgAssinatura);
        if (!dentro(t, InicioFaixa, FimFinais))
            return recusa(MsgFinais);
        return {};
    } catch (const DataInvalida&) {
        return recusa(MsgDataInvalida, app::Icone::Erro);
    }
}

} // namespace

bool ContemAspas(const QString& texto) { return texto.contains(QLatin1Char('\'')); }

QString CompletaAno(const QString& data) { return completa(data, DataVazia, 2); }

QString CompletaAnoMes(const QString& mes) { return completa(mes, MesVazio, 1); }

QString DataAssinaturaDoProjeto()
{
    if (!store::dadosCriados())
        return QString();
    store::Table& projeto = store::DataIdentificacao().tbProjeto;
    if (!projeto.active() || projeto.bookmark() == 0)
        return QString();
    return projeto.value(QStringLiteral("DataAssinat"));
}

bool ValidaDataAssinatura(const QString& assinatura, const QString& data)
{
    return mostra(motivoAssinatura(assinatura, data));
}

bool ValidaDatas(QString& inicio, QString& fim)
{
    if (inicio == DataVazia || inicio.isEmpty())
        return true;
    return mostra(MotivoDatas(inicio, fim, DataAssinaturaDoProjeto()));
}

std::optional<MotivoRecusa> MotivoDatas(QString& inicio, QString& fim, const QString& assinatura)
{
    if (inicio == DataVazia || inicio.isEmpty())
        return {};
    inicio = CompletaAno(inicio);
    fim = CompletaAno(fim);
    try {
        return validaIntervalo(assinatura, inicio, fim, vazia(fim, DataVazia),
                               QStringLiteral("Data final precisa ser maior que data inicial."));
    } catch (const DataInvalida&) {
        return recusa(MsgDataInvalida, app::Icone::Erro);
    }
}

bool ValidaPeriodo(QString& inicio, QString& fim)
{
    if (inicio == MesVazio || inicio.isEmpty())
        return true;
    inicio = CompletaAnoMes(inicio);
    fim = CompletaAnoMes(fim);
    const QString assinatura = DataAssinaturaDoProjeto();
    try {
        const bool semFim = vazia(fim, MesVazio);
        const QString d1 = ultimoDia(inicio);
        const QString d2 = semFim ? QString() : ultimoDia(fim);
        return mostra(validaIntervalo(assinatura, d1, d2, semFim,
                                      QStringLiteral("Data final não poder ser menor que data inicial.")));
    } catch (const DataInvalida&) {
        return mostra(recusa(QStringLiteral("Alguma Data é inválida."), app::Icone::Erro));
    }
}

} // namespace edit

