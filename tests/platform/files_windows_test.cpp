// Windows only: the system's own refusals in German, files other programs hold open, the data
// folder, and the update batch run by the real command interpreter.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "core/app/DataFolders.h"
#include "platform/Files.h"
#include "platform/WindowsSystem.h"
#include "platform/files_temporary_folder.h"

namespace losfix {
namespace {

namespace fs = std::filesystem;

TEST(WindowsErrorTextTest, GermanTextsWithoutTheClosingStop) {
    EXPECT_EQ(WindowsErrorText(ERROR_FILE_NOT_FOUND),
              "Das System kann die angegebene Datei nicht finden");
    EXPECT_EQ(WindowsErrorText(ERROR_PATH_NOT_FOUND),
              "Das System kann den angegebenen Pfad nicht finden");
    EXPECT_EQ(WindowsErrorText(ERROR_ACCESS_DENIED), "Zugriff verweigert");
    EXPECT_EQ(WindowsErrorText(ERROR_SHARING_VIOLATION),
              "Der Prozess kann nicht auf die Datei zugreifen, da sie von einem anderen Prozess "
              "verwendet wird");
    EXPECT_EQ(WindowsErrorText(ERROR_DISK_FULL),
              "Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden");
    EXPECT_EQ(WindowsErrorText(ERROR_ALREADY_EXISTS), "Die Datei ist bereits vorhanden");
    // Any other reason in the system's words, as one line that the error box can end.
    const std::string other = WindowsErrorText(ERROR_NOT_SUPPORTED);
    ASSERT_FALSE(other.empty());
    EXPECT_EQ(other.find_first_of("\r\n"), std::string::npos) << other;
    EXPECT_NE(other.back(), '.') << other;
}

class WindowsFilesTest : public TemporaryFolderTest {
protected:
    void TearDown() override {
        // Read-only files would stay.
        for (const auto& entry : fs::recursive_directory_iterator(root_)) {
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        TemporaryFolderTest::TearDown();
    }

    std::string path(const char8_t* name) const { return Utf8FromPath(root_ / name); }

    std::string disk(const char8_t* name) const { return diskBytes(root_ / name); }

    int entries() const {
        return static_cast<int>(std::distance(fs::directory_iterator(root_), {}));
    }

    LocalFileSystem files;
};

TEST_F(WindowsFilesTest, AFileHeldWithoutSharingIsNeitherReadNorReplaced) {
    ASSERT_TRUE(files.writeAtomic(path(u8"Reihen.lrei"), "alt\r\n").ok);
    // As a spreadsheet program holds a file it has open.
    const HANDLE held = CreateFileW((root_ / u8"Reihen.lrei").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string bytes = "unverändert";
    const FileResult read = files.readAll(path(u8"Reihen.lrei"), bytes);
    const FileResult written = files.writeAtomic(path(u8"Reihen.lrei"), "neu\r\n");
    CloseHandle(held);

    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.systemText, WindowsErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(bytes, "unverändert");
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.systemText.empty());
    EXPECT_EQ(disk(u8"Reihen.lrei"), "alt\r\n");
    EXPECT_EQ(entries(), 1);  // no temporary file left behind
}

TEST_F(WindowsFilesTest, AReadOnlyFileIsRefusedAtOnce) {
    ASSERT_TRUE(files.writeAtomic(path(u8"Quick1.whl"), "3\r\n").ok);
    ASSERT_TRUE(SetFileAttributesW((root_ / u8"Quick1.whl").c_str(), FILE_ATTRIBUTE_READONLY));
    const auto start = std::chrono::steady_clock::now();
    const FileResult written = files.writeAtomic(path(u8"Quick1.whl"), "4\r\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.systemText, "Zugriff verweigert");
    EXPECT_EQ(disk(u8"Quick1.whl"), "3\r\n");
    EXPECT_EQ(entries(), 1);
}

TEST(WindowsSystemTest, DataFoldersBelowTheRoamingFolder) {
    const std::string roaming = RoamingAppDataFolder();
    ASSERT_FALSE(roaming.empty());
    EXPECT_TRUE(fs::is_directory(PathFromUtf8(roaming))) << roaming;
    EXPECT_TRUE(PathFromUtf8(roaming).is_absolute()) << roaming;
    // The program's folders go on in the system's style.
    EXPECT_EQ(MakeDataFolders(roaming, "").settings, roaming + "\\Losfix 2.0\\Einstellungen\\");
}

TEST(WindowsSystemTest, BatchTextInTheInterpretersCodePage) {
    // cmd.exe reads batch files in the OEM code page, where 437 and 850 agree on the umlauts.
    EXPECT_EQ(OemBatchBytes("del \"C:\\J\xF6rg\\F\xFC\xDF\xE9 \xC4\xD6\xDC\"\r\n"),
              "del \"C:\\J\x94rg\\F\x81\xE1\x82 \x8E\x99\x9A\"\r\n");
    EXPECT_EQ(OemBatchBytes("del C:\\12 \x80\\a.bat"), "");  // no euro sign there
}

// The hand-over as it runs after the installer started: the real interpreter removes the
// program file, its folder and the batch itself, all in folders with umlauts.
TEST_F(WindowsFilesTest, UpdateBatchRemovesTheProgramItsFolderAndItself) {
    const fs::path programFolder = root_ / u8"Lottoreihen für Österreich";
    const fs::path temporary = root_ / u8"Temp Jörg";
    fs::create_directory(programFolder);
    fs::create_directory(temporary);
    const fs::path program = programFolder / u8"Losfix2.0.exe";
    std::ofstream(program) << "MZ";
    // The installer may have left it read-only.
    ASSERT_TRUE(SetFileAttributesW(program.c_str(), FILE_ATTRIBUTE_READONLY));

    ASSERT_TRUE(StartUpdateBatch(files, Utf8FromPath(program), Utf8FromPath(temporary)));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((fs::exists(programFolder) || !fs::is_empty(temporary)) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_FALSE(fs::exists(program));
    EXPECT_FALSE(fs::exists(programFolder));
    // The batch deleted itself, and no "uis*.tmp" is left.
    for (const auto& entry : fs::directory_iterator(temporary)) {
        ADD_FAILURE() << "left behind: " << Utf8FromPath(entry.path());
    }
}

TEST_F(WindowsFilesTest, NoBatchForAPathOutsideItsCodePage) {
    const fs::path temporary = root_ / u8"Temp";
    fs::create_directory(temporary);
    EXPECT_FALSE(StartUpdateBatch(files, Utf8FromPath(root_ / u8"Łódź" / u8"Losfix2.0.exe"),
                                  Utf8FromPath(temporary)));
    EXPECT_TRUE(fs::is_empty(temporary));
}

}  // namespace
}  // namespace losfix
