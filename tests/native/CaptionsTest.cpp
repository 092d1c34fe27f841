#include "core/Captions.h"

#include <gtest/gtest.h>

TEST(Captions, ShowThePositionOneBasedAndTheCount) {
  EXPECT_EQ(ViewerCaptionText("flower.jpg", 2, 12), "Pixolet [flower.jpg : 3/12]");
  EXPECT_EQ(ViewerCaptionText("Error!! No File", 0, 0), "Pixolet [Error!! No File : 1/0]");
  EXPECT_EQ(ControlCaptionText(2, 12), "ｺﾝﾄﾛｰﾙ [3/12]");
  EXPECT_EQ(ControlCaptionText(-1, 5), "ｺﾝﾄﾛｰﾙ [0/5]");
  EXPECT_EQ(ControlCaptionText(2147483647, 1), "ｺﾝﾄﾛｰﾙ [2147483648/1]");
}
