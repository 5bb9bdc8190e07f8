#include "edit/ui/TfrmEventos.h"

#include "edit/EdicaoEventos.h"
#include "ui_TfrmEventos.h"

#include "store/Dados.h"

namespace edit {

TfrmEventos::TfrmEventos(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmEventos>())
{
    m_ui->setupUi(this);
    store::Dados& d = store::dados();
    m_ui->gcAreas->configura(QStringLiteral("dbgAreaConhec"), {{QStringLiteral("DescricaoAreaConhec"), QStringLiteral("Área do Conhecimento")}},
                              {{QStringLiteral("btIncluirArea"), QStringLiteral("&Incluir"), 1}, {QStringLiteral("btExcluirArea"), QStringLiteral("E&xcluir"), 0}});
    m_ui->gcAreas->setTabela(&d.atividadesApoiadas().tbEventosAreaConhec);
    m_logica = std::make_unique<EdicaoEventos>(*this, d.atividadesApoiadas().tbEventosApoiados, d.atividadesApoiadas().tbEventosAreaConhec);
    instala(*m_logica);
}

TfrmEventos::~TfrmEventos() = default;

} // namespace edit
