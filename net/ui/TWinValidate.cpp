#include "net/ui/TWinValidate.h"

#include "ui_TWinValidate.h"

#include "net/Verificacao.h"

#include <QSet>

namespace net {

TWinValidate::TWinValidate(QWidget* pai) : QDialog(pai), m_ui(new Ui::TWinValidate)
{
    m_ui->setupUi(this);
    // Resizable and wrapped: a finding is read whole, however long the name in it.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);
    connect(m_ui->BtnOk, &QPushButton::clicked, this, &QDialog::accept);
}

TWinValidate::~TWinValidate() = default;

QStringList TWinValidate::semRepeticao(const QStringList& linhas)
{
    // A record looked at by two stages of the check reports the same finding twice; the reader needs
    // it once. The lists themselves stay as the checks left them.
    QStringList unicas;
    QSet<QString> vistas;
    for (const QString& l : linhas)
        if (!vistas.contains(l)) {
            vistas.insert(l);
            unicas << l;
        }
    return unicas;
}

void TWinValidate::carrega(const QuadrosValidacao& quadros)
{
    m_ui->MemoErr->setPlainText(semRepeticao(quadros.MemoErr).join(QLatin1Char('\n')));
    m_ui->MemoWarn->setPlainText(semRepeticao(quadros.MemoWarn).join(QLatin1Char('\n')));
}

} // namespace net
