#include "edit/EdicaoMembro.h"

#include "edit/CopiasDeTrabalho.h"
#include "edit/Duplicados.h"
#include "edit/Escolha.h"
#include "edit/Exclusao.h"
#include "edit/ItensFilhos.h"
#include "edit/TabelaAux.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"

#include "core/Interacao.h"
#include "store/Dados.h"

namespace edit {

namespace {

const QString Coordenador = QStringLiteral("COORDENADOR");
const QString CodMembro = QStringLiteral("Cod_Membro");
const QString CodTrab = QStringLiteral("Cod_Trab");

QString v(const store::Table& t, const char* campo) { return t.value(QString::fromLatin1(campo)); }

} // namespace

EdicaoMembro::EdicaoMembro(Formulario& form, AbreTrabalhos abreTrabalhos)
    : EdicaoEntidade(form, store::DataIdentificacao().tbMembro, CodMembro)
    , m_membros(store::DataIdentificacao().tbMembro)
    , m_bolsistas(store::DataIdentificacao().tbMembroBolsista)
    , m_trabalhos(store::DataAtividadesApoiadas().tbTrabalhoAcademico)
    , m_areas(store::DataAtividadesApoiadas().tbTrabalhoAreaConhec)
    , m_abreTrabalhos(std::move(abreTrabalhos))
{
    defineTitulos(QStringLiteral("Inserir Membro de Equipe "), QStringLiteral(" Editar Membro de Equipe "));
    definePrimeiraPagina(PaginaDados);
    store::Table& m = m_membros;
    liga(Nome, m, QStringLiteral("Nome"));
    liga(Biro, m, QStringLiteral("BIRO"));
    liga(Funcao, m, QStringLiteral("DescricaoFuncao"), TipoControle::Lista, {}, QStringLiteral("funcoes_equipe.txt"));
    liga(EquipeOriginal, m, QStringLiteral("EquipeOriginal"), TipoControle::Marca,
         {QStringLiteral("S"), QStringLiteral("N")});
    liga(Titulacao, m, QStringLiteral("TitulacaoAtual"), TipoControle::Lista, {}, QStringLiteral("titulacoes.txt"));
    liga(AreaTitulacao, m, QStringLiteral("AreaConhecTitulacao"));
    liga(Pais, m, QStringLiteral("PaisTitulacao"), TipoControle::Lista, {}, QStringLiteral("paises.txt"));
    liga(MotivoSaida, m, QStringLiteral("MotivoSaida"), TipoControle::Lista, {}, QStringLiteral("motivos_saida.txt"));
    liga(TipoInstituicao, m, QStringLiteral("TipInstAtivPosPro"), TipoControle::Lista, {},
         QStringLiteral("tipos_instituicao.txt"));
    liga(DescricaoAtividade, m, QStringLiteral("DescAtivPosPro"), TipoControle::Memo);
    liga(Modalidade, m_bolsistas, QStringLiteral("ModalidadeBolsa"), TipoControle::Lista, {},
         QStringLiteral("Modalidades_bolsa.txt"));
    liga(FontePagadora, m_bolsistas, QStringLiteral("FontePagadora"), TipoControle::Lista, {},
         QStringLiteral("fontes_bolsa.txt"));
    liga(Endereco, m, QStringLiteral("Endereco"));
    liga(Cidade, m, QStringLiteral("Cidade"));
    liga(Cep, m, QStringLiteral("CEP"));
    liga(Fone, m, QStringLiteral("Fone"));
    liga(Fax, m, QStringLiteral("Fax"));
    liga(Email, m, QStringLiteral("Email"));
    liga(Uf, m, QStringLiteral("UF"), TipoControle::Lista, {}, QStringLiteral("estados_brasil.txt"));
    declaraMascara(CargaHoraria, QStringLiteral("###;_"));
    declaraMascara(Kesta, QStringLiteral("#########;_"));
}

QString EdicaoMembro::filtroDosTrabalhos() const
{
    return QStringLiteral("(Status <> 'D' and Status <> 'X' and Status <> 'Y') and (Cod_Membro =  '") + codigo()
           + QStringLiteral("')");
}

void EdicaoMembro::filtraTrabalhos(const QString& filtro)
{
    aux::modoNavegacao(m_trabalhos);
    m_trabalhos.setFiltered(false);
    m_trabalhos.setFilter(filtro);
    m_trabalhos.setFiltered(true);
}

// ---- showing ----

void EdicaoMembro::aoMostrar()
{
    const QString cod = codigo();
    guardaCopia(CopiaTrabalhosDoDono, m_trabalhos);
    guardaCopia(CopiaBolsistaDoMembro, m_bolsistas);
    // The works' areas are put back exactly as well, letters included.
    guardaCopia(QStringLiteral("temp/tabTrabArea_edit.cof"), m_areas);
    // Closing gives the grants back their filter of live records, the one they had before.
    m_filtroBolsistas = m_bolsistas.filter();
    aux::modoNavegacao(m_bolsistas);
    m_bolsistas.setFiltered(false);
    m_bolsistas.setFilter(QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (Cod_Membro =  '")
                          + cod + QStringLiteral("')"));
    m_bolsistas.setFiltered(true);
    filtra(m_trabalhos, filtroDosTrabalhos());

    if (!inserindo()) {
        aux::criaIndice(m_bolsistas, QStringLiteral("indicemembols"), CodMembro);
        ajustaFlagBiro(QStringLiteral("BIRO"));
        const bool temBolsa = m_bolsistas.recordCount() > 0;
        form().marca(Bolsa, temBolsa);
        habilitaBolsa(temBolsa);
        copiaParaMascara(Kesta, QStringLiteral("KESTA"));
        copiaParaMascara(CargaHoraria, QStringLiteral("CargaHoraria"));
        regraDaFuncao();
        protegeIdentidade({Nome, Kesta}, Biro);
    } else {
        m_membros.setValue(QStringLiteral("EquipeOriginal"), QStringLiteral("N"));
        m_membros.setValue(QStringLiteral("MotivoSaida"), QString());
        m_membros.setValue(QStringLiteral("TipInstAtivPosPro"), QString());
        m_membros.setValue(QStringLiteral("DescAtivPosPro"), QString());
        form().marca(Bolsa, false);
        habilitaBolsa(false);
        regraDaFuncao();
    }
}

void EdicaoMembro::habilitaBolsa(bool sim)
{
    form().habilita(PaginaBolsa, sim);
    form().habilita(Trabalhos, sim);
    form().habilita(Modalidade, sim);
    form().habilita(FontePagadora, sim);
}

// The coordinator's contact fields only for the coordinator; the post-project fields only after an
// exit reason.
void EdicaoMembro::regraDaFuncao()
{
    const bool coordenador = v(m_membros, "DescricaoFuncao") == Coordenador;
    for (const QString& c : {Endereco, Cidade, Cep, Fone, Fax, Email, Uf})
        form().habilita(c, coordenador);
    const bool saiu = !v(m_membros, "MotivoSaida").isEmpty();
    if (!saiu && !v(m_membros, "TipInstAtivPosPro").isEmpty()) {
        m_membros.setValue(QStringLiteral("TipInstAtivPosPro"), QString());
        form().mostraRegistro();
    }
    form().habilita(TipoInstituicao, saiu);
    form().habilita(DescricaoAtividade, saiu);
}

// ---- changes ----

void EdicaoMembro::aoMudar(const QString& controle)
{
    if (controle == Funcao || controle == MotivoSaida)
        regraDaFuncao();
    else if (controle == Bolsa)
        form().marcado(Bolsa) ? bolsaMarcada() : bolsaDesmarcada();
}

void EdicaoMembro::aoApagar(const QString& controle)
{
    if (controle == MotivoSaida) {
        m_membros.setValue(QStringLiteral("MotivoSaida"), QString());
        form().mostraRegistro();
        form().habilita(TipoInstituicao, false);
        form().habilita(DescricaoAtividade, false);
    } else if (controle == TipoInstituicao) {
        m_membros.setValue(QStringLiteral("DescAtivPosPro"), QString());
        form().mostraRegistro();
    }
}

void EdicaoMembro::bolsaMarcada()
{
    habilitaBolsa(true);
    const QString cod = codigo();
    aux::selecionaIndice(m_bolsistas, QStringLiteral("Primary"));
    if (m_bolsistas.findKey({cod})) {
        const QString letra = aux::status(m_bolsistas);
        m_bolsistas.edit();
        m_bolsistas.setValue(aux::Status, letra == QLatin1String("N") || letra == QLatin1String("A")
                                              ? QStringLiteral("A")
                                              : QStringLiteral("I"));
    } else {
        m_bolsistas.append();
        m_bolsistas.setValue(CodMembro, cod);
        m_bolsistas.setValue(aux::Status, QStringLiteral("I"));
    }
    form().mostraRegistro();
}

void EdicaoMembro::bolsaDesmarcada()
{
    habilitaBolsa(false);
    if (aux::emEdicao(m_bolsistas))
        m_bolsistas.cancel();
    const bool tinhaBolsa = m_bolsistas.recordCount() > 0;
    m_bolsistas.first();
    ExcluiItem(m_bolsistas, QStringLiteral("esta bolsa ?"));
    if (tinhaBolsa && m_bolsistas.recordCount() == 0) {
        excluiTrabalhosDoMembro();
    } else if (tinhaBolsa) {
        // The deletion was declined: the grant stays, and so does what shows it.
        form().marca(Bolsa, true);
        habilitaBolsa(true);
    }
    form().mostraRegistro();
}

// Every shown academic work of the member goes, each after its areas, without asking.
void EdicaoMembro::excluiTrabalhosDoMembro()
{
    const QString cod = codigo();
    const QString filtroAreas = m_areas.filter();
    const QString indiceAreas = m_areas.indexName();
    const QString indiceTrabalhos = m_trabalhos.indexName();
    aux::modoNavegacao(m_areas);
    m_areas.setFiltered(false);
    m_areas.setFilter(QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y'"));
    m_areas.setFiltered(true);
    aux::selecionaIndice(m_areas, QStringLiteral("Trabalho"));
    aux::selecionaIndice(m_trabalhos, QStringLiteral("Membro"));
    // Each deletion takes the work out of the list (X, Y) or out of the table.
    while (m_trabalhos.findKey({cod})) {
        const QString trabalho = m_trabalhos.value(CodTrab);
        while (m_areas.findKey({trabalho}))
            ExcluiItem(m_areas, QString());
        ExcluiItem(m_trabalhos, QString());
    }
    m_areas.setFiltered(false);
    m_areas.setFilter(filtroAreas);
    m_areas.setFiltered(true);
    aux::selecionaIndice(m_areas, indiceAreas);
    aux::selecionaIndice(m_trabalhos, indiceTrabalhos);
}

void EdicaoMembro::aoClicar(const QString& controle)
{
    if (controle == Trabalhos) {
        filtraTrabalhos(filtroDosTrabalhos());
        if (m_abreTrabalhos)
            m_abreTrabalhos(CodMembro, codigo());
    } else if (controle == Escolher) {
        const ResultadoEscolha r = AbreEscolha(TipoEscolha::ConhecTit, {});
        if (r.confirmado) {
            m_membros.setValue(QStringLiteral("AreaConhecTitulacao"), r.texto);
            form().mostraRegistro();
        }
    }
}

// ---- exits and pages ----

bool EdicaoMembro::confereCarga()
{
    CampoDoFormulario campo(form(), CargaHoraria);
    AlinhaNumero(campo);
    if (!ValidaInteiro(campo, QStringLiteral("Carga Horária Semanal"))) {
        form().mostraPagina(PaginaDados);
        form().foca(CargaHoraria);
        return false;
    }
    if (campo.texto().trimmed().toInt() > 80)
        return recusa(QStringLiteral("Carga horária não pode ser maior que 80 h!"), PaginaDados, CargaHoraria);
    return true;
}

bool EdicaoMembro::confereKesta()
{
    CampoDoFormulario campo(form(), Kesta);
    AlinhaNumero(campo);
    if (!ValidaInteiro(campo, QStringLiteral("Código KESTA"))) {
        form().mostraPagina(PaginaDados);
        form().foca(Kesta);
        return false;
    }
    return true;
}

bool EdicaoMembro::aoSair(const QString& controle)
{
    if (controle == CargaHoraria)
        return confereCarga();
    if (controle == Kesta)
        return confereKesta();
    return true;
}

bool EdicaoMembro::aoTrocarPagina(const QString& de, const QString&)
{
    if (de != PaginaDados)
        return true;
    return confereCarga() && confereKesta();
}

// ---- Confirmar ----

bool EdicaoMembro::aoConfirmar()
{
    store::Table& m = m_membros;
    form().mostraPagina(PaginaDados);
    if (!aux::emEdicao(m))
        m.edit();
    m.setValue(QStringLiteral("CargaHoraria"), textoDaMascara(CargaHoraria));
    m.setValue(QStringLiteral("KESTA"), textoDaMascara(Kesta));
    const QStringList focoCodigo = {Kesta, Biro, Funcao};

    // 1. Exit data.
    if (form().valor(MotivoSaida).isEmpty()) {
        m.setValue(QStringLiteral("TipInstAtivPosPro"), QString());
        m.setValue(QStringLiteral("DescAtivPosPro"), QString());
        form().mostraRegistro();
    }
    if (!v(m, "MotivoSaida").isEmpty() && (v(m, "TipInstAtivPosPro").isEmpty() || v(m, "DescAtivPosPro").isEmpty()))
        return recusa(QStringLiteral("Se for informado Motivo de Saída, é obrigatório informar as demais informações "
                                     "relativas à saída do Membro da Equipe do projeto."),
                      PaginaSaida, TipoInstituicao);
    // 2, 3. A code, and not both on a new member.
    const QString biro = v(m, "BIRO").trimmed();
    const QString kesta = v(m, "KESTA").trimmed();
    if (biro.isEmpty() && kesta.isEmpty() && v(m, "Nome").trimmed().isEmpty())
        return recusa(QStringLiteral("É obrigatório indicar o código BIRO OU o Código KESTA."), PaginaDados,
                      primeiroHabilitado(focoCodigo));
    if (inserindo() && !biro.isEmpty() && !kesta.isEmpty())
        return recusa(QStringLiteral("Para inclusão, não é permitido indicar código BIRO e Código KESTA simultaneamente."),
                      PaginaDados, primeiroHabilitado(focoCodigo));
    // 4. Required.
    const QStringList vazios = Vazios(m, {{QStringLiteral("Nome"), QStringLiteral("Nome")},
                                          {QStringLiteral("DescricaoFuncao"), QStringLiteral("Função")},
                                          {QStringLiteral("TitulacaoAtual"), QStringLiteral("Titulação Atual")},
                                          {QStringLiteral("AreaConhecTitulacao"),
                                           QStringLiteral("Área do Conhecimento da Titulação")},
                                          {QStringLiteral("PaisTitulacao"), QStringLiteral("País em que Obteve a Titulação")}});
    if (!vazios.isEmpty() || v(m, "EquipeOriginal").trimmed().isEmpty())
        return recusa(MensagemObrigatorios(vazios), PaginaDados, primeiroHabilitado({Nome, Funcao}));
    // 5. The grant.
    if (form().marcado(Bolsa)) {
        const QStringList faltam = Vazios(m_bolsistas, {{QStringLiteral("FontePagadora"), QStringLiteral("Fonte Pagadora")},
                                                        {QStringLiteral("ModalidadeBolsa"),
                                                         QStringLiteral("Modalidade da Bolsa")}});
        if (!faltam.isEmpty())
            return recusa(MensagemObrigatorios(faltam), PaginaBolsa, Modalidade);
    }
    // 6. One active coordinator.
    const bool coordenador = v(m, "DescricaoFuncao") == Coordenador;
    if (coordenador && v(m, "DescAtivPosPro").isEmpty()
        && ExisteDuplicadoMembro(m, QStringLiteral("DescricaoFuncao"), Coordenador, codigo(), CodMembro)) {
        m.setValue(QStringLiteral("TipInstAtivPosPro"), QString());
        form().mostraRegistro();
        return recusa(QStringLiteral("Já existe COORDENADOR cadastrado para este projeto"), PaginaDados, Funcao);
    }
    // 7, 8. Questions: Yes goes to the coordinator's page and the dialog stays open.
    const auto pergunta = [this](const QString& texto) {
        if (app::Mensagem(texto, app::Icone::Erro, app::Botoes::SimNao) != app::Resposta::Sim)
            return true;
        form().mostraPagina(PaginaCoordenador);
        form().foca(Endereco);
        return false;
    };
    if (!v(m, "Cidade").isEmpty() && v(m, "UF").isEmpty()
        && !pergunta(QStringLiteral("Quando for informado a Cidade, é obrigatório informar também a UF.")))
        return false;
    if (coordenador
        && (v(m, "Endereco").isEmpty() || v(m, "Cidade").isEmpty() || v(m, "CEP").isEmpty() || v(m, "Fone").isEmpty()
            || v(m, "Fax").isEmpty() || v(m, "Email").isEmpty())
        && !pergunta(QStringLiteral("As informações de COORDENADOR não foram completamente preenchidas. Caso deseje, "
                                    "poderá fazê-lo agora. Senão, sua operação será confirmada.")))
        return false;
    // 9. Apostrophes.
    if (ContemAspas(v(m, "BIRO")))
        return recusa(QStringLiteral("O BIRO do membro da equipe não pode conter aspas!"), PaginaDados,
                      primeiroHabilitado({Nome, Funcao}));
    if (ContemAspas(v(m, "Nome")))
        return recusa(QStringLiteral("O nome do membro da equipe não pode conter aspas!"), PaginaDados,
                      primeiroHabilitado({Nome, Funcao}));
    // 10. Duplicates.
    const QString cod = codigo();
    if (!biro.isEmpty() && ExisteDuplicado(m, QStringLiteral("BIRO"), v(m, "BIRO"), {}, {}, {}, {}, CodMembro, cod))
        return recusa(QStringLiteral("Já existe este Membro cadastrado com este BIRO!"), PaginaDados,
                      primeiroHabilitado({Biro, Funcao}));
    if (ExisteDuplicado(m, QStringLiteral("Nome"), v(m, "Nome"), {}, {}, {}, {}, CodMembro, cod))
        return recusa(QStringLiteral("Já existe este Membro cadastrado com este Nome!"), PaginaDados,
                      primeiroHabilitado({Nome, Funcao}));
    if (!kesta.isEmpty() && ExisteDuplicado(m, QStringLiteral("KESTA"), v(m, "KESTA"), {}, {}, {}, {}, CodMembro, cod))
        return recusa(QStringLiteral("Já existe este Membro cadastrado com este KESTA!"), PaginaDados,
                      primeiroHabilitado({Kesta, Funcao}));
    // 11. Commit.
    efetiva({&m_bolsistas, &m_trabalhos, &m_areas}, [this, cod] {
        ConfirmaItens(m_membros, m_bolsistas, CodMembro);
        const QString filtro = m_trabalhos.filter();
        filtraTrabalhos(QStringLiteral("Cod_Membro = '") + cod + QStringLiteral("'"));
        for (m_trabalhos.first(); !m_trabalhos.eof(); m_trabalhos.next())
            ConfirmaItens(m_trabalhos, m_areas, CodTrab);
        filtraTrabalhos(filtro);
        ConfirmaItens(m_membros, m_trabalhos, CodMembro);
    });
    return true;
}

// ---- Cancelar and closing ----

void EdicaoMembro::aoCancelar()
{
    const QString cod = codigo();
    if (aux::emEdicao(m_bolsistas))
        m_bolsistas.cancel();
    CancelaItens(m_membros, m_bolsistas, CodMembro, 1);
    // The member's works with I or E, then those with A, X or Y, each get their areas rolled back.
    // They are found as one run of the works' member index, rather than by filtering the whole table
    // twice.
    aux::modoNavegacao(m_trabalhos);
    const QString indice = m_trabalhos.indexName();
    const bool filtrada = m_trabalhos.filtered();
    m_trabalhos.setFiltered(false);
    aux::selecionaIndice(m_trabalhos, QStringLiteral("Membro"));
    if (m_trabalhos.indexName().isEmpty())
        aux::criaIndice(m_trabalhos, QStringLiteral("Membro"), CodMembro);
    for (const QStringList& letras : {QStringList{QStringLiteral("I"), QStringLiteral("E")},
                                      QStringList{QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("Y")}}) {
        if (!m_trabalhos.findKey({cod}))
            break;
        for (; !m_trabalhos.eof() && m_trabalhos.value(CodMembro) == cod; m_trabalhos.next())
            if (letras.contains(aux::status(m_trabalhos)))
                CancelaItens(m_trabalhos, m_areas, CodTrab, modo());
    }
    aux::selecionaIndice(m_trabalhos, indice);
    m_trabalhos.setFiltered(filtrada);
    CancelaItens(m_membros, m_trabalhos, CodMembro, modo());
    devolveTabelas();
}

void EdicaoMembro::aoFechar()
{
    aux::modoNavegacao(m_bolsistas);
    m_bolsistas.setFiltered(false);
    m_bolsistas.setFilter(m_filtroBolsistas.isEmpty() ? QStringLiteral("(Status <> 'D')") : m_filtroBolsistas);
    m_bolsistas.setFiltered(true);
}

} // namespace edit
