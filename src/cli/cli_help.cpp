// The usage texts, wrapped to the width of the terminal they go to (80 columns elsewhere).
#include "cli/cli_commands.h"
#include "platform/terminal.h"

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

// What each option does; an option means the same in every command that takes it.
const char* optionHelp(const std::string& name) {
    static const std::pair<const char*, const char*> texts[] = {
        {"--file", "PKG: the update package (.bin) to load, as \"Load\" does."},
        {"--port", "DEVICE: the serial device of RS-232C, as a path (/dev/ttyUSB0) or as the COMn name "
                   "`tarnwick ports` lists."},
        {"--baud", "N: the update bit rate when the package names none: its index 0..4 or 9600, 19200, 38400, "
                   "57600, 115200 (default)."},
        {"--ip", "ADDR: the product's address for Ethernet, four numbers 0..255 separated by dots."},
        {"--tcp-port", "N: the product's update port over Ethernet (default 5000)."},
        {"--all-devices", "\"ALL device update.\": writes every component, also those the product already has "
                          "in the same version, instead of \"Normal update.\"."},
        {"--check", "verify|sum: how each written component is checked: read back and compared (verify), "
                    "or by the product's checksum (sum, the default)."},
        {"--yes", "Answers Yes to every question of the run (a downgrade, a recovery)."},
        {"--no", "Answers No to every question; the run then ends with exit 12."},
        {"--trace", "FILE: writes every byte sent and received, with the time, to FILE."},
        {"--verbose", "Prints every status line as a line of its own."},
        {"--json", "Prints JSON instead of text."},
        {"--once", "Prints the table once and ends."},
    };
    for (const auto& [option, text] : texts) {
        if (name == option) return text;
    }
    return "";
}

std::string commandEntry(const CliCommand& c, size_t width) {
    return wrapText(c.synopsis, 2, width) + wrapText(c.summary, 6, width);
}

}  // namespace

size_t helpColumns(std::FILE* out) {
    const size_t columns = isTerminal(out) ? terminalColumns(out) : 0;
    if (columns == 0) return kDefaultColumns;
    return columns < kMinColumns ? kMinColumns : columns;
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
    std::string text =
        wrapText(std::string("Usage: tarnwick ") + command.synopsis, 0, width) + wrapText(command.summary, 2, width);
    if (!command.options.empty()) text += "Options:\n";
    for (const CliOption& o : command.options) {
        text += "  " + std::string(o.name) + "\n" + wrapText(optionHelp(o.name), 6, width);
    }
    return text;
}

}  // namespace tarnwick
