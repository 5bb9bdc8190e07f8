#include "edit/EdicaoBolsa.h"

#include "edit/CopiasDeTrabalho.h"
#include "edit/Duplicados.h"
#include "edit/Escolha.h"
#include "edit/Exclusao.h"
#include "edit/ItensFilhos.h"
#include "edit/TabelaAux.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"

#include "store/Dados.h"

namespace edit {

namespace {

const QString CodBolsa = QStringLiteral("Cod_Bolsa");
const QString CodTrab = QStringLiteral("Cod_Trab");

QString v(const store::Table& t, const char* campo) { return t.value(QString::fromLatin1(campo)); }

} // namespace

EdicaoBolsa::EdicaoBolsa(Formulario& form, AbreTrabalhos abreTrabalhos)
    : EdicaoEntidade(form, store::DataAtividadesApoiadas().tbBolsa, CodBolsa)
    , m_bolsas(store::DataAtividadesApoiadas().tbBolsa)
    , m_areas(store::DataAtividadesApoiadas().tbBolsaAreaConhec)
    , m_trabalhos(store::DataAtividadesApoiadas().tbTrabalhoAcademico)
    , m_areasTrabalho(store::DataAtividadesApoiadas().tbTrabalhoAreaConhec)
    , m_abreTrabalhos(std::move(abreTrabalhos))
{
    defineTitulos(QStringLiteral("Inserir Bolsa de Estudo Concedida"), QStringLiteral("Editar Bolsa de Estudo Concedida"));
    definePrimeiraPagina(PaginaDados);
    liga(Nome, m_bolsas, QStringLiteral("NomeBolsista"));
    liga(Biro, m_bolsas, QStringLiteral("BIROBolsista"));
    liga(Modalidade, m_bolsas, QStringLiteral("Modalidade"), TipoControle::Lista, {},
         QStringLiteral("modalidades_bolsa.txt"));
    liga(NomeInstituicao, m_bolsas, QStringLiteral("NomeInstDestino"));
    declaraMascara(Kesta, QStringLiteral("#########;_"));
    declaraMascara(BiroInstituicao, QStringLiteral("#########;_"));
    declaraMascara(Inicio, QStringLiteral("99/99/9999;_"));
    declaraMascara(Fim, QStringLiteral("99/99/9999;_"));
}

void EdicaoBolsa::filtraTrabalhos(const QString& filtro)
{
    aux::modoNavegacao(m_trabalhos);
    m_trabalhos.setFiltered(false);
    m_trabalhos.setFilter(filtro);
    m_trabalhos.setFiltered(true);
}

void EdicaoBolsa::aoMostrar()
{
    const QString cod = codigo();
    guardaCopia(CopiaTrabalhosDoDono, m_trabalhos);
    // Areas are put back exactly as well, letters included (an A area marked X would come back N).
    guardaCopia(QStringLiteral("temp/tabBolsaArea_edit.cof"), m_areas);
    guardaCopia(QStringLiteral("temp/tabTrabArea_edit.cof"), m_areasTrabalho);
    filtra(m_areas, QStringLiteral("Status <> 'D' and Status <> 'X' and Status <> 'Y' and (Cod_Bolsa =  '") + cod
                        + QStringLiteral("')"));
    filtra(m_trabalhos, QStringLiteral("(Status <> 'D' and Status <> 'X' and Status <> 'Y') and (Cod_Bolsa =  '")
                            + cod + QStringLiteral("')"));
    if (!inserindo()) {
        ajustaFlagBiro(QStringLiteral("BIROBolsista"));
        protegeIdentidade({Kesta, Nome, BiroInstituicao, NomeInstituicao}, Biro);
        copiaParaMascara(Kesta, QStringLiteral("KESTA"));
        copiaParaMascara(BiroInstituicao, QStringLiteral("BIROInstDestino"));
        copiaParaMascara(Inicio, QStringLiteral("DataInicio"), false);
        copiaParaMascara(Fim, QStringLiteral("DataConclusao"), false);
    }
    habilitaAreas();
}

void EdicaoBolsa::aoFalharListas()
{
    form().habilita(IncluirArea, false);
    form().habilita(ExcluirArea, false);
}

void EdicaoBolsa::habilitaAreas()
{
    if (listasCarregadas())
        form().habilita(ExcluirArea, m_areas.recordCount() > 0);
}

void EdicaoBolsa::aoClicar(const QString& controle)
{
    if (controle == IncluirArea) {
        IncluiAreaConhec(m_bolsas, m_areas, CodBolsa, modo());
        habilitaAreas();
    } else if (controle == ExcluirArea) {
        ExcluiItem(m_areas, QStringLiteral("esta Área de Conhecimento?"));
        habilitaAreas();
    } else if (controle == Trabalhos) {
        filtraTrabalhos(QStringLiteral("(Status <> 'D' and Status <> 'X' and Status <> 'Y') and (Cod_Bolsa =  '")
                        + codigo() + QStringLiteral("')"));
        if (m_abreTrabalhos)
            m_abreTrabalhos(CodBolsa, codigo());
    }
}

bool EdicaoBolsa::confereCodigo(const QString& controle)
{
    CampoDoFormulario campo(form(), controle);
    AlinhaNumero(campo);
    if (!ValidaInteiro(campo, controle == Kesta ? QStringLiteral("Código KESTA do Bolsista")
                                                : QStringLiteral("Código BIRO da Instituição"))) {
        form().mostraPagina(PaginaDados);
        form().foca(controle);
        return false;
    }
    return true;
}

bool EdicaoBolsa::aoSair(const QString& controle)
{
    if (controle == Kesta || controle == BiroInstituicao)
        return confereCodigo(controle);
    return true;
}

bool EdicaoBolsa::aoTrocarPagina(const QString& de, const QString&)
{
    if (de != PaginaDados)
        return true;
    return confereCodigo(BiroInstituicao) && confereCodigo(Kesta);
}

bool EdicaoBolsa::aoConfirmar()
{
    store::Table& b = m_bolsas;
    const QStringList focoCodigo = {Kesta, Biro, Modalidade};
    if (ContemAspas(v(b, "NomeBolsista")))
        return recusa(QStringLiteral("O nome do bolsista não pode conter aspas!"), PaginaDados,
                      primeiroHabilitado({Nome, Modalidade}));
    if (!aux::emEdicao(b))
        b.edit();
    const auto data = [this](const QString& controle) {
        const QString t = form().valor(controle);
        return t == DataVazia ? QString() : t;
    };
    QString inicio = data(Inicio);
    QString fim = data(Fim);
    b.setValue(QStringLiteral("BIROInstDestino"), textoDaMascara(BiroInstituicao));
    b.setValue(QStringLiteral("KESTA"), textoDaMascara(Kesta));
    QString inicioCompleto = inicio.isEmpty() ? DataVazia : inicio;
    QString fimCompleto = fim.isEmpty() ? DataVazia : fim;
    if (!ValidaDatas(inicioCompleto, fimCompleto)) {
        form().mostraPagina(PaginaDados);
        form().foca(Inicio);
        return false;
    }
    // The dates are stored as shown, with four-digit years.
    form().defineValor(Inicio, inicioCompleto);
    form().defineValor(Fim, fimCompleto);
    b.setValue(QStringLiteral("DataInicio"), inicioCompleto == DataVazia ? QString() : inicioCompleto.trimmed());
    b.setValue(QStringLiteral("DataConclusao"), fimCompleto == DataVazia ? QString() : fimCompleto.trimmed());

    const QString biro = v(b, "BIROBolsista").trimmed();
    const QString kesta = v(b, "KESTA").trimmed();
    if (biro.isEmpty() && kesta.isEmpty() && v(b, "NomeBolsista").trimmed().isEmpty())
        return recusa(QStringLiteral("É obrigatório indicar o código BIRO OU o Código KESTA."), PaginaDados,
                      primeiroHabilitado(focoCodigo));
    if (inserindo() && !biro.isEmpty() && !kesta.isEmpty())
        return recusa(QStringLiteral("Para inclusão, não é permitido indicar código BIRO e Código KESTA simultaneamente."),
                      PaginaDados, primeiroHabilitado(focoCodigo));
    const QStringList vazios = Vazios(b, {{QStringLiteral("NomeBolsista"), QStringLiteral("Nome do Bolsista")},
                                          {QStringLiteral("BIROInstDestino"), QStringLiteral("BIRO da Instituição")},
                                          {QStringLiteral("NomeInstDestino"), QStringLiteral("Nome da Instituição")},
                                          {QStringLiteral("Modalidade"), QStringLiteral("Modalidade")},
                                          {QStringLiteral("DataInicio"), QStringLiteral("Data de Início")}});
    if (!vazios.isEmpty())
        return recusa(MensagemObrigatorios(vazios), PaginaDados, primeiroHabilitado({Nome, Modalidade}));
    if (m_areas.recordCount() == 0)
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), PaginaAreas, IncluirArea);
    const QString cod = codigo();
    if (!biro.isEmpty()) {
        if (ContemAspas(v(b, "BIROBolsista")))
            return recusa(QStringLiteral("O BIRO do bolsista não pode conter aspas!"), PaginaDados,
                          primeiroHabilitado({Biro, Modalidade}));
        if (ExisteDuplicado(b, QStringLiteral("BIROBolsista"), v(b, "BIROBolsista"), {}, {}, {}, {}, CodBolsa, cod))
            return recusa(QStringLiteral("Já existe Bolsa cadastrada para este BIRO!"), PaginaDados,
                          primeiroHabilitado({Biro, Modalidade}));
    }
    if (!kesta.isEmpty()) {
        if (ExisteDuplicado(b, QStringLiteral("KESTA"), v(b, "KESTA"), {}, {}, {}, {}, CodBolsa, cod))
            return recusa(QStringLiteral("Já existe Bolsa cadastrada para este KESTA!"), PaginaDados,
                          primeiroHabilitado({Kesta, Modalidade}));
        if (ExisteDuplicado(b, QStringLiteral("NomeBolsista"), v(b, "NomeBolsista"), {}, {}, {}, {}, CodBolsa, cod))
            return recusa(QStringLiteral("Já existe Bolsa cadastrada para este Nome!"), PaginaDados,
                          primeiroHabilitado({Nome, Modalidade}));
    }
    efetiva({&m_areas, &m_trabalhos, &m_areasTrabalho}, [this, cod] {
        const QString filtro = m_trabalhos.filter();
        filtraTrabalhos(QStringLiteral("Cod_Bolsa = '") + cod + QStringLiteral("'"));
        for (m_trabalhos.first(); !m_trabalhos.eof(); m_trabalhos.next())
            ConfirmaItens(m_trabalhos, m_areasTrabalho, CodTrab);
        filtraTrabalhos(filtro);
        ConfirmaItens(m_bolsas, m_trabalhos, CodBolsa);
        ConfirmaItens(m_bolsas, m_areas, CodBolsa);
    });
    return true;
}

void EdicaoBolsa::aoCancelar()
{
    const QString cod = codigo();
    CancelaItens(m_bolsas, m_areas, CodBolsa, modo());
    const QString filtro = m_trabalhos.filter();
    for (const QString& letras : {QStringLiteral("(Status = 'I' or Status = 'E')"),
                                  QStringLiteral("(Status = 'A' or Status = 'X' or Status = 'Y')")}) {
        filtraTrabalhos(letras + QStringLiteral(" and (Cod_Bolsa = '") + cod + QStringLiteral("')"));
        for (m_trabalhos.first(); !m_trabalhos.eof(); m_trabalhos.next())
            CancelaItens(m_trabalhos, m_areasTrabalho, CodTrab, modo());
    }
    filtraTrabalhos(QStringLiteral("(Cod_Bolsa = '") + cod + QStringLiteral("')"));
    CancelaItens(m_bolsas, m_trabalhos, CodBolsa, modo());
    filtraTrabalhos(filtro);
    devolveTabelas();
}

} // namespace edit
