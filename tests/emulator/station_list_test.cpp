#include "emulator/station_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tunevox::emulator {
namespace {

TEST(StationList, ParsesStationsCommentsAndBlankLines) {
    std::vector<std::string> errors;
    auto list = StationList::Parse("# my stations\r\n"
                                   "M 098.700 S Radio One  # the big one\r\n"
                                   "\n"
                                   "   \t\n"
                                   "K 531\tM Talk AM\n"
                                   "M 101.1 M News",
                                   &errors);
    ASSERT_TRUE(list) << (errors.empty() ? "" : errors[0]);
    EXPECT_TRUE(errors.empty());
    const auto& s = list->Stations();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].band, Band::FM);
    EXPECT_DOUBLE_EQ(s[0].frequencyMHz, 98.7);
    EXPECT_TRUE(s[0].stereo);
    EXPECT_EQ(s[0].name, "Radio One");
    EXPECT_EQ(s[1].band, Band::AM);
    EXPECT_DOUBLE_EQ(s[1].frequencyMHz, 0.531);
    EXPECT_FALSE(s[1].stereo);
    EXPECT_EQ(s[1].name, "Talk AM");
    EXPECT_EQ(s[2].name, "News");
}

// A station file written on any system reads the same: LF, CR LF or CR
// line ends, a UTF-8 byte-order mark or none, a decimal comma or point.
TEST(StationList, ReadsAnyLineEndingsAndAByteOrderMark) {
    const std::string body[] = {"# list", "M 098.700 S Radio One", "K 531 M Talk AM", "M 101,1 M News"};
    for (const char* bom : {"", "\xEF\xBB\xBF"}) {
        for (const char* end : {"\n", "\r\n", "\r"}) {
            std::string text = bom;
            for (const auto& line : body) text += line + end;
            std::vector<std::string> errors;
            auto list = StationList::Parse(text, &errors);
            ASSERT_TRUE(list) << (errors.empty() ? "" : errors[0]);
            ASSERT_EQ(list->Stations().size(), 3u);
            EXPECT_EQ(list->Stations()[0].name, "Radio One");
            EXPECT_EQ(list->Stations()[1].name, "Talk AM");
            EXPECT_DOUBLE_EQ(list->Stations()[2].frequencyMHz, 101.1);
        }
    }
    std::vector<std::string> errors;
    EXPECT_FALSE(StationList::Parse("M 98.7 S One\rX 1 S Bad\r", &errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("line 2: ", 0), 0u) << "lines ending in CR are counted: " << errors[0];
}

TEST(StationList, ReportsEveryBadLineByNumber) {
    std::vector<std::string> errors;
    auto list = StationList::Parse("M 98.7 S Good\n"
                                   "F 98.7 S Wrong band\n"
                                   "M 98.7\n"
                                   "M 9x.7 S Bad number\n"
                                   "# fine\n"
                                   "M 200 S Too high\n"
                                   "K 50 M Too low\n"
                                   "M 98.7 X Bad mode\n"
                                   "M 98.7 S   # no name\n"
                                   "M -98.7 S Negative\n",
                                   &errors);
    EXPECT_FALSE(list);
    ASSERT_EQ(errors.size(), 8u);
    const char* prefixes[] = {"line 2: ", "line 3: ", "line 4: ", "line 6: ", "line 7: ", "line 8: ", "line 9: ", "line 10: "};
    for (size_t i = 0; i < errors.size(); ++i) EXPECT_EQ(errors[i].rfind(prefixes[i], 0), 0u) << errors[i];
    EXPECT_FALSE(StationList::Parse("M 1.2.3 S Dots", nullptr)) << "works without an error list";
    errors.clear();
    EXPECT_FALSE(StationList::Load("/nonexistent/tunevox/stations.txt", &errors));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("No such file or directory"), std::string::npos) << errors[0];
}

TEST(StationList, ReceiveCapturesTheNearestStationAndStereoOnlyWhenClose) {
    StationList list({{Band::FM, 98.7, true, "A"}, {Band::FM, 98.775, true, "B"}, {Band::FM, 101.1, false, "C"},
                      {Band::AM, 0.531, false, "D"}});
    struct Case { Band band; double f; bool wanted; const char* name; bool stereo; } cases[] = {
        {Band::FM, 98.7, true, "A", true},
        {Band::FM, 98.7, false, "A", false},
        {Band::FM, 98.725, true, "A", true},   // within the stereo width
        {Band::FM, 98.65, true, "A", false},   // heard, too far off for stereo
        {Band::FM, 98.625, true, "A", false},  // at the edge of capture
        {Band::FM, 98.6, true, nullptr, false},
        {Band::FM, 98.75, true, "B", true},    // nearer to the second station
        {Band::FM, 98.775, true, "B", true},
        {Band::FM, 98.85, true, "B", false},
        {Band::FM, 101.1, true, "C", false},   // a mono station stays mono
        {Band::AM, 0.531, true, "D", false},   // never stereo on AM
        {Band::AM, 0.534, true, "D", false},
        {Band::AM, 0.540, true, nullptr, false},
        {Band::AM, 98.7, true, nullptr, false}, // bands are kept apart
    };
    for (const Case& c : cases) {
        Reception r = list.Receive(c.band, c.f, c.wanted);
        if (!c.name) {
            EXPECT_EQ(r.station, nullptr) << c.f;
            continue;
        }
        ASSERT_NE(r.station, nullptr) << c.f;
        EXPECT_EQ(r.station->name, c.name) << c.f;
        EXPECT_EQ(r.stereo, c.stereo) << c.f;
    }
}

} // namespace
} // namespace tunevox::emulator
