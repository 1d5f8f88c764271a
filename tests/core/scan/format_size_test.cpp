#include "core/scan/format_size.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(FormatSize, UnitChosenBeforeRoundingShortestFormHalvesToEven) {
  const struct {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0 KB"},
      {512, "0.5 KB"},
      {1023, "1 KB"},
      {1536, "1.5 KB"},
      {1048575, "1024 KB"},
      {1048576, "1 MB"},
      {3221225472ull, "3 GB"},
      {5ull << 40, "5120 GB"},
      {1, "0 KB"},       // 0.0009765625 rounds to zero
      {10, "0.01 KB"},   // 0.009765625
      {128, "0.12 KB"},  // exact half 0.125 goes to the even 0.12
      {384, "0.38 KB"},  // exact half 0.375 goes to the even 0.38
      {640, "0.62 KB"},  // exact half 0.625 goes to the even 0.62
      {1029, "1 KB"},    // 1.0048828125: "1.00" loses its zeros and the point
      {1126, "1.1 KB"},  // 1.099609375
      {1572864, "1.5 MB"},
      {1073741823, "1024 MB"},
      {~0ull, "17179869184 GB"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatSize(c.bytes, "."), c.text) << c.bytes;
}

TEST(FormatSize, UsesTheGivenDecimalSeparator) {
  EXPECT_EQ(FormatSize(1536, ","), "1,5 KB");
  EXPECT_EQ(FormatSize(1048576, ","), "1 MB");
  EXPECT_EQ(FormatSize(512, "\xD9\xAB"),
            "0\xD9\xAB"
            "5 KB");  // Arabic decimal separator
}

}  // namespace
}  // namespace tarnwick
