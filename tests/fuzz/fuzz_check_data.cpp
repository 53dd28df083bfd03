#include "content/data_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>

// `tarvex --check-data` on one input, read as config.json and as levels.json: no window
// and no game. Whatever the text, each problem stands inside it on one line of valid
// UTF-8 (the library's dump throws otherwise), and a text the parser refuses is never
// called clean.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    bool parses = nlohmann::json::accept(text);
    int lines = 1 + int(std::count(text.begin(), text.end(), '\n'));
    for (auto check : {checkConfigText, checkLevelsText}) {
        std::vector<DataProblem> problems = check(text);
        if (!parses && problems.empty()) std::abort();
        for (const DataProblem& problem : problems) {
            if (problem.at.line < 1 || problem.at.line > lines || problem.at.column < 1) std::abort();
            if (problem.message.find('\n') != std::string::npos) std::abort();
            (void)nlohmann::json(problem.message).dump();
        }
    }
    return 0;
}
