#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvex::bench {

// What one run of a child process cost, as its parent sees it.
struct ChildRun {
    int exit_status = -1;  // -1 when it did not exit normally
    double wall_ms = 0;    // from just before the spawn to the reaped exit
    double cpu_ms = 0;     // user and system time of the child
    long max_rss_kib = 0;  // peak resident set size
};

struct ChildOptions {
    // Standard input and output are redirected to these files when given; /dev/null otherwise.
    // Standard error always goes to /dev/null: the platform's chatter would break up the table.
    std::optional<std::string> input_file;
    std::optional<std::string> output_file;
    // The one CPU the child may run on, when given.
    std::optional<int> cpu;
};

// Runs `arguments` (the executable's path first) with the parent's environment and waits for it.
// posix_spawn, so that the parent's size does not add a copy of its page tables to the time.
// Throws std::runtime_error when it cannot be started.
ChildRun RunChild(const std::vector<std::string>& arguments, const ChildOptions& options = {});

}  // namespace tarvex::bench
