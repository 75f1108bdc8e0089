#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/CommaLine.h"

namespace losfix {
namespace {

using Items = std::vector<std::string>;

TEST(CommaLineWriteTest, QuotesOnlyWhereNeeded) {
    EXPECT_EQ(WriteCommaLine({"   1", "3", "17"}), "\"   1\",3,17");
    EXPECT_EQ(WriteCommaLine({"a,b"}), "\"a,b\"");
    EXPECT_EQ(WriteCommaLine({"say \"hi\""}), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(WriteCommaLine({"tab\there"}), "\"tab\there\"");
    EXPECT_EQ(WriteCommaLine({std::string("\x01")}), "\"\x01\"");
    EXPECT_EQ(WriteCommaLine({std::string("\x1F")}), "\"\x1F\"");
    // Characters above the blank need no quotes, umlauts included.
    EXPECT_EQ(WriteCommaLine({"Größe", "x!y", "\x7F"}), "Größe,x!y,\x7F");
}

TEST(CommaLineWriteTest, EmptyTextsContributeNothing) {
    EXPECT_EQ(WriteCommaLine({}), "");
    EXPECT_EQ(WriteCommaLine({""}), "");
    EXPECT_EQ(WriteCommaLine({"", "", ""}), ",,");
    // A generated row of six numbers: label, six numbers, ten empty columns.
    Items row = {"  12", "1", "2", "3", "4", "5", "6"};
    row.resize(17);
    EXPECT_EQ(WriteCommaLine(row), "\"  12\",1,2,3,4,5,6,,,,,,,,,,");
}

TEST(CommaLineReadTest, Separators) {
    EXPECT_EQ(ReadCommaLine("a,b,c"), (Items{"a", "b", "c"}));
    EXPECT_EQ(ReadCommaLine("a b  c"), (Items{"a", "b", "c"}));  // unquoted blanks separate
    EXPECT_EQ(ReadCommaLine("  a , b\t,c  "), (Items{"a", "b", "c"}));
    EXPECT_EQ(ReadCommaLine("a\x01"
                            "b"),
              (Items{"a", "b"}));  // any U+0001..U+0020
}

TEST(CommaLineReadTest, EmptyItems) {
    EXPECT_EQ(ReadCommaLine(""), Items{});
    EXPECT_EQ(ReadCommaLine("   "), Items{});
    EXPECT_EQ(ReadCommaLine(","), (Items{"", ""}));
    EXPECT_EQ(ReadCommaLine(",a"), (Items{"", "a"}));
    EXPECT_EQ(ReadCommaLine("a,"), (Items{"a", ""}));
    EXPECT_EQ(ReadCommaLine("a,,b"), (Items{"a", "", "b"}));
    // A comma followed only by blanks is not the last character: no extra item.
    EXPECT_EQ(ReadCommaLine("a, "), (Items{"a"}));
    EXPECT_EQ(ReadCommaLine("\"\",\"\""), (Items{"", ""}));
}

TEST(CommaLineReadTest, QuotedItems) {
    EXPECT_EQ(ReadCommaLine("\"  12\",1"), (Items{"  12", "1"}));
    EXPECT_EQ(ReadCommaLine("\"a,b\",c"), (Items{"a,b", "c"}));
    EXPECT_EQ(ReadCommaLine("\"say \"\"hi\"\"\""), (Items{"say \"hi\""}));
    // Text right after a closing quote starts the next item.
    EXPECT_EQ(ReadCommaLine("\"ab\"cd"), (Items{"ab", "cd"}));
    // A quote inside an unquoted item is an ordinary character.
    EXPECT_EQ(ReadCommaLine("ab\"cd,e"), (Items{"ab\"cd", "e"}));
}

TEST(CommaLineReadTest, UnclosedQuoteTakesTheRestOfTheLine) {
    EXPECT_EQ(ReadCommaLine("\"abc"), (Items{"abc"}));
    EXPECT_EQ(ReadCommaLine("1,\"a, b"), (Items{"1", "a, b"}));
    EXPECT_EQ(ReadCommaLine("\"a\"\"b"), (Items{"a\"b"}));
    EXPECT_EQ(ReadCommaLine("\"a\"\""), (Items{"a\""}));
    EXPECT_EQ(ReadCommaLine("\""), (Items{""}));
    EXPECT_EQ(ReadCommaLine("x,\""), (Items{"x", ""}));
}

TEST(CommaLineRoundTripTest, WrittenItemsReadBackUnchanged) {
    const std::vector<Items> cases = {
        {"  1", "5", "12", "49"},
        {"a,b", "c\"d", "e f", "\tg", "h\x01"},
        {"", "x", "", "y", ""},
        {"\"", "\"\"", ",", " "},
        {"Größe", "€ 5"},
        {"1", ""},
        {"", "1"},
        {"", ""},
    };
    for (const auto& items : cases) {
        EXPECT_EQ(ReadCommaLine(WriteCommaLine(items)), items) << WriteCommaLine(items);
    }
}

TEST(CommaLineRoundTripTest, RowOfSeventeenCellsKeepsItsShape) {
    Items row = {"   7", "3", "11", "19", "27", "35", "49"};
    row.resize(17);
    const std::string line = WriteCommaLine(row);
    int commas = 0;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            ++commas;
        }
    }
    EXPECT_EQ(commas, 16);
    EXPECT_EQ(ReadCommaLine(line), row);
}

TEST(CommaLineReadTest, StopsAfterTheItemsTheCallerKeeps) {
    const std::vector<std::string> lines = {"a,\"b,c\" d,,e,", ",,,,", "x", "", "\"open, q"};
    for (const std::string& line : lines) {
        const Items all = ReadCommaLine(line);
        for (std::size_t keep = 0; keep <= all.size() + 1; ++keep) {
            Items first(all.begin(),
                        all.begin() + static_cast<std::ptrdiff_t>(std::min(keep, all.size())));
            EXPECT_EQ(ReadCommaLine(line, keep), first) << line << " keep " << keep;
        }
    }
}

}  // namespace
}  // namespace losfix
