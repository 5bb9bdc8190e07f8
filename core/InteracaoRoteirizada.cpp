#include "core/InteracaoRoteirizada.h"

#include <QCoreApplication>

namespace app {

InteracaoRoteirizada::InteracaoRoteirizada() { m_anterior = instalaInteracao(this); }

InteracaoRoteirizada::~InteracaoRoteirizada() { instalaInteracao(m_anterior); }

QStringList InteracaoRoteirizada::textos() const
{
    QStringList r;
    for (const auto& m : mensagens)
        r << m.texto;
    return r;
}

Resposta InteracaoRoteirizada::mensagem(const QString& texto, Icone icone, Botoes botoes, const QString& titulo)
{
    mensagens.push_back({texto, icone, botoes, titulo});
    if (botoes == Botoes::Ok)
        return Resposta::Ok;
    if (m_respostas.empty()) {
        inesperadas << QStringLiteral("pergunta: ") + texto;
        return botoes == Botoes::SimNao || botoes == Botoes::RecuperarDescartar ? Resposta::Nao : Resposta::Cancelar;
    }
    Resposta r = m_respostas.front();
    m_respostas.pop_front();
    return r;
}

QString InteracaoRoteirizada::proximoArquivo(const EscolhaArquivo& escolha, const char* tipo)
{
    escolhas.push_back(escolha);
    if (m_arquivos.empty()) {
        inesperadas << QString::fromLatin1(tipo) + QStringLiteral(": ") + escolha.titulo;
        return {};
    }
    QString r = m_arquivos.front();
    m_arquivos.pop_front();
    return r;
}

QString InteracaoRoteirizada::arquivoParaAbrir(const EscolhaArquivo& escolha)
{
    return proximoArquivo(escolha, "abrir");
}

QString InteracaoRoteirizada::arquivoParaSalvar(const EscolhaArquivo& escolha)
{
    return proximoArquivo(escolha, "salvar");
}

bool InteracaoRoteirizada::escolheImpressora(EscolhaImpressora& escolha)
{
    impressoras.push_back(escolha);
    if (m_impressoras.empty()) {
        inesperadas << QStringLiteral("impressora");
        return false;
    }
    const bool confirma = m_impressoras.front();
    m_impressoras.pop_front();
    if (confirma && aoEscolherImpressora)
        aoEscolherImpressora(escolha.impressora);
    return confirma;
}

void InteracaoRoteirizada::abreEspera(const QString& texto)
{
    m_aberta = true;
    ++esperasAbertas;
    cancelarVisivel = true;
    textosEspera << texto;
}

void InteracaoRoteirizada::progressoEspera(int posicao, int maximo)
{
    progressos.push_back({posicao, maximo});
    if (aoProgredir)
        aoProgredir();
}

void InteracaoRoteirizada::textoEspera(const QString& texto)
{
    textosEspera << texto;
    if (aoProgredir)
        aoProgredir();
}

void InteracaoRoteirizada::fechaEspera()
{
    if (m_aberta)
        --esperasAbertas;
    m_aberta = false;
}

void InteracaoRoteirizada::processaEventos()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace app
