#pragma once

#include <QString>
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>

namespace store {

// The password-protected ZIP archive of a project. Entries are ZipCrypto ("traditional PKWARE") so
// that Info-ZIP's `unzip -P` reads what we write and we read what `zip -P` writes.
//
// Writing goes through libzip, loaded when first needed. Reading an ordinary archive (ours, or
// Info-ZIP's) needs no libzip: its directory, decryption and inflation are our own. An archive that
// reading does not take, or an entry that does not come out as its directory says, goes to libzip,
// so that damaged, hostile and wrong-password archives get libzip's verdicts.
//
// Every failure comes back as one of the archive result codes that the project commands turn into
// messages; `detalhe()` keeps the library's own words for diagnostics.
class ArquivoZip
{
public:
    enum Resultado : int {
        Ok = 0,
        ArquivoInexistente = 100,
        Danificado = 110,
        DiscoCheio = 150,
        BibliotecaAusente = 240,  // libzip could not be loaded when it was needed
        SemAcesso = 400,          // permissions, or the file is in use
        OutraFalha = 1,           // anything else, a wrong password among them
    };

    // Archive to write or read.
    QString ZipFileName;
    QString Password;
    // Writing: the files to pack, each stored under its name without directory, in this order.
    QStringList FilesToProcess;
    // Writing: entries held in memory (name, contents), packed after the files.
    QList<QPair<QString, QByteArray>> Conteudos;
    int Compression = 6;
    // Reading: where the entries go, and the only entry names that may be written there. An archive
    // holding any other name (a directory part, "..", an absolute path, a stray file) is refused whole.
    QString ExtractDirectory;
    QStringList NomesPermitidos;
    // An archive whose entries expand beyond this, all entries together, is refused as damaged. The
    // bytes actually written count, not the sizes the archive declares. A project of 20,000 rows
    // expands to a few MB; 128 MiB leaves room for projects thirty times larger with long memos,
    // while a hostile archive costs at most that much disk and a small multiple of it in memory.
    static constexpr qint64 LimitePadrao = qint64(128) << 20;
    qint64 LimiteExtracao = LimitePadrao;

    // Writes ZipFileName from FilesToProcess. The new archive is built in a temporary file beside
    // ZipFileName, synced, and only then renamed over it, so that at every instant the old or the new
    // archive is there, never neither. When `copiaAnterior` is given, the previous archive is first
    // copied there (failures of that copy are ignored, as there may be no previous archive).
    int Compacta(const QString& copiaAnterior = QString());

    // Checks every entry name and size first, then extracts all entries into ExtractDirectory,
    // replacing files of the same name. On failure the files it wrote are removed again.
    int Extrai();

    // Checks the entries as Extrai does, then hands each entry's bytes, whole, to `recebe` as soon as
    // they are read, on the worker thread that read them (several run at once; each entry is handed
    // over once). Nothing touches the disk. On failure some entries may have been handed over
    // already: the caller drops whatever it made of them.
    int ExtraiParaMemoria(const std::function<void(const QString& nome, QByteArray&& bytes)>& recebe);

    // Entry names of ZipFileName in archive order; empty when it cannot be read.
    QStringList nomesDasEntradas();

    QString detalhe() const { return m_detalhe; }

private:
    int falha(int codigo, const QString& detalhe);
    // The reading both extractions share; `entrega` returns Ok, or a result code with its detail.
    int le(const std::function<int(const QString& nome, QByteArray&& bytes, QString& detalhe)>& entrega);

    QString m_detalhe;
};

// Tests: the library to load instead of libzip when it is first needed; no effect once it was loaded.
void UsaBibliotecaZip(const char* nome);

} // namespace store
