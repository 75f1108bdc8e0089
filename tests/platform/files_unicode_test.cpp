// Row, selection and settings files in a folder with umlauts, through the real file system and
// the program's own save and load functions; every file saved twice over itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/Settings.h"
#include "core/common/IniFile.h"
#include "core/common/TextFile.h"
#include "core/lottery/Board.h"
#include "core/rows/RowStore.h"
#include "platform/Files.h"
#include "platform/files_temporary_folder.h"

namespace losfix {
namespace {

namespace fs = std::filesystem;

// "Łódź" has no place in Windows-1252: a name that went through the ANSI code page would lose it.
const char8_t* const kFolder = u8"Lottoreihen für Österreich";
const char8_t* const kRowFile = u8"Reihen Łódź – 6 aus 49.lrei";
const char8_t* const kSelectionFile = u8"Glückszahlen.whl";

std::string Utf8(std::u8string_view text) {
    return std::string(text.begin(), text.end());
}

class UnicodeFolderTest : public TemporaryFolderTest {
protected:
    void SetUp() override {
        TemporaryFolderTest::SetUp();
        folder_ = root_ / kFolder;
        // Made by the program's file system from its UTF-8 path, checked by the standard's own.
        ASSERT_TRUE(files.createDirectory(Utf8FromPath(folder_)).ok);
        ASSERT_TRUE(fs::is_directory(folder_));
    }

    // The UTF-8 path the program would be handed by a file dialog.
    std::string path(const char8_t* name) const { return Utf8FromPath(folder_ / name); }

    std::string disk(const char8_t* name) const { return diskBytes(folder_ / name); }

    // Exactly the named files, so no temporary file is left and no name was mangled.
    std::set<std::string> folderNames() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.insert(Utf8FromPath(entry.path().filename()));
        }
        return names;
    }

    static std::string testData(const std::string& name) {
        LocalFileSystem files;
        std::string bytes;
        EXPECT_TRUE(files.readAll(std::string(LOSFIX_TEST_DATA_DIR) + "/" + name, bytes).ok)
            << name;
        return bytes;
    }

    fs::path folder_;
    LocalFileSystem files;
};

StringGrid EmptyRowTable() {
    StringGrid table(17, 2, 1, 1);
    table.setCell(0, 0, "Reihe");
    for (int c = 1; c <= 16; ++c) {
        std::string header(1, ' ');  // appended: GCC 12 at -O3 warns falsely about " " + text
        header += std::to_string(c);
        table.setCell(c, 0, header);
    }
    return table;
}

class BoardTarget : public SelectionTarget {
public:
    void applyRowSizeItem(int item) override { board.setRowSizeItem(item); }
    void applyPoolItem(int item) override { board.setPoolItem(item); }
    int poolSize() const override { return board.poolSize(); }
    void applyStatus(int number, NumberStatus status) override { board.setStatus(number, status); }
    Board board;
};

TEST_F(UnicodeFolderTest, RowFileSavedTwiceAndLoadedBack) {
    StringGrid table = EmptyRowTable();
    LoadRowFile(files, std::string(LOSFIX_TEST_DATA_DIR) + "/rows_6of49.lrei", table);
    // Loaded cells that were empty come back as a blank, which is written quoted.
    SaveRowFile(files, path(kRowFile), table);
    EXPECT_EQ(disk(kRowFile), testData("rows_6of49_resaved.lrei"));

    StringGrid again = EmptyRowTable();
    LoadRowFile(files, path(kRowFile), again);
    EXPECT_EQ(again.rowCells(3), table.rowCells(3));
    again.setCell(1, 1, "4");
    SaveRowFile(files, path(kRowFile), again);  // over the existing file
    std::string expected = testData("rows_6of49_resaved.lrei");
    expected.replace(expected.find("\",3,"), 4, "\",4,");
    EXPECT_EQ(disk(kRowFile), expected);
    EXPECT_EQ(folderNames(), std::set<std::string>{Utf8(kRowFile)});
}

TEST_F(UnicodeFolderTest, SelectionFileSavedTwiceAndOpenedBack) {
    const std::string golden = testData("selection_pool35.whl");
    BoardTarget loaded;
    ASSERT_EQ(OpenSelectionFile(files, std::string(LOSFIX_TEST_DATA_DIR) + "/selection_pool35.whl",
                                loaded, [&] { loaded.board.resetStatuses(); }),
              std::nullopt);
    SaveSelectionFile(files, path(kSelectionFile), loaded.board);
    EXPECT_EQ(disk(kSelectionFile), golden);

    loaded.board.setStatus(2, NumberStatus::FavI);
    SaveSelectionFile(files, path(kSelectionFile), loaded.board);  // over the existing file
    std::vector<std::string> lines = ReadTextLines(golden);
    lines[3] = "2";  // row size item, pool item, then the status of 1, of 2, ...
    EXPECT_EQ(disk(kSelectionFile), WriteTextLines(lines));

    BoardTarget reopened;
    ASSERT_EQ(OpenSelectionFile(files, path(kSelectionFile), reopened,
                                [&] { reopened.board.resetStatuses(); }),
              std::nullopt);
    EXPECT_EQ(reopened.board.statuses(), loaded.board.statuses());
    EXPECT_EQ(folderNames(), std::set<std::string>{Utf8(kSelectionFile)});
}

TEST_F(UnicodeFolderTest, SettingsFileWrittenAgainAndAgain) {
    IniFile ini(files, path(u8"einstellungen.ini"));
    WriteMainSettings(ini, DefaultMainSettings());
    const std::string closed =
        "[Fenster]\r\nBreite=1078\r\nHoehe=674\r\n"
        "[Losfix]\r\nZahlen=3\r\nMenge=5\r\nKongruenz=2\r\nReihen=120\r\n"
        "[Wach]\r\nStand=0\r\n";
    EXPECT_EQ(disk(u8"einstellungen.ini"), closed);

    // Every key is its own save over the file: the second close and a position replace it.
    MainSettings changed = DefaultMainSettings();
    changed.clientWidth = 1227;
    changed.donation = "12,50 €";
    WriteMainSettings(ini, changed);
    SavePosition(ini, "FMain", 12, -3);
    EXPECT_EQ(disk(u8"einstellungen.ini"),
              "[Fenster]\r\nBreite=1227\r\nHoehe=674\r\n"
              "[Losfix]\r\nZahlen=3\r\nMenge=5\r\nKongruenz=2\r\nReihen=120\r\n"
              "[Wach]\r\nStand=12,50 \x80\r\n"
              "[Position]\r\nFMain-left=12\r\nFMain-top=-3\r\n");

    const IniFile reread(files, path(u8"einstellungen.ini"));
    EXPECT_EQ(ReadMainSettings(reread).clientWidth, 1227);
    EXPECT_EQ(ReadMainSettings(reread).donation, "12,50 €");
    EXPECT_EQ(ReadPosition(reread, "FMain"), std::make_pair(12, -3));
    EXPECT_EQ(folderNames(), std::set<std::string>{"einstellungen.ini"});
}

}  // namespace
}  // namespace losfix
