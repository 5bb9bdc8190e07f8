#include "store/BibliotecaZip.h"
#include "store/ArquivoZip.h"

#include <dlfcn.h>

#include <cstdlib>

namespace store {

namespace {

// The soname of the libzip the build found, so that the one the headers describe is the one loaded.
const char* g_biblioteca = REZOZUR_SONAME_DO_ZIP;

struct Carregada {
    FuncoesDoZip funcoes;
    bool ok = false;
    QString erro;
};

Carregada Carrega()
{
    Carregada c;
    // Never closed: the table lives as long as the process.
    void* h = ::dlopen(g_biblioteca, RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* e = ::dlerror();
        c.erro = QString::fromLocal8Bit(e ? e : g_biblioteca);
        return c;
    }
#define REZOZUR_RESOLVE_DO_ZIP(f)                                                                        \
    c.funcoes.f = reinterpret_cast<decltype(&::f)>(::dlsym(h, #f));                                      \
    if (!c.funcoes.f) {                                                                                  \
        const char* e = ::dlerror();                                                                     \
        c.erro = QString::fromLocal8Bit(e ? e : #f);                                                     \
        return c;                                                                                        \
    }
    REZOZUR_FUNCOES_DO_ZIP(REZOZUR_RESOLVE_DO_ZIP)
#undef REZOZUR_RESOLVE_DO_ZIP
    c.ok = true;
    return c;
}

const Carregada& Unica()
{
    static const Carregada c = Carrega();
    return c;
}

} // namespace

const FuncoesDoZip* CarregaZip(QString* erro)
{
    const Carregada& c = Unica();
    if (!c.ok && erro)
        *erro = c.erro;
    return c.ok ? &c.funcoes : nullptr;
}

const FuncoesDoZip& Zip()
{
    const Carregada& c = Unica();
    if (!c.ok)
        std::abort();  // a caller that skipped CarregaZip
    return c.funcoes;
}

void UsaBibliotecaZip(const char* nome)
{
    g_biblioteca = nome;
}

} // namespace store
