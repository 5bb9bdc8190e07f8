#pragma once

#include "core/InteracaoRoteirizada.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

// What every target needs once per process: a Qt application object and a seam that answers every
// message quietly, so a fuzzed input never blocks on a question or floods the terminal.
inline void PreparaUmaVez()
{
    static int argc = 1;
    static char nome[] = "fuzz";
    static char* argv[] = {nome, nullptr};
    static QCoreApplication* aplicacao = new QCoreApplication(argc, argv);
    static app::InteracaoRoteirizada* seam = [] {
        auto* s = new app::InteracaoRoteirizada;
        app::instalaInteracao(s);
        return s;
    }();
    (void)aplicacao;
    seam->mensagens.clear();
    seam->inesperadas.clear();
}

inline QByteArray Bytes(const uint8_t* dados, size_t tamanho)
{
    return QByteArray(reinterpret_cast<const char*>(dados), qsizetype(tamanho));
}
