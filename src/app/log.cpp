#include "app/log.h"

#include <iostream>
#include <mutex>

void writeLogLine(const std::string& line) {
    static std::mutex output_mutex;
    std::lock_guard<std::mutex> lock(output_mutex);
    std::cout << line << '\n' << std::flush;
}
