#include "app/log.h"

#include <atomic>
#include <iostream>
#include <mutex>

namespace {
std::atomic<bool> silent{false};
}  // namespace

void silenceLog(bool quiet) { silent = quiet; }

void writeLogLine(const std::string& line) {
    if (silent) return;
    static std::mutex output_mutex;
    std::lock_guard<std::mutex> lock(output_mutex);
    std::cout << line << '\n' << std::flush;
}
