// medidor-de-memoria RELATORIO PROGRAMA [ARGUMENTOS...]
//
// Runs PROGRAMA as its child and writes to RELATORIO "<most memory held, in KB> <exit status or -1>
// <signal or 0>". A test cannot ask this of a child it starts itself: a child started from a large
// process inherits that process's memory figure through fork and exec, so the measure goes through
// this small process instead.
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const pid_t pid = fork();
    if (pid < 0)
        return 3;
    if (pid == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    int estado = 0;
    rusage uso{};
    if (wait4(pid, &estado, 0, &uso) != pid)
        return 4;
    FILE* f = std::fopen(argv[1], "w");
    if (!f)
        return 5;
    std::fprintf(f, "%ld %d %d\n", uso.ru_maxrss, WIFEXITED(estado) ? WEXITSTATUS(estado) : -1,
                 WIFSIGNALED(estado) ? WTERMSIG(estado) : 0);
    std::fclose(f);
    return 0;
}
