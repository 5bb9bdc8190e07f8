#include "store/Projeto.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "store/ArquivoZip.h"
#include "store/Catalogo.h"
#include "store/Dados.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <exception>

namespace store {

namespace {

const QString TextoArquivoInvalido = QStringLiteral("Arquivo com formato inválido ou danificado.");
const QString TextoBancoDanificado = QStringLiteral("Arquivos de banco de dados ausentes ou danificados.");
// A real header is three short lines; anything much larger is not one.
constexpr qint64 TamanhoMaximoCabecalho = 64 * 1024;

void Erro(const QString& texto) { app::Mensagem(texto, app::Icone::Erro); }

QString MotivoDaLeitura(int resultado)
{
    switch (resultado) {
    case ArquivoZip::ArquivoInexistente: return QStringLiteral("Arquivo inexistente.");
    case ArquivoZip::Danificado: return QStringLiteral("Arquivo danificado.");
    case ArquivoZip::DiscoCheio: return QStringLiteral("Espaço em disco insuficiente.");
    case ArquivoZip::BibliotecaAusente: return QStringLiteral("Arquivo XCDUNZ32.DLL não encontrado.");
    case ArquivoZip::SemAcesso:
        return QStringLiteral("Verifique as permissões de leitura do arquivo,") + app::CR
               + QStringLiteral("ou se ele está em uso por outro programa.");
    default: return QString();
    }
}

QString MotivoDaGravacao(int resultado)
{
    switch (resultado) {
    case ArquivoZip::DiscoCheio: return QStringLiteral("Espaço em disco insuficiente.");
    case ArquivoZip::BibliotecaAusente: return QStringLiteral("Arrquivo XCDZIP32.DLL não encontrado.");
    case ArquivoZip::SemAcesso:
        return QStringLiteral("Verifique as permissões de gravação do arquivo,") + app::CR
               + QStringLiteral("ou se ele está em uso por outro programa.");
    default: return QString();
    }
}

// The third header line, or why there is none: 1 unreadable or empty file, 2 empty third line.
int LeCabecalho(const QString& caminho, QString& codigo)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly) || f.size() > TamanhoMaximoCabecalho)
        return 1;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError || bytes.isEmpty())
        return 1;
    static const QRegularExpression fimDeLinha(QStringLiteral("\r\n|\r|\n"));
    const QStringList linhas = QString::fromUtf8(bytes).split(fimDeLinha);
    codigo = linhas.value(2);
    // A code of blanks names no project either.
    return codigo.trimmed().isEmpty() ? 2 : 0;
}

// The open project keeps working on the same tables after a save, so whatever the writing of the
// table files changed of their indexes, current index and current row is put back.
class IndicesGuardados
{
public:
    explicit IndicesGuardados(const std::vector<Table*>& tabelas)
    {
        for (Table* t : tabelas) {
            Estado e{t, {}, t->indexName(), t->active() ? t->bookmark() : 0};
            for (const QString& nome : t->indexNames())
                e.indices.push_back(t->indexDef(nome));
            m_estados.push_back(std::move(e));
        }
    }
    void restaura()
    {
        for (Estado& e : m_estados) {
            for (const IndexDef& d : e.indices)
                if (!e.tabela->hasIndex(d.name))
                    e.tabela->addIndex(d.name, d.fields, d.options);
            if (e.tabela->indexName() != e.corrente)
                e.tabela->setIndexName(e.corrente);
            if (e.linha && e.tabela->active())
                e.tabela->gotoBookmark(e.linha);
        }
    }

private:
    struct Estado {
        Table* tabela;
        std::vector<IndexDef> indices;
        QString corrente;
        Table::Bookmark linha;
    };
    std::vector<Estado> m_estados;
};

// After a failed open nothing of the refused file may stay in the tables: a later download appends
// to them, and the rows of a half-read project would mix with it.
void DescartaTabelasLidas()
{
    try {
        TDataGeral& g = DataGeral();
        g.ClearTables();
        for (Table* t : dados().armazenadas())
            t->clearIndexDefs();
        // tbEstudosSetores is never read from a file, so it kept its indexes.
        Table& setores = DataResultadosGerados().tbEstudosSetores;
        setores.setIndexName(QString());
        setores.clearIndexDefs();
        g.CreateIndexes();
    } catch (const std::exception&) {
        // The tables are empty; a missing index shows itself at the next load.
    }
}

} // namespace

QStringList EntradasDoProjeto()
{
    QStringList r{ArquivoCabecalho};
    for (int slot = 0; slot < NumSlots; ++slot)
        if (!SlotVazio(slot))
            r << TableFiles[size_t(slot)];
    return r;
}

QByteArray TextoDoCabecalho(const QString& codigoProjeto)
{
    const QString codigo = codigoProjeto.isEmpty() ? QStringLiteral("999") : codigoProjeto;
    return (app::TituloProduto + QStringLiteral("\r\n1.0\r\n") + codigo + QStringLiteral("\r\n")).toUtf8();
}

bool PastaGravavel(const QString& pasta)
{
    if (pasta.isEmpty() || !QFileInfo(pasta).isDir())
        return false;
    QTemporaryFile sonda(app::ComBarra(pasta) + QStringLiteral(".rezozur-XXXXXX"));
    return sonda.open();
}

QString PastaDeTrabalhoDoUsuario()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString pasta = base + QStringLiteral("/rezozur/trabalho/");
    QDir().mkpath(pasta);
    return pasta;
}

QString GarantePastaDeTrabalho()
{
    app::ProgramState& e = app::Estado();
    if (!PastaGravavel(e.ProgramDir))
        e.ProgramDir = PastaDeTrabalhoDoUsuario();
    return e.ProgramDir;
}

void ApagaArquivosTabelas()
{
    const QString pasta = app::Estado().ProgramDir;
    for (int slot = 0; slot < NumSlots; ++slot)
        if (!SlotVazio(slot))
            QFile::remove(pasta + TableFiles[size_t(slot)]);
}

bool LeProjeto(const QString& arquivo)
{
    const QString pasta = GarantePastaDeTrabalho();
    // Files left by an earlier failed save must not stand in for entries this archive lacks.
    ApagaArquivosTabelas();
    QFile::remove(pasta + ArquivoCabecalho);

    ArquivoZip zip;
    zip.ZipFileName = arquivo;
    zip.Password = SenhaDoProjeto;
    zip.ExtractDirectory = pasta;
    zip.NomesPermitidos = EntradasDoProjeto();
    const int resultado = zip.Extrai();
    if (resultado != ArquivoZip::Ok) {
        const QString nome = QFileInfo(arquivo).fileName();
        if (const QString motivo = MotivoDaLeitura(resultado); !motivo.isEmpty())
            Erro(QStringLiteral("Erro na leitura do projeto ") + nome + app::CR + motivo);
        else
            Erro(QStringLiteral("Erro na leitura do arquivo ") + nome + app::CR
                 + QStringLiteral("Não foi possível carregar o projeto. Senha incorreta?"));
        ApagaArquivosTabelas();
        return false;
    }

    bool ok = false;
    QString codigo;
    switch (LeCabecalho(pasta + ArquivoCabecalho, codigo)) {
    case 1:
        Erro(TextoArquivoInvalido);
        break;
    case 2:
        Erro(QStringLiteral("Arquivo incompatível com o REZOZUR Eva-Rudo 1.3.1.") + app::CR
             + QStringLiteral("Impossível continuar leitura."));
        break;
    default:
        app::Estado().ProjectCode = codigo;
        try {
            DataGeral().LoadTables();
            DataGeral().CreateIndexes();
            ok = true;
        } catch (const std::exception&) {
            Erro(TextoBancoDanificado);
            DescartaTabelasLidas();
        }
        break;
    }
    ApagaArquivosTabelas();
    return ok;
}

bool GravaProjeto(const QString& arquivo)
{
    QString textoFalha = QStringLiteral("Erro na gravação de arquivos temporários, verifique") + app::CR
                         + QStringLiteral("espaço disponível e permissões de gravação do disco.");
    const QString pasta = GarantePastaDeTrabalho();

    QFile cabecalho(pasta + ArquivoCabecalho);
    const QByteArray texto = TextoDoCabecalho(app::Estado().ProjectCode);
    if (!cabecalho.open(QIODevice::WriteOnly | QIODevice::Truncate) || cabecalho.write(texto) != texto.size()
        || !cabecalho.flush()) {
        cabecalho.close();
        Erro(textoFalha);
        return false;
    }
    cabecalho.close();

    IndicesGuardados indices(dados().armazenadas());
    bool tabelasGravadas = true;
    try {
        DataGeral().SaveTables();
    } catch (const std::exception&) {
        tabelasGravadas = false;
    }
    try {
        indices.restaura();
    } catch (const std::exception&) {
        // Every definition came from the same table a moment ago; nothing to tell the user.
    }
    if (!tabelasGravadas) {
        Erro(textoFalha);
        return false;
    }

    ArquivoZip zip;
    zip.ZipFileName = arquivo;
    zip.Password = SenhaDoProjeto;
    for (const QString& nome : EntradasDoProjeto())
        zip.FilesToProcess << pasta + nome;
    const int resultado = zip.Compacta(arquivo + QStringLiteral(".bak"));
    if (resultado == ArquivoZip::Ok) {
        ApagaArquivosTabelas();
        return true;
    }
    if (const QString motivo = MotivoDaGravacao(resultado); !motivo.isEmpty())
        textoFalha = QStringLiteral("Erro na gravação do projeto ") + QFileInfo(arquivo).fileName() + app::CR + motivo;
    Erro(textoFalha);
    return false;
}

} // namespace store
