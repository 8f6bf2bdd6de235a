#pragma once
// The log of the window test programs that run under Wine: one "ok" or "FAIL" line per check,
// the failures counted for the exit code; and waiting for the window from the driving thread.
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace morvi::win32::test {

inline std::ofstream g_log;
inline std::atomic<int> g_failures{0};

inline void Check(bool ok, const std::string& what) {
    g_log << (ok ? "ok   " : "FAIL ") << what << std::endl;
    if (!ok) ++g_failures;
}

inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

}  // namespace morvi::win32::test
