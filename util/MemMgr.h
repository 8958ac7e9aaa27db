// Block memory manager: every dynamic allocation of the program. Blocks of
// zeroed pages are handed out in 32-byte nodes; which nodes are used is kept
// in a 2048-character allocation table per block (' ' free, 'U' used), so a
// request for n nodes is a search for n spaces. Requests above 65536 bytes
// get a dedicated block of their own.
#pragma once

#include <cstddef>
#include <cstdint>

// Defined when AddressSanitizer watches the data areas: then every byte
// that no caller owns (free nodes, and an allocation's bytes past its
// length and the zero after it) is poisoned, and touching one is reported.
#if defined(__SANITIZE_ADDRESS__)
#define SETUP_MEM_POISONING 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SETUP_MEM_POISONING 1
#endif
#endif

constexpr int kMemNodeSize = 32;
constexpr int kMemNodesPerBlock = 2048;
constexpr int kMemBlockSize = kMemNodeSize * kMemNodesPerBlock;  // 65536
constexpr int kMemDedicatedGranule = 65536;
constexpr char kMatFree = ' ';
constexpr char kMatUsed = 'U';
constexpr int kMemFitHints = 16;  // requests of 1 to 16 nodes keep a search start

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
  // Search accelerators, kept by every change of MAT. No run of free nodes
  // is longer than MaxFreeRun (an upper bound, exact after a failed search),
  // so a block without room is passed over unsearched. No k + 1 consecutive
  // free nodes start before node FitFrom[k], so a first-fit search for k + 1
  // or more nodes may begin there; FitFrom never decreases with k.
  int32_t MaxFreeRun;
  int16_t FitFrom[kMemFitHints];
  // MAT again as bits, set for a free node (node k is bit k % 64 of word
  // k / 64), so that a search tests 64 nodes with one word.
  uint64_t FreeBits[kMemNodesPerBlock / 64];
};

extern MemBlock* pMemB;      // first block of the chain, NULL before the first allocation

// len zero bytes (at least one more zero byte follows them); NULL for len 0
// or when no memory can be had.
void* GetMem(size_t len);

// Gives back the allocation that starts at p. NULL, pointers outside every
// block and pointers inside an allocation but not at its start are ignored.
void PutMem(void* p);

// Resizes the allocation at p keeping its first len bytes (or all of it when
// growing); may move it. Growth comes zeroed; shrinking clears the bytes
// cut off, so a zero follows len as after GetMem. len 0 frees p and returns
// NULL; a p that no block holds gives GetMem(len). NULL, with p left as it
// was, when a needed move cannot be had or p is inside an allocation but
// not at its start.
void* AdjustMem(void* p, size_t len);

// True when the n characters at text are all ch (true for n 0).
bool TestMAT(const char* text, char ch, int n);

// Internals, visible for the tests.

// Zeroed memory for size bytes and at least one page more: a private
// mapping of /dev/zero, or the heap when /dev/zero cannot be opened
// (*fromHeap tells which). NULL when neither can be had.
void* MapBlock(size_t size, unsigned char* fromHeap);
// A new block with a data area of len bytes (at least 65536), appended to
// the chain. NULL, after "ERROR: Unable to allocate memory" on stderr, when
// the memory cannot be had or len is beyond what a block can describe.
MemBlock* GetNewBlock(size_t len);
void PushBlock(MemBlock* block);  // appends at the end of the chain
void PopBlock(MemBlock* block);   // unlinks from the chain
// The block whose data area holds p (pMemory <= p < pMemory + Size), or NULL.
MemBlock* FindBlock(const void* p);
// Unlinks the block and gives data area and header back where they came from.
void FreeBlock(MemBlock* block);
// While on, MapBlock behaves as if /dev/zero could not be opened.
void ForceHeapFallback(bool on);
// While off, the sanitizer build poisons nothing more (for tests that look
// at the bytes no caller owns); on by default.
void SetMemPoisoning(bool on);

// Typed convenience for callers: GetMemT<char>(n) is (char*)GetMem(n).
template <typename T>
inline T* GetMemT(size_t len) {
  return static_cast<T*>(GetMem(len));
}
