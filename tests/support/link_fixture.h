// A TargetLink over an in-memory transport, with a virtual clock and a recording owner.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "link/target_link.h"
#include "sim_engine.h"
#include "support/memory_transport.h"
#include "support/recording_link_owner.h"
#include "support/test_clock.h"

namespace tarnwick::test {

class LinkTest : public ::testing::Test {
protected:
    VirtualClock clock;
    RecordingLinkOwner owner;
    MemoryTransport wire;
    std::unique_ptr<TargetLink> link;

    void SetUp() override {
        link = std::make_unique<TargetLink>(wire, clock);
        link->setOwner(&owner);
    }

    // Answers every write with the same bytes.
    void answerAlways(std::vector<uint8_t> bytes) {
        wire.responder = [bytes](const std::vector<uint8_t>&) { return bytes; };
    }
    // Answers the n-th write with answers[n] (nothing after the list).
    void answerInTurn(std::vector<std::vector<uint8_t>> answers) {
        auto n = std::make_shared<size_t>(0);
        wire.responder = [answers, n](const std::vector<uint8_t>&) {
            return *n < answers.size() ? answers[(*n)++] : std::vector<uint8_t>{};
        };
    }
};

// The same link answered by the simulated product's engine, configured before useProduct().
class ProductLinkTest : public LinkTest {
protected:
    sim::SimConfig config;
    std::unique_ptr<sim::SimEngine> product;

    void useProduct() {
        product = std::make_unique<sim::SimEngine>(config);
        wire.responder = [this](const std::vector<uint8_t>& w) { return product->feed(w.data(), w.size()); };
    }
};

inline std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace tarnwick::test
