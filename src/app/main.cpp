#include "app/command_line.h"
#include "app/frontend.h"
#include "app/game.h"
#include "app/loop.h"
#include "app/replay_view.h"
#include "app/screen_input.h"

#include <exception>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

// The log is UTF-8 with "\n" line ends, byte for byte as on Linux: the console shows it as
// UTF-8, and a redirected log gets no "\r" before each line end.
void prepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}
#else
void prepareConsole() {}
#endif

int main(int argc, char** argv) {
    prepareConsole();
    CommandLine line = runCommandLine(argc, argv, std::cout, std::cerr);
    if (line.exit_status) return *line.exit_status;
    GameOptions options;
    options.language = line.language.value_or("");
    Game game(options);
    game.frontend->frame_stats.log_each_second = line.fps_log;
    if (line.host_port) hostFromStart(game, *line.host_port);
    if (line.join_address) joinFromStart(game, *line.join_address);
    if (line.replay_file && watchReplay(game, *line.replay_file).empty()) game.shelf.from_command_line = true;
    try {
        run(game);
    } catch (const std::exception& error) {
        std::cout << "Fatal error: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
