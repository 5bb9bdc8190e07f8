#include "edit/ui/TfrmTrabalhoAcademico.h"

#include "edit/ui/DialogoQt.h"
#include "edit/ui/GradeComBotoes.h"
#include "ui_TfrmGridTrabalhoAcademico.h"
#include "ui_TfrmTrabalhoAcademico.h"

#include "store/Dados.h"

#include <QApplication>

namespace edit {

TfrmTrabalhoAcademico::TfrmTrabalhoAcademico(const QString& campoDono, const QString& codigoDono, QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmTrabalhoAcademico>())
    , m_logica(*this, campoDono, codigoDono)
{
    m_ui->setupUi(this);
    m_ui->grdAreas->configura(QStringLiteral("dbgAreas"), {{QStringLiteral("DescArea"), QStringLiteral("Área do Conhecimento")}},
                              {{QStringLiteral("btIncluirArea"), QStringLiteral("&Incluir"), 1},
                               {QStringLiteral("btExcluirArea"), QStringLiteral("E&xcluir"), 0}});
    m_ui->grdAreas->setTabela(&store::DataAtividadesApoiadas().tbTrabalhoAreaConhec);
    instala(m_logica);
}

TfrmTrabalhoAcademico::~TfrmTrabalhoAcademico() = default;

TfrmGridTrabalhoAcademico::TfrmGridTrabalhoAcademico(const QString& campoDono, const QString& codigoDono,
                                                     QWidget* parent)
    : FormularioQt(parent)
    , m_ui(std::make_unique<Ui::TfrmGridTrabalhoAcademico>())
    , m_logica(*this, campoDono, codigoDono, [this](const QString& campo, const QString& codigo) {
        return std::make_unique<DialogoQt>(std::make_unique<TfrmTrabalhoAcademico>(campo, codigo, this));
    })
{
    m_ui->setupUi(this);
    m_ui->grdTrabalhos->configura(GradeTrabalhoAcademico::Grade,
                                  {{QStringLiteral("TipoTrab"), QStringLiteral("Tipo")},
                                   {QStringLiteral("TituloTrab"), QStringLiteral("Título")},
                                   {QStringLiteral("AnoInicio"), QStringLiteral("Início")},
                                   {QStringLiteral("AnoApresentacao"), QStringLiteral("Apresentação")}},
                                  {{GradeTrabalhoAcademico::Incluir, QStringLiteral("&Incluir"), 1},
                                   {GradeTrabalhoAcademico::Editar, QStringLiteral("&Editar"), 0},
                                   {GradeTrabalhoAcademico::Excluir, QStringLiteral("E&xcluir"), 0}});
    m_ui->grdTrabalhos->setTabela(&store::DataAtividadesApoiadas().tbTrabalhoAcademico);
    instala(m_logica);
}

TfrmGridTrabalhoAcademico::~TfrmGridTrabalhoAcademico() = default;

void AbreGradeTrabalhos(const QString& campoDono, const QString& codigoDono, QWidget* pai)
{
    TfrmGridTrabalhoAcademico grade(campoDono, codigoDono, pai);
    grade.exec();
}

} // namespace edit
