// The command line's machine-readable output: one JSON object a line, written as things
// happen ({"event":"status"|"box"|"summary"|"result", ...}) or as one document
// ({"event":"versions"|"ports"|"info", ...}). It listens to the window like the summary does
// and passes what it hears on to another listener.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "update/update_observer.h"

namespace tarnwick {

class MainWindow;
struct RunRecord;

class JsonEvents final : public UpdateObserver {
public:
    JsonEvents(std::FILE* out, const MainWindow& window, UpdateObserver* next = nullptr)
        : out_(out), window_(window), next_(next) {}

    void statusShown(uint8_t targetId, const std::string& text, int showProgress, int percent) override;
    void boxShown(BoxKind kind, const std::string& text) override;
    void failureReported(const ErrorRecord& record, const std::string& text) override;
    void resultReported(int code, const std::string& text) override;

    void setNext(UpdateObserver* next) { next_ = next; }
    // warning: what the operator must still do ("" none).
    void summary(const RunRecord& run, uint64_t elapsedMs, const std::string& warning = "");
    // The last line: the code the command exits with and the result's text when one was shown.
    void finish(int code);
    // Writes one object (its members without braces) as a line.
    void write(const std::string& members);

private:
    std::FILE* out_;
    const MainWindow& window_;
    UpdateObserver* next_;
    std::string lastStatus_;
    std::string resultText_;
    std::string questionText_;  // the last question asked, "" none
};

// "id":"01" for a target id, as the status line shows it.
std::string jsonId(uint32_t id);

}  // namespace tarnwick
