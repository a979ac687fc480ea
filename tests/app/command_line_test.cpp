#include "command_line.h"

#include <gtest/gtest.h>

using namespace xo;

TEST(CommandLine, OptionsFilesAndMistakes) {
    CommandLine c = ParseCommandLine({"/own", "a.htm", "my page.htm"});
    EXPECT_EQ(c.action, CommandLine::Run);
    EXPECT_TRUE(c.own);
    EXPECT_EQ(c.files, QStringList({"a.htm", "my page.htm"}));
    c = ParseCommandLine({"--check", "a.html", "--", "-b.html"});
    EXPECT_EQ(c.action, CommandLine::Check);
    EXPECT_EQ(c.files, QStringList({"a.html", "-b.html"}));
    EXPECT_TRUE(ParseCommandLine({"--new-instance", "a.htm"}).newInstance);
    EXPECT_FALSE(c.newInstance);
    EXPECT_EQ(ParseCommandLine({"--help"}).action, CommandLine::Help);
    EXPECT_EQ(ParseCommandLine({"-v"}).action, CommandLine::Version);
    EXPECT_EQ(ParseCommandLine({"--check"}).action, CommandLine::Error); // nothing to check
    c = ParseCommandLine({"--nonsense", "a.htm"});
    EXPECT_EQ(c.action, CommandLine::Error);
    EXPECT_TRUE(c.error.contains(QStringLiteral("nonsense")));
    // What needs no window runs without a display; Qt's own options stay Qt's.
    EXPECT_TRUE(WantsNoWindow({"--check", "a.html"}));
    EXPECT_TRUE(WantsNoWindow({"--nonsense"}));
    EXPECT_FALSE(WantsNoWindow({"-platform", "offscreen", "a.htm"}));
    EXPECT_FALSE(WantsNoWindow({"a.htm", "--", "--help"}));
    EXPECT_TRUE(UsageText().contains(QStringLiteral("--check")));
}
