#include "app/command_line.h"
#include "app/game.h"
#include "app/loop.h"

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (std::optional<int> status = runCommandLine(argc, argv, std::cout, std::cerr)) return *status;
    Game game;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--fps-log") game.frame_stats.log_each_second = true;
    try {
        run(game);
    } catch (const std::exception& error) {
        std::cout << "Fatal error: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
