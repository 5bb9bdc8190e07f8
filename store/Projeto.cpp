#include "store/Projeto.h"

#include "core/Interacao.h"
#include "core/ModuloDoPrograma.h"
#include "core/ProgramState.h"
#include "store/Alocador.h"
#include "store/ArquivoZip.h"
#include "store/Catalogo.h"
#include "store/Dados.h"
#include "store/DecodificaTabela.h"
#include "store/Esquemas.h"
#include "store/Paralelo.h"
#include "store/PastaPrivada.h"
#include "store/RegistroEnvios.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <exception>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace store {

namespace {

const QString TextoArquivoInvalido = QStringLiteral("Arquivo com formato inválido ou danificado.");
const QString TextoBancoDanificado = QStringLiteral("Arquivos de banco de dados ausentes ou danificados.");
QString TextoEnviosAlemDoLimite()
{
    // The count as Brazilians write it: "200.000".
    QString linhas = QString::number(RegistroEnvios::LimiteDeLinhas);
    for (qsizetype i = linhas.size() - 3; i > 0; i -= 3)
        linhas.insert(i, QLatin1Char('.'));
    return QStringLiteral("O registro de envios deste projeto passa do limite de %1 linhas ou %2 MB e não foi lido.")
               .arg(linhas)
               .arg(RegistroEnvios::LimiteDeBytes >> 20)
           + app::CR
           + QStringLiteral("O projeto foi aberto sem ele: confira no servidor o que o último envio gravou "
                            "antes de enviar de novo.");
}
// A real header is three short lines; anything much larger is not one.
constexpr qint64 TamanhoMaximoCabecalho = 64 * 1024;
// The second header line: the header's own format.
const QString FormatoDoCabecalho = QStringLiteral("1.0");
// Project codes are short numbers; far longer is not a code.
constexpr qsizetype TamanhoMaximoCodigo = 40;
// The wait window's scale while a project is saved.
constexpr int MaximoProgressoGravacao = 500;

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

// Why a header is refused.
enum class Cabecalho { Bom, Danificado, Incompativel };

// The lines of `texto`, ended by "\r\n", "\r" or "\n"; what follows the last end is one more line,
// empty when the text ends with an end.
QStringList Linhas(const QString& texto)
{
    QStringList linhas;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        linhas << texto.mid(inicio, i - inicio);
        if (c == QLatin1Char('\r') && i + 1 < texto.size() && texto[i + 1] == QLatin1Char('\n'))
            ++i;
        inicio = i + 1;
    }
    linhas << texto.mid(inicio);
    return linhas;
}

// Checks the three header lines and keeps the third. Open relies on all three: the first names the
// program that wrote the file, the second the header's format (a newer one cannot be read), the third
// is the project code. A file that is not UTF-8 text of three such lines, or that carries control
// characters, is not a header we wrote; the code it holds would end up on screens and terminals.
Cabecalho LeCabecalho(const QByteArray& bytes, QString& codigo)
{
    if (bytes.isEmpty())
        return Cabecalho::Danificado;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8(bytes);
    if (utf8.hasError())
        return Cabecalho::Danificado;
    QStringList linhas = Linhas(texto);
    if (linhas.size() > 3 && linhas.back().isEmpty())
        linhas.removeLast();
    if (linhas.size() > 3)
        return Cabecalho::Danificado;
    for (const QString& linha : linhas)
        for (QChar c : linha)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                return Cabecalho::Danificado;
    // Earlier versions of the program name themselves with their own version number.
    const QString programa = linhas.value(0);
    if (programa != app::TituloProduto && !programa.startsWith(QStringLiteral("REZOZUR Eva-Rudo ")))
        return Cabecalho::Danificado;
    if (linhas.value(1) != FormatoDoCabecalho)
        return Cabecalho::Incompativel;
    codigo = linhas.value(2);
    // A code of blanks names no project either.
    if (codigo.trimmed().isEmpty())
        return Cabecalho::Incompativel;
    return codigo.size() > TamanhoMaximoCodigo ? Cabecalho::Danificado : Cabecalho::Bom;
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

// The send log of the archive just read; an archive without one (or with one this version cannot
// read) opens with an empty log. One past the log's limits is no log this program wrote: it is not
// read (a long one would hold the open for minutes), and the user is told that the marks it might
// have held are not there.
void LeRegistroEnvios(const QByteArray& texto, bool alemDoLimite)
{
    Envios().limpa();
    if (alemDoLimite || !RegistroEnvios::CabeNoLimite(texto)) {
        app::Mensagem(TextoEnviosAlemDoLimite(), app::Icone::Aviso);
        return;
    }
    if (!texto.isEmpty())
        Envios().le(texto);
}

// The columns each stored table is decoded for, in store order.
struct Alvo {
    int tag;
    std::vector<FieldDef> campos;
};

bool MesmasColunas(const std::vector<Alvo>& a, const std::vector<Alvo>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].tag != b[i].tag || a[i].campos.size() != b[i].campos.size())
            return false;
        for (size_t c = 0; c < a[i].campos.size(); ++c) {
            const FieldDef& x = a[i].campos[c];
            const FieldDef& y = b[i].campos[c];
            if (x.name != y.name || x.type != y.type || x.size != y.size || x.required != y.required)
                return false;
        }
    }
    return true;
}

std::vector<Alvo> AlvosDasTabelas()
{
    std::vector<Alvo> r;
    for (const Table* t : dados().armazenadas())
        r.push_back({t->tag(), t->fields()});
    return r;
}

// The stored tables as a fresh store defines them, for a reading started before the store exists.
std::vector<Alvo> AlvosDosEsquemas()
{
    std::vector<Alvo> r;
    for (const QString& nome : OrdemDoArmazenamento)
        for (Modulo m : {Modulo::Geral, Modulo::Identificacao, Modulo::ResultadosGerados, Modulo::RecursosAdquiridos,
                         Modulo::AtividadesApoiadas, Modulo::AnaliseResultados})
            for (const TableSchema& e : EsquemasDoModulo(m))
                if (nome == QLatin1String(e.nome))
                    r.push_back({e.tag, e.colunas});
    return r;
}

// All that reading an archive gives before any table is touched: the archive's result, the header,
// the send log, and every stored table decoded (or why it could not be). Nothing of it touches the
// disk.
struct Leitura {
    int resultado = ArquivoZip::OutraFalha;
    QByteArray cabecalho;
    QByteArray envios;
    bool enviosAlemDoLimite = false;
    std::vector<Table::FileContents> tabelas;
    std::vector<std::exception_ptr> erros;
};

Leitura LeArquivo(const QString& arquivo, const std::vector<Alvo>& alvos)
{
    Leitura r;
    r.tabelas.resize(alvos.size());
    r.erros.resize(alvos.size());
    // Each table is decoded by the worker that has just inflated it, while the others inflate the
    // next entries, and its bytes go as soon as it is decoded: the whole archive is never held
    // inflated at once.
    QHash<QString, size_t> porNome;
    for (size_t i = 0; i < alvos.size(); ++i)
        porNome.insert(TableFiles[size_t(alvos[i].tag)], i);
    std::vector<char> lidas(alvos.size(), 0);
    ArquivoZip zip;
    zip.ZipFileName = arquivo;
    zip.Password = SenhaDoProjeto;
    zip.NomesPermitidos = EntradasPermitidas();
    r.resultado = zip.ExtraiParaMemoria([&](const QString& nome, QByteArray&& bytes) {
        if (nome == ArquivoCabecalho) {
            if (bytes.size() <= TamanhoMaximoCabecalho)
                r.cabecalho = std::move(bytes);
            return;
        }
        if (nome == ArquivoEnvios) {
            if (RegistroEnvios::CabeNoLimite(bytes))
                r.envios = std::move(bytes);
            else
                r.enviosAlemDoLimite = true;
            return;
        }
        const auto it = porNome.constFind(nome);
        if (it == porNome.constEnd())
            return;
        const size_t i = *it;
        lidas[i] = 1;
        try {
            r.tabelas[i] = DecodificaTabela(bytes, nome, alvos[i].campos, nome.chopped(4));
        } catch (...) {
            r.erros[i] = std::current_exception();
        }
    });
    // The workers' inflated entries and the decoders' working room are all freed by now, scattered
    // between the rows kept; what is left whole goes back before the tables are installed.
    DevolveMemoriaLivre();
    if (r.resultado != ArquivoZip::Ok)
        return r;
    for (size_t i = 0; i < alvos.size(); ++i)
        if (!lidas[i])
            r.erros[i] = std::make_exception_ptr(TableError(
                QStringLiteral("Arquivo de tabela ausente: %1").arg(TableFiles[size_t(alvos[i].tag)])));
    return r;
}

// A reading of the project named on the command line, started on a worker thread while the window is
// still being built, and the file as it was then: LeProjeto takes it over only for that same file,
// unchanged, read for the same columns.
struct Antecipada {
    QString caminho;
    qint64 tamanho = -1;
    QDateTime modificado;
    std::vector<Alvo> alvos;
    std::future<Leitura> leitura;
};

std::unique_ptr<Antecipada>& LeituraAntecipada()
{
    static std::unique_ptr<Antecipada> a;
    return a;
}

std::optional<Leitura> TomaAntecipada(const QString& arquivo, const std::vector<Alvo>& alvos)
{
    std::unique_ptr<Antecipada>& a = LeituraAntecipada();
    const QFileInfo info(arquivo);
    if (!a || a->caminho != info.absoluteFilePath())
        return std::nullopt;
    std::unique_ptr<Antecipada> tomada = std::move(a);
    Leitura lida = tomada->leitura.get();
    if (info.size() != tomada->tamanho || info.lastModified() != tomada->modificado || !MesmasColunas(alvos, tomada->alvos))
        return std::nullopt;
    return lida;
}

} // namespace

// Entries an archive may hold besides the header and the table files.
// The send log came after the 47 entries; files written before it open as they are.
const QStringList EntradasOpcionais = {ArquivoEnvios};

QStringList EntradasPermitidas() { return EntradasDoProjeto() + EntradasOpcionais; }

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

// The program's own folder is never written, not even by a user who may: an installed program's folder
// belongs to its package, and a file left there would outlive the package's removal.
static bool PastaDoProprioPrograma(const QString& pasta)
{
    const QString real = QFileInfo(pasta).canonicalFilePath();
    return !real.isEmpty() && real == QFileInfo(app::PastaDoPrograma()).canonicalFilePath();
}

QString GarantePastaDeTrabalho()
{
    app::ProgramState& e = app::Estado();
    if (PastaDoProprioPrograma(e.ProgramDir) || !PastaGravavel(e.ProgramDir))
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

// "Projeto.txt" stays in the working folder after an open or a save. It is written anew, never
// through a link left under its name; it is only a copy, so a failure costs nothing.
void DeixaCabecalho(const QByteArray& texto)
{
    try {
        Table::writeFile(GarantePastaDeTrabalho() + ArquivoCabecalho, texto);
    } catch (const std::exception&) {
    }
}

void AntecipaLeitura(const QString& arquivo)
{
    DescartaLeituraAntecipada();
    const QFileInfo info(arquivo);
    if (!info.isFile())
        return;
    auto a = std::make_unique<Antecipada>();
    a->caminho = info.absoluteFilePath();
    a->tamanho = info.size();
    a->modificado = info.lastModified();
    a->alvos = AlvosDosEsquemas();
    a->leitura = std::async(std::launch::async, [caminho = a->caminho, alvos = a->alvos] { return LeArquivo(caminho, alvos); });
    LeituraAntecipada() = std::move(a);
}

void DescartaLeituraAntecipada()
{
    // The future waits for its thread as it goes.
    LeituraAntecipada().reset();
}

bool LeProjeto(const QString& arquivo)
{
    const QString pastaDeTrabalho = GarantePastaDeTrabalho();
    // Files left by an earlier failed save must not stand in for entries this archive lacks.
    ApagaArquivosTabelas();
    QFile::remove(pastaDeTrabalho + ArquivoCabecalho);
    PastaPrivada::LimpaSobras(arquivo);

    const std::vector<Alvo> alvos = AlvosDasTabelas();
    std::optional<Leitura> antecipada = TomaAntecipada(arquivo, alvos);
    Leitura lida = antecipada ? std::move(*antecipada) : LeArquivo(arquivo, alvos);
    if (lida.resultado != ArquivoZip::Ok) {
        const QString nome = QFileInfo(arquivo).fileName();
        if (const QString motivo = MotivoDaLeitura(lida.resultado); !motivo.isEmpty())
            Erro(QStringLiteral("Erro na leitura do projeto ") + nome + app::CR + motivo);
        else
            Erro(QStringLiteral("Erro na leitura do arquivo ") + nome + app::CR
                 + QStringLiteral("Não foi possível carregar o projeto. Senha incorreta?"));
        ApagaArquivosTabelas();
        return false;
    }

    bool ok = false;
    QString codigo;
    switch (LeCabecalho(lida.cabecalho, codigo)) {
    case Cabecalho::Danificado:
        Erro(TextoArquivoInvalido);
        break;
    case Cabecalho::Incompativel:
        Erro(QStringLiteral("Arquivo incompatível com o REZOZUR Eva-Rudo 1.3.1.") + app::CR
             + QStringLiteral("Impossível continuar leitura."));
        break;
    case Cabecalho::Bom:
        app::Estado().ProjectCode = codigo;
        DeixaCabecalho(lida.cabecalho);
        try {
            for (const std::exception_ptr& e : lida.erros)
                if (e)
                    std::rethrow_exception(e);
            DataGeral().InstallTablesAndIndexes(std::move(lida.tabelas));
            LeRegistroEnvios(lida.envios, lida.enviosAlemDoLimite);
            // And the decoded rows' lists and the sorts' working room, now that every table is in place.
            DevolveMemoriaLivre();
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
    PastaPrivada::LimpaSobras(arquivo);

    // The entries go into the archive straight from memory: no decrypted table touches the disk.
    const std::vector<Table*> tabelas = dados().armazenadas();
    IndicesGuardados indices(tabelas);
    std::vector<QByteArray> textos;
    bool tabelasGravadas = true;
    try {
        textos = DataGeral().EncodeTables();
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
    // The wait window counts the tables as it did when each was written to a file of its own.
    for (size_t i = 0; i < tabelas.size(); ++i)
        app::ProgressoEspera(10 * (int(i) + 1), MaximoProgressoGravacao);

    const QByteArray cabecalho = TextoDoCabecalho(app::Estado().ProjectCode);
    ArquivoZip zip;
    zip.ZipFileName = arquivo;
    zip.Password = SenhaDoProjeto;
    // The header, then the table files in slot order, then the send log, so that readers that know
    // only the first two find them where they always were.
    zip.Conteudos << qMakePair(ArquivoCabecalho, cabecalho);
    for (int slot = 0; slot < NumSlots; ++slot)
        for (size_t i = 0; i < tabelas.size(); ++i)
            if (tabelas[i]->tag() == slot)
                zip.Conteudos << qMakePair(TableFiles[size_t(slot)], textos[i]);
    zip.Conteudos << qMakePair(ArquivoEnvios, Envios().texto());
    textos.clear();
    const int resultado = zip.Compacta(arquivo + QStringLiteral(".bak"));
    DeixaCabecalho(cabecalho);
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
