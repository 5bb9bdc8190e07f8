#pragma once

#include <csignal>
#include <sys/resource.h>

// Lowers the largest file this process may write, the way a full disk stops a write midway.
class LimiteDeArquivo
{
public:
    explicit LimiteDeArquivo(rlim_t bytes)
    {
        m_sinal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_antes);
        rlimit novo = m_antes;
        novo.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &novo);
    }
    ~LimiteDeArquivo()
    {
        setrlimit(RLIMIT_FSIZE, &m_antes);
        std::signal(SIGXFSZ, m_sinal);
    }

private:
    rlimit m_antes{};
    void (*m_sinal)(int) = nullptr;
};
