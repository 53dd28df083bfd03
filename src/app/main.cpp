#include "app/game.h"
#include "app/loop.h"

#include <exception>
#include <iostream>

int main() {
    Game game;
    try {
        run(game);
    } catch (const std::exception& error) {
        std::cout << "Fatal error: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
