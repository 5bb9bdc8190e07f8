#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class Hunspell;

namespace edit {

// A word of a text: where it starts and how long it is, in UTF-16 units.
struct PalavraNoTexto {
    int inicio = 0;
    int tamanho = 0;
};

// The words of a line of text that spelling checks: runs of letters, joined by a hyphen or an
// apostrophe between letters. Runs with digits, and whatever lies in an e-mail or web address, are
// not words.
std::vector<PalavraNoTexto> PalavrasDoTexto(QStringView texto);

// The Brazilian Portuguese dictionary (Hunspell's, from the system's dictionary folder) with the words
// the user added. It is read on a thread of its own, so that no window waits for it; until it is in,
// or when it cannot be read, every word passes. Each word's verdict is remembered.
class Ortografia : public QObject
{
    Q_OBJECT
public:
    // The program's one dictionary; the first call starts reading it.
    static Ortografia& DoPrograma();

    // `base`: the dictionary's path without ".aff"/".dic"; `usuario`: the file of the user's words.
    Ortografia(QString base, QString usuario, QObject* parent = nullptr);
    ~Ortografia() override;

    // Where the program looks: REZOZUR_DICIONARIO (path without the extension) or the system's
    // pt_BR; the user's words go in the user's data folder.
    static QString BaseDoSistema();
    static QString ArquivoDoUsuario();

    void comecaLeitura();  // once; later calls do nothing
    void esperaLeitura();  // blocks until the reading ended (tests, the command line)
    bool lida() const { return m_lida.load(std::memory_order_acquire); }
    bool disponivel() const { return lida() && m_hunspell != nullptr; }
    // Why it is not available, once read: the missing file or Hunspell's refusal.
    QString motivo() const { return m_motivo; }

    // True for a word of the dictionary or of the user, and for any word while none is in. A word
    // in capitals is looked up in lower case: the server keeps texts in capitals.
    bool correta(const QString& palavra);
    QStringList sugestoes(const QString& palavra, int maximo = 6);
    // Takes the word as correct from now on, here and in the next runs (the user's file).
    void adiciona(const QString& palavra);

    static bool EmMaiusculas(QStringView palavra);

    // True the first time it is asked once the dictionary is known to be missing: the program says so
    // once, whichever memo finds it out first.
    bool avisaIndisponivel();

signals:
    void pronta();  // the reading ended, available or not (on the thread the object lives in)
    void mudou();   // a word was added: verdicts may have changed

private:
    QString formaDeConsulta(const QString& palavra) const;
    std::string codifica(const QString& s) const;
    QString decodifica(const std::string& s) const;
    void le();

    QString m_base;
    QString m_usuario;
    std::unique_ptr<Hunspell> m_hunspell;
    bool m_utf8 = true;
    QString m_motivo;
    std::thread m_leitor;
    std::atomic<bool> m_lida{false};
    bool m_comecou = false;
    bool m_avisou = false;
    QHash<QString, bool> m_veredictos;
};

} // namespace edit
