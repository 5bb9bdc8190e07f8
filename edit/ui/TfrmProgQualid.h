#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmProgQualid;
}

namespace edit {

class EdicaoProgQualid;

// The total-quality programme dialog on its .ui file; its rules live in EdicaoProgQualid.
class TfrmProgQualid : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmProgQualid(QWidget* parent = nullptr);
    ~TfrmProgQualid() override;

    EdicaoProgQualid& logicaDoDialogo() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmProgQualid> m_ui;
    std::unique_ptr<EdicaoProgQualid> m_logica;
};

} // namespace edit
