#include "edit/Escolha.h"

#include "edit/TabelaAux.h"

#include "core/Interacao.h"
#include "store/Table.h"

namespace edit {

namespace {

const QString SemLigacao = QStringLiteral("XXX");

AbridorEscolha& Abridor()
{
    static AbridorEscolha abridor;
    return abridor;
}

// A text between quotes in a filter expression: a quote inside it is doubled.
QString Literal(const QString& texto)
{
    QString r = texto;
    r.replace(QLatin1Char('\''), QStringLiteral("''"));
    return r;
}

// The duplicate test after a choice has been posted: `condicao` (" and (Campo = 'texto' ) ") is put
// after the child table's own filter, so that the parent's condition still holds. With 2 or more rows
// showing, `mensagem` is shown and new rows are removed from the first while 2 or more show: with the
// parent in edit (mode other than 1) the rows added in this dialog session (E, or P in a nested
// dialog); with the parent new (mode 1) any row under a link, or an I row of a list without link. The
// walk ends with the table, so two old rows with one description (from the server) cannot hold it.
// The filter text is given back and switched on.
bool RemoveDuplicadoEscolhido(store::Table& filhos, const QString& condicao, int modo, bool semLigacao,
                              const QString& mensagem)
{
    filhos.setFiltered(false);
    const QString anterior = filhos.filter();
    auto restaura = [&] {
        filhos.setFiltered(false);
        filhos.setFilter(anterior);
        filhos.setFiltered(true);
    };
    bool duplicado = false;
    try {
        // A table without a filter of its own takes the condition alone.
        const QString so = condicao.trimmed().mid(3);  // without the leading "and"
        filhos.setFilter(anterior.trimmed().isEmpty() ? so : anterior + condicao);
        filhos.setFiltered(true);
        duplicado = filhos.recordCount() >= 2;
        if (duplicado) {
            app::Mensagem(mensagem, app::Icone::Erro);
            filhos.first();
            while (!filhos.eof() && filhos.recordCount() >= 2) {
                const QString s = aux::status(filhos);
                const bool novo = modo != 1 ? (s == QLatin1String("E") || s == QLatin1String("P"))
                                            : (!semLigacao || s == QLatin1String("I"));
                if (novo)
                    filhos.remove();  // the cursor moves to the next row
                else
                    filhos.next();
            }
        }
    } catch (...) {
        restaura();
        throw;
    }
    restaura();
    return duplicado;
}

bool EmEdicao(const store::Table& t)
{
    return t.state() == store::Table::State::Insert || t.state() == store::Table::State::Edit;
}

ResultadoEscolha Inclui(TipoEscolha tipo, store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo)
{
    ContextoEscolha contexto;
    contexto.filho = &filho;
    contexto.modo = modo;
    if (&pai != &filho && campoLigacao != SemLigacao) {
        contexto.campoLigacao = campoLigacao;
        contexto.codigoPai = pai.value(campoLigacao);
    }
    aux::modoNavegacao(filho);
    filho.append();
    ResultadoEscolha r;
    try {
        r = AbreEscolha(tipo, contexto);
    } catch (...) {
        if (filho.state() == store::Table::State::Insert)
            filho.cancel();
        throw;
    }
    // Without a choice the appended row had nothing written: it goes, as at the next browse change.
    if (!r.confirmado && filho.state() == store::Table::State::Insert)
        filho.cancel();
    return r;
}

} // namespace

LogicaEscolha::LogicaEscolha(TipoEscolha tipo, FormEscolha& form) : m_tipo(tipo), m_form(form) {}

QString LogicaEscolha::titulo(TipoEscolha tipo)
{
    switch (tipo) {
    case TipoEscolha::Setor:
        return QStringLiteral("Setores Econômicos");
    case TipoEscolha::Conhec:
        return QStringLiteral("Áreas de Conhecimento");
    case TipoEscolha::ConhecTit:
        return QStringLiteral("Áreas do Conhecimento");
    case TipoEscolha::Acesso:
        return QStringLiteral("Formas de Acesso");
    case TipoEscolha::Acoes:
        return QStringLiteral("Ações Corretivas");
    }
    return {};
}

QString LogicaEscolha::arquivo(TipoEscolha tipo)
{
    switch (tipo) {
    case TipoEscolha::Setor:
        return QStringLiteral("setores_economicos.txt");
    case TipoEscolha::Conhec:
    case TipoEscolha::ConhecTit:
        return QStringLiteral("areas_conhecimento.txt");
    case TipoEscolha::Acesso:
        return QStringLiteral("formas_acesso.txt");
    case TipoEscolha::Acoes:
        return QStringLiteral("acoes_corretivas.txt");
    }
    return {};
}

QString CampoDescricao(TipoEscolha tipo, const store::Table& filho)
{
    switch (tipo) {
    case TipoEscolha::Setor:
        return filho.name() == QLatin1String("tbEstudosSetores") ? QStringLiteral("DescricaoSetorEcon")
                                                                 : QStringLiteral("DescrSetorEcon");
    case TipoEscolha::Conhec:
        return filho.name() == QLatin1String("tbTrabalhoAreaConhec") ? QStringLiteral("DescArea")
                                                                     : QStringLiteral("DescricaoAreaConhec");
    case TipoEscolha::Acesso:
        return QStringLiteral("TipoAcesso");
    case TipoEscolha::Acoes:
        return QStringLiteral("TipoAcao");
    case TipoEscolha::ConhecTit:
        break;
    }
    return {};
}

bool LogicaEscolha::carrega()
{
    // The corrective-action tree is small; the others may be long enough for the user to notice.
    const bool espera = m_tipo != TipoEscolha::Acoes;
    if (espera)
        m_form.cursorEspera(true);
    try {
        ArvoreTabela nos = LeArvore(arquivo(m_tipo));
        if (m_tipo == TipoEscolha::Acoes || m_tipo == TipoEscolha::Acesso)
            nos = ArvoreOrdenada(nos);
        m_form.mostraArvore(nos);
    } catch (const FalhaTabelaInterna&) {
        if (espera)
            m_form.cursorEspera(false);
        AvisaFalhaTabelaInterna();
        m_confirmado = false;
        m_form.fecha(false);
        return false;
    }
    if (espera)
        m_form.cursorEspera(false);
    return true;
}

void LogicaEscolha::confirmar()
{
    const std::optional<QString> no = m_form.noEscolhido();
    if (!no)
        return;
    m_texto = *no;
    try {
        switch (m_tipo) {
        case TipoEscolha::Setor:
        case TipoEscolha::Conhec:
            confirmaSetorOuArea(m_texto);
            break;
        case TipoEscolha::Acesso:
            confirmaAcesso(m_texto);
            break;
        case TipoEscolha::Acoes:
            confirmaAcao(m_texto);
            break;
        case TipoEscolha::ConhecTit:
            break;
        }
    } catch (const app::Abort&) {
        throw;
    } catch (const std::exception& e) {
        store::Table* filho = m_contexto.filho;
        if (filho && EmEdicao(*filho))
            filho->cancel();
        app::Mensagem(QStringLiteral("Erro inesperado ao confirmar operação!\rConsulte suporte informando a seguinte mensagem:\r")
                          + QString::fromUtf8(e.what()),
                      app::Icone::Erro);
        m_confirmado = false;
        m_form.fecha(false);
        return;
    }
    m_confirmado = true;
    m_form.fecha(true);
}

void LogicaEscolha::cancelar()
{
    m_confirmado = false;
    m_form.fecha(false);
}

void LogicaEscolha::confirmaSetorOuArea(const QString& texto)
{
    store::Table& filho = *m_contexto.filho;
    const bool semLigacao = m_contexto.campoLigacao == SemLigacao;
    const int modo = m_contexto.modo;
    // The opener has appended the row; a caller that has not gets one here.
    if (!EmEdicao(filho))
        filho.append();
    const QString campo = CampoDescricao(m_tipo, filho);
    filho.setValue(campo, texto);
    if (!semLigacao)
        filho.setValue(m_contexto.campoLigacao, m_contexto.codigoPai);
    QString status;
    if (m_tipo == TipoEscolha::Setor)
        status = modo != 0 ? QStringLiteral("I") : QStringLiteral("E");
    else if (filho.name() == QLatin1String("tbTrabalhoAreaConhec"))
        status = QStringLiteral("P");
    else
        status = modo == 1 ? QStringLiteral("I") : QStringLiteral("E");
    filho.setValue(aux::Status, status);

    // The material dialog posts its areas itself once it knows the material's identity.
    if (m_tipo == TipoEscolha::Conhec && filho.name() == QLatin1String("tbMaterialAreaConhec"))
        return;

    filho.post();
    const QString mensagem = m_tipo == TipoEscolha::Setor ? QStringLiteral("Setor Econômico já cadastrado!")
                                                          : QStringLiteral("Área de Conhecimento já cadastrada!");
    RemoveDuplicadoEscolhido(filho, QStringLiteral(" and (") + campo + QStringLiteral(" = '") + Literal(texto)
                                        + QStringLiteral("' ) "),
                             modo, semLigacao, mensagem);
}

void LogicaEscolha::confirmaAcesso(const QString& texto)
{
    store::Table& filho = *m_contexto.filho;
    const int modo = m_contexto.modo;
    if (!EmEdicao(filho))
        filho.append();
    filho.setValue(QStringLiteral("TipoAcesso"), texto);
    filho.setValue(QStringLiteral("Identificacao"), m_contexto.codigoPai);
    filho.setValue(aux::Status, modo != 1 ? QStringLiteral("E") : QStringLiteral("I"));
    filho.post();
    RemoveDuplicadoEscolhido(filho, QStringLiteral(" and (TipoAcesso = '") + Literal(texto) + QStringLiteral("')"), modo,
                             false, QStringLiteral("Forma de Acesso já cadastrado para esta Base!"));
}

void LogicaEscolha::confirmaAcao(const QString& texto)
{
    store::Table& filho = *m_contexto.filho;
    const int modo = m_contexto.modo;
    aux::modoNavegacao(filho);
    filho.append();
    // What the server expects in this code is not known; the program has always sent the tree's
    // indentation here, and the server accepts it.
    filho.setValue(QStringLiteral("Cod_Acao"), QString::number(m_form.indentacao()));
    filho.setValue(QStringLiteral("TipoAcao"), texto);
    filho.setValue(QStringLiteral("Cod_Problema"), m_contexto.codigoPai);
    filho.setValue(aux::Status, modo != 1 ? QStringLiteral("E") : QStringLiteral("I"));
    filho.post();
    RemoveDuplicadoEscolhido(filho, QStringLiteral(" and (TipoAcao = '") + Literal(texto.trimmed()) + QStringLiteral("')"),
                             modo, false, QStringLiteral("Ação Corretiva já cadastrada para este Problema!"));
}

QString ChaveDeBusca(const QString& texto)
{
    const QString decomposto = texto.normalized(QString::NormalizationForm_D);
    QString r;
    r.reserve(decomposto.size());
    for (const QChar c : decomposto)
        if (c.category() != QChar::Mark_NonSpacing)
            r.append(c);
    return r.toCaseFolded();
}

AbridorEscolha InstalaAbridorEscolha(AbridorEscolha abridor)
{
    AbridorEscolha anterior = std::move(Abridor());
    Abridor() = std::move(abridor);
    return anterior;
}

ResultadoEscolha AbreEscolha(TipoEscolha tipo, const ContextoEscolha& contexto)
{
    if (!Abridor())
        return {};
    return Abridor()(tipo, contexto);
}

ResultadoEscolha IncluiSetor(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo)
{
    return Inclui(TipoEscolha::Setor, pai, filho, campoLigacao, modo);
}

ResultadoEscolha IncluiAreaConhec(store::Table& pai, store::Table& filho, const QString& campoLigacao, int modo)
{
    return Inclui(TipoEscolha::Conhec, pai, filho, campoLigacao, modo);
}

} // namespace edit
