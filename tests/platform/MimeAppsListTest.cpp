#include "platform/MimeAppsList.h"

#include <gtest/gtest.h>

#include <string>

using namespace MimeAppsList;

TEST(MimeAppsList, DefaultIsReadOnlyFromTheDefaultSection)
{
    const std::string text = "[Added Associations]\ntext/x-tex=other.desktop;\n"
                             "[Default Applications]\n text/x-tex = scrivlet.desktop; \ntext/plain=x.desktop\n";
    EXPECT_EQ(DefaultFor(text, "text/x-tex"), "scrivlet.desktop;");
    EXPECT_EQ(DefaultFor("[Added Associations]\ntext/x-tex=a.desktop\n", "text/x-tex"), "");
    EXPECT_EQ(DefaultFor("[Default Applications]\ntext/x-tex=\n", "text/x-tex"), "");
    EXPECT_EQ(DefaultFor("", "text/x-tex"), "");
}

TEST(MimeAppsList, OnThenOffGivesBackEveryOtherByte)
{
    // A damaged line, CR LF ends, another section after it and no final
    // line break: none of it may change.
    const std::string text = "[Default Applications]\r\n\x01garbage without equals\r\ntext/html=firefox.desktop\r\n"
                             "[Removed Associations]\r\ntext/x-tex=old.desktop";
    const std::string on = SetDefault(text, "text/x-tex", "scrivlet.desktop");
    EXPECT_EQ(on, "[Default Applications]\r\ntext/x-tex=scrivlet.desktop;\r\n\x01garbage without equals\r\n"
                  "text/html=firefox.desktop\r\n[Removed Associations]\r\ntext/x-tex=old.desktop");
    EXPECT_EQ(DefaultFor(on, "text/x-tex"), "scrivlet.desktop;");
    EXPECT_EQ(RemoveDefault(on, "text/x-tex"), text);
}

TEST(MimeAppsList, SetReplacesAnotherProgramsDefaultAndAddsTheSectionWhenMissing)
{
    EXPECT_EQ(SetDefault("[Default Applications]\ntext/x-tex=texstudio.desktop\ntext/x-tex=dup.desktop\n", "text/x-tex",
                         "scrivlet.desktop"),
              "[Default Applications]\ntext/x-tex=scrivlet.desktop;\n");
    EXPECT_EQ(SetDefault("", "text/x-tex", "s.desktop"), "[Default Applications]\ntext/x-tex=s.desktop;\n");
    EXPECT_EQ(SetDefault("[Added Associations]\na=b", "text/x-tex", "s.desktop"),
              "[Added Associations]\na=b\n[Default Applications]\ntext/x-tex=s.desktop;\n");
    EXPECT_EQ(SetDefault("[Default Applications]", "text/x-tex", "s.desktop"),
              "[Default Applications]\ntext/x-tex=s.desktop;\n");
    EXPECT_EQ(RemoveDefault("[Default Applications]\ntext/x-tex=s.desktop;", "text/x-tex"), "[Default Applications]\n");
}
