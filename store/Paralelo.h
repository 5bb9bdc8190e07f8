#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace store {

// Runs f(0) ... f(n-1) on a few worker threads and returns when all are done. f must not throw and
// must touch only what belongs to its own index (or what nobody changes meanwhile).
template <typename F>
void EmParalelo(size_t n, F f)
{
    const size_t fios = std::min<size_t>(n, std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4));
    if (fios <= 1) {
        for (size_t i = 0; i < n; ++i)
            f(i);
        return;
    }
    std::atomic<size_t> proximo{0};
    auto trabalha = [&] {
        for (size_t i = proximo++; i < n; i = proximo++)
            f(i);
    };
    std::vector<std::thread> ajudantes;
    for (size_t k = 1; k < fios; ++k)
        ajudantes.emplace_back(trabalha);
    trabalha();
    for (std::thread& t : ajudantes)
        t.join();
}

} // namespace store
