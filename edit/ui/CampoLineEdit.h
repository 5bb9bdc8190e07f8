#pragma once

#include "edit/CampoMascarado.h"

#include <QPointer>
#include <QLineEdit>

namespace edit {

// A QLineEdit seen by the field checks. With an input mask ("99/99/9999;_") the text reads with the
// mask's empty positions as blanks and its separators kept ("  /  /    "), and its maximum length is
// the mask's; "_" written into it marks empty positions.
class CampoLineEdit : public CampoMascarado
{
public:
    explicit CampoLineEdit(QLineEdit* edit);

    QString texto() const override;
    void defineTexto(const QString& texto) override;
    int tamanhoMaximo() const override;

private:
    QChar branco() const;

    QPointer<QLineEdit> m_edit;
};

} // namespace edit
