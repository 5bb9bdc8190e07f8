#include "edit/EdicaoMateriais.h"

#include "edit/ApoioDialogos.h"
#include "edit/DuplicadoFilho.h"
#include "edit/Edicao.h"
#include "edit/EscolhasAtividades.h"
#include "edit/Exclusao.h"
#include "edit/TabelaAux.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"

#include "store/Table.h"

namespace edit {

namespace {
const QString Geral = QStringLiteral("tsDadosGerais");
const QString Areas = QStringLiteral("tsAreas");
const QString Tipo = QStringLiteral("dbTipoMaterial");
const QString Ano = QStringLiteral("medAnoAquisicao");
const QString Quantidade = QStringLiteral("medQtdAdquirida");
const QString Valor = QStringLiteral("medValorAtual");
const QString Local = QStringLiteral("dbrgLocaldeGastos");
const QString MsgDuplicado =
    QStringLiteral("Já existe Material Informacional cadastrado com Tipo, Aquisição e Local de Gastos indicados!");
} // namespace

EdicaoMateriais::EdicaoMateriais(Formulario& form, store::Table& materiais, store::Table& areas)
    : EdicaoEntidade(form, materiais, SemLigacao)
    , m_areas(areas)
{
    defineTitulos(QStringLiteral("Inserir Material Informacional Adquirido"),
                  QStringLiteral("Editar Material Informacional Adquirido"));
    definePrimeiraPagina(Geral);
    liga(Tipo, materiais, QStringLiteral("TipoMaterial"), TipoControle::Lista, {},
         QStringLiteral("tipos_material_infor.txt"));
    liga(Local, materiais, QStringLiteral("LocaldeGastos"), TipoControle::Opcoes, {QStringLiteral("P"), QStringLiteral("E")});
    declaraMascara(Ano, QStringLiteral("####;_"));
    declaraMascara(Quantidade, QStringLiteral("#########;_"));
    declaraMascara(Valor, QStringLiteral("#############.##;_"));
}

IdentidadeMaterial EdicaoMateriais::identidadeDasAreas() const
{
    return inserindo() ? IdentidadeMaterial::marcas() : IdentidadeMaterial::doRegistro(tabela());
}

void EdicaoMateriais::filtraAreas() { filtra(m_areas, FiltroAreasMaterial(identidadeDasAreas())); }

void EdicaoMateriais::habilitaAreas() { HabilitaBotoesDaLista(form(), m_areas, {QStringLiteral("btExcluirArea")}); }

void EdicaoMateriais::aoFalharListas() { form().habilita(QStringLiteral("btIncluirArea"), false); }

void EdicaoMateriais::aoMostrar()
{
    m_status = aux::status(tabela());
    if (!inserindo()) {
        // Type, year and place identify the material and its areas.
        const QString motivo = QStringLiteral("Tipo, Aquisição e Local de Gastos identificam o material e suas áreas.");
        for (const QString& c : {Tipo, Ano, Local})
            form().protege(c, motivo);
        copiaParaMascara(Ano, QStringLiteral("AnoAquisicao"), false);
        copiaParaMascara(Quantidade, QStringLiteral("QtdAdquirida"));
        form().defineValor(Valor, tabela().value(QStringLiteral("ValorAtual")));
        CampoDoFormulario valor(form(), Valor);
        if (!valor.texto().trimmed().isEmpty())
            AlinhaValor(valor);
    }
    filtraAreas();
    habilitaAreas();
}

void EdicaoMateriais::aoMudar(const QString& controle)
{
    if (controle == Tipo || controle == Local)
        filtraAreas();
}

void EdicaoMateriais::aoClicar(const QString& controle)
{
    if (controle == QLatin1String("btIncluirArea")) {
        incluiArea();
    } else if (controle == QLatin1String("btExcluirArea")) {
        ExcluiItem(m_areas, QStringLiteral("esta Área de Conhecimento?"));
        habilitaAreas();
    }
}

// The choice dialog leaves the area unposted; this dialog links it (markers while the material is
// new), posts it and tests its description.
void EdicaoMateriais::incluiArea()
{
    const bool escolhida = EscolheAreaConhec(tabela(), m_areas, SemLigacao, modo(), QString());
    if (escolhida && aux::emEdicao(m_areas)) {
        const IdentidadeMaterial id = inserindo() ? IdentidadeMaterial::marcas()
                                                  : IdentidadeMaterial{tabela().value(QStringLiteral("TipoMaterial")),
                                                                       textoDaMascara(Ano),
                                                                       tabela().value(QStringLiteral("LocaldeGastos"))};
        const QString descricao = m_areas.value(QStringLiteral("DescricaoAreaConhec"));
        m_areas.setValue(aux::Status, QStringLiteral("E"));
        m_areas.setValue(QStringLiteral("TipoMaterial"), id.tipo);
        m_areas.setValue(QStringLiteral("AnoAquisicao"), id.ano);
        m_areas.setValue(QStringLiteral("LocaldeGastos"), id.local);
        m_areas.post();
        QString valor = descricao;
        valor.replace(QLatin1Char('\''), QStringLiteral("''"));
        RemoveFilhoDuplicado(m_areas, QStringLiteral(" and (DescricaoAreaConhec = '") + valor + QStringLiteral("' ) "),
                             0, QStringLiteral("Área de Conhecimento já cadastrada!"));
    } else if (aux::emEdicao(m_areas)) {
        m_areas.cancel();
    }
    filtraAreas();
    habilitaAreas();
}

bool EdicaoMateriais::validaAno()
{
    CampoDoFormulario campo(form(), Ano);
    bool ok = ValidaInteiro(campo, QStringLiteral("Aquisição"));
    const QString ano = textoDaMascara(Ano);
    if (ok && !ano.isEmpty()) {
        const int n = ano.toInt();
        if (n < 1990 || n > 2010) {
            recusaInfo(QStringLiteral("Aquisição precisa estar entre 1990 e 2010."), Geral, Ano);
            return false;
        }
        ok = ValidaDataAssinatura(DataAssinaturaDoProjeto(), QStringLiteral("31/12/") + ano);
    }
    if (!ok) {
        form().mostraPagina(Geral);
        form().foca(Ano);
    }
    return ok;
}

bool EdicaoMateriais::aoSair(const QString& controle)
{
    if (controle == Ano) {
        if (!validaAno())
            return false;
        if (inserindo())
            return true;
        filtraAreas();
        return true;
    }
    CampoDoFormulario campo(form(), controle);
    bool ok = true;
    if (controle == Quantidade)
        ok = ValidaInteiro(campo, QStringLiteral("Qtd. Adquirida"));
    else if (controle == Valor)
        ok = validaValorDigitado(Valor, QStringLiteral("Valor Total"));
    if (!ok) {
        form().mostraPagina(Geral);
        form().foca(controle);
    }
    return ok;
}

bool EdicaoMateriais::validaMascaras() { return aoSair(Ano) && aoSair(Quantidade) && aoSair(Valor); }

void EdicaoMateriais::copiaMascaras()
{
    store::Table& t = tabela();
    t.setValue(QStringLiteral("QtdAdquirida"), textoDaMascara(Quantidade));
    t.setValue(QStringLiteral("AnoAquisicao"), textoDaMascara(Ano));
    t.setValue(QStringLiteral("ValorAtual"), ValorParaRegistro(form().valor(Valor)));
}

bool EdicaoMateriais::aoTrocarPagina(const QString& de, const QString&)
{
    if (de != Geral)
        return true;
    if (!validaMascaras())
        return false;
    copiaMascaras();
    QString foco, pagina;
    QString texto = obrigatoriosVazios({{QStringLiteral("TipoMaterial"), QStringLiteral("Tipo de Material"), Tipo, Geral}, {QStringLiteral("AnoAquisicao"), QStringLiteral("Aquisição"), Ano, Geral}, {QStringLiteral("QtdAdquirida"), QStringLiteral("Qtd. Adquirida"), Quantidade, Geral}, {QStringLiteral("LocaldeGastos"), QStringLiteral("Local de Gastos"), Local, Geral}}, foco, pagina);
    if (!texto.isEmpty()) {
        texto.replace(QStringLiteral("Verifique se"), QStringLiteral("Verifique primeiro se"));
        return recusa(texto, pagina, foco);
    }
    if (MaterialDuplicado(tabela()))
        return recusa(MsgDuplicado, Geral, Tipo);
    return true;
}

bool EdicaoMateriais::aoConfirmar()
{
    store::Table& t = tabela();
    if (!validaMascaras())
        return false;
    copiaMascaras();
    if (faltaObrigatorio({{QStringLiteral("TipoMaterial"), QStringLiteral("Tipo de Material"), Tipo, Geral}, {QStringLiteral("AnoAquisicao"), QStringLiteral("Aquisição"), Ano, Geral}, {QStringLiteral("QtdAdquirida"), QStringLiteral("Qtd. Adquirida"), Quantidade, Geral}, {QStringLiteral("ValorAtual"), QStringLiteral("Valor Total"), Valor, Geral}, {QStringLiteral("LocaldeGastos"), QStringLiteral("Local de Gastos"), Local, Geral}}))
        return false;
    if (m_areas.recordCount() == 0)
        return recusa(QStringLiteral("Indique pelo menos uma Área do Conhecimento."), Areas,
                      QStringLiteral("btIncluirArea"));
    if (MaterialDuplicado(t))
        return recusa(MsgDuplicado, Geral, primeiroHabilitado({Tipo, Quantidade}));
    const IdentidadeMaterial id = IdentidadeMaterial::doRegistro(t);
    efetiva({&m_areas}, [this, id] {
        if (inserindo())
            IdentificaAreasNovas(m_areas, id);
        MudaAreasMaterial(m_areas, id, {{"E", "I"}, {"X", "D"}, {"Y", ""}});
        if (!aux::emEdicao(tabela()))
            tabela().edit();
        tabela().setValue(aux::Status, m_status);
    });
    return true;
}

void EdicaoMateriais::aoCancelar()
{
    RemoveAreasMarcadas(m_areas);
    MudaAreasMaterial(m_areas, IdentidadeMaterial::doRegistro(tabela()), {{"E", ""}, {"X", "N"}, {"Y", "I"}});
    if (inserindo()) {
        // A duplicate test may have posted the new material; it goes all the same.
        DescartaNovoSemCodigo(tabela());
    } else if (aux::emEdicao(tabela())) {
        tabela().setValue(aux::Status, m_status);
    }
    devolveTabelas();
}

} // namespace edit
