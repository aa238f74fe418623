// The controller simulator: what it answers, how its faults spoil answers, its pacing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include "tools/simulator/ControllerSimulator.h"

namespace mxc9::sim {
namespace {

std::optional<ControllerProtocol::Answer> FeedAll(ControllerProtocol& protocol,
                                                  const std::string& bytes) {
    std::optional<ControllerProtocol::Answer> answer;
    for (char c : bytes) {
        auto result = protocol.feed(static_cast<uint8_t>(c));
        if (result) {
            EXPECT_FALSE(answer) << "two answers to one request";
            answer = result;
        }
    }
    return answer;
}

DeviceImage Ramp(int start) {
    DeviceImage image{};
    for (int i = 0; i < kImageValues; ++i) image[static_cast<size_t>(i)] = (start + i) & 0xFF;
    return image;
}

TEST(SimulatedController, AnswersTheReadCommandWithItsImage) {
    ControllerProtocol protocol(Ramp(100));
    auto answer = FeedAll(protocol, "\xC5");
    ASSERT_TRUE(answer);
    std::string expected = ImageDataBytes(Ramp(100));
    AppendChecksum(expected);
    EXPECT_EQ(answer->bytes, "\xC5" + expected);
    EXPECT_EQ(protocol.readCommands(), 1);
}

TEST(SimulatedController, TakesAWriteFrameOnlyWithAGoodChecksum) {
    ControllerProtocol protocol(Ramp(0));
    const std::string frame = BuildWriteFrame(Ramp(50));
    auto answer = FeedAll(protocol, frame);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->bytes, frame + '\x06');
    EXPECT_EQ(protocol.image(), Ramp(50));

    std::string bad = BuildWriteFrame(Ramp(9));
    bad.back() = static_cast<char>(bad.back() + 1);
    answer = FeedAll(protocol, bad);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->bytes, bad + '\x15');
    EXPECT_EQ(protocol.image(), Ramp(50));
}

TEST(SimulatedController, IgnoresStrayBytesAndDropsACutFrame) {
    ControllerProtocol protocol(Ramp(0));
    EXPECT_FALSE(FeedAll(protocol, "xyz"));
    EXPECT_FALSE(FeedAll(protocol, BuildWriteFrame(Ramp(1)).substr(0, 20)));
    EXPECT_TRUE(protocol.midFrame());
    protocol.dropPartialFrame();
    EXPECT_FALSE(protocol.midFrame());
    EXPECT_TRUE(FeedAll(protocol, "\xC5"));
}

TEST(SimulatedController, FaultsSpoilTheAnswersTheyAreMeantFor) {
    const std::string frame = BuildWriteFrame(Ramp(7));
    struct Case {
        FaultPlan plan;
        bool write;
        std::optional<size_t> length;  // nullopt: no answer
        bool imageTaken;
    } cases[] = {
        {{Fault::Silent, FaultTarget::Any, 1}, true, std::nullopt, false},
        {{Fault::Short, FaultTarget::Any, 1, 10}, false, 10, false},
        {{Fault::Short, FaultTarget::Any, 1}, true, 22, false},
        {{Fault::Extra, FaultTarget::Any, 1, 4}, true, 49, true},
        {{Fault::Noise, FaultTarget::Any, 1, 3}, false, 47, false},
        {{Fault::Refuse, FaultTarget::Any, 1}, true, 45, false},
        {{Fault::Delay, FaultTarget::Any, 1, 250}, true, 45, true},
        {{Fault::BadChecksum, FaultTarget::Any, 1}, false, 44, false},
    };
    for (const auto& c : cases) {
        ControllerProtocol protocol(Ramp(0));
        protocol.addFault(c.plan);
        auto answer = FeedAll(protocol, c.write ? frame : std::string("\xC5"));
        const char* name = FaultName(c.plan.kind);
        ASSERT_EQ(answer.has_value(), c.length.has_value()) << name;
        if (answer) {
            EXPECT_EQ(answer->bytes.size(), *c.length) << name;
        }
        EXPECT_EQ(protocol.image() == Ramp(7), c.imageTaken) << name;
        // Spent after one answer: the next is clean.
        auto next = FeedAll(protocol, c.write ? frame : std::string("\xC5"));
        ASSERT_TRUE(next) << name;
        EXPECT_EQ(next->bytes.size(), c.write ? 45u : 44u) << name;
        EXPECT_EQ(next->delayMs, 0) << name;
    }
}

TEST(SimulatedController, FaultsKeepToTheirTargetAndCount) {
    ControllerProtocol protocol(Ramp(0));
    protocol.addFault({Fault::Silent, FaultTarget::Write, 2});
    EXPECT_TRUE(FeedAll(protocol, "\xC5"));
    EXPECT_FALSE(FeedAll(protocol, BuildWriteFrame(Ramp(1))));
    EXPECT_TRUE(FeedAll(protocol, "\xC5"));
    EXPECT_FALSE(FeedAll(protocol, BuildWriteFrame(Ramp(1))));
    EXPECT_TRUE(FeedAll(protocol, BuildWriteFrame(Ramp(1))));

    // A refusal has no meaning for a read, nor a bad checksum for a write: they wait.
    protocol.addFault({Fault::Refuse, FaultTarget::Any, 1});
    auto read = FeedAll(protocol, "\xC5");
    ASSERT_TRUE(read);
    EXPECT_EQ(Checksum(read->bytes.substr(1, 42)), static_cast<uint8_t>(read->bytes[43]));
    auto write = FeedAll(protocol, BuildWriteFrame(Ramp(2)));
    ASSERT_TRUE(write);
    EXPECT_EQ(static_cast<uint8_t>(write->bytes.back()), kRefusal);
}

TEST(SimulatorOptions, FaultNamesAndParameters) {
    struct Case {
        const char* text;
        std::optional<Fault> kind;
        int param;
    } cases[] = {
        {"silent", Fault::Silent, -1},      {"short:7", Fault::Short, 7},
        {"badsum", Fault::BadChecksum, -1}, {"refuse", Fault::Refuse, -1},
        {"extra:3", Fault::Extra, 3},       {"delay:1500", Fault::Delay, 1500},
        {"noise", Fault::Noise, -1},        {"loud", std::nullopt, 0},
        {"short:", std::nullopt, 0},        {"short:x", std::nullopt, 0},
        {"delay:-5", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        auto plan = ParseFault(c.text);
        ASSERT_EQ(plan.has_value(), c.kind.has_value()) << c.text;
        if (!plan) continue;
        EXPECT_EQ(plan->kind, *c.kind) << c.text;
        EXPECT_EQ(plan->param, c.param) << c.text;
    }
}

TEST(SimulatedLine, AnswersAtTheLineSpeedOnAPseudoTerminal) {
    auto line = LineController::OnPseudoTerminal(1200);
    line->start();
    const int fd = open(line->path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(write(fd, "\xC5", 1), 1);
    std::string received;
    while (received.size() < 44) {
        pollfd p{fd, POLLIN, 0};
        ASSERT_GT(poll(&p, 1, 2000), 0) << "after " << received.size() << " bytes";
        char buffer[64];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        ASSERT_GT(n, 0);
        received.append(buffer, static_cast<size_t>(n));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    close(fd);
    // 45 bytes of 10 bits at 1200 bit/s.
    EXPECT_GE(seconds, 0.36);
    EXPECT_LE(seconds, 0.6);
    EXPECT_EQ(received.size(), 44u);
    EXPECT_EQ(Checksum(received.substr(1, 42)), static_cast<uint8_t>(received[43]));
}

}  // namespace
}  // namespace mxc9::sim
