// Block memory manager: every dynamic allocation of the program. Blocks of
// zeroed pages are handed out in 32-byte nodes; which nodes are used is kept
// in a 2048-character allocation table per block (' ' free, 'U' used), so a
// request for n nodes is a search for n spaces. Requests above 65536 bytes
// get a dedicated block of their own.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kMemNodeSize = 32;
constexpr int kMemNodesPerBlock = 2048;
constexpr int kMemBlockSize = kMemNodeSize * kMemNodesPerBlock;  // 65536
constexpr int kMemDedicatedGranule = 65536;
constexpr char kMatFree = ' ';
constexpr char kMatUsed = 'U';

struct MemNode {
  uint16_t NodeCnt;  // nodes of the allocation starting here, 0 if none
  char* pAddr;       // first byte of that allocation, NULL if none
};

struct MemBlock {
  MemBlock* pNext;
  MemBlock* pPrev;
  int32_t Size;           // data area: 65536, or a multiple above for a dedicated block
  int32_t UsedSize;       // dedicated blocks: the rounded size handed out
  int32_t FreeNodeCount;  // spaces in MAT
  char* pMemory;          // the data area
  MemNode Nodes[kMemNodesPerBlock];
  char MAT[kMemNodesPerBlock + 1];
  // Where header and data area came from: 0 page mappings, 1 the heap
  // (used when /dev/zero cannot be opened), so FreeBlock gives them back
  // the way they were taken.
  unsigned char flHeapHeader;
  unsigned char flHeapData;
};

extern MemBlock* pMemB;      // first block of the chain, NULL before the first allocation
extern const char OutOfMem[];  // "Unable to allocate memory"

// len zero bytes (at least one more zero byte follows them); NULL for len 0
// or when no memory can be had.
void* GetMem(size_t len);

// Gives back the allocation that starts at p. NULL, pointers outside every
// block and pointers inside an allocation but not at its start are ignored.
void PutMem(void* p);

// Resizes the allocation at p keeping its content; may move it. len 0 frees
// p and returns NULL; a p that no block holds gives GetMem(len). NULL when
// a needed move cannot be had (p then stays valid).
void* AdjustMem(void* p, size_t len);

// True when the n characters at text are all ch (true for n 0).
bool TestMAT(const char* text, char ch, int n);

// Internals, visible for the tests.
void* MapBlock(size_t size, unsigned char* fromHeap);
MemBlock* GetNewBlock(size_t len);
void PushBlock(MemBlock* block);
void PopBlock(MemBlock* block);
MemBlock* FindBlock(const void* p);
void FreeBlock(MemBlock* block);

// Typed convenience for callers: GetMemT<char>(n) is (char*)GetMem(n).
template <typename T>
inline T* GetMemT(size_t len) {
  return static_cast<T*>(GetMem(len));
}
