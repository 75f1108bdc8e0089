#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/app/FootballSettings.h"
#include "core/common/Error.h"
#include "core/football/MatchBoard.h"
#include "core/football/TipFiles.h"
#include "core/football/TipTable.h"
#include "support/core/FixedMeasure.h"
#include "support/core/MemoryFileSystem.h"

namespace losfix {
namespace {

using testing::FixedMeasure;
using testing::MemoryFileSystem;

constexpr const char* kQuick = "/data/Einstellungen/Quick.wh13";

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

TEST(TipFilesTest, BothFormsBeforeAndAfterARun) {
    StringGrid table = MakeTipTable(FixedMeasure);
    EXPECT_EQ(EncodeTipRowFile(table, TipFileForm::Text), Repeat(",,,,,,,,,,,,\r\n", 24));
    EXPECT_EQ(EncodeTipRowFile(table, TipFileForm::Semicolon), Repeat(";;;;;;;;;;;;\r\n", 24));

    const std::vector<std::string> rows = {"1,0,2,2,1,1,0,2,1,0,0,1,2", "2,2,2,2,2,2,2,2,2,2,2,2,2",
                                           "1,0,2,2,2,2,2,2,2,2,2,2,2"};
    table.setRowCount(4);
    for (int r = 1; r <= 3; ++r) {
        table.setCell(0, r, TipRowLabel(r, FixedMeasure));
        for (int m = 1; m <= kMatchCount; ++m) {
            table.setCell(m, r, std::string(1, rows[static_cast<std::size_t>(r - 1)][2 * (m - 1)]));
        }
    }
    EXPECT_EQ(EncodeTipRowFile(table, TipFileForm::Text), Lines(rows));
    EXPECT_EQ(EncodeTipRowFile(table, TipFileForm::Semicolon),
              "1;0;2;2;1;1;0;2;1;0;0;1;2\r\n2;2;2;2;2;2;2;2;2;2;2;2;2\r\n"
              "1;0;2;2;2;2;2;2;2;2;2;2;2\r\n");
    EXPECT_EQ(TipRowClipboardText(table), Lines(rows));

    MemoryFileSystem files;
    const std::string path = "/data/Reihen/tipps1.txt";
    EXPECT_EQ(SaveTipRowFile(files, path, table, TipFileForm::Text), "tipps1.txt");
    EXPECT_EQ(files.files[path], Lines(rows));
    EXPECT_EQ(TipImageTitle("tipps1.txt"), "tipps1");
    EXPECT_EQ(TipImageTitle("Spieltag ä.csv"), "Spieltag ä");
    EXPECT_EQ(TipImageTitle(".txt"), "");

    // A failed write leaves the old file as it was.
    files.unwritable.insert(path);
    EXPECT_EQ(ErrorText([&] {
                  SaveTipRowFile(files, path, MakeTipTable(FixedMeasure), TipFileForm::Semicolon);
              }),
              "Datei \"/data/Reihen/tipps1.txt\" kann nicht erstellt werden. Zugriff verweigert");
    EXPECT_EQ(files.files[path], Lines(rows));
}

TEST(QuickTipFileTest, SavedAndLoadedByteForByte) {
    MatchBoard board;
    board.setTipStatus(2, TipStatus::TipFavII);
    MemoryFileSystem files;
    SaveQuickTips(files, kQuick, board);
    EXPECT_EQ(files.files[kQuick], "0\r\n2\r\n" + Repeat("0\r\n", 37));

    for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
        board.setTipStatus(slot, static_cast<TipStatus>((slot * 7) % 4));
    }
    board.kombisAnzeigen();
    SaveQuickTips(files, QuickTipFilePath("/data/Einstellungen/"), board);
    MatchBoard loaded;
    EXPECT_FALSE(LoadQuickTips(files, kQuick, loaded).has_value());
    EXPECT_EQ(loaded.statuses(), board.statuses());
    EXPECT_EQ(loaded.labels(), board.labels());

    files.unwritable.insert(kQuick);
    const std::string before = files.files[kQuick];
    EXPECT_NE(ErrorText([&] {
                  SaveQuickTips(files, kQuick, MatchBoard());
              }).find("kann nicht erstellt werden"),
              std::string::npos);
    EXPECT_EQ(files.files[kQuick], before);
}

TEST(QuickTipFileTest, PartialAndBadFiles) {
    MemoryFileSystem files;
    MatchBoard board;
    for (int slot = 1; slot <= kOutcomeSlotCount; ++slot) {
        board.setTipStatus(slot, TipStatus::TipFavIII);
    }

    // Ten lines change the slots 1 to 10 only, then the labels are counted.
    files.files[kQuick] = Lines({"1", "0", "0", "2", "2", "0", "0", "0", "3", "0"});
    EXPECT_FALSE(LoadQuickTips(files, kQuick, board).has_value());
    EXPECT_EQ(board.status(4), TipStatus::TipFavII);
    EXPECT_EQ(board.status(10), TipStatus::TipOut);
    EXPECT_EQ(board.status(11), TipStatus::TipFavIII);
    EXPECT_EQ(board.labels(), (CountLabels{"78.732", "2", "9", "2"}));  // 1 * 2 * 1 * 2 * 3^9

    board.setTipStatus(4, TipStatus::TipFavIII);
    const TipStatuses before = board.statuses();
    const CountLabels labels = board.labels();
    files.files[kQuick] = Lines({"1", "0", "0", "2", "7"});
    EXPECT_EQ(LoadQuickTips(files, kQuick, board).value(),
              "Die Schnellauswahl-Datei Quick.wh13 enthält ungültige Werte (Zeile 5: Status 7, "
              "erlaubt sind 0 bis 3). Es wurde nichts geändert.");
    files.files[kQuick] = Lines({"3", "-1"});
    EXPECT_TRUE(LoadQuickTips(files, kQuick, board).has_value());
    files.files[kQuick] = Repeat("1\r\n", 40);
    EXPECT_EQ(LoadQuickTips(files, kQuick, board).value(),
              "Die Schnellauswahl-Datei Quick.wh13 hat 40 Zeilen, erlaubt sind höchstens 39 "
              "(drei je Spiel). Es wurde nichts geändert.");
    files.unreadable.insert(kQuick);
    EXPECT_EQ(
        ErrorText([&] { LoadQuickTips(files, kQuick, board); }),
        "Datei /data/Einstellungen/Quick.wh13 kann nicht geöffnet werden. Zugriff verweigert");
    EXPECT_EQ(board.statuses(), before);
    EXPECT_EQ(board.labels(), labels);

    // A line that is no number ends the load; the lines before it stay stored and counted.
    files.unreadable.clear();
    files.files[kQuick] = Lines({"0", "0", "x1", "9"});
    EXPECT_EQ(ErrorText([&] { LoadQuickTips(files, kQuick, board); }),
              "''x1'' ist kein gültiger Integer-Wert");
    EXPECT_EQ(board.status(1), TipStatus::TipOut);
    EXPECT_EQ(board.status(4), TipStatus::TipFavIII);
    EXPECT_EQ(board.labels(), (CountLabels{"78.732", "2", "9", "1"}));
}

TEST(FootballSettingsTest, KeysAndDefaults) {
    MemoryFileSystem files;
    IniFile ini(files, "/data/Einstellungen/einstellungen.ini");
    EXPECT_EQ(LoadFootballSettings(ini), (FootballSettings{"120", 0, 0}));
    files.files[ini.path()] = "[Losfix]\r\nReihen=120\r\n";
    EXPECT_EQ(LoadFootballSettings(ini), (FootballSettings{"72", 0, 70}));

    WriteFootballSettingsOnClose(ini, "300");
    SaveFootballPosition(ini, 12, -5);
    EXPECT_EQ(files.files[ini.path()],
              "[Losfix]\r\nReihen=120\r\nFReihen=300\r\n[Position]\r\nFKick-left=12\r\n"
              "FKick-top=-5\r\n");
    EXPECT_EQ(LoadFootballSettings(ini), (FootballSettings{"300", 12, -5}));
}

}  // namespace
}  // namespace losfix
