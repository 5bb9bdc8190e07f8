#include "server/Tabelas.h"

#include "store/Catalogo.h"
#include "store/Esquemas.h"

#include <map>

namespace servidor {

namespace {

struct Procedimentos {
    const char* tabela;
    const char* carga;
    const char* envio;
};

// Download and send procedures of every exchanged table, in download order.
constexpr Procedimentos Lista[] = {
    {"tbAreaConhecAting", "areasConhecimento", "areas.atualiza_areaconhec"},
    {"tbSetorEconAting", "setoresEconomicos", "setores.atualiza_setorecon"},
    {"tbProjeto", "Consulta_proj", "projeto.atualiza_projeto"},
    {"tbInstituicao", "instEnvolvidas", "instituicao_envolvida.atualiza_instituicao"},
    {"tbMembro", "membros", "membro_equipe.atualiza_membro"},
    {"tbMembroBolsista", "membrosBolsas", "membro_equipe.atualiza_membrobolsista"},
    {"tbOutrasFontes", "fontesRecursos", "outras_fontes.atualiza_outrasfontes"},
    {"tbLocaisPesquisa", "locaisPesquisa", "locais_pesq_campo.atualiza_locaispesquisa"},
    {"tbPlanoAplic", "PlanoAplicacao", ""},
    {"tbEstudo", "estudosRealizados", "estudo.atualiza_estudo"},
    {"tbEstudosAreaConhec", "areasEstudos", "estudo.atualiza_estudoareaconhec"},
    {"tbEstudosSetores", "setoresEstudos", "estudo.atualiza_estudosetorecon"},
    {"tbPublicacao", "publicacoes", "publicacaoProj.atualiza_publicacao"},
    {"tbPublicAreaConhec", "areasPublicacoes", "publicacaoProj.atualiza_publicacaoareaconhec"},
    {"tbObrasEditadas", "obrasEditadas", "obra.atualiza_obras"},
    {"tbObraAreaConhec", "areasObras", "obra.atualiza_obraareaconhec"},
    {"tbProdTec", "producaoTecnologica", "prodTecnologica.atualiza_prodtec"},
    {"tbPatente", "patentes", "patente.atualiza_patente"},
    {"tbSoftware", "softwares", "software.atualiza_software"},
    {"tbSoftSetores", "setoresSoftwares", "software.atualiza_softwaresetores"},
    {"tbServico", "servicos", "servico.atualiza_servico"},
    {"tbServicoAreaConhec", "areasServicos", "servico.atualiza_servicoareaconhec"},
    {"tbServicoSetores", "setoresServicos", "servico.atualiza_servicosetores"},
    {"tbMaterialAdquirido", "materialInfo", "materialInfo.atualiza_materialadquirido"},
    {"tbMaterialAreaConhec", "areasMaterialInfo", "materialInfo.atualiza_materialareaconhec"},
    {"tbEquipamentos", "equiptosAdquiridos", "equipamento.atualiza_equipamento"},
    {"tbLaboratorio", "laboratorios", "laboratorio.atualiza_laboratorio"},
    {"tbBolsa", "bolsas", "bolsas.atualiza_bolsa"},
    {"tbBolsaAreaConhec", "areasBolsas", "bolsas.atualiza_bolsaareaconhec"},
    {"tbTrabalhoAcademico", "trabalhosAcademicos", "trabAcademico.atualiza_trabalho"},
    {"tbTrabalhoAreaConhec", "areasTrabalhos", "trabAcademico.atualiza_trabalhoareaconhec"},
    {"tbCapacit", "outrasCapacitacoes", "capacitacao.atualiza_capacitacao"},
    {"tbCapacitMembro", "membrosCapacitacoes", "capacitacao.atualiza_partcapac"},
    {"tbCursos", "cursosApoiados", "curso.atualiza_curso"},
    {"tbCursosAreaConhec", "areasCursos", "curso.atualiza_cursoareaconhec"},
    {"tbEventosApoiados", "eventosApoiados", "evento.atualiza_evento"},
    {"tbEventosAreaConhec", "areasEventos", "evento.atualiza_eventoareaconhec"},
    {"tbBase", "basesDados", "base_dados.atualiza_base"},
    {"tbBaseArea", "areasBases", "base_dados.atualiza_baseareaconhec"},
    {"tbBaseAcesso", "acessoBases", "base_dados.atualiza_baseacesso"},
    {"tbProblemas", "problemasOcorridos", "problema.atualiza_problema"},
    {"tbAcoesCorretivas", "problemasAcaoCorr", "problema.atualiza_problemaacaoCorret"},
    {"tbQualidade", "progQualidade", "qualidade.atualiza_qualidade"},
    {"tbAnalisQualitativa", "analiseQualitativa", "analise_comentarioS.atualiza_analise"},
    {"tbComentariosGerais", "comentarios", "analise_comentarioS.atualiza_comentario"},
};

// Natural keys of the tables whose rows get no code from the server (the client's primary indexes).
const std::map<QString, QStringList>& IdentidadesNaturais()
{
    static const std::map<QString, QStringList> mapa = {
        {QStringLiteral("tbAreaConhecAting"), {QStringLiteral("DescricaoAreaConhec")}},
        {QStringLiteral("tbSetorEconAting"), {QStringLiteral("DescrSetorEcon")}},
        {QStringLiteral("tbMembroBolsista"), {QStringLiteral("Cod_Membro")}},
        {QStringLiteral("tbOutrasFontes"), {QStringLiteral("TipoFonte"), QStringLiteral("BIROInst")}},
        {QStringLiteral("tbPlanoAplic"), {QStringLiteral("Local"), QStringLiteral("ItemDispendio")}},
        {QStringLiteral("tbMaterialAdquirido"),
         {QStringLiteral("TipoMaterial"), QStringLiteral("AnoAquisicao"), QStringLiteral("LocaldeGastos")}},
        {QStringLiteral("tbBase"), {QStringLiteral("Identificacao")}},
        {QStringLiteral("tbAcoesCorretivas"), {QStringLiteral("Cod_Problema"), QStringLiteral("TipoAcao")}},
    };
    return mapa;
}

std::vector<TabelaServidor> Monta()
{
    std::map<QString, store::TableSchema> esquemas;
    for (const auto modulo : {store::Modulo::Geral, store::Modulo::Identificacao, store::Modulo::ResultadosGerados,
                              store::Modulo::RecursosAdquiridos, store::Modulo::AtividadesApoiadas,
                              store::Modulo::AnaliseResultados}) {
        for (const store::TableSchema& e : store::EsquemasDoModulo(modulo))
            esquemas.emplace(QString::fromUtf8(e.nome), e);
    }
    std::vector<TabelaServidor> tabelas;
    for (const Procedimentos& p : Lista) {
        const QString nome = QString::fromUtf8(p.tabela);
        const auto achado = esquemas.find(nome);
        if (achado == esquemas.end())
            qFatal("tabela sem esquema: %s", p.tabela);
        const store::TableSchema& e = achado->second;
        TabelaServidor t;
        t.nome = nome;
        t.slot = e.tag;
        t.carga = QString::fromUtf8(p.carga);
        t.envio = QString::fromUtf8(p.envio);
        const int conta = (e.tag >= 0 && e.tag < store::NumSlots) ? store::TableFieldCounts[size_t(e.tag)] : 0;
        for (int i = 1; i < conta && i < int(e.colunas.size()); ++i)
            t.colunas.push_back(e.colunas[size_t(i)]);
        // tbEstudosSetores borrows the slot of tbSoftSetores: same count, but no key of its own there.
        t.chave = (e.tag >= 0 && e.tag < store::NumSlots) ? store::TableKeyFields[size_t(e.tag)] : QString();
        if (!t.chave.isEmpty()) {
            t.identidade = QStringList{t.chave};
        } else if (const auto n = IdentidadesNaturais().find(nome); n != IdentidadesNaturais().end()) {
            t.identidade = n->second;
        } else {
            for (const store::FieldDef& c : t.colunas)
                t.identidade << c.name;
        }
        t.unicaPorProjeto = nome == QLatin1String("tbProjeto") || nome == QLatin1String("tbAnalisQualitativa")
                            || nome == QLatin1String("tbComentariosGerais");
        if (nome == QLatin1String("tbProjeto"))
            t.partidas = QStringList{QStringLiteral("Objetivo")};
        else if (nome == QLatin1String("tbAnalisQualitativa") || nome == QLatin1String("tbComentariosGerais"))
            t.partidas = QStringList{QStringLiteral("Descricao")};
        if (t.unicaPorProjeto)
            t.identidade.clear();
        tabelas.push_back(std::move(t));
    }
    return tabelas;
}

Dependencia D(const char* pai, QStringList camposPai, const char* filha, QStringList camposFilha)
{
    return {QString::fromUtf8(pai), std::move(camposPai), QString::fromUtf8(filha), std::move(camposFilha)};
}

Referencia R(const char* pai, const char* campoPai, const char* filha, const char* campoFilha)
{
    return {QString::fromUtf8(pai), QString::fromUtf8(campoPai), QString::fromUtf8(filha), QString::fromUtf8(campoFilha)};
}

} // namespace

int TabelaServidor::coluna(const QString& nomeColuna) const
{
    for (size_t i = 0; i < colunas.size(); ++i) {
        if (colunas[i].name.compare(nomeColuna, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

const std::vector<TabelaServidor>& Tabelas()
{
    static const std::vector<TabelaServidor> tabelas = Monta();
    return tabelas;
}

const TabelaServidor* TabelaPorNome(const QString& nome)
{
    for (const TabelaServidor& t : Tabelas()) {
        if (t.nome == nome)
            return &t;
    }
    return nullptr;
}

const TabelaServidor* TabelaPorCarga(const QString& procedimento)
{
    for (const TabelaServidor& t : Tabelas()) {
        if (!t.carga.isEmpty() && t.carga.compare(procedimento, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

const TabelaServidor* TabelaPorEnvio(const QString& procedimento)
{
    for (const TabelaServidor& t : Tabelas()) {
        if (!t.envio.isEmpty() && t.envio.compare(procedimento, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

const std::vector<Dependencia>& Dependencias()
{
    // What the client deletes together with a parent; order matters only for nested owners.
    static const std::vector<Dependencia> lista = {
        D("tbEstudo", {"Cod_Estudo"}, "tbEstudosAreaConhec", {"Cod_Estudo"}),
        D("tbEstudo", {"Cod_Estudo"}, "tbEstudosSetores", {"Cod_Estudo"}),
        D("tbPublicacao", {"Cod_Publicacao"}, "tbPublicAreaConhec", {"Cod_Publicacao"}),
        D("tbObrasEditadas", {"Cod_Obra"}, "tbObraAreaConhec", {"Cod_Obra"}),
        D("tbProdTec", {"Cod_Prod"}, "tbPatente", {"Cod_Prod"}),
        D("tbSoftware", {"Cod_Software"}, "tbSoftSetores", {"Cod_Software"}),
        D("tbServico", {"Cod_Servico"}, "tbServicoAreaConhec", {"Cod_Servico"}),
        D("tbServico", {"Cod_Servico"}, "tbServicoSetores", {"Cod_Servico"}),
        D("tbMaterialAdquirido", {"TipoMaterial", "AnoAquisicao", "LocaldeGastos"}, "tbMaterialAreaConhec",
          {"TipoMaterial", "AnoAquisicao", "LocaldeGastos"}),
        D("tbMembro", {"Cod_Membro"}, "tbMembroBolsista", {"Cod_Membro"}),
        D("tbMembro", {"Cod_Membro"}, "tbTrabalhoAcademico", {"Cod_Membro"}),
        D("tbBolsa", {"Cod_Bolsa"}, "tbBolsaAreaConhec", {"Cod_Bolsa"}),
        D("tbBolsa", {"Cod_Bolsa"}, "tbTrabalhoAcademico", {"Cod_Bolsa"}),
        D("tbTrabalhoAcademico", {"Cod_Trab"}, "tbTrabalhoAreaConhec", {"Cod_Trab"}),
        D("tbCapacit", {"Cod_Capacitacao"}, "tbCapacitMembro", {"Cod_Capacitacao"}),
        D("tbCursos", {"Cod_Curso"}, "tbCursosAreaConhec", {"Cod_Curso"}),
        D("tbEventosApoiados", {"Cod_Evento"}, "tbEventosAreaConhec", {"Cod_Evento"}),
        D("tbBase", {"Identificacao"}, "tbBaseArea", {"Identificacao"}),
        D("tbBase", {"Identificacao"}, "tbBaseAcesso", {"Identificacao"}),
        D("tbProblemas", {"Cod_Problema"}, "tbAcoesCorretivas", {"Cod_Problema"}),
    };
    return lista;
}

const std::vector<Referencia>& Referencias()
{
    // Records that name another one without belonging to it.
    static const std::vector<Referencia> lista = {
        R("tbMembro", "Cod_Membro", "tbEstudo", "Autor"),
        R("tbMembro", "Cod_Membro", "tbPublicacao", "Autor"),
        R("tbMembro", "Cod_Membro", "tbObrasEditadas", "Autor"),
        R("tbMembro", "Cod_Membro", "tbPatente", "Inventor"),
        R("tbMembro", "Cod_Membro", "tbSoftware", "Autor"),
        R("tbMembro", "Cod_Membro", "tbCapacitMembro", "Cod_Membro"),
        R("tbInstituicao", "Cod_Inst", "tbLocaisPesquisa", "Cod_Inst"),
        R("tbInstituicao", "Cod_Inst", "tbEstudo", "Cod_Inst"),
        R("tbInstituicao", "Cod_Inst", "tbSoftware", "InstDesenv"),
        R("tbInstituicao", "Cod_Inst", "tbServico", "InstPrest"),
        R("tbInstituicao", "Cod_Inst", "tbEquipamentos", "InstLocaliz"),
        R("tbInstituicao", "Cod_Inst", "tbLaboratorio", "Cod_Inst"),
        R("tbInstituicao", "Cod_Inst", "tbCursos", "instFornec"),
        // The quality dialog keys its institutions by registry code, the key propagation by Cod_Inst.
        R("tbInstituicao", "Cod_Inst", "tbQualidade", "Cod_InstCliente"),
        R("tbInstituicao", "Cod_Inst", "tbQualidade", "Cod_InstFornec"),
        R("tbInstituicao", "BIRO", "tbQualidade", "Cod_InstCliente"),
        R("tbInstituicao", "BIRO", "tbQualidade", "Cod_InstFornec"),
        R("tbLaboratorio", "Cod_Laboratorio", "tbServico", "Laboratorio"),
    };
    return lista;
}

} // namespace servidor
