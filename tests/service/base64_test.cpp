#include <gtest/gtest.h>

#include "service/base64.h"
#include "service/errors.h"
#include "support/bytes.h"

namespace xamu {
namespace {

TipoArregloByte Bytes(std::size_t n) {
  TipoArregloByte b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return b;
}

TEST(Base64, BreaksTheLineAfterEvery76Characters) {
  const std::string b57 = EncodeBase64Lines(Bytes(57));
  EXPECT_EQ(b57.size(), 78u);
  EXPECT_EQ(b57.substr(76), "\r\n") << "a full line ends with its break";
  const std::string b58 = EncodeBase64Lines(Bytes(58));
  EXPECT_EQ(b58.size(), 76u + 2 + 4);
  EXPECT_EQ(b58.substr(0, 78), b57);
  EXPECT_EQ(b58.substr(80), "==");
  EXPECT_EQ(EncodeBase64Lines(testing::Hex("41 42 43")), "QUJD");
  EXPECT_EQ(EncodeBase64Lines(testing::Hex("41 42")), "QUI=");
  EXPECT_EQ(EncodeBase64Lines({}), "");
  // Padding that completes a line of 76 characters is followed by its break too.
  const std::pair<std::size_t, const char*> padded_to_a_line[] = {{55, "==\r\n"}, {56, "A=\r\n"}};
  for (const auto& [n, tail] : padded_to_a_line) {
    const std::string b = EncodeBase64Lines(TipoArregloByte(n, 0));
    EXPECT_EQ(b.size(), 78u) << n;
    EXPECT_EQ(b.substr(74), tail) << n;
  }
  const std::string b114 = EncodeBase64Lines(Bytes(114));
  EXPECT_EQ(b114.size(), 2u * 78);
}

TEST(Base64, DecodesOneLineOrWrappedAndRefusesOtherText) {
  for (const std::size_t n : {0, 1, 2, 3, 55, 56, 57, 58, 1000}) {
    const TipoArregloByte b = Bytes(n);
    EXPECT_EQ(DecodeBase64(EncodeBase64Lines(b)), b) << n;
    std::string one_line = EncodeBase64Lines(b);
    std::erase(one_line, '\r');
    std::erase(one_line, '\n');
    EXPECT_EQ(DecodeBase64(one_line), b) << n;
  }
  EXPECT_EQ(DecodeBase64(" QU\n JD \t"), testing::Hex("41 42 43"));
  EXPECT_EQ(DecodeBase64("QUJDQU\nJDQUI="), testing::Hex("41 42 43 41 42 43 41 42"))
      << "a break inside a group of four, after whole groups";
  EXPECT_EQ(DecodeBase64("QUI"), testing::Hex("41 42")) << "missing padding is tolerated";
  for (const char* bad : {"QU*D", "Q", "QUJD=", "Q===", "QU=D", "QUI==="}) {
    EXPECT_THROW(DecodeBase64(bad), ESOAPResponseError) << bad;
  }
}

}  // namespace
}  // namespace xamu
