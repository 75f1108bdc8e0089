#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/StartFile.h"
#include "support/core/MemoryFileSystem.h"

namespace losfix {
namespace {

using testing::MemoryFileSystem;

constexpr const char* kStartsWithout = "\rDas Programm startet ohne Datei.";
constexpr const char* kWhatOpens =
    "\rBeim Start öffnet Losfix eine Reihen-Datei (*.lrei), eine Auswahl-Datei (*.whl) oder "
    "eine Fußball-Schnellauswahl (*.wh13).";

TEST(StartFileTest, KindFollowsTheExtensionInAnyCase) {
    const struct {
        const char* path;
        StartFileKind kind;
    } cases[] = {
        {"/home/u/reihen.lrei", StartFileKind::RowFile},
        {"/home/u/REIHEN.LREI", StartFileKind::RowFile},
        {"C:\\Lotto\\Reihen.Lrei", StartFileKind::RowFile},
        {"/a/Quick1.whl", StartFileKind::SelectionFile},
        {"/a/auswahl.WHL", StartFileKind::SelectionFile},
        {"/a/Quick.wh13", StartFileKind::QuickTipFile},
        {"/a/tipps.WH13", StartFileKind::QuickTipFile},
        {"/a/reihen.lrei.txt", StartFileKind::None},
        {"/a/reihen.lre", StartFileKind::None},
        {"/a/reihen.wh1", StartFileKind::None},
        {"/a/lrei", StartFileKind::None},
        {"/a/.lrei", StartFileKind::None},
        {"/a/reihen.", StartFileKind::None},
        {"/ordner.lrei/reihen", StartFileKind::None},
        {"", StartFileKind::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartFileKindOf(c.path), c.kind) << c.path;
    }
}

TEST(StartFileTest, OneExistingFileOfAKnownKind) {
    MemoryFileSystem files;
    files.files["/d/Meine Reihen.lrei"] = "\"   1\",1,2,3,4,5,6\r\n";
    files.files["/d/a.whl"] = "";
    files.files["/d/Quick.wh13"] = "";

    EXPECT_EQ(ReadStartArguments({}, files).kind, StartFileKind::None);
    EXPECT_EQ(ReadStartArguments({}, files).notice, "");
    const StartFile rows = ReadStartArguments({"/d/Meine Reihen.lrei"}, files);
    EXPECT_EQ(rows.kind, StartFileKind::RowFile);
    EXPECT_EQ(rows.path, "/d/Meine Reihen.lrei");
    EXPECT_EQ(rows.notice, "");
    EXPECT_EQ(ReadStartArguments({"/d/a.whl"}, files).kind, StartFileKind::SelectionFile);
    EXPECT_EQ(ReadStartArguments({"/d/Quick.wh13"}, files).kind, StartFileKind::QuickTipFile);
    // An empty file is still a file; what it holds is for the window to say.
    EXPECT_EQ(ReadStartArguments({"/d/a.whl"}, files).notice, "");
}

TEST(StartFileTest, ArgumentsThatCannotBeUsedGiveTheirNotice) {
    MemoryFileSystem files;
    files.files["/d/a.lrei"] = "";
    files.files["/d/notiz.txt"] = "";
    files.directories.insert("/d/Reihen.lrei");
    const struct {
        std::vector<std::string> arguments;
        std::string notice;
    } cases[] = {
        {{"/d/a.lrei", "/d/a.lrei"},
         std::string("Losfix kann beim Start nur eine Datei öffnen, angegeben waren 2.") +
             kStartsWithout},
        {{"/d/a.lrei", "--foo", "x"},
         std::string("Losfix kann beim Start nur eine Datei öffnen, angegeben waren 3.") +
             kStartsWithout},
        {{"--foo"}, std::string("Unbekannte Angabe \"--foo\".") + kWhatOpens + kStartsWithout},
        {{"-"}, std::string("Unbekannte Angabe \"-\".") + kWhatOpens + kStartsWithout},
        {{""}, std::string("Unbekannte Angabe \"\".") + kWhatOpens + kStartsWithout},
        {{"/d/fehlt.lrei"},
         std::string("Die Datei \"/d/fehlt.lrei\" gibt es nicht.") + kStartsWithout},
        {{"/d/Reihen.lrei"},
         std::string("\"/d/Reihen.lrei\" ist ein Ordner, keine Datei.") + kStartsWithout},
        {{"/d/notiz.txt"},
         std::string("Die Datei \"/d/notiz.txt\" kann Losfix nicht öffnen.") + kWhatOpens +
             kStartsWithout},
    };
    for (const auto& c : cases) {
        const StartFile file = ReadStartArguments(c.arguments, files);
        EXPECT_EQ(file.kind, StartFileKind::None) << c.notice;
        EXPECT_EQ(file.path, "") << c.notice;
        EXPECT_EQ(file.notice, c.notice);
    }
}

TEST(StartFileTest, HugeArgumentsAreQuotedShortened) {
    MemoryFileSystem files;
    // 100,000 characters of umlauts: cut at a character, not inside one.
    std::string umlauts;
    for (int i = 0; i < 100000; ++i) {
        umlauts += "ä";
    }
    const StartFile option = ReadStartArguments({"-" + umlauts}, files);
    EXPECT_EQ(option.notice.rfind("Unbekannte Angabe \"-" + umlauts.substr(0, 39 * 2) + "…\".", 0),
              0u);
    EXPECT_LT(option.notice.size(), 400u);
    const StartFile path = ReadStartArguments({"/" + umlauts + ".lrei"}, files);
    EXPECT_EQ(
        path.notice.rfind("Die Datei \"/" + umlauts.substr(0, 259 * 2) + "…\" gibt es nicht.", 0),
        0u);
    EXPECT_LT(path.notice.size(), 700u);
}

}  // namespace
}  // namespace losfix
