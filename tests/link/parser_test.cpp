// The reply parser, the request checksum and the byte-to-text helper.
#include <gtest/gtest.h>

#include "link/channels.h"
#include "link/link_fixture.h"
#include "platform/vb_error.h"

using namespace sq;
using sqtest::Bytes;
using sqtest::replyFrame;

namespace {

class ParserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetChannelTable();
        CurrentChannel = 1;
    }
    void TearDown() override { ResetChannelTable(); }

    Bytes& rx() { return Channels[1].RxBuffer; }
    ParseState& parse() { return Channels[1].Parse; }
    void append(const Bytes& b) { rx().insert(rx().end(), b.begin(), b.end()); }

    // Feeds `stream` in pieces ending at the given offsets, parsing after each; the frames found.
    std::vector<ReplyFrame> feed(const Bytes& stream, const std::vector<size_t>& cuts) {
        std::vector<ReplyFrame> found;
        size_t from = 0;
        for (size_t to : cuts) {
            append(Bytes(stream.begin() + static_cast<long>(from), stream.begin() + static_cast<long>(to)));
            from = to;
            ReplyFrame f;
            while (ParseReplyFrame(&f) == 1) found.push_back(f);
        }
        return found;
    }
};

TEST_F(ParserTest, completesOneByteReplyAndEmptiesBuffer) {
    append({0x03, 0x81, 0x00, 0x01, 0x81, 0x01});
    ReplyFrame f;
    EXPECT_EQ(ParseReplyFrame(rx(), &f), 1);
    EXPECT_TRUE(rx().empty());
    EXPECT_EQ(f.Command, 0x81);
    EXPECT_EQ(f.Length, 1);
    EXPECT_EQ(f.Data, Bytes({0x81}));
    EXPECT_EQ(f.Channel, 1);
    EXPECT_EQ(parse().State, 0);
    EXPECT_EQ(parse().Cmd, 0x81);
    EXPECT_EQ(parse().Data[0], 0x81);
}

TEST_F(ParserTest, keepsBytesAfterTheFrameAndWaitsForSixBytes) {
    append({0x03, 0x81, 0x00, 0x01, 0x81, 0x01, 0x03, 0x00});
    EXPECT_EQ(ParseReplyFrame(rx()), 1);
    EXPECT_EQ(rx(), Bytes({0x03, 0x00}));
    EXPECT_EQ(ParseReplyFrame(rx()), 0);
    EXPECT_EQ(rx(), Bytes({0x03, 0x00}));
    EXPECT_EQ(parse().State, 0);
}

TEST_F(ParserTest, completesOneFramePerCallInOrder) {
    Bytes a = replyFrame(0x01, {0x10}), b = replyFrame(0x03, {0x02}), c = replyFrame(0x15, {1, 2, 3, 4});
    append(a);
    append(b);
    append(c);
    ReplyFrame f;
    for (uint8_t cmd : {0x01, 0x03, 0x15}) {
        ASSERT_EQ(ParseReplyFrame(&f), 1);
        EXPECT_EQ(f.Command, cmd);
    }
    EXPECT_TRUE(rx().empty());
    EXPECT_EQ(ParseReplyFrame(&f), 0);
}

TEST_F(ParserTest, dropsTheWholeBufferOnBadStartLengthOrChecksum) {
    Bytes good = replyFrame(0x01, {0x10});
    Bytes badChecksum = replyFrame(0x01, {0x10});
    badChecksum.back() ^= 0xFF;
    Bytes tooLong = replyFrame(0x0E, Bytes(541, 0x5A));
    struct Case {
        const char* name;
        Bytes front;
    } cases[] = {
        {"bad start byte", {0x55}},
        {"bad checksum", badChecksum},
        {"length 541", Bytes(tooLong.begin(), tooLong.begin() + 6)},
        {"length high byte 0x80", {0x03, 0x12, 0x80, 0x00, 0x11, 0x22}},
        {"length high byte 0xFF", {0x03, 0x12, 0xFF, 0xFF, 0x11, 0x22}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetChannelTable();
        CurrentChannel = 1;
        append(c.front);
        append(good);
        EXPECT_EQ(ParseReplyFrame(rx()), 0);
        EXPECT_TRUE(rx().empty()) << "the good frame behind goes with it";
        EXPECT_EQ(parse().State, 0);
        append(good);
        EXPECT_EQ(ParseReplyFrame(rx()), 1) << "the next frame is found again";
    }
}

TEST_F(ParserTest, acceptsTheLongestReply) {
    Bytes data(540);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    append(replyFrame(0x0E, data));
    ReplyFrame f;
    ASSERT_EQ(ParseReplyFrame(&f), 1);
    EXPECT_EQ(f.Length, 540);
    EXPECT_EQ(f.Data, data);
}

TEST_F(ParserTest, everySplitPointGivesTheSameFrame) {
    Bytes data{0x07, 0xE6, 0x03, 0x1E, 0x0E, 0x05, 0x09};
    Bytes stream = replyFrame(0x02, data);
    Bytes second = replyFrame(0x13, {0x03, 0xA2});
    stream.insert(stream.end(), second.begin(), second.end());
    for (size_t first = 6; first < stream.size(); ++first) {
        for (size_t step : {size_t{1}, size_t{3}}) {
            SCOPED_TRACE(testing::Message() << "first piece " << first << ", then " << step);
            ResetChannelTable();
            CurrentChannel = 1;
            std::vector<size_t> cuts{first};
            for (size_t at = first + step; at < stream.size(); at += step) cuts.push_back(at);
            cuts.push_back(stream.size());
            auto found = feed(stream, cuts);
            ASSERT_EQ(found.size(), 2u);
            EXPECT_EQ(found[0].Command, 0x02);
            EXPECT_EQ(found[0].Data, data);
            EXPECT_EQ(found[1].Command, 0x13);
            EXPECT_EQ(found[1].Data, Bytes({0x03, 0xA2}));
            EXPECT_TRUE(rx().empty());
        }
    }
}

TEST_F(ParserTest, aZeroLengthReplyIsSkippedAndTheNextOneFound) {
    append({0x03, 0x20, 0x00, 0x00, 0x20});
    append(replyFrame(0x01, {0x08}));
    ReplyFrame f;
    EXPECT_EQ(ParseReplyFrame(&f), 0);
    EXPECT_EQ(ParseReplyFrame(&f), 1);
    EXPECT_EQ(f.Command, 0x01);
    EXPECT_TRUE(rx().empty());
}

TEST_F(ParserTest, snapshotStaysWhenLaterBytesArrive) {
    append(replyFrame(0x13, {0x03, 0xA2}));
    ReplyFrame f;
    ASSERT_EQ(ParseReplyFrame(&f), 1);
    Bytes next = replyFrame(0x13, {0x00, 0x00});
    append(Bytes(next.begin(), next.begin() + 6));
    EXPECT_EQ(ParseReplyFrame(), 0);
    EXPECT_EQ(parse().Data[0], 0x00) << "the live state moved on";
    EXPECT_EQ(f.Data, Bytes({0x03, 0xA2}));
}

TEST_F(ParserTest, doesNothingWithoutCurrentChannel) {
    append(replyFrame(0x01, {0x08}));
    CurrentChannel = 0;
    EXPECT_EQ(ParseReplyFrame(rx()), 0);
    EXPECT_EQ(rx().size(), 6u);
    EXPECT_EQ(parse().State, 0);
}

TEST_F(ParserTest, parsesWithTheCurrentChannelsOwnState) {
    Bytes frame = replyFrame(0x01, {0x08});
    Channels[2].RxBuffer.assign(frame.begin(), frame.begin() + 6);
    append(Bytes(frame.begin(), frame.begin() + 4));
    append({0x00, 0x00});  // a different first data byte on channel 1
    CurrentChannel = 2;
    ReplyFrame f;
    EXPECT_EQ(ParseReplyFrame(&f), 1);
    EXPECT_EQ(f.Channel, 2);
    EXPECT_EQ(Channels[1].Parse.State, 0);
}

TEST_F(ParserTest, resetParseStatesClearsEveryChannelAndTheTemplate) {
    append(Bytes{0x03, 0x12, 0x00, 0x50, 1, 2, 3});
    ParseReplyFrame();
    ASSERT_EQ(parse().State, 4);
    ParseTemplate.Data[100] = 9;
    ResetParseStates();
    EXPECT_EQ(parse().State, 0);
    EXPECT_EQ(parse().Pos, 0);
    EXPECT_EQ(ParseTemplate.Data[100], 0);
}

TEST_F(ParserTest, loadParseTemplateCopiesTheSnapshot) {
    ReplyFrame f{0x13, 2, {0x03, 0xA2}, 1};
    ParseTemplate.Data[2] = 0x77;
    LoadParseTemplate(f);
    EXPECT_EQ(ParseTemplate.Cmd, 0x13);
    EXPECT_EQ(ParseTemplate.Length, 2);
    EXPECT_EQ(ParseTemplate.Data[1], 0xA2);
    EXPECT_EQ(ParseTemplate.Data[2], 0x77) << "bytes beyond the length are left";
}

TEST(FrameChecksum, xorsFromLengthHighToLastDataByte) {
    EXPECT_EQ(FrameChecksum({0x02, 0x00, 0x01, 0x00, 0x00}), 0x01);
    EXPECT_EQ(FrameChecksum({0x02, 0x00, 0x02, 0x81, 0x0C, 0x00}), 0x8F);
    // The range may reach the checksum byte itself; it is still 0 then.
    EXPECT_EQ(FrameChecksum({0x02, 0x00, 0x03, 0x8D, 0x41, 0x00}), 0x00 ^ 0x03 ^ 0x8D ^ 0x41);
}

TEST(FrameChecksum, raisesWhenTheFrameIsShorterThanItsLength) {
    for (const Bytes& f : {Bytes{0x02, 0x00}, Bytes{0x02, 0x00, 0x05, 0x81, 0x00}}) {
        try {
            FrameChecksum(f);
            ADD_FAILURE() << "no error";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), kSubscriptOutOfRange);
        }
    }
}

TEST(BytesToText, convertsByMode) {
    Bytes abc{0x41, 0x42, 0x43};
    struct Case {
        Bytes bytes;
        int last;
        const char* mode;
        std::string expected;
    } cases[] = {
        {abc, 2, "chr", "ABC"},
        {abc, 2, "hex", "414243"},
        {abc, 1, "chr", "AB"},
        {{0x0A, 0xFF, 0x00}, 2, "hex", "AFF0"},
        {{65}, 0, "asc", "54"},
        {{65, 7}, 1, "asc", std::to_string('6' + '7')},
        {{0x56, 0xE9}, 1, "chr", "V\xC3\xA9"},  // Latin-1 e-acute, as UTF-8
        {abc, 2, "CHR", ""},
        {abc, 3, "chr", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BytesToText(c.bytes, c.last, c.mode), c.expected) << c.mode << " " << c.last;
}

}  // namespace
