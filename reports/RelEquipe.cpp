// The team: the coordinator's contact, then every member with bursary data and academic works.
#include "reports/Definicoes.h"

#include "reports/Impressao.h"

namespace reports::def {

namespace {

// The first member, in the table's natural order among those it shows, who is an active coordinator.
store::Table::Bookmark CoordenadorAtual(store::Table& membros)
{
    const int funcao = membros.fieldIndexOrThrow(QStringLiteral("DescricaoFuncao"));
    const int tipo = membros.fieldIndexOrThrow(QStringLiteral("TipInstAtivPosPro"));
    const QString indice = membros.indexName();
    membros.setIndexName(QString());
    store::Table::Bookmark achado = 0;
    for (store::Table::Bookmark b : membros.visibleRows()) {
        if (membros.rowValue(b, funcao) == QLatin1String("COORDENADOR")
            && membros.rowValue(b, tipo) == QLatin1String("PARTICIPANTE ATIVO")) {
            achado = b;
            break;
        }
    }
    membros.setIndexName(indice);
    return achado;
}

} // namespace

std::unique_ptr<Relatorio> TWinReportEquipe(store::Dados& dados)
{
    auto r = std::make_unique<RelatorioDaFamilia>(QStringLiteral("TWinReportEquipe"), PaginaCarta);
    RelatorioDaFamilia* rel = r.get();
    store::Table& m = dados.identificacao().tbMembro;
    r->titulo(QStringLiteral("Equipe"), QStringLiteral("Contato com o coordenador atual "));
    r->cabecalho(QStringLiteral("Membros da equipe"));
    r->rodape();

    // The coordinator's contact, read from the row found (nothing when the team has no active
    // coordinator, rather than some other member's data).
    Banda& contato = r->titulo()->filho();
    auto coordenador = std::make_shared<store::Table::Bookmark>(0);
    const auto valor = [&m, coordenador](const char* campo) {
        return *coordenador ? m.rowValue(*coordenador, m.fieldIndexOrThrow(QString::fromLatin1(campo))) : QString();
    };
    ParCalculado(contato, QStringLiteral("Nome"), [valor] { return valor("Nome"); });
    ParCalculado(contato, QStringLiteral("Endereço"), [valor] { return valor("Endereco"); });
    ParCalculado(contato, QStringLiteral("Cidade"), [valor] { return valor("Cidade"); });
    ParCalculado(contato, QStringLiteral("UF"), [valor] { return valor("UF"); });
    ParCalculado(contato, QStringLiteral("CEP"), [valor] { return valor("CEP"); });
    ParCalculado(contato, QStringLiteral("Telefone"), [valor] { return valor("Fone"); });
    ParCalculado(contato, QStringLiteral("Fax"), [valor] { return valor("Fax"); });
    ParCalculado(contato, QStringLiteral("E-mail"), [valor] { return valor("Email"); });
    AntesDeImprimir(*r->titulo(), [&m, coordenador](Banda&, bool&) { *coordenador = CoordenadorAtual(m); });
    contato.depoisDeImprimir = [rel](Banda&) {
        rel->cabecalhoPagina()->habilitada = true;
        rel->novaPagina();
    };

    Banda& b = r->detalhe(m, Quebra::SeOcupada);
    Pares(b, m, {
        {"Nome", "Nome"},
        {"Código BIRO", "BIRO"},
        {"Código KESTA", "KESTA"},
        {"Função", "DescricaoFuncao"},
        {"Horas semanais", "CargaHoraria"},
    });
    ParCalculado(b, QStringLiteral("Equipe original"), [&m] { return SimNao(m.value(QStringLiteral("EquipeOriginal"))); });
    Pares(b, m, {
        {"Titulação atual", "TitulacaoAtual"},
        {"Área da titulação", "AreaConhecTitulacao"},
        {"País da titulação", "PaisTitulacao"},
        {"Motivo da saída", "MotivoSaida"},
    });
    // A member who has not left is printed as the member table stores such a member: an active
    // participant with no activity after the project. Only the printed texts change, never the row.
    const auto saiu = [&m] { return !m.value(QStringLiteral("MotivoSaida")).trimmed().isEmpty(); };
    ParCalculado(b, QStringLiteral("Situação após o projeto"), [&m, saiu] {
        return saiu() ? m.value(QStringLiteral("TipInstAtivPosPro")) : QStringLiteral("PARTICIPANTE ATIVO");
    });
    Banda& desc = b.filho();
    desc.rotulo(0, 0, QStringLiteral("Atividade após o projeto"), Fonte{9, true, false});
    desc.novaLinha(0.5);
    Item* texto = &desc.rotulo(0, 0, QString());
    desc.antesDeImprimir = [rel, &m, saiu, texto](Banda&, bool&) {
        texto->texto = saiu() ? m.value(QStringLiteral("DescAtivPosPro")) : QString();
        const qsizetype n = texto->texto.size();
        if (n > 1200 && n < 1400)
            rel->novaPagina();
    };

    const QStringList membro{QStringLiteral("Cod_Membro")};
    store::Table& bolsista = dados.identificacao().tbMembroBolsista;
    Grupo& bolsa = Ligada(r->mestre, bolsista, membro, membro);
    CabecalhoDeLista(bolsa, QStringLiteral("Dados de bolsista"));
    Banda& db = bolsa.criaDetalhe();
    db.par(QStringLiteral("Fonte pagadora"), bolsista, QStringLiteral("FontePagadora"));
    db.par(QStringLiteral("Modalidade da bolsa"), bolsista, QStringLiteral("ModalidadeBolsa"));

    // The works of a member always begin a page of their own, under a line that only members with
    // works have.
    Grupo& trabalhos = TrabalhosAcademicos(r->mestre, dados, QStringLiteral("Cod_Membro"));
    trabalhos.cabecalho->linha();
    AntesDeImprimir(*trabalhos.cabecalho, [rel](Banda&, bool&) { rel->novaPagina(); });
    return r;
}

} // namespace reports::def
