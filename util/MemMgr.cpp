// Block memory manager: blocks of zeroed pages cut into 32-byte nodes, a
// character table per block telling which nodes are used.
#include "MemMgr.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "UtilText.h"

#ifdef SETUP_MEM_POISONING
#include <sanitizer/asan_interface.h>
#endif

MemBlock* pMemB = nullptr;

namespace {

int MemId = -1;  // /dev/zero, opened on the first mapping and kept open
bool flForceHeap = false;

// Size is an int32, so no data area can be larger than this multiple of
// the granule; requests beyond it are refused rather than wrapped.
constexpr size_t kMaxBlockSize =
    size_t{INT32_MAX} / kMemDedicatedGranule * kMemDedicatedGranule;

// Blocks are mapped with their pages present where the system can: what is
// asked for is about to be written, and one fault per page costs far more
// than filling them in one go.
#ifdef MAP_POPULATE
constexpr int kPrefault = MAP_POPULATE;
#else
constexpr int kPrefault = 0;
#endif

size_t PageSize() {
  static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return page;
}

// What MapBlock takes for size bytes: whole pages, one more than the whole
// pages in size (so an exact multiple gets a spare page too). FreeBlock
// gives back the same length, spare page included.
size_t MappedLength(size_t size) {
  const size_t page = PageSize();
  return (size / page + 1) * page;
}

size_t RoundUp(size_t v, size_t unit) { return (v + unit - 1) / unit * unit; }

// Under AddressSanitizer the data areas are poisoned wherever no caller
// owns a byte: free nodes, and the bytes of an allocation past its length
// and the terminating zero promised after it. A write one byte past what
// GetMem handed out is then caught like one past a malloc'ed block. The
// manager's own clearing and copying opens the bytes first (Unpoison).
bool flPoison = true;

void Poison(const void* p, size_t n) {
#ifdef SETUP_MEM_POISONING
  if (flPoison) ASAN_POISON_MEMORY_REGION(p, n);
#else
  (void)p, (void)n;
#endif
}

void Unpoison(const void* p, size_t n) {
#ifdef SETUP_MEM_POISONING
  ASAN_UNPOISON_MEMORY_REGION(p, n);
#else
  (void)p, (void)n;
#endif
}

// An allocation of `whole` bytes at p of which a caller owns len and the
// zero after it.
void Handout(char* p, size_t len, size_t whole) {
  Unpoison(p, len + 1);
  Poison(p + len + 1, whole - len - 1);
}

// Rounded size of a request: len plus a terminating zero, in whole nodes.
// SIZE_MAX for a request no block could hold.
size_t RequestSize(size_t len) {
  return len < kMaxBlockSize ? RoundUp(len + 1, kMemNodeSize) : SIZE_MAX;
}

bool IsDedicated(const MemBlock* b) { return b->Size > kMemBlockSize; }

int NodeIndex(const MemBlock* b, const void* p) {
  return static_cast<int>((reinterpret_cast<uintptr_t>(p) -
                           reinterpret_cast<uintptr_t>(b->pMemory)) /
                          kMemNodeSize);
}

char* NodeAddr(const MemBlock* b, int i) { return b->pMemory + size_t{kMemNodeSize} * i; }

// Number of leading characters of s[0..n) equal to ch. Compares eight
// characters at a time; the first differing byte of a word is found from
// the position of the lowest (little-endian) set bit of the difference.
size_t SpanOf(const char* s, size_t n, char ch) {
  constexpr uint64_t kEveryByte = 0x0101010101010101ULL;
  const uint64_t pattern = kEveryByte * static_cast<unsigned char>(ch);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, s + i, 8);
    const uint64_t diff = word ^ pattern;
    if (diff != 0) {
      if constexpr (std::endian::native == std::endian::little)
        return i + static_cast<size_t>(std::countr_zero(diff)) / 8;
      else
        return i + static_cast<size_t>(std::countl_zero(diff)) / 8;
    }
  }
  while (i < n && s[i] == ch) ++i;
  return i;
}

// Sets (free) or clears (used) bits first .. first+count-1 of the block's
// free-node bitmap, a word at a time.
void MarkBits(MemBlock* b, int first, int count, bool free) {
  for (int k = first; k < first + count;) {
    const int word = k / 64, bit = k % 64;
    const int span = std::min(64 - bit, first + count - k);
    const uint64_t mask = (span == 64 ? ~uint64_t{0} : ((uint64_t{1} << span) - 1)) << bit;
    if (free)
      b->FreeBits[word] |= mask;
    else
      b->FreeBits[word] &= ~mask;
    k += span;
  }
}

// Bit j set when bits j .. j+n-1 of w are all set (1 <= n <= 64; bits
// above 63 count as clear). Doubles the run length tested at each step.
uint64_t RunStarts(uint64_t w, int n) {
  for (int s = 1; s < n && w != 0;) {
    const int step = std::min(s, n - s);
    w &= w >> step;
    s += step;
  }
  return w;
}

// Leftmost start of n free nodes at or after node from (first fit), -1
// when there is none. Works on the bitmap, 64 nodes at a time; `run`
// carries the free nodes at the top of one word into the next.
int FindFreeRun(const uint64_t* bits, int n, int from) {
  int run = 0;
  for (int base = from & ~63; base < kMemNodesPerBlock; base += 64) {
    uint64_t w = bits[base / 64];
    if (base < from) w &= ~uint64_t{0} << (from - base);
    const int low = std::countr_one(w);
    if (run + low >= n) return base - run;
    if (low == 64) {
      run += 64;
      continue;
    }
    if (n <= 64) {
      const uint64_t starts = RunStarts(w, n);
      if (starts != 0) return base + std::countr_zero(starts);
    }
    run = std::countl_one(w);
  }
  return -1;
}

int FitHint(const MemBlock* b, int n) { return b->FitFrom[std::min(n, kMemFitHints) - 1]; }

// After a search for n nodes: no n free nodes start before `found`
// (kMemNodesPerBlock when the search failed), nor any longer run. A search
// for more nodes than the hints cover tells nothing about shorter runs.
void NoteSearch(MemBlock* b, int n, int found) {
  if (found == kMemNodesPerBlock) b->MaxFreeRun = n - 1;
  // The hints never decrease with k (a longer run starts no earlier than a
  // shorter one can), so the raising stops at the first that is far enough.
  for (int k = n - 1; k < kMemFitHints && b->FitFrom[k] < found; ++k) b->FitFrom[k] = static_cast<int16_t>(found);
}

// Free nodes just before node `end` (counting down) and from node `first`
// on (counting up), read from the bitmap a word at a time.
int FreeRunBefore(const MemBlock* b, int end) {
  int run = 0;
  while (end > 0) {
    const int bit = (end - 1) % 64;
    // The bits below `end` in its word, moved to the top.
    const uint64_t w = b->FreeBits[(end - 1) / 64] << (63 - bit);
    const int ones = std::countl_one(w);
    if (ones <= bit) return run + ones;
    run += bit + 1;
    end -= bit + 1;
  }
  return run;
}

int FreeRunFrom(const MemBlock* b, int first) {
  int run = 0;
  while (first < kMemNodesPerBlock) {
    const int bit = first % 64;
    const int ones = std::countr_one(b->FreeBits[first / 64] >> bit);
    if (ones < 64 - bit) return run + ones;
    run += 64 - bit;
    first += 64 - bit;
  }
  return run;
}

void MarkNodes(MemBlock* b, int first, int count, char mark) {
  std::memset(b->MAT + first, mark, count);
  MarkBits(b, first, count, mark == kMatFree);
  if (mark == kMatUsed) {
    b->FreeNodeCount -= count;
    return;
  }
  b->FreeNodeCount += count;
  Poison(NodeAddr(b, first), size_t{kMemNodeSize} * count);
  // The freed nodes join the free runs on either side of them.
  const int end = first + count;
  const int before = FreeRunBefore(b, first);
  const int after = FreeRunFrom(b, end);
  const int start = first - before;
  const int length = before + count + after;
  b->MaxFreeRun = std::max(b->MaxFreeRun, length);
  // Runs made possible here start no earlier than the merged run does;
  // the hints stay ordered, so the lowering stops at the first that is
  // early enough.
  for (int k = std::min(length, kMemFitHints) - 1; k >= 0 && b->FitFrom[k] > start; --k)
    b->FitFrom[k] = static_cast<int16_t>(start);
}

void GiveBack(void* p, size_t size, unsigned char fromHeap) {
  if (p == nullptr) return;
  // Whoever gets these pages next gets them unpoisoned.
  Unpoison(p, size);
  if (fromHeap)
    std::free(p);
  else
    munmap(p, MappedLength(size));
}

void* TakeNodes(MemBlock* b, int i, int n, size_t len) {
  MarkNodes(b, i, n, kMatUsed);
  char* p = NodeAddr(b, i);
  b->Nodes[i].NodeCnt = static_cast<uint16_t>(n);
  b->Nodes[i].pAddr = p;
  const size_t whole = size_t{kMemNodeSize} * n;
  Unpoison(p, whole);
  std::memset(p, 0, whole);
  Handout(p, len, whole);
  return p;
}

// A dedicated block for a rounded request a. Its pages are fresh, so they
// are zero already; touching them here would only fault them in.
void* GetDedicated(size_t a, size_t len) {
  const size_t size = a <= kMaxBlockSize ? RoundUp(a, kMemDedicatedGranule) : SIZE_MAX;
  MemBlock* b = GetNewBlock(size);
  if (b == nullptr) return nullptr;
  std::memset(b->MAT, kMatUsed, kMemNodesPerBlock);
  MarkBits(b, 0, kMemNodesPerBlock, false);
  b->FreeNodeCount = 0;
  b->MaxFreeRun = 0;
  b->UsedSize = static_cast<int32_t>(a);
  Handout(b->pMemory, len, size);
  return b->pMemory;
}

// Moves an allocation to a new one of len bytes: the first `keep` bytes are
// copied and p is freed. NULL, p untouched, when no new allocation can be had.
void* MoveAllocation(void* p, size_t keep, size_t len) {
  void* q = GetMem(len);
  if (q == nullptr) return nullptr;
  // The whole of the old allocation is copied, its spare bytes (zero) too:
  // the copy is cut to what the new one may hold.
  const size_t copy = std::min({keep, RequestSize(len), len + 1});
  Unpoison(p, copy);
  std::memcpy(q, p, copy);
  PutMem(p);
  return q;
}

void* AdjustDedicated(MemBlock* b, size_t a, size_t len) {
  const size_t used = static_cast<size_t>(b->UsedSize);
  if (a > static_cast<size_t>(b->Size)) return MoveAllocation(b->pMemory, used, len);
  // In place. Shrinking clears from len on, so the cut content is gone and
  // a terminating zero follows len; growing clears the newly handed-out
  // part. UsedSize follows every change, also one up to exactly Size, so a
  // later shrink never clears bytes that are in use.
  Unpoison(b->pMemory, std::max(a, used));
  if (a <= used)
    std::memset(b->pMemory + len, 0, used - len);
  else
    std::memset(b->pMemory + used, 0, a - used);
  b->UsedSize = static_cast<int32_t>(a);
  Handout(b->pMemory, len, static_cast<size_t>(b->Size));
  return b->pMemory;
}

}  // namespace

void ForceHeapFallback(bool on) { flForceHeap = on; }

void SetMemPoisoning(bool on) { flPoison = on; }

bool TestMAT(const char* text, char ch, int n) {
  return n <= 0 || SpanOf(text, static_cast<size_t>(n), ch) == static_cast<size_t>(n);
}

void* MapBlock(size_t size, unsigned char* fromHeap) {
  if (size > SIZE_MAX - 2 * PageSize()) return nullptr;
  const size_t length = MappedLength(size);
  if (!flForceHeap && MemId == -1) MemId = open("/dev/zero", O_RDWR | O_CLOEXEC);
  if (!flForceHeap && MemId != -1) {
    *fromHeap = 0;
    void* m = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | kPrefault, MemId, 0);
    return m == MAP_FAILED ? nullptr : m;
  }
  *fromHeap = 1;
  return std::calloc(1, length);
}

MemBlock* GetNewBlock(size_t len) {
  const size_t size = std::max(len, size_t{kMemBlockSize});
  unsigned char heapHeader = 0;
  unsigned char heapData = 0;
  void* header = nullptr;
  void* data = nullptr;
  if (size <= kMaxBlockSize) {
    header = MapBlock(sizeof(MemBlock), &heapHeader);
    data = MapBlock(size, &heapData);
  }
  if (header == nullptr || data == nullptr) {
    GiveBack(header, sizeof(MemBlock), heapHeader);
    GiveBack(data, size, heapData);
    std::fprintf(stderr, "ERROR: %s\n", RunUtilText(UtilText::kNoMemory));
    return nullptr;
  }
  // Fresh pages and calloc'ed memory are zero: the header is clear already.
  MemBlock* b = static_cast<MemBlock*>(header);
  std::memset(b->MAT, kMatFree, kMemNodesPerBlock);
  b->MAT[kMemNodesPerBlock] = '\0';
  MarkBits(b, 0, kMemNodesPerBlock, true);
  b->Size = static_cast<int32_t>(size);
  b->pMemory = static_cast<char*>(data);
  b->FreeNodeCount = kMemNodesPerBlock;
  b->MaxFreeRun = kMemNodesPerBlock;
  b->flHeapHeader = heapHeader;
  b->flHeapData = heapData;
  Poison(b->pMemory, size);
  PushBlock(b);
  return b;
}

void PushBlock(MemBlock* block) {
  block->pNext = nullptr;
  if (pMemB == nullptr) {
    block->pPrev = nullptr;
    pMemB = block;
    return;
  }
  MemBlock* last = pMemB;
  while (last->pNext != nullptr) last = last->pNext;
  last->pNext = block;
  block->pPrev = last;
}

void PopBlock(MemBlock* block) {
  if (block->pPrev != nullptr)
    block->pPrev->pNext = block->pNext;
  else
    pMemB = block->pNext;
  if (block->pNext != nullptr) block->pNext->pPrev = block->pPrev;
  block->pNext = block->pPrev = nullptr;
}

MemBlock* FindBlock(const void* p) {
  // Compared as integers: the pointer may belong to no block at all. The
  // end is exclusive, so a pointer just past a data area is nobody's.
  const uintptr_t addr = reinterpret_cast<uintptr_t>(p);
  for (MemBlock* b = pMemB; b != nullptr; b = b->pNext) {
    const uintptr_t base = reinterpret_cast<uintptr_t>(b->pMemory);
    if (addr >= base && addr - base < static_cast<uintptr_t>(b->Size)) return b;
  }
  return nullptr;
}

void FreeBlock(MemBlock* block) {
  PopBlock(block);
  GiveBack(block->pMemory, static_cast<size_t>(block->Size), block->flHeapData);
  GiveBack(block, sizeof(MemBlock), block->flHeapHeader);
}

void* GetMem(size_t len) {
  if (len == 0) return nullptr;
  const size_t a = RequestSize(len);
  if (a > kMemBlockSize) return GetDedicated(a, len);
  const int n = static_cast<int>(a / kMemNodeSize);
  for (MemBlock* b = pMemB;; b = b->pNext) {
    if (b == nullptr) {
      b = GetNewBlock(a);
      if (b == nullptr) return nullptr;
    }
    if (b->FreeNodeCount < n || b->MaxFreeRun < n) continue;
    const int i = FindFreeRun(b->FreeBits, n, FitHint(b, n));
    NoteSearch(b, n, i >= 0 ? i : kMemNodesPerBlock);
    if (i >= 0) return TakeNodes(b, i, n, len);
  }
}

void PutMem(void* p) {
  MemBlock* b = FindBlock(p);
  if (b == nullptr) return;
  if (IsDedicated(b)) {
    if (p == b->pMemory) FreeBlock(b);
    return;
  }
  const int i = NodeIndex(b, p);
  MemNode& node = b->Nodes[i];
  if (node.NodeCnt == 0 || node.pAddr != p) return;
  MarkNodes(b, i, node.NodeCnt, kMatFree);
  node = MemNode{};
  if (b->FreeNodeCount == kMemNodesPerBlock) FreeBlock(b);
}

void* AdjustMem(void* p, size_t len) {
  if (len == 0) {
    PutMem(p);
    return nullptr;
  }
  MemBlock* b = FindBlock(p);
  if (b == nullptr) return GetMem(len);
  const size_t a = RequestSize(len);
  if (IsDedicated(b)) return p == b->pMemory ? AdjustDedicated(b, a, len) : nullptr;

  const int i = NodeIndex(b, p);
  MemNode& node = b->Nodes[i];
  if (node.NodeCnt == 0 || node.pAddr != p) return nullptr;
  const int o = node.NodeCnt;
  char* const data = static_cast<char*>(p);
  if (a > kMemBlockSize) return MoveAllocation(p, size_t{kMemNodeSize} * o, len);

  const int n = static_cast<int>(a / kMemNodeSize);
  if (n <= o) {
    // Shrink in place; the cut content is cleared so a zero follows len.
    Unpoison(data, size_t{kMemNodeSize} * o);
    std::memset(data + len, 0, size_t{kMemNodeSize} * o - len);
    if (n < o) MarkNodes(b, i + n, o - n, kMatFree);
    node.NodeCnt = static_cast<uint16_t>(n);
    Handout(data, len, size_t{kMemNodeSize} * n);
    return p;
  }

  const int d = n - o;
  if (i + n <= kMemNodesPerBlock && TestMAT(b->MAT + i + o, kMatFree, d)) {
    MarkNodes(b, i + o, d, kMatUsed);
    Unpoison(data, size_t{kMemNodeSize} * n);
    std::memset(data + size_t{kMemNodeSize} * o, 0, size_t{kMemNodeSize} * d);
    node.NodeCnt = static_cast<uint16_t>(n);
    Handout(data, len, size_t{kMemNodeSize} * n);
    return p;
  }
  if (i >= d && TestMAT(b->MAT + i - d, kMatFree, d)) {
    const int j = i - d;
    MarkNodes(b, j, d, kMatUsed);
    char* q = NodeAddr(b, j);
    Unpoison(q, size_t{kMemNodeSize} * n);
    std::memmove(q, data, size_t{kMemNodeSize} * o);  // the ranges may overlap
    std::memset(q + size_t{kMemNodeSize} * o, 0, size_t{kMemNodeSize} * d);
    b->Nodes[j].NodeCnt = static_cast<uint16_t>(n);
    b->Nodes[j].pAddr = q;
    node = MemNode{};
    Handout(q, len, size_t{kMemNodeSize} * n);
    return q;
  }
  return MoveAllocation(p, size_t{kMemNodeSize} * o, len);
}
