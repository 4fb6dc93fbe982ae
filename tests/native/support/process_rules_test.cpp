#include <gtest/gtest.h>

#include <string>

#include "support/process_rules.h"

TEST(ProcessMatching, FullPathBaseNameAndShortForm)
{
    const ProcessNames app{"C:\\Apps\\Long Folder\\app.exe", "app.exe", "C:\\Apps\\LONGFO~1\\app.exe"};
    const ProcessNames other{"C:\\Else\\app.exe", "app.exe", "C:\\Else\\app.exe"};
    const std::string path = "C:\\Apps\\Long Folder\\app.exe";
    const std::string shortPath = "C:\\Apps\\LONGFO~1\\app.exe";

    // Full path only: the process started from that path, not another app.exe.
    EXPECT_TRUE(ProcessMatches(path, shortPath, app, true));
    EXPECT_FALSE(ProcessMatches(path, shortPath, other, true));
    EXPECT_TRUE(ProcessMatches(" c:\\apps\\long folder\\APP.EXE ", shortPath, app, true));
    // The base name matches any process of that name, in any case, unless
    // the search is for the full path only.
    EXPECT_TRUE(ProcessMatches("APP.exe", "", app, false));
    EXPECT_TRUE(ProcessMatches("APP.exe", "", other, false));
    EXPECT_FALSE(ProcessMatches("app.exe", "", app, true));
    // A name in 8.3 form matches through the short forms.
    EXPECT_TRUE(ProcessMatches(shortPath, shortPath, app, true));
    EXPECT_FALSE(ProcessMatches(shortPath, shortPath, other, true));
    // A path that does not exist still matches by full path.
    EXPECT_TRUE(ProcessMatches(path, "", app, true));
}

TEST(ProcessMatching, PlaceholdersAndUnreadableProcesses)
{
    // A process whose short path could not be read (empty) is not matched
    // by a name whose short form is missing.
    const ProcessNames noShort{"C:\\x\\tool.exe", "tool.exe", ""};
    EXPECT_FALSE(ProcessMatches("C:\\y\\tool.exe", "", noShort, true));
    // Processes that could not be queried never match, not even the empty name.
    const ProcessNames unreadable{"", "", ""};
    EXPECT_FALSE(ProcessMatches("", "", unreadable, false));
    EXPECT_FALSE(ProcessMatches("tool.exe", "", unreadable, false));
}

TEST(MainWindowScores, OwnerOfMostWindowsWins)
{
    // 10 owns 11 and 12 (12 through 11); 10 is hidden and without caption.
    const uintptr_t windows[] = {11, 10, 12, 20};
    const uintptr_t owners[] = {10, 0, 10, 0};
    const unsigned char flags[] = {WindowVisible | WindowCaptioned, 0, WindowVisible | WindowCaptioned,
                                   WindowCaptioned};
    uint16_t scores[4];
    ScoreWindows(windows, owners, flags, 4, scores);
    EXPECT_EQ(scores[0], 3);
    EXPECT_EQ(scores[1], 8);
    EXPECT_EQ(scores[2], 3);
    EXPECT_EQ(scores[3], 2);
    EXPECT_EQ(BestScoredWindow(scores, 4), 1);
}

TEST(MainWindowScores, CaptionAndVisibilityDecideAmongUnowned)
{
    struct Case {
        unsigned char flags[3];
        int best;
    } cases[] = {
        {{WindowVisible, WindowCaptioned, WindowVisible | WindowCaptioned}, 2},
        {{WindowVisible, WindowCaptioned, WindowCaptioned}, 1},  // first of the equal best
        {{WindowVisible, 0, WindowVisible}, 0},
        {{0, 0, 0}, -1},  // nothing scores above 0
    };
    const uintptr_t windows[] = {1, 2, 3};
    const uintptr_t owners[] = {0, 0, 0};
    for (const Case& c : cases) {
        uint16_t scores[3];
        ScoreWindows(windows, owners, c.flags, 3, scores);
        EXPECT_EQ(BestScoredWindow(scores, 3), c.best);
    }
    EXPECT_EQ(BestScoredWindow(nullptr, 0), -1);
}

TEST(MainWindowScores, OwnerOutsideTheListScoresNothing)
{
    // The top owner belongs to another process: no window of the list gains.
    const uintptr_t windows[] = {5, 6};
    const uintptr_t owners[] = {99, 99};
    const unsigned char flags[] = {WindowVisible, WindowCaptioned | WindowVisible};
    uint16_t scores[2];
    ScoreWindows(windows, owners, flags, 2, scores);
    EXPECT_EQ(scores[0], 1);
    EXPECT_EQ(scores[1], 3);
}
