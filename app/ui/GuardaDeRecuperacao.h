#pragma once

#include <QObject>
#include <QTimer>

namespace app::ui {

// Keeps the recovery copy of a modified project up to date: every two minutes, and as soon as a
// dialog has closed (an edit confirmed, a record deleted after its question). A copy is written only
// when the tables changed since the last one and no dialog is open, so that it never holds the
// half-made rows of an edit in progress.
class GuardaDeRecuperacao final : public QObject
{
    Q_OBJECT
public:
    static constexpr int Intervalo = 2 * 60 * 1000;

    // Watches the store's tables, which must exist already.
    explicit GuardaDeRecuperacao(QObject* parent = nullptr);
    ~GuardaDeRecuperacao() override;

    // Writes a copy now when there is something to keep; true when one was started.
    bool tenta();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QTimer m_relogio;
    bool m_mudou = false;
};

} // namespace app::ui
