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
#include <QStringDecoder>

#include <algorithm>

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

bool ByteIndefinido(unsigned char b)
{
    // The five bytes Windows-1252 leaves without a character, and controls that no list holds.
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
        return true;
    return b < 0x20 && b != '\t' && b != '\r' && b != '\n';
}

// Decodes Windows-1252, refusing what cannot be such a file: undefined bytes, and a text that is in
// fact UTF-8 (a list saved by an editor in its own default), which would show "Ã" garbage in every
// accented item.
QString Decodifica(const QByteArray& bytes, const QString& nome)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        throw FalhaTabelaInterna(nome, QStringLiteral("gravado em UTF-8, não em Windows-1252"));
    bool temAlto = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        if (ByteIndefinido(b))
            throw FalhaTabelaInterna(nome, QStringLiteral("byte 0x%1 na posição %2 não é Windows-1252")
                                               .arg(int(b), 2, 16, QLatin1Char('0'))
                                               .arg(i));
        temAlto = temAlto || b >= 0x80;
    }
    if (temAlto) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString comoUtf8 = utf8(bytes);
        if (!utf8.hasError())
            throw FalhaTabelaInterna(nome, QStringLiteral("gravado em UTF-8, não em Windows-1252"));
    }
    return net::DeWindows1252(bytes);
}

// The file's lines without their line ends.
QStringList Linhas(const QString& texto)
{
    QStringList linhas = texto.split(QLatin1Char('\n'));
    for (QString& l : linhas)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return linhas;
}

bool EmBranco(const QString& s)
{
    for (const QChar c : s)
        if (!c.isSpace())
            return false;
    return true;
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
    for (QString& linha : Linhas(Decodifica(bytes, nome)))
        if (!EmBranco(linha))
            itens.append(std::move(linha));
    return itens;
}

ArvoreTabela ArvoreDeBytes(const QByteArray& bytes, const QString& nome)
{
    ArvoreTabela nos;
    int anterior = -1;  // depth of the line above; a root comes first
    int numero = 0;
    for (const QString& linha : Linhas(Decodifica(bytes, nome))) {
        ++numero;
        if (EmBranco(linha))
            continue;
        int nivel = 0;
        while (nivel < linha.size() && linha.at(nivel) == QLatin1Char('\t'))
            ++nivel;
        if (nivel > anterior + 1)
            throw FalhaTabelaInterna(nome, QStringLiteral("linha %1 está mais funda do que a linha acima permite")
                                               .arg(numero));
        nos.push_back({linha.mid(nivel), nivel});
        anterior = nivel;
    }
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
