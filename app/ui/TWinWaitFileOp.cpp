#include "app/ui/TWinWaitFileOp.h"

#include "core/Interacao.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace app::ui {

TWinWaitFileOp::TWinWaitFileOp(QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , LabelFile(new QLabel(QStringLiteral("Abrindo arquivo:"), this))
    , PBar(new QProgressBar(this))
    , btCancelar(new QPushButton(QStringLiteral("Cancelar"), this))
{
    setObjectName(QStringLiteral("WinWaitFileOp"));
    setFixedSize(423, 98);
    setAutoFillBackground(true);

    LabelFile->setObjectName(QStringLiteral("LabelFile"));
    LabelFile->setGeometry(10, 9, 403, 20);
    QFont f = LabelFile->font();
    f.setPixelSize(13);
    LabelFile->setFont(f);

    PBar->setObjectName(QStringLiteral("PBar"));
    PBar->setGeometry(10, 32, 403, 22);
    PBar->setRange(0, 450);
    PBar->setValue(0);
    PBar->setTextVisible(false);

    btCancelar->setObjectName(QStringLiteral("btCancelar"));
    btCancelar->setGeometry(176, 64, 75, 25);
    connect(btCancelar, &QPushButton::clicked, this, &TWinWaitFileOp::btCancelarClick);

    // A frame of its own, since the window has no border.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    centraNaTela();
}

void TWinWaitFileOp::btCancelarClick() { app::SetTrocaCancelada(true); }

void TWinWaitFileOp::setSempreNoTopo(bool sim)
{
    if (sempreNoTopo() == sim)
        return;
    const bool visivel = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, sim);
    if (visivel)
        show();  // changing the flags hides a window
}

bool TWinWaitFileOp::sempreNoTopo() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void TWinWaitFileOp::centraNaTela()
{
    if (QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect r = tela->availableGeometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
}

} // namespace app::ui
