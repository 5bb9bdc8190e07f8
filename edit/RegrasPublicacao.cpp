#include "edit/RegrasPublicacao.h"

#include "edit/EdicaoEntidade.h"
#include "edit/ValidaDatas.h"

#include <QStringList>

#include <utility>

namespace edit {

namespace {

const QString Geral = QStringLiteral("tsDadosGerais");
const QString Areas = QStringLiteral("tsAreas");

RecusaPublicacao recusa(const QString& mensagem, const QString& pagina, const QString& foco)
{
    return RecusaPublicacao{mensagem, app::Icone::Erro, pagina, foco, false};
}

} // namespace

std::optional<RecusaPublicacao> VerificaDataPublicacao(QString& data, const QString& assinatura)
{
    // The dialog checks the publication date as the end of a period that starts at the signature.
    QString inicio = assinatura;
    if (const auto motivo = MotivoDatas(inicio, data, assinatura))
        return RecusaPublicacao{motivo->texto, motivo->icone, Geral, QStringLiteral("meDataPublicacao"), false};
    return {};
}

std::optional<RecusaPublicacao> VerificaPublicacao(const ValoresPublicacao& v, const std::function<bool()>& duplicada)
{
    const std::pair<const QString*, std::pair<const char16_t*, const char*>> obrigatorios[] = {
        {&v.tipo, {u"Tipo", "dbTipoPublicacao"}},
        {&v.qualificacao, {u"Qualificação", "DBQualificacao"}},
        {&v.titulo, {u"Título", "dbeTitulo"}},
        {&v.autor, {u"Autor Principal", "dbcAutor"}},
        {&v.veiculo, {u"Veículo de Publicação", "dbeVeiculoPublic"}},
        {&v.data, {u"Data de Publicação", "meDataPublicacao"}},
        {&v.pais, {u"País", "dbPais"}}};
    QStringList faltam;
    QString foco;
    for (const auto& [valor, rotulo] : obrigatorios)
        if (valor->isEmpty()) {
            faltam << QString::fromUtf16(rotulo.first);
            if (foco.isEmpty())
                foco = QString::fromLatin1(rotulo.second);
        }
    if (!faltam.isEmpty())
        return recusa(EdicaoEntidade::MensagemObrigatorios(faltam), Geral, foco);
    if (!v.temArea)
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Areas,
                      QStringLiteral("btIncluirArea"));
    if (ContemAspas(v.titulo))
        return recusa(QStringLiteral("O título da publicação não pode conter aspas!"), Geral,
                      QStringLiteral("dbeTitulo"));
    if (ContemAspas(v.veiculo))
        return recusa(QStringLiteral("O veículo da publicação não pode conter aspas!"), Geral,
                      QStringLiteral("dbeVeiculoPublic"));
    if (duplicada()) {
        RecusaPublicacao r = recusa(
            QStringLiteral("Já existe Publicação cadastrada com Título e Veículo de Publicação indicados!"), Geral,
            QStringLiteral("dbeTitulo"));
        r.duplicada = true;
        return r;
    }
    return {};
}

} // namespace edit
