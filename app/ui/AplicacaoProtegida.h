#pragma once

#include <QApplication>

#include <functional>

namespace app::ui {

// The program's application object. A failure that no command caught and that would reach the event
// loop (from a click, a key, a timer, a closing window) stops here instead of ending the program:
// the recovery copy of a modified project is written first, every dialog still open is cancelled and
// every table left in edit is put back, so that the project is as it was before the command; then
// the user is told "Erro inesperado!" with the failure's own text, and the program goes on.
class AplicacaoProtegida : public QApplication
{
    Q_OBJECT
public:
    AplicacaoProtegida(int& argc, char** argv);

    bool notify(QObject* destino, QEvent* evento) override;

    // What the window does once the tables are put back (its editors follow their tables again).
    std::function<void()> depoisDeDesfazer;

    static QString TextoDaFalha(const QString& detalhe);

private:
    void falhou(const QString* detalhe);
    void desfaz();

    int m_tratando = 0;
};

} // namespace app::ui
