#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace app::ui {

// One running copy per user. The first copy listens under a name made of the window class, the
// caption and the user; a later copy finds it there, asks it to come back from the minimised state
// and to the front, and ends without a window.
class InstanciaUnica : public QObject
{
    Q_OBJECT
public:
    explicit InstanciaUnica(const QString& nome = nomePadrao(), QObject* parent = nullptr);
    ~InstanciaUnica() override;

    static QString nomePadrao();

    // True when another copy answered under the name (it has been told to come forward).
    bool avisaOutraCopia(int esperaMs = 1000);
    // Starts listening; false when the name cannot be taken.
    bool escuta();

    // The user message the first copy receives from a later one (WM_USER of the old platform).
    static constexpr int WmUser = 0x400;

signals:
    void restaurarPedido();

private:
    void novaConexao();

    QString m_nome;
    QLocalServer* m_servidor = nullptr;
};

} // namespace app::ui
