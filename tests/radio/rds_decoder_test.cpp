#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "radio/rds_decoder.h"

namespace tunevox::radio {
namespace {

enum : uint8_t { A = 0, B = 1, C = 2, D = 3, CAlt = 4, Invalid = 7, Corrected = 0x40, Error = 0x80 };

// Writes the device's records for the groups a station sends.
struct Transmitter {
    uint16_t pi = 0xD318;
    int pty = 10;
    std::vector<uint8_t> out;

    void Block(uint16_t word, uint8_t block, uint8_t flags = 0) {
        out.insert(out.end(), {uint8_t(word & 0xFF), uint8_t(word >> 8), uint8_t(block | block << 3 | flags)});
    }
    // Block B: group type, version, TP, PTY, then the type's own five bits.
    uint16_t BlockB(unsigned type, bool versionB, unsigned low) const {
        return uint16_t(type << 12 | unsigned(versionB) << 11 | 1u << 10 | unsigned(pty) << 5 | low);
    }
    // Group 0A (0B) with one segment of an 8-character name; TA, M/S and DI
    // set so that they must be masked off the address.
    void Segment(const std::string& name, unsigned seg, bool versionB = false) {
        Block(pi, A);
        Block(BlockB(0, versionB, 0x1C | seg), B);
        Block(versionB ? pi : 0xE0CD, versionB ? CAlt : C);
        Block(uint16_t(uint8_t(name[seg * 2]) << 8 | uint8_t(name[seg * 2 + 1])), D);
    }
    void Pass(const std::string& name, std::vector<unsigned> order = {0, 1, 2, 3}, bool versionB = false) {
        for (unsigned seg : order) Segment(name, seg, versionB);
    }
    void Twice(const std::string& name) { Pass(name, {0, 1, 2, 3, 0, 1, 2, 3}); }
    void OtherGroup() { // 2A, radio text
        const uint16_t words[] = {pi, BlockB(2, false, 0), 0x4142, 0x4344};
        for (uint8_t block = A; block <= D; ++block) Block(words[block], block);
    }
    // Feeds everything written so far, record by record; the names seen.
    std::vector<std::string> FeedTo(TRdsDecoder& decoder, int* changes = nullptr) {
        std::vector<std::string> seen;
        for (size_t i = 0; i < out.size(); i += 3) {
            const bool changed = decoder.Feed(out[i], out[i + 1], out[i + 2]);
            if (changes && changed) ++*changes;
            seen.push_back(decoder.StationName());
        }
        out.clear();
        return seen;
    }
};

TEST(RdsDecoder, ShowsTheNameOnlyOnceTwoPassesAgree) {
    TRdsDecoder decoder;
    Transmitter tx;
    tx.Pass("RADIO 1 ", {2, 0, 3, 1});
    int changes = 0;
    tx.FeedTo(decoder, &changes);
    EXPECT_EQ(decoder.StationName(), "") << "one pass is not enough";
    EXPECT_EQ(decoder.ProgramIdentification(), 0xD318);
    EXPECT_EQ(decoder.ProgramType(), 10);
    EXPECT_EQ(changes, 1) << "PI and PTY with the second group";

    tx.Pass("RADIO 1 ", {3, 1, 0, 2}, true); // 0B carries it too
    changes = 0;
    auto seen = tx.FeedTo(decoder, &changes);
    EXPECT_EQ(seen[seen.size() - 5], "") << "shown before the pass was complete";
    EXPECT_EQ(decoder.StationName(), "RADIO 1");
    EXPECT_EQ(changes, 1);

    tx.Pass("RADIO 1 ");
    tx.FeedTo(decoder, &changes);
    EXPECT_EQ(changes, 1) << "the same name again is no change";
}

TEST(RdsDecoder, ScrollingTextNeverShowsAMix) {
    // A station scrolling a message, switching texts in the middle of a pass.
    TRdsDecoder decoder;
    Transmitter tx;
    const std::string message = "NOW PLAYING: THE BEST MIX";
    std::set<std::string> sent = {""};
    for (size_t i = 0; i + 8 <= message.size(); ++i) {
        const std::string text = message.substr(i, 8);
        sent.insert(text.substr(0, text.find_last_not_of(' ') + 1));
        for (unsigned k = 0; k < 9; ++k) tx.Segment(text, (i + k) % 4);
    }
    for (const auto& name : tx.FeedTo(decoder)) EXPECT_TRUE(sent.count(name)) << "shown: \"" << name << '"';
    EXPECT_EQ(decoder.StationName(), "BEST MIX");

    // A new name whose last segment is lost on the first rounds: the old
    // segment it would have replaced must not complete it.
    for (int i = 0; i < 3; ++i) tx.Pass("TOP HITS", {0, 1, 2});
    for (const auto& name : tx.FeedTo(decoder)) ASSERT_EQ(name, "BEST MIX");
    tx.Pass("TOP HITS", {3, 0, 1, 2, 3});
    tx.FeedTo(decoder);
    EXPECT_EQ(decoder.StationName(), "TOP HITS");
}

TEST(RdsDecoder, ADamagedGroupIsDroppedAndTheNextOneTaken) {
    using tDamage = void (*)(std::vector<uint8_t>& group); // 4 records of 3 bytes
    const std::pair<const char*, tDamage> damages[] = {
        {"error flag on D", [](std::vector<uint8_t>& g) { g[11] |= Error; }},
        {"error flag on A", [](std::vector<uint8_t>& g) { g[2] |= Error; }},
        {"invalid block", [](std::vector<uint8_t>& g) { g[8] = Invalid; }},
        {"C missing", [](std::vector<uint8_t>& g) { g.erase(g.begin() + 6, g.begin() + 9); }},
        {"B and C swapped", [](std::vector<uint8_t>& g) { std::swap_ranges(&g[3], &g[6], &g[6]); }},
    };
    for (const auto& [what, damage] : damages) {
        TRdsDecoder decoder;
        Transmitter tx, damaged;
        damaged.Segment("RADIXX1 ", 2);
        damage(damaged.out);
        for (int round = 0; round < 2; ++round) {
            tx.Pass("RADIO 1 ", {0, 1});
            tx.out.insert(tx.out.end(), damaged.out.begin(), damaged.out.end());
            tx.Pass("RADIO 1 ", {3});
        }
        tx.FeedTo(decoder);
        EXPECT_EQ(decoder.StationName(), "") << what;
        tx.Pass("RADIO 1 ", {2, 0, 1, 2, 3});
        tx.FeedTo(decoder);
        EXPECT_EQ(decoder.StationName(), "RADIO 1") << what << ": the groups around it must count";
    }

    TRdsDecoder decoder;
    Transmitter tx;
    tx.Twice("RADIO 1 ");
    for (size_t i = 2; i < tx.out.size(); i += 3) tx.out[i] |= Corrected;
    tx.FeedTo(decoder);
    EXPECT_EQ(decoder.StationName(), "RADIO 1") << "corrected blocks count";
}

TEST(RdsDecoder, AnotherConfirmedPiForgetsTheStation) {
    TRdsDecoder decoder;
    Transmitter tx, stray;
    tx.Twice("RADIO 1 ");
    stray.pi = 0x1234;
    stray.pty = 3;
    stray.Segment("JAZZ FM ", 0); // one stray group between two: nothing happens
    tx.out.insert(tx.out.end() - 12, stray.out.begin(), stray.out.end());
    int changes = 0;
    tx.FeedTo(decoder, &changes);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(decoder.StationName(), "RADIO 1");
    EXPECT_EQ(decoder.ProgramType(), 10);

    tx.pi = 0xC201; // retuned without Reset
    tx.pty = 3;
    tx.Twice("JAZZ FM ");
    auto seen = tx.FeedTo(decoder);
    EXPECT_EQ(seen[3], "RADIO 1") << "one group does not confirm a PI";
    EXPECT_EQ(seen[7], "");
    EXPECT_EQ(decoder.ProgramIdentification(), 0xC201);
    EXPECT_EQ(decoder.ProgramType(), 3);
    EXPECT_EQ(decoder.StationName(), "JAZZ FM");

    decoder.Reset();
    EXPECT_EQ(decoder.StationName(), "");
    EXPECT_EQ(decoder.ProgramIdentification(), -1);
    EXPECT_EQ(decoder.ProgramType(), -1);
}

TEST(RdsDecoder, FeedBytesKeepsACutRecordForTheNextCall) {
    Transmitter tx;
    tx.Twice("RADIO 1 ");
    const std::vector<uint8_t> stream = tx.out;
    for (size_t chunk : {1, 2, 4, 5, 7, 1000}) {
        TRdsDecoder decoder;
        bool changed = false;
        for (size_t i = 0; i < stream.size(); i += chunk) {
            changed = decoder.FeedBytes(stream.data() + i, std::min(chunk, stream.size() - i)) || changed;
        }
        EXPECT_EQ(decoder.StationName(), "RADIO 1") << "chunks of " << chunk;
        EXPECT_TRUE(changed);
    }
    // Tuning does not move the stream's record boundaries.
    TRdsDecoder decoder;
    decoder.FeedBytes(stream.data(), 2);
    decoder.Reset();
    decoder.FeedBytes(stream.data() + 2, stream.size() - 2);
    EXPECT_EQ(decoder.StationName(), "RADIO 1");
}

TEST(RdsDecoder, ProgrammeTypeFromAnyGroupTwiceInARow) {
    TRdsDecoder decoder;
    Transmitter tx;
    std::vector<int> confirmed;
    for (int pty : {10, 10, 5, 10, 5, 5}) {
        tx.pty = pty;
        tx.OtherGroup();
        tx.FeedTo(decoder);
        confirmed.push_back(decoder.ProgramType());
    }
    EXPECT_EQ(confirmed, (std::vector<int>{-1, 10, 10, 10, 10, 5}));
    EXPECT_EQ(PtyName(10), "Pop music");
    EXPECT_EQ(PtyName(18), "Children's programmes");
    EXPECT_EQ(PtyName(31), "Alarm");
    EXPECT_EQ(PtyName(9, true), "Top 40");
    for (int unnamed : {-1, 0, 32}) EXPECT_EQ(PtyName(unnamed), "");
}

TEST(RdsDecoder, DecodesTheRdsCharacterSet) {
    const std::pair<std::string, const char*> cases[] = {
        {"Z\x99rich\r ", "Zürich"},      // ü; a control code is a blank, trailing blanks go
        {"\x8D\x91\xC9\xE0\x82\x8A\x9C ", "ßäÙÃéÑş"},
        {"$^`~\xAB\x0A!|", "¤―‖¯$ !|"}, // where the set differs from ASCII
    };
    for (const auto& [codes, expected] : cases) {
        TRdsDecoder decoder;
        Transmitter tx;
        tx.Twice(codes);
        tx.FeedTo(decoder);
        EXPECT_EQ(decoder.StationName(), expected);
    }
}

} // namespace
} // namespace tunevox::radio
