#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace morvi::bench {
namespace {

size_t PeakResidentOf(pid_t pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    size_t bytes = 0;
    if (std::FILE* f = std::fopen(path.c_str(), "r")) {
        char line[256];
        unsigned long kb = 0;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %lu kB", &kb) == 1) bytes = kb * 1024;
        std::fclose(f);
    }
    return bytes;
}

pid_t Wait(pid_t pid, int& status, rusage* usage) {
    pid_t waited;
    do {
        waited = ::wait4(pid, &status, __WALL, usage);
    } while (waited < 0 && errno == EINTR);
    return waited;
}

}  // namespace

ChildRun RunChild(const std::vector<std::string>& argv, const std::string& stdoutPath,
                  const std::string& stderrPath) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t redirect;
    posix_spawn_file_actions_init(&redirect);
    posix_spawn_file_actions_addopen(&redirect, STDOUT_FILENO, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&redirect, STDERR_FILENO, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    // posix_spawn does not copy this process's page tables (glibc uses a vfork-like clone), so
    // the benchmark's own size does not count in the child's time; it returns once the child
    // has started the new program.
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, args[0], &redirect, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&redirect);
    if (spawned != 0) throw std::runtime_error("cannot start " + argv.at(0));
    // Held at its exit, the child still has its memory: its peak can be read then. Where
    // tracing is refused the child simply runs to its end.
    ::ptrace(PTRACE_SEIZE, pid, nullptr, reinterpret_cast<void*>(PTRACE_O_TRACEEXIT));

    ChildRun run;
    int status = 0;
    rusage usage{};
    for (;;) {
        if (Wait(pid, status, &usage) != pid) throw std::runtime_error("lost the child " + argv.at(0));
        if (WIFEXITED(status) || WIFSIGNALED(status)) break;
        if (!WIFSTOPPED(status)) continue;
        int pass = 0;   // the signal the child was stopped by goes on to it, events do not
        if ((status >> 8) == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
            run.peakRssBytes = PeakResidentOf(pid);
            run.peakFromExit = run.peakRssBytes > 0;
        } else if ((status >> 16) == 0) {
            pass = WSTOPSIG(status);
        }
        ::ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(pass)));
    }
    const auto end = std::chrono::steady_clock::now();

    run.ms = std::chrono::duration<double, std::milli>(end - start).count();
    if (!run.peakFromExit) run.peakRssBytes = static_cast<size_t>(usage.ru_maxrss) * 1024;   // kilobytes
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace morvi::bench
