#include "window/console_dialog.h"

#include <cctype>
#include <cstring>

#include "platform/terminal.h"

namespace tarnwick {

namespace {
constexpr int kBarWidth = 30;
constexpr size_t kDefaultColumns = 80;

size_t lineColumns(std::FILE* terminal) {
    const size_t columns = terminalColumns(terminal);
    return columns == 0 ? kDefaultColumns : columns;
}
}  // namespace

// The status text and the bar cut to one terminal line short of its last column: a line
// that wrapped would scroll at every redraw instead of being rewritten. The bar is kept
// whole; the text gives way.
std::string fitTerminalLine(const std::string& text, const std::string& bar, size_t columns) {
    const size_t room = columns > 1 ? columns - 1 : 0;
    if (bar.size() >= room) return (text + bar).substr(0, room);
    return text.substr(0, room - bar.size()) + bar;
}

// The status window on a console: a rewritten terminal line with a progress bar, and plain
// lines on the output when verbose.
class ConsoleDialog::ConsoleStatus final : public StatusWindow {
public:
    explicit ConsoleStatus(ConsoleDialog& owner) : owner_(owner) {}

    void setStatus(const std::string& text, int showProgress, int percent) override {
        const ConsoleOptions& o = owner_.options_;
        if (o.verbose && (text != lastText_ || showProgress != 1)) {
            std::fprintf(o.out, "[status] %s\n", text.c_str());
            std::fflush(o.out);
        }
        lastText_ = text;
        if (o.terminal == nullptr) return;
        std::string bar;
        if (showProgress == 1) {
            const int p = percent < 0 ? 0 : percent > 100 ? 100 : percent;
            const int filled = p * kBarWidth / 100;
            bar = " [" + std::string(static_cast<size_t>(filled), '#') +
                  std::string(static_cast<size_t>(kBarWidth - filled), '.') + "] " + std::to_string(p) + "%";
        }
        const std::string line = "\r\033[K" + fitTerminalLine(text, bar, lineColumns(o.terminal));
        std::fputs(line.c_str(), o.terminal);
        std::fflush(o.terminal);
        drawn_ = true;
    }

    void destroy() override {
        if (drawn_ && owner_.options_.terminal != nullptr) {
            std::fputs("\r\033[K", owner_.options_.terminal);
            std::fflush(owner_.options_.terminal);
        }
        owner_.status_ = nullptr;
        delete this;
    }

private:
    ConsoleDialog& owner_;
    std::string lastText_;
    bool drawn_ = false;
};

ConsoleDialog::ConsoleDialog(ConsoleOptions options) : options_(std::move(options)) {}

ConsoleDialog::~ConsoleDialog() { delete status_; }

void ConsoleDialog::setPortList(const std::vector<std::string>& entries) {
    portList_ = entries;
    portSelection_ = -1;
}

void ConsoleDialog::setPortSelection(int index) {
    portSelection_ = (index >= 0 && index < static_cast<int>(portList_.size())) ? index : -1;
}

void ConsoleDialog::setBaudSelection(int index) {
    baudSelection_ = (index >= 0 && index < static_cast<int>(baudList_.size())) ? index : -1;
}

bool ConsoleDialog::isEnabled(int id) const {
    auto it = enabled_.find(id);
    return it != enabled_.end() && it->second;
}

std::string ConsoleDialog::caption(int id) const {
    auto it = captions_.find(id);
    return it == captions_.end() ? std::string() : it->second;
}

int ConsoleDialog::messageBox(BoxKind kind, const std::string& text, const std::string&) {
    const char* tag = kind == BoxKind::Error ? "[error]" : kind == BoxKind::Question ? "[question]" : "[info]";
    std::fprintf(options_.out, "%s\n%s\n", tag, text.c_str());
    std::fflush(options_.out);
    if (kind != BoxKind::Question) return kAnswerOk;
    switch (options_.answerPolicy) {
        case AnswerPolicy::Yes: return kAnswerYes;
        case AnswerPolicy::No: return kAnswerNo;
        case AnswerPolicy::Ask: return ask(text);
    }
    return kAnswerNo;
}

// Asks on the terminal until the answer is y or n; anything unreadable answers No.
int ConsoleDialog::ask(const std::string& text) {
    if (options_.answers == nullptr) {
        if (options_.notices != nullptr) {
            const std::string question = text.substr(0, text.find('\n'));
            std::fprintf(options_.notices, "No terminal to ask on: \"%s\" was answered No; %s\n", question.c_str(),
                         options_.yesHint.c_str());
            std::fflush(options_.notices);
        }
        return kAnswerNo;
    }
    std::FILE* prompt = options_.prompt != nullptr ? options_.prompt : options_.out;
    // The box went to the output; the one who answers must read the question too.
    if (prompt != options_.out) std::fprintf(prompt, "%s\n", text.c_str());
    char line[64];
    for (;;) {
        std::fputs("Yes or No? [y/n] ", prompt);
        std::fflush(prompt);
        if (std::fgets(line, sizeof line, options_.answers) == nullptr) return kAnswerNo;
        const int c = std::tolower(static_cast<unsigned char>(line[0]));
        if (c == 'y') return kAnswerYes;
        if (c == 'n') return kAnswerNo;
    }
}

bool ConsoleDialog::chooseOpenFile(const OpenFileRequest&, std::string& chosenPath) {
    if (options_.fileToOpen.empty()) return false;
    chosenPath = options_.fileToOpen;
    return true;
}

// A console status window never goes away by itself, so it has no one to tell.
StatusWindow* ConsoleDialog::createStatusWindow(std::function<void()>) {
    delete status_;
    status_ = new ConsoleStatus(*this);
    return status_;
}

}  // namespace tarnwick
