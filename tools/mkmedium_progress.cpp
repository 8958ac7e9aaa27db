// mkmedium: what standard output shows. While the archive is cut, on a
// terminal only, one line of the pieces and bytes written so far,
// rewritten in place; once the medium is made, the closing report.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "mkmedium.h"

namespace mkmedium {

Progress::Progress() : on_(isatty(STDOUT_FILENO) == 1) {}

void Progress::Show(size_t pieces, unsigned long long bytes) {
  if (!on_) return;
  std::printf("\r%s: %zu piece%s written, %llu bytes", kTool, pieces, pieces == 1 ? "" : "s", bytes);
  std::fflush(stdout);
  shown_ = true;
}

void Progress::End() {
  if (shown_) std::printf("\n");
  shown_ = false;
}

void PrintReport(const Options& opts, const OutputDir& out, const std::vector<std::string>& files,
                 const Archive& archive, unsigned pieces, unsigned long long isize, unsigned long long tsize) {
  std::printf("%s: made the medium %s (%s%s) from %s:\n", kTool, opts.output.c_str(), Marker(opts),
              opts.dos ? ", DOS names" : "", opts.product.c_str());
  for (const std::string& f : files) {
    struct stat fst;
    long long bytes = stat(out.File(f).c_str(), &fst) == 0 ? static_cast<long long>(fst.st_size) : 0;
    std::printf("  %-14s %10lld bytes\n", f.c_str(), bytes);
  }
  std::printf("  archive %llu bytes compressed (%llu as tar) in %u piece%s of at most %llu bytes\n", archive.bytes,
              archive.tarBytes, pieces, pieces == 1 ? "" : "s", opts.pieceSize);
  std::printf("  isize %llu KiB, tsize %llu KiB\n", isize, tsize);
}

}  // namespace mkmedium
