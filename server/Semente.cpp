#include "server/Semente.h"

#include <map>

namespace servidor {

namespace {

using Campos = std::initializer_list<std::pair<const char*, QString>>;

class Semeador {
public:
    Semeador(Banco& banco, QString projeto) : b(banco), m_projeto(std::move(projeto)) {}

    QString codigo() { return QString::number(b.proximoCodigo()); }

    void linha(const char* tabela, Campos campos)
    {
        const TabelaServidor* t = TabelaPorNome(QString::fromUtf8(tabela));
        if (!t)
            throw ErroDoBanco(std::string("tabela desconhecida na semente: ") + tabela);
        QStringList valores;
        for (size_t i = 0; i < t->colunas.size(); ++i)
            valores << QString();
        for (const auto& [nome, valor] : campos) {
            const int c = t->coluna(QString::fromUtf8(nome));
            if (c < 0)
                throw ErroDoBanco(std::string("coluna desconhecida na semente: ") + tabela + "." + nome);
            valores[c] = valor;
        }
        b.insere(*t, m_projeto, valores);
    }

    Banco& b;
    QString m_projeto;
};

QString S(const char* texto)
{
    return QString::fromUtf8(texto);
}

void SemeiaRegistros(Banco& b)
{
    // National registry: institutions and laboratories (one name written differently on purpose).
    b.registraInstituicao(S("000004521"), S("UNIV. FEDERAL DE SÃO JOÃO DAS ÁGUAS"));
    b.registraInstituicao(S("000007730"), S("INSTITUTO DE PESQUISAS HIDROLÓGICAS DO CERRADO"));
    b.registraInstituicao(S("000010288"), S("ÓPTICA PRECISÃO INDÚSTRIA E COMÉRCIO LTDA"));
    b.registraInstituicao(S("000002210"), S("FUNDAÇÃO DE AMPARO À PESQUISA DO ESTADO DAS GERAIS"));
    b.registraInstituicao(S("000003395"), S("UNIVERSIDADE ESTADUAL DO PLANALTO CENTRAL"));
    b.registraInstituicao(S("000004410"), S("LABORATÓRIO DE ÓPTICA APLICADA"));
    b.registraInstituicao(S("000004415"), S("LABORATÓRIO DE QUALIDADE DA ÁGUA"));
    // Registered but in no project yet, with codes of nine digits as the client's code edits take
    // them: a user can add these without the registry check refusing the send.
    b.registraInstituicao(S("100200300"), S("CENTRO DE TECNOLOGIA HÍDRICA"));
    b.registraInstituicao(S("100200301"), S("LABORATÓRIO DE SENSORES ÓPTICOS"));
    // National registry: researchers (one without e-mail, one name without its accent).
    b.registraPesquisador(S("2345678901234567"), S("MARIA APARECIDA DOS SANTOS"), S("maria.santos@ufsja.edu.br"));
    b.registraPesquisador(S("3456789012345678"), S("JOAO BATISTA DE OLIVEIRA"), S("jboliveira@ufsja.edu.br"));
    b.registraPesquisador(S("4567890123456789"), S("ANA LÚCIA FERREIRA"), S(""));
    b.registraPesquisador(S("5678901234567890"), S("JOSÉ CARLOS PEREIRA"), S("jcpereira@iphc.org.br"));
    b.registraPesquisador(S("7890123456789012"), S("PATRÍCIA GOMES RIBEIRO"), S("patricia.ribeiro@gmail.com"));
    b.registraPesquisador(S("8901234567890123"), S("RAFAEL AUGUSTO MENDES"), S("rafael.mendes@ufsja.edu.br"));
    b.registraPesquisador(S("9012345678901234"), S("CARLA REGINA MOREIRA"), S("carla.moreira@uepc.br"));
}

void SemeiaDemo(Banco& b)
{
    SemeiaRegistros(b);
    Semeador s(b, S("1"));
    const QString kMaria = s.codigo(), kJoao = s.codigo(), kAna = s.codigo(), kJose = s.codigo(), kLuiz = s.codigo(),
                  kPatricia = s.codigo(), kRafael = s.codigo();
    // The programme register: one name differs from the project's on purpose (José without its accent).
    b.registraPessoa(kMaria, S("MARIA APARECIDA DOS SANTOS"), S("2345678901234567"));
    b.registraPessoa(kJoao, S("JOÃO BATISTA DE OLIVEIRA"), S("3456789012345678"));
    b.registraPessoa(kAna, S("ANA LÚCIA FERREIRA"), S("4567890123456789"));
    b.registraPessoa(kJose, S("JOSE CARLOS PEREIRA"), S("5678901234567890"));
    b.registraPessoa(kLuiz, S("LUIZ FERNANDO COSTA"), S("6789012345678901"));
    b.registraPessoa(kPatricia, S("PATRÍCIA GOMES RIBEIRO"), S("7890123456789012"));
    b.registraPessoa(kRafael, S("RAFAEL AUGUSTO MENDES"), S("8901234567890123"));

    s.linha("tbProjeto", {{"Cod_Proj", S("1")},
                          {"Titulo", S("SENSORES ÓPTICOS PARA O MONITORAMENTO DA QUALIDADE DA ÁGUA NA BACIA DO RIO DAS VELHAS")},
                          {"NumRelContratacao", S("0123/1996")},
                          {"SubProg", S("RECURSOS HÍDRICOS")},
                          {"Agencia", S("FINANCIADORA DE ESTUDOS E PROJETOS")},
                          {"Processo", S("01.04.0567.00")},
                          {"InstGestora", S("FUNDAÇÃO DE APOIO À PESQUISA E EXTENSÃO")},
                          {"InstExecutora", S("UNIVERSIDADE FEDERAL DE SÃO JOÃO DAS ÁGUAS")},
                          {"NumEdital", S("03/04")},
                          {"NumChamada", S("1")},
                          {"Classe", S("PESQUISA E DESENVOLVIMENTO")},
                          {"Atividade", S("DESENVOLVIMENTO TECNOLÓGICO")},
                          {"DataAssinat", S("15/03/1996")},
                          {"ValProposta", S("485000.00")},
                          {"Objetivo", S("Desenvolver sensores de fibra óptica de baixo custo para medir turbidez, oxigênio dissolvido e "
                                         "condutividade em tempo real, e instalar uma rede piloto de monitoramento em três pontos da bacia.")},
                          {"DataDesembolso", S("02/05/1996")},
                          {"Origem", S("")},
                          {"NumProjOrigem", S("")},
                          {"DataFimPrevista", S("30/04/1999")},
                          {"DataFim", S("")}});
    s.linha("tbAreaConhecAting", {{"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});
    s.linha("tbAreaConhecAting", {{"DescricaoAreaConhec", S("FÍSICA DA MATÉRIA CONDENSADA")}});
    s.linha("tbSetorEconAting", {{"DescrSetorEcon", S("CAPTAÇÃO, TRATAMENTO E DISTRIBUIÇÃO DE ÁGUA")}});
    s.linha("tbSetorEconAting", {{"DescrSetorEcon", S("FABRICAÇÃO DE INSTRUMENTOS DE MEDIDA")}});

    const QString iUniv = s.codigo(), iInst = s.codigo(), iEmpresa = s.codigo(), iEstadual = s.codigo();
    s.linha("tbInstituicao", {{"Cod_Inst", iUniv}, {"BIRO", S("000004521")}, {"Nome", S("UNIVERSIDADE FEDERAL DE SÃO JOÃO DAS ÁGUAS")},
                              {"TipoEnvolvimento", S("COORDENADORA")}, {"TipoVinculacao", S("CONTRATUAL")}});
    s.linha("tbInstituicao", {{"Cod_Inst", iInst}, {"BIRO", S("000007730")}, {"Nome", S("INSTITUTO DE PESQUISAS HIDROLÓGICAS DO CERRADO")},
                              {"TipoEnvolvimento", S("CO-EXECUTORA")}, {"TipoVinculacao", S("CONTRATUAL")}});
    s.linha("tbInstituicao", {{"Cod_Inst", iEmpresa}, {"BIRO", S("000010288")}, {"Nome", S("ÓPTICA PRECISÃO INDÚSTRIA E COMÉRCIO LTDA")},
                              {"TipoEnvolvimento", S("CLIENTE")}, {"TipoVinculacao", S("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")}});
    s.linha("tbInstituicao", {{"Cod_Inst", iEstadual}, {"BIRO", S("000003395")}, {"Nome", S("UNIVERSIDADE ESTADUAL DO PLANALTO CENTRAL")},
                              {"TipoEnvolvimento", S("FORNECEDORA DE PROGRAMAS DE QUALIDADE")},
                              {"TipoVinculacao", S("INTERCÂMBIO CIENTÍFICO/TECNOLÓGICO")}});

    auto membro = [&](const QString& cod, const char* biro, const char* nome, const char* funcao, const char* saida,
                      const char* posPro, const char* email, const char* titulacao) {
        s.linha("tbMembro", {{"Cod_Membro", cod}, {"BIRO", S(biro)}, {"Nome", S(nome)}, {"EquipeOriginal", S("S")},
                             {"CargaHoraria", S("20")}, {"DescricaoFuncao", S(funcao)}, {"MotivoSaida", S(saida)},
                             {"TipInstAtivPosPro", S(posPro)}, {"DescAtivPosPro", S("")}, {"UF", S("MG")},
                             {"Cidade", S("SÃO JOÃO DAS ÁGUAS")}, {"Fone", S("(31) 3409-5000")}, {"Email", S(email)},
                             {"Fax", S("")}, {"Endereco", S("AV. DAS NASCENTES, 1200")}, {"CEP", S("35400-000")},
                             {"TitulacaoAtual", S(titulacao)}, {"AreaConhecTitulacao", S("ENGENHARIA SANITÁRIA")},
                             {"PaisTitulacao", S("BRASIL")}, {"KESTA", cod}});
    };
    membro(kMaria, "2345678901234567", "MARIA APARECIDA DOS SANTOS", "COORDENADOR", "", "PARTICIPANTE ATIVO",
           "maria.santos@ufsja.edu.br", "DOUTORADO");
    membro(kJoao, "3456789012345678", "JOÃO BATISTA DE OLIVEIRA", "PESQUISADOR", "", "PARTICIPANTE ATIVO",
           "jboliveira@ufsja.edu.br", "DOUTORADO");
    membro(kAna, "4567890123456789", "ANA LÚCIA FERREIRA", "BOLSISTA", "", "PARTICIPANTE ATIVO", "analucia@ufsja.edu.br",
           "MESTRADO");
    membro(kJose, "5678901234567890", "JOSÉ CARLOS PEREIRA", "PESQUISADOR", "", "PARTICIPANTE ATIVO", "jcpereira@iphc.org.br",
           "DOUTORADO");
    // Unknown to the national registry: the registry check reports the code as invalid.
    membro(kLuiz, "6789012345678901", "LUIZ FERNANDO COSTA", "TÉCNICO", "", "PARTICIPANTE ATIVO", "lfcosta@iphc.org.br",
           "GRADUAÇÃO");
    membro(kPatricia, "7890123456789012", "PATRÍCIA GOMES RIBEIRO", "PESQUISADOR", "TÉRMINO DA BOLSA", "EMPRESA PRIVADA",
           "patricia.ribeiro@gmail.com", "MESTRADO");
    s.linha("tbMembroBolsista", {{"Cod_Membro", kAna}, {"FontePagadora", S("KESTA")},
                                 {"ModalidadeBolsa", S("DTI - DESENVOLVIMENTO TECNOLÓGICO E INDUSTRIAL")}});
    s.linha("tbMembroBolsista", {{"Cod_Membro", kPatricia}, {"FontePagadora", S("FUNDAÇÃO ESTADUAL")},
                                 {"ModalidadeBolsa", S("ITI - INICIAÇÃO TECNOLÓGICA E INDUSTRIAL")}});
    s.linha("tbOutrasFontes", {{"TipoFonte", S("CONTRAPARTIDA")}, {"BIROInst", S("000002210")},
                               {"NomeInst", S("FUNDAÇÃO DE AMPARO À PESQUISA DO ESTADO DAS GERAIS")},
                               {"TipoVincInst", S("CONTRATUAL")}, {"Caracteristica", S("CP")},
                               {"ValorRecurso", S("35000.00")}, {"Observacoes", S("Recursos para bolsas de iniciação científica.")}});
    s.linha("tbLocaisPesquisa", {{"Cod_Local", s.codigo()}, {"Cod_Inst", iUniv}, {"Regiao", S("SUDESTE")}, {"UF", S("MG")},
                                 {"Cidade", S("SABARÁ")}});
    s.linha("tbLocaisPesquisa", {{"Cod_Local", s.codigo()}, {"Cod_Inst", iInst}, {"Regiao", S("CENTRO-OESTE")}, {"UF", S("GO")},
                                 {"Cidade", S("ALTO PARAÍSO DE GOIÁS")}});
    s.linha("tbPlanoAplic", {{"Local", S("P")}, {"ItemDispendio", S("MATERIAL PERMANENTE")}, {"VlContratado", S("180000.00")},
                             {"VlDesembolsado", S("180000.00")}, {"VlExecutado", S("152340.75")}});
    s.linha("tbPlanoAplic", {{"Local", S("P")}, {"ItemDispendio", S("MATERIAL DE CONSUMO")}, {"VlContratado", S("95000.00")},
                             {"VlDesembolsado", S("60000.00")}, {"VlExecutado", S("58210.10")}});
    s.linha("tbPlanoAplic", {{"Local", S("E")}, {"ItemDispendio", S("PASSAGENS E DIÁRIAS")}, {"VlContratado", S("22000.00")},
                             {"VlDesembolsado", S("10000.00")}, {"VlExecutado", S("0.00")}});

    const QString eDiag = s.codigo();
    s.linha("tbEstudo", {{"Cod_Estudo", eDiag}, {"TipoEstudo", S("DIAGNÓSTICO")},
                         {"Titulo", S("DIAGNÓSTICO DA TURBIDEZ NO ALTO RIO DAS VELHAS")}, {"Autor", kJoao}, {"Cod_Inst", iInst},
                         {"Descricao", S("Levantamento sazonal de turbidez e sólidos em suspensão em doze pontos de coleta.")},
                         {"DataInicio", S("06/1996")}, {"DataFim", S("11/1996")}, {"Co_autores", S("LUIZ FERNANDO COSTA")}});
    s.linha("tbEstudosAreaConhec", {{"Cod_Estudo", eDiag}, {"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});
    s.linha("tbEstudosSetores", {{"Cod_Estudo", eDiag}, {"DescricaoSetorEcon", S("CAPTAÇÃO, TRATAMENTO E DISTRIBUIÇÃO DE ÁGUA")}});

    const QString pArtigo = s.codigo();
    s.linha("tbPublicacao", {{"Cod_Publicacao", pArtigo}, {"TipoPublicacao", S("ARTIGO EM PERIÓDICO")},
                             {"Qualificacao", S("INTERNACIONAL")},
                             {"Titulo", S("SENSOR DE TURBIDEZ EM FIBRA ÓPTICA PLÁSTICA PARA ÁGUAS SUPERFICIAIS")}, {"Autor", kMaria},
                             {"VeiculoPublic", S("REVISTA BRASILEIRA DE INSTRUMENTAÇÃO")}, {"PaisPublicacao", S("BRASIL")},
                             {"DataPublicacao", S("10/08/1997")}, {"Co_autores", S("JOÃO BATISTA DE OLIVEIRA; ANA LÚCIA FERREIRA")}});
    s.linha("tbPublicAreaConhec", {{"Cod_Publicacao", pArtigo}, {"DescricaoAreaConhec", S("FÍSICA DA MATÉRIA CONDENSADA")}});

    const QString oLivro = s.codigo();
    s.linha("tbObrasEditadas", {{"Cod_Obra", oLivro}, {"TipoObra", S("LIVRO")}, {"Titulo", S("MONITORAMENTO ÓPTICO DE ÁGUAS: FUNDAMENTOS")},
                                {"Autor", kMaria}, {"Editora", S("EDITORA UNIVERSITÁRIA DAS ÁGUAS")}, {"AnoEdicao", S("1998")},
                                {"TipoMidia", S("IMPRESSA")}, {"Alcance", S("NACIONAL")}, {"Comercializada", S("S")},
                                {"Cientifica", S("S")}, {"Co_Autores", S("JOSÉ CARLOS PEREIRA")}});
    s.linha("tbObraAreaConhec", {{"Cod_Obra", oLivro}, {"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});

    const QString prSensor = s.codigo();
    s.linha("tbProdTec", {{"Cod_Prod", prSensor}, {"TipoProd", S("PROTÓTIPO")}, {"NomeProd", S("SONDA MULTIPARAMÉTRICA ÓPTICA SMO-1")},
                          {"DescrTecnologica", S("Sonda com três sensores ópticos e transmissão por rádio.")},
                          {"FaseDesenvolv", S("TESTE DE CAMPO")}, {"ViabilidadeEcon", S("S")},
                          {"Descricao", S("Protótipo instalado em Sabará desde março de 1998.")}, {"TransfTec", S("S")},
                          {"DescrTransfTec", S("Licenciamento em negociação com a empresa cliente.")}});
    s.linha("tbPatente", {{"Cod_Patente", s.codigo()}, {"Cod_Prod", prSensor}, {"Titulo", S("SONDA ÓPTICA PARA TURBIDEZ E CONDUTIVIDADE")},
                          {"Inventor", kMaria}, {"TipoPatente", S("PATENTE DE INVENÇÃO")}, {"Pais", S("BRASIL")},
                          {"DataDeposito", S("12/12/1997")}, {"CodDeposito", S("PI0505123-4")}, {"DataPedido", S("12/12/1997")},
                          {"DataConcessao", S("")}, {"NrPatente", S("")}});

    const QString sw = s.codigo();
    s.linha("tbSoftware", {{"Cod_Software", sw}, {"Nome", S("HIDROSENS - AQUISIÇÃO E ANÁLISE DE DADOS")}, {"Autor", kJose},
                           {"InstDesenv", iInst}, {"DataConclusao", S("02/1998")}, {"InstRegistro", S("INSTITUTO NACIONAL DA PROPRIEDADE")},
                           {"Descricao", S("Programa que recebe as medidas das sondas e gera alertas.")}, {"Co_autores", S("")}});
    s.linha("tbSoftSetores", {{"Cod_Software", sw}, {"DescrSetorEcon", S("FABRICAÇÃO DE INSTRUMENTOS DE MEDIDA")}});

    const QString labOptica = s.codigo(), labAgua = s.codigo();
    s.linha("tbLaboratorio", {{"Cod_Laboratorio", labOptica}, {"Cod_Inst", iUniv}, {"BIROLab", S("000004410")},
                              {"NomeLab", S("LABORATÓRIO DE ÓPTICA APLICADA")}, {"TipoApoio", S("AMPLIAÇÃO")}, {"DataInicio", S("01/05/1996")}});
    s.linha("tbLaboratorio", {{"Cod_Laboratorio", labAgua}, {"Cod_Inst", iInst}, {"BIROLab", S("000004415")},
                              {"NomeLab", S("LABORATÓRIO DE QUALIDADE DA ÁGUA")}, {"TipoApoio", S("MODERNIZAÇÃO")}, {"DataInicio", S("01/08/1996")}});
    const QString sv = s.codigo();
    s.linha("tbServico", {{"Cod_Servico", sv}, {"TipoServico", S("ENSAIOS E ANÁLISES")}, {"InstPrest", iInst},
                          {"TipoApoio", S("INFRAESTRUTURA")}, {"Laboratorio", labAgua}, {"Comerc", S("S")},
                          {"Descricao", S("Análises físico-químicas para prefeituras da região.")}});
    s.linha("tbServicoAreaConhec", {{"Cod_Servico", sv}, {"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});
    s.linha("tbServicoSetores", {{"Cod_Servico", sv}, {"DescrSetorEcon", S("CAPTAÇÃO, TRATAMENTO E DISTRIBUIÇÃO DE ÁGUA")}});

    s.linha("tbMaterialAdquirido", {{"Cod_Material", s.codigo()}, {"TipoMaterial", S("LIVROS")}, {"AnoAquisicao", S("1996")},
                                    {"LocaldeGastos", S("P")}, {"QtdAdquirida", S("12")}, {"ValorAtual", S("2350.00")}});
    s.linha("tbMaterialAreaConhec", {{"TipoMaterial", S("LIVROS")}, {"AnoAquisicao", S("1996")}, {"LocaldeGastos", S("P")},
                                     {"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});
    s.linha("tbEquipamentos", {{"Cod_Equip", s.codigo()}, {"TipoEquip", S("INSTRUMENTO DE MEDIDA")},
                               {"Descr_Equip", S("ESPECTROFOTÔMETRO UV-VIS")}, {"DescricaoUso", S("Calibração dos sensores.")},
                               {"Fabricante", S("ÓPTICA PRECISÃO")}, {"AnoFabricacao", S("1996")}, {"PaisFabricacao", S("BRASIL")},
                               {"ValorAtual", S("48500.00")}, {"InstLocaliz", iUniv}, {"NrPatrim", S("UF-0045871")},
                               {"OutraFonte", S("")}, {"Modelo", S("UV-2400")}});

    s.linha("tbBolsa", {{"Cod_Bolsa", kAna}, {"BIROBolsista", S("4567890123456789")}, {"NomeBolsista", S("ANA LÚCIA FERREIRA")},
                        {"BIROInstDestino", S("000004521")}, {"NomeInstDestino", S("UNIVERSIDADE FEDERAL DE SÃO JOÃO DAS ÁGUAS")},
                        {"Modalidade", S("DTI - DESENVOLVIMENTO TECNOLÓGICO E INDUSTRIAL")}, {"DataInicio", S("01/06/1996")},
                        {"DataConclusao", S("31/05/1998")}, {"KESTA", kAna}});
    s.linha("tbBolsa", {{"Cod_Bolsa", kRafael}, {"BIROBolsista", S("8901234567890123")}, {"NomeBolsista", S("RAFAEL AUGUSTO MENDES")},
                        {"BIROInstDestino", S("000003395")}, {"NomeInstDestino", S("UNIVERSIDADE ESTADUAL DO PLANALTO")},
                        {"Modalidade", S("ITI - INICIAÇÃO TECNOLÓGICA E INDUSTRIAL")}, {"DataInicio", S("01/03/1997")},
                        {"DataConclusao", S("28/02/1998")}, {"KESTA", kRafael}});
    s.linha("tbBolsaAreaConhec", {{"Cod_Bolsa", kAna}, {"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});
    const QString tDiss = s.codigo(), tTcc = s.codigo();
    s.linha("tbTrabalhoAcademico", {{"Cod_Trab", tDiss}, {"Cod_Bolsa", kAna}, {"Cod_Membro", kAna},
                                    {"TipoTrab", S("DISSERTAÇÃO DE MESTRADO")},
                                    {"TituloTrab", S("CALIBRAÇÃO DE SENSORES ÓPTICOS DE TURBIDEZ EM CAMPO")}, {"AnoInicio", S("1996")},
                                    {"AnoApresentacao", S("1998")}});
    s.linha("tbTrabalhoAcademico", {{"Cod_Trab", tTcc}, {"Cod_Bolsa", kRafael}, {"Cod_Membro", S("")},
                                    {"TipoTrab", S("TRABALHO DE CONCLUSÃO DE CURSO")},
                                    {"TituloTrab", S("TELEMETRIA DE BAIXO CUSTO PARA ESTAÇÕES DE COLETA")}, {"AnoInicio", S("1997")},
                                    {"AnoApresentacao", S("1998")}});
    s.linha("tbTrabalhoAreaConhec", {{"Cod_Trab", tDiss}, {"DescArea", S("ENGENHARIA SANITÁRIA")}});
    s.linha("tbTrabalhoAreaConhec", {{"Cod_Trab", tTcc}, {"DescArea", S("ENGENHARIA ELÉTRICA")}});

    const QString cap = s.codigo();
    s.linha("tbCapacit", {{"Cod_Capacitacao", cap}, {"TipodeCapacitacao", S("TREINAMENTO TÉCNICO")}, {"TipoEvento", S("CURSO")},
                          {"BIROInstTreinam", S("000010288")}, {"NomeInstTreinam", S("ÓPTICA PRECISÃO INDÚSTRIA E COMÉRCIO LTDA")},
                          {"DataInicio", S("05/09/1997")}, {"DataFim", S("09/09/1997")}});
    s.linha("tbCapacitMembro", {{"Cod_Capacitacao", cap}, {"Cod_Membro", kLuiz}});

    const QString curso = s.codigo();
    s.linha("tbCursos", {{"Cod_Curso", curso}, {"Nome", S("ESPECIALIZAÇÃO EM MONITORAMENTO AMBIENTAL")}, {"Nivel", S("PÓS-GRADUAÇÃO")},
                         {"SubNivel", S("ESPECIALIZAÇÃO")}, {"instFornec", iUniv}, {"Frequencia", S("REGULAR")},
                         {"ConceitoCapes", S("")}, {"Escolaridade", S("SUPERIOR COMPLETO")}, {"TipoApoio", S("BOLSAS")},
                         {"CargaHoraria", S("360")}, {"QtdeMatriculados", S("25")}, {"QtdeFormados", S("21")},
                         {"QtdeTrabAcademicos", S("21")}, {"Observacao", S("Segunda turma iniciada em 1998.")}});
    s.linha("tbCursosAreaConhec", {{"Cod_Curso", curso}, {"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});

    const QString ev = s.codigo();
    s.linha("tbEventosApoiados", {{"Cod_Evento", ev}, {"Nome", S("WORKSHOP SOBRE SENSORES PARA RECURSOS HÍDRICOS")},
                                  {"Tipo", S("WORKSHOP")}, {"Pais", S("BRASIL")}, {"UF", S("MG")}, {"Cidade", S("SÃO JOÃO DAS ÁGUAS")},
                                  {"Alcance", S("NACIONAL")}, {"DataInicio", S("18/10/1997")}, {"DataFim", S("20/10/1997")},
                                  {"QtdPartic", S("140")}, {"Descricao", S("Três dias de palestras e demonstrações de campo.")}});
    s.linha("tbEventosAreaConhec", {{"Cod_Evento", ev}, {"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});

    s.linha("tbBase", {{"Identificacao", S("HIDRODADOS VELHAS")}, {"TipoBase", S("NUMERICA")}, {"TipoApoio", S("C")},
                       {"Descricao", S("Medidas horárias das sondas desde 1998.")}, {"Disponivel", S("S")},
                       {"QtdeReg", S("87600")}, {"FaseDesenv", S("EM OPERAÇÃO")}});
    s.linha("tbBaseArea", {{"Identificacao", S("HIDRODADOS VELHAS")}, {"DescricaoAreaConhec", S("ENGENHARIA SANITÁRIA")}});
    s.linha("tbBaseAcesso", {{"Identificacao", S("HIDRODADOS VELHAS")}, {"TipoAcesso", S("INTERNET")}});

    const QString prob = s.codigo();
    s.linha("tbProblemas", {{"Cod_Problema", prob}, {"DataOcorrenc", S("14/02/1997")}, {"Categoria", S("T")},
                            {"NatProbAdm", S("")}, {"DescrProbTec", S("Atraso na importação das fibras ópticas especiais.")},
                            {"Repercussao", S("ATRASO NO CRONOGRAMA")}, {"Observacoes", S("Resolvido com fornecedor nacional.")}});
    s.linha("tbAcoesCorretivas", {{"Cod_Acao", S("19")}, {"TipoAcao", S("SUBSTITUIÇÃO DE FORNECEDOR")}, {"Cod_Problema", prob}});
    // The client institution is named by its registry code, the supplier by its code in the project.
    s.linha("tbQualidade", {{"Cod_Qualidade", s.codigo()}, {"Cod_InstCliente", S("000010288")}, {"Cod_InstFornec", iEstadual},
                            {"Situacao", S("EM IMPLANTAÇÃO")}, {"Resultados", S("Redução de 30% nas perdas de produção.")},
                            {"IndicDesemp", S("Índice de retrabalho.")}, {"HorasDiagnostico", S("40")}, {"HorasImplem", S("120")},
                            {"Certific", S("P")}, {"RelGQT", S("G")}});
    s.linha("tbAnalisQualitativa", {{"Descricao", S("O projeto cumpriu as metas técnicas; a rede piloto opera desde 1998 e já "
                                                    "subsidiou duas decisões da companhia de saneamento.")}});
    s.linha("tbComentariosGerais", {{"Descricao", S("A equipe agradece o apoio das prefeituras de Sabará e Alto Paraíso.")}});

    // A second, smaller project, so that the chooser offers a choice.
    Semeador s2(b, S("2"));
    s2.linha("tbProjeto", {{"Cod_Proj", S("2")}, {"Titulo", S("REDE DE ESTAÇÕES AUTOMÁTICAS PARA ALERTA DE CHEIAS NO VALE DO JEQUITAÍ")},
                           {"NumRelContratacao", S("0456/1997")}, {"SubProg", S("RECURSOS HÍDRICOS")},
                           {"DataAssinat", S("01/07/1997")}, {"ValProposta", S("210000.00")},
                           {"Objetivo", S("Instalar seis estações automáticas e um sistema de alerta por mensagens.")},
                           {"DataFimPrevista", S("30/06/2000")}});
    s2.linha("tbAreaConhecAting", {{"DescricaoAreaConhec", S("HIDROLOGIA")}});
    s2.linha("tbInstituicao", {{"Cod_Inst", s.codigo()}, {"BIRO", S("000003395")}, {"Nome", S("UNIVERSIDADE ESTADUAL DO PLANALTO CENTRAL")},
                               {"TipoEnvolvimento", S("COORDENADORA")}, {"TipoVinculacao", S("CONTRATUAL")}});
    const QString kCarla = s.codigo();
    b.registraPessoa(kCarla, S("CARLA REGINA MOREIRA"), S("9012345678901234"));
    s2.linha("tbMembro", {{"Cod_Membro", kCarla}, {"BIRO", S("9012345678901234")}, {"Nome", S("CARLA REGINA MOREIRA")},
                          {"EquipeOriginal", S("S")}, {"CargaHoraria", S("20")}, {"DescricaoFuncao", S("COORDENADOR")},
                          {"TipInstAtivPosPro", S("PARTICIPANTE ATIVO")}, {"Email", S("carla.moreira@uepc.br")}, {"KESTA", kCarla}});

    // The demo passwords are known to all; their hashes are made once, here, so that no server start
    // pays for the slow hash (tests start hundreds).
    b.criaUsuarioGuardado(S("demo"), S("pbkdf2-sha256$120000$jmqSdoCGSO+o9p4WzyuHpA==$T4QiRkT1NfKWBskHVgACn+dhQcSJjrABdyzH7yGNs+s="),
                          S("USUÁRIO DE DEMONSTRAÇÃO"));
    b.concedeProjeto(S("demo"), S("1"));
    b.concedeProjeto(S("demo"), S("2"));
    b.criaUsuarioGuardado(S("semprojeto"),
                          S("pbkdf2-sha256$120000$eWmneegs0m1SC9wQ7HJznA==$XIB7YxrPO6XN1dT1MY4WBuePzg8PPbcr1QBejVK36wE="),
                          S("USUÁRIO SEM PROJETOS"));
}

// A project of about n rows: one of each table first (parents before children), then round after round.
void SemeiaGrande(Banco& b, const QString& projeto, int n)
{
    Semeador s(b, projeto);
    std::map<QString, QString> ultimo;  // latest code per kind of parent
    const std::map<QString, QString> referencias = {
        {S("Autor"), S("tbMembro")},          {S("Inventor"), S("tbMembro")},       {S("Cod_Membro"), S("tbMembro")},
        {S("Cod_Inst"), S("tbInstituicao")},  {S("InstDesenv"), S("tbInstituicao")}, {S("InstPrest"), S("tbInstituicao")},
        {S("InstLocaliz"), S("tbInstituicao")}, {S("instFornec"), S("tbInstituicao")}, {S("Cod_Estudo"), S("tbEstudo")},
        {S("Cod_Publicacao"), S("tbPublicacao")}, {S("Cod_Obra"), S("tbObrasEditadas")}, {S("Cod_Prod"), S("tbProdTec")},
        {S("Cod_Software"), S("tbSoftware")}, {S("Cod_Servico"), S("tbServico")},   {S("Cod_Bolsa"), S("tbBolsa")},
        {S("Cod_Trab"), S("tbTrabalhoAcademico")}, {S("Cod_Capacitacao"), S("tbCapacit")}, {S("Cod_Curso"), S("tbCursos")},
        {S("Cod_Evento"), S("tbEventosApoiados")}, {S("Cod_Problema"), S("tbProblemas")}, {S("Laboratorio"), S("tbLaboratorio")},
        {S("Identificacao"), S("tbBase")},
    };
    int feitas = 0;
    for (int volta = 0; feitas < n; ++volta) {
        for (const TabelaServidor& t : Tabelas()) {
            if (feitas >= n && volta > 0)
                break;
            if (t.unicaPorProjeto && volta > 0)
                continue;
            QStringList valores;
            const QString sufixo = QString::number(volta);
            QString codigo;
            if (!t.chave.isEmpty())
                codigo = s.codigo();
            for (const auto& c : t.colunas) {
                QString v;
                if (c.name == t.chave) {
                    v = codigo;
                } else if (c.name == QLatin1String("Cod_Proj")) {
                    v = projeto;
                } else if (const auto r = referencias.find(c.name); r != referencias.end() && r->second != t.nome) {
                    v = ultimo[r->second];
                } else if (c.name == QLatin1String("Identificacao") || c.name == QLatin1String("TipoMaterial")) {
                    v = QStringLiteral("ITEM ") + sufixo;
                } else if (c.type == store::FieldType::Memo) {
                    v = QStringLiteral("Texto de acompanhamento número %1, com acentuação: ação, gestão, informação e análise. ").arg(volta).repeated(3);
                } else if (c.size == 1) {
                    v = QStringLiteral("S");
                } else if (c.size == 2) {
                    v = QStringLiteral("MG");
                } else if (c.size == 4) {
                    v = QStringLiteral("1996");
                } else if (c.name.startsWith(QLatin1String("Data"))) {
                    v = QStringLiteral("15/03/1997");
                } else if (c.size <= 20) {
                    v = QString::number(100 + volta).left(c.size);
                } else {
                    v = QString(c.name.toUpper() + QStringLiteral(" ") + sufixo + QStringLiteral(" – SÃO JOÃO")).left(c.size);
                }
                valores << v;
            }
            if (t.nome == QLatin1String("tbMembro") && volta == 0)
                valores[t.coluna(S("DescricaoFuncao"))] = S("COORDENADOR");
            if (t.nome == QLatin1String("tbMembro") || t.nome == QLatin1String("tbBolsa"))
                valores[t.coluna(S("KESTA"))] = codigo;
            if (t.nome == QLatin1String("tbBase"))
                ultimo[t.nome] = valores[t.coluna(S("Identificacao"))];
            else if (!codigo.isEmpty())
                ultimo[t.nome] = codigo;
            b.insere(t, projeto, valores);
            ++feitas;
        }
    }
}

} // namespace

bool Semeia(Banco& banco, const QString& semente, QString& erro)
{
    try {
        banco.inicia();
        if (semente == QLatin1String("demo")) {
            if (!banco.projetoExiste(S("1")))
                SemeiaDemo(banco);
        } else if (semente.startsWith(QLatin1String("grande:"))) {
            bool ok = false;
            const int n = semente.mid(7).toInt(&ok);
            if (!ok || n <= 0 || n > 5000000) {
                banco.desfaz();
                erro = QStringLiteral("use grande:N com N entre 1 e 5000000");
                return false;
            }
            const QString projeto = QString::number(1000000 + n);
            if (!banco.projetoExiste(projeto)) {
                SemeiaGrande(banco, projeto, n);
                banco.criaUsuarioGuardado(
                    S("grande"), S("pbkdf2-sha256$120000$BOTHevPdPaGk9ZKm2DxxlQ==$HiyxE+/fB2MxCX6vmCYd8OsEvnIMbrSzUR7tJaTDhUo="),
                    S("USUÁRIO DE MEDIDAS"));
                banco.concedeProjeto(S("grande"), projeto);
                banco.concedeProjeto(S("demo"), projeto);
            }
        } else {
            banco.desfaz();
            erro = QStringLiteral("semente desconhecida (use demo ou grande:N)");
            return false;
        }
        banco.confirma();
        return true;
    } catch (const ErroDoBanco& e) {
        banco.desfaz();
        erro = QString::fromStdString(e.what());
        return false;
    }
}

} // namespace servidor
