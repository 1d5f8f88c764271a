#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/settings/app_state.h"
#include "core/settings/profile_file.h"
#include "core/settings/startup.h"

namespace tarnwick {
namespace {

TEST(DefaultSettings, EmbeddedBytesAreTheResourceFileByteForByte) {
  const std::string_view bytes = DefaultSettingsBytes();
  ASSERT_EQ(bytes.size(), 276u);
  std::ifstream in(TARNWICK_SOURCE_DIR "/resources/Settings.ini", std::ios::binary);
  const std::string onDisk(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(bytes, onDisk);
  EXPECT_EQ(bytes.substr(0, 7), "[app]\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 13), "ignoresys=1\r\n");
}

}  // namespace
}  // namespace tarnwick
