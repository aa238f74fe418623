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

TEST(TransferFault, DiagnosisNamesAPortLostAndFindsAnAnswerOutOfPlace) {
    const std::string goodRead = ReadReply(kData);
    const std::string ack = WriteReply(kFrame);
    const std::string stale(50, '\xEE');
    struct Case {
        const char* what;
        bool isWrite;
        std::string reply;  // what the link read: at most the expected length
        ReplyEnd end;
        std::string later;  // what came after it
        TransferFault fault;
        AnswerPlace answer;  // found, before, after, acknowledged
    };
    const Case cases[] = {
        {"read: hung up before any byte",
         false,
         "",
         ReplyEnd::PortLost,
         "",
         TransferFault::PortLost,
         {}},
        {"read: hung up mid-reply",
         false,
         goodRead.substr(0, 20),
         ReplyEnd::PortLost,
         "",
         TransferFault::PortLost,
         {}},
        {"read: silence stays a time-out",
         false,
         "",
         ReplyEnd::TimedOut,
         "",
         TransferFault::NoReply,
         {}},
        {"read: whole answer after the time-out",
         false,
         "",
         ReplyEnd::TimedOut,
         goodRead,
         TransferFault::NoReply,
         {true, 0, 0, false}},
        {"read: three stray bytes ahead",
         false,
         ("\x01\x02\x03" + goodRead).substr(0, 44),
         ReplyEnd::Complete,
         goodRead.substr(41),
         TransferFault::ChecksumMismatch,
         {true, 3, 0, false}},
        {"read: a wrong checksum is found nowhere",
         false,
         WithLastByte(goodRead, static_cast<char>(goodRead.back() + 1)),
         ReplyEnd::Complete,
         "",
         TransferFault::ChecksumMismatch,
         {}},
        {"write: stale bytes ahead of an acknowledged answer",
         true,
         stale.substr(0, 45),
         ReplyEnd::Complete,
         stale.substr(45) + ack + stale,
         TransferFault::WriteRefused,
         {true, 50, 50, true}},
        {"write: stale bytes ahead of a refusal",
         true,
         stale.substr(0, 45),
         ReplyEnd::Complete,
         stale.substr(45) + WriteReply(kFrame, '\x15'),
         TransferFault::WriteRefused,
         {true, 50, 0, false}},
        {"write: refused in place",
         true,
         WriteReply(kFrame, '\x15'),
         ReplyEnd::Complete,
         "",
         TransferFault::WriteRefused,
         {true, 0, 0, false}},
        {"write: a whole reply is never lost",
         true,
         ack,
         ReplyEnd::Complete,
         stale,
         TransferFault::None,
         {}},
        {"write: hung up after the echo",
         true,
         kFrame,
         ReplyEnd::PortLost,
         "",
         TransferFault::PortLost,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TransferDiagnosis diagnosis =
            c.isWrite ? DiagnoseWriteReply(kFrame, c.reply, c.end, c.later)
                      : DiagnoseReadReply(c.reply, c.end, c.later);
        EXPECT_EQ(diagnosis.fault, c.fault);
        EXPECT_EQ(diagnosis.answer.found, c.answer.found);
        EXPECT_EQ(diagnosis.answer.before, c.answer.before);
        EXPECT_EQ(diagnosis.answer.after, c.answer.after);
        EXPECT_EQ(diagnosis.answer.acknowledged, c.answer.acknowledged);
    }
}

// A port whose far end hangs up once its scripted input has been read.
class HangingUpPort : public ScriptedPort {
  public:
    bool hungUp = false;
    int readByte(uint8_t& byte) override {
        if (hungUp && input.empty()) return -1;
        return ScriptedPort::readByte(byte);
    }
};

// The device link open on a scripted port.
class LinkOnScriptedPort : public ::testing::Test {
  protected:
    void SetUp() override {
        link.CreatePort(std::move(owned));
        ASSERT_TRUE(link.OpenPort());
    }
    testing::FakeMessageBoxes boxes;
    DeviceLink link{boxes};
    std::unique_ptr<HangingUpPort> owned = std::make_unique<HangingUpPort>();
    HangingUpPort& port = *owned;
};

TEST_F(LinkOnScriptedPort, LinkTellsAHangUpFromATimeOut) {
    const std::string good = ReadReply(kData);
    const std::pair<bool, ReplyEnd> cases[] = {{false, ReplyEnd::TimedOut},
                                               {true, ReplyEnd::PortLost}};
    for (const auto& [hungUp, end] : cases) {
        port.hungUp = hungUp;
        port.replies = {good.substr(0, 10)};
        int attempts = 1;
        EXPECT_FALSE(link.ReadDevice(attempts));
        EXPECT_EQ(link.lastReply(), good.substr(0, 10));
        EXPECT_EQ(link.lastReplyEnd(), end);
    }
    port.hungUp = false;
    port.replies = {good + "\xEE\xEE"};
    int attempts = 1;
    EXPECT_TRUE(link.ReadDevice(attempts));
    EXPECT_EQ(link.lastReplyEnd(), ReplyEnd::Complete);
    EXPECT_EQ(link.ReadUntilQuiet(1), "\xEE") << "no more than asked for";
    EXPECT_EQ(link.ReadUntilQuiet(100), "\xEE");
}

TEST_F(LinkOnScriptedPort, LinkKeepsTheReplyOfTheLastAttempt) {
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
