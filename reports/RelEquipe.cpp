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
    b.par(QStringLiteral("Nome"), m, QStringLiteral("Nome"));
    b.par(QStringLiteral("Código BIRO"), m, QStringLiteral("BIRO"));
    b.par(QStringLiteral("Código KESTA"), m, QStringLiteral("KESTA"));
    b.par(QStringLiteral("Função"), m, QStringLiteral("DescricaoFuncao"));
    b.par(QStringLiteral("Horas semanais"), m, QStringLiteral("CargaHoraria"));
    ParCalculado(b, QStringLiteral("Equipe original"), [&m] { return SimNao(m.value(QStringLiteral("EquipeOriginal"))); });
    b.par(QStringLiteral("Titulação atual"), m, QStringLiteral("TitulacaoAtual"));
    b.par(QStringLiteral("Área da titulação"), m, QStringLiteral("AreaConhecTitulacao"));
    b.par(QStringLiteral("País da titulação"), m, QStringLiteral("PaisTitulacao"));
    b.par(QStringLiteral("Motivo da saída"), m, QStringLiteral("MotivoSaida"));
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

    Grupo& bolsa = r->mestre.subdetalhe(dados.identificacao().tbMembroBolsista, {QStringLiteral("Cod_Membro")},
                                        [&m] { return QStringList{m.value(QStringLiteral("Cod_Membro"))}; });
    bolsa.imprimeSeVazio = false;
    CabecalhoDeLista(bolsa, QStringLiteral("Dados de bolsista"));
    Banda& db = bolsa.criaDetalhe();
    db.par(QStringLiteral("Fonte pagadora"), *bolsa.tabela, QStringLiteral("FontePagadora"));
    db.par(QStringLiteral("Modalidade da bolsa"), *bolsa.tabela, QStringLiteral("ModalidadeBolsa"));

    store::Table& trab = dados.atividadesApoiadas().tbTrabalhoAcademico;
    Grupo& trabalhos = r->mestre.subdetalhe(trab, {QStringLiteral("Cod_Membro")},
                                            [&m] { return QStringList{m.value(QStringLiteral("Cod_Membro"))}; });
    trabalhos.imprimeSeVazio = false;  // the works' own page only when there are works
    Banda& ct = trabalhos.criaCabecalho();
    ct.linha();
    ct.rotulo(0, 0, QStringLiteral("Trabalhos acadêmicos"), Fonte{10, true, false});
    ct.antesDeImprimir = [rel](Banda&, bool&) { rel->novaPagina(); };
    Banda& dt = trabalhos.criaDetalhe();
    dt.espacoAntes = 2;
    dt.par(QStringLiteral("Título"), trab, QStringLiteral("TituloTrab"));
    dt.par(QStringLiteral("Tipo"), trab, QStringLiteral("TipoTrab"));
    dt.par(QStringLiteral("Ano de início"), trab, QStringLiteral("AnoInicio"));
    dt.par(QStringLiteral("Ano de apresentação"), trab, QStringLiteral("AnoApresentacao"));
    store::Table& areas = dados.atividadesApoiadas().tbTrabalhoAreaConhec;
    Grupo& ga = trabalhos.subdetalhe(areas, {QStringLiteral("Cod_Trab")},
                                     [&trab] { return QStringList{trab.value(QStringLiteral("Cod_Trab"))}; });
    ga.imprimeSeVazio = false;
    CabecalhoDeLista(ga, QStringLiteral("Áreas do conhecimento do trabalho"));
    ga.criaDetalhe().campo(4, 0, areas, QStringLiteral("DescArea"));
    return r;
}

} // namespace reports::def
