// `tarnwick ports`: the start-up port test, printed as "COMn  device" lines.
#include <cstdio>

#include "app/cli_commands.h"
#include "app/console_dialog.h"
#include "app/main_window.h"
#include "platform/serial_candidates.h"

namespace tarnwick {

int runPortsCommand(const CommandOptions&, const CommandIo& io) {
    ConsoleOptions console;
    console.out = io.out;
    console.answerPolicy = AnswerPolicy::No;
    ConsoleDialog dialog(console);
    MainWindow window(dialog, systemClock(), silentTone());
    window.enumeratePorts();
    if (window.portTable.count == 0) {
        std::fputs("No serial port can be opened.\n", io.err);
        return 1;
    }
    for (int i = 0; i < window.portTable.count; ++i) {
        const size_t k = static_cast<size_t>(i);
        std::fprintf(io.out, "%-6s %s\n", window.portTable.name[k].data(),
                     serialDevicePath(window.portTable.number[k]).c_str());
    }
    return 0;
}

}  // namespace tarnwick
