// The usage texts, wrapped to the width of the terminal they go to (80 columns elsewhere).
#include <sys/ioctl.h>
#include <unistd.h>

#include "cli/cli_commands.h"

namespace tarnwick {

namespace {

constexpr size_t kDefaultColumns = 80;
constexpr size_t kMinColumns = 40;

// The words of text as lines of at most width columns, each after indent spaces; a word
// longer than a line gets a line of its own.
std::string wrapText(const std::string& text, size_t indent, size_t width) {
    const std::string pad(indent, ' ');
    std::string out, line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            out += pad + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out += pad + line + "\n";
    return out;
}

std::string commandEntry(const CliCommand& c, size_t width) {
    return wrapText(c.synopsis, 2, width) + wrapText(c.summary, 6, width);
}

}  // namespace

size_t helpColumns(std::FILE* out) {
    winsize size{};
    if (out == nullptr || isatty(fileno(out)) == 0 || ioctl(fileno(out), TIOCGWINSZ, &size) != 0 || size.ws_col == 0) {
        return kDefaultColumns;
    }
    return size.ws_col < kMinColumns ? kMinColumns : size.ws_col;
}

std::string usageText(size_t width) {
    std::string text =
        "Usage: tarnwick [COMMAND [OPTIONS]]\n" +
        wrapText("Ostrel Firmware Writer: rewrites the firmware of the product from an update package.", 0, width) +
        "\n" + wrapText("Without a command the window opens; \"/NN [--wait[=SECONDS]]\" runs production-line station NN "
                 "(exit 75 while another copy runs, unless it waits).", 0, width) +
        wrapText("Options take their value as \"--opt value\" or \"--opt=value\".", 0, width) + "\nCommands:\n";
    for (const CliCommand& c : cliCommands()) text += commandEntry(c, width);
    text += "  --help, COMMAND --help\n      Shows this text, or the command's.\n";
    text += "  --version\n      Shows the program's version.\n";
    return text;
}

std::string commandHelp(const CliCommand& command, size_t width) {
    return wrapText(std::string("Usage: tarnwick ") + command.synopsis, 0, width) + wrapText(command.summary, 2, width);
}

}  // namespace tarnwick
