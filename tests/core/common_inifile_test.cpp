#include <gtest/gtest.h>

#include <string>

#include "core/common/Error.h"
#include "core/common/IniFile.h"
#include "support/core/MemoryFileSystem.h"

namespace losfix {
namespace {

using testing::MemoryFileSystem;

const std::string kPath = "/data/Einstellungen/einstellungen.ini";

class IniFileTest : public ::testing::Test {
protected:
    std::string& content() { return files.files[kPath]; }

    MemoryFileSystem files;
    IniFile ini{files, kPath};
};

TEST_F(IniFileTest, SectionsAndKeysIgnoreLetterCase) {
    content() = "[Losfix]\r\nMenge=7\r\n[FENSTER]\r\nbreite=900\r\n";
    EXPECT_EQ(ini.readInteger("losfix", "MENGE", 5), 7);
    EXPECT_EQ(ini.readInteger("Fenster", "Breite", 1078), 900);
    ini.writeInteger("fenster", "BREITE", 1000);
    // The existing line is updated in place, keeping the spelling found in the file.
    EXPECT_EQ(content(), "[Losfix]\r\nMenge=7\r\n[FENSTER]\r\nbreite=1000\r\n");
}

TEST_F(IniFileTest, ValuesAreTrimmedAndTakeEverythingAfterTheFirstEquals) {
    content() =
        "[S]\r\n"
        "  Key  =  some text  \r\n"
        "Eq=a=b\r\n"
        "Empty=\r\n"
        "\tTabbed\t=\t12\t\r\n";
    EXPECT_EQ(ini.readString("S", "Key", "d"), "some text");
    EXPECT_EQ(ini.readString("S", "Eq", "d"), "a=b");
    EXPECT_EQ(ini.readString("S", "Empty", "d"), "");  // present but empty: not the default
    EXPECT_EQ(ini.readInteger("S", "Tabbed", 0), 12);
}

TEST_F(IniFileTest, IntegersDecimalOrHexElseTheDefault) {
    content() =
        "[N]\r\nplain=42\r\nneg=-17\r\nplus=+8\r\nhex=0x1F\r\nHEX=0XfF\r\nallbits=0xFFFFFFFF\r\n"
        "dollar=$1F\r\nword=abc\r\ntail=12a\r\nempty=\r\nbig=2147483648\r\nbarehex=0x\r\n"
        "neghex=-0x10\r\nspaced=1 2\r\n";
    EXPECT_EQ(ini.readInteger("N", "plain", -1), 42);
    EXPECT_EQ(ini.readInteger("N", "neg", -1), -17);
    EXPECT_EQ(ini.readInteger("N", "plus", -1), 8);
    EXPECT_EQ(ini.readInteger("N", "hex", -1), 31);
    EXPECT_EQ(ini.readInteger("N", "allbits", 5), -1);
    for (const char* key :
         {"dollar", "word", "tail", "empty", "big", "barehex", "neghex", "spaced", "missing"}) {
        EXPECT_EQ(ini.readInteger("N", key, 77), 77) << key;
    }
    EXPECT_EQ(ini.readInteger("Other", "plain", 3), 3);
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndExistsIsFalse) {
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.readInteger("Fenster", "Breite", 1078), 1078);
    EXPECT_EQ(ini.readString("Losfix", "Reihen", "12"), "12");
    EXPECT_FALSE(ini.exists());  // reading creates nothing
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
    content() = "[A]\r\nx=1\r\n";
    EXPECT_EQ(ini.readInteger("A", "x", 0), 1);
    content() = "[A]\r\nx=2\r\n";
    EXPECT_EQ(ini.readInteger("A", "x", 0), 2);
}

TEST_F(IniFileTest, KeysOutsideTheirSectionAndCommentsDoNotCount) {
    content() =
        "x=0\r\n"
        "[A]\r\n"
        ";x=1\r\n"
        "y=2\r\n"
        "[B]\r\n"
        "x=3\r\n";
    EXPECT_EQ(ini.readInteger("A", "x", 9), 9);
    EXPECT_EQ(ini.readInteger("B", "x", 9), 3);
    EXPECT_EQ(ini.readInteger("A", "y", 9), 2);
}

TEST_F(IniFileTest, FirstOfRepeatedSectionsAndKeysCounts) {
    content() = "[A]\r\nx=1\r\nx=2\r\n[A]\r\nx=3\r\nz=4\r\n";
    EXPECT_EQ(ini.readInteger("A", "x", 0), 1);
    EXPECT_EQ(ini.readInteger("A", "z", 0), 0);
}

TEST_F(IniFileTest, WritesKeepOtherSectionsKeysCommentsAndOrder) {
    content() =
        "; Losfix\r\n"
        "[Fenster]\r\n"
        "Breite=900\r\n"
        "; Kommentar\r\n"
        "\r\n"
        "[Losfix]\r\n"
        "Menge=3\r\n";
    ini.writeInteger("Fenster", "Breite", 1227);
    ini.writeInteger("Fenster", "Hoehe", 700);   // new key: end of its section
    ini.writeString("Wach", "Stand", "12,50");   // new section: end of the file
    ini.writeString("Losfix", "Reihen", "120");  // new key in the last section
    EXPECT_EQ(content(),
              "; Losfix\r\n"
              "[Fenster]\r\n"
              "Breite=1227\r\n"
              "; Kommentar\r\n"
              "Hoehe=700\r\n"
              "\r\n"
              "[Losfix]\r\n"
              "Menge=3\r\n"
              "Reihen=120\r\n"
              "[Wach]\r\n"
              "Stand=12,50\r\n");
}

TEST_F(IniFileTest, FirstCloseOfTheMainWindowGivesTheKnownFile) {
    ini.writeInteger("Fenster", "Breite", 1078);
    EXPECT_TRUE(ini.exists());  // the first write creates the file
    ini.writeInteger("Fenster", "Hoehe", 674);
    ini.writeInteger("Losfix", "Zahlen", 3);
    ini.writeInteger("Losfix", "Menge", 5);
    ini.writeInteger("Losfix", "Kongruenz", 2);
    ini.writeString("Losfix", "Reihen", "120");
    ini.writeString("Wach", "Stand", "0");
    EXPECT_EQ(content(),
              "[Fenster]\r\nBreite=1078\r\nHoehe=674\r\n[Losfix]\r\nZahlen=3\r\nMenge=5\r\n"
              "Kongruenz=2\r\nReihen=120\r\n[Wach]\r\nStand=0\r\n");
    EXPECT_EQ(files.writeCount, 7);  // every value saved at once
}

TEST_F(IniFileTest, RefusedWriteThrowsAndKeepsTheOldContent) {
    content() = "[A]\r\nx=1\r\n";
    files.unwritable.insert(kPath);
    try {
        ini.writeInteger("A", "x", 2);
        FAIL() << "write to an unwritable file succeeded";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "In " + kPath + " kann nicht geschrieben werden");
    }
    EXPECT_EQ(content(), "[A]\r\nx=1\r\n");
    EXPECT_EQ(ini.readInteger("A", "x", 0), 1);
}

TEST_F(IniFileTest, UnreadableFileIsNotOverwritten) {
    content() = "[A]\r\nx=1\r\ny=2\r\n";
    files.unreadable.insert(kPath);
    EXPECT_EQ(ini.readInteger("A", "x", 0), 0);
    // Writing would otherwise replace the whole file by this one key.
    EXPECT_THROW(ini.writeInteger("A", "x", 5), Error);
    EXPECT_EQ(content(), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST_F(IniFileTest, FileInOtherEncodingsIsReadAndRewrittenInWindows1252) {
    // UTF-8 with mark, LF only, as an editor might leave it.
    content() = "\xEF\xBB\xBF[Wach]\nStand=5 \xE2\x82\xAC\n";
    EXPECT_EQ(ini.readString("Wach", "Stand", ""), "5 €");
    ini.writeString("Losfix", "Reihen", "Größe");
    EXPECT_EQ(content(),
              "[Wach]\r\nStand=5 \x80\r\n[Losfix]\r\nReihen=Gr\xF6\xDF"
              "e\r\n");
    EXPECT_EQ(ini.readString("Losfix", "Reihen", ""), "Größe");
}

TEST_F(IniFileTest, FileBeginningLikeAByteOrderMarkKeepsItsValuesAfterAWrite) {
    // A UTF-8 file whose first line is "ÿþ": in Windows-1252 those are the bytes FF FE, and the
    // rewritten file would read as UTF-16, every value gone.
    content() = "\xEF\xBB\xBFÿþ\n[Fenster]\nBreite=1200\n[Losfix]\nReihen=Größe\n";
    ini.writeInteger("Fenster", "Hoehe", 700);
    EXPECT_EQ(ini.readInteger("Fenster", "Breite", 1078), 1200);
    EXPECT_EQ(ini.readInteger("Fenster", "Hoehe", 674), 700);
    EXPECT_EQ(ini.readString("Losfix", "Reihen", ""), "Größe");
    // Written in UTF-8 behind its mark, the next write reads and keeps it all again.
    ini.writeString("Wach", "Stand", "5");
    EXPECT_EQ(content(),
              "\xEF\xBB\xBFÿþ\r\n[Fenster]\r\nBreite=1200\r\nHoehe=700\r\n[Losfix]\r\n"
              "Reihen=Größe\r\n[Wach]\r\nStand=5\r\n");
}

TEST_F(IniFileTest, LineBreaksInAValueCannotInjectEntries) {
    ini.writeString("Losfix", "Reihen", "12\r\n[Fenster]\nBreite=1");
    EXPECT_EQ(ini.readInteger("Fenster", "Breite", 1078), 1078);
    EXPECT_EQ(ini.readString("Losfix", "Reihen", ""), "12  [Fenster] Breite=1");
}

}  // namespace
}  // namespace losfix
