#include "store/DataModules.h"

#include "store/Esquemas.h"

namespace store {

DataModule::DataModule(Modulo modulo)
    : m_modulo(modulo)
{
    for (const TableSchema& e : EsquemasDoModulo(modulo)) {
        auto t = std::make_unique<Table>(QString::fromUtf8(e.nome), e.tag, e.colunas);
        if (e.filtro) {
            t->setFilter(QString::fromUtf8(e.filtro));
            t->setFiltered(true);
        }
        t->open();
        m_tabelas.push_back(std::move(t));
    }
}

DataModule::~DataModule() = default;

std::vector<Table*> DataModule::tabelas() const
{
    std::vector<Table*> r;
    for (const auto& t : m_tabelas)
        r.push_back(t.get());
    return r;
}

Table* DataModule::tabela(const QString& nome) const
{
    for (const auto& t : m_tabelas)
        if (t->name().size() == nome.size() && t->name().compare(nome, Qt::CaseInsensitive) == 0)
            return t.get();
    return nullptr;
}

Table& DataModule::porNome(const char* nome) const
{
    Table* t = tabela(QString::fromLatin1(nome));
    Q_ASSERT(t);
    return *t;
}

TDataGeral::TDataGeral(Dados& dados)
    : DataModule(Modulo::Geral)
    , tbSetorEconAting(porNome("tbSetorEconAting"))
    , tbAreaConhecAting(porNome("tbAreaConhecAting"))
    , tbProjetos(porNome("tbProjetos"))
    , m_dados(dados)
{
}

TDataIdentificacao::TDataIdentificacao()
    : DataModule(Modulo::Identificacao)
    , tbInstituicao(porNome("tbInstituicao"))
    , tbMembro(porNome("tbMembro"))
    , tbPlanoAplic(porNome("tbPlanoAplic"))
    , tbLocaisPesquisa(porNome("tbLocaisPesquisa"))
    , tbOutrasFontes(porNome("tbOutrasFontes"))
    , tbMembroBolsistaTrabalho(porNome("tbMembroBolsistaTrabalho"))
    , tbMembroBolsista(porNome("tbMembroBolsista"))
    , tbProjeto(porNome("tbProjeto"))
{
}

TDataResultadosGerados::TDataResultadosGerados()
    : DataModule(Modulo::ResultadosGerados)
    , tbEstudo(porNome("tbEstudo"))
    , tbObrasEditadas(porNome("tbObrasEditadas"))
    , tbProdTec(porNome("tbProdTec"))
    , tbServico(porNome("tbServico"))
    , tbSoftware(porNome("tbSoftware"))
    , tbPublicacao(porNome("tbPublicacao"))
    , tbEstudosAreaConhec(porNome("tbEstudosAreaConhec"))
    , tbPublicEstudo(porNome("tbPublicEstudo"))
    , tbPublicPublicoAlvo(porNome("tbPublicPublicoAlvo"))
    , tbObraAreaConhec(porNome("tbObraAreaConhec"))
    , tbSoftSetores(porNome("tbSoftSetores"))
    , tbServicoAreaConhec(porNome("tbServicoAreaConhec"))
    , tbPublicAreaConhec(porNome("tbPublicAreaConhec"))
    , tbServicoSetores(porNome("tbServicoSetores"))
    , tbPatente(porNome("tbPatente"))
    , tbEstudosSetores(porNome("tbEstudosSetores"))
{
}

TDataRecursosAdquiridos::TDataRecursosAdquiridos()
    : DataModule(Modulo::RecursosAdquiridos)
    , tbEquipamentos(porNome("tbEquipamentos"))
    , tbMaterialAdquirido(porNome("tbMaterialAdquirido"))
    , tbMaterialAreaConhec(porNome("tbMaterialAreaConhec"))
{
}

TDataAtividadesApoiadas::TDataAtividadesApoiadas()
    : DataModule(Modulo::AtividadesApoiadas)
    , tbLaboratorio(porNome("tbLaboratorio"))
    , tbBolsa(porNome("tbBolsa"))
    , tbBolsaAreaConhec(porNome("tbBolsaAreaConhec"))
    , tbTrabalhoAcademico(porNome("tbTrabalhoAcademico"))
    , tbTrabalhoAreaConhec(porNome("tbTrabalhoAreaConhec"))
    , tbCapacit(porNome("tbCapacit"))
    , tbCapacitMembro(porNome("tbCapacitMembro"))
    , tbCursos(porNome("tbCursos"))
    , tbCursosAreaConhec(porNome("tbCursosAreaConhec"))
    , tbEventosApoiados(porNome("tbEventosApoiados"))
    , tbEventosAreaConhec(porNome("tbEventosAreaConhec"))
    , tbBase(porNome("tbBase"))
    , tbBaseArea(porNome("tbBaseArea"))
    , tbBaseAcesso(porNome("tbBaseAcesso"))
    , tbNivel(porNome("tbNivel"))
    , tbSubNivel(porNome("tbSubNivel"))
{
}

TDataAnaliseResultados::TDataAnaliseResultados()
    : DataModule(Modulo::AnaliseResultados)
    , tbProblemas(porNome("tbProblemas"))
    , tbQualidade(porNome("tbQualidade"))
    , tbComentariosGerais(porNome("tbComentariosGerais"))
    , tbAcoesCorretivas(porNome("tbAcoesCorretivas"))
    , tbAnalisQualitativa(porNome("tbAnalisQualitativa"))
{
}

} // namespace store
