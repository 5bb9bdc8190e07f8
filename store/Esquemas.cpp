#include "store/Esquemas.h"

// Column definitions of every local table, module by module, tables in component order. Column
// order is part of the definition: the server exchange fills and reads columns by position.

namespace store {

namespace {

FieldDef t(const char* nome, int tamanho, bool obrigatorio = false, const char* rotulo = "")
{
    return {QString::fromUtf8(nome), FieldType::Text, tamanho, obrigatorio, QString::fromUtf8(rotulo), {}};
}

FieldDef comMascara(FieldDef f, const char* mascara)
{
    f.editMask = QString::fromUtf8(mascara);
    return f;
}

FieldDef memo(const char* nome, bool obrigatorio = false)
{
    return {QString::fromUtf8(nome), FieldType::Memo, 0, obrigatorio, {}, {}};
}

std::vector<TableSchema> esquemasGeral()
{
    return {
        {"tbSetorEconAting", 1, "Status <> 'D'", {
            t("Status", 1),
            t("DescrSetorEcon", 255, true),
        }},
        {"tbAreaConhecAting", 0, "Status <> 'D'", {
            t("Status", 1),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbProjetos", -1, nullptr, {
            t("Cod_Proj", 10),
            t("Titulo", 255),
            t("Num_Contratacao", 10),
        }},
    };
}

std::vector<TableSchema> esquemasIdentificacao()
{
    return {
        {"tbInstituicao", 2, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Inst", 10, true),
            t("BIRO", 20, true, "Código BIRO"),
            t("Nome", 255, true),
            t("TipoEnvolvimento", 255, true, "Função"),
            t("TipoVinculacao", 255, true),
            t("Nome_BIRO", 255),
        }},
        {"tbMembro", 3, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Membro", 10, true),
            t("BIRO", 20, false, "Código BIRO"),
            t("Nome", 255, true),
            t("EquipeOriginal", 1, true),
            t("CargaHoraria", 10, false, "Horas Semanais"),
            t("DescricaoFuncao", 255, true, "Função"),
            t("MotivoSaida", 255),
            t("TipInstAtivPosPro", 255),
            memo("DescAtivPosPro"),
            t("UF", 2),
            t("Cidade", 255),
            t("Fone", 255),
            t("Email", 255),
            t("Fax", 255),
            t("Endereco", 255),
            t("CEP", 255),
            t("TitulacaoAtual", 255),
            t("AreaConhecTitulacao", 255),
            t("PaisTitulacao", 255),
            t("KESTA", 10),
            t("Flag_BIRO", 1),
            t("Nome_KESTA", 255),
            t("Nome_BIRO", 255),
        }},
        {"tbPlanoAplic", 8, "Status <> 'D'", {
            t("Status", 1),
            t("Local", 1, true),
            t("ItemDispendio", 255, true),
            t("VlContratado", 16, true),
            t("VlDesembolsado", 16),
            t("VlExecutado", 16),
            t("PaisExterior", 20),
        }},
        {"tbLocaisPesquisa", 7, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Local", 10, true),
            t("Cod_Inst", 10, true),
            t("Regiao", 255),
            t("UF", 2),
            t("Cidade", 255),
            t("Nome_Inst", 255),
            t("BIRO_Inst", 20),
        }},
        {"tbOutrasFontes", 6, "Status <> 'D'", {
            t("Status", 1),
            t("TipoFonte", 255, true, "Recurso"),
            t("BIROInst", 20, true, " Código BIRO"),
            t("NomeInst", 255, true, "Instituição"),
            t("TipoVincInst", 255, true),
            t("Caracteristica", 2, true),
            t("ValorRecurso", 14, false, "Valor"),
            memo("Observacoes"),
            t("Nome_BIRO", 255),
        }},
        {"tbMembroBolsistaTrabalho", 55, nullptr, {
            t("Status", 1, true),
            t("Cod_Trab", 10, true),
            t("Cod_MembroBolsista", 10, true),
        }},
        {"tbMembroBolsista", 4, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Membro", 10, true),
            t("FontePagadora", 255, true),
            t("ModalidadeBolsa", 255, true),
        }},
        {"tbProjeto", 49, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Proj", 10, true),
            t("Titulo", 255),
            t("NumRelContratacao", 10),
            t("SubProg", 255),
            t("Agencia", 255),
            t("Processo", 255),
            t("InstGestora", 255),
            t("InstExecutora", 255),
            t("NumEdital", 5),
            t("NumChamada", 1),
            t("Classe", 255),
            t("Atividade", 255),
            t("DataAssinat", 10),
            t("ValProposta", 18),
            memo("Objetivo"),
            t("DataDesembolso", 10),
            t("Origem", 255),
            comMascara(t("NumProjOrigem", 10), "9999999999;0;_"),
            t("DataFimPrevista", 10),
            t("DataFim", 10),
        }},
    };
}

std::vector<TableSchema> esquemasResultadosGerados()
{
    return {
        {"tbEstudo", 9, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Estudo", 10, true),
            t("TipoEstudo", 255, true),
            t("Titulo", 255, true),
            t("Autor", 10),
            t("Cod_Inst", 10),
            memo("Descricao"),
            t("DataInicio", 10),
            t("DataFim", 10),
            memo("Co_autores"),
        }},
        {"tbObrasEditadas", 17, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Obra", 10),
            t("TipoObra", 255, true),
            t("Titulo", 255, true),
            t("Autor", 10, true),
            t("Editora", 255),
            t("AnoEdicao", 4),
            t("TipoMidia", 255, true),
            t("Alcance", 255),
            t("Comercializada", 1),
            t("Cientifica", 1),
            memo("Co_Autores"),
        }},
        {"tbProdTec", 20, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Prod", 10, true),
            t("TipoProd", 255, true),
            t("NomeProd", 255, true),
            memo("DescrTecnologica"),
            t("FaseDesenvolv", 255, true),
            t("ViabilidadeEcon", 1, true),
            memo("Descricao"),
            t("TransfTec", 1, true),
            memo("DescrTransfTec"),
        }},
        {"tbServico", 24, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Servico", 10, true),
            t("TipoServico", 255, true),
            t("InstPrest", 10, true),
            t("TipoApoio", 255, true),
            t("Laboratorio", 10),
            t("Comerc", 1, true),
            memo("Descricao"),
        }},
        {"tbSoftware", 21, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Software", 10, true),
            t("Nome", 255, true),
            t("Autor", 10),
            t("InstDesenv", 10),
            t("DataConclusao", 10, true),
            t("InstRegistro", 255),
            memo("Descricao"),
            memo("Co_autores"),
        }},
        {"tbPublicacao", 12, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Publicacao", 10, true),
            t("TipoPublicacao", 255, true),
            t("Qualificacao", 255, true),
            t("Titulo", 255, true),
            t("Autor", 10, true),
            t("VeiculoPublic", 255, true),
            t("PaisPublicacao", 255),
            t("DataPublicacao", 10),
            memo("Co_autores"),
        }},
        {"tbEstudosAreaConhec", 10, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Estudo", 10, true),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbPublicEstudo", 16, "Status <> 'D'", {
            t("Status", 1, true),
            t("Cod_Estudo", 10, true),
            t("Cod_Publicacao", 10, true),
        }},
        {"tbPublicPublicoAlvo", 14, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Publicacao", 10, true),
            t("DescricaoPublico", 255, true),
        }},
        {"tbObraAreaConhec", 18, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Obra", 10, true),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbSoftSetores", 23, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Software", 10, true),
            t("DescrSetorEcon", 255, true),
        }},
        {"tbServicoAreaConhec", 25, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Servico", 10, true),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbPublicAreaConhec", 15, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Publicacao", 10, true),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbServicoSetores", 26, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Servico", 10, true),
            t("DescrSetorEcon", 255, true),
        }},
        {"tbPatente", 50, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Patente", 10, true),
            t("Cod_Prod", 10, true),
            t("Titulo", 255, true),
            t("Inventor", 10, true),
            t("TipoPatente", 255, true),
            t("Pais", 255, true),
            t("DataDeposito", 10, true),
            t("CodDeposito", 255, true),
            t("DataPedido", 10),
            t("DataConcessao", 10),
            t("NrPatente", 255),
        }},
        {"tbEstudosSetores", 23, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Estudo", 10, true),
            t("DescricaoSetorEcon", 255, true),
        }},
    };
}

std::vector<TableSchema> esquemasRecursosAdquiridos()
{
    return {
        {"tbEquipamentos", 29, "Status <> 'D'", {
            t("Status", 1, true),
            t("Cod_Equip", 10, true),
            t("TipoEquip", 255, true),
            t("Descr_Equip", 255, true),
            t("DescricaoUso", 255),
            t("Fabricante", 255),
            t("AnoFabricacao", 4),
            t("PaisFabricacao", 255),
            t("ValorAtual", 255),
            t("InstLocaliz", 10, true),
            t("NrPatrim", 20),
            t("OutraFonte", 255),
            t("Modelo", 255),
        }},
        {"tbMaterialAdquirido", 27, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Material", 10),
            t("TipoMaterial", 255, true),
            t("AnoAquisicao", 4, true),
            t("LocaldeGastos", 1, true),
            t("QtdAdquirida", 10, true),
            t("ValorAtual", 20),
            t("PaisExterior", 255),
        }},
        {"tbMaterialAreaConhec", 28, "Status <> 'D'", {
            t("Status", 1),
            t("TipoMaterial", 255, true),
            t("AnoAquisicao", 4, true),
            t("LocaldeGastos", 1, true),
            t("DescricaoAreaConhec", 255, true),
        }},
    };
}

std::vector<TableSchema> esquemasAtividadesApoiadas()
{
    return {
        {"tbLaboratorio", 30, "Status <> 'D' and Status <> 'F'", {
            t("Status", 1),
            t("Cod_Laboratorio", 10, true),
            t("Cod_Inst", 10),
            t("BIROLab", 20, true),
            t("NomeLab", 255, true),
            t("TipoApoio", 255, true),
            t("DataInicio", 10),
            t("Nome_BIRO", 255),
        }},
        {"tbBolsa", 31, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Bolsa", 10, true),
            t("BIROBolsista", 20),
            t("NomeBolsista", 255, true),
            t("BIROInstDestino", 20),
            t("NomeInstDestino", 255),
            t("Modalidade", 255, true),
            t("DataInicio", 10),
            t("DataConclusao", 10),
            t("KESTA", 10),
            t("Flag_BIRO", 1),
            t("Nome_KESTA", 255),
            t("Nome_BIRO", 255),
            t("NomeInst_BIRO", 255),
        }},
        {"tbBolsaAreaConhec", 32, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Bolsa", 10, true),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbTrabalhoAcademico", 33, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Trab", 10, true),
            t("Cod_Bolsa", 10),
            t("Cod_Membro", 10),
            t("TipoTrab", 255, true),
            t("TituloTrab", 255, true),
            t("AnoInicio", 4),
            t("AnoApresentacao", 4),
        }},
        {"tbTrabalhoAreaConhec", 34, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Trab", 10, true),
            t("DescArea", 255, true),
        }},
        {"tbCapacit", 35, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Capacitacao", 10, true),
            t("TipodeCapacitacao", 255, true),
            t("TipoEvento", 255),
            t("BIROInstTreinam", 20),
            t("NomeInstTreinam", 255),
            t("DataInicio", 10),
            t("DataFim", 10),
            t("Nome_BIRO", 255),
        }},
        {"tbCapacitMembro", 36, "", {
            t("Status", 1),
            t("Cod_Capacitacao", 10, true),
            t("Cod_Membro", 10, true),
            t("Nome", 255),
        }},
        {"tbCursos", 37, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Curso", 10, true),
            t("Nome", 255, true),
            t("Nivel", 255, true),
            t("SubNivel", 255, true),
            t("instFornec", 10),
            t("Frequencia", 255, true),
            t("ConceitoCapes", 255),
            t("Escolaridade", 255, true),
            t("TipoApoio", 255, true),
            t("CargaHoraria", 10),
            t("QtdeMatriculados", 10, true),
            t("QtdeFormados", 10, true),
            t("QtdeTrabAcademicos", 10),
            memo("Observacao"),
        }},
        {"tbCursosAreaConhec", 38, "Status <> 'D' and Status <> 'X' and Status <> 'Y'", {
            t("Status", 1),
            t("Cod_Curso", 10, true),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbEventosApoiados", 39, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Evento", 10, true),
            t("Nome", 255, true),
            t("Tipo", 255, true),
            t("Pais", 255, true),
            t("UF", 2),
            t("Cidade", 255),
            t("Alcance", 255, true),
            t("DataInicio", 10),
            t("DataFim", 10),
            t("QtdPartic", 10),
            memo("Descricao"),
        }},
        {"tbEventosAreaConhec", 40, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Evento", 10, true),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbBase", 41, "Status <> 'D'", {
            t("Status", 1),
            t("Identificacao", 255, true),
            t("TipoBase", 255, true),
            t("TipoApoio", 255, true),
            memo("Descricao"),
            t("Disponivel", 1, true),
            t("QtdeReg", 10, true),
            t("FaseDesenv", 255),
            t("TipoApoioTxt", 20),
        }},
        {"tbBaseArea", 42, "Status <> 'D'", {
            t("Status", 1),
            t("Identificacao", 255, true),
            t("DescricaoAreaConhec", 255, true),
        }},
        {"tbBaseAcesso", 43, "Status <> 'D'", {
            t("Status", 1),
            t("Identificacao", 255, true),
            t("TipoAcesso", 255, true),
        }},
        {"tbNivel", -99, nullptr, {
            t("Descricao", 255),
        }},
        {"tbSubNivel", -99, nullptr, {
            t("Nivel", 255),
            t("Descricao", 255),
        }},
    };
}

std::vector<TableSchema> esquemasAnaliseResultados()
{
    return {
        {"tbProblemas", 44, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Problema", 10, true),
            t("DataOcorrenc", 10),
            t("Categoria", 255, true),
            t("NatProbAdm", 255),
            memo("DescrProbTec"),
            t("Repercussao", 255, true),
            memo("Observacoes"),
            t("CategoriaTxt", 255),
        }},
        {"tbQualidade", 46, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Qualidade", 10, true),
            t("Cod_InstCliente", 10, true),
            t("Cod_InstFornec", 10, true),
            t("Situacao", 255, true),
            memo("Resultados"),
            memo("IndicDesemp"),
            t("HorasDiagnostico", 10),
            t("HorasImplem", 10),
            t("Certific", 1, true),
            t("RelGQT", 1),
            t("Nome_InstCliente", 255),
            t("BIRO_InstCliente", 255),
        }},
        {"tbComentariosGerais", 48, "Status <> 'D'", {
            t("Status", 1),
            memo("Descricao"),
        }},
        {"tbAcoesCorretivas", 45, "Status <> 'D'", {
            t("Status", 1),
            t("Cod_Acao", 10, true),
            t("TipoAcao", 255, true),
            t("Cod_Problema", 10),
        }},
        {"tbAnalisQualitativa", 47, "Status <> 'D'", {
            t("Status", 1),
            memo("Descricao"),
        }},
    };
}

} // namespace

const std::vector<TableSchema>& EsquemasDoModulo(Modulo modulo)
{
    static const std::vector<TableSchema> geral = esquemasGeral();
    static const std::vector<TableSchema> identificacao = esquemasIdentificacao();
    static const std::vector<TableSchema> resultadosgerados = esquemasResultadosGerados();
    static const std::vector<TableSchema> recursosadquiridos = esquemasRecursosAdquiridos();
    static const std::vector<TableSchema> atividadesapoiadas = esquemasAtividadesApoiadas();
    static const std::vector<TableSchema> analiseresultados = esquemasAnaliseResultados();
    switch (modulo) {
    case Modulo::Geral: return geral;
    case Modulo::Identificacao: return identificacao;
    case Modulo::ResultadosGerados: return resultadosgerados;
    case Modulo::RecursosAdquiridos: return recursosadquiridos;
    case Modulo::AtividadesApoiadas: return atividadesapoiadas;
    case Modulo::AnaliseResultados: return analiseresultados;
    }
    return geral;
}

} // namespace store
