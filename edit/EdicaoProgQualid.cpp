#include "edit/EdicaoProgQualid.h"

#include "edit/ApoioDialogos.h"
#include "edit/ValidaNumeros.h"

#include "store/Table.h"

namespace edit {

namespace {
const QString RelGQT = QStringLiteral("RelGQT");
const QString Desconhecida = QStringLiteral("W");
const QString Pagina = QStringLiteral("tsDadosGerais");

// Adds to `itens` the entries of `iniciais` whose key is `chave`, so that a stored choice outside the
// purpose's list still shows.
void acrescentaEscolhida(std::vector<ItemPesquisa>& itens, const std::vector<ItemPesquisa>& iniciais, const QString& chave)
{
    if (chave.isEmpty())
        return;
    for (const ItemPesquisa& i : itens)
        if (i.chave == chave)
            return;
    for (const ItemPesquisa& i : iniciais)
        if (i.chave == chave) {
            itens.push_back(i);
            return;
        }
}
} // namespace

EdicaoProgQualid::EdicaoProgQualid(Formulario& form, store::Table& qualidade, store::Table& instituicoes)
    : EdicaoEntidade(form, qualidade, QStringLiteral("Cod_Qualidade"))
    , m_instituicoes(instituicoes)
{
    defineTitulos(QStringLiteral("Inserir Programa de Qualidade Total"),
                  QStringLiteral("Editar Programa de Qualidade Total"));
    definePrimeiraPagina(Pagina);
    liga(QStringLiteral("dbSituacao"), qualidade, QStringLiteral("Situacao"), TipoControle::Lista, {},
         QStringLiteral("situacoes_prog_qualidade.txt"));
    liga(QStringLiteral("dbmResultados"), qualidade, QStringLiteral("Resultados"), TipoControle::Memo);
    liga(QStringLiteral("dbmIndicDesemp"), qualidade, QStringLiteral("IndicDesemp"), TipoControle::Memo);
    liga(QStringLiteral("dbrgCertific"), qualidade, QStringLiteral("Certific"), TipoControle::Opcoes,
         {QStringLiteral("C"), QStringLiteral("P"), QStringLiteral("N")});
    liga(QStringLiteral("dbrgRelGQT"), qualidade, RelGQT, TipoControle::Opcoes,
         {QStringLiteral("G"), QStringLiteral("C"), QStringLiteral("P"), QStringLiteral("N"), Desconhecida});
    declaraMascara(HorasDiagnostico, QStringLiteral("#####;_"));
    declaraMascara(HorasImplementacao, QStringLiteral("#####;_"));
}

void EdicaoProgQualid::aoMostrar()
{
    store::Table& t = tabela();
    const QString biro = QStringLiteral("BIRO");
    const QString codInst = QStringLiteral("Cod_Inst");
    const QString nome = QStringLiteral("Nome");
    const auto iniciaisPorBiro = ItensFiltrados(m_instituicoes, filtroinst::QualidadeInicial, biro, nome);
    const auto iniciaisPorCodigo = ItensFiltrados(m_instituicoes, filtroinst::QualidadeInicial, codInst, nome);
    auto clientes = ItensFiltrados(m_instituicoes, filtroinst::QualidadeCliente, biro, nome);
    auto fornecedoras = ItensFiltrados(m_instituicoes, filtroinst::QualidadeFornecedora, codInst, nome);
    acrescentaEscolhida(clientes, iniciaisPorBiro, t.value(QStringLiteral("Cod_InstCliente")));
    acrescentaEscolhida(fornecedoras, iniciaisPorCodigo, t.value(QStringLiteral("Cod_InstFornec")));
    m_cliente.carrega(form(), clientes);
    m_fornecedora.carrega(form(), fornecedoras);
    m_cliente.mostra(form(), t.value(QStringLiteral("Cod_InstCliente")));
    m_fornecedora.mostra(form(), t.value(QStringLiteral("Cod_InstFornec")));

    // The unknown relation is stored as an empty field.
    if (t.value(RelGQT).isEmpty())
        t.setValue(RelGQT, Desconhecida);
    if (!inserindo()) {
        copiaParaMascara(HorasDiagnostico, QStringLiteral("HorasDiagnostico"), false);
        copiaParaMascara(HorasImplementacao, QStringLiteral("HorasImplem"), false);
    }
}

void EdicaoProgQualid::aoMudar(const QString& controle)
{
    if (controle == m_cliente.controle())
        tabela().setValue(QStringLiteral("Cod_InstCliente"), m_cliente.chaveEscolhida(form()));
    else if (controle == m_fornecedora.controle())
        tabela().setValue(QStringLiteral("Cod_InstFornec"), m_fornecedora.chaveEscolhida(form()));
}

bool EdicaoProgQualid::aoSair(const QString& controle)
{
    if (controle != HorasDiagnostico && controle != HorasImplementacao)
        return true;
    CampoDoFormulario campo(form(), controle);
    if (ValidaInteiro(campo, controle == HorasDiagnostico ? QStringLiteral("Tempo de Diagnóstico")
                                                          : QStringLiteral("Tempo de Implementação")))
        return true;
    form().foca(controle);
    return false;
}

bool EdicaoProgQualid::validaHoras()
{
    for (const QString& c : {HorasDiagnostico, HorasImplementacao})
        if (!aoSair(c)) {
            form().mostraPagina(Pagina);
            form().foca(c);
            return false;
        }
    return true;
}

bool EdicaoProgQualid::aoTrocarPagina(const QString& de, const QString&)
{
    return de != Pagina || validaHoras();
}

bool EdicaoProgQualid::aoConfirmar()
{
    store::Table& t = tabela();
    t.setValue(QStringLiteral("HorasDiagnostico"), textoDaMascara(HorasDiagnostico));
    t.setValue(QStringLiteral("HorasImplem"), textoDaMascara(HorasImplementacao));
    if (t.value(RelGQT) == Desconhecida)
        t.setValue(RelGQT, QString());
    auto recusaMostrando = [&](const QString& mensagem, const QString& foco) {
        // The radio group shows the unknown relation again while the dialog stays open.
        if (t.value(RelGQT).isEmpty())
            t.setValue(RelGQT, Desconhecida);
        form().mostraRegistro();
        return recusa(mensagem, Pagina, foco);
    };
    QString foco, pagina;
    if (const QString faltam = obrigatoriosVazios({{QStringLiteral("Cod_InstCliente"), QStringLiteral("Instituição Cliente"), m_cliente.controle(), Pagina}, {QStringLiteral("Cod_InstFornec"), QStringLiteral("Instituição Fornecedora"), m_fornecedora.controle(), Pagina}, {QStringLiteral("Situacao"), QStringLiteral("Situação do Programa"), QStringLiteral("dbSituacao"), Pagina}, {QStringLiteral("Certific"), QStringLiteral("Certificação"), QStringLiteral("dbrgCertific"), Pagina}}, foco, pagina); !faltam.isEmpty())
        return recusaMostrando(faltam, foco);
    const QString certific = t.value(QStringLiteral("Certific"));
    const bool comRelacao = !t.value(RelGQT).isEmpty();
    if ((certific == QLatin1String("C") || certific == QLatin1String("P")) && !comRelacao)
        return recusaMostrando(QStringLiteral("Se o cliente é Certificado ou\restá em processo de Certificação,\r"
                                              "Relação com GQT não pode ser DESCONHECIDO/INEXISTENTE"),
                               QStringLiteral("dbrgRelGQT"));
    if (certific == QLatin1String("N") && comRelacao)
        return recusaMostrando(QStringLiteral("Se o cliente não está desenvolvendo esforço de Certificação,\r"
                                              "Relação com GQT precisa ser DESCONHECIDO/INEXISTENTE"),
                               QStringLiteral("dbrgRelGQT"));
    efetiva({}, [] {});
    return true;
}

void EdicaoProgQualid::aoCancelar()
{
    // The changes are abandoned; no working copy is reloaded.
    if (tabela().state() == store::Table::State::Edit || tabela().state() == store::Table::State::Insert)
        tabela().cancel();
}

} // namespace edit
