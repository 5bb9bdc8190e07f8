#include "edit/EdicaoEntidade.h"

#include "edit/CopiasDeTrabalho.h"
#include "edit/Edicao.h"
#include "edit/FonteDeItens.h"
#include "edit/TabelasInternas.h"
#include "edit/TabelaAux.h"
#include "edit/ValidaNumeros.h"

#include "core/Interacao.h"
#include "core/ProgramState.h"
#include "store/Table.h"

#include <algorithm>

namespace edit {

namespace {

const QString ErroConfirmar = QStringLiteral(
    "Erro inesperado ao confirmar operação!\rConsulte suporte informando a seguinte mensagem:\r");
const QString ErroCancelar = QStringLiteral(
    "Erro inesperado ao cancelar operação!\rConsulte suporte informando a seguinte mensagem:\r");
const QString ErroGravar = QStringLiteral(
    "Erro inesperado ao gravar o valor digitado!\rConsulte suporte informando a seguinte mensagem:\r");
const QString MotivoProtecao = QStringLiteral(
    "Registro já conhecido pelo servidor (situação %1): nome e códigos não podem ser alterados.");

QString textoDaFalha(const std::exception& e) { return QString::fromUtf8(e.what()); }

} // namespace

int Mascara::tamanho() const
{
    const QString m = mascara.section(QLatin1Char(';'), 0, 0);
    int n = 0;
    for (int i = 0; i < m.size(); ++i) {
        const QChar c = m.at(i);
        if (c == QLatin1Char('\\')) {
            ++i;
            ++n;
        } else if (c != QLatin1Char('>') && c != QLatin1Char('<') && c != QLatin1Char('!')) {
            ++n;
        }
    }
    return n;
}

EdicaoEntidade::EdicaoEntidade(Formulario& form, store::Table& tabela, QString campoChave)
    : m_form(form)
    , m_tabela(tabela)
    , m_campoChave(std::move(campoChave))
{
}

EdicaoEntidade::~EdicaoEntidade()
{
    for (const auto& [nome, tabela] : m_copias)
        DescartaCopia(nome);
}

const Ligacao* EdicaoEntidade::ligacao(const QString& controle) const
{
    for (const Ligacao& l : m_ligacoes)
        if (l.controle == controle)
            return &l;
    return nullptr;
}

const Mascara* EdicaoEntidade::mascara(const QString& controle) const
{
    for (const Mascara& m : m_mascaras)
        if (m.controle == controle)
            return &m;
    return nullptr;
}

void EdicaoEntidade::liga(const QString& controle, store::Table& tabela, const QString& campo, TipoControle tipo,
                          const QStringList& valores, const QString& lista)
{
    m_ligacoes.push_back({controle, &tabela, campo, tipo, valores, lista});
}

void EdicaoEntidade::declaraMascara(const QString& controle, const QString& mascara)
{
    m_mascaras.push_back({controle, mascara});
}

void EdicaoEntidade::declaraLista(const QString& controle, const QString& arquivo)
{
    m_listas.emplace_back(controle, arquivo);
}

void EdicaoEntidade::defineTitulos(const QString& inclusao, const QString& edicao)
{
    m_tituloInclusao = inclusao;
    m_tituloEdicao = edicao;
}

QString EdicaoEntidade::codigo() const
{
    return m_campoChave == SemLigacao ? QString() : m_tabela.value(m_campoChave);
}

QString EdicaoEntidade::MensagemObrigatorios(const QStringList& rotulos)
{
    QStringList linhas;
    for (const QString& r : rotulos)
        linhas << QStringLiteral("           -  ") + r;
    return QStringLiteral("Verifique se os seguintes campos estão preenchidos:\r\r") + linhas.join(app::CR);
}

// ---- events ----

void EdicaoEntidade::cria()
{
    // Every list is read before any box changes, so a failure leaves no box half-filled.
    try {
        std::vector<std::pair<QString, QStringList>> lidas;
        for (const Ligacao& l : m_ligacoes)
            if (!l.lista.isEmpty())
                lidas.emplace_back(l.controle, ItensDaLista(l.lista));
        for (const auto& [controle, arquivo] : m_listas)
            lidas.emplace_back(controle, ItensDaLista(arquivo));
        for (auto& [controle, itens] : lidas) {
            const Ligacao* l = ligacao(controle);
            if (l && l->tipo == TipoControle::Opcoes) {
                // A radio group's file gives both its captions and its stored values.
                const_cast<Ligacao*>(l)->valores = itens;
                m_form.defineItens(controle, itens);
            } else {
                m_form.defineItens(controle, ItensOrdenados(itens));
            }
        }
    } catch (const std::exception&) {
        m_listasCarregadas = false;
        AvisaFalhaTabelaInterna();
        m_form.habilita(Confirmar, false);
        aoFalharListas();
    }
}

void EdicaoEntidade::mostra()
{
    m_podeFechar = false;
    m_fechado = false;
    m_resultado = Resultado::Nenhum;
    if (!m_tituloInclusao.isEmpty() || !m_tituloEdicao.isEmpty())
        m_form.defineTitulo(inserindo() ? m_tituloInclusao : m_tituloEdicao);
    if (!m_primeiraPagina.isEmpty())
        m_form.mostraPagina(m_primeiraPagina);
    aoMostrar();
    m_form.mostraRegistro();
    if (!m_listasCarregadas)
        m_form.habilita(Confirmar, false);
}

void EdicaoEntidade::confirma()
{
    if (!m_form.habilitado(Confirmar))
        return;
    try {
        aoConfirmar();
    } catch (const app::Abort&) {
    } catch (const std::exception& e) {
        m_resultado = Resultado::Nenhum;
        app::Mensagem(ErroConfirmar + textoDaFalha(e), app::Icone::Erro);
    }
}

void EdicaoEntidade::cancela()
{
    m_podeFechar = true;
    m_resultado = Resultado::Cancelar;
    try {
        aoCancelar();
    } catch (const app::Abort&) {
    } catch (const std::exception& e) {
        // Tables half put back must not be left behind a closed dialog: it stays open, as after a
        // failed Confirmar, and the user may cancel again.
        m_podeFechar = false;
        m_resultado = Resultado::Nenhum;
        app::Mensagem(ErroCancelar + textoDaFalha(e), app::Icone::Erro);
        return;
    }
    fecha(Resultado::Cancelar);
}

bool EdicaoEntidade::fechando()
{
    if (m_fechado)
        return true;
    if (!m_podeFechar) {
        if (app::Mensagem(m_perguntaDeSaida, app::Icone::Pergunta,
                          app::Botoes::SimNao) == app::Resposta::Sim)
            cancela();
        return false;  // Cancelar closed the form itself, or the dialog stays open
    }
    m_fechado = true;
    aoFechar();
    restauraFiltros();
    return true;
}

void EdicaoEntidade::mudou(const QString& controle) { aoMudar(controle); }

void EdicaoEntidade::clicou(const QString& controle)
{
    if (controle == Confirmar)
        confirma();
    else if (controle == Cancelar)
        cancela();
    else
        aoClicar(controle);
}

bool EdicaoEntidade::saiu(const QString& controle, const QString& proximo)
{
    if (SaidaParaCancelar(proximo))
        return true;
    return aoSair(controle);
}

bool EdicaoEntidade::trocandoPagina(const QString& de, const QString& para) { return aoTrocarPagina(de, para); }

void EdicaoEntidade::apagou(const QString& controle) { aoApagar(controle); }

bool EdicaoEntidade::usuarioEscreveu(const Ligacao& l, const QString& valor)
{
    store::Table& t = *l.tabela;
    try {
        if (!aux::emEdicao(t)) {
            if (t.bookmark() == 0)
                throw store::TableError(t.name() + QStringLiteral(": nenhum registro para receber ") + l.campo);
            MarcaEdicao(t);
            if (!aux::emEdicao(t))
                t.edit();
        }
        t.setValue(l.campo, valor);
        return true;
    } catch (const std::exception& e) {
        app::Mensagem(ErroGravar + textoDaFalha(e), app::Icone::Erro);
        return false;
    }
}

// ---- helpers ----

bool EdicaoEntidade::recusa(const QString& mensagem, const QString& pagina, const QString& foco)
{
    app::Mensagem(mensagem, app::Icone::Erro);
    if (!pagina.isEmpty())
        m_form.mostraPagina(pagina);
    if (!foco.isEmpty())
        m_form.foca(foco);
    m_resultado = Resultado::Nenhum;
    return false;
}

bool EdicaoEntidade::recusaInfo(const QString& mensagem, const QString& pagina, const QString& foco)
{
    app::Mensagem(mensagem, app::Icone::Informacao);
    if (!pagina.isEmpty())
        m_form.mostraPagina(pagina);
    if (!foco.isEmpty())
        m_form.foca(foco);
    m_resultado = Resultado::Nenhum;
    return false;
}

QString EdicaoEntidade::primeiroHabilitado(const QStringList& controles) const
{
    for (const QString& c : controles)
        if (m_form.habilitado(c))
            return c;
    return controles.isEmpty() ? QString() : controles.last();
}

QStringList EdicaoEntidade::Vazios(const store::Table& tabela,
                                   const std::vector<std::pair<QString, QString>>& camposERotulos)
{
    QStringList r;
    for (const auto& [campo, rotulo] : camposERotulos)
        if (tabela.value(campo).trimmed().isEmpty())
            r << rotulo;
    return r;
}

QString EdicaoEntidade::obrigatoriosVazios(const std::vector<Obrigatorio>& campos, QString& foco,
                                           QString& pagina) const
{
    QStringList rotulos;
    const Obrigatorio* primeiro = nullptr;
    const Obrigatorio* habilitado = nullptr;
    for (const Obrigatorio& o : campos)
        if (m_tabela.value(o.campo).trimmed().isEmpty()) {
            if (!o.rotulo.isEmpty())
                rotulos << o.rotulo;
            if (!primeiro)
                primeiro = &o;
            if (!habilitado && !o.controle.isEmpty() && m_form.habilitado(o.controle))
                habilitado = &o;
        }
    if (!primeiro)
        return QString();
    const Obrigatorio* alvo = habilitado ? habilitado : primeiro;
    foco = alvo->controle;
    pagina = alvo->pagina;
    return MensagemObrigatorios(rotulos);
}

bool EdicaoEntidade::faltaObrigatorio(const std::vector<Obrigatorio>& campos)
{
    QString foco, pagina;
    const QString mensagem = obrigatoriosVazios(campos, foco, pagina);
    if (mensagem.isEmpty())
        return false;
    recusa(mensagem, pagina, foco);
    return true;
}

bool EdicaoEntidade::conhecidoDoServidor() const
{
    const QString s = aux::status(m_tabela);
    return s == QLatin1String("N") || s == QLatin1String("A");
}

void EdicaoEntidade::ajustaFlagBiro(const QString& campoRegistro)
{
    if (inserindo() || !m_tabela.value(campoRegistro).trimmed().isEmpty())
        return;
    if (!aux::emEdicao(m_tabela))
        m_tabela.edit();
    m_tabela.setValue(QStringLiteral("Flag_BIRO"), QStringLiteral("L"));
}

void EdicaoEntidade::protegeIdentidade(const QStringList& controles, const QString& controleRegistro)
{
    if (!conhecidoDoServidor())
        return;
    const QString motivo = MotivoProtecao.arg(aux::status(m_tabela));
    for (const QString& c : controles)
        m_form.protege(c, motivo);
    if (!controleRegistro.isEmpty() && m_tabela.value(QStringLiteral("Flag_BIRO")) != QLatin1String("L"))
        m_form.protege(controleRegistro, motivo);
}

void EdicaoEntidade::filtra(store::Table& tabela, const QString& filtro)
{
    const bool lembrada = std::any_of(m_filtros.begin(), m_filtros.end(),
                                      [&tabela](const auto& f) { return f.tabela == &tabela; });
    if (!lembrada)
        m_filtros.push_back({&tabela, tabela.filter(), tabela.filtered()});
    aux::modoNavegacao(tabela);
    tabela.setFiltered(false);
    tabela.setFilter(filtro);
    tabela.setFiltered(true);
}

void EdicaoEntidade::restauraFiltros()
{
    for (auto it = m_filtros.rbegin(); it != m_filtros.rend(); ++it) {
        store::Table& t = *it->tabela;
        aux::modoNavegacao(t);
        t.setFiltered(false);
        t.setFilter(it->filtro);
        t.setFiltered(it->ligado);
    }
    m_filtros.clear();
}

void EdicaoEntidade::guardaCopia(const QString& nome, store::Table& tabela)
{
    GuardaCopia(nome, tabela);
    m_copias.emplace_back(nome, &tabela);
}

void EdicaoEntidade::devolveTabelas()
{
    if (inserindo()) {
        // The new record was never posted; should something have posted it, it goes all the same.
        const QString novo = codigo();
        if (aux::emEdicao(m_tabela))
            m_tabela.cancel();
        if (m_campoChave != SemLigacao && !novo.isEmpty()) {
            const bool filtrada = m_tabela.filtered();
            m_tabela.setFiltered(false);
            const int coluna = m_tabela.fieldIndexOrThrow(m_campoChave);
            for (const store::Table::Bookmark b : m_tabela.naturalRows())
                if (m_tabela.rowValue(b, coluna) == novo && m_tabela.gotoBookmark(b)) {
                    m_tabela.remove();
                    break;
                }
            m_tabela.setFiltered(filtrada);
        }
    } else if (ExisteCopia(ArquivoCopiaEdicao()) && !SemCopiaDeEdicao(m_tabela)) {
        RestauraCopia(ArquivoCopiaEdicao(), m_tabela);
    } else if (aux::emEdicao(m_tabela)) {
        m_tabela.cancel();
    }
    // The child tables come back from their copies in both modes: whatever the letters did, each
    // table is again exactly what it was when the dialog opened.
    for (const auto& [nome, tabela] : m_copias)
        RestauraCopia(nome, *tabela);
}

void EdicaoEntidade::efetiva(const std::vector<store::Table*>& filhos, const std::function<void()>& passos,
                             bool marcaModificado)
{
    std::vector<std::pair<store::Table*, FotoDeTabela>> fotos;
    fotos.reserve(filhos.size());
    for (store::Table* t : filhos)
        fotos.emplace_back(t, FotoDeTabela(*t));
    try {
        passos();
        if (!aux::emEdicao(m_tabela))
            m_tabela.edit();
        m_tabela.post();
    } catch (...) {
        for (auto& [tabela, foto] : fotos) {
            try {
                foto.restaura(*tabela);
            } catch (...) {
            }
        }
        if (!aux::emEdicao(m_tabela) && m_tabela.bookmark() != 0)
            m_tabela.edit();
        throw;
    }
    m_podeFechar = true;
    if (marcaModificado)
        app::SetModified(true);
    fecha(Resultado::Ok);
}

void EdicaoEntidade::copiaParaMascara(const QString& controle, const QString& campo, bool alinha)
{
    const QString guardado = m_tabela.value(campo);
    m_form.defineValor(controle, guardado);
    if (alinha) {
        CampoDoFormulario c(m_form, controle);
        AlinhaNumero(c);
    }
    const QString mostrado = m_form.valor(controle);
    for (CopiaDeMascara& c : m_mascarasCopiadas)
        if (c.controle == controle) {
            c.guardado = guardado;
            c.mostrado = mostrado;
            return;
        }
    m_mascarasCopiadas.push_back({controle, guardado, mostrado});
}

QString EdicaoEntidade::textoDaMascara(const QString& controle) const
{
    const QString atual = m_form.valor(controle);
    for (const CopiaDeMascara& c : m_mascarasCopiadas)
        if (c.controle == controle && c.mostrado == atual)
            return c.guardado.trimmed();
    return atual.trimmed();
}

bool EdicaoEntidade::validaValorDigitado(const QString& controle, const QString& rotulo)
{
    CampoDoFormulario campo(m_form, controle);
    const QString texto = campo.texto().trimmed();
    if (!texto.isEmpty() && texto != QLatin1String("."))
        AlinhaValor(campo);
    return ValidaValor(campo, rotulo);
}

void EdicaoEntidade::fecha(Resultado resultado)
{
    m_resultado = resultado;
    if (!m_fechado) {
        m_fechado = true;
        aoFechar();
        restauraFiltros();
    }
    m_form.fecha(resultado);
}

} // namespace edit

