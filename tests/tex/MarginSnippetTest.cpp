#include "tex/MarginSnippet.h"

#include <gtest/gtest.h>

namespace {

using namespace MarginSnippet;

TEST(MarginSnippet, CheckedSettingsGiveOneLineEachInTheFixedOrderWithCrLf)
{
    Values values;
    EXPECT_EQ(Build(values), "");
    values[LeftMargin] = {true, 25};
    EXPECT_EQ(Build(values), "\\setlength{\\oddsidemargin}{25mm}\r\n");
    values[LeftMargin] = {false, 25};
    values[TopMargin] = {true, -5};
    values[FooterMargin] = {true, 10};
    values[HeaderHeight] = {true, 0};
    EXPECT_EQ(Build(values),
              "\\setlength{\\footskip}{10mm}\r\n"
              "\\setlength{\\headheight}{0mm}\r\n"
              "\\setlength{\\topmargin}{-5mm}\r\n");
}

TEST(MarginSnippet, EveryLineIsValidTexAndTheTwoWithoutALengthAreComments)
{
    Values values;
    for (Value& v : values)
        v = {true, 7};
    const std::string text = Build(values);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 10u);
    // The bottom margin first, the top margin last.
    EXPECT_EQ(lines[0].rfind("% 下余白 7mm", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("% フッターの高さ 7mm", 0), 0u) << lines[1];
    for (std::size_t i = 2; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("\\setlength{\\", 0), 0u) << lines[i];
        EXPECT_EQ(lines[i].find("{}"), std::string::npos) << lines[i];
        EXPECT_TRUE(lines[i].ends_with("}{7mm}")) << lines[i];
    }
    EXPECT_EQ(lines[9], "\\setlength{\\topmargin}{7mm}");
}

}  // namespace
