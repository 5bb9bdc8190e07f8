#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QString>

class QSocketNotifier;

namespace app::ui {

// One running copy per user. The first copy listens under a name made of the window class, the
// caption and the user; a later copy finds it there, asks it to come back from the minimised state
// and to the front, hands it the project files it was given (a file manager's double click), and
// ends without a window.
//
// The name is a local socket in the temporary folder. It is spoken to with the system's own socket
// calls: the network module's local sockets would load and touch more than a megabyte of code at
// every start, for one line that a later copy sends.
class InstanciaUnica : public QObject
{
    Q_OBJECT
public:
    explicit InstanciaUnica(const QString& nome = nomePadrao(), QObject* parent = nullptr);
    ~InstanciaUnica() override;

    static QString nomePadrao();

    // True when another copy answered under the name (it has been told to come forward, and to open
    // `arquivos`, absolute paths).
    bool avisaOutraCopia(int esperaMs = 1000, const QStringList& arquivos = {});
    // Starts listening; false when the name cannot be taken.
    bool escuta();

    // The user message the first copy receives from a later one (WM_USER of the old platform).
    static constexpr int WmUser = 0x400;

signals:
    void restaurarPedido();
    // A later copy was given this project file to open.
    void abrirPedido(const QString& arquivo);

private:
    void novaConexao();
    void leConexao(int conexao, QSocketNotifier* aviso);
    void interpreta(const QByteArray& recebido);

    QString m_nome;
    QByteArray m_caminho;
    int m_escuta = -1;
    QSocketNotifier* m_aviso = nullptr;
    QHash<int, QByteArray> m_recebido;  // what each open connection has said so far
};

} // namespace app::ui
