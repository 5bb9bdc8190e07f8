#include "edit/TabelasInternas.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "net/TextoTabela.h"
#include "net/Transporte.h"
#include "store/Table.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cstring>

namespace edit {

namespace {

// The largest lookup file read; the real ones are a few tens of kilobytes.
constexpr qint64 TamanhoMaximo = 4 * 1024 * 1024;
// A table text is read from the file's first line, up to this many characters.
constexpr int LimiteTextoTabela = 25500;

QByteArray LeBytes(const QString& nome)
{
    const QString caminho = CaminhoTabela(nome);
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw FalhaTabelaInterna(nome, QStringLiteral("não pode ser lido: ") + arquivo.errorString());
    if (arquivo.size() > TamanhoMaximo)
        throw FalhaTabelaInterna(nome, QStringLiteral("grande demais"));
    QByteArray bytes = arquivo.read(TamanhoMaximo + 1);
    if (arquivo.error() != QFileDevice::NoError)
        throw FalhaTabelaInterna(nome, QStringLiteral("não pode ser lido: ") + arquivo.errorString());
    if (bytes.size() > TamanhoMaximo)
        throw FalhaTabelaInterna(nome, QStringLiteral("grande demais"));
    return bytes;
}

// The bytes no lookup file holds: the five that Windows-1252 leaves without a character, and the
// controls other than tab, carriage return and line feed.
constexpr std::array<bool, 256> tabelaIndefinidos()
{
    std::array<bool, 256> t{};
    for (int b = 0; b < 0x20; ++b)
        t[std::size_t(b)] = b != '\t' && b != '\r' && b != '\n';
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        t[std::size_t(b)] = true;
    return t;
}
constexpr std::array<bool, 256> Indefinido = tabelaIndefinidos();

// Whether the bytes, read as UTF-8, are well formed and hold at least one character of two bytes or
// more: an item list in Portuguese saved as UTF-8 always does, a Windows-1252 one practically never.
bool PareceUtf8(const QByteArray& bytes)
{
    bool multiplo = false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        int seguem = 0;
        if (b < 0x80)
            seguem = 0;
        else if (b >= 0xC2 && b <= 0xDF)
            seguem = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            seguem = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            seguem = 3;
        else
            return false;
        if (seguem > 0 && i + seguem >= n)
            return false;
        for (int k = 1; k <= seguem; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        multiplo = multiplo || seguem > 0;
        i += seguem + 1;
    }
    return multiplo;
}

// Refuses what cannot be a Windows-1252 file: undefined bytes, and a text that is in fact UTF-8 (a
// list saved by an editor in its own default), which would show "Ã" garbage in every accented item.
void ConfereBytes(const QByteArray& bytes, const QString& nome)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        throw FalhaTabelaInterna(nome, QStringLiteral("gravado em UTF-8, não em Windows-1252"));
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    unsigned char alto = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (Indefinido[p[i]])
            throw FalhaTabelaInterna(nome, QStringLiteral("byte 0x%1 na posição %2 não é Windows-1252")
                                               .arg(int(p[i]), 2, 16, QLatin1Char('0'))
                                               .arg(i));
        alto |= p[i];
    }
    if ((alto & 0x80) && PareceUtf8(bytes))
        throw FalhaTabelaInterna(nome, QStringLiteral("gravado em UTF-8, não em Windows-1252"));
}

QString Decodifica(const QByteArray& bytes, const QString& nome)
{
    ConfereBytes(bytes, nome);
    return net::DeWindows1252(bytes);
}

bool EmBranco(const char* p, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i)
        if (p[i] != ' ' && p[i] != '\t' && static_cast<unsigned char>(p[i]) != 0xA0)
            return false;
    return true;
}

bool EmBranco(const QString& s) { return s.trimmed().isEmpty(); }

// Calls `f` with each line of the checked bytes, without its line end; each line is decoded by `f`
// alone, so that no copy of the whole text is made.
template <class F>
void PorLinha(const QByteArray& bytes, const QString& nome, F&& f)
{
    ConfereBytes(bytes, nome);
    const char* p = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype inicio = 0;
    while (inicio <= n) {
        const void* lf = inicio < n ? std::memchr(p + inicio, '\n', std::size_t(n - inicio)) : nullptr;
        const qsizetype fim = lf ? static_cast<const char*>(lf) - p : n;
        qsizetype tamanho = fim - inicio;
        if (tamanho > 0 && p[inicio + tamanho - 1] == '\r')
            --tamanho;
        f(p + inicio, tamanho);
        inicio = fim + 1;
    }
}

} // namespace

FalhaTabelaInterna::FalhaTabelaInterna(const QString& arquivo, const QString& motivo)
    : std::runtime_error(QString(QStringLiteral("tabela interna ") + arquivo + QStringLiteral(": ") + motivo).toStdString()),
      m_arquivo(arquivo), m_motivo(motivo)
{
}

void AvisaFalhaTabelaInterna() { app::Mensagem(MensagemFalhaTabela, app::Icone::Erro); }

QString PastaTabelas() { return app::Estado().SystemDir + QStringLiteral("tabelas/"); }

QString CaminhoTabela(const QString& nome)
{
    const QDir pasta(PastaTabelas());
    const QString exato = pasta.filePath(nome);
    if (QFileInfo(exato).isFile())
        return exato;
    const QStringList nomes = pasta.entryList(QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
    for (const QString& n : nomes)
        if (n.compare(nome, Qt::CaseInsensitive) == 0)
            return pasta.filePath(n);
    throw FalhaTabelaInterna(nome, QStringLiteral("não encontrada em ") + pasta.path());
}

QStringList ListaDeBytes(const QByteArray& bytes, const QString& nome)
{
    QStringList itens;
    PorLinha(bytes, nome, [&](const char* linha, qsizetype tamanho) {
        if (!EmBranco(linha, tamanho))
            itens.append(net::DeWindows1252(linha, tamanho));
    });
    return itens;
}

ArvoreTabela ArvoreDeBytes(const QByteArray& bytes, const QString& nome)
{
    ArvoreTabela nos;
    int anterior = -1;  // depth of the line above; a root comes first
    int numero = 0;
    nos.reserve(std::size_t(bytes.count('\n')) + 1);
    PorLinha(bytes, nome, [&](const char* linha, qsizetype tamanho) {
        ++numero;
        if (EmBranco(linha, tamanho))
            return;
        int nivel = 0;
        while (nivel < tamanho && linha[nivel] == '\t')
            ++nivel;
        if (nivel > anterior + 1)
            throw FalhaTabelaInterna(nome, QStringLiteral("linha %1 está mais funda do que a linha acima permite")
                                               .arg(numero));
        nos.push_back({net::DeWindows1252(linha + nivel, tamanho - nivel), nivel});
        anterior = nivel;
    });
    return nos;
}

int TextoTabelaDeBytes(const QByteArray& bytes, store::Table& tabela, const QString& nome)
{
    // The table is the file's first line: its rows are ended by line feeds, the line by a carriage
    // return (or the end of the file).
    QByteArray linha = bytes.left(LimiteTextoTabela);
    const qsizetype cr = linha.indexOf('\r');
    if (cr >= 0)
        linha.truncate(cr);
    if (EmBranco(Decodifica(linha, nome)))
        return 0;

    net::LeitorQuadro leitor(linha);
    if (!leitor.valido())
        throw FalhaTabelaInterna(nome, QStringLiteral("a primeira linha não traz uma tabela entre <InitTab> e <FimTab>"));
    // Every row must fit the table before any is added: CreateTable keeps the rows it accepts.
    int linhas = 0;
    while (leitor.proximaLinha()) {
        ++linhas;
        for (int c = 0; c < tabela.fieldCount() && leitor.temCampo(); ++c) {
            const store::FieldDef& campo = tabela.field(c);
            const QString valor = leitor.campo();
            if (campo.type == store::FieldType::Text && valor.size() > campo.size)
                throw FalhaTabelaInterna(nome, QStringLiteral("a linha %1 excede o tamanho do campo %2")
                                                   .arg(linhas)
                                                   .arg(campo.name));
        }
    }

    store::Table rascunho(tabela.name(), tabela.tag(), tabela.fields());
    rascunho.open();
    const int lidas = net::CreateTable(linha, rascunho);
    if (lidas != linhas)
        throw FalhaTabelaInterna(nome, QStringLiteral("linhas recusadas pela tabela"));

    if (!tabela.active())
        tabela.open();
    tabela.disableControls();
    struct Religa {
        store::Table& t;
        ~Religa() { t.enableControls(); }
    } religa{tabela};
    for (const store::Table::Bookmark b : rascunho.visibleRows()) {
        tabela.append();
        for (int c = 0; c < tabela.fieldCount(); ++c)
            tabela.setValue(c, rascunho.rowValue(b, c));
        tabela.post();
    }
    return lidas;
}

bool VemAntes(const QString& a, const QString& b)
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const int r = collator.compare(a, b);
    return r != 0 ? r < 0 : a < b;
}

QStringList ItensOrdenados(QStringList itens)
{
    std::stable_sort(itens.begin(), itens.end(), VemAntes);
    return itens;
}

ArvoreTabela ArvoreOrdenada(const ArvoreTabela& arvore)
{
    // Children of each node by index; the roots hang from a virtual node at the end.
    const int n = int(arvore.size());
    std::vector<std::vector<int>> filhos(std::size_t(n) + 1);
    std::vector<int> pilha;  // the last node seen at each depth
    for (int i = 0; i < n; ++i) {
        const int nivel = arvore[std::size_t(i)].nivel;
        pilha.resize(std::size_t(nivel));
        filhos[std::size_t(pilha.empty() ? n : pilha.back())].push_back(i);
        pilha.push_back(i);
    }
    ArvoreTabela resultado;
    resultado.reserve(arvore.size());
    auto visita = [&](auto&& self, int no) -> void {
        std::vector<int>& f = filhos[std::size_t(no)];
        std::stable_sort(f.begin(), f.end(), [&](int a, int b) {
            return VemAntes(arvore[std::size_t(a)].texto, arvore[std::size_t(b)].texto);
        });
        for (const int c : f) {
            resultado.push_back(arvore[std::size_t(c)]);
            self(self, c);
        }
    };
    visita(visita, n);
    return resultado;
}

QStringList LeListaItens(const QString& nome) { return ListaDeBytes(LeBytes(nome), nome); }

ArvoreTabela LeArvore(const QString& nome) { return ArvoreDeBytes(LeBytes(nome), nome); }

int LeTextoTabela(const QString& nome, store::Table& tabela) { return TextoTabelaDeBytes(LeBytes(nome), tabela, nome); }

bool CarregaNiveisCurso(store::Table& nivel, store::Table& subNivel)
{
    // The whole tables count, not what a filter shows: the course dialog filters the sub-levels by level.
    if (nivel.totalRowCount() > 0 || subNivel.totalRowCount() > 0)
        return false;
    app::AbreEspera(QStringLiteral("Carregando tabela de Níveis"));
    try {
        LeTextoTabela(QStringLiteral("niveis_curso.txt"), nivel);
        app::TextoEspera(QStringLiteral("Carregando tabela de Sub-níveis"));
        LeTextoTabela(QStringLiteral("subniveis_curso.txt"), subNivel);
    } catch (...) {
        app::FechaEspera();
        nivel.emptyTable();
        subNivel.emptyTable();
        throw;
    }
    app::FechaEspera();
    return true;
}

} // namespace edit
