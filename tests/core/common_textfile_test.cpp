#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/FileSystem.h"
#include "core/common/TextFile.h"

namespace losfix {
namespace {

using Lines = std::vector<std::string>;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

TEST(TextDecodeTest, ByteOrderMarks) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "a\xC3\xA4"),
              "aä");
    // UTF-16 LE "aä€"
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 'a', 0, 0xE4, 0, 0xAC, 0x20})), "aä€");
    // UTF-16 BE "aä€"
    EXPECT_EQ(DecodeText(Bytes({0xFE, 0xFF, 0, 'a', 0, 0xE4, 0x20, 0xAC})), "aä€");
    // A surrogate pair: U+1F600 is D83D DE00.
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE})), "\xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeText(Bytes({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00})), "\xF0\x9F\x98\x80");
    // The mark alone is an empty text.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"), "");
    EXPECT_EQ(DecodeText("\xFF\xFE"), "");
}

TEST(TextDecodeTest, WithoutMarkTheBytesAreWindows1252) {
    EXPECT_EQ(DecodeText("Gr\xF6\xDF"
                         "e \x80 \x84x\x93"),
              "Größe € „x“");
    // Undefined bytes stand for the C1 code points of the same number.
    EXPECT_EQ(DecodeText("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    // UTF-8 without a mark is taken byte by byte, as the system does.
    EXPECT_EQ(DecodeText("\xC3\xA4"), "Ã¤");
}

TEST(TextDecodeTest, BrokenInputGivesReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    // Odd trailing byte in UTF-16.
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 'a', 0, 'b'})), "a" + fffd);
    // Unpaired surrogates, high at the end and low alone.
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 0x3D, 0xD8})), fffd);
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 0x00, 0xDE, 'a', 0})), fffd + "a");
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0})), fffd + "a");
    // Malformed UTF-8: a stray continuation byte, a cut sequence, an overlong form, a surrogate.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "a\x80"
                         "b"),
              "a" + fffd + "b");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "a\xE2\x82"),
              "a" + fffd);
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xC0\xAF"), fffd + fffd);
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xED\xA0\x80"), fffd + fffd + fffd);
    // A cut sequence does not swallow the character after it.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF\xC3"
                         "a"),
              fffd + "a");
}

TEST(TextSplitTest, AllLineEnds) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("a\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("a\r"), (Lines{"a"}));
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    // LF CR is two breaks, CR CR LF too.
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("no break"), (Lines{"no break"}));
}

TEST(TextSplitTest, LinesOfEveryEncoding) {
    EXPECT_EQ(ReadTextLines("\xEF\xBB\xBF"
                            "1\r\n2\n"),
              (Lines{"1", "2"}));
    EXPECT_EQ(ReadTextLines(Bytes({0xFF, 0xFE, '1', 0, '\r', 0, '\n', 0, 0xE4, 0, '\r', 0})),
              (Lines{"1", "ä"}));
    EXPECT_EQ(ReadTextLines(Bytes({0xFE, 0xFF, 0, '1', 0, '\n', 0, '2'})), (Lines{"1", "2"}));
    EXPECT_EQ(ReadTextLines("x\xE4\ry"), (Lines{"xä", "y"}));
}

TEST(TextWriteTest, Windows1252WithCrLfAfterEveryLine) {
    EXPECT_EQ(WriteTextLines({}), "");
    EXPECT_EQ(WriteTextLines({""}), "\r\n");
    EXPECT_EQ(WriteTextLines({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(WriteTextLines({"ä €", "ß"}), "\xE4 \x80\r\n\xDF\r\n");
}

TEST(TextWriteTest, UnrepresentableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("a\xF0\x9F\x98\x80"
                           "b"),
              "a?b");  // outside the BMP
    EXPECT_EQ(Utf8ToCp1252("Ω"), "?");
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");     // C1 control U+0080 has no byte of its own
    EXPECT_EQ(Utf8ToCp1252("\xC2\x81"), "\x81");  // but the undefined ones map back
    EXPECT_EQ(Utf8ToCp1252("a\xFF"
                           "b"),
              "a?b");  // malformed UTF-8
    EXPECT_EQ(Utf8ToCp1252("a\xE2\x82"), "a?");
}

TEST(TextWriteTest, EveryWindows1252ByteRoundTrips) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    // And through a file without a mark.
    const Lines lines = {"Größe ä € ‚ ‹ Ÿ", "žŽ™"};
    EXPECT_EQ(ReadTextLines(WriteTextLines(lines)), lines);
}

TEST(TextWriteTest, TextBeginningLikeAByteOrderMarkReadsBackUnchanged) {
    // "ï»¿", "ÿþ" and "þÿ" are the marks' bytes in Windows-1252.
    for (const std::string first : {"ï»¿", "ÿþ", "þÿ", "ÿþ1,2"}) {
        const Lines lines = {first, "Größe €"};
        const std::string bytes = WriteTextLines(lines);
        EXPECT_EQ(bytes, "\xEF\xBB\xBF" + first + "\r\nGröße €\r\n") << first;
        EXPECT_EQ(ReadTextLines(bytes), lines) << first;
    }
    // Anything else stays Windows-1252 without a mark, even such a text on a later line.
    EXPECT_EQ(WriteTextLines({"ÿ", "þÿ"}), "\xFF\r\n\xFE\xFF\r\n");
    EXPECT_EQ(WriteTextLines({"ï»"}), "\xEF\xBB\r\n");
}

TEST(FilePathTest, NameAndFolderWithBothSeparators) {
    EXPECT_EQ(FileNameOf("/home/u/Reihen/a.lrei"), "a.lrei");
    EXPECT_EQ(FolderOf("/home/u/Reihen/a.lrei"), "/home/u/Reihen/");
    EXPECT_EQ(FileNameOf("C:\\Daten\\b.lrei"), "b.lrei");
    EXPECT_EQ(FolderOf("C:\\Daten\\b.lrei"), "C:\\Daten\\");
    EXPECT_EQ(FileNameOf("C:/x\\y/c.whl"), "c.whl");
    EXPECT_EQ(FolderOf("C:/x\\y/c.whl"), "C:/x\\y/");
    EXPECT_EQ(FileNameOf("plain.txt"), "plain.txt");
    EXPECT_EQ(FolderOf("plain.txt"), "");
    EXPECT_EQ(FileNameOf("folder/"), "");
    EXPECT_EQ(FolderOf("folder/"), "folder/");
}

}  // namespace
}  // namespace losfix
