// Frames, checksum, the exchange's retry and reading rules, and the port's opening.
#include <gtest/gtest.h>

#include "common/MessageTable.h"
#include "device/Conversions.h"
#include "device/DeviceLink.h"
#include "tests/device/ScriptedPort.h"
#include "tests/fakes/FakeSeams.h"

namespace mxc9 {
namespace {

using testing::ReadReply;
using testing::ScriptedPort;
using testing::WriteReply;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes.push_back(static_cast<char>(v));
    return bytes;
}

TEST(WriteFrame, AllOnesImageGoesOutWithChecksumD6) {
    DeviceImage image;
    image.fill(255);
    const std::string frame = BuildWriteFrame(image);
    ASSERT_EQ(frame.size(), 44u);
    EXPECT_EQ(static_cast<uint8_t>(frame[0]), 0xD5);
    EXPECT_EQ(frame.substr(1, 42), std::string(42, '\xFF'));
    EXPECT_EQ(static_cast<uint8_t>(frame[43]), 0xD6);
}

TEST(WriteFrame, DefaultPageWithZeroPassThroughMatchesTheControllerBytes) {
    DeviceImage image{};
    ScreenModel screen;  // the defaults of a new page
    screen.setNeutralBrake(0);
    screen.setListIndex(ListId::Brake, 31);
    screen.setListIndex(ListId::CutVt, 2);
    screen.setListIndex(ListId::Response, 0);
    screen.setListIndex(ListId::Current, 12);
    for (int bar = 0; bar < kFrequencyBars; ++bar) screen.setBar(bar, 35);
    ScreenToImage(screen, image);

    std::string expected = Bytes({0xD5, 0, 0, 31, 0, 0, 0, 0, 120, 30, 100});
    expected += std::string(32, static_cast<char>(35));
    expected.push_back(static_cast<char>(0x79));
    EXPECT_EQ(BuildWriteFrame(image), expected);
}

TEST(WriteFrame, ValuesOutsideAByteGoOutAsTheirLowEightBits) {
    DeviceImage image{};
    image[2] = -1;
    image[3] = 256 + 7;
    image[41] = -200;
    const std::string frame = BuildWriteFrame(image);
    EXPECT_EQ(static_cast<uint8_t>(frame[3]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(frame[4]), 7);
    EXPECT_EQ(static_cast<uint8_t>(frame[42]), 56);
    EXPECT_EQ(static_cast<uint8_t>(frame[43]), (0xFF + 7 + 56) % 256);
}

TEST(Checksum, IsTheUnsignedSumModulo256Appended) {
    struct Case {
        std::string bytes;
        uint8_t sum;
    } cases[] = {{"", 0},
                 {Bytes({1, 2, 3}), 6},
                 {Bytes({0x80, 0x80}), 0},
                 {Bytes({0xFF, 0xFF, 0x03}), 0x01},
                 {std::string(42, '\xFF'), 0xD6}};
    for (auto& c : cases) {
        std::string text = c.bytes;
        AppendChecksum(text);
        ASSERT_EQ(text.size(), c.bytes.size() + 1);
        EXPECT_EQ(static_cast<uint8_t>(text.back()), c.sum) << c.bytes.size() << " bytes";
    }
}

class LinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto owned = std::make_unique<ScriptedPort>();
        port = owned.get();
        link.CreatePort(std::move(owned));
        port->isOpen = true;
    }
    std::string data(int seed) const {
        std::string bytes;
        for (int i = 0; i < kImageValues; ++i) bytes.push_back(static_cast<char>(seed + i * 7));
        return bytes;
    }
    testing::FakeMessageBoxes boxes;
    DeviceLink link{boxes};
    ScriptedPort* port = nullptr;
};

TEST_F(LinkTest, ExchangeWithLimitOneDoesNotRetryAShortReply) {
    port->replies = {"abc", std::string(10, 'x')};
    std::string reply;
    int count = -1, attempts = 1;
    link.Exchange("Q", reply, count, attempts, 10);
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(reply, "abc");
    EXPECT_EQ(port->sent.size(), 1u);
}

TEST_F(LinkTest, ExchangeWithLimitThreeRetriesShortRepliesAndStopsAtTheFirstComplete) {
    struct Case {
        std::vector<std::string> replies;
        int attempts, count;
    } cases[] = {
        {{"1234567890"}, 1, 10},                      // complete at once
        {{"12", "1234567890", "zzzzzzzzzz"}, 2, 10},  // retried once
        {{"1", "12", "123"}, 3, 3},                   // every attempt short: last one returned
        {{}, 3, 0},                                   // silence
    };
    for (const auto& c : cases) {
        port->replies.assign(c.replies.begin(), c.replies.end());
        port->sent.clear();
        port->calls.clear();
        std::string reply;
        int count = -1, attempts = 3;
        link.Exchange("REQ", reply, count, attempts, 10);
        EXPECT_EQ(attempts, c.attempts);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(static_cast<int>(reply.size()), c.count);
        // Every attempt discards the input first and sends the whole request again.
        EXPECT_EQ(port->sent, std::vector<std::string>(static_cast<size_t>(c.attempts), "REQ"));
        EXPECT_EQ(std::count(port->calls.begin(), port->calls.end(), "purge"), c.attempts);
    }
}

TEST_F(LinkTest, SurplusReplyBytesAreLeftForTheNextExchangeToDiscard) {
    port->replies = {"0123456789EXTRA", "abcdefghij"};
    std::string reply;
    int count = 0, attempts = 1;
    link.Exchange("A", reply, count, attempts, 10);
    EXPECT_EQ(reply, "0123456789");
    EXPECT_EQ(port->input, "EXTRA");
    attempts = 1;
    link.Exchange("B", reply, count, attempts, 10);
    EXPECT_EQ(reply, "abcdefghij");
}

TEST_F(LinkTest, ClosedPortFailsEveryAttemptWithoutSending) {
    port->isOpen = false;
    port->replies = {ReadReply(data(1))};
    int attempts = 3;
    EXPECT_FALSE(link.ReadDevice(attempts));
    EXPECT_EQ(attempts, 3);
    EXPECT_TRUE(port->sent.empty());
}

TEST_F(LinkTest, ReadStoresEveryByteAsReceivedWhateverTheFirstByte) {
    std::string bytes = data(200);  // codes above 63, parameters up to 255
    port->replies = {ReadReply(bytes, '\x42')};
    int attempts = 1;
    ASSERT_TRUE(link.ReadDevice(attempts));
    EXPECT_EQ(port->sent, std::vector<std::string>{"\xC5"});
    for (int i = 0; i < kImageValues; ++i) {
        EXPECT_EQ(link.image()[i], static_cast<uint8_t>(bytes[i])) << i;
    }
}

TEST_F(LinkTest, ReadFailuresLeaveTheImageUnchanged) {
    link.image().fill(9);
    const DeviceImage before = link.image();
    std::string badSum = ReadReply(data(3));
    badSum.back() = static_cast<char>(badSum.back() + 1);
    std::string lastDataByteWrong = ReadReply(data(3));
    lastDataByteWrong[42] ^= 1;
    const std::string cases[] = {badSum, lastDataByteWrong, ReadReply(data(3)).substr(0, 43), ""};
    for (const auto& reply : cases) {
        port->replies = {reply};
        int attempts = 1;
        EXPECT_FALSE(link.ReadDevice(attempts)) << reply.size() << " bytes";
        EXPECT_EQ(link.image(), before);
    }
}

TEST_F(LinkTest, WriteSucceedsOnlyOnFortyFiveBytesEndingInAcknowledgement) {
    for (int i = 0; i < kImageValues; ++i) link.image()[i] = i;
    const std::string frame = BuildWriteFrame(link.image());
    struct Case {
        std::string reply;
        bool ok;
    } cases[] = {
        {WriteReply(frame), true},
        {WriteReply(std::string(44, '\x99')), true},  // the echo is not examined
        {WriteReply(frame, '\x15'), false},
        {frame, false},
        {WriteReply(frame).substr(1), false},
    };
    for (const auto& c : cases) {
        port->replies = {c.reply};
        port->sent.clear();
        int attempts = 1;
        EXPECT_EQ(link.WriteDevice(attempts), c.ok) << c.reply.size();
        EXPECT_EQ(port->sent, std::vector<std::string>{frame});
    }
}

TEST_F(LinkTest, OpeningTellsThePortAndPulsesDtr) {
    port->isOpen = false;
    link.SetupPort(3, 1200);
    EXPECT_TRUE(link.OpenPort());
    EXPECT_EQ(port->calls, (std::vector<std::string>{"settings", "open", "dtr1", "dtr0"}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "COM3" + CompletionSuffix());
    EXPECT_EQ(boxes.shown[0].caption, "Info");
    EXPECT_EQ(boxes.shown[0].icon, MbIcon::Information);

    const LineSettings& applied = port->appliedSettings.back();
    EXPECT_EQ(applied.bitRate, 1200);
    EXPECT_EQ(applied.portNo, 3);
    EXPECT_EQ(applied.timeOutReceive, 1000);
    EXPECT_EQ(applied.timeOutTrans, 3000);
    EXPECT_EQ(applied.bufLenReceive, 2048);
}

TEST_F(LinkTest, AnyFailureWhileOpeningClosesThePortAndShowsOneText) {
    for (bool dtrFails : {false, true}) {
        port->isOpen = false;
        port->failOpen = !dtrFails;
        port->failDtr = dtrFails;
        port->calls.clear();
        boxes.shown.clear();
        link.SetupPort(7, 1200);
        EXPECT_FALSE(link.OpenPort());
        EXPECT_FALSE(port->isOpen);
        EXPECT_EQ(port->calls.back(), "close");
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, PortErrorText());
        EXPECT_EQ(boxes.shown[0].caption, "Error");
        EXPECT_EQ(boxes.shown[0].icon, MbIcon::Error);
    }
}

TEST_F(LinkTest, PortPathComesFromTheResolver) {
    link.setPortPathResolver([](int n) { return "/dev/ttyUSB" + std::to_string(n); });
    link.SetupPort(4, 1200);
    EXPECT_EQ(port->appliedSettings.back().devicePath, "/dev/ttyUSB4");
}

TEST(UnitTexts, BothLanguagesStartWithOneSpaceAndEnglishIsTheDefault) {
    EXPECT_EQ(CompletionSuffixIn(1), " completion");
    EXPECT_EQ(PortErrorTextIn(1), "COMPORT does not exist");
    EXPECT_EQ(CompletionSuffixIn(0), " 設定完了");
    EXPECT_EQ(PortErrorTextIn(0), "指定のポートは使用できません");
    EXPECT_EQ(CompletionSuffix(), CompletionSuffixIn(LanguageIndex()));
}

}  // namespace
}  // namespace mxc9
