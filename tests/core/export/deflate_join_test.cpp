// Pieces deflated separately and made joinable form one stream that zlib decodes to the pieces'
// bytes in order: for text, bytes that do not compress (stored blocks), tiny and empty pieces,
// and pieces whose compressed data ends at every bit position of its last byte.
#include <gtest/gtest.h>
#include <zlib.h>

#include <set>

#include "core/export/deflate_join.h"
#include "core/export/deflate_piece.h"
#include "core/export/export_fixtures.h"

namespace tarnwick {
namespace {

// Decodes a raw deflate stream; empty optional unless it is exactly one whole stream.
std::optional<std::string> Inflate(const std::string& stream, std::size_t expectedSize) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK)
    return std::nullopt;
  std::string out(expectedSize + 1, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&z, Z_FINISH);
  const bool whole = rc == Z_STREAM_END && z.avail_in == 0;
  out.resize(z.total_out);
  inflateEnd(&z);
  return whole ? std::optional(out) : std::nullopt;
}

TEST(DeflateJoinTest, PiecesJoinIntoOneStreamOfTheirBytes) {
  const std::string text = test::TextBytes(3 << 20, 7);
  const std::string noise = test::RandomBytes(700000, 8);
  struct Case {
    const char* what;
    std::vector<std::string> pieces;
  };
  std::vector<Case> cases = {
      {"text in large pieces", {text.substr(0, 1 << 20), text.substr(1 << 20, 1 << 20), text}},
      {"stored then text then stored", {noise, text.substr(0, 200000), noise.substr(5)}},
      {"tiny and empty pieces", {"a", "", "bc", text.substr(0, 3), "", "d"}},
  };
  // Short pieces of growing size: their compressed data ends at every bit of the last byte, so
  // both ways of appending the empty stored block are taken.
  Case sizes{"pieces of 1 to 60 bytes", {}};
  for (std::size_t n = 1; n <= 60; ++n)
    sizes.pieces.push_back(text.substr(n * 97, n));
  cases.push_back(sizes);

  for (int level : {1, 6, 9}) {
    PieceDeflater deflater(level);
    std::set<std::size_t> markerSizes;
    for (const Case& c : cases) {
      std::string joined, expected, piece;
      for (std::size_t i = 0; i < c.pieces.size(); ++i) {
        const bool last = i + 1 == c.pieces.size();
        ASSERT_TRUE(deflater.Run(c.pieces[i], last, piece)) << c.what;
        if (!last) {
          std::string whole;
          ASSERT_TRUE(PieceDeflater(level).Run(c.pieces[i], true, whole));
          markerSizes.insert(piece.size() - whole.size());
          EXPECT_FALSE(Inflate(piece, c.pieces[i].size()).has_value())
              << c.what << ": a joinable piece does not end the stream";
        }
        joined += piece;
        expected += c.pieces[i];
      }
      EXPECT_TRUE(Inflate(joined, expected.size()) == expected) << c.what << ", level " << level;
    }
    EXPECT_EQ(markerSizes, (std::set<std::size_t>{4, 5})) << "level " << level;
  }
}

TEST(DeflateJoinTest, WhatIsNotOneWholeStreamIsRefusedAndLeftAlone) {
  std::string whole;
  ASSERT_TRUE(PieceDeflater(6).Run(test::TextBytes(100000), true, whole));
  const std::string cases[] = {
      whole.substr(0, whole.size() / 2),  // cut short
      whole + "trailing",                 // bytes after its end
      std::string("\x07\x00", 2),         // a block of the reserved type
      std::string(),
  };
  DeflateJoiner joiner;
  for (const std::string& bad : cases) {
    std::string s = bad;
    EXPECT_FALSE(joiner.MakeJoinable(s)) << bad.size();
    EXPECT_TRUE(s == bad) << "left unchanged";
  }
}

}  // namespace
}  // namespace tarnwick
