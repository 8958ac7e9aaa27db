// The digests of files: one file, many files shared among a few threads,
// and files hashed ahead while the caller goes on (Sha256.h tells which
// threads there are and when a digest taken ahead is used).
#include "Sha256.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "RegularFile.h"

namespace {


// Which file a path is and when it was last written or changed: a digest
// taken ahead holds while these stand (a write, a truncation, a chmod, a
// rename over it all change one of them).
struct Stamp {
  dev_t device;
  ino_t inode;
  off_t size;
  timespec modified, changed;
};

Stamp StampOf(const struct stat& st) { return Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim}; }

bool operator==(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }
bool operator==(const Stamp& a, const Stamp& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modified == b.modified &&
         a.changed == b.changed;
}

struct AheadDigest {
  bool taken = false;  // false when the file could not be read, or changed while it was
  std::string hex;
  Stamp stamp{};
};

// The clock the file system stamps times of change with, in whole ticks.
timespec CoarseNow() {
  timespec now;
  clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return now;
}

}  // namespace

bool Sha256StampSettled(const timespec& changed, const timespec& now) {
  return changed.tv_nsec != 0 && changed.tv_sec < now.tv_sec;
}

namespace {

// A change after the hashing starts must show in the file's stamp. The
// file system keeps its change time at a granularity of its own (a
// nanosecond, a clock tick, 10 ms, a second or two), and a change within
// that grain leaves the time as it was; so a file is hashed ahead only
// when its change time is safely earlier than the hashing
// (Sha256StampSettled), and is otherwise left to be hashed when asked for.
AheadDigest HashAhead(const std::string& path) {
  AheadDigest d;
  const RegularFile file(path.c_str(), RegularFile::kRefuseLink);
  if (file.fd() < 0) return d;
  const timespec now = CoarseNow();  // read first: a change after it cannot keep the time fstat sees
  struct stat before, after;
  if (fstat(file.fd(), &before) != 0 || !Sha256StampSettled(before.st_ctim, now)) return d;
  d.stamp = StampOf(before);
  d.taken = Sha256OpenFile(file.fd(), &d.hex) && fstat(file.fd(), &after) == 0 && StampOf(after) == d.stamp;
  return d;
}

constexpr size_t kMaxThreads = 4;

// Calls work(i) for every i below n, shared among a few threads (one a
// processor, at most four, the calling one among them). Each i is taken
// by one thread only.
void ForEachShared(size_t n, const std::function<void(size_t)>& work) {
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next++; i < n; i = next++) work(i);
  };
  const size_t threads =
      std::min({size_t{std::max(1u, std::thread::hardware_concurrency())}, kMaxThreads, std::max<size_t>(n, 1)});
  std::vector<std::thread> helpers;
  for (size_t t = 1; t < threads; ++t) {
    try {
      helpers.emplace_back(worker);
    } catch (const std::system_error&) {
      break;  // no thread to be had: the calling one does the rest
    }
  }
  worker();
  for (std::thread& h : helpers) h.join();
}

// The files being hashed ahead, by path: the batch a path was handed over
// in, and its place there. Made once and never destroyed: a program that
// ends while a batch runs does not wait for it, and a thread still asking
// for a digest then finds the state whole.
using Batch = std::shared_future<std::vector<AheadDigest>>;
struct AheadState {
  std::mutex lock;
  std::map<std::string, std::pair<Batch, size_t>> digests;
  std::vector<Batch> batches;  // the batches that may still run
};

AheadState& Ahead() {
  static AheadState* const state = new AheadState;
  return *state;
}

// The digest hashed ahead for path, when the file is still the one hashed.
bool TakeAhead(const std::string& path, std::string* hex) {
  AheadState& state = Ahead();
  std::pair<Batch, size_t> pending;
  {
    std::lock_guard<std::mutex> hold(state.lock);
    auto it = state.digests.find(path);
    if (it == state.digests.end()) return false;
    pending = std::move(it->second);
    state.digests.erase(it);
  }
  const AheadDigest& d = pending.first.get()[pending.second];
  struct stat now;
  if (!d.taken || stat(path.c_str(), &now) != 0 || !(StampOf(now) == d.stamp)) return false;
  *hex = d.hex;
  return true;
}

}  // namespace

bool Sha256OpenFile(int fd, std::string* hex) {
  Sha256 sum;
  unsigned char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    sum.Update(buf, static_cast<size_t>(n));
  }
  *hex = sum.HexDigest();
  return true;
}

bool Sha256File(const char* path, std::string* hex) {
  const RegularFile file(path, RegularFile::kRefuseLink);
  return file.fd() >= 0 && Sha256OpenFile(file.fd(), hex);
}

void Sha256Ahead(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  AheadState& state = Ahead();
  std::lock_guard<std::mutex> hold(state.lock);
  std::erase_if(state.batches,
                [](const Batch& b) { return b.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
  if (state.batches.size() >= kMaxThreads) return;  // hashed when asked for, then
  Batch batch;
  try {
    batch = std::async(std::launch::async, [paths] {
              std::vector<AheadDigest> digests(paths.size());
              ForEachShared(paths.size(), [&](size_t i) { digests[i] = HashAhead(paths[i]); });
              return digests;
            }).share();
  } catch (const std::system_error&) {
    return;  // no thread to be had: hashed when asked for
  }
  state.batches.push_back(batch);
  // A path handed over again takes the place of its earlier digest.
  for (size_t i = 0; i < paths.size(); ++i) state.digests[paths[i]] = {batch, i};
}

std::vector<std::string> Sha256Files(const std::vector<std::string>& paths) {
  std::vector<std::string> digests(paths.size());
  std::vector<size_t> rest;  // the files not hashed ahead
  for (size_t i = 0; i < paths.size(); ++i)
    if (!TakeAhead(paths[i], &digests[i])) rest.push_back(i);
  ForEachShared(rest.size(), [&](size_t r) {
    if (!Sha256File(paths[rest[r]].c_str(), &digests[rest[r]])) digests[rest[r]].clear();
  });
  return digests;
}
