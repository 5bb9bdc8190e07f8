#include "edit/EdicaoBase.h"

#include "edit/ApoioDialogos.h"
#include "edit/Duplicados.h"
#include "edit/Edicao.h"
#include "edit/EscolhasAtividades.h"
#include "edit/Exclusao.h"
#include "edit/FilhosBase.h"
#include "edit/ItensFilhos.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"

#include "core/Interacao.h"
#include "store/Table.h"

#include <QtGlobal>

namespace edit {

namespace {
const QString Geral = QStringLiteral("tsDadosGerais");
const QString Descricao = QStringLiteral("tsDescricao");
const QString Nome = QStringLiteral("dbeIdentificacao");
const QString Quantidade = QStringLiteral("medQtdeReg");
const QString Fase = QStringLiteral("dbFaseDesenvolvimento");
const QString Identificacao = QStringLiteral("Identificacao");
const QString BotoesDasListas[] = {QStringLiteral("btIncluirArea"), QStringLiteral("btExcluirArea"),
                                   QStringLiteral("btIncluirAcesso"), QStringLiteral("btExcluirAcesso")};
const QString MsgAspas = QStringLiteral("O nome da base não pode conter aspas!");
} // namespace

QString EdicaoBase::EnderecoFerramentaOnLine()
{
    const QString env = qEnvironmentVariable("REZOZUR_FERRAMENTA_ONLINE");
    return env.isEmpty() ? QStringLiteral("http://www.kesta.gov.br/kesta_off/owa/base_dados") : env;
}

EdicaoBase::EdicaoBase(Formulario& form, store::Table& bases, store::Table& areas, store::Table& acessos)
    : EdicaoEntidade(form, bases, SemLigacao)
    , m_areas(areas)
    , m_acessos(acessos)
{
    defineTitulos(QStringLiteral("Inserir Base de Dados"), QStringLiteral("Editar Base de Dados"));
    definePrimeiraPagina(Geral);
    liga(Nome, bases, Identificacao);
    liga(QStringLiteral("dbrgTipoBase"), bases, QStringLiteral("TipoBase"), TipoControle::Opcoes,
         {QStringLiteral("FACTUAL"), QStringLiteral("NUMERICA"), QStringLiteral("BIBLIOGRÁFICA"),
          QStringLiteral("CADASTRAL")});
    liga(QStringLiteral("dbrgTipoApoio"), bases, QStringLiteral("TipoApoio"), TipoControle::Opcoes,
         {QStringLiteral("C"), QStringLiteral("A")});
    liga(QStringLiteral("dbmDescricao"), bases, QStringLiteral("Descricao"), TipoControle::Memo);
    liga(QStringLiteral("cbDisponivel"), bases, QStringLiteral("Disponivel"), TipoControle::Marca,
         {QStringLiteral("S"), QStringLiteral("N")});
    liga(Fase, bases, QStringLiteral("FaseDesenv"), TipoControle::Lista, {}, QStringLiteral("fases_desenvolvimento.txt"));
    declaraMascara(Quantidade, QStringLiteral("#########;_"));
}

QString EdicaoBase::ligacao() const
{
    return inserindo() && !m_renomeados ? MarcaBaseNova : tabela().value(Identificacao);
}

void EdicaoBase::filtraFilhos()
{
    const bool nova = inserindo() && !m_renomeados;
    const QString filtro = FiltroFilhosBase(nova, tabela().value(Identificacao));
    filtra(m_areas, filtro);
    filtra(m_acessos, filtro);
}

void EdicaoBase::habilitaListas()
{
    if (m_somenteLeitura)
        return;
    HabilitaBotoesDaLista(form(), m_areas, {QStringLiteral("btExcluirArea")});
    HabilitaBotoesDaLista(form(), m_acessos, {QStringLiteral("btExcluirAcesso")});
}

void EdicaoBase::aoFalharListas()
{
    for (const QString& b : BotoesDasListas)
        form().habilita(b, false);
}

void EdicaoBase::aoMostrar()
{
    store::Table& t = tabela();
    m_renomeados = false;
    if (inserindo()) {
        t.setValue(QStringLiteral("Disponivel"), QStringLiteral("N"));
    } else {
        copiaParaMascara(Quantidade, QStringLiteral("QtdeReg"));
        form().protege(Nome, QStringLiteral("O nome identifica a base e suas listas; não pode ser alterado."));
        if (ContemAspas(t.value(Identificacao))) {
            app::Mensagem(MsgAspas + QStringLiteral("\rUtilize a ferramenta on-line disponível em\r")
                              + EnderecoFerramentaOnLine() + QStringLiteral("\rpara corrigir."),
                          app::Icone::Erro);
            m_somenteLeitura = true;
            form().habilita(Confirmar, false);
            for (const QString& b : BotoesDasListas)
                form().habilita(b, false);
        }
    }
    filtraFilhos();
    habilitaListas();
}

void EdicaoBase::aoApagar(const QString& controle)
{
    if (controle == Fase) {
        tabela().setValue(QStringLiteral("FaseDesenv"), QString());
        form().mostraRegistro();
    }
}

void EdicaoBase::aoClicar(const QString& controle)
{
    if (m_somenteLeitura)
        return;
    if (controle == QLatin1String("btIncluirArea")) {
        EscolheAreaConhec(tabela(), m_areas, Identificacao, modo(), ligacao());
    } else if (controle == QLatin1String("btExcluirArea")) {
        ExcluiItem(m_areas, QStringLiteral("esta Área de Conhecimento?"));
    } else if (controle == QLatin1String("btIncluirAcesso")) {
        EscolheAcesso(m_acessos, ligacao(), modo());
    } else if (controle == QLatin1String("btExcluirAcesso")) {
        ExcluiItem(m_acessos, QStringLiteral("esta Forma de Acesso?"));
    } else {
        return;
    }
    habilitaListas();
}

bool EdicaoBase::nomeSemAspas(bool avisa)
{
    if (!ContemAspas(tabela().value(Identificacao)))
        return true;
    if (avisa)
        recusa(MsgAspas, Geral, Nome);
    return false;
}

bool EdicaoBase::aoSair(const QString& controle)
{
    if (controle == Nome && !m_somenteLeitura)
        return nomeSemAspas(true);
    if (controle == Quantidade) {
        CampoDoFormulario campo(form(), Quantidade);
        if (ValidaInteiro(campo, QStringLiteral("Qtde. de Registros")))
            return true;
        form().mostraPagina(Descricao);
        form().foca(Quantidade);
        return false;
    }
    return true;
}

bool EdicaoBase::aoTrocarPagina(const QString& de, const QString&)
{
    if (m_somenteLeitura)
        return true;
    if (de == Geral)
        return nomeSemAspas(true);
    return aoSair(Quantidade);
}

bool EdicaoBase::aoConfirmar()
{
    store::Table& t = tabela();
    t.setValue(QStringLiteral("QtdeReg"), textoDaMascara(Quantidade));
    if (faltaObrigatorio({{QStringLiteral("Identificacao"), QStringLiteral("Nome"), Nome, Geral}, {QStringLiteral("TipoBase"), QStringLiteral("Tipo de Base de Dados"), QStringLiteral("dbrgTipoBase"), Geral}, {QStringLiteral("TipoApoio"), QStringLiteral("Tipo de Apoio"), QStringLiteral("dbrgTipoApoio"), Geral}, {QStringLiteral("QtdeReg"), QStringLiteral("QTDE. de Registros"), Quantidade, Descricao}, {QStringLiteral("Descricao"), QStringLiteral("Descrição da Base"), QStringLiteral("dbmDescricao"), Descricao}, {QStringLiteral("Disponivel"), QString(), QStringLiteral("cbDisponivel"), Descricao}}))
        return false;
    if (m_areas.recordCount() == 0)
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Descricao,
                      QStringLiteral("btIncluirArea"));
    const QString apoio = t.value(QStringLiteral("TipoApoio"));
    const bool comFase = !t.value(QStringLiteral("FaseDesenv")).isEmpty();
    if (apoio == QLatin1String("C") && !comFase)
        return recusa(QStringLiteral("Para Tipo de Apoio do KESTA sendo CRIAÇÃO/AMPLIAÇÃO,\r\ré obrigatório indicar "
                                     "Fase de Desenvolvimento."),
                      Descricao, Fase);
    if (apoio == QLatin1String("A") && comFase)
        return recusa(QStringLiteral("Para Tipo de Apoio do KESTA sendo AQUISIÇÃO,\r\rnão é permitido indicar Fase "
                                     "de Desenvolvimento."),
                      Descricao, Fase);
    if (!nomeSemAspas(true))
        return false;
    const QString nome = t.value(Identificacao);
    if (ExisteDuplicado(t, Identificacao, nome, {}, {}, {}, {}, Identificacao, nome))
        return recusa(QStringLiteral("Já existe Base de Dados cadastrada com Nome indicado!"), Geral, Nome);
    try {
        efetiva({&m_areas, &m_acessos}, [this, nome] {
        if (inserindo()) {
            // The children of the new base take its name, whatever their letter.
            LigaFilhosAoNome(m_areas, nome);
            LigaFilhosAoNome(m_acessos, nome);
            m_renomeados = true;
            filtraFilhos();
        }
        ConfirmaItens(tabela(), m_areas, Identificacao);
        ConfirmaItens(tabela(), m_acessos, Identificacao);
        });
    } catch (...) {
        // The children came back as they were, under the marker.
        m_renomeados = false;
        throw;
    }
    return true;
}

void EdicaoBase::aoCancelar()
{
    if (inserindo()) {
        RemoveFilhosDaBaseNova(m_areas);
        RemoveFilhosDaBaseNova(m_acessos);
    }
    // In insert mode the children of another base with the typed name are not this dialog's: only
    // after a Confirmar that renamed the children does the name lead to them.
    if (!inserindo() || m_renomeados) {
        CancelaItens(tabela(), m_areas, Identificacao, modo());
        CancelaItens(tabela(), m_acessos, Identificacao, modo());
    }
    devolveTabelas();
}

} // namespace edit
