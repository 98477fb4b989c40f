#include "editor/core/SystemErrorText.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(SystemErrorText, CommonErrorsAreJapaneseAndOthersNameTheirNumber)
{
    EXPECT_EQ(SystemErrorText(ENOENT), "ファイルまたはフォルダがありません");
    EXPECT_EQ(SystemErrorText(ENOSPC), "ディスクの空き容量が足りません");
    EXPECT_EQ(SystemErrorText(99999), "システムエラー 99999");
}
