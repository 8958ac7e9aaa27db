// Helpers of the memory manager's tests: readers of its tables and chain,
// the check of everything it promises about them (Consistent), and the
// fixture that gives each test an empty chain of its own.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "MemMgr.h"

#ifdef SETUP_MEM_POISONING
#include <sanitizer/asan_interface.h>
#endif

inline constexpr size_t kRoundedMax = 0x7FFF0000;  // largest data area a block describes

inline size_t Rounded(size_t len) { return (len + 1 + kMemNodeSize - 1) / kMemNodeSize * kMemNodeSize; }

inline std::string_view Mat(const MemBlock* b) { return std::string_view(b->MAT, kMemNodesPerBlock); }

inline int Index(const MemBlock* b, const void* p) {
  return static_cast<int>((static_cast<const char*>(p) - b->pMemory) / kMemNodeSize);
}

// The tests look at bytes no caller owns (an allocation's spare bytes,
// freed nodes), so they read past the poisoning of the sanitizer build.
inline const unsigned char* Peek(const void* p, size_t n) {
#ifdef SETUP_MEM_POISONING
  ASAN_UNPOISON_MEMORY_REGION(p, n);
#endif
  (void)n;
  return static_cast<const unsigned char*>(p);
}

inline bool AllZero(const void* p, size_t n) {
  const auto* c = Peek(p, n);
  return std::all_of(c, c + n, [](unsigned char x) { return x == 0; });
}

inline bool AllEqual(const void* p, size_t n, unsigned char v) {
  const auto* c = Peek(p, n);
  return std::all_of(c, c + n, [v](unsigned char x) { return x == v; });
}

inline std::vector<MemBlock*> Chain() {
  std::vector<MemBlock*> chain;
  for (MemBlock* b = pMemB; b != nullptr; b = b->pNext) chain.push_back(b);
  return chain;
}

inline std::string Used(int n) { return std::string(n, kMatUsed); }
inline std::string Free(int n) { return std::string(n, kMatFree); }

// Everything the manager promises about its chain and tables.
inline testing::AssertionResult Consistent() {
  const MemBlock* prev = nullptr;
  for (const MemBlock* b = pMemB; b != nullptr; prev = b, b = b->pNext) {
    if (b->pPrev != prev) return testing::AssertionFailure() << "broken pPrev link";
    if (b->MAT[kMemNodesPerBlock] != '\0') return testing::AssertionFailure() << "MAT unterminated";
    for (int k = 0; k < kMemNodesPerBlock; ++k)
      if (((b->FreeBits[k / 64] >> (k % 64)) & 1) != (b->MAT[k] == kMatFree))
        return testing::AssertionFailure() << "free bitmap differs from MAT at node " << k;
    if (b->Size > kMemBlockSize) {
      if (b->Size % kMemDedicatedGranule != 0 || b->FreeNodeCount != 0 ||
          Mat(b) != Used(kMemNodesPerBlock) || b->UsedSize <= 0 || b->UsedSize % kMemNodeSize != 0 ||
          b->UsedSize > b->Size)
        return testing::AssertionFailure() << "bad dedicated block of " << b->Size;
      continue;
    }
    if (b->Size != kMemBlockSize || b->UsedSize != 0)
      return testing::AssertionFailure() << "bad standard block size";
    int spaces = 0;
    int longest = 0;
    for (int i = 0; i < kMemNodesPerBlock;) {
      const MemNode& node = b->Nodes[i];
      if (node.NodeCnt == 0) {
        if (node.pAddr != nullptr) return testing::AssertionFailure() << "stray pAddr at " << i;
        if (b->MAT[i] != kMatFree)
          return testing::AssertionFailure() << "node " << i << " used by nobody";
        int run = 0;
        while (i < kMemNodesPerBlock && b->MAT[i] == kMatFree && b->Nodes[i].NodeCnt == 0) {
          if (b->Nodes[i].pAddr != nullptr) return testing::AssertionFailure() << "stray pAddr";
          ++run, ++i;
        }
        spaces += run;
        longest = std::max(longest, run);
        continue;
      }
      if (node.pAddr != b->pMemory + size_t{kMemNodeSize} * i || i + node.NodeCnt > kMemNodesPerBlock)
        return testing::AssertionFailure() << "bad entry at " << i;
      for (int k = i; k < i + node.NodeCnt; ++k)
        if (b->MAT[k] != kMatUsed || (k > i && (b->Nodes[k].NodeCnt || b->Nodes[k].pAddr)))
          return testing::AssertionFailure() << "allocation at " << i << " not marked at " << k;
      i += node.NodeCnt;
    }
    if (spaces != b->FreeNodeCount) return testing::AssertionFailure() << "FreeNodeCount wrong";
    if (spaces == kMemNodesPerBlock) return testing::AssertionFailure() << "empty block kept";
    if (b->MaxFreeRun < longest) return testing::AssertionFailure() << "MaxFreeRun too small";
    for (int k = 0; k < kMemFitHints; ++k) {
      const size_t first = Mat(b).find(Free(k + 1));
      if (first != std::string_view::npos && first < static_cast<size_t>(b->FitFrom[k]))
        return testing::AssertionFailure() << "FitFrom[" << k << "] skips a free run";
      if (k > 0 && b->FitFrom[k] < b->FitFrom[k - 1])
        return testing::AssertionFailure() << "FitFrom[" << k << "] below FitFrom[" << k - 1 << "]";
    }
  }
  return testing::AssertionSuccess();
}

// Each test starts with an empty chain of its own (whatever other tests of
// the program hold is set aside) and must give back all it took.
class MemMgrTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = pMemB;
    pMemB = nullptr;
    SetMemPoisoning(false);  // the tests look at spare bytes and freed nodes
  }
  void TearDown() override {
    ForceHeapFallback(false);
    SetMemPoisoning(true);
    EXPECT_TRUE(Consistent());
    EXPECT_EQ(pMemB, nullptr) << "the test left memory allocated";
    while (pMemB != nullptr) FreeBlock(pMemB);
    pMemB = saved_;
  }

 private:
  MemBlock* saved_ = nullptr;
};
