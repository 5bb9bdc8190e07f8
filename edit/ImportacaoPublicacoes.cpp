#include "edit/ImportacaoPublicacoes.h"

#include "edit/Edicao.h"
#include "edit/Escolha.h"
#include "edit/FonteDeItens.h"
#include "edit/RegrasPublicacao.h"
#include "edit/TabelasInternas.h"
#include "edit/ValidaDatas.h"

#include "core/ProgramState.h"
#include "net/Transporte.h"
#include "store/Dados.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <tuple>

namespace edit {

namespace {

const QString Codigo = QStringLiteral("Cod_Publicacao");

// Entry types of BibTeX (lower case) and RIS to the items of tipos_publicacao_projeto.txt. Types
// not listed (a data set, a patent, a computer program) are left to the user.
const std::pair<const char*, const char16_t*> TiposConhecidos[] = {
    {"article", u"ARTIGO EM PERIÓDICO"},        {"JOUR", u"ARTIGO EM PERIÓDICO"},
    {"JFULL", u"ARTIGO EM PERIÓDICO"},          {"EJOUR", u"ARTIGO EM PERIÓDICO"},
    {"inproceedings", u"ARTIGO EM ANAIS DE EVENTO"}, {"conference", u"ARTIGO EM ANAIS DE EVENTO"},
    {"CONF", u"ARTIGO EM ANAIS DE EVENTO"},     {"CPAPER", u"ARTIGO EM ANAIS DE EVENTO"},
    {"ABST", u"RESUMO EM ANAIS DE EVENTO"},     {"techreport", u"RELATÓRIO TÉCNICO"},
    {"report", u"RELATÓRIO TÉCNICO"},           {"RPRT", u"RELATÓRIO TÉCNICO"},
    {"MGZN", u"ARTIGO DE DIVULGAÇÃO"},          {"NEWS", u"ARTIGO DE DIVULGAÇÃO"},
    {"book", u"OUTRA"},        {"inbook", u"OUTRA"},        {"incollection", u"OUTRA"},
    {"booklet", u"OUTRA"},     {"manual", u"OUTRA"},        {"misc", u"OUTRA"},
    {"phdthesis", u"OUTRA"},   {"mastersthesis", u"OUTRA"}, {"thesis", u"OUTRA"},
    {"proceedings", u"OUTRA"}, {"unpublished", u"OUTRA"},   {"online", u"OUTRA"},
    {"BOOK", u"OUTRA"},        {"EBOOK", u"OUTRA"},         {"EDBOOK", u"OUTRA"},
    {"CHAP", u"OUTRA"},        {"ECHAP", u"OUTRA"},         {"THES", u"OUTRA"},
    {"GEN", u"OUTRA"},         {"UNPB", u"OUTRA"},          {"ELEC", u"OUTRA"},
    {"SER", u"OUTRA"},         {"PAMP", u"OUTRA"}};

int mesDe(const QString& texto)
{
    bool numero = false;
    const int n = texto.trimmed().toInt(&numero);
    if (numero)
        return n >= 1 && n <= 12 ? n : 0;
    // English and Portuguese names and their abbreviations ("mar", "March", "março", "Mar.-Apr.").
    static const char* nomes[12][2] = {{"jan", "jan"}, {"feb", "fev"}, {"mar", "mar"}, {"apr", "abr"},
                                       {"may", "mai"}, {"jun", "jun"}, {"jul", "jul"}, {"aug", "ago"},
                                       {"sep", "set"}, {"oct", "out"}, {"nov", "nov"}, {"dec", "dez"}};
    // The first three letters of every name, Portuguese ones included ("março"), are plain ASCII.
    const QString inicio = texto.trimmed().left(3).toLower();
    for (int m = 0; m < 12; ++m)
        if (inicio == QLatin1String(nomes[m][0]) || inicio == QLatin1String(nomes[m][1]))
            return m + 1;
    return 0;
}

// The knowledge areas of the choice dialog's tree, in file order.
QStringList areasDaArvore()
{
    QStringList r;
    for (const NoTabela& no : LeArvore(LogicaEscolha::arquivo(TipoEscolha::Conhec)))
        r << no.texto;
    return r;
}

// The item of `lista` the text names, compared without case or accents; empty when none.
QString itemDe(const QStringList& lista, const QString& texto)
{
    if (lista.contains(texto))
        return texto;
    const QString chave = ChaveDeBusca(texto.trimmed());
    for (const QString& item : lista)
        if (ChaveDeBusca(item) == chave)
            return item;
    return QString();
}

// Title and vehicle as the server will hold them: the exchange upper-cases what it sends, so "Água"
// typed here and "ÁGUA" downloaded are one publication there. Compared exactly as stored, a file
// imported again after a send and a download would come in a second time.
// A file names a few journals again and again: each is encoded once.
class ChavesDeDuplicado
{
public:
    QString de(const QString& titulo, const QString& veiculo)
    {
        auto i = m_veiculos.constFind(veiculo);
        if (i == m_veiculos.cend())
            i = m_veiculos.insert(veiculo, net::CodificaValor(veiculo));
        return net::CodificaValor(titulo) + QLatin1Char('&') + *i;
    }

private:
    QHash<QString, QString> m_veiculos;
};

// What the duplicate test compares with: the live publications of the project (not D).
QSet<QString> publicacoesDoProjeto(ChavesDeDuplicado& chaves)
{
    store::Table& t = store::DataResultadosGerados().tbPublicacao;
    const int status = t.fieldIndexOrThrow(QStringLiteral("Status"));
    const int titulo = t.fieldIndexOrThrow(QStringLiteral("Titulo"));
    const int veiculo = t.fieldIndexOrThrow(QStringLiteral("VeiculoPublic"));
    QSet<QString> r;
    for (store::Table::Bookmark b : t.naturalRows())
        if (t.rowValue(b, status) != QLatin1String("D"))
            r.insert(chaves.de(t.rowValue(b, titulo), t.rowValue(b, veiculo)));
    return r;
}

// Maps one entry's fields; its fate is decided afterwards.
PublicacaoImportada mapeia(const ref::Referencia& r, const MembrosDaEquipe& membros, const QSet<QString>& tipos,
                           QHash<QString, QString>& datas)
{
    PublicacaoImportada p;
    p.referencia = r;
    if (!r.erro.isEmpty())
        return p;
    const QString tipo = TipoPublicacaoDe(r.tipo);
    p.tipoConhecido = !tipo.isEmpty() && tipos.contains(tipo);
    if (p.tipoConhecido)
        p.tipo = tipo;
    // The readers leave their texts trimmed, with single blanks.
    p.titulo = r.titulo;
    p.veiculo = !r.periodico.isEmpty() ? r.periodico : !r.livro.isEmpty() ? r.livro : r.editora;
    // A file dates its entries by a few years and months: each date is worked out once.
    const QString quando = QString::number(r.ano.size()) + QLatin1Char(':') + QString::number(r.mes.size())
                           + QLatin1Char(':') + r.ano + r.mes + r.dia;
    auto data = datas.constFind(quando);
    if (data == datas.cend())
        data = datas.insert(quando, DataDaReferencia(r.ano, r.mes, r.dia));
    p.data = *data;
    for (const QString& a : r.autores) {
        p.autor = membros.codigoDe(a);
        if (!p.autor.isEmpty()) {
            p.nomeAutor = membros.nomeDe(p.autor);
            break;
        }
    }
    p.coautores = CoautoresDe(r.autores);
    return p;
}

// The entry's fate, by the dialog's checks in the dialog's order; `ocupadas` holds the title and
// vehicle of the project's publications and of the entries to import before this one.
// The longest title and vehicle the table's columns (and so the dialog's edits) take.
struct Tamanhos {
    int titulo, veiculo;
};

// What the whole file's checks share: the project's signature, the keys of its publications and of
// the entries taken so far, and what was already worked out for a date or a journal met before.
struct Contexto {
    QString assinatura;
    ChavesDeDuplicado chaves;
    QSet<QString> doProjeto;
    QHash<QString, int> doArquivo;
    Tamanhos tamanhos;
    // The date check's reason for each date text met, nothing when it passes.
    QHash<QString, std::optional<QString>> motivoDaData;
};

void decide(PublicacaoImportada& p, const OpcoesImportacao& o, Contexto& c)
{
    const QSet<QString>& doProjeto = c.doProjeto;
    QHash<QString, int>& doArquivo = c.doArquivo;
    const Tamanhos& tamanhos = c.tamanhos;
    const bool estavaMarcada = p.marcada || p.destino != Destino::Importar;
    p.destino = Destino::Recusada;
    p.marcada = false;
    p.qualificacao = o.qualificacao;
    p.pais = o.pais;
    if (!p.referencia.erro.isEmpty()) {
        p.motivo = QStringLiteral("Entrada ilegível (%1).").arg(p.referencia.erro);
        return;
    }
    if (!p.tipoConhecido)
        p.tipo = o.tipoDesconhecido;
    if (p.tipo.isEmpty()) {
        p.motivo = QStringLiteral("O tipo de entrada \"%1\" não corresponde a nenhum Tipo de publicação.")
                       .arg(p.referencia.tipo);
        return;
    }
    auto motivoData = c.motivoDaData.constFind(p.data);
    if (motivoData == c.motivoDaData.cend()) {
        QString data = p.data.isEmpty() ? DataVazia : p.data;
        const auto r = VerificaDataPublicacao(data, c.assinatura);
        motivoData = c.motivoDaData.insert(p.data, r ? std::optional<QString>(r->mensagem) : std::nullopt);
    }
    if (*motivoData) {
        p.motivo = **motivoData;
        return;
    }
    // The dialog's edits hold at most what the table's columns take.
    for (const auto& [campo, valor, tamanho] : {std::tuple{QStringLiteral("Titulo"), &p.titulo, tamanhos.titulo},
                                                std::tuple{QStringLiteral("VeiculoPublic"), &p.veiculo, tamanhos.veiculo}}) {
        if (valor->size() > tamanho) {
            p.motivo = QStringLiteral("O valor do campo '%1' excede o tamanho máximo de %2 caracteres.")
                           .arg(campo)
                           .arg(tamanho);
            return;
        }
    }
    const QString chave = c.chaves.de(p.titulo, p.veiculo);
    const ValoresPublicacao v{p.tipo, p.qualificacao, p.titulo, p.autor, p.veiculo, p.pais, p.data, !o.area.isEmpty()};
    const auto r = VerificaPublicacao(v, [&] { return doProjeto.contains(chave) || doArquivo.contains(chave); });
    if (r) {
        p.destino = r->duplicada ? Destino::Duplicada : Destino::Recusada;
        p.motivo = r->mensagem;
        if (r->duplicada && !doProjeto.contains(chave))
            p.motivo += QStringLiteral(" (repete a entrada da linha %1)").arg(doArquivo.value(chave));
        return;
    }
    p.destino = Destino::Importar;
    p.motivo.clear();
    p.marcada = estavaMarcada;
    doArquivo.insert(chave, p.referencia.linha);
}

void decideTodas(Importacao& imp, const OpcoesImportacao& opcoes)
{
    Contexto c;
    c.assinatura = DataAssinaturaDoProjeto();
    c.doProjeto = publicacoesDoProjeto(c.chaves);
    const store::Table& t = store::DataResultadosGerados().tbPublicacao;
    c.tamanhos = Tamanhos{t.field(t.fieldIndexOrThrow(QStringLiteral("Titulo"))).size,
                          t.field(t.fieldIndexOrThrow(QStringLiteral("VeiculoPublic"))).size};
    for (PublicacaoImportada& p : imp.entradas)
        decide(p, opcoes, c);
}

} // namespace

int Importacao::conta(Destino destino) const
{
    int n = 0;
    for (const PublicacaoImportada& p : entradas)
        n += p.destino == destino;
    return n;
}

int Importacao::marcadas() const
{
    int n = 0;
    for (const PublicacaoImportada& p : entradas)
        n += p.marcada && p.destino == Destino::Importar;
    return n;
}

QString TipoPublicacaoDe(const QString& tipoDaEntrada)
{
    static const QHash<QString, QString> tipos = [] {
        QHash<QString, QString> h;
        for (const auto& [de, para] : TiposConhecidos)
            h.insert(QString::fromLatin1(de).toLower(), QString::fromUtf16(para));
        return h;
    }();
    return tipos.value(tipoDaEntrada.trimmed().toLower());
}

QString DataDaReferencia(const QString& ano, const QString& mes, const QString& dia)
{
    // The year is the first run of four digits ("1998", "{1998}", "1998a"); "no prelo" has none.
    int a = 0;
    for (qsizetype i = 0; i + 4 <= ano.size() && a == 0; ++i) {
        bool digitos = true;
        for (qsizetype k = i; k < i + 4; ++k)
            digitos = digitos && ano[k].isDigit() && ano[k].unicode() < 128;
        if (digitos && (i + 4 == ano.size() || !ano[i + 4].isDigit()))
            a = ano.mid(i, 4).toInt();
    }
    if (a == 0)
        return QString();
    // A publication dated by its month or year is taken at the period's last day, as the program
    // compares months, so that one published in the signature's month or year is not refused as
    // earlier than the project.
    const int m = mesDe(mes);
    QDate data(a, m ? m : 12, 1);
    data = QDate(a, data.month(), data.daysInMonth());
    bool numero = false;
    const int d = dia.trimmed().toInt(&numero);
    if (m && numero && QDate::isValid(a, m, d))
        data = QDate(a, m, d);
    char texto[11];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", data.day(), data.month(), data.year());
    return QString::fromLatin1(texto, 10);
}

QString MotivoNumaLinha(const QString& motivo)
{
    const QStringList linhas = motivo.split(QLatin1Char('\r'), Qt::SkipEmptyParts);
    if (linhas.size() <= 1)
        return motivo.simplified();
    QStringList itens;
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        QString item = linhas[i].trimmed();
        if (item.startsWith(QLatin1Char('-')))
            item = item.mid(1).trimmed();
        itens << item;
    }
    return linhas.first().simplified() + QLatin1Char(' ') + itens.join(QStringLiteral("; "));
}

QString ConfereOpcoes(OpcoesImportacao& o)
{
    QStringList faltas;
    const auto confere = [&](QString& valor, const QStringList& lista, const QString& nome) {
        if (valor.isEmpty())
            return;
        const QString item = itemDe(lista, valor);
        if (item.isEmpty())
            faltas << QStringLiteral("%1 \"%2\" não consta da lista").arg(nome, valor);
        else
            valor = item;
    };
    confere(o.area, areasDaArvore(), QStringLiteral("área do conhecimento"));
    confere(o.qualificacao, ItensDaLista(QStringLiteral("qualif_pub_proj.txt")), QStringLiteral("qualificação"));
    confere(o.pais, ItensDaLista(QStringLiteral("paises.txt")), QStringLiteral("país"));
    confere(o.tipoDesconhecido, ItensDaLista(QStringLiteral("tipos_publicacao_projeto.txt")),
            QStringLiteral("tipo de publicação"));
    return faltas.join(QStringLiteral("; "));
}

Importacao PreparaImportacao(const QByteArray& bytes, const QString& nomeDoArquivo, const OpcoesImportacao& opcoes)
{
    const QString texto = ref::TextoDoArquivo(bytes);
    const QString extensao = QFileInfo(nomeDoArquivo).suffix().toLower();
    bool ris = extensao == QLatin1String("ris");
    if (extensao != QLatin1String("bib") && !ris) {
        // No telling extension: a RIS file starts with its "TY" line.
        ris = texto.trimmed().startsWith(QLatin1String("TY"));
    }
    const std::vector<ref::Referencia> refs = ris ? ref::LeRis(texto) : ref::LeBibtex(texto);
    const QStringList lista = ItensDaLista(QStringLiteral("tipos_publicacao_projeto.txt"));
    const QSet<QString> tipos(lista.cbegin(), lista.cend());
    const MembrosDaEquipe membros;
    Importacao imp;
    imp.entradas.reserve(refs.size());
    QHash<QString, QString> datas;
    for (const ref::Referencia& r : refs)
        imp.entradas.push_back(mapeia(r, membros, tipos, datas));
    decideTodas(imp, opcoes);
    return imp;
}

void ReavaliaImportacao(Importacao& importacao, const OpcoesImportacao& opcoes) { decideTodas(importacao, opcoes); }

int GravaImportacao(const Importacao& importacao, const OpcoesImportacao& opcoes,
                    const std::function<bool(int, int)>& continua)
{
    store::Table& pub = store::DataResultadosGerados().tbPublicacao;
    store::Table& areas = store::DataResultadosGerados().tbPublicAreaConhec;
    const int total = importacao.marcadas();
    // One step: the journals give both tables back exactly, whatever stops the writing.
    const std::unique_ptr<store::Table::Journal> diarioPub = pub.startJournal();
    const std::unique_ptr<store::Table::Journal> diarioAreas = areas.startJournal();
    const bool filtrada = pub.filtered();
    const QString indice = pub.indexName();
    const store::Table::Bookmark marca = pub.bookmark();
    pub.disableControls();
    areas.disableControls();
    const auto restaura = [&] {
        pub.setFiltered(filtrada);
        pub.setIndexName(indice);
        if (marca != 0)
            pub.gotoBookmark(marca);
        pub.enableControls();
        areas.enableControls();
    };
    // The columns are looked up once for the whole file.
    const auto colunas = [](const store::Table& t, std::initializer_list<const char*> nomes) {
        std::vector<int> r;
        for (const char* n : nomes)
            r.push_back(t.fieldIndexOrThrow(QString::fromLatin1(n)));
        return r;
    };
    const std::vector<int> colunasPub =
        colunas(pub, {"Status", "Cod_Publicacao", "TipoPublicacao", "Qualificacao", "Titulo", "Autor", "VeiculoPublic",
                      "PaisPublicacao", "DataPublicacao", "Co_autores"});
    const std::vector<int> colunasArea = colunas(areas, {"Status", "Cod_Publicacao", "DescricaoAreaConhec"});
    const QString Inclusao = QStringLiteral("I");
    int feitas = 0;
    try {
        // The provisional codes are drawn unique among all rows, the filter aside: it is set aside
        // once for the whole file instead of once a row.
        pub.setFiltered(false);
        for (const PublicacaoImportada& p : importacao.entradas) {
            if (!p.marcada || p.destino != Destino::Importar)
                continue;
            if (continua && !continua(feitas, total)) {
                pub.rollBack(*diarioPub);
                areas.rollBack(*diarioAreas);
                restaura();
                return -1;
            }
            const QString codigo = GeraCodigoProvisorio(pub, Codigo);
            pub.append();
            const QString* valores[] = {&Inclusao, &codigo, &p.tipo, &p.qualificacao, &p.titulo, &p.autor,
                                        &p.veiculo, &p.pais, &p.data, &p.coautores};
            for (size_t c = 0; c < std::size(valores); ++c)
                pub.setValue(colunasPub[c], *valores[c]);
            pub.post();
            areas.append();
            areas.setValue(colunasArea[0], Inclusao);
            areas.setValue(colunasArea[1], codigo);
            areas.setValue(colunasArea[2], opcoes.area);
            areas.post();
            ++feitas;
        }
    } catch (...) {
        // The roll-back also abandons a row left half-made by a refused post.
        pub.rollBack(*diarioPub);
        areas.rollBack(*diarioAreas);
        restaura();
        throw;
    }
    restaura();
    if (continua)
        continua(feitas, total);
    if (feitas > 0)
        app::SetModified(true);
    return feitas;
}

} // namespace edit
