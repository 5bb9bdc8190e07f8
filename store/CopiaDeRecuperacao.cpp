#include "store/CopiaDeRecuperacao.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "store/ArquivoZip.h"
#include "store/Catalogo.h"
#include "store/ComandosProjeto.h"
#include "store/Dados.h"
#include "store/PastaPrivada.h"
#include "store/Projeto.h"
#include "store/RegistroEnvios.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>

namespace store {

namespace {

QString ArquivoDoNome() { return CopiaDeRecuperacao::Pasta() + QStringLiteral("recuperacao.txt"); }
QString ArquivoNovo() { return CopiaDeRecuperacao::Pasta() + QStringLiteral("recuperacao-nova.prj"); }
QString ArquivoAnterior() { return CopiaDeRecuperacao::Pasta() + QStringLiteral("recuperacao-anterior.prj"); }

} // namespace

struct CopiaDeRecuperacao::Comum {
    std::mutex trava;
    // Raised by remove(): a copy started before it must not land after it.
    quint64 epoca = 0;
    std::atomic<bool> ocupado{false};
};

CopiaDeRecuperacao::CopiaDeRecuperacao() : m_comum(std::make_shared<Comum>()) {}

CopiaDeRecuperacao::~CopiaDeRecuperacao() { espera(); }

QString CopiaDeRecuperacao::Pasta()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share/rezozur");
    const QString pasta = base + QStringLiteral("/recuperacao/");
    if (QDir().mkpath(pasta))
        QFile::setPermissions(pasta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return pasta;
}

QString CopiaDeRecuperacao::Arquivo() { return Pasta() + QStringLiteral("recuperacao.prj"); }

bool CopiaDeRecuperacao::grava()
{
    if (m_comum->ocupado.load())
        return false;
    if (m_fio.joinable())
        m_fio.join();

    // The picture is taken here, where the tables live; from here on the worker needs nothing of them.
    std::map<int, std::pair<QString, Table::FileContents>> tabelas;
    for (Table* t : dados().armazenadas())
        tabelas[t->tag()] = {t->name(), t->snapshot()};
    const QByteArray cabecalho = TextoDoCabecalho(app::Estado().ProjectCode);
    // The send log too: after a send whose reply was lost it is what keeps the next send from
    // duplicating records, and a crash right after a send is when the copy matters most.
    const QByteArray envios = Envios().texto();
    const QByteArray nome = app::Estado().ProjectFileName.toUtf8();
    quint64 epoca;
    {
        std::lock_guard<std::mutex> l(m_comum->trava);
        epoca = m_comum->epoca;
    }
    const QString novo = ArquivoNovo();
    // What a program killed in the middle of a copy left behind.
    PastaPrivada::LimpaSobras(novo);
    const QString final = Arquivo();
    const QString doNome = ArquivoDoNome();
    m_comum->ocupado = true;
    m_fio = std::thread([comum = m_comum, tabelas = std::move(tabelas), cabecalho, envios, nome, epoca, novo, final, doNome] {
        ArquivoZip zip;
        zip.ZipFileName = novo;
        zip.Password = SenhaDoProjeto;
        zip.Conteudos << qMakePair(ArquivoCabecalho, cabecalho);
        for (const auto& [slot, tabela] : tabelas)
            zip.Conteudos << qMakePair(TableFiles[size_t(slot)], Table::encodeContents(tabela.first, tabela.second));
        zip.Conteudos << qMakePair(ArquivoEnvios, envios);
        const bool ok = zip.Compacta() == ArquivoZip::Ok;
        {
            std::lock_guard<std::mutex> l(comum->trava);
            if (ok && epoca == comum->epoca) {
                try {
                    Table::writeFile(doNome, nome);
                    std::rename(QFile::encodeName(novo).constData(), QFile::encodeName(final).constData());
                } catch (const std::exception&) {
                    // The previous copy stays; the next one tries again.
                }
            }
            QFile::remove(novo);
        }
        comum->ocupado = false;
    });
    return true;
}

void CopiaDeRecuperacao::espera()
{
    if (m_fio.joinable())
        m_fio.join();
}

void CopiaDeRecuperacao::remove()
{
    std::lock_guard<std::mutex> l(m_comum->trava);
    ++m_comum->epoca;
    QFile::remove(Arquivo());
    QFile::remove(ArquivoDoNome());
}

bool CopiaDeRecuperacao::existe() const { return QFileInfo(Arquivo()).isFile(); }

QString CopiaDeRecuperacao::arquivoDoProjeto() const
{
    QFile f(ArquivoDoNome());
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.read(4096)).trimmed();
}

CopiaDeRecuperacao& Recuperacao()
{
    static CopiaDeRecuperacao copia;
    return copia;
}

bool OfereceRecuperacao()
{
    CopiaDeRecuperacao& copia = Recuperacao();
    if (!copia.existe() || app::Estado().ProjectOpen)
        return false;
    const QString arquivo = copia.arquivoDoProjeto();
    const QString qual = arquivo.isEmpty() ? QStringLiteral("ainda não gravado")
                                           : QStringLiteral("\"") + QFileInfo(arquivo).fileName() + QStringLiteral("\"");
    const app::Resposta r = app::Mensagem(
        QStringLiteral("O programa não foi encerrado normalmente. Há uma cópia de recuperação do projeto ") + qual
            + QStringLiteral(" com as modificações que não foram gravadas.") + app::CR + app::CR
            + QStringLiteral("Recuperar abre essa cópia; Descartar a apaga."),
        app::Icone::Pergunta, app::Botoes::RecuperarDescartar);
    if (r == app::Resposta::Nao) {
        copia.remove();
        return false;
    }
    if (r != app::Resposta::Sim) {
        // Neither answer: the copy is put aside, where Open can still read it, so that the copies of
        // this session do not replace it.
        QFile::remove(ArquivoAnterior());
        QFile::rename(CopiaDeRecuperacao::Arquivo(), ArquivoAnterior());
        copia.remove();
        return false;
    }

    app::ProgramState& estado = app::Estado();
    if (!arquivo.isEmpty())
        estado.ProgramDir = app::ComBarra(QFileInfo(arquivo).absolutePath());
    const bool ok = LeProjeto(CopiaDeRecuperacao::Arquivo());
    estado.ProjectOpen = ok;
    estado.ProjectFileName = ok ? arquivo : QString();
    // The copy holds changes that no file has: the project is modified until it is saved.
    app::SetModified(ok);
    if (!ok)
        return false;
    if (Janela().CreateWindows)
        Janela().CreateWindows();
    if (Janela().SetMenuAndButtons)
        Janela().SetMenuAndButtons();
    return true;
}

} // namespace store
