// A link owner that records what the link tells it.
#pragma once
#include <string>
#include <vector>

#include "link/link_owner.h"

namespace tarnwick::test {

struct StatusCall {
    uint8_t targetId;
    std::string text;
    int showProgress;
    int percent;
};

// The recording part of any owner: Base is LinkOwner or an interface derived from it.
template <class Base>
class RecordingOwnerOf : public Base {
public:
    std::vector<StatusCall> statuses;
    std::vector<ErrorRecord> linkErrors;
    std::vector<ErrorRecord> checkErrors;
    int pumps = 0;

    void showStatus(uint8_t targetId, const std::string& text, int showProgress, int percent) override {
        statuses.push_back({targetId, text, showProgress, percent});
    }
    void reportLinkError(ErrorRecord record) override { linkErrors.push_back(record); }
    void reportCheckError(ErrorRecord record) override { checkErrors.push_back(record); }
    void pumpMessages() override { ++pumps; }
};

using RecordingLinkOwner = RecordingOwnerOf<LinkOwner>;

}  // namespace tarnwick::test
