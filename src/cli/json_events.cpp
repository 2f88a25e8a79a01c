#include "cli/json_events.h"

#include "window/main_window.h"
#include "monitor/monitor_view.h"
#include "window/status_line.h"
#include "history/record_format.h"

namespace tarnwick {

namespace {

const char* boxKindName(BoxKind kind) {
    switch (kind) {
        case BoxKind::Info: return "info";
        case BoxKind::Error: return "error";
        case BoxKind::Question: return "question";
        case BoxKind::Plain: return "plain";
    }
    return "info";
}

}  // namespace

std::string jsonId(uint32_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", id & 0xFFu);
    return jsonString(text);
}

void JsonEvents::write(const std::string& members) {
    std::fprintf(out_, "{%s}\n", members.c_str());
    std::fflush(out_);
}

// A line repeated with the same percent is not news.
void JsonEvents::statusShown(uint8_t targetId, const std::string& text, int showProgress, int percent) {
    if (next_ != nullptr) next_->statusShown(targetId, text, showProgress, percent);  // before a reader hears of it
    const std::string line = composeStatusLine(window_.package, window_.job.currentNumber, window_.job.selectedCount,
                                               targetId, text);
    const std::string members = "\"event\":\"status\",\"target\":" + jsonId(targetId) + ",\"text\":" + jsonString(text) +
                                ",\"line\":" + jsonString(line) +
                                ",\"percent\":" + (showProgress == 1 ? std::to_string(percent) : std::string("null"));
    if (members != lastStatus_) write(members);
    lastStatus_ = members;
}

void JsonEvents::boxShown(BoxKind kind, const std::string& text) {
    if (next_ != nullptr) next_->boxShown(kind, text);
    write(std::string("\"event\":\"box\",\"kind\":\"") + boxKindName(kind) + "\",\"text\":" + jsonString(text));
    if (kind != BoxKind::Question) resultText_ = text;  // the check's result is its box
    if (kind == BoxKind::Question) questionText_ = text;
}

void JsonEvents::failureReported(const ErrorRecord& record, const std::string& text) {
    if (next_ != nullptr) next_->failureReported(record, text);
}

void JsonEvents::resultReported(int code, const std::string& text) {
    resultText_ = text;
    if (next_ != nullptr) next_->resultReported(code, text);
}

// The run's record, every component of the package with its outcome; warning: what the
// operator must still do ("" none).
void JsonEvents::summary(const RunRecord& run, uint64_t elapsedMs, const std::string& warning) {
    write("\"event\":\"summary\",\"components\":" + componentsJson(run).dump() + ",\"elapsed_ms\":" +
          std::to_string(elapsedMs) + (warning.empty() ? std::string() : ",\"warning\":" + jsonString(warning)));
}

void JsonEvents::finish(int code) {
    // A run that ended on a question answered No has no result text: the question says why.
    write("\"event\":\"result\",\"code\":" + std::to_string(code) + ",\"text\":" + jsonString(resultText_) +
          (questionText_.empty() ? std::string() : ",\"question\":" + jsonString(questionText_)));
}

}  // namespace tarnwick
