#include "edit/ui/TfrmBase.h"

#include "edit/EdicaoBase.h"
#include "ui_TfrmBase.h"

#include "store/Dados.h"

namespace edit {

TfrmBase::TfrmBase(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmBase>())
{
    m_ui->setupUi(this);
    store::Dados& d = store::dados();
    m_ui->gcAreas->configura(QStringLiteral("dbgAreaConhec"), {{QStringLiteral("DescricaoAreaConhec"), QStringLiteral("Área do Conhecimento")}},
                              {{QStringLiteral("btIncluirArea"), QStringLiteral("&Incluir"), 1}, {QStringLiteral("btExcluirArea"), QStringLiteral("E&xcluir"), 0}});
    m_ui->gcAreas->setTabela(&d.atividadesApoiadas().tbBaseArea);
    m_ui->gcAcesso->configura(QStringLiteral("dbgAcesso"), {{QStringLiteral("TipoAcesso"), QStringLiteral("Forma de Acesso")}},
                              {{QStringLiteral("btIncluirAcesso"), QStringLiteral("&Incluir"), 1}, {QStringLiteral("btExcluirAcesso"), QStringLiteral("E&xcluir"), 0}});
    m_ui->gcAcesso->setTabela(&d.atividadesApoiadas().tbBaseAcesso);
    m_logica = std::make_unique<EdicaoBase>(*this, d.atividadesApoiadas().tbBase, d.atividadesApoiadas().tbBaseArea, d.atividadesApoiadas().tbBaseAcesso);
    instala(*m_logica);
}

TfrmBase::~TfrmBase() = default;

} // namespace edit
