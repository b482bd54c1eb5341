// How the text view lays a text out: lines, tab columns, the pieces it paints and copies.
#include "ui/models/uTextViewLines.h"

#include <gtest/gtest.h>

namespace {

TEST(TextViewLines, LinesAndColumnsCountCharactersWithTabsToTheNextStop)
{
    TTextViewLines lines;
    lines.Assign("ab\tc\r\n\u00E9\u2502x\r\n");
    ASSERT_EQ(3u, lines.LineCount()) << "a last line break opens an empty line";
    EXPECT_EQ(9u, lines.WidestColumns());
    EXPECT_EQ(4u, lines.LineLength(0));
    EXPECT_EQ(3u, lines.LineLength(1));
    EXPECT_EQ((TTextPosition{2, 0}), lines.End());

    EXPECT_EQ(8u, lines.ColumnOf(0, 3));
    EXPECT_EQ(2u, lines.IndexAt(0, 5)) << "inside the tab";
    EXPECT_EQ(3u, lines.IndexAt(0, 8));
    EXPECT_EQ(4u, lines.IndexAt(0, 40)) << "past the end";
    EXPECT_EQ(2u, lines.ColumnOf(1, 2)) << "characters, not bytes";

    TTextViewLines single;
    single.Assign("");
    EXPECT_EQ(1u, single.LineCount());
    EXPECT_EQ(u"", single.Display(0, 0, 10));
}

TEST(TextViewLines, DisplayShowsTheColumnsInSightAndSliceCopiesAcrossLines)
{
    TTextViewLines lines;
    lines.Assign("ab\tc\r\n\u00E9\u2502x\r\nlast");
    EXPECT_EQ(u"ab      c", lines.Display(0, 0, 20));
    EXPECT_EQ(u"   c", lines.Display(0, 5, 20)) << "from the middle of the tab";
    EXPECT_EQ(u"b ", lines.Display(0, 1, 2));
    EXPECT_EQ(u"\u2502x", lines.Display(1, 1, 5));

    EXPECT_EQ("c\r\n\u00E9", lines.Slice({0, 3}, {1, 1}));
    EXPECT_EQ("c\r\n\u00E9", lines.Slice({1, 1}, {0, 3})) << "either order";
    EXPECT_EQ(lines.Text(), lines.Slice({}, lines.End()));
}

} // namespace
