// The cause of a failed transfer, told from the reply of the last exchange.
#include <gtest/gtest.h>

#include "device/TransferFault.h"
#include "tests/device/ScriptedPort.h"
#include "tests/fakes/FakeSeams.h"

namespace mxc9 {
namespace {

using testing::ReadReply;
using testing::ScriptedPort;
using testing::WriteReply;

const std::string kData(kImageValues, '\x23');
const std::string kFrame = BuildWriteFrame(DeviceImage{});

std::string WithLastByte(std::string reply, char last) {
    reply.back() = last;
    return reply;
}

struct FaultCase {
    const char* what;
    bool isWrite;
    std::string reply;
    TransferFault expected;
};

TEST(TransferFault, EachKindOfReplyIsToldApart) {
    const std::string goodRead = ReadReply(kData);
    const FaultCase cases[] = {
        {"read: silence", false, "", TransferFault::NoReply},
        {"read: one byte", false, "\xC5", TransferFault::ShortReply},
        {"read: one byte short", false, goodRead.substr(0, 43), TransferFault::ShortReply},
        {"read: whole and summed", false, goodRead, TransferFault::None},
        {"read: first byte is not examined", false, ReadReply(kData, '\x00'), TransferFault::None},
        {"read: checksum one too high", false,
         WithLastByte(goodRead, static_cast<char>(goodRead.back() + 1)),
         TransferFault::ChecksumMismatch},
        {"write: silence", true, "", TransferFault::NoReply},
        {"write: echo without acknowledgement", true, kFrame, TransferFault::ShortReply},
        {"write: acknowledged", true, WriteReply(kFrame), TransferFault::None},
        {"write: refused with NAK", true, WriteReply(kFrame, '\x15'), TransferFault::WriteRefused},
        {"write: ends in a checksum-like byte", true, WriteReply(kFrame, '\x79'),
         TransferFault::WriteRefused},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.isWrite ? ClassifyWriteReply(c.reply) : ClassifyReadReply(c.reply), c.expected);
    }
}

TEST(TransferFault, LinkKeepsTheReplyOfTheLastAttempt) {
    testing::FakeMessageBoxes boxes;
    DeviceLink link(boxes);
    auto owned = std::make_unique<ScriptedPort>();
    ScriptedPort& port = *owned;
    link.CreatePort(std::move(owned));
    ASSERT_TRUE(link.OpenPort());

    // A short answer, then a bad checksum: the second attempt is the one reported.
    const std::string good = ReadReply(kData);
    port.replies = {good.substr(0, 20), WithLastByte(good, '\0')};
    int attempts = 2;
    EXPECT_FALSE(link.ReadDevice(attempts));
    EXPECT_EQ(link.lastReply().size(), 44u);
    EXPECT_EQ(ClassifyReadReply(link.lastReply()), TransferFault::ChecksumMismatch);

    port.replies = {kFrame.substr(0, 7)};
    attempts = 1;
    EXPECT_FALSE(link.WriteDevice(attempts));
    EXPECT_EQ(ClassifyWriteReply(link.lastReply()), TransferFault::ShortReply);
    EXPECT_EQ(link.lastReply(), kFrame.substr(0, 7));

    port.replies = {good};
    attempts = 1;
    EXPECT_TRUE(link.ReadDevice(attempts));
    EXPECT_EQ(ClassifyReadReply(link.lastReply()), TransferFault::None);
}

}  // namespace
}  // namespace mxc9
