// The console window: the command-line front end and station mode drive the main window
// through it. Boxes print as one "[info]", "[error]" or "[question]" line followed by the
// text; status lines go to the terminal or, when asked for, to the output as plain lines.
#pragma once
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "window/dialog.h"

namespace tarnwick {

enum class AnswerPolicy { Ask, Yes, No };

struct ConsoleOptions {
    std::FILE* out = stdout;       // boxes, and status lines when verbose
    std::FILE* terminal = nullptr; // live status line and progress bar; null for none
    std::FILE* answers = nullptr;  // where "ask" reads its answers; null answers No
    std::FILE* prompt = nullptr;   // where a question asked is shown with its prompt; null: out
    // Where a question answered No for want of a terminal is reported, with what answers
    // Yes (yesHint); null: nowhere.
    std::FILE* notices = nullptr;
    std::string yesHint;
    AnswerPolicy answerPolicy = AnswerPolicy::Ask;
    bool verbose = false;
    std::string fileToOpen;        // what the open-file dialog returns; empty cancels
};

class ConsoleDialog final : public Dialog {
public:
    explicit ConsoleDialog(ConsoleOptions options);
    ~ConsoleDialog() override;

    void readControls(ControlFields& fields) override { fields = controls_; }
    void writeControls(const ControlFields& fields) override { controls_ = fields; }
    void enableControl(int id, bool enabled) override { enabled_[id] = enabled; }
    void setControlCaption(int id, const std::string& caption) override { captions_[id] = caption; }
    void setWindowCaption(const std::string& caption) override { windowCaption_ = caption; }
    void setPortList(const std::vector<std::string>& entries) override;
    int portSelection() override { return portSelection_; }
    void setPortSelection(int index) override;
    void setBaudList(const std::vector<std::string>& entries) override { baudList_ = entries; }
    int baudSelection() override { return baudSelection_; }
    void setBaudSelection(int index) override;
    void selectPathText() override {}
    void focusControl(int) override {}
    int messageBox(BoxKind kind, const std::string& text, const std::string& caption) override;
    bool chooseOpenFile(const OpenFileRequest& request, std::string& chosenPath) override;
    StatusWindow* createStatusWindow(std::function<void()> onDestroyed) override;
    void setWaitCursor(bool) override {}
    void pumpMessages() override {}
    void endDialog() override { ended_ = true; }

    // What the operator sees of the window, for the front end's own decisions.
    ControlFields& controls() { return controls_; }
    bool isEnabled(int id) const;
    std::string caption(int id) const;
    const std::string& windowCaption() const { return windowCaption_; }
    const std::vector<std::string>& portList() const { return portList_; }
    bool ended() const { return ended_; }
    void setFileToOpen(const std::string& path) { options_.fileToOpen = path; }
    // Where boxes (and verbose status lines) go from now on.
    void setOutput(std::FILE* out) { options_.out = out; }
    std::FILE* output() const { return options_.out; }

private:
    class ConsoleStatus;
    int ask(const std::string& text);

    ConsoleOptions options_;
    ControlFields controls_;
    std::map<int, bool> enabled_;
    std::map<int, std::string> captions_;
    std::string windowCaption_;
    std::vector<std::string> portList_;
    std::vector<std::string> baudList_;
    int portSelection_ = -1;
    int baudSelection_ = -1;
    bool ended_ = false;
    ConsoleStatus* status_ = nullptr;
};

// The live status line as it fits a terminal of this many columns without wrapping.
std::string fitTerminalLine(const std::string& text, const std::string& bar, size_t columns);

}  // namespace tarnwick
