#include "tests/edit/ApoioDialogosAtividades.h"

#include "core/ProgramState.h"

#include <QDir>
#include <QStringList>

void DialogoAtividadeTest::SetUp()
{
    store::criaDados();
    // Item lists from memory: a few items per file, the values the tests choose among them.
    m_leitorAnterior = edit::TrocaLeitorDeItens([](const QString& arquivo) {
        if (arquivo.startsWith(QLatin1String("tipos_capacitacao_rh")))
            return QStringList{QStringLiteral("TREINAMENTO NO PAÍS"), QStringLiteral("PARTICIPAÇÃO EM EVENTO NO PAÍS"),
                               QStringLiteral("TREINAMENTO NO EXTERIOR"),
                               QStringLiteral("PARTICIPAÇÃO EM EVENTO NO EXTERIOR")};
        if (arquivo.startsWith(QLatin1String("paises")))
            return QStringList{QStringLiteral("BRASIL"), QStringLiteral("ARGENTINA")};
        if (arquivo.startsWith(QLatin1String("frequencias_curso")))
            return QStringList{QStringLiteral("REGULAR"), QStringLiteral("EVENTUAL")};
        return QStringList{QStringLiteral("ITEM A"), QStringLiteral("ITEM B")};
    });
    edit::EscolhasAtividades e;
    e.areaConhec = [this](store::Table&, store::Table& filho, const QString& campoLigacao, int modo,
                          const QString& valorLigacao) {
        if (areasEscolhidas.empty())
            return false;
        filho.append();
        const bool trabalho = filho.name() == QLatin1String("tbTrabalhoAreaConhec");
        filho.setValue(trabalho ? QStringLiteral("DescArea") : QStringLiteral("DescricaoAreaConhec"),
                       areasEscolhidas.front());
        areasEscolhidas.pop_front();
        if (campoLigacao != edit::SemLigacao)
            filho.setValue(campoLigacao, valorLigacao);
        filho.setValue(QStringLiteral("Status"), modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
        // The material's areas stay unposted for its dialog.
        if (filho.name() != QLatin1String("tbMaterialAreaConhec"))
            filho.post();
        return true;
    };
    e.acesso = [this](store::Table& acessos, const QString& base, int modo) {
        if (acessosEscolhidos.empty())
            return false;
        acessos.append();
        acessos.setValue(QStringLiteral("TipoAcesso"), acessosEscolhidos.front());
        acessosEscolhidos.pop_front();
        acessos.setValue(QStringLiteral("Identificacao"), base);
        acessos.setValue(QStringLiteral("Status"), modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
        acessos.post();
        return true;
    };
    e.acaoCorretiva = [this](store::Table& acoes, const QString& problema, int modo) {
        if (acoesEscolhidas.empty())
            return false;
        acoes.append();
        acoes.setValue(QStringLiteral("Cod_Acao"), QStringLiteral("19"));
        acoes.setValue(QStringLiteral("TipoAcao"), acoesEscolhidas.front());
        acoesEscolhidas.pop_front();
        acoes.setValue(QStringLiteral("Cod_Problema"), problema);
        acoes.setValue(QStringLiteral("Status"), modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
        acoes.post();
        return true;
    };
    m_escolhasAnteriores = edit::TrocaEscolhasAtividades(std::move(e));
    app::Estado().ProjectModified = false;
}

void DialogoAtividadeTest::TearDown()
{
    EXPECT_TRUE(roteiro.inesperadas.isEmpty()) << roteiro.inesperadas.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(roteiro.respostasPendentes(), 0);
    logica.reset();
    edit::TrocaEscolhasAtividades(std::move(m_escolhasAnteriores));
    edit::TrocaLeitorDeItens(std::move(m_leitorAnterior));
    store::destroiDados();
}

store::Table::Bookmark DialogoAtividadeTest::linha(store::Table& t, Valores valores)
{
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    t.append();
    for (const auto& [c, v] : valores)
        t.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
    t.post();
    const auto b = t.bookmark();
    t.setFiltered(filtrada);
    return b;
}

bool DialogoAtividadeTest::vaiPara(store::Table& t, const char* coluna, const QString& valor)
{
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    store::Table::Bookmark achada = 0;
    const int c = t.fieldIndexOrThrow(QString::fromLatin1(coluna));
    for (auto b : t.visibleRows())
        if (t.rowValue(b, c) == valor) {
            achada = b;
            break;
        }
    t.setFiltered(filtrada);
    return achada != 0 && t.gotoBookmark(achada);
}

QStringList DialogoAtividadeTest::linhas(store::Table& t, std::initializer_list<const char*> colunas)
{
    // Read without moving the cursor or touching the filter: a dialog may have a row in edit.
    QStringList r;
    for (auto b : t.naturalRows()) {
        QStringList v;
        for (const char* c : colunas)
            v << t.rowValue(b, t.fieldIndexOrThrow(QString::fromLatin1(c)));
        r << v.join(QLatin1Char('|'));
    }
    return r;
}

int DialogoAtividadeTest::conta(store::Table& t, const char* coluna, const QString& texto)
{
    int n = 0;
    const int c = t.fieldIndexOrThrow(QString::fromLatin1(coluna));
    for (auto b : t.naturalRows())
        n += t.rowValue(b, c) == texto;
    return n;
}

QStringList DialogoAtividadeTest::fotografia()
{
    QStringList r;
    for (store::Table* t : d().todas()) {
        r << t->name() + QStringLiteral(" filtro=") + t->filter() + QStringLiteral(" ligado=")
                 + QString::number(int(t->filtered())) + QStringLiteral(" indice=") + t->indexName();
        for (auto b : t->naturalRows()) {
            QStringList v;
            for (int i = 0; i < t->fieldCount(); ++i)
                v << t->rowValue(b, i);
            r << v.join(QLatin1Char('|'));
        }
    }
    return r;
}

void DialogoAtividadeTest::projeto(const char* assinatura)
{
    store::Table& p = d().identificacao().tbProjeto;
    linha(p, {{"Status", "N"}, {"Cod_Proj", "1"}, {"DataAssinat", assinatura}});
    p.first();
}

int DialogoAtividadeTest::abre(bool inserir, store::Table& tabela, const QString& chave,
                               const std::function<std::unique_ptr<edit::EdicaoEntidade>(edit::Formulario&)>& cria,
                               const std::function<void()>& roteiroDoUsuario)
{
    form = {};
    logica = cria(form);
    form.instala(*logica);
    int resultado = -1;
    auto dialogo = form.dialogo([&] {
        if (roteiroDoUsuario)
            roteiroDoUsuario();
    });
    // AbreEdicao frees the dialog; the exec result is read through a wrapper.
    struct Captura : edit::DialogoEdicao {
        std::unique_ptr<edit::DialogoEdicao> interno;
        int* resultado;
        int tag() const override { return interno->tag(); }
        void setTag(int t) override { interno->setTag(t); }
        int exec() override { return *resultado = interno->exec(); }
    };
    auto captura = std::make_unique<Captura>();
    captura->interno = std::move(dialogo);
    captura->resultado = &resultado;
    edit::AbreEdicao(inserir, std::move(captura), tabela, nullptr, chave);
    return resultado;
}
