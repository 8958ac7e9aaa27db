// SHA-256 as FIPS 180-4 defines it: the portable rounds and, where the
// processor has them, its SHA instructions.
#include "Sha256.h"

#include <cstdio>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace {

constexpr uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

constexpr uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

Sha256::Sha256()
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

namespace {

void PortableBlock(uint32_t* state, const unsigned char* block) {
  uint32_t w[64];
  for (int i = 0; i < 16; ++i)
    w[i] = static_cast<uint32_t>(block[4 * i]) << 24 | static_cast<uint32_t>(block[4 * i + 1]) << 16 |
           static_cast<uint32_t>(block[4 * i + 2]) << 8 | block[4 * i + 3];
  for (int i = 16; i < 64; ++i) {
    uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
  for (int i = 0; i < 64; ++i) {
    uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
    uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
  state[5] += f;
  state[6] += g;
  state[7] += h;
}

#if defined(__x86_64__) || defined(__i386__)
// The processor's SHA extensions: two rounds an instruction. The state is
// kept as the two vectors ABEF and CDGH that the instructions work on.
[[gnu::target("sha,sse4.1,ssse3")]] void ShaExtBlocks(uint32_t* state, const unsigned char* data, size_t blocks) {
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
  __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
  for (; blocks > 0; --blocks, data += 64) {
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    __m128i w[4];  // the message words of the last four groups of four rounds
    // Unrolled, the four vectors stay in registers.
#pragma GCC unroll 16
    for (int g = 0; g < 16; ++g) {
      __m128i m;
      if (g < 4) {
        m = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * g)), byteSwap);
      } else {
        // w[t-16] + s0(w[t-15]) + w[t-7], then s1(w[t-2]) added.
        m = _mm_add_epi32(_mm_sha256msg1_epu32(w[g % 4], w[(g + 1) % 4]),
                          _mm_alignr_epi8(w[(g + 3) % 4], w[(g + 2) % 4], 4));
        m = _mm_sha256msg2_epu32(m, w[(g + 3) % 4]);
      }
      w[g % 4] = m;
      const __m128i k = _mm_add_epi32(m, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRound + 4 * g)));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(k, 0x0E));
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

// Asked of the processor itself (leaf 1: SSE4.1, leaf 7: SHA) rather than
// through __builtin_cpu_supports, which not every compiler knows "sha" for.
bool ProcessorHasShaExt() {
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSE4_1)) return false;
  if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
  return (b & bit_SHA) != 0;
}

bool HaveShaExt() {
  static const bool have = ProcessorHasShaExt();
  return have;
}
#else
void ShaExtBlocks(uint32_t*, const unsigned char*, size_t) {}
bool HaveShaExt() { return false; }
#endif

bool flPortableOnly = false;

}  // namespace

void Sha256PortableOnly(bool on) { flPortableOnly = on; }

void Sha256::Blocks(const unsigned char* data, size_t blocks) {
  if (!flPortableOnly && HaveShaExt()) {
    ShaExtBlocks(state_, data, blocks);
    return;
  }
  for (; blocks > 0; --blocks, data += 64) PortableBlock(state_, data);
}

void Sha256::Update(const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  length_ += size;
  while (size > 0) {
    if (buffered_ == 0 && size >= sizeof buffer_) {
      // Whole blocks straight from the caller's data.
      const size_t blocks = size / sizeof buffer_;
      Blocks(p, blocks);
      p += blocks * sizeof buffer_;
      size -= blocks * sizeof buffer_;
      continue;
    }
    size_t n = sizeof buffer_ - buffered_;
    if (n > size) n = size;
    std::memcpy(buffer_ + buffered_, p, n);
    buffered_ += n;
    p += n;
    size -= n;
    if (buffered_ == sizeof buffer_) {
      Blocks(buffer_, 1);
      buffered_ = 0;
    }
  }
}

std::string Sha256::HexDigest() {
  const uint64_t bits = length_ * 8;
  const unsigned char pad = 0x80;
  Update(&pad, 1);
  const unsigned char zero = 0;
  while (buffered_ != 56) Update(&zero, 1);
  unsigned char tail[8];
  for (int i = 0; i < 8; ++i) tail[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  Update(tail, sizeof tail);
  std::string hex;
  char digits[9];
  for (uint32_t word : state_) {
    std::snprintf(digits, sizeof digits, "%08x", word);
    hex += digits;
  }
  return hex;
}
