// Start-up: the window, a station, or a command of the command-line front end.
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/start_window.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || (args[0].size() == 3 && args[0][0] == '/')) {
        return tarnwick::startWindow(argc, argv);
    }
    return tarnwick::runCommandLine(args, tarnwick::CommandIo{});
}
