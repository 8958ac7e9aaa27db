// Tests of the digest itself: the published vectors, and the portable
// rounds against the processor's.
#include "Sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

std::string Digest(const std::string& text, size_t chunk) {
  Sha256 sum;
  for (size_t at = 0; at < text.size(); at += chunk) sum.Update(text.data() + at, std::min(chunk, text.size() - at));
  return sum.HexDigest();
}

// The published test vectors, fed whole and in pieces that cross the
// 64-byte blocks and the padding boundary.
TEST(Sha256, KnownDigests) {
  const struct {
    std::string text;
    const char* hex;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    for (size_t chunk : {size_t{1} << 20, size_t{1}, size_t{63}, size_t{65}}) {
      if (c.text.size() > 100000 && chunk < 63) continue;
      EXPECT_EQ(Digest(c.text, chunk), c.hex) << c.text.size() << " bytes in pieces of " << chunk;
    }
  }
}

// Where the processor has SHA instructions they are used; the portable
// rounds must give the same digests, in pieces that mix buffered and
// direct blocks.
TEST(Sha256, PortableRoundsAgree) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += static_cast<char>(i * 131 % 251);
  for (size_t chunk : {size_t{1}, size_t{63}, size_t{64}, size_t{1000}, size_t{1} << 20}) {
    const std::string fast = Digest(text, chunk);
    Sha256PortableOnly(true);
    const std::string portable = Digest(text, chunk);
    Sha256PortableOnly(false);
    EXPECT_EQ(fast, portable) << chunk;
  }
}

}  // namespace
