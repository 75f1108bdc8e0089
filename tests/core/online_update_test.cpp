#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/common/Error.h"
#include "core/online/UpdateScript.h"
#include "core/online/VersionInfo.h"
#include "support/core/MemoryFileSystem.h"

namespace losfix {
namespace {

// One 24-byte record: eight bytes of filler, the length byte, the text padded to 15 bytes.
std::string Record(const std::string& text, int lengthByte = -1) {
    std::string record(8, '\x07');
    record += static_cast<char>(lengthByte < 0 ? static_cast<int>(text.size()) : lengthByte);
    record += text;
    record.resize(kVersionRecordSize, '#');
    return record;
}

// The record layout; the usual cases run against a real server in the platform tests.
TEST(VersionInfoTest, RecordEdges) {
    EXPECT_EQ(LastVersionRecord(Record("1.4.0.0") + Record("1.6.0.0")), "1.6.0.0");
    // A length byte above 15 reads the 15 bytes there are; the text is Windows-1252.
    EXPECT_EQ(LastVersionRecord(Record("2.0.0.0", 200)), "2.0.0.0########");
    EXPECT_EQ(LastVersionRecord(Record("1.5 \xDF")), "1.5 ß");
    EXPECT_EQ(LastVersionRecord(Record("1.5.0.0").substr(0, 23)), std::nullopt);
    // Exact comparison: only the installed text itself is no update.
    EXPECT_FALSE(DiffersFromInstalled("1.5.0.0"));
    for (const char* other : {"1.4.9.0", "1.5.0.0 ", "1.5.0", ""}) {
        EXPECT_TRUE(DiffersFromInstalled(other)) << other;
    }
    // A later check keeps the installation allowed.
    EXPECT_EQ(AfterVersionCheck({"1.6.0.0", true, true}, "1.5.0.0"),
              (UpdateWindowState{"1.5.0.0", false, true}));
    testing::MemoryFileSystem files;
    EXPECT_THROW(ReadVersionFile(files, "/b/missing.lfx"), Error);
}

TEST(VersionInfoTest, InstallationTexts) {
    const std::string folder = "C:\\Users\\Jörg\\AppData\\Roaming\\Losfix 2.0\\";
    EXPECT_EQ(InstallConfirmationText(folder),
              "Um die Installation durchführen zu können, muss das Programm jetzt geschlossen "
              "werden. Die Programm-Datei wird gelöscht und das Update gestartet. Wenn etwas "
              "schief läuft, bitte das Update manuell durch Doppelklick auf die Datei "
              "\"Update.exe\" im Verzeichnis C:\\Users\\Jörg\\AppData\\Roaming\\Losfix 2.0\\ "
              "starten.\r\rSoll fortgefahren werden?");
    EXPECT_EQ(InstallDeclinedText(folder),
              "Installation wurde auf Ihren Wunsch abgebrochen. Sie  könnnen das Update manuell "
              "durch Doppelklick auf die Datei \"Update.exe\" im Verzeichnis "
              "C:\\Users\\Jörg\\AppData\\Roaming\\Losfix 2.0\\ starten.\r\rZuvor muss das "
              "Programm geschlossen und die Datei \"Losfix2.0.exe\" im Programmpfad gelöscht "
              "werden.");
    EXPECT_EQ(InstallerNotStartedText(folder),
              "Update konnte nicht gestartet werden. Bitte schließen Sie das Programm und starten "
              "Sie das Update manuell durch Doppelklick auf die Datei \"Update.exe\" im "
              "Verzeichnis C:\\Users\\Jörg\\AppData\\Roaming\\Losfix 2.0\\.");
}

TEST(UpdateScriptTest, WindowsBatchByteForByte) {
    const std::string batch = WindowsUpdateBatch("C:\\Program Files\\Losfix Größe\\Losfix2.0.exe",
                                                 "C:\\Users\\Jörg Maß\\Temp\\uis4F2A.bat");
    EXPECT_EQ(batch,
              ":Label1\r\n"
              "del \"C:\\Program Files\\Losfix Gr\xF6\xDF"
              "e\\Losfix2.0.exe\"\r\n"
              "if Exist \"C:\\Program Files\\Losfix Gr\xF6\xDF"
              "e\\Losfix2.0.exe\" goto Label1\r\n"
              "rmdir \"C:\\Program Files\\Losfix Gr\xF6\xDF"
              "e\\\"\r\n"
              "del \"C:\\Users\\J\xF6rg Ma\xDF\\Temp\\uis4F2A.bat\"\r\n");
    EXPECT_TRUE(FitsBatchCodePage("C:\\Jörg\\Maß €"));
    EXPECT_FALSE(FitsBatchCodePage("C:\\Łódź\\Losfix2.0.exe"));
}

TEST(UpdateScriptTest, LinuxScriptByteForByte) {
    EXPECT_EQ(ShellQuote("it's"), "'it'\\''s'");
    const std::string script =
        LinuxUpdateScript("/home/jörg/Losfix 2.0/it's losfix", "/tmp/uis Ü.sh");
    EXPECT_EQ(script,
              "#!/bin/sh\n"
              "program='/home/jörg/Losfix 2.0/it'\\''s losfix'\n"
              "folder='/home/jörg/Losfix 2.0'\n"
              "tries=0\n"
              "while [ -e \"$program\" ] && [ \"$tries\" -lt 60 ]; do\n"
              "    rm -f -- \"$program\"\n"
              "    [ -e \"$program\" ] || break\n"
              "    tries=$((tries + 1))\n"
              "    sleep 1\n"
              "done\n"
              "rmdir -- \"$folder\" 2>/dev/null\n"
              "rm -f -- '/tmp/uis Ü.sh'\n");
}

}  // namespace
}  // namespace losfix
