// peak_memory RESULT_FILE COMMAND [ARGUMENT...]
//
// Runs the command and writes the largest resident set of that command
// alone, in kilobytes, to RESULT_FILE; exits with the command's status.
//
// The benchmark driver is a Python process that may hold hundreds of
// megabytes, and Linux counts a process's peak from before its exec: a
// command forked straight from the driver would report the driver's size
// whenever its own is smaller. Forked from this small program instead, it
// starts from a few hundred kilobytes.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: peak_memory RESULT_FILE COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("peak_memory: fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror("peak_memory: exec");
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) < 0) {
        std::perror("peak_memory: wait");
        return 2;
    }
    std::FILE* result = std::fopen(argv[1], "w");
    if (result == nullptr || std::fprintf(result, "%ld\n", usage.ru_maxrss) < 0 || std::fclose(result) != 0) {
        std::perror("peak_memory: result file");
        return 2;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
