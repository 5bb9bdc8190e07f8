#pragma once

#include "edit/EdicaoTrabalhoAcademico.h"
#include "edit/GradeTrabalhoAcademico.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmTrabalhoAcademico;
class TfrmGridTrabalhoAcademico;
}

namespace edit {

class TfrmTrabalhoAcademico final : public FormularioQt
{
    Q_OBJECT
public:
    TfrmTrabalhoAcademico(const QString& campoDono, const QString& codigoDono, QWidget* parent = nullptr);
    ~TfrmTrabalhoAcademico() override;

private:
    std::unique_ptr<Ui::TfrmTrabalhoAcademico> m_ui;
    EdicaoTrabalhoAcademico m_logica;
};

class TfrmGridTrabalhoAcademico final : public FormularioQt
{
    Q_OBJECT
public:
    TfrmGridTrabalhoAcademico(const QString& campoDono, const QString& codigoDono, QWidget* parent = nullptr);
    ~TfrmGridTrabalhoAcademico() override;

private:
    std::unique_ptr<Ui::TfrmGridTrabalhoAcademico> m_ui;
    GradeTrabalhoAcademico m_logica;
};

// Runs the academic-works grid of an owner modally (what the owners' "Trabalhos Acadêmicos..." does).
void AbreGradeTrabalhos(const QString& campoDono, const QString& codigoDono, QWidget* pai);

} // namespace edit
