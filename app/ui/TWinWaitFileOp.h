#pragma once

#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

namespace app::ui {

// The small borderless window of long operations: a line of text, a progress bar and a Cancelar
// button that only raises the exchange-cancelled flag; the running operation decides what to do.
class TWinWaitFileOp : public QFrame
{
    Q_OBJECT
public:
    explicit TWinWaitFileOp(QWidget* parent = nullptr);

    QLabel* LabelFile;
    QProgressBar* PBar;
    QPushButton* btCancelar;

    // Kept above other windows; a message box shown meanwhile lowers it and puts it back afterwards.
    void setSempreNoTopo(bool sim);
    bool sempreNoTopo() const;

    void centraNaTela();

private:
    void btCancelarClick();
};

} // namespace app::ui
