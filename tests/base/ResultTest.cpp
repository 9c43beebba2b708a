// The fault vocabulary: a Result holds either its value or its fault, and
// Swallow drops exactly what it is given.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "base/Result.h"
#include "base/Swallow.h"

namespace base {
namespace {

Result<int> Parse(const std::string& text) {
    if (text.empty()) return MakeFault("empty text", FaultKind::Refused);
    return std::stoi(text);
}

TEST(Result, HoldsEitherTheValueOrTheFault) {
    struct Case {
        std::string text;
        bool ok;
        int value;
        FaultKind kind;
    };
    for (const Case& c :
         {Case{"42", true, 42, FaultKind::Failed}, Case{"", false, 0, FaultKind::Refused}}) {
        SCOPED_TRACE(c.text);
        const Result<int> result = Parse(c.text);
        ASSERT_EQ(result.ok(), c.ok);
        EXPECT_EQ(static_cast<bool>(result), c.ok);
        if (c.ok) {
            EXPECT_EQ(*result, c.value);
        } else {
            EXPECT_EQ(result.message(), "empty text");
            EXPECT_EQ(result.fault().kind, c.kind);
        }
    }
}

TEST(Result, MovesAMoveOnlyValueOut) {
    Result<std::unique_ptr<int>> result = std::make_unique<int>(7);
    const std::unique_ptr<int> taken = std::move(result).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 7);
}

TEST(Result, VoidResultIsOkUntilGivenAFault) {
    const Status fine;
    EXPECT_TRUE(fine.ok());
    const Status failed = MakeFault("disk full", FaultKind::Failed);
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.message(), "disk full");
}

TEST(Swallow, DropsEveryKindOfThrowAndReportsWhetherTheBodyFinished) {
    int ran = 0;
    EXPECT_TRUE(Swallow("finishes", [&] { ++ran; }));
    EXPECT_FALSE(Swallow("std exception", [&] {
        ++ran;
        throw std::runtime_error("boom");
    }));
    EXPECT_FALSE(Swallow("anything", [&] {
        ++ran;
        throw 3;
    }));
    EXPECT_EQ(ran, 3);
    IgnoreFault("dropped result", Result<int>(MakeFault("ignored")));
}

}  // namespace
}  // namespace base
