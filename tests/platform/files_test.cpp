#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

#include "core/common/Error.h"
#include "core/common/IniFile.h"
#include "platform/Files.h"
#include "platform/files_temporary_folder.h"

namespace losfix {
namespace {

namespace fs = std::filesystem;

class FilesTest : public TemporaryFolderTest {
protected:
    // UTF-8 both ways: a narrow std::string would be read in the ANSI code page on Windows.
    std::string path(const std::string& name) const {
        return Utf8FromPath(root_ / PathFromUtf8(name));
    }

    static std::string diskContent(const std::string& file) {
        return diskBytes(PathFromUtf8(file));
    }

    // Everything in the folder apart from the named files: left-over temporary files.
    int otherEntries(std::initializer_list<std::string> names) const {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(root_)) {
            const std::string name = entry.path().filename().string();
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                ++count;
            }
        }
        return count;
    }

    LocalFileSystem files;
};

TEST_F(FilesTest, WriteAndReadBackEveryByte) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    bytes += std::string(200000, 'x');  // more than one read buffer
    const std::string file = path("Reihen.lrei");
    ASSERT_TRUE(files.writeAtomic(file, bytes).ok);
    EXPECT_TRUE(files.exists(file));
    EXPECT_FALSE(files.isDirectory(file));

    std::string back;
    const FileResult result = files.readAll(file, back);
    ASSERT_TRUE(result.ok) << result.systemText;
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(otherEntries({"Reihen.lrei"}), 0);
}

TEST_F(FilesTest, EmptyFileAndUtf8Names) {
    const std::string file = path("Größe €.txt");
    ASSERT_TRUE(files.writeAtomic(file, "").ok);
    std::string back = "old";
    ASSERT_TRUE(files.readAll(file, back).ok);
    EXPECT_EQ(back, "");
    EXPECT_TRUE(fs::exists(root_ / fs::path(u8"Größe €.txt")));
}

TEST_F(FilesTest, WriteAtomicReplacesTheWholeFile) {
    const std::string file = path("a.ini");
    ASSERT_TRUE(files.writeAtomic(file, "a much longer old content\r\n").ok);
    ASSERT_TRUE(files.writeAtomic(file, "new").ok);
    EXPECT_EQ(diskContent(file), "new");
    EXPECT_EQ(otherEntries({"a.ini"}), 0);
}

TEST_F(FilesTest, MissingFileAndMissingFolderHaveTheirOwnTexts) {
    std::string bytes = "kept";
    FileResult result = files.readAll(path("none.lrei"), bytes);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.systemText, "Das System kann die angegebene Datei nicht finden");
    EXPECT_EQ(bytes, "kept");

    result = files.readAll(path("nofolder/none.lrei"), bytes);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.systemText, "Das System kann den angegebenen Pfad nicht finden");
}

TEST_F(FilesTest, ReadingAFolderIsRefused) {
    std::string bytes;
    const FileResult result = files.readAll(Utf8FromPath(root_), bytes);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.systemText, "Zugriff verweigert");
}

TEST_F(FilesTest, WriteIntoMissingFolderFailsInGerman) {
    const FileResult result = files.writeAtomic(path("missing/a.lrei"), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.systemText, "Das System kann den angegebenen Pfad nicht finden");
    EXPECT_FALSE(fs::exists(root_ / "missing"));
}

TEST_F(FilesTest, WriteOverAFolderFailsAndLeavesNothingBehind) {
    ASSERT_TRUE(fs::create_directory(root_ / "Reihen"));
    fs::path inside = root_ / "Reihen" / "keep.txt";
    std::ofstream(inside) << "keep";
    const FileResult result = files.writeAtomic(path("Reihen"), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.systemText.empty());
    EXPECT_TRUE(fs::is_directory(root_ / "Reihen"));
    EXPECT_EQ(diskContent(inside.string()), "keep");
    EXPECT_EQ(otherEntries({"Reihen"}), 0);  // the temporary file is gone
}

#ifndef _WIN32
// A file-size limit makes the write itself fail half way: the old file must survive whole.
TEST_F(FilesTest, FailedWriteLeavesTheOldFile) {
    const std::string file = path("einstellungen.ini");
    ASSERT_TRUE(files.writeAtomic(file, "[A]\r\nx=1\r\n").ok);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileResult result = files.writeAtomic(file, std::string(100000, 'y'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.systemText.empty());
    EXPECT_EQ(diskContent(file), "[A]\r\nx=1\r\n");
    EXPECT_EQ(otherEntries({"einstellungen.ini"}), 0);
}
#endif

#ifndef _WIN32
// Windows keeps a read-only flag instead, and refuses to replace such a file.
TEST_F(FilesTest, WriteKeepsThePermissionsOfTheOldFile) {
    const std::string file = path("quick.whl");
    ASSERT_TRUE(files.writeAtomic(file, "1").ok);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(files.writeAtomic(file, "2").ok);
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(diskContent(file), "2");
}
#endif

#ifndef _WIN32
TEST_F(FilesTest, APrivateFolderIsTheUsersAlone) {
    const auto mode = [](const std::string& folder) {
        return fs::symlink_status(folder).permissions() & fs::perms::all;
    };
    // Created closed to others, whatever the process allows by default.
    const mode_t umaskBefore = ::umask(0);
    const std::string created = path("losfix/");
    EXPECT_TRUE(PreparePrivateFolder(created));
    ::umask(umaskBefore);
    EXPECT_EQ(mode(created), fs::perms::owner_all);
    EXPECT_TRUE(PreparePrivateFolder(created));  // there already

    // Open to others, or not a real folder: not used, and left as it is.
    const std::string open = path("offen");
    fs::create_directory(open);
    fs::permissions(open, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_FALSE(PreparePrivateFolder(open));
    EXPECT_EQ(mode(open), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    const std::string link = path("verweis");
    fs::create_directory_symlink(created, link);
    EXPECT_FALSE(PreparePrivateFolder(link));
    std::ofstream(root_ / "datei") << "x";
    EXPECT_FALSE(PreparePrivateFolder(path("datei")));
    EXPECT_FALSE(PreparePrivateFolder(path("fehlt/losfix")));

    // Another user's folder, however closed (only root can make one here).
    if (::geteuid() == 0) {
        const std::string foreign = path("fremd");
        ASSERT_TRUE(PreparePrivateFolder(foreign));
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        EXPECT_FALSE(PreparePrivateFolder(foreign));
    }
}
#endif

TEST_F(FilesTest, CreateDirectoryOneLevel) {
    const std::string folder = path("Losfix 2.0/");
    EXPECT_TRUE(files.createDirectory(folder).ok);
    EXPECT_TRUE(files.isDirectory(folder));
    EXPECT_TRUE(files.createDirectory(folder).ok);  // already there: still fine
    EXPECT_TRUE(files.createDirectory(path("Losfix 2.0")).ok);

    const FileResult deeper = files.createDirectory(path("a/b/"));
    EXPECT_FALSE(deeper.ok);
    EXPECT_EQ(deeper.systemText, "Das System kann den angegebenen Pfad nicht finden");

    std::ofstream(root_ / "file") << "x";
    const FileResult overFile = files.createDirectory(path("file"));
    EXPECT_FALSE(overFile.ok);
    EXPECT_EQ(overFile.systemText, "Die Datei ist bereits vorhanden");
}

TEST_F(FilesTest, IniFileOnDisk) {
    const std::string file = path("einstellungen.ini");
    IniFile ini(files, file);
    EXPECT_FALSE(ini.exists());
    ini.writeInteger("Fenster", "Breite", 1078);
    ini.writeString("Wach", "Stand", "12,50 €");
    ini.writeInteger("fenster", "HOEHE", 0x2A2);
    EXPECT_TRUE(ini.exists());
    EXPECT_EQ(diskContent(file),
              "[Fenster]\r\nBreite=1078\r\nHOEHE=674\r\n[Wach]\r\nStand=12,50 \x80\r\n");

    IniFile again(files, file);
    EXPECT_EQ(again.readInteger("FENSTER", "breite", 0), 1078);
    EXPECT_EQ(again.readInteger("Fenster", "Hoehe", 0), 674);
    EXPECT_EQ(again.readString("Wach", "Stand", ""), "12,50 €");
    EXPECT_EQ(otherEntries({"einstellungen.ini"}), 0);
}

TEST_F(FilesTest, IniFileInMissingFolderThrowsWithItsPath) {
    const std::string file = path("gone/einstellungen.ini");
    IniFile ini(files, file);
    try {
        ini.writeInteger("Fenster", "Breite", 1078);
        FAIL() << "write into a missing folder succeeded";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "In " + file + " kann nicht geschrieben werden");
    }
}

TEST(SystemErrorTextTest, GermanTextsForCommonReasons) {
    EXPECT_EQ(SystemErrorText(ENOENT), "Das System kann die angegebene Datei nicht finden");
    EXPECT_EQ(SystemErrorText(ENOTDIR), "Das System kann den angegebenen Pfad nicht finden");
    EXPECT_EQ(SystemErrorText(EACCES), "Zugriff verweigert");
    EXPECT_EQ(SystemErrorText(EPERM), "Zugriff verweigert");
    EXPECT_EQ(SystemErrorText(EISDIR), "Zugriff verweigert");
    EXPECT_EQ(SystemErrorText(EROFS), "Das Medium ist schreibgeschützt");
    EXPECT_EQ(SystemErrorText(ENOSPC),
              "Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden");
    EXPECT_EQ(SystemErrorText(ENAMETOOLONG), "Der Dateiname oder die Erweiterung ist zu lang");
    EXPECT_EQ(SystemErrorText(EEXIST), "Die Datei ist bereits vorhanden");
    EXPECT_EQ(SystemErrorText(EMFILE), "Das System kann die Datei nicht öffnen");
    EXPECT_FALSE(SystemErrorText(EIO).empty());
}

}  // namespace
}  // namespace losfix
