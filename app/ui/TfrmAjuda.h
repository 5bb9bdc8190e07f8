#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QUrl;

namespace app::ui {

// The help page, shown inside the program: a desktop without a launcher for HTML files still gets
// its help. Links within the page are followed here; web and mail links go to the desktop.
class TfrmAjuda : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAjuda(QWidget* parent = nullptr);

    // False when the page cannot be read.
    bool abre(const QString& caminho);
    // Selects the next match of `texto` (case and accents as typed), from the top after the last;
    // false when the page holds none.
    bool procura(const QString& texto, bool paraTras = false);

    // Opens a link that leaves the page; the desktop's browser by default, tests replace it.
    std::function<void(const QUrl&)> abreLinkExterno;

    QTextBrowser* navegador() const { return m_navegador; }

private:
    void linkClicado(const QUrl& url);

    QTextBrowser* m_navegador;
    QLineEdit* m_procura;
    QLabel* m_resultado;
};

} // namespace app::ui
