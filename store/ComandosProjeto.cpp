#include "store/ComandosProjeto.h"

#include "core/ProgramState.h"
#include "store/CopiaDeRecuperacao.h"
#include "store/Dados.h"
#include "store/Projeto.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

namespace store {

namespace {

ReparoDoProjeto g_reparo;

void Chama(const std::function<void()>& f)
{
    if (f)
        f();
}

bool GuardaPermite() { return !Janela().pgGeralChanging || Janela().pgGeralChanging(); }

// Busy cursor and wait window for the length of one archive operation, also when it throws.
class Espera
{
public:
    explicit Espera(const QString& texto)
    {
        if (Janela().CursorOcupado)
            Janela().CursorOcupado(true);
        app::AbreEspera(texto);
    }
    ~Espera() { fecha(); }
    void fecha()
    {
        if (m_fechada)
            return;
        m_fechada = true;
        app::FechaEspera();
        if (Janela().CursorOcupado)
            Janela().CursorOcupado(false);
    }

private:
    bool m_fechada = false;
};

// Runs a command body: a silent abort ends it quietly; any other failure is reported.
bool Comando(const std::function<bool()>& corpo)
{
    try {
        return corpo();
    } catch (const app::Abort&) {
        return false;
    } catch (const std::exception& e) {
        app::Mensagem(QString::fromUtf8(e.what()), app::Icone::Erro);
        return false;
    }
}

QString SemPasta(const QString& arquivo) { return QFileInfo(arquivo).fileName(); }

void ConverteVersaoAnterior()
{
    app::Mensagem(QStringLiteral("Você acabou de abrir um arquivo elaborado") + app::CR
                      + QStringLiteral("numa versão anterior da ferramenta.") + app::CR
                      + QStringLiteral("Será efetuada uma conexão para conversão automática") + app::CR
                      + QStringLiteral("do arquivo à versão mais atual."),
                  app::Icone::Informacao, app::Botoes::Ok, QStringLiteral("Conversão de Arquivo"));
    QString codigo;
    if (g_reparo)
        codigo = g_reparo();
    else
        app::Mensagem(QStringLiteral("Não foi possivel carregar todos os dados."), app::Icone::Erro);
    // Without the server's code the file keeps its earlier-version mark, so the next open tries the
    // conversion again instead of saving it under a code that names no project.
    if (!codigo.isEmpty())
        app::Estado().ProjectCode = codigo;
    if (app::Estado().ProjectModified)
        SalvarClick();
}

bool AbreArquivo(const QString& arquivo);

bool Abrir()
{
    const QString arquivo = app::interacao().arquivoParaAbrir(DialogoAbrir());
    if (arquivo.isEmpty())
        return false;
    return AbreArquivo(arquivo);
}

bool AbreArquivo(const QString& arquivo)
{
    app::ProgramState& estado = app::Estado();
    // A project whose save failed stays open: opening another would drop its unsaved changes.
    if (estado.ProjectOpen && !FechaProjeto())
        return false;

    bool ok = false;
    {
        Espera espera(QStringLiteral("Abrindo arquivo ") + SemPasta(arquivo));
        estado.ProgramDir = app::ComBarra(QFileInfo(arquivo).absolutePath());
        ok = LeProjeto(arquivo);
        estado.ProjectOpen = ok;
        app::SetModified(false);
    }
    estado.ProjectFileName = arquivo;
    if (!ok)
        return false;
    Chama(Janela().CreateWindows);
    Chama(Janela().SetMenuAndButtons);
    if (estado.ProjectCode == CodigoVersaoAnterior)
        ConverteVersaoAnterior();
    return true;
}

bool SalvarComo()
{
    QString arquivo = app::interacao().arquivoParaSalvar(DialogoSalvar());
    if (arquivo.isEmpty())
        return false;
    if (QFileInfo(arquivo).suffix().isEmpty())
        arquivo += QStringLiteral(".prj");
    bool ok = false;
    {
        Espera espera(QStringLiteral("Salvando arquivo ") + SemPasta(arquivo));
        ok = GravaProjeto(arquivo);
        app::Estado().ProjectFileName = arquivo;
        Chama(Janela().TrazParaFrente);
    }
    if (ok) {
        Chama(Janela().SetMenuAndButtons);
        app::SetModified(false);
        Recuperacao().remove();
    }
    return ok;
}

bool Salvar()
{
    if (!GuardaPermite())
        return false;
    const QString arquivo = app::Estado().ProjectFileName;
    if (arquivo.isEmpty())
        return SalvarComo();
    bool ok = false;
    {
        Espera espera(QStringLiteral("Salvando arquivo ") + SemPasta(arquivo));
        ok = GravaProjeto(arquivo);
    }
    if (ok) {
        app::SetModified(false);
        Recuperacao().remove();
    }
    return ok;
}

} // namespace

JanelaDoProjeto& Janela()
{
    static JanelaDoProjeto janela;
    return janela;
}

void InstalaReparoDoProjeto(ReparoDoProjeto reparo) { g_reparo = std::move(reparo); }

QString PastaDosProjetos()
{
    const QString pasta = QDir::homePath() + QStringLiteral("/Orv/Voruruz");
    QDir().mkpath(pasta);
    return pasta;
}

QString FiltroDeProjetos()
{
    // Projects first; every file as the second choice, for a project that lost its extension.
    return QStringLiteral("Projetos (*.prj)|*.prj|Todos os arquivos|*");
}

app::EscolhaArquivo DialogoAbrir()
{
    return {QStringLiteral("Abrir Projeto"), FiltroDeProjetos(), QStringLiteral("prj"), PastaDosProjetos(), QString()};
}

app::EscolhaArquivo DialogoSalvar()
{
    // Save As starts from the file the project came from, so a copy is one edit of its name away.
    return {QStringLiteral("Salvar Projeto"), FiltroDeProjetos(), QStringLiteral("prj"), PastaDosProjetos(),
            app::Estado().ProjectFileName};
}

bool FechaProjeto()
{
    if (!GuardaPermite())
        return false;
    app::ProgramState& estado = app::Estado();
    if (estado.ProjectModified) {
        const app::Resposta r = app::Mensagem(
            QStringLiteral("Dados do Projeto foram Alterados") + app::CR + app::CR
                + QStringLiteral("Deseja gravar as modificações em arquivo?"),
            app::Icone::Pergunta, app::Botoes::SimNaoCancelar);
        if (r == app::Resposta::Cancelar)
            throw app::Abort();
        if (r == app::Resposta::Sim)
            Salvar();
        else
            estado.ProjectModified = false;
    }
    if (estado.ProjectModified)
        return false;
    const bool haviaProjeto = estado.ProjectOpen;
    DataGeral().ClearTables();
    ApagaArquivosTabelas();
    estado.ProjectOpen = false;
    estado.ProjectFileName.clear();
    app::SetModified(false);
    Chama(Janela().CloseWindows);
    Chama(Janela().SetMenuAndButtons);
    // What the user chose to keep is in the file; what they dropped must not come back at the next
    // start. A copy not yet offered (the start-up question was closed) stays when no project was open.
    if (haviaProjeto)
        Recuperacao().remove();
    return true;
}

bool AbrirClick() { return Comando(Abrir); }
bool AbrirArquivoClick(const QString& arquivo)
{
    // A name from the command line or the file manager is made absolute here, as the dialog's is.
    const QString caminho = QFileInfo(arquivo).absoluteFilePath();
    return Comando([&caminho] { return AbreArquivo(caminho); });
}
bool SalvarClick() { return Comando(Salvar); }
bool SalvarComoClick() { return Comando(SalvarComo); }
bool FecharClick() { return Comando(FechaProjeto); }

} // namespace store
