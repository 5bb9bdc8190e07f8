#pragma once

#include "edit/DialogoEdicao.h"

#include <QDialog>

#include <memory>

namespace edit {

// Hands a QDialog to AbreEdicao. The mode tag is kept in the dialog's "tag" property, where the
// dialog reads it (TagDoDialogo); the adapter owns the dialog and frees it with itself.
class DialogoQt : public DialogoEdicao
{
public:
    explicit DialogoQt(std::unique_ptr<QDialog> dialogo);
    ~DialogoQt() override;

    int tag() const override;
    void setTag(int tag) override;
    int exec() override;

    QDialog* dialogo() const { return m_dialogo.get(); }

private:
    std::unique_ptr<QDialog> m_dialogo;
};

// The mode tag of a widget (1 insert, 0 edit); 0 when none was set.
int TagDoDialogo(const QObject* dialogo);

} // namespace edit
