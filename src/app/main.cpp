#include "app/command_line.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/loop.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    CommandLine line = runCommandLine(argc, argv, std::cout, std::cerr);
    if (line.exit_status) return *line.exit_status;
    Game game;
    game.frontend->frame_stats.log_each_second = line.fps_log;
    try {
        run(game);
    } catch (const std::exception& error) {
        std::cout << "Fatal error: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
