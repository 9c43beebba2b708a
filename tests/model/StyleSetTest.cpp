#include "model/StyleSet.h"

#include <gtest/gtest.h>

namespace {

TEST(StyleSetTest, ParseKeepsOnlyCommaTerminatedNumbersInRange) {
    EXPECT_EQ(model::StyleSetText(model::ParseStyleSet("3,200,x,,7")), "3,");
    EXPECT_TRUE(model::ParseStyleSet("").none());
    EXPECT_TRUE(model::ParseStyleSet("12").none());
    EXPECT_EQ(model::StyleSetText(model::ParseStyleSet("0,175,176,-1,59,59,5,")), "0,5,59,175,");
    EXPECT_EQ(model::DefaultStyleSet().count(), 105u);
}

}  // namespace
