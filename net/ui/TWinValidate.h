#pragma once

#include <QDialog>
#include <QScopedPointer>
#include <QStringList>

namespace Ui {
class TWinValidate;
}

namespace net {

struct QuadrosValidacao;

// The pending-items window: the errors and warnings the checks found. It has no behaviour of its own.
class TWinValidate final : public QDialog
{
    Q_OBJECT
public:
    explicit TWinValidate(QWidget* pai = nullptr);
    ~TWinValidate() override;

    void carrega(const QuadrosValidacao& quadros);
    // The lines in their order, each shown once.
    static QStringList semRepeticao(const QStringList& linhas);

private:
    const QScopedPointer<Ui::TWinValidate> m_ui;
};

} // namespace net
