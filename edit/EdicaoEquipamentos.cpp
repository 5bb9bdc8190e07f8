#include "edit/EdicaoEquipamentos.h"

#include "edit/ApoioDialogos.h"
#include "edit/ValidaNumeros.h"

#include "core/Interacao.h"
#include "store/Table.h"

namespace edit {

namespace {
const QString Ano = QStringLiteral("medAnoFabricacao");
const QString Valor = QStringLiteral("medValorAtual");
const QString Pais = QStringLiteral("dbPais");
const QString Fonte = QStringLiteral("dbFonteRecurso");
const QString MsgAno = QStringLiteral("Ano de Fabricação precisa estar entre 1900 e 2010.");
} // namespace

EdicaoEquipamentos::EdicaoEquipamentos(Formulario& form, store::Table& equipamentos, store::Table& instituicoes)
    : EdicaoEntidade(form, equipamentos, QStringLiteral("Cod_Equip"))
    , m_instituicoes(instituicoes)
{
    defineTitulos(QStringLiteral("Inserir Equipamento Adquirido"), QStringLiteral("Editar Equipamento Adquirido"));
    liga(QStringLiteral("cbTipoEquip"), equipamentos, QStringLiteral("TipoEquip"), TipoControle::Lista, {},
         QStringLiteral("tipos_equipamento.txt"));
    liga(QStringLiteral("dbeDescr_Equip"), equipamentos, QStringLiteral("Descr_Equip"));
    liga(QStringLiteral("dbeModelo"), equipamentos, QStringLiteral("Modelo"));
    liga(QStringLiteral("dbeFabricante"), equipamentos, QStringLiteral("Fabricante"));
    liga(Pais, equipamentos, QStringLiteral("PaisFabricacao"), TipoControle::Lista, {}, QStringLiteral("paises.txt"));
    liga(QStringLiteral("dbeNrPatrim"), equipamentos, QStringLiteral("NrPatrim"));
    liga(Fonte, equipamentos, QStringLiteral("OutraFonte"), TipoControle::Lista, {},
         QStringLiteral("tipos_fonte_recursos.txt"));
    liga(QStringLiteral("dbmDescricaoUso"), equipamentos, QStringLiteral("DescricaoUso"), TipoControle::Memo);
    declaraMascara(Ano, QStringLiteral("####;_"));
    declaraMascara(Valor, QStringLiteral("#############.##;_"));
}

void EdicaoEquipamentos::aoMostrar()
{
    m_local.carrega(form(), ItensFiltrados(m_instituicoes, filtroinst::Equipamentos, QStringLiteral("Cod_Inst"),
                                           QStringLiteral("Nome")));
    if (inserindo())
        return;
    copiaParaMascara(Ano, QStringLiteral("AnoFabricacao"));
    form().defineValor(Valor, tabela().value(QStringLiteral("ValorAtual")));
    CampoDoFormulario valor(form(), Valor);
    if (!valor.texto().trimmed().isEmpty())
        AlinhaValor(valor);
    // An institution the box cannot list (deleted, or of another involvement) is not kept.
    if (!m_local.mostra(form(), tabela().value(QStringLiteral("InstLocaliz"))))
        tabela().setValue(QStringLiteral("InstLocaliz"), QString());
}

void EdicaoEquipamentos::aoMudar(const QString& controle)
{
    if (controle == m_local.controle())
        tabela().setValue(QStringLiteral("InstLocaliz"), m_local.chaveEscolhida(form()));
}

void EdicaoEquipamentos::aoApagar(const QString& controle)
{
    if (controle == Pais || controle == Fonte) {
        form().defineValor(controle, QString());
        tabela().setValue(controle == Pais ? QStringLiteral("PaisFabricacao") : QStringLiteral("OutraFonte"), QString());
    }
}

bool EdicaoEquipamentos::anoNaFaixa(const QString& ano)
{
    if (ano.isEmpty())
        return true;
    const int n = ano.toInt();
    if (n >= 1900 && n <= 2010)
        return true;
    return recusaInfo(MsgAno, {}, Ano);
}

bool EdicaoEquipamentos::aoSair(const QString& controle)
{
    CampoDoFormulario campo(form(), controle);
    if (controle == Ano) {
        if (!ValidaInteiro(campo, QStringLiteral("Ano de Fabricação"))) {
            form().foca(Ano);
            return false;
        }
        return anoNaFaixa(textoDaMascara(Ano));
    }
    if (controle == Valor && !validaValorDigitado(Valor, QStringLiteral("Valor Atual"))) {
        form().foca(Valor);
        return false;
    }
    return true;
}

bool EdicaoEquipamentos::aoConfirmar()
{
    store::Table& t = tabela();
    // A year erased in the edit is erased in the record too.
    const QString ano = textoDaMascara(Ano);
    if (!anoNaFaixa(ano))
        return false;
    // Confirmar may come without leaving the value (its shortcut key): the value is checked here too,
    // so that a value with blanks inside never reaches the record.
    if (!aoSair(Valor))
        return false;
    t.setValue(QStringLiteral("AnoFabricacao"), ano);
    t.setValue(QStringLiteral("ValorAtual"), ValorParaRegistro(form().valor(Valor)));
    if (faltaObrigatorio({{QStringLiteral("Descr_Equip"), QStringLiteral("Nome do Equipamento"), QStringLiteral("dbeDescr_Equip"), {}}, {QStringLiteral("ValorAtual"), QStringLiteral("Valor Atual"), Valor, {}}, {QStringLiteral("TipoEquip"), QStringLiteral("Tipo"), QStringLiteral("cbTipoEquip"), {}}, {QStringLiteral("InstLocaliz"), QStringLiteral("Instituição em que se Localiza"), m_local.controle(), {}}}))
        return false;
    efetiva({}, [] {});
    return true;
}

void EdicaoEquipamentos::aoCancelar() { devolveTabelas(); }

} // namespace edit
