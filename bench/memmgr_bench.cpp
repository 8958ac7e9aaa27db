// Times the block memory manager against malloc/free/realloc on a mix like
// the installer's own: many short formatted strings made and freed, some of
// them grown, and now and then a large buffer filled like a file read into
// memory. Both allocators run the same seeded sequence, interleaved round by
// round so that machine noise hits both alike; the medians and their ratio
// are printed.
//
//   memmgr_bench [rounds [mix-name-part]]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "MemMgr.h"

namespace {

struct Manager {
  static const char* Name() { return "GetMem/PutMem/AdjustMem"; }
  static void* Get(size_t n) { return GetMem(n); }
  static void Put(void* p) { PutMem(p); }
  static void* Adjust(void* p, size_t n) { return AdjustMem(p, n); }
};

struct Heap {
  static const char* Name() { return "malloc/free/realloc"; }
  static void* Get(size_t n) { return std::malloc(n); }
  static void Put(void* p) { std::free(p); }
  static void* Adjust(void* p, size_t n) { return std::realloc(p, n); }
};

struct Mix {
  const char* name;
  int ops;
  // Shares of the operations, in units of 1/100000: make a formatted
  // string, grow a live one, take, fill and free a large buffer. The rest
  // free a live string.
  int stringShare;
  int growShare;
  int largeShare;
};

constexpr int kSlots = 1500;

struct Slot {
  char* text = nullptr;
  size_t size = 0;
};

volatile unsigned sink;  // keeps the work from being optimised away

// Makes the compiler assume p is used, so it cannot drop a malloc/free pair.
void Escape(void* p) { asm volatile("" : : "g"(p) : "memory"); }

template <typename A>
double RunMix(const Mix& mix, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<Slot> slots(kSlots);
  const auto start = std::chrono::steady_clock::now();
  unsigned check = 0;
  for (int op = 0; op < mix.ops; ++op) {
    const int roll = static_cast<int>(rng() % 100000);
    Slot& s = slots[rng() % kSlots];
    if (roll < mix.stringShare) {
      A::Put(s.text);
      s.size = 10 + rng() % 191;
      s.text = static_cast<char*>(A::Get(s.size));
      Escape(s.text);
      std::snprintf(s.text, s.size, "/usr/Vexla/vpxx/lib/file%u.ppd %o %d",
                    static_cast<unsigned>(rng() % 10000),
                    0755u, op);
      check += static_cast<unsigned char>(s.text[s.size / 2]);
    } else if (roll < mix.stringShare + mix.growShare) {
      if (s.text == nullptr || s.size > 2000) continue;
      const size_t used = std::strlen(s.text);
      s.size *= 2;
      s.text = static_cast<char*>(A::Adjust(s.text, s.size));
      std::snprintf(s.text + used, s.size - used, " appended %d", op);
    } else if (roll < mix.stringShare + mix.growShare + mix.largeShare) {
      const size_t size = (100u << 10) + rng() % (924u << 10);
      char* big = static_cast<char*>(A::Get(size));
      Escape(big);
      std::memset(big, 'x', size - 1);
      Escape(big);
      check += static_cast<unsigned char>(big[size / 3]);
      A::Put(big);
    } else {
      A::Put(s.text);
      s = Slot{};
    }
  }
  for (Slot& s : slots) A::Put(s.text);
  const auto stop = std::chrono::steady_clock::now();
  sink = check;
  return std::chrono::duration<double, std::milli>(stop - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Compare(const Mix& mix, int rounds) {
  std::vector<double> manager, heap;
  for (int r = 0; r < rounds; ++r) {
    const unsigned seed = 1234u + static_cast<unsigned>(r);
    // Alternate which one goes first, so neither always gets a warm cache.
    if (r % 2 == 0) {
      manager.push_back(RunMix<Manager>(mix, seed));
      heap.push_back(RunMix<Heap>(mix, seed));
    } else {
      heap.push_back(RunMix<Heap>(mix, seed));
      manager.push_back(RunMix<Manager>(mix, seed));
    }
  }
  const double m = Median(manager);
  const double h = Median(heap);
  std::printf("%-34s %s %8.2f ms   %s %8.2f ms   ratio %.2f\n", mix.name, Manager::Name(), m,
              Heap::Name(), h, m / h);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  static const Mix kMixes[] = {
      // About ten large buffers among 200000 string operations.
      {"program mix (strings, grow, large)", 200000, 60000, 12000, 5},
      {"strings only", 200000, 60000, 0, 0},
      {"strings and growth", 200000, 60000, 12000, 0},
      {"large buffers only", 500, 0, 0, 100000},
  };
  std::printf("median of %d interleaved rounds\n", rounds);
  const char* only = argc > 2 ? argv[2] : "";
  for (const Mix& mix : kMixes)
    if (std::strstr(mix.name, only) != nullptr) Compare(mix, rounds);
  return 0;
}
