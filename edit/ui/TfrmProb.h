#pragma once

#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmProb;
}

namespace edit {

class EdicaoProb;

// The problem dialog on its .ui file; its rules live in EdicaoProb.
class TfrmProb : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmProb(QWidget* parent = nullptr);
    ~TfrmProb() override;

    EdicaoProb& logicaDoDialogo() const { return *m_logica; }

    // The type panels are shown while the logic enables them.
    void habilita(const QString& controle, bool sim) override;

private:
    std::unique_ptr<Ui::TfrmProb> m_ui;
    std::unique_ptr<EdicaoProb> m_logica;
};

} // namespace edit
