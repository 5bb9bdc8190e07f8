#pragma once

#include "edit/PainelBotoes.h"

#include <QList>
#include <QPointer>
#include <QWidget>

namespace edit {

// A QWidget panel seen as a button panel: its direct child widgets, each with the integer "tag"
// property (0 when unset). Incluir buttons carry tag 1.
class PainelQt : public PainelBotoes
{
public:
    explicit PainelQt(QWidget* painel);

    int quantidade() const override;
    int tag(int i) const override;
    bool habilitado(int i) const override;
    void habilita(int i, bool sim) override;

private:
    QList<QWidget*> controles() const;
    QWidget* controle(int i) const;

    QPointer<QWidget> m_painel;
};

// Sets the tag of a control, as the forms do for their Incluir buttons.
void DefineTag(QWidget* controle, int tag);

} // namespace edit
