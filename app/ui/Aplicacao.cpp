#include "app/ui/Aplicacao.h"

#include "core/Interacao.h"
#include "app/ui/AplicacaoProtegida.h"
#include "app/ui/EstiloDoPrograma.h"
#include "app/ui/GuardaDeRecuperacao.h"
#include "app/ui/InstanciaUnica.h"
#include "app/ui/Registros.h"
#include "app/ui/TfrmMenu1.h"
#include "edit/ui/DialogoEscolhaQt.h"
#include "net/ui/ComandosNet.h"
#include "net/ui/TfrmEnviarDados.h"
#include "edit/ui/TfrmImportarPublicacoes.h"
#include "net/ui/TfrmHistoricoEnvios.h"
#include "reports/ui/TfrmImpressao.h"
#include "store/ComandosProjeto.h"
#include "store/CopiaDeRecuperacao.h"
#include "store/Dados.h"
#include "store/PastaPrivada.h"
#include "store/Projeto.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

namespace app::ui {

void LigaComandos(TfrmMenu1& janela)
{
    TfrmMenu1::Comandos& c = janela.comandos;
    c.Abrir = [] { store::AbrirClick(); };
    c.Salvar = [] { store::SalvarClick(); };
    c.SalvarComo = [] { store::SalvarComoClick(); };
    c.Fechar = [] { store::FecharClick(); };
    c.FechaParaSair = [] { return store::FechaProjeto(); };
    QWidget* pai = &janela;
    c.Carregar = [pai] { net::CarregarClick(pai); };
    c.Verificar = [pai] { net::VerificarPendenciaNaJanela(false, pai); };
    c.Enviar = [pai] { net::EnviarDadosNaJanela(pai, [] { return store::SalvarComoClick(); }); };
    c.HistoricoEnvios = [pai] { net::HistoricoEnviosNaJanela(pai); };
    net::InstalaReparoComLogin(pai);
    edit::ui::InstalaDialogosEscolha();
    LigaRegistros(janela);
    c.Imprimir = [pai] { reports::ui::TfrmImpressao::Executa(pai); };
    c.ImportarPublicacoes = [pai] { edit::ui::ImportaPublicacoes(pai); };
}

QTranslator* CarregaTraducoesDoQt(QApplication& aplicacao)
{
    // Qt's own dialogs and standard buttons ("Look in", "Cancel") speak the program's language.
    auto* traducao = new QTranslator(&aplicacao);
    if (traducao->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QApplication::installTranslator(traducao))
        return traducao;
    delete traducao;
    return nullptr;
}

void NomeiaAplicacao()
{
    QApplication::setApplicationName(QStringLiteral("rezozur"));
    QApplication::setDesktopFileName(QStringLiteral("rezozur"));
}

QStringList ArquivosDaLinhaDeComando(const QStringList& argumentos)
{
    QStringList arquivos;
    for (const QString& a : argumentos.mid(1))
        if (!a.startsWith(QLatin1Char('-')))
            arquivos << a;
    return arquivos;
}

void AbreArquivosDaLinhaDeComando(TfrmMenu1& janela, const QStringList& arquivos)
{
    // One project at a time: the first name is opened, the others would only replace it.
    if (arquivos.isEmpty())
        return;
    // Open's own command wrapper reports every failure; the window only has to be there.
    (void)janela;
    store::AbrirArquivoClick(arquivos.first());
}

void AbreArquivoDeOutraCopia(TfrmMenu1& janela, const QString& arquivo)
{
    // Not under an open dialog or a save in progress: the file waits until they are over.
    if (QApplication::activeModalWidget() || app::interacao().esperaAberta()) {
        QTimer::singleShot(250, &janela, [&janela, arquivo] { AbreArquivoDeOutraCopia(janela, arquivo); });
        return;
    }
    janela.restauraDoMinimizado();
    store::AbrirArquivoClick(arquivo);
}

void LigaOutraCopia(InstanciaUnica& unica, TfrmMenu1& janela)
{
    QObject::connect(&unica, &InstanciaUnica::restaurarPedido, &janela, &TfrmMenu1::restauraDoMinimizado);
    // Queued: the open asks questions, which must not run inside the socket's own notification.
    QObject::connect(
        &unica, &InstanciaUnica::abrirPedido, &janela,
        [&janela](const QString& arquivo) { AbreArquivoDeOutraCopia(janela, arquivo); }, Qt::QueuedConnection);
}

int ExecutaPrograma(QApplication& aplicacao)
{
    const QStringList arquivos = ArquivosDaLinhaDeComando(QCoreApplication::arguments());
    // A copy already running is brought forward and given the project file this one was started
    // with (from this copy's folder), and this one ends without a window.
    InstanciaUnica unica;
    QStringList absolutos;
    for (const QString& a : arquivos)
        absolutos << QFileInfo(a).absoluteFilePath();
    if (unica.avisaOutraCopia(1000, absolutos.mid(0, 1)))
        return 0;
    unica.escuta();

    NomeiaAplicacao();
    CarregaTraducoesDoQt(aplicacao);
    InstalaEstiloDoPrograma();
    // No locale is set: every date and amount is a text in the program's own fixed format
    // ("dd/mm/yyyy", "." before the cents), and the clock names its days itself.

    // What a program that did not end normally left: its decrypted tables go (its recovery copy is
    // offered once the window is up). This and the store need no fonts: they are done while the fonts
    // are still loading (FontesAdiantadas).
    store::PastaPrivada::LimpaSobras();
    store::criaDados();
    // The window's first picture comes first; the hidden page tree is finished right after it.
    TfrmMenu1 janela(nullptr, TfrmMenu1::Montagem::PaginasDepoisDoPrimeiroQuadro);
    LigaOutraCopia(unica, janela);
    LigaComandos(janela);
    auto* protegida = qobject_cast<AplicacaoProtegida*>(&aplicacao);
    if (protegida)
        protegida->depoisDeDesfazer = [&janela] { janela.acompanhaEditores(); };
    janela.show();
    // What the first picture does not show waits until it is painted. A project named on the command
    // line ("rezozur ARQUIVO.prj", as a file manager starts it) is read on worker threads from then on,
    // while a recovery copy left by a program that did not end normally is offered; then it is opened
    // as Open would, which takes that reading over and still tells the user everything. From now on
    // this program keeps a recovery copy of its own.
    GuardaDeRecuperacao recuperacao;
    janela.aposPrimeiroQuadro([&janela, arquivos] {
        if (!arquivos.isEmpty())
            store::AntecipaLeitura(arquivos.first());
        store::OfereceRecuperacao();
        if (!arquivos.isEmpty())
            AbreArquivosDaLinhaDeComando(janela, arquivos);
    });
    const int r = aplicacao.exec();
    if (protegida)
        protegida->depoisDeDesfazer = nullptr;
    store::DescartaLeituraAntecipada();
    store::destroiDados();
    return r;
}

} // namespace app::ui
