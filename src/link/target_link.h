// The link to the product's microcomputer: frames and text commands over a transport.
#pragma once
#include <cstdint>

#include "link/link_owner.h"

namespace tarnwick {

class TargetLink : public LinkErrorSource {
public:
    TargetLink() = default;
    ~TargetLink() override = default;
    TargetLink(const TargetLink&) = delete;
    TargetLink& operator=(const TargetLink&) = delete;

    void setOwner(LinkOwner* owner) { owner_ = owner; }
    uint8_t lastErrorCode() const override { return 0; }

private:
    LinkOwner* owner_ = nullptr;
};

}  // namespace tarnwick
