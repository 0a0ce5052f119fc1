#include "bench/child_process.h"

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace tarvex::bench {
namespace {

double Milliseconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

[[noreturn]] void Fail(const std::string& what, int error) {
    throw std::runtime_error(what + ": " + std::strerror(error));
}

// posix_spawn has no attribute for the CPU set: the child inherits the spawning thread's, which
// is narrowed for the spawn and then restored.
class ScopedAffinity {
  public:
    explicit ScopedAffinity(std::optional<int> cpu) : m_active(cpu.has_value()) {
        if (!m_active) {
            return;
        }
        sched_getaffinity(0, sizeof m_previous, &m_previous);
        cpu_set_t only;
        CPU_ZERO(&only);
        CPU_SET(*cpu, &only);
        if (sched_setaffinity(0, sizeof only, &only) != 0) {
            Fail("sched_setaffinity", errno);
        }
    }
    ~ScopedAffinity() {
        if (m_active) {
            sched_setaffinity(0, sizeof m_previous, &m_previous);
        }
    }
    ScopedAffinity(const ScopedAffinity&) = delete;
    ScopedAffinity& operator=(const ScopedAffinity&) = delete;

  private:
    bool m_active;
    cpu_set_t m_previous{};
};

class FileActions {
  public:
    FileActions() { posix_spawn_file_actions_init(&m_actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&m_actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    void Open(int descriptor, const std::optional<std::string>& path, int flags) {
        posix_spawn_file_actions_addopen(&m_actions, descriptor, path ? path->c_str() : "/dev/null",
                                         flags, 0644);
    }
    const posix_spawn_file_actions_t* Get() const { return &m_actions; }

  private:
    posix_spawn_file_actions_t m_actions;
};

}  // namespace

ChildRun RunChild(const std::vector<std::string>& arguments, const ChildOptions& options) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    FileActions actions;
    actions.Open(0, options.input_file, O_RDONLY);
    actions.Open(1, options.output_file, O_WRONLY | O_CREAT | O_TRUNC);
    actions.Open(2, std::nullopt, O_WRONLY);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    {
        const ScopedAffinity affinity(options.cpu);
        const int error = posix_spawn(&pid, argv[0], actions.Get(), nullptr, argv.data(), environ);
        if (error != 0) {
            Fail("cannot start " + arguments[0], error);
        }
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            Fail("wait4", errno);
        }
    }
    const auto end = std::chrono::steady_clock::now();

    ChildRun run;
    run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.wall_ms = std::chrono::duration<double, std::milli>(end - start).count();
    run.cpu_ms = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    run.max_rss_kib = usage.ru_maxrss;
    return run;
}

}  // namespace tarvex::bench
