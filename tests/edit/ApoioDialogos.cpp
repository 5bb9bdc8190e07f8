#include "ApoioDialogos.h"

#include "core/ProgramState.h"
#include "edit/FonteDeItens.h"

namespace {

edit::LeitorDeItens g_anterior;

// Short lists that hold every value the tests choose.
QStringList listaDeTeste(const QString& arquivo)
{
    if (arquivo.startsWith(QLatin1String("tipos_vinculacao")))
        return {QStringLiteral("CONTRATUAL"), QStringLiteral("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")};
    if (arquivo.startsWith(QLatin1String("estados_brasil")))
        return {QStringLiteral("SP"), QStringLiteral("RJ"), QStringLiteral("AM"), QStringLiteral("XX")};
    if (arquivo.startsWith(QLatin1String("paises")))
        return {QStringLiteral("BRASIL"), QStringLiteral("ARGENTINA"), QStringLiteral("CHILE")};
    if (arquivo.startsWith(QLatin1String("tipos_patente")))
        return {QStringLiteral("PATENTE DE INVENÇÃO"), QStringLiteral("MODELO DE UTILIDADE")};
    return {QStringLiteral("TIPO A"), QStringLiteral("TIPO B")};
}

} // namespace

void DialogoTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    app::Estado().SystemDir = app::ComBarra(m_dir.path());
    store::criaDados();
    m_seam = std::make_unique<app::InteracaoRoteirizada>();
    g_anterior = edit::TrocaLeitorDeItens(listaDeTeste);
    inclui(d().identificacao().tbProjeto, {{"Cod_Proj", "1"}, {"DataAssinat", "01/06/1995"}});
}

void DialogoTest::TearDown()
{
    edit::TrocaLeitorDeItens(g_anterior);
    EXPECT_TRUE(m_seam->inesperadas.isEmpty()) << m_seam->inesperadas.join(QLatin1Char('\n')).toStdString();
    m_seam.reset();
    store::destroiDados();
}

store::Table::Bookmark DialogoTest::inclui(store::Table& t, Campos campos)
{
    if (!t.active())
        t.open();
    const bool filtrada = t.filtered();
    t.setFiltered(false);
    t.append();
    t.setValue(QStringLiteral("Status"), QStringLiteral("N"));
    for (const auto& [c, v] : campos)
        t.setValue(QString::fromLatin1(c), QString::fromUtf8(v));
    t.post();
    const auto b = t.bookmark();
    t.setFiltered(filtrada);
    t.gotoBookmark(b);
    return b;
}

bool DialogoTest::vaiPara(store::Table& t, const char* campo, const QString& valor)
{
    const int c = t.fieldIndexOrThrow(QString::fromLatin1(campo));
    for (const auto b : t.naturalRows())
        if (t.rowValue(b, c) == valor) {
            if (!t.gotoBookmark(b)) {
                t.setFiltered(false);
                t.gotoBookmark(b);
            }
            return true;
        }
    return false;
}

QString DialogoTest::valorDe(store::Table& t, const char* campoChave, const QString& chave, const char* campo)
{
    const int k = t.fieldIndexOrThrow(QString::fromLatin1(campoChave));
    const int c = t.fieldIndexOrThrow(QString::fromLatin1(campo));
    for (const auto b : t.naturalRows())
        if (t.rowValue(b, k) == chave)
            return t.rowValue(b, c);
    return QStringLiteral("<ausente>");
}

QString DialogoTest::dump(store::Table& t)
{
    QString r = t.filter() + QLatin1Char('|') + QString::number(t.filtered()) + QLatin1Char('\n');
    for (const auto b : t.naturalRows()) {
        for (int c = 0; c < t.fieldCount(); ++c)
            r += t.rowValue(b, c) + QLatin1Char(';');
        r += QLatin1Char('\n');
    }
    return r;
}

void DialogoTest::adicionaFilho(store::Table& t, const char* ligacao, const QString& codigo, const char* descricao,
                                const char* campoDescricao, int modo)
{
    const bool filtrada = t.filtered();
    t.append();
    t.setValue(QString::fromLatin1(ligacao), codigo);
    t.setValue(QString::fromLatin1(campoDescricao), QString::fromUtf8(descricao));
    t.setValue(QStringLiteral("Status"), modo == 1 ? QStringLiteral("I") : QStringLiteral("E"));
    t.post();
    t.setFiltered(filtrada);
}
