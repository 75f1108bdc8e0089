#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/DataFolders.h"
#include "core/app/Settings.h"
#include "core/common/Error.h"
#include "support/core/MemoryFileSystem.h"

namespace losfix {
namespace {

using testing::MemoryFileSystem;

// ---- DataFolders -----------------------------------------------------------------------------

TEST(DataFoldersTest, PathsBelowTheApplicationDataFolder) {
    const DataFolders folders = MakeDataFolders("/home/u/.local/share", "/home/u");
    EXPECT_EQ(folders.base, "/home/u/.local/share/Losfix 2.0/");
    EXPECT_EQ(folders.settings, "/home/u/.local/share/Losfix 2.0/Einstellungen/");
    EXPECT_EQ(folders.rows, "/home/u/.local/share/Losfix 2.0/Reihen/");
    EXPECT_EQ(folders.shots, "/home/u/.local/share/Losfix 2.0/shots/");
    EXPECT_EQ(folders.settingsFile(),
              "/home/u/.local/share/Losfix 2.0/Einstellungen/einstellungen.ini");
}

TEST(DataFoldersTest, NoDoubleSeparatorsAndTheFoldersOwnStyle) {
    EXPECT_EQ(MakeDataFolders("/data/", "").base, "/data/Losfix 2.0/");
    EXPECT_EQ(MakeDataFolders("/data//", "").base, "/data/Losfix 2.0/");
    EXPECT_EQ(MakeDataFolders("/", "").base, "/Losfix 2.0/");
    const DataFolders windows = MakeDataFolders("C:\\Users\\u\\AppData\\Roaming", "");
    EXPECT_EQ(windows.base, "C:\\Users\\u\\AppData\\Roaming\\Losfix 2.0\\");
    EXPECT_EQ(windows.rows, "C:\\Users\\u\\AppData\\Roaming\\Losfix 2.0\\Reihen\\");
    EXPECT_EQ(MakeDataFolders("C:\\Data\\", "").settings, "C:\\Data\\Losfix 2.0\\Einstellungen\\");
    EXPECT_EQ(MakeDataFolders("C:/Users/u/AppData/Roaming", "").base,
              "C:/Users/u/AppData/Roaming/Losfix 2.0/");
}

TEST(DataFoldersTest, StandInsForAnUnknownFolder) {
    EXPECT_EQ(MakeDataFolders("", "/home/u").base, "/home/u/Losfix 2.0/");
    EXPECT_EQ(MakeDataFolders("", "").base, "./Losfix 2.0/");
    EXPECT_EQ(MakeDataFolders("", "").shots, "./Losfix 2.0/shots/");
}

// Records the order of createDirectory calls.
class RecordingFileSystem : public MemoryFileSystem {
public:
    FileResult createDirectory(const std::string& path) override {
        created.push_back(path);
        return MemoryFileSystem::createDirectory(path);
    }
    std::vector<std::string> created;
};

TEST(DataFoldersTest, CreatesOnlyMissingFoldersBaseFirst) {
    const DataFolders folders = MakeDataFolders("/app", "");
    RecordingFileSystem files;
    files.directories.insert(folders.rows);
    CreateDataFolders(folders, files);
    EXPECT_EQ(files.created,
              (std::vector<std::string>{folders.base, folders.settings, folders.shots}));
    EXPECT_TRUE(files.isDirectory(folders.settings));

    files.created.clear();
    CreateDataFolders(folders, files);
    EXPECT_TRUE(files.created.empty());
}

TEST(DataFoldersTest, FailuresAreNotReportedAndTheRestIsStillTried) {
    const DataFolders folders = MakeDataFolders("/app", "");
    RecordingFileSystem files;
    files.unwritable.insert(folders.base);
    files.unwritable.insert(folders.settings);
    EXPECT_NO_THROW(CreateDataFolders(folders, files));
    EXPECT_EQ(files.created.size(), 4U);
    EXPECT_FALSE(files.isDirectory(folders.settings));
    EXPECT_TRUE(files.isDirectory(folders.shots));
}

// ---- Settings --------------------------------------------------------------------------------

const std::string kIni = "/app/Losfix 2.0/Einstellungen/einstellungen.ini";

class SettingsTest : public ::testing::Test {
protected:
    MemoryFileSystem files;
    IniFile ini{files, kIni};
};

TEST_F(SettingsTest, NoFileGivesTheFormDefaults) {
    const MainSettings settings = LoadMainSettings(ini);
    EXPECT_EQ(settings.clientWidth, 1078);
    EXPECT_EQ(settings.clientHeight, 674);
    EXPECT_EQ(settings.rowSizeItem, 3);
    EXPECT_EQ(settings.poolItem, 5);
    EXPECT_EQ(settings.congruence, 2);
    EXPECT_EQ(settings.rowCount, "120");
    EXPECT_EQ(settings.donation, "0");
    EXPECT_EQ(settings.left, 0);
    EXPECT_EQ(settings.top, 0);
}

TEST_F(SettingsTest, FileWithOnlyPositionGivesTheReadDefaults) {
    files.files[kIni] = "[Position]\r\nFMain-left=300\r\nFMain-top=40\r\n";
    const MainSettings settings = LoadMainSettings(ini);
    EXPECT_EQ(settings.clientWidth, 1078);
    EXPECT_EQ(settings.clientHeight, 674);
    EXPECT_EQ(settings.rowSizeItem, 3);
    EXPECT_EQ(settings.poolItem, 5);
    EXPECT_EQ(settings.congruence, 15);
    EXPECT_EQ(settings.rowCount, "12");
    EXPECT_EQ(settings.donation, "0");
    EXPECT_EQ(settings.left, 300);
    EXPECT_EQ(settings.top, 40);
}

TEST_F(SettingsTest, EmptyFileGivesReadDefaultPositions) {
    files.files[kIni] = "";
    const MainSettings settings = LoadMainSettings(ini);
    EXPECT_EQ(settings.left, 0);
    EXPECT_EQ(settings.top, 70);
}

TEST_F(SettingsTest, StoredValuesAreRead) {
    files.files[kIni] =
        "[Fenster]\r\nBreite=1227\r\nHoehe=700\r\n[Losfix]\r\nZahlen=0x3\r\nMenge=11\r\n"
        "Kongruenz=4\r\nReihen=abc\r\n[Wach]\r\nStand=12,50\r\n";
    const MainSettings settings = ReadMainSettings(ini);
    EXPECT_EQ(settings.clientWidth, 1227);
    EXPECT_EQ(settings.clientHeight, 700);
    EXPECT_EQ(settings.rowSizeItem, 3);
    EXPECT_EQ(settings.poolItem, 11);
    EXPECT_EQ(settings.congruence, 4);
    EXPECT_EQ(settings.rowCount, "abc");  // a text value is taken as it is
    EXPECT_EQ(settings.donation, "12,50");
}

TEST_F(SettingsTest, ItemIndexesOutOfRange) {
    files.files[kIni] = "[Losfix]\r\nMenge=99\r\nZahlen=20\r\n";
    EXPECT_EQ(ReadMainSettings(ini).poolItem, 11);
    EXPECT_EQ(ReadMainSettings(ini).rowSizeItem, 13);

    files.files[kIni] = "[Losfix]\r\nMenge=-1\r\nZahlen=-4\r\n";
    EXPECT_EQ(ReadMainSettings(ini).poolItem, 5);
    EXPECT_EQ(ReadMainSettings(ini).rowSizeItem, 3);

    files.files[kIni] = "[Losfix]\r\nMenge=0\r\nZahlen=0\r\n";
    EXPECT_EQ(ReadMainSettings(ini).poolItem, 0);
    EXPECT_EQ(ReadMainSettings(ini).rowSizeItem, 0);
}

TEST_F(SettingsTest, CongruenceStaysOnTheSlider) {
    files.files[kIni] = "[Losfix]\r\nKongruenz=abc\r\n";
    EXPECT_EQ(ReadMainSettings(ini).congruence, 15);
    files.files[kIni] = "[Losfix]\r\nKongruenz=0\r\n";
    EXPECT_EQ(ReadMainSettings(ini).congruence, 1);
    files.files[kIni] = "[Losfix]\r\nKongruenz=40\r\n";
    EXPECT_EQ(ReadMainSettings(ini).congruence, 15);
    files.files[kIni] = "[Losfix]\r\nKongruenz=1\r\n";
    EXPECT_EQ(ReadMainSettings(ini).congruence, 1);
}

TEST_F(SettingsTest, FirstCloseWritesTheKnownFileAndReadsBack) {
    WriteMainSettings(ini, DefaultMainSettings());
    EXPECT_EQ(files.files[kIni],
              "[Fenster]\r\nBreite=1078\r\nHoehe=674\r\n[Losfix]\r\nZahlen=3\r\nMenge=5\r\n"
              "Kongruenz=2\r\nReihen=120\r\n[Wach]\r\nStand=0\r\n");

    MainSettings changed;
    changed.clientWidth = 1227;
    changed.poolItem = 11;
    changed.congruence = 15;
    changed.rowCount = "500";
    changed.donation = "7,00";
    WriteMainSettings(ini, changed);
    const MainSettings back = ReadMainSettings(ini);
    EXPECT_EQ(back.clientWidth, 1227);
    EXPECT_EQ(back.poolItem, 11);
    EXPECT_EQ(back.congruence, 15);
    EXPECT_EQ(back.rowCount, "500");
    EXPECT_EQ(back.donation, "7,00");
}

// Refuses every write after the first few.
class FailingAfterFileSystem : public MemoryFileSystem {
public:
    explicit FailingAfterFileSystem(int allowed) : allowed_(allowed) {}
    FileResult writeAtomic(const std::string& path, std::string_view bytes) override {
        if (allowed_-- <= 0) {
            return FileResult::failure("Zugriff verweigert");
        }
        return MemoryFileSystem::writeAtomic(path, bytes);
    }

private:
    int allowed_;
};

TEST(SettingsWriteTest, RefusedWriteStopsAtThatKey) {
    FailingAfterFileSystem files(3);  // Breite, Hoehe, Zahlen get through
    IniFile ini(files, kIni);
    try {
        WriteMainSettings(ini, DefaultMainSettings());
        FAIL() << "refused write not reported";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "In " + kIni + " kann nicht geschrieben werden");
    }
    EXPECT_EQ(files.files[kIni],
              "[Fenster]\r\nBreite=1078\r\nHoehe=674\r\n[Losfix]\r\nZahlen=3\r\n");
}

TEST_F(SettingsTest, PositionsPerWindow) {
    SavePosition(ini, "FMain", 120, -8);
    SavePosition(ini, "FKick", 5, 6);
    EXPECT_EQ(files.files[kIni],
              "[Position]\r\nFMain-left=120\r\nFMain-top=-8\r\nFKick-left=5\r\nFKick-top=6\r\n");
    EXPECT_EQ(ReadPosition(ini, "FMain"), std::make_pair(120, -8));
    EXPECT_EQ(ReadPosition(ini, "FKick"), std::make_pair(5, 6));
    EXPECT_EQ(ReadPosition(ini, "FAbbild"), std::make_pair(0, 70));
    // A later save replaces, it does not add.
    SavePosition(ini, "FMain", 1, 2);
    EXPECT_EQ(ReadPosition(ini, "FMain"), std::make_pair(1, 2));
    EXPECT_EQ(ReadMainSettings(ini).left, 1);
}

TEST_F(SettingsTest, FootballRowCount) {
    files.files[kIni] = "[Losfix]\r\nReihen=120\r\n";
    EXPECT_EQ(ReadFootballRowCount(ini), "72");
    WriteFootballRowCount(ini, "300");
    EXPECT_EQ(ReadFootballRowCount(ini), "300");
    EXPECT_EQ(files.files[kIni], "[Losfix]\r\nReihen=120\r\nFReihen=300\r\n");
    // The lottery's row count is a different key.
    EXPECT_EQ(ReadMainSettings(ini).rowCount, "120");
}

}  // namespace
}  // namespace losfix
