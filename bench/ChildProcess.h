#pragma once
// Runs a program as a child process, as a shell would for `program args > file`, and reports
// its wall time and its peak resident memory.

#include <string>
#include <vector>

namespace morvi::bench {

struct ChildRun {
    double ms = 0;              // from the spawn to the child's exit
    size_t peakRssBytes = 0;    // the child's own peak resident size (see RunChild)
    bool peakFromExit = false;  // true: VmHWM read as it exited; false: ru_maxrss of wait4
    int exitStatus = -1;        // -1 when it did not exit normally
};

// `argv[0]` is the program's path. Standard output goes to `stdoutPath` (truncated), standard
// error to `stderrPath`; both default to /dev/null.
//
// The peak is the child's VmHWM, read from /proc while the child is held at its exit (ptrace
// exit event). wait4's ru_maxrss is only the fallback where tracing is refused: Linux carries
// the peak of the process image the child was forked from into it, so it would count this
// benchmark's own memory.
ChildRun RunChild(const std::vector<std::string>& argv, const std::string& stdoutPath = "/dev/null",
                  const std::string& stderrPath = "/dev/null");

}  // namespace morvi::bench
