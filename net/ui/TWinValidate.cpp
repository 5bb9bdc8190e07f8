#include "net/ui/TWinValidate.h"

#include "ui_TWinValidate.h"

#include "net/Verificacao.h"

namespace net {

TWinValidate::TWinValidate(QWidget* pai) : QDialog(pai), m_ui(new Ui::TWinValidate)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(606, 311);
    connect(m_ui->BtnOk, &QPushButton::clicked, this, &QDialog::accept);
}

TWinValidate::~TWinValidate() = default;

void TWinValidate::carrega(const QuadrosValidacao& quadros)
{
    m_ui->MemoErr->setPlainText(quadros.MemoErr.join(QLatin1Char('\n')));
    m_ui->MemoWarn->setPlainText(quadros.MemoWarn.join(QLatin1Char('\n')));
}

} // namespace net
