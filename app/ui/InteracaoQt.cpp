#include "app/ui/InteracaoQt.h"

#include "app/ui/EstadoDaJanela.h"

#include "core/ProgramState.h"
#include "app/ui/TWinWaitFileOp.h"
#include "reports/Impressora.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

namespace app::ui {

InteracaoQt::InteracaoQt() = default;

InteracaoQt::~InteracaoQt() { fechaEspera(); }

QWidget* InteracaoQt::janelaDona() const
{
    if (dono)
        return dono;
    return QApplication::activeWindow();
}

Resposta InteracaoQt::mensagem(const QString& texto, Icone icone, Botoes botoes, const QString& titulo)
{
    QMessageBox caixa(janelaDona());
    caixa.setWindowTitle(titulo);
    QString t = texto;
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    caixa.setText(t);
    caixa.setTextFormat(Qt::PlainText);
    switch (icone) {
    case Icone::Nenhum: caixa.setIcon(QMessageBox::NoIcon); break;
    case Icone::Informacao: caixa.setIcon(QMessageBox::Information); break;
    case Icone::Aviso: caixa.setIcon(QMessageBox::Warning); break;
    case Icone::Erro: caixa.setIcon(QMessageBox::Critical); break;
    case Icone::Pergunta: caixa.setIcon(QMessageBox::Question); break;
    }
    QMessageBox::StandardButtons b;
    QMessageBox::StandardButton padrao = QMessageBox::Ok;
    switch (botoes) {
    case Botoes::Ok: b = QMessageBox::Ok; break;
    case Botoes::OkCancelar: b = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Botoes::SimNao: b = QMessageBox::Yes | QMessageBox::No; padrao = QMessageBox::Yes; break;
    case Botoes::SimNaoCancelar:
        b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        padrao = QMessageBox::Yes;
        break;
    case Botoes::RecuperarDescartar: b = QMessageBox::Yes | QMessageBox::No; padrao = QMessageBox::Yes; break;
    }
    caixa.setStandardButtons(b);
    caixa.setDefaultButton(padrao);
    if (auto* x = caixa.button(QMessageBox::Yes)) x->setText(QStringLiteral("&Sim"));
    if (auto* x = caixa.button(QMessageBox::No)) x->setText(QStringLiteral("&Não"));
    if (auto* x = caixa.button(QMessageBox::Cancel)) x->setText(QStringLiteral("Cancelar"));
    if (botoes == Botoes::RecuperarDescartar) {
        caixa.button(QMessageBox::Yes)->setText(QStringLiteral("Recuperar"));
        caixa.button(QMessageBox::No)->setText(QStringLiteral("Descartar"));
    }

    // The wait window would otherwise hide the question.
    const bool baixouEspera = m_espera && m_espera->sempreNoTopo();
    if (baixouEspera)
        m_espera->setSempreNoTopo(false);
    const int r = caixa.exec();
    if (baixouEspera && m_espera)
        m_espera->setSempreNoTopo(true);

    switch (r) {
    case QMessageBox::Ok: return Resposta::Ok;
    case QMessageBox::Yes: return Resposta::Sim;
    case QMessageBox::No: return Resposta::Nao;
    default: break;
    }
    // Closing the box by its title bar answers as its safest button. For the recovery question that
    // is neither answer: the copy stays for the next start.
    if (botoes == Botoes::RecuperarDescartar)
        return Resposta::Cancelar;
    return botoes == Botoes::Ok ? Resposta::Ok : botoes == Botoes::SimNao ? Resposta::Nao : Resposta::Cancelar;
}

QString InteracaoQt::filtroQt(const QString& filtro)
{
    const QStringList partes = filtro.split(QLatin1Char('|'));
    QStringList saida;
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        const QString descricao = partes.at(i).trimmed();
        QString padrao = partes.at(i + 1).trimmed();
        padrao.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (descricao.endsWith(QLatin1Char(')')))
            saida << descricao;
        else
            saida << descricao + QStringLiteral(" (") + padrao + QLatin1Char(')');
    }
    if (saida.isEmpty() && !filtro.isEmpty())
        saida << filtro;
    return saida.join(QStringLiteral(";;"));
}

QString InteracaoQt::comExtensao(const QString& caminho, const QString& extensao)
{
    if (caminho.isEmpty() || extensao.isEmpty() || !QFileInfo(caminho).suffix().isEmpty())
        return caminho;
    return caminho + QLatin1Char('.') + extensao;
}

namespace {
const QString ChaveUltimaPasta = QStringLiteral("dialogos/ultimaPasta");

QString pastaENome(const EscolhaArquivo& e)
{
    if (e.nomeInicial.isEmpty())
        return e.pastaInicial;
    if (e.pastaInicial.isEmpty() || QFileInfo(e.nomeInicial).isAbsolute())
        return e.nomeInicial;
    return app::ComBarra(e.pastaInicial) + e.nomeInicial;
}

void lembraPasta(const QString& arquivo)
{
    if (!arquivo.isEmpty())
        ConfiguracoesDeEstado()->setValue(ChaveUltimaPasta, QFileInfo(arquivo).absolutePath());
}
}

EscolhaArquivo InteracaoQt::comUltimaPasta(EscolhaArquivo escolha)
{
    // The program's folder is only the first default: after that the dialogs open where the user
    // last opened or saved a file, while that folder still exists.
    const QString ultima = ConfiguracoesDeEstado()->value(ChaveUltimaPasta).toString();
    if (!ultima.isEmpty() && QFileInfo(ultima).isDir())
        escolha.pastaInicial = ultima;
    return escolha;
}

QString InteracaoQt::arquivoParaAbrir(const EscolhaArquivo& escolha)
{
    const EscolhaArquivo e = comUltimaPasta(escolha);
    const QString nome =
        QFileDialog::getOpenFileName(janelaDona(), e.titulo, pastaENome(e), filtroQt(e.filtro));
    lembraPasta(nome);
    return nome;
}

QString InteracaoQt::arquivoParaSalvar(const EscolhaArquivo& escolha)
{
    const EscolhaArquivo e = comUltimaPasta(escolha);
    const QString nome = QFileDialog::getSaveFileName(janelaDona(), e.titulo, pastaENome(e), filtroQt(e.filtro));
    lembraPasta(nome);
    return comExtensao(nome, e.extensaoPadrao);
}

bool InteracaoQt::escolheImpressora(EscolhaImpressora& escolha)
{
    if (!escolha.impressora)
        return false;
    return reports::impressora::Carregada().escolhe(*escolha.impressora, escolha.imprimirEmArquivo, janelaDona());
}

void InteracaoQt::textoStatus(int painel, const QString& texto)
{
    if (aoMudarStatus)
        aoMudarStatus(painel, texto);
}

void InteracaoQt::abreEspera(const QString& texto)
{
    // One wait window at a time: a caller that forgot to close the last one does not leave it behind.
    fechaEspera();
    m_espera = new TWinWaitFileOp;
    m_espera->setAttribute(Qt::WA_DeleteOnClose);
    m_espera->LabelFile->setText(texto);
    m_espera->show();
    m_espera->raise();
    QCoreApplication::processEvents();
}

void InteracaoQt::mostraCancelar(bool mostra)
{
    if (m_espera)
        m_espera->btCancelar->setVisible(mostra);
}

void InteracaoQt::progressoEspera(int posicao, int maximo)
{
    if (m_espera) {
        // The maximum goes first: a position above the old maximum would otherwise be clamped.
        m_espera->PBar->setMaximum(maximo);
        m_espera->PBar->setValue(posicao);
    }
    QCoreApplication::processEvents();
}

void InteracaoQt::textoEspera(const QString& texto)
{
    if (m_espera)
        m_espera->LabelFile->setText(texto);
    QCoreApplication::processEvents();
}

void InteracaoQt::fechaEspera()
{
    if (m_espera) {
        TWinWaitFileOp* w = m_espera;
        m_espera.clear();
        w->hide();
        delete w;
    }
}

void InteracaoQt::processaEventos() { QCoreApplication::processEvents(); }

TWinWaitFileOp* InteracaoQt::espera() const { return m_espera; }

} // namespace app::ui
