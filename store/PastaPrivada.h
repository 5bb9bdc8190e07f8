#pragma once

#include <QString>

namespace store {

// A folder of our own (mode 0700, in the system's temporary folder) for the decrypted table files of
// one open or save. It is removed when the object goes, when the process is ended by a signal, and,
// after a crash, by the next program that makes one (or calls LimpaSobras).
class PastaPrivada
{
public:
    PastaPrivada();
    ~PastaPrivada();
    PastaPrivada(const PastaPrivada&) = delete;
    PastaPrivada& operator=(const PastaPrivada&) = delete;

    bool valida() const { return !m_caminho.isEmpty(); }
    // With a trailing "/".
    QString caminho() const { return m_caminho; }

    // The name every such folder begins with, followed by "<process id>-".
    static QString Prefixo();

    // Removes the folders of processes that no longer run, and the temporary files that saves killed
    // midway left beside `arquivoDoProjeto` (when given): "F.<process id>.tmp" and "F.bak.<process id>.tmp".
    static void LimpaSobras(const QString& arquivoDoProjeto = QString());

private:
    QString m_caminho;
    const void* m_registro = nullptr;  // what a signal handler deletes for this folder, while it is the active one
};

} // namespace store
