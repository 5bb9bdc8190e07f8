#include "edit/ui/TfrmCurso.h"

#include "edit/EdicaoCurso.h"
#include "ui_TfrmCurso.h"

#include "store/Dados.h"

namespace edit {

TfrmCurso::TfrmCurso(QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmCurso>())
{
    m_ui->setupUi(this);
    store::Dados& d = store::dados();
    m_ui->gcAreas->configura(QStringLiteral("dbgAreaConhec"), {{QStringLiteral("DescricaoAreaConhec"), QStringLiteral("Área do Conhecimento")}},
                              {{QStringLiteral("btIncluirArea"), QStringLiteral("&Incluir"), 1}, {QStringLiteral("btExcluirArea"), QStringLiteral("E&xcluir"), 0}});
    m_ui->gcAreas->setTabela(&d.atividadesApoiadas().tbCursosAreaConhec);
    m_logica = std::make_unique<EdicaoCurso>(*this, d.atividadesApoiadas().tbCursos, d.atividadesApoiadas().tbCursosAreaConhec, d.identificacao().tbInstituicao,
                                          d.atividadesApoiadas().tbNivel, d.atividadesApoiadas().tbSubNivel);
    instala(*m_logica);
}

TfrmCurso::~TfrmCurso() = default;

} // namespace edit
