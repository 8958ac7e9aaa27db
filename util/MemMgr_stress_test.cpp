// Random use of the memory manager checked against a model of what each
// live allocation holds, on mapped blocks and on heap blocks.
#include "MemMgr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "test_memmgr.h"

namespace {


// Random requests, returns and resizes checked against a model of what
// each live allocation holds, and every new small allocation checked to be
// the leftmost free run of the chain.
class MemMgrStressTest : public MemMgrTest, public testing::WithParamInterface<bool> {};

struct Live {
  char* p;
  size_t len;
  unsigned char tag;
};

size_t RandomLen(std::mt19937& rng) {
  const unsigned r = rng() % 100;
  if (r < 70) return 1 + rng() % 300;
  if (r < 90) return 300 + rng() % 4700;
  if (r < 98) return 5000 + rng() % 60536;
  return 65536 + rng() % 140000;
}

// Where a first-fit search should place n nodes: (block, node), or
// (nullptr, 0) for a new block.
std::pair<MemBlock*, int> ExpectedPlace(int n) {
  const std::string want = Free(n);
  for (MemBlock* b = pMemB; b != nullptr; b = b->pNext) {
    if (b->Size > kMemBlockSize) continue;
    const size_t at = Mat(b).find(want);
    if (at != std::string_view::npos) return {b, static_cast<int>(at)};
  }
  return {nullptr, 0};
}

testing::AssertionResult Holds(const Live& a) {
  const size_t rounded = Rounded(a.len);
  if (!AllEqual(a.p, a.len, a.tag)) return testing::AssertionFailure() << "content lost";
  if (!AllZero(a.p + a.len, rounded - a.len)) return testing::AssertionFailure() << "not zero after len";
  return testing::AssertionSuccess();
}

TEST_P(MemMgrStressTest, RandomUseMatchesTheModel) {
  ForceHeapFallback(GetParam());
  std::mt19937 rng(20240611);
  std::vector<Live> live;
  for (int op = 0; op < 6000; ++op) {
    const unsigned r = rng() % 100;
    if (r < 45 || live.empty()) {
      const size_t len = RandomLen(rng);
      const size_t rounded = Rounded(len);
      const auto [block, node] = rounded <= kMemBlockSize
                                     ? ExpectedPlace(static_cast<int>(rounded / kMemNodeSize))
                                     : std::pair<MemBlock*, int>{nullptr, 0};
      char* p = static_cast<char*>(GetMem(len));
      ASSERT_NE(p, nullptr);
      MemBlock* b = FindBlock(p);
      if (block != nullptr) {
        ASSERT_EQ(b, block) << "op " << op;
        ASSERT_EQ(Index(b, p), node) << "op " << op;
      } else {
        ASSERT_EQ(b, Chain().back()) << "op " << op;
        ASSERT_EQ(p, b->pMemory);
      }
      ASSERT_TRUE(AllZero(p, rounded));
      const auto tag = static_cast<unsigned char>(1 + op % 250);
      std::memset(p, tag, len);
      live.push_back({p, len, tag});
    } else if (r < 75) {
      const size_t k = rng() % live.size();
      PutMem(live[k].p);
      live[k] = live.back();
      live.pop_back();
    } else {
      Live& a = live[rng() % live.size()];
      const size_t len = rng() % 4 == 0 ? 1 + rng() % std::max<size_t>(a.len, 1) : RandomLen(rng);
      char* q = static_cast<char*>(AdjustMem(a.p, len));
      ASSERT_NE(q, nullptr);
      const size_t kept = std::min(a.len, len);
      ASSERT_TRUE(AllEqual(q, kept, a.tag)) << "op " << op;
      ASSERT_TRUE(AllZero(q + kept, Rounded(len) - kept)) << "op " << op;
      std::memset(q, a.tag, len);
      a.p = q;
      a.len = len;
    }
    if (op % 50 == 0) {
      ASSERT_TRUE(Consistent()) << "op " << op;
    }
    if (op % 500 == 0) {
      for (const Live& a : live) ASSERT_TRUE(Holds(a)) << "op " << op;
    }
  }
  std::shuffle(live.begin(), live.end(), rng);
  for (const Live& a : live) {
    ASSERT_TRUE(Holds(a));
    PutMem(a.p);
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, MemMgrStressTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Heap" : "Pages";
                         });

}  // namespace
