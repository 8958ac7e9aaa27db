// Tests of the block memory manager, checked through its own state: the
// allocation tables, node entries, free counts and the chain of blocks.
// Requests, returns, the blocks and their failures here; resizing is
// MemMgr_adjust_test.cpp, random use against a model MemMgr_stress_test.cpp.
#include "MemMgr.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "test_memmgr.h"

namespace {

struct SizeCase {
  size_t len;
  int nodes;             // standard block: nodes taken
  int32_t dedicatedSize;  // dedicated block: its Size
  int32_t usedSize;
};

TEST_F(MemMgrTest, RequestsAreRoundedToNodesOrDedicatedBlocks) {
  const SizeCase cases[] = {
      {1, 1, 0, 0},          {31, 1, 0, 0},           {32, 2, 0, 0},
      {63, 2, 0, 0},         {64, 3, 0, 0},           {65535, 2048, 0, 0},
      {65536, 0, 131072, 65568}, {131071, 0, 131072, 131072}, {131072, 0, 196608, 131104},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.len);
    char* p = static_cast<char*>(GetMem(c.len));
    ASSERT_NE(p, nullptr);
    MemBlock* b = FindBlock(p);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(p, b->pMemory);
    if (c.nodes > 0) {
      EXPECT_EQ(b->Size, kMemBlockSize);
      EXPECT_EQ(b->Nodes[0].NodeCnt, c.nodes);
      EXPECT_EQ(b->Nodes[0].pAddr, p);
      EXPECT_EQ(b->FreeNodeCount, kMemNodesPerBlock - c.nodes);
      EXPECT_EQ(Mat(b), Used(c.nodes) + Free(kMemNodesPerBlock - c.nodes));
      EXPECT_TRUE(AllZero(p, size_t{kMemNodeSize} * c.nodes));
    } else {
      EXPECT_EQ(b->Size, c.dedicatedSize);
      EXPECT_EQ(b->UsedSize, c.usedSize);
      EXPECT_EQ(b->FreeNodeCount, 0);
      EXPECT_EQ(Mat(b), Used(kMemNodesPerBlock));
      EXPECT_TRUE(AllZero(p, static_cast<size_t>(c.usedSize)));
    }
    EXPECT_TRUE(Consistent());
    PutMem(p);
    EXPECT_EQ(pMemB, nullptr);
  }
  EXPECT_EQ(GetMem(0), nullptr);
  EXPECT_EQ(pMemB, nullptr);
}

TEST_F(MemMgrTest, AllocationsFillTheTableFromTheLeft) {
  char* a = static_cast<char*>(GetMem(10));
  char* b = static_cast<char*>(GetMem(40));
  MemBlock* block = pMemB;
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(Mat(block), Used(3) + Free(2045));
  EXPECT_EQ(block->Nodes[0].NodeCnt, 1);
  EXPECT_EQ(block->Nodes[0].pAddr, a);
  EXPECT_EQ(block->Nodes[1].NodeCnt, 2);
  EXPECT_EQ(block->Nodes[1].pAddr, b);
  EXPECT_EQ(block->Nodes[2].NodeCnt, 0);
  EXPECT_EQ(block->FreeNodeCount, 2045);
  EXPECT_EQ(b - a, 32);
  PutMem(a);
  PutMem(b);
}

TEST_F(MemMgrTest, FreedNodesAreReusedFirstFitAndZeroFilled) {
  char* a = static_cast<char*>(GetMem(10));
  char* b = static_cast<char*>(GetMem(10));
  EXPECT_EQ(b - a, 32);
  std::memset(a, 'x', 32);  // the whole node, terminator included
  PutMem(a);
  EXPECT_EQ(Mat(pMemB).substr(0, 3), " U ");
  char* c = static_cast<char*>(GetMem(10));
  EXPECT_EQ(c, a);
  EXPECT_TRUE(AllZero(c, 32));
  PutMem(b);
  PutMem(c);
}

// Blocks made of 2048 one-node allocations, with some freed again: the
// holes a first-fit search must find, at word and table boundaries.
struct HoleCase {
  std::vector<std::pair<int, int>> holes;  // [first, end) nodes freed
  int nodes;                               // request
  int expected;                            // node index, -1: a new block
};

TEST_F(MemMgrTest, FirstFitFindsTheLeftmostLongEnoughHole) {
  const HoleCase cases[] = {
      {{{3, 4}, {10, 13}, {60, 70}}, 3, 10},
      {{{7, 9}}, 2, 7},                   // across eight table characters
      {{{62, 66}}, 4, 62},                // across 64 nodes
      {{{0, 1}, {63, 65}}, 2, 63},
      {{{1, 64}, {65, 130}}, 64, 65},     // 63 free, then 65
      {{{100, 164}, {200, 300}}, 64, 100},
      {{{100, 164}, {200, 300}}, 65, 200},
      {{{120, 300}}, 150, 120},
      {{{2040, 2048}}, 8, 2040},          // the end of the table
      {{{2047, 2048}}, 1, 2047},
      {{{10, 11}, {20, 21}}, 2, -1},
      {{{2040, 2048}}, 9, -1},
  };
  for (const HoleCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "request of " << c.nodes << " nodes");
    std::vector<void*> ones(kMemNodesPerBlock);
    for (void*& p : ones) p = GetMem(1);
    MemBlock* full = pMemB;
    ASSERT_EQ(full->FreeNodeCount, 0);
    for (auto [first, end] : c.holes)
      for (int i = first; i < end; ++i) {
        PutMem(ones[i]);
        ones[i] = nullptr;
      }
    void* p = GetMem(size_t{kMemNodeSize} * c.nodes - 1);
    ASSERT_NE(p, nullptr);
    if (c.expected >= 0) {
      EXPECT_EQ(FindBlock(p), full);
      EXPECT_EQ(Index(full, p), c.expected);
    } else {
      EXPECT_EQ(Chain(), (std::vector<MemBlock*>{full, FindBlock(p)}));
    }
    EXPECT_TRUE(Consistent());
    PutMem(p);
    for (void* q : ones) PutMem(q);
    EXPECT_EQ(pMemB, nullptr);
  }
}

TEST_F(MemMgrTest, FirstFitStaysExactAcrossShortAndLongRequests) {
  std::vector<void*> ones(kMemNodesPerBlock);
  for (void*& p : ones) p = GetMem(1);
  MemBlock* b = pMemB;
  auto freeNodes = [&](int first, int end) {
    for (int i = first; i < end; ++i) PutMem(ones[i]), ones[i] = nullptr;
  };
  auto take = [&](int nodes) {
    void* p = GetMem(size_t{kMemNodeSize} * nodes - 1);
    EXPECT_EQ(FindBlock(p), b);
    return p;
  };
  freeNodes(2, 3);
  freeNodes(10, 14);
  void* two = take(2);
  EXPECT_EQ(Index(b, two), 10);  // the one-node hole is too short
  void* one = take(1);
  EXPECT_EQ(Index(b, one), 2);  // a shorter request still looks from the left
  freeNodes(5, 6);
  void* again = take(1);
  EXPECT_EQ(Index(b, again), 5);
  freeNodes(0, 2);  // a hole before the place the last search of two ended
  void* front = take(2);
  EXPECT_EQ(Index(b, front), 0);
  void* rest = take(2);
  EXPECT_EQ(Index(b, rest), 12);
  EXPECT_TRUE(Consistent());
  for (void* p : {two, one, again, front, rest}) PutMem(p);
  for (void* p : ones) PutMem(p);
}

struct MatCase {
  const char* text;
  char ch;
  int n;
  bool expected;
};

TEST(TestMATTest, ComparesExactlyNCharacters) {
  const MatCase cases[] = {
      {"", ' ', 0, true},
      {"U", ' ', 0, true},
      {"   ", ' ', 3, true},
      {"  U", ' ', 3, false},
      {"  U", ' ', 2, true},
      {"        ", ' ', 8, true},
      {"        U", ' ', 9, false},
      {"        U", ' ', 8, true},
      {"UUUUUUUUUUUUUUUU", 'U', 16, true},
      {"UUUUUUUUUUUUUUU ", 'U', 16, false},
      {"UUUUUUU UUUUUUUU", 'U', 16, false},
      {" UUUUUUUUUUUUUUU", 'U', 16, false},
      {"UUUUUUUUU", 'U', 9, true},
  };
  for (const MatCase& c : cases)
    EXPECT_EQ(TestMAT(c.text, c.ch, c.n), c.expected) << '"' << c.text << "\" " << c.n;
}

bool Mapped(const void* p) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  void* start = reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(p) / page * page);
  unsigned char state = 0;
  return mincore(start, 1, &state) == 0 || errno != ENOMEM;
}

int OpenDescriptors() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d) != nullptr) ++n;
    closedir(d);
  }
  return n;
}

// Under AddressSanitizer a caller owns exactly its length and the zero
// after it: one byte more, in a block of nodes or a dedicated block, and a
// node given back, are reported.
TEST_F(MemMgrTest, AWriteOnePastAnAllocationIsCaught) {
#ifndef SETUP_MEM_POISONING
  GTEST_SKIP() << "needs the AddressSanitizer build";
#else
  SetMemPoisoning(true);
  for (size_t len : {size_t{1}, size_t{10}, size_t{31}, size_t{100}, size_t{100000}}) {
    SCOPED_TRACE(len);
    char* keep = GetMemT<char>(1);  // keeps the block while p is given back below
    char* p = GetMemT<char>(len);   // after keep: free nodes follow it
    std::memset(p, 'x', len + 1);   // all of it is the caller's, the terminator too
    volatile char* v = p;
    EXPECT_DEATH(v[len + 1] = 'x', "use-after-poison");
    EXPECT_DEATH((void)v[len + 1], "use-after-poison");
    if (len < 100000) {
      PutMem(p);
      EXPECT_DEATH(v[0] = 'x', "use-after-poison");
    } else {
      PutMem(p);
    }
    PutMem(keep);
  }
#endif
}

TEST_F(MemMgrTest, ReturningTheLastAllocationGivesTheBlockBack) {
  PutMem(GetMem(1));  // /dev/zero is open from here on
  const int descriptors = OpenDescriptors();

  char* p = static_cast<char*>(GetMem(10));
  MemBlock* b = pMemB;
  char* data = b->pMemory;
  ASSERT_TRUE(Mapped(data));
  PutMem(p);
  EXPECT_EQ(pMemB, nullptr);
  // The data area, its spare page beyond Size, and the header are unmapped.
  EXPECT_FALSE(Mapped(data));
  EXPECT_FALSE(Mapped(data + kMemBlockSize));
  EXPECT_FALSE(Mapped(b));

  char* big = static_cast<char*>(GetMem(200000));
  const int32_t size = pMemB->Size;
  PutMem(big);
  EXPECT_FALSE(Mapped(big));
  EXPECT_FALSE(Mapped(big + size));
  EXPECT_EQ(OpenDescriptors(), descriptors);  // one descriptor for all mappings
}

TEST_F(MemMgrTest, PutMemIgnoresWhatIsNoAllocationStart) {
  char* whole = static_cast<char*>(GetMem(65535));  // a full block
  MemBlock* full = pMemB;
  char* two = static_cast<char*>(GetMem(40));
  MemBlock* b = FindBlock(two);
  char* big = static_cast<char*>(GetMem(100000));
  MemBlock* d = FindBlock(big);
  int onStack = 0;

  void* ignored[] = {nullptr, &onStack, two + 1, two + 32, full->pMemory + full->Size,
                     full->pMemory - 1, big + 100, big + d->Size - 1};
  for (void* p : ignored) PutMem(p);
  EXPECT_EQ(Chain(), (std::vector<MemBlock*>{full, b, d}));
  EXPECT_EQ(Mat(full), Used(2048));
  EXPECT_EQ(full->FreeNodeCount, 0);
  EXPECT_EQ(b->Nodes[0].NodeCnt, 2);
  EXPECT_EQ(b->FreeNodeCount, 2046);
  EXPECT_TRUE(Consistent());

  char* keep = static_cast<char*>(GetMem(1));  // keeps b alive
  PutMem(two);
  PutMem(two);  // a second return of the same pointer changes nothing
  EXPECT_EQ(b->FreeNodeCount, 2047);
  EXPECT_TRUE(Consistent());
  PutMem(keep);
  PutMem(whole);
  PutMem(big);
}

TEST_F(MemMgrTest, FindBlockTakesTheDataAreaWithoutItsEnd) {
  char* p = static_cast<char*>(GetMem(1));
  MemBlock* b = pMemB;
  EXPECT_EQ(FindBlock(b->pMemory), b);
  EXPECT_EQ(FindBlock(b->pMemory + b->Size - 1), b);
  EXPECT_EQ(FindBlock(b->pMemory + b->Size), nullptr);
  EXPECT_EQ(FindBlock(b->pMemory - 1), nullptr);
  EXPECT_EQ(FindBlock(nullptr), nullptr);
  PutMem(p);
}

TEST_F(MemMgrTest, BlocksChainInCreationOrderAndUnlinkAnywhere) {
  void* a = GetMem(65535);
  void* b = GetMem(65535);
  void* c = GetMem(65535);
  void* d = GetMem(10);
  void* e = GetMem(100000);
  MemBlock* ba = FindBlock(a);
  MemBlock* bb = FindBlock(b);
  MemBlock* bc = FindBlock(c);
  MemBlock* bd = FindBlock(d);
  MemBlock* be = FindBlock(e);
  EXPECT_EQ(Chain(), (std::vector<MemBlock*>{ba, bb, bc, bd, be}));
  EXPECT_EQ(Index(bd, d), 0);

  PutMem(b);  // middle
  EXPECT_EQ(Chain(), (std::vector<MemBlock*>{ba, bc, bd, be}));
  PutMem(a);  // first
  EXPECT_EQ(pMemB, bc);
  EXPECT_EQ(bc->pPrev, nullptr);
  PutMem(e);  // last
  EXPECT_EQ(Chain(), (std::vector<MemBlock*>{bc, bd}));
  EXPECT_EQ(bd->pNext, nullptr);
  EXPECT_TRUE(Consistent());
  PutMem(c);
  PutMem(d);
}

TEST_F(MemMgrTest, SmallRequestsSpillIntoNewBlocksAndComeBackFirst) {
  std::vector<void*> ones(kMemNodesPerBlock);
  for (void*& p : ones) p = GetMem(31);
  MemBlock* first = pMemB;
  void* spill = GetMem(31);
  MemBlock* second = FindBlock(spill);
  ASSERT_NE(second, first);
  EXPECT_EQ(Index(second, spill), 0);
  PutMem(ones[700]);
  void* back = GetMem(31);
  EXPECT_EQ(back, ones[700]);  // the search starts at the first block
  ones[700] = back;
  for (void* p : ones) PutMem(p);
  EXPECT_EQ(Chain(), (std::vector<MemBlock*>{second}));
  PutMem(spill);
}

TEST_F(MemMgrTest, RequestsNoBlockCanHoldFailWithTheMessage) {
  for (size_t len : {SIZE_MAX, SIZE_MAX - 30, kRoundedMax, size_t{1} << 40}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(GetMem(len), nullptr) << len;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Unable to allocate memory\n");
  }
  EXPECT_EQ(pMemB, nullptr);

  char* p = static_cast<char*>(GetMem(100));
  std::strcpy(p, "kept");
  testing::internal::CaptureStderr();
  EXPECT_EQ(AdjustMem(p, SIZE_MAX / 2), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Unable to allocate memory\n");
  EXPECT_STREQ(p, "kept");  // the old allocation is still valid
  EXPECT_EQ(pMemB->Nodes[0].NodeCnt, 4);
  PutMem(p);
}

#if !defined(__SANITIZE_ADDRESS__)
// A mapping refused by the system. The sanitizers reserve address space of
// their own, so a limit on it is tried only in the plain build.
// Runs in the death-test child: leaves 4 MiB of address space and asks for
// 64 MiB, exiting 0 when that failed cleanly.
[[noreturn]] void AskBeyondAddressLimit() {
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlim_t now = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
  const rlimit limit{now + (4u << 20), now + (4u << 20)};
  setrlimit(RLIMIT_AS, &limit);
  void* p = GetMem(64u << 20);
  _exit(p == nullptr && pMemB == nullptr ? 0 : 1);
}

TEST_F(MemMgrTest, RefusedMappingsFailWithTheMessage) {
  EXPECT_EXIT(AskBeyondAddressLimit(), testing::ExitedWithCode(0),
              "ERROR: Unable to allocate memory");
}
#endif

TEST_F(MemMgrTest, HeapBlocksAreGivenBackToTheHeap) {
  ForceHeapFallback(true);
  char* small = static_cast<char*>(GetMem(10));
  char* big = static_cast<char*>(GetMem(100000));
  MemBlock* s = FindBlock(small);
  MemBlock* d = FindBlock(big);
  EXPECT_EQ(s->flHeapHeader, 1);
  EXPECT_EQ(s->flHeapData, 1);
  EXPECT_EQ(d->flHeapData, 1);
  EXPECT_TRUE(AllZero(small, 32));
  EXPECT_TRUE(AllZero(big, 100032));
  std::strcpy(small, "heap");
  small = static_cast<char*>(AdjustMem(small, 5000));
  EXPECT_STREQ(small, "heap");

  ForceHeapFallback(false);
  char* mapped = static_cast<char*>(GetMem(65535));
  MemBlock* m = FindBlock(mapped);
  EXPECT_EQ(m->flHeapHeader, 0);
  EXPECT_EQ(m->flHeapData, 0);
  EXPECT_EQ(Chain(), (std::vector<MemBlock*>{s, d, m}));
  // Under the sanitizers a heap block given to munmap, or a mapping given
  // to free, is reported here.
  PutMem(small);
  PutMem(big);
  PutMem(mapped);
}

}  // namespace
