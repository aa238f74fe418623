// The controller's encodings of the settings on screen, both ways.
#include <gtest/gtest.h>

#include "device/Conversions.h"

namespace mxc9 {
namespace {

TEST(NeutralBrake, TimesTwoAndAHalfRoundsHalvesToEven) {
    const std::pair<int, int> cases[] = {{0, 0},  {1, 2},  {2, 5},  {3, 8},    {4, 10},
                                         {5, 12}, {7, 18}, {9, 22}, {99, 248}, {100, 250}};
    for (auto [position, code] : cases) EXPECT_EQ(NeutralBrakeCode(position), code) << position;
}

TEST(NeutralBrake, EveryPositionComesBackUnchanged) {
    for (int position = 0; position <= kNeutralBrakeMax; ++position) {
        EXPECT_EQ(NeutralBrakePosition(NeutralBrakeCode(position)), position);
    }
}

TEST(NeutralBrake, CodesDivideByTwoAndAHalfToTheNearest) {
    const std::pair<int, int> cases[] = {{1, 0}, {2, 1},     {3, 1},     {4, 2},    {6, 2},
                                         {7, 3}, {250, 100}, {251, 100}, {255, 102}};
    for (auto [code, position] : cases) EXPECT_EQ(NeutralBrakePosition(code), position) << code;
}

TEST(ListCodes, CutOffAndResponseBothWays) {
    struct Case {
        int code, cutIndex, responseIndex;
    } cases[] = {
        {80, 0, -16},  {100, 1, -23}, {120, 2, -30}, {160, 4, -43}, {70, 0, -13},
        {60, -1, -10}, {180, 5, -50}, {30, -2, 0},   {31, -2, 0},   {32, -2, 0},
        {27, -2, 1},   {3, -3, 9},    {2, -3, 10},   {0, -4, 10},   {33, -2, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutOffIndex(c.code), c.cutIndex) << c.code;
        EXPECT_EQ(ResponseIndex(c.code), c.responseIndex) << c.code;
    }
    const int cutCodes[] = {80, 100, 120, 140, 160};
    for (int index = 0; index < 5; ++index) EXPECT_EQ(CutOffCode(index), cutCodes[index]);
    EXPECT_EQ(CutOffCode(-1), 60);
    const int responseCodes[] = {30, 27, 24, 21, 18, 15, 12, 9, 6, 3};
    for (int index = 0; index < 10; ++index) EXPECT_EQ(ResponseCode(index), responseCodes[index]);
    EXPECT_EQ(ResponseCode(-1), 33);
}

TEST(ListCodes, CurrentLimitTableAndCodesItDoesNotHold) {
    const int codes[] = {3, 5, 7, 9, 10, 12, 14, 15, 17, 19, 21, 22, 100};
    for (int index = 0; index < 13; ++index) {
        EXPECT_EQ(CurrentLimitCode(index), codes[index]);
        EXPECT_EQ(CurrentLimitIndex(codes[index]), index);
    }
    EXPECT_EQ(CurrentLimitCode(-1), std::nullopt);
    EXPECT_EQ(CurrentLimitCode(13), std::nullopt);
    for (int code : {0, 4, 11, 23, 99, 255}) EXPECT_EQ(CurrentLimitIndex(code), 12) << code;
}

DeviceImage ImageWith(std::initializer_list<std::pair<int, int>> values) {
    DeviceImage image{};
    image[kImageBrakeFrequency] = 31;
    image[kImageCutOff] = 120;
    image[kImageResponse] = 30;
    image[kImageCurrentLimit] = 100;
    for (int i = 0; i < 32; ++i) image[static_cast<size_t>(kImageFirstFrequency + i)] = 35;
    for (auto [index, value] : values) image[static_cast<size_t>(index)] = value;
    return image;
}

TEST(ImageToScreen, ListsOutsideTheirEntriesShowNoSelection) {
    struct Case {
        int imageIndex, value;
        ListId list;
        int expected;
    } cases[] = {
        {kImageCurrentLimit, 4, ListId::Current, 12},
        {kImageCurrentLimit, 100, ListId::Current, 12},
        {kImageCurrentLimit, 22, ListId::Current, 11},
        {kImageCurrentLimit, 3, ListId::Current, 0},
        {kImageCutOff, 70, ListId::CutVt, 0},
        {kImageCutOff, 180, ListId::CutVt, -1},
        {kImageCutOff, 60, ListId::CutVt, -1},
        {kImageCutOff, 255, ListId::CutVt, -1},
        {kImageResponse, 31, ListId::Response, 0},
        {kImageResponse, 32, ListId::Response, 0},
        {kImageResponse, 0, ListId::Response, -1},
        {kImageResponse, 2, ListId::Response, -1},
        {kImageResponse, 33, ListId::Response, -1},
        {kImageResponse, 3, ListId::Response, 9},
        {kImageBrakeFrequency, 63, ListId::Brake, 63},
        {kImageBrakeFrequency, 64, ListId::Brake, -1},
        {kImageBrakeFrequency, 255, ListId::Brake, -1},
    };
    for (const auto& c : cases) {
        ScreenModel screen;
        ImageToScreen(ImageWith({{c.imageIndex, c.value}}), screen);
        EXPECT_EQ(screen.listIndex(c.list), c.expected) << c.imageIndex << " = " << c.value;
    }
}

TEST(ImageToScreen, BarsClampAndTheAverageFollows) {
    DeviceImage image = ImageWith({{kImageNeutralBrake, 253}});
    for (int i = 0; i < 32; ++i)
        image[static_cast<size_t>(kImageFirstFrequency + i)] = i < 16 ? 200 : 1;
    ScreenModel screen;
    ImageToScreen(image, screen);
    EXPECT_EQ(screen.neutralBrake(), 100);
    EXPECT_EQ(screen.neutralBrakeCaption(), "100");
    EXPECT_EQ(screen.bar(0), 63);
    EXPECT_EQ(screen.bar(31), 1);
    EXPECT_EQ(screen.averageBar(), (16 * 63 + 16 * 1) / 32);
}

TEST(ScreenToImage, OverwritesWhatTheScreenHoldsAndKeepsThePassThroughBytes) {
    DeviceImage image{};
    for (int i = 0; i < kImageValues; ++i) image[static_cast<size_t>(i)] = 200 + i % 50;
    const DeviceImage before = image;
    ScreenModel screen;
    screen.setNeutralBrake(3);
    screen.setListIndex(ListId::Brake, 5);
    screen.setListIndex(ListId::CutVt, 4);
    screen.setListIndex(ListId::Response, 9);
    screen.setListIndex(ListId::Current, 11);
    for (int bar = 0; bar < kFrequencyBars; ++bar) screen.setBar(bar, bar * 2);
    ScreenToImage(screen, image);

    for (int i : kPassThroughIndexes)
        EXPECT_EQ(image[static_cast<size_t>(i)], before[static_cast<size_t>(i)]);
    EXPECT_EQ(image[kImageNeutralBrake], 8);
    EXPECT_EQ(image[kImageBrakeFrequency], 5);
    EXPECT_EQ(image[kImageCutOff], 160);
    EXPECT_EQ(image[kImageResponse], 3);
    EXPECT_EQ(image[kImageCurrentLimit], 22);
    for (int bar = 0; bar < kFrequencyBars; ++bar) {
        EXPECT_EQ(image[static_cast<size_t>(kImageFirstFrequency + bar)], bar * 2);
    }
}

TEST(ScreenToImage, ListsWithoutSelectionSendTheirFormulaOfMinusOne) {
    DeviceImage image{};
    image[kImageCurrentLimit] = 17;  // as read from the controller just before
    ScreenModel screen;
    for (ListId list : {ListId::Brake, ListId::CutVt, ListId::Response, ListId::Current}) {
        screen.setListIndex(list, 99);
    }
    ScreenToImage(screen, image);
    const std::string frame = BuildWriteFrame(image);
    EXPECT_EQ(static_cast<uint8_t>(frame[1 + kImageBrakeFrequency]), 255);
    EXPECT_EQ(image[kImageCutOff], 60);
    EXPECT_EQ(image[kImageResponse], 33);
    EXPECT_EQ(image[kImageCurrentLimit], 17);
}

}  // namespace
}  // namespace mxc9
