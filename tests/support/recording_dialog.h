// A dialog that records what the main window does to it, and answers boxes and the
// open-file dialog as a test tells it to.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "window/dialog.h"

namespace tarnwick::test {

struct RecordedBox {
    BoxKind kind;
    std::string text;
    std::string caption;
};

struct RecordedStatus {
    std::string text;
    int showProgress;
    int percent;
};

class RecordingDialog : public Dialog {
public:
    // --- what the test sets ---
    ControlFields controls;    // the controls' contents
    std::deque<int> answers;   // answers for question boxes; empty answers No
    bool cancelOpenFile = true;
    std::string fileToOpen;

    // --- what the window did ---
    std::map<int, bool> enabled;
    std::string windowCaption;
    std::vector<std::string> portList;
    std::vector<RecordedBox> boxes;
    std::vector<RecordedStatus> statusLines;
    int pumps = 0;
    bool statusOpen = false;
    bool ended = false;

    void readControls(ControlFields& fields) override { fields = controls; }
    void writeControls(const ControlFields& fields) override { controls = fields; }
    void enableControl(int id, bool on) override { enabled[id] = on; }
    void setControlCaption(int, const std::string&) override {}
    void setWindowCaption(const std::string& caption) override { windowCaption = caption; }
    void setPortList(const std::vector<std::string>& entries) override {
        portList = entries;
        portSel_ = -1;
    }
    int portSelection() override { return portSel_; }
    void setPortSelection(int index) override {
        portSel_ = (index >= 0 && index < static_cast<int>(portList.size())) ? index : -1;
    }
    void setBaudList(const std::vector<std::string>&) override {}
    int baudSelection() override { return baudSel_; }
    void setBaudSelection(int index) override { baudSel_ = index; }
    void selectPathText() override {}
    void focusControl(int) override {}
    int messageBox(BoxKind kind, const std::string& text, const std::string& caption) override {
        boxes.push_back({kind, text, caption});
        if (kind != BoxKind::Question) return kAnswerOk;
        if (answers.empty()) return kAnswerNo;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    bool chooseOpenFile(const OpenFileRequest&, std::string& chosen) override {
        if (cancelOpenFile) return false;
        chosen = fileToOpen;
        return true;
    }
    StatusWindow* createStatusWindow(std::function<void()>) override {
        statusOpen = true;
        return &status_;
    }
    void setWaitCursor(bool) override {}
    void pumpMessages() override { ++pumps; }
    void endDialog() override { ended = true; }

    bool isEnabled(int id) const {
        auto it = enabled.find(id);
        return it != enabled.end() && it->second;
    }

private:
    class Status : public StatusWindow {
    public:
        explicit Status(RecordingDialog& owner) : owner_(owner) {}
        void setStatus(const std::string& text, int showProgress, int percent) override {
            owner_.statusLines.push_back({text, showProgress, percent});
            owner_.pumpMessages();
        }
        void destroy() override { owner_.statusOpen = false; }

    private:
        RecordingDialog& owner_;
    };
    Status status_{*this};
    int portSel_ = -1;
    int baudSel_ = -1;
};

}  // namespace tarnwick::test
