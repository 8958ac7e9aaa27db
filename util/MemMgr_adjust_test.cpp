// Tests of AdjustMem, the memory manager's resizing: growing into the
// nodes that follow or precede, moving elsewhere, shrinking, and the
// dedicated blocks.
#include "MemMgr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "test_memmgr.h"

namespace {

TEST_F(MemMgrTest, AdjustMemGrowsIntoTheFollowingNodes) {
  char* p = static_cast<char*>(GetMem(10));
  std::strcpy(p, "hello");
  char* q = static_cast<char*>(AdjustMem(p, 100));
  EXPECT_EQ(q, p);
  EXPECT_EQ(pMemB->Nodes[0].NodeCnt, 4);
  EXPECT_EQ(pMemB->FreeNodeCount, 2044);
  EXPECT_STREQ(q, "hello");
  EXPECT_TRUE(AllZero(q + 5, 128 - 5));
  PutMem(q);
}

TEST_F(MemMgrTest, AdjustMemGrowsIntoThePrecedingNodesMovingTheContent) {
  char* hole = static_cast<char*>(GetMem(40));  // nodes 0-1
  char* p = static_cast<char*>(GetMem(60));     // nodes 2-3
  char* wall = static_cast<char*>(GetMem(1));   // node 4
  MemBlock* b = pMemB;
  PutMem(hole);
  for (int i = 0; i < 61; ++i) p[i] = static_cast<char>('!' + i);
  const std::string before(p, 61);

  // One more node: taken from node 1, so old and new range overlap.
  char* q = static_cast<char*>(AdjustMem(p, 80));
  EXPECT_EQ(q, b->pMemory + 32);
  EXPECT_EQ(std::string(q, 61), before);
  EXPECT_TRUE(AllZero(q + 64, 32));
  EXPECT_EQ(Mat(b).substr(0, 6), " UUUU ");
  EXPECT_EQ(b->Nodes[1].NodeCnt, 3);
  EXPECT_EQ(b->Nodes[1].pAddr, q);
  EXPECT_EQ(b->Nodes[2].NodeCnt, 0);
  EXPECT_EQ(b->Nodes[2].pAddr, nullptr);
  EXPECT_EQ(b->FreeNodeCount, 2044);
  EXPECT_TRUE(Consistent());
  PutMem(q);
  PutMem(wall);
}

TEST_F(MemMgrTest, AdjustMemCopiesElsewhereWhenNeitherNeighbourIsFree) {
  char* left = static_cast<char*>(GetMem(10));
  char* p = static_cast<char*>(GetMem(10));
  char* right = static_cast<char*>(GetMem(10));
  MemBlock* b = pMemB;
  std::strcpy(p, "content");
  char* q = static_cast<char*>(AdjustMem(p, 100));
  EXPECT_EQ(q, b->pMemory + 3 * 32);
  EXPECT_STREQ(q, "content");
  EXPECT_TRUE(AllZero(q + 7, 128 - 7));
  EXPECT_EQ(Mat(b).substr(0, 8), "U UUUUU ");
  EXPECT_EQ(b->Nodes[1].NodeCnt, 0);
  EXPECT_TRUE(Consistent());
  for (char* x : {left, q, right}) PutMem(x);
}

TEST_F(MemMgrTest, AdjustMemShrinksInPlaceAndClearsWhatWasCut) {
  char* p = static_cast<char*>(GetMem(200));  // 7 nodes
  std::memset(p, 'x', 200);
  char* q = static_cast<char*>(AdjustMem(p, 40));
  EXPECT_EQ(q, p);
  EXPECT_EQ(pMemB->Nodes[0].NodeCnt, 2);
  EXPECT_EQ(pMemB->FreeNodeCount, 2046);
  EXPECT_EQ(Mat(pMemB).substr(0, 8), "UU      ");
  EXPECT_TRUE(AllEqual(q, 40, 'x'));
  EXPECT_TRUE(AllZero(q + 40, 224 - 40));  // a zero follows the 40 bytes
  // Within the same nodes, too.
  q = static_cast<char*>(AdjustMem(q, 20));
  EXPECT_EQ(q, p);
  EXPECT_TRUE(AllZero(q + 20, 44));
  PutMem(q);
}

TEST_F(MemMgrTest, AdjustMemOfNullForeignAndZero) {
  char* p = static_cast<char*>(AdjustMem(nullptr, 100));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(pMemB->Nodes[Index(pMemB, p)].NodeCnt, 4);
  char onStack[8] = "static";
  char* q = static_cast<char*>(AdjustMem(onStack, 10));
  EXPECT_NE(q, onStack);
  EXPECT_TRUE(AllZero(q, 32));  // a fresh allocation, nothing copied
  EXPECT_EQ(AdjustMem(q, 0), nullptr);
  EXPECT_EQ(AdjustMem(p, 0), nullptr);
  EXPECT_EQ(pMemB, nullptr);
  EXPECT_EQ(AdjustMem(nullptr, 0), nullptr);
}

TEST_F(MemMgrTest, AdjustMemRefusesPointersInsideAnAllocation) {
  char* p = static_cast<char*>(GetMem(100));
  char* big = static_cast<char*>(GetMem(100000));
  const std::string before(Mat(pMemB));
  EXPECT_EQ(AdjustMem(p + 1, 500), nullptr);
  EXPECT_EQ(AdjustMem(p + 32, 10), nullptr);
  EXPECT_EQ(AdjustMem(big + 64, 200000), nullptr);
  EXPECT_EQ(Mat(pMemB), before);
  EXPECT_EQ(FindBlock(big)->UsedSize, 100032);
  EXPECT_EQ(Chain().size(), 2u);
  PutMem(p);
  PutMem(big);
}

TEST_F(MemMgrTest, AdjustMemMovesToADedicatedBlockAndBack) {
  char* p = static_cast<char*>(GetMem(100));
  std::memset(p, 'a', 100);
  char* q = static_cast<char*>(AdjustMem(p, 70000));
  ASSERT_NE(q, nullptr);
  MemBlock* d = FindBlock(q);
  EXPECT_EQ(Chain(), (std::vector<MemBlock*>{d}));  // the small block went
  EXPECT_EQ(d->Size, 131072);
  EXPECT_EQ(d->UsedSize, 70016);
  EXPECT_TRUE(AllEqual(q, 100, 'a'));
  EXPECT_TRUE(AllZero(q + 100, 70016 - 100));
  PutMem(q);
}

TEST_F(MemMgrTest, AdjustMemResizesDedicatedBlocksInPlace) {
  char* p = static_cast<char*>(GetMem(200000));
  MemBlock* d = pMemB;
  ASSERT_EQ(d->Size, 262144);
  std::memset(p, 'x', 200000);

  EXPECT_EQ(AdjustMem(p, 100000), p);  // shrink
  EXPECT_EQ(d->UsedSize, 100032);
  EXPECT_TRUE(AllEqual(p, 100000, 'x'));
  EXPECT_TRUE(AllZero(p + 100000, 200032 - 100000));

  EXPECT_EQ(AdjustMem(p, 262143), p);  // up to exactly Size
  EXPECT_EQ(d->UsedSize, 262144);
  std::memset(p + 100000, 'y', 162143);
  EXPECT_EQ(AdjustMem(p, 250000), p);  // keeps what was written after growing
  EXPECT_EQ(d->UsedSize, 250016);
  EXPECT_TRUE(AllEqual(p + 100000, 150000, 'y'));
  EXPECT_TRUE(AllZero(p + 250000, 262144 - 250000));

  EXPECT_EQ(AdjustMem(p, 10), p);  // stays dedicated
  EXPECT_EQ(d->UsedSize, 32);

  std::memset(p, 'z', 10);
  char* q = static_cast<char*>(AdjustMem(p, 300000));  // beyond Size: moves
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(Chain().size(), 1u);
  EXPECT_EQ(FindBlock(q)->Size, 327680);
  EXPECT_TRUE(AllEqual(q, 10, 'z'));
  EXPECT_TRUE(AllZero(q + 10, 300032 - 10));
  PutMem(q);
}

}  // namespace
