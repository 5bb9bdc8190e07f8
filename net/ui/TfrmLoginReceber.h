#pragma once

#include <QDialog>
#include <QScopedPointer>

namespace Ui {
class TfrmLoginReceber;
}

namespace net {

// The login of the Load command, and of the repair of a file made by an earlier version.
class TfrmLoginReceber final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmLoginReceber(QWidget* pai = nullptr);
    ~TfrmLoginReceber() override;

    // Makes OK run the repair (btConfirmarClick_fix) instead of the download.
    void usaReparo();

    void btConfirmarClick();
    void btConfirmarClick_fix();
    void btTesteClick();

private:
    void confirma();
    void habilitaBotoes(bool sim);

    const QScopedPointer<Ui::TfrmLoginReceber> m_ui;
    bool m_reparo = false;
};

} // namespace net
