#include "store/Table.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

// Table files: one JSON document per table (see docs/arquivos-de-tabela.md). Support staff read
// them with ordinary tools; only this program writes them.

namespace store {

namespace {

constexpr auto Formato = "rezozur-tabela";
constexpr int Versao = 1;
// A table file larger than this is refused rather than read into memory.
constexpr qint64 TamanhoMaximo = qint64(1) << 30;

} // namespace

void Table::saveToFile(const QString& path) const
{
    QJsonArray colunas;
    for (const FieldDef& f : m_fields) {
        QJsonObject c{{QStringLiteral("nome"), f.name},
                      {QStringLiteral("tipo"), f.type == FieldType::Memo ? QStringLiteral("memo")
                                                                          : QStringLiteral("texto")}};
        if (f.type == FieldType::Text)
            c.insert(QStringLiteral("tamanho"), f.size);
        if (f.required)
            c.insert(QStringLiteral("obrigatorio"), true);
        if (!f.label.isEmpty())
            c.insert(QStringLiteral("rotulo"), f.label);
        if (!f.editMask.isEmpty())
            c.insert(QStringLiteral("mascara"), f.editMask);
        colunas.append(c);
    }
    QJsonArray linhas;
    for (const Row* r : m_natural->set) {
        QJsonArray linha;
        for (const QString& v : r->values)
            linha.append(v);
        linhas.append(linha);
    }
    QJsonObject doc{{QStringLiteral("formato"), QString::fromLatin1(Formato)},
                    {QStringLiteral("versao"), Versao},
                    {QStringLiteral("tabela"), m_name},
                    {QStringLiteral("colunas"), colunas},
                    {QStringLiteral("linhas"), linhas}};

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TableError(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(path, file.errorString()));
    file.write(QJsonDocument(doc).toJson(QJsonDocument::Compact));
    if (!file.commit())
        throw TableError(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(path, file.errorString()));
}

void Table::loadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TableError(QStringLiteral("Não foi possível ler o arquivo %1: %2").arg(path, file.errorString()));
    if (file.size() > TamanhoMaximo)
        throw TableError(QStringLiteral("Arquivo de tabela grande demais: %1").arg(path));
    QJsonParseError erro{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &erro);
    const auto ruim = [&](const QString& porque) {
        return TableError(QStringLiteral("Arquivo de tabela danificado (%1): %2").arg(path, porque));
    };
    if (doc.isNull())
        throw ruim(erro.errorString());
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("formato")).toString() != QLatin1String(Formato))
        throw ruim(QStringLiteral("formato desconhecido"));
    if (o.value(QStringLiteral("versao")).toInt() > Versao)
        throw ruim(QStringLiteral("versão mais nova que a do programa"));

    // Columns are matched by name, so a file written with a column more or less still reads.
    std::vector<FieldDef> doArquivo;
    for (const QJsonValue& v : o.value(QStringLiteral("colunas")).toArray()) {
        const QJsonObject c = v.toObject();
        FieldDef f;
        f.name = c.value(QStringLiteral("nome")).toString();
        f.type = c.value(QStringLiteral("tipo")).toString() == QLatin1String("memo") ? FieldType::Memo
                                                                                     : FieldType::Text;
        f.size = c.value(QStringLiteral("tamanho")).toInt(20);
        f.required = c.value(QStringLiteral("obrigatorio")).toBool();
        f.label = c.value(QStringLiteral("rotulo")).toString();
        f.editMask = c.value(QStringLiteral("mascara")).toString();
        if (f.name.isEmpty())
            throw ruim(QStringLiteral("coluna sem nome"));
        doArquivo.push_back(f);
    }
    if (m_fields.empty())
        m_fields = doArquivo;
    std::vector<int> destino;
    for (const FieldDef& f : doArquivo)
        destino.push_back(fieldIndex(f.name));

    const QJsonArray linhas = o.value(QStringLiteral("linhas")).toArray();
    std::vector<std::vector<QString>> lidas;
    lidas.reserve(size_t(linhas.size()));
    for (const QJsonValue& v : linhas) {
        const QJsonArray linha = v.toArray();
        if (linha.size() != qsizetype(doArquivo.size()))
            throw ruim(QStringLiteral("linha com %1 valores para %2 colunas").arg(linha.size()).arg(doArquivo.size()));
        std::vector<QString> valores(m_fields.size());
        for (qsizetype i = 0; i < linha.size(); ++i) {
            if (!linha.at(i).isString())
                throw ruim(QStringLiteral("valor que não é texto"));
            if (destino[size_t(i)] >= 0)
                valores[size_t(destino[size_t(i)])] = linha.at(i).toString();
        }
        lidas.push_back(std::move(valores));
    }

    // Everything parsed: only now replace the table's contents. A table file holds no index.
    if (m_state == State::Edit || m_state == State::Insert)
        cancel();
    m_curIndex = nullptr;
    m_indexes.clear();
    m_natural->set.clear();
    m_rows.clear();
    m_maxSeq = 0;
    for (auto& valores : lidas) {
        auto row = std::make_unique<Row>();
        row->id = m_nextId++;
        row->seq = (m_maxSeq += 1.0);
        row->values = std::move(valores);
        m_natural->set.insert(m_natural->set.end(), row.get());
        m_rows.emplace(row->id, std::move(row));
    }
    m_cur = nullptr;
    m_eof = m_bof = true;
    if (active())
        first();
    notify();
}

} // namespace store
