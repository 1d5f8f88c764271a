// Joins separately made deflate streams into one. A whole-buffer compressor ends every stream it
// makes with a block marked final, and pieces of a large file compressed on different threads
// must follow one another inside one entry's stream. `DeflateJoiner` turns such a stream into a
// piece that another can follow: it finds the final block by walking the block boundaries,
// clears that block's final flag and appends an empty stored block, which brings the stream to a
// byte boundary (the same marker a sync flush writes).
#pragma once

#include <zlib.h>

#include <string>
#include <vector>

namespace tarnwick {

class DeflateJoiner {
 public:
  DeflateJoiner();
  ~DeflateJoiner();
  DeflateJoiner(const DeflateJoiner&) = delete;
  DeflateJoiner& operator=(const DeflateJoiner&) = delete;

  // Makes `stream`, one whole raw deflate stream, joinable: afterwards it decodes to the same
  // bytes, has no final block and ends on a byte boundary. False (and `stream` unchanged) when
  // `stream` is not exactly one whole raw deflate stream.
  bool MakeJoinable(std::string& stream);

 private:
  z_stream z_{};
  bool ok_ = false;
  std::vector<unsigned char> scratch_;  // the decoded bytes go here and are not kept
};

}  // namespace tarnwick
