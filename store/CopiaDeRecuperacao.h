#pragma once

#include <QString>

#include <memory>
#include <thread>

namespace store {

// A recovery copy of the open project while it has unsaved changes, so that a crash costs only the
// last few minutes of work. It is a project archive like any other, kept in a per-user folder
// (QStandardPaths::AppDataLocation + "/recuperacao/", mode 0700) beside a one-line text file with the
// name of the project file it stands for. It never touches the user's own file.
//
// The tables are copied on the calling thread (the values are shared, so that is quick); encoding
// and compression run on a worker thread.
class CopiaDeRecuperacao
{
public:
    CopiaDeRecuperacao();
    ~CopiaDeRecuperacao();  // waits for a copy being written
    CopiaDeRecuperacao(const CopiaDeRecuperacao&) = delete;
    CopiaDeRecuperacao& operator=(const CopiaDeRecuperacao&) = delete;

    static QString Pasta();
    static QString Arquivo();  // the copy itself

    // Starts writing a copy of the tables as they are now. False, doing nothing, while the previous
    // copy is still being written: the caller tries again later.
    bool grava();
    // Waits until no copy is being written.
    void espera();
    // Removes the copy; one being written meanwhile never lands.
    void remove();
    bool existe() const;
    // The project file the copy stands for; empty for a downloaded project never saved.
    QString arquivoDoProjeto() const;

private:
    struct Comum;
    std::shared_ptr<Comum> m_comum;  // shared with the worker thread
    std::thread m_fio;
};

CopiaDeRecuperacao& Recuperacao();

// At start-up, when the program before this one ended without closing its project, offers the copy it
// left: "Recuperar" opens it as the project (modified, under its file's name, with the window's pages);
// "Descartar" removes it; closing the question puts it aside as "recuperacao-anterior.prj" in the same
// folder, which Open can read. True when it was opened.
bool OfereceRecuperacao();

} // namespace store
