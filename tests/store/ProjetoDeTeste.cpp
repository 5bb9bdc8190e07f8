#include "ProjetoDeTeste.h"

#include "core/ProgramState.h"
#include "store/Dados.h"

namespace teste {

AmbienteDeProjeto::AmbienteDeProjeto()
    : m_pasta(std::make_unique<QTemporaryDir>())
{
    store::criaDados();
    app::InicializaEstado(m_pasta->path());
}

AmbienteDeProjeto::~AmbienteDeProjeto()
{
    app::InicializaEstado(QString());
    store::destroiDados();
}

QString AmbienteDeProjeto::pasta() const { return app::ComBarra(m_pasta->path()); }

namespace {

QString Valor(const store::FieldDef& f, int linha, int coluna, quint32& aleatorio)
{
    aleatorio = aleatorio * 1103515245u + 12345u;
    const int limite = f.type == store::FieldType::Memo ? 400 : f.size;
    QString v;
    switch ((linha + coluna) % 9) {
    case 0: v = QStringLiteral(" "); break;
    case 1: v = f.required ? QStringLiteral("x") : QString(); break;
    case 2: v = QStringLiteral("Ação \"%1\", coração; ü").arg(linha); break;
    case 3: v = QString(limite, QLatin1Char('a' + char(coluna % 26))); break;
    case 4:
        v = f.type == store::FieldType::Memo ? QStringLiteral("linha 1\r\nlinha 2\nlinha 3,\"fim\"")
                                             : QStringLiteral("%1/%2").arg(linha).arg(coluna);
        break;
    default: v = QStringLiteral("v%1-%2-%3").arg(linha).arg(coluna).arg(aleatorio % 100000); break;
    }
    if (v.size() > limite)
        v.truncate(limite);
    if (f.required && v.isEmpty())
        v = QStringLiteral("r");
    return v;
}

} // namespace

void PreencheProjeto(int linhasPorTabela, int semente)
{
    static const QString letras[] = {QStringLiteral("N"), QStringLiteral("A"), QStringLiteral("I"), QStringLiteral("D")};
    quint32 aleatorio = quint32(semente);
    for (store::Table* t : store::dados().armazenadas()) {
        t->disableControls();
        for (int i = 0; i < linhasPorTabela; ++i) {
            t->append();
            t->setValue(0, letras[i % 4]);
            for (int c = 1; c < t->fieldCount(); ++c)
                t->setValue(c, Valor(t->field(c), i, c, aleatorio));
            t->post();
        }
        t->enableControls();
    }
    store::DataGeral().EmptyRecord();
}

Instantaneo TiraInstantaneo()
{
    Instantaneo r;
    for (store::Table* t : store::dados().armazenadas()) {
        const bool filtrada = t->filtered();
        const QString indice = t->indexName();
        t->setFiltered(false);
        t->setIndexName(QString());
        QList<QStringList> linhas;
        for (store::Table::Bookmark b : t->visibleRows()) {
            QStringList valores;
            for (int c = 0; c < t->fieldCount(); ++c)
                valores << t->rowValue(b, c);
            linhas << valores;
        }
        t->setIndexName(indice);
        t->setFiltered(filtrada);
        r.insert(t->name(), linhas);
    }
    return r;
}

int TotalDeLinhas()
{
    int n = 0;
    for (store::Table* t : store::dados().armazenadas())
        n += t->totalRowCount();
    return n;
}

} // namespace teste
