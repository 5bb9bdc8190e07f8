#pragma once

#include "edit/EdicaoPublicacao.h"
#include "edit/ui/FormularioQt.h"

#include <memory>

namespace Ui {
class TfrmPublicacao;
}

namespace edit {

// A publication of the project, with its knowledge areas. The form of edit/EdicaoPublicacao.h.
class TfrmPublicacao final : public FormularioQt
{
    Q_OBJECT
public:
    explicit TfrmPublicacao(QWidget* parent = nullptr);
    ~TfrmPublicacao() override;

    EdicaoPublicacao& logica() const { return *m_logica; }

private:
    std::unique_ptr<Ui::TfrmPublicacao> m_ui;
    std::unique_ptr<EdicaoPublicacao> m_logica;
};

} // namespace edit
