// Scripts: the file as the editor writes it and as people edit it by hand,
// the runner's search, and the editor's rules for the minute of an action.

#include <gtest/gtest.h>

#include "script/script.h"
#include "support/temp_dir.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tunevox::script {
namespace {

tScriptResult Parse(std::string_view text, tScript* out = nullptr) {
    tScript script{"kept", {}};
    const tScriptResult result = ParseScript(text, script);
    if (result != srOk) {
        EXPECT_EQ(script.title, "kept") << "a refused file changed the script";
    }
    if (out) *out = std::move(script);
    return result;
}

// A script as the writer puts it: every field of every action, in order.
std::string Normalized(std::string_view text) {
    tScript s;
    return Parse(text, &s) == srOk ? FormatScript(s.title, s.actions) : "refused";
}

TEST(ScriptFile, ChecksEveryLineBeforeTakingAny) {
    const std::pair<const char*, tScriptResult> cases[] = {
        {";Title only\r\n", srCorrupt}, {"", srCorrupt}, {"T\r\nOff.0800", srCorrupt},
        {";T\r\nOff.0800\r\n\r\nMute off.0900\r\n", srOk}, {";T\r\nOff.0800\r\n \r\n", srCorrupt},
        {";T\nMUTE ON.0730", srOk}, {";T\nOff.0000", srCorrupt}, {";T\nOff.2359", srOk},
        {";T\nOff.2400", srCorrupt}, {";T\nOff.0760", srCorrupt}, {";T\nOff.07a0", srCorrupt},
        {";T\nOff.0800x", srCorrupt}, {";T\nOff.0800.", srCorrupt}, {";T\nFly.0800", srCorrupt},
        {";T\nVolume.0700.21", srCorrupt}, {";T\nVolume.0700.20", srOk}, {";T\nVolume.0700", srCorrupt},
        {";T\nVolume.0700.", srCorrupt}, {";T\nVolume.07005", srCorrupt}, {";T\nBeep.0700.51.5000.300", srCorrupt},
        {";T\nBeep.0700.50.20000.1000", srOk}, {";T\nBeep.0700.1.20001.1", srCorrupt},
        {";T\nBeep.0700.1.1.0", srCorrupt}, {";T\nBeep.0700.1.1.1.1", srCorrupt}, {";T\nBeep.0700.1.1", srCorrupt},
        {";T\nPreset.0700.100.MN", srOk}, {";T\nPreset.0700.0.MN", srCorrupt}, {";T\nPreset.0700.3.XX", srCorrupt},
        {";T\nJump to.0705.98,700.FM", srCorrupt}, {";T\nJump to.0705.98.7.00.FM.ST", srCorrupt},
        {";T\nJump to.0705..FM.ST", srCorrupt}, {";T\nJump to.0705.98,7.LW.ST", srCorrupt},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(Parse(text), expected) << text;
}

TEST(ScriptFile, ReadsHandEditedFilesInOrderOfTime) {
    // Any line ending, a byte-order mark, keywords in any case; a frequency
    // with "," or "."; "st" and "fm" pass the check but only "ST" is stereo
    // and only "FM" is FM; AM is never stereo; two at 08:00 stay in file order.
    EXPECT_EQ(Normalized("\xEF\xBB\xBF ;Morning \nOff.0800\rjump TO.0705.98,700.FM.ST\r\n"
                         "Jump to.0706.98.7. fm .st\nJump to.0707.0.531.AM.ST\nVolume.0800.5\n"
                         "Preset.0600.7.st\nBeep.0701.3.5000.300\n"),
              ";Morning\r\nPreset.0600.7.MN\r\nBeep.0701.3.5000.300\r\nJump to.0705.098,700.FM.ST\r\n"
              "Jump to.0706.098,700.AM.MN\r\nJump to.0707.000,531.AM.MN\r\nOff.0800\r\nVolume.0800.5\r\n");

    // Enough lines that an unstable sort would show: the count is the line.
    std::string shuffled = ";T";
    for (int i = 1; i <= 50; ++i)
        shuffled += "\nBeep.000" + std::to_string(i * 7 % 5 + 1) + "." + std::to_string(i) + ".1.1";
    tScript s;
    ASSERT_EQ(Parse(shuffled, &s), srOk);
    for (size_t i = 1; i < s.actions.size(); ++i) {
        const auto &a = dynamic_cast<zBeep&>(*s.actions[i - 1]), &b = dynamic_cast<zBeep&>(*s.actions[i]);
        EXPECT_TRUE(a.time < b.time || (a.time == b.time && a.count < b.count)) << i;
    }
    // A title is free text: bytes that are no UTF-8, even NUL, stay as read.
    ASSERT_EQ(Parse(std::string(";\xC3(\0\xFF\r\nOff.0800", 15), &s), srOk);
    EXPECT_EQ(s.title, std::string("\xC3(\0\xFF", 4));
}

tActions EveryKind() {
    tActions a;
    a.push_back(CreateAction(akPreset, MakeMinute(7, 0), {radio::bFM, true, 3}));
    a.push_back(CreateAction(akBeep, MakeMinute(7, 1)));
    a.push_back(CreateAction(akJumpTo, MakeMinute(7, 5), {radio::bFM, true, 0}));
    static_cast<zJumpTo&>(*a.back()).frequency = 98.7;
    a.push_back(CreateAction(akJumpTo, MakeMinute(7, 6), {radio::bAM, false, 0}));
    a.push_back(CreateAction(akPreset, MakeMinute(7, 7), {radio::bFM, true, 12}));
    for (tActionKind kind : {akVolume, akMuteOn, akMuteOff}) a.push_back(CreateAction(kind, a.back()->time + 1));
    a.push_back(CreateAction(akOff, kLastMinute));
    return a;
}

TEST(ScriptFile, WritesWhatItReadsBack) {
    const tActions actions = EveryKind();
    EXPECT_EQ(FormatScript("  Morning ", actions, [](int n) { return n == 12; }),
              ";Morning\r\nPreset.0700.3.ST\r\nBeep.0701.1.5000.300\r\nJump to.0705.098,700.FM.ST\r\n"
              "Jump to.0706.000,531.AM.MN\r\nPreset.0707.12.MN\r\nVolume.0708.0\r\nMute on.0709\r\n"
              "Mute off.0710\r\nOff.2359\r\n");

    test::TempDir dir;
    const std::string path = dir.File("Morning.tvs");
    std::string error;
    ASSERT_TRUE(WriteScriptFile(path, "Morning", actions, {}, &error)) << error;
    tScript back;
    ASSERT_EQ(ReadScriptFile(path, back), srOk);
    EXPECT_TRUE(SameScript(" Morning", actions, back.title, back.actions));

    tActions copy = CopyActions(actions);
    static_cast<zJumpTo&>(*copy[2]).frequency = 98.7004; // the same to the kHz
    EXPECT_TRUE(SameScript("Morning", actions, "Morning", copy));
    EXPECT_FALSE(SameScript("Morning", actions, "Evening", copy));
    static_cast<zPreset&>(*copy[4]).stereo = false;
    EXPECT_FALSE(SameScript("", actions, "", copy));

    // What the reader would refuse is not written, and it says why.
    copy = CopyActions(actions);
    copy[0]->time = 0;
    EXPECT_FALSE(WriteScriptFile(path, "Morning", copy, {}, &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(WriteScriptFile(path, "Morning", {}, {}, &error));
    EXPECT_FALSE(WriteScriptFile(path, std::string(2000, 'x'), actions, {}, &error));
    ASSERT_EQ(ReadScriptFile(path, back), srOk);
    EXPECT_EQ(back.actions.size(), actions.size());
}

TEST(ScriptFile, FailedWriteKeepsTheOldFileAndUnreadableFilesAreReadErrors) {
    test::TempDir dir;
    const std::string path = dir.File("Old.tvs");
    std::string error;
    ASSERT_TRUE(WriteScriptFile(path, "Old", EveryKind(), {}, &error)) << error;
    const std::string old = test::ReadTextFile(path);
    tActions many;
    for (tMinute m = 1; m <= 400; ++m) many.push_back(CreateAction(akBeep, m));

    if (geteuid() != 0) { // root writes whatever the modes say
        ::chmod(dir.Path().c_str(), 0555);
        EXPECT_FALSE(WriteScriptFile(path, "New", many, {}, &error));
        EXPECT_EQ(error, std::strerror(EACCES));
        ::chmod(dir.Path().c_str(), 0755);
    }
    std::filesystem::create_directory(dir.File("Folder.tvs"));
    EXPECT_FALSE(WriteScriptFile(dir.File("Folder.tvs"), "New", many, {}, &error));
    tScript s;
    EXPECT_EQ(ReadScriptFile(dir.File("Folder.tvs"), s), srReadError);
    EXPECT_EQ(ReadScriptFile(dir.File("Missing.tvs"), s), srReadError);

    // Root or not, a child whose files stop at 1 KiB must fail, saying why.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit small{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &small);
        signal(SIGXFSZ, SIG_IGN);
        _exit(WriteScriptFile(path, "New", many, {}, &error) ? 0 : error == std::strerror(EFBIG) ? 1 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(test::ReadTextFile(path), old);
}

TEST(ScriptFile, AbsurdFilesAreRefusedWithoutReadingThemThrough) {
    std::string lines = ";T\r\n";
    for (int i = 0; i < 2040; ++i) lines += "Off.0800\r\n\r\n";
    EXPECT_EQ(Parse(lines + "Off.0800"), srOk); // 4082 lines, more than a day needs
    EXPECT_EQ(Parse(lines + std::string(20, '\n') + "Off.0800"), srCorrupt);
    EXPECT_EQ(Parse(std::string(100'000'000, '\r')), srCorrupt);
    EXPECT_EQ(Parse(";" + std::string(1023, 'x') + "\nOff.0800"), srOk);
    EXPECT_EQ(Parse(";" + std::string(1024, 'x') + "\nOff.0800"), srCorrupt);
    EXPECT_EQ(Parse(";T\nOff.0800" + std::string(5000, ' ')), srCorrupt);
    tScript s;
    EXPECT_EQ(ReadScriptFile("/dev/zero", s), srCorrupt); // endless: read up to the limit only
}

tActions At(std::initializer_list<tMinute> times) {
    tActions a;
    for (tMinute t : times) a.push_back(CreateAction(akOff, t));
    return a;
}

TEST(ScriptTimes, NewAndMovedActionsOnlyTakeFreeMinutes) {
    tActions a = At({MakeMinute(7, 0), MakeMinute(7, 2)});
    EXPECT_EQ(InsertTime(a, 1), MakeMinute(7, 1));
    a.insert(a.begin() + 1, CreateAction(akBeep, *InsertTime(a, 1)));
    EXPECT_EQ(InsertTime(a, 1), std::nullopt);
    EXPECT_EQ(InsertTime(a, 2), std::nullopt);
    EXPECT_EQ(InsertTime(a, 0), MakeMinute(6, 59));
    EXPECT_EQ(InsertTime(a, 3), MakeMinute(7, 3));
    EXPECT_EQ(InsertTime(At({1}), 0), std::nullopt); // 00:00 is no time to store
    EXPECT_EQ(InsertTime(At({2}), 0), 1);
    EXPECT_EQ(InsertTime(At({kLastMinute}), 1), std::nullopt);
    EXPECT_EQ(AppendTime({}, MakeMinute(9, 30)), MakeMinute(9, 30));
    EXPECT_EQ(AppendTime(At({MakeMinute(6, 59)}), 0), MakeMinute(7, 0));
    EXPECT_EQ(AppendTime(At({kLastMinute}), 0), std::nullopt);

    auto range = [](const tActions& list, size_t i) {
        const tTimeRange r = RangeOf(list, i);
        return std::pair(r.begin, r.end);
    };
    const tActions b = At({MakeMinute(6, 10), MakeMinute(8, 0)});
    EXPECT_EQ(range(b, 0), std::pair(0, MakeMinute(7, 59)));
    EXPECT_EQ(range(b, 1), std::pair(MakeMinute(6, 11), kLastMinute));
    EXPECT_EQ(range(At({700, 700, 700}), 1), std::pair(700, 700));

    auto limits = [](tMinute begin, tMinute end, int hour) {
        const tMinuteLimits l = MinuteLimits({begin, end}, hour);
        return std::pair(l.low, l.high);
    };
    EXPECT_EQ(limits(MakeMinute(6, 11), kLastMinute, 6), std::pair(11, 59));
    EXPECT_EQ(limits(MakeMinute(6, 11), kLastMinute, 12), std::pair(0, 59));
    EXPECT_EQ(limits(MakeMinute(7, 10), MakeMinute(9, 20), 9), std::pair(0, 20));
    EXPECT_EQ(limits(MakeMinute(7, 10), MakeMinute(7, 20), 7), std::pair(10, 20));
    EXPECT_EQ(MinuteLimits({MakeMinute(6, 11), kLastMinute}, 6).Clamp(3), 11);
}

TEST(ScriptRunner, FindsTheActionOfAMinuteByHalving) {
    // Every length of list, every minute of the day; two at 05:00.
    const std::vector<tMinute> times = {60, 61, 300, 300, 301, 700, 1000, 1438};
    for (size_t n = 0; n <= times.size(); ++n) {
        tActions list;
        for (size_t i = 0; i < n; ++i) list.push_back(CreateAction(akOff, times[i]));
        for (tMinute m = 0; m <= kLastMinute; ++m) {
            const bool there = std::find(times.begin(), times.begin() + n, m) != times.begin() + n;
            const zAction* found = FindAction(list, TimeKey(m));
            ASSERT_EQ(found != nullptr, there) << n << " " << m;
            if (found) {
                EXPECT_EQ(found->time, m);
            }
        }
    }
}

} // namespace
} // namespace tunevox::script
