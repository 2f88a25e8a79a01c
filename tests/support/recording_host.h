// An update host that records status lines, reports, waits and results; questions are
// answered No.
#pragma once
#include <string>
#include <vector>

#include "support/recording_link_owner.h"
#include "update/update_host.h"

namespace tarnwick::test {

class RecordingHost : public RecordingOwnerOf<UpdateHost> {
public:
    std::vector<uint32_t> waits;  // each whole-second wait, in order
    std::vector<std::string> boxes;

    void waitSeconds(std::chrono::seconds n) override { waits.push_back(static_cast<uint32_t>(n.count())); }
    void closeStatusWindow() override {}
    void showInfo(std::string text) override { boxes.push_back(text); }
    void showError(std::string text) override { boxes.push_back(text); }
    int askYesNo(const std::string& text) override {
        boxes.push_back(text);
        return kAnswerNo;
    }
    void setQuiet(bool) override {}
    void reportResult(int) override {}
    void jobChanged(const UpdateJob&) override {}
    void attachLink(const LinkErrorSource*) override {}
};

}  // namespace tarnwick::test
