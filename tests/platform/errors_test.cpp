#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "platform/errors.h"

namespace xamu {
namespace {

TEST(KindName, NamesEachKindAsTheReportsQuoteIt) {
  const Error& as_base = EConvertError("'x' is not a valid integer value");
  EXPECT_EQ(KindName(as_base), "EConvertError") << "the kind, however it was caught";
  EXPECT_EQ(KindName(EInOutError("disk full")), "EInOutError");
  EXPECT_EQ(KindName(std::bad_alloc()), "EOutOfMemory");
  EXPECT_EQ(KindName(std::runtime_error("other")), "Exception");
}

}  // namespace
}  // namespace xamu
