#include "cli/InteracaoCli.h"

#include "cli/Comando.h"

#include <QCoreApplication>

#include <cstdio>

namespace cli {

namespace {

void Erro(const QString& texto)
{
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QByteArray b = ParaTerminal(t, true).toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

QString NomeDaResposta(app::Resposta r)
{
    switch (r) {
    case app::Resposta::Ok: return QStringLiteral("OK");
    case app::Resposta::Sim: return QStringLiteral("Sim");
    case app::Resposta::Nao: return QStringLiteral("Não");
    case app::Resposta::Cancelar: return QStringLiteral("Cancelar");
    }
    return QString();
}

} // namespace

InteracaoCli::InteracaoCli() { m_anterior = app::instalaInteracao(this); }

InteracaoCli::~InteracaoCli() { app::instalaInteracao(m_anterior); }

app::Resposta InteracaoCli::mensagem(const QString& texto, app::Icone, app::Botoes botoes, const QString& titulo)
{
    if (titulo != app::TituloProduto)
        Erro(QStringLiteral("[") + titulo + QStringLiteral("]"));
    Erro(texto);
    app::Resposta r = app::Resposta::Ok;
    switch (botoes) {
    case app::Botoes::Ok:
        return r;
    case app::Botoes::OkCancelar:
        r = m_temResposta && (m_resposta == app::Resposta::Sim || m_resposta == app::Resposta::Ok)
                ? app::Resposta::Ok
                : app::Resposta::Cancelar;
        break;
    case app::Botoes::SimNao:
    case app::Botoes::RecuperarDescartar:
        r = m_temResposta && m_resposta == app::Resposta::Sim ? app::Resposta::Sim : app::Resposta::Nao;
        break;
    case app::Botoes::SimNaoCancelar:
        r = m_temResposta ? m_resposta : app::Resposta::Cancelar;
        break;
    }
    Erro(QStringLiteral("-> ") + NomeDaResposta(r));
    return r;
}

void InteracaoCli::abreEspera(const QString& texto)
{
    m_aberta = true;
    if (m_detalhado)
        Erro(texto);
}

void InteracaoCli::textoEspera(const QString& texto)
{
    if (m_detalhado)
        Erro(texto);
}

void InteracaoCli::processaEventos()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace cli
