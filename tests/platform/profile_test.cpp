// The configuration file is edited by hand and comes from other machines;
// the profile layer must read it the way the program always has.

#include <gtest/gtest.h>

#include "platform/profile.h"

#include <climits>

namespace tunevox::platform {
namespace {

TEST(Profile, FindsSectionsAndKeysWhateverTheCaseAndTrimsValues) {
    TProfile p;
    p.LoadText("\xEF\xBB\xBF[Configuration]\r\n"
               "  Hardware =  3  \r\n"
               "KeyboardCommands= UD0 \r"
               "[audio]\n"
               "Volume=128\n"
               "not a pair\n"
               "; a comment=1\n");
    EXPECT_TRUE(p.SectionExists("CONFIGURATION"));
    EXPECT_TRUE(p.SectionExists("Audio"));
    EXPECT_FALSE(p.SectionExists("Presets"));
    EXPECT_EQ(p.ReadInteger("configuration", "HARDWARE", 0), 3);
    EXPECT_EQ(p.ReadString("Configuration", "keyboardcommands", ""), "UD0") << "CR-only line end";
    EXPECT_EQ(p.ReadInteger("Audio", "Volume", 0), 128);
    EXPECT_FALSE(p.ValueExists("Audio", "not a pair"));
    EXPECT_FALSE(p.ValueExists("Audio", "; a comment"));
    EXPECT_EQ(p.ReadString("Audio", "Missing", "fallback"), "fallback");
    EXPECT_EQ(p.ReadSection("audio"), std::vector<std::string>{"Volume"});
}

TEST(Profile, ReadsIntegersAndBooleansLikeTheProfileReadersOfOld) {
    TProfile p;
    p.LoadText("[S]\n"
               "plain=42\nnegative=-7\nplus=+5\ntrailing=12abc\nletters=abc\n"
               "hex=0x1F\nbarehex=0x\nempty=\nhuge=99999999999\nhugeneg=-99999999999\n"
               "zero=0\nyes=1\nword=true\n");
    EXPECT_EQ(p.ReadInteger("S", "plain", -1), 42);
    EXPECT_EQ(p.ReadInteger("S", "negative", -1), -7);
    EXPECT_EQ(p.ReadInteger("S", "plus", -1), 5);
    EXPECT_EQ(p.ReadInteger("S", "trailing", -1), 12) << "leading digits count";
    EXPECT_EQ(p.ReadInteger("S", "letters", -1), 0) << "unreadable is 0, not the fallback";
    EXPECT_EQ(p.ReadInteger("S", "hex", -1), 31);
    EXPECT_EQ(p.ReadInteger("S", "barehex", -1), 0);
    EXPECT_EQ(p.ReadInteger("S", "empty", -1), -1) << "an empty value counts as absent";
    EXPECT_EQ(p.ReadInteger("S", "huge", -1), INT_MAX) << "saturates, never wraps";
    EXPECT_EQ(p.ReadInteger("S", "hugeneg", -1), INT_MIN);
    EXPECT_EQ(p.ReadInteger("S", "absent", -1), -1);
    EXPECT_FALSE(p.ReadBool("S", "zero", true));
    EXPECT_TRUE(p.ReadBool("S", "yes", false));
    EXPECT_FALSE(p.ReadBool("S", "word", true)) << "a word is integer 0";
    EXPECT_TRUE(p.ReadBool("S", "absent", true));
}

TEST(Profile, ErasedSectionsAreWrittenAgainAfterTheOthersAndValuesStayOneLine) {
    TProfile p;
    p.LoadText("[First]\nA=1\n[Keep]\nOwn=mine\n[Second]\nB=2\n");
    p.EraseSection("FIRST");
    EXPECT_FALSE(p.SectionExists("First"));
    p.WriteInteger("First", "A", 10);
    p.WriteBool("First", "Flag", true);
    p.WriteString("Second", "b", "two");
    // A line break in a value must not start a forged key on the next line.
    p.WriteString("Second", "Name", "x\r\nHardware=8");

    TProfile q;
    q.LoadText(p.ToText());
    EXPECT_EQ(q.ReadString("Keep", "Own", ""), "mine");
    EXPECT_EQ(q.ReadInteger("First", "A", 0), 10);
    EXPECT_EQ(q.ReadString("First", "Flag", ""), "1");
    EXPECT_EQ(q.ReadString("Second", "B", ""), "two");
    EXPECT_FALSE(q.ValueExists("Second", "Hardware"));
    EXPECT_EQ(q.ReadString("Second", "Name", ""), "x  Hardware=8");

    const std::string text = p.ToText();
    EXPECT_NE(text.find("A=10\n"), std::string::npos) << "key=value without blanks";
    EXPECT_LT(text.find("[Keep]"), text.find("[Second]"));
    EXPECT_LT(text.find("[Second]"), text.find("[First]")) << "a rewritten section goes last";
}

TEST(Profile, HandEditedLinesMeanOneThingAndReadBackTheSameAfterEverySave) {
    // A header that lost its "]", and files pasted together with a
    // byte-order mark in the middle.
    const std::string edited = "[Configuration]\nHardware=1\n[DisplayMode\nDisplayType=3\n"
                               "[Audio]\nVolume=5\n\xEF\xBB\xBFKey=1\n";
    TProfile first;
    first.LoadText(edited);
    EXPECT_EQ(first.ReadInteger("DisplayMode", "DisplayType", -1), 3);
    EXPECT_EQ(first.ReadInteger("Audio", "Key", -1), 1);
    const std::string saved = first.ToText();
    TProfile again;
    again.LoadText(saved);
    EXPECT_EQ(again.ToText(), saved) << "the file does not grow from save to save";
    EXPECT_EQ(again.ReadInteger("DisplayMode", "DisplayType", -1), 3);
    EXPECT_EQ(again.ReadInteger("Audio", "Key", -1), 1);
    EXPECT_EQ(again.ReadInteger("Configuration", "Hardware", -1), 1);

    // What a fuzzer found saves differently the second time without this.
    const std::string found[] = {"[]\n[x]\n", " [\n[x", " \xEF\xBB\xBFkey=1\n", "\n;\n[t]\n", std::string("\0;\n[v", 5),
                                 "\x8f\r;\n-=", "=\r#\n2=", "[\n#\r2=", "e=\n\xEF\xBB\xBF\xEF\xBB\xBF="};
    for (const std::string& odd : found) {
        TProfile once;
        once.LoadText(odd);
        TProfile twice;
        twice.LoadText(once.ToText());
        EXPECT_EQ(twice.ToText(), once.ToText()) << odd;
    }
    TProfile marked;
    marked.LoadText(" \xEF\xBB\xBFkey=1\n");
    EXPECT_EQ(marked.ReadInteger("", "key", -1), 1) << "a key keeps its name";
}

} // namespace
} // namespace tunevox::platform
