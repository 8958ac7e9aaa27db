// An attacker who races root, for the scenario tests: run as another user,
// it renames entries at the moment a line appears in root's run log, or
// exchanges two names again and again while root works.
//
//   racer LOG PATTERN FROM TO [FROM TO ...]
//       waits (inotify on LOG, at most 60 s) until LOG holds PATTERN, then
//       renames each FROM over its TO, trying again while it is refused
//       until the log grows; prints "saw", then "renamed FROM" or
//       "refused FROM: why" for each, then "done".
//   racer --exchange STOP A B
//       exchanges A and B (renameat2 RENAME_EXCHANGE) in a loop until the
//       file STOP exists (at most 120 s); prints "exchanged N refused M",
//       then "done".
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::string ReadLog(const char* log) {
  std::string text;
  const int fd = open(log, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char buf[65536];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
  close(fd);
  return text;
}

int Watch(const char* log, const char* pattern, char** pairs, int count) {
  const int in = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (in >= 0) inotify_add_watch(in, log, IN_MODIFY);
  const double end = Now() + 60;
  std::string seen;
  while ((seen = ReadLog(log)).find(pattern) == std::string::npos) {
    if (Now() > end) {
      std::printf("never saw %s\ndone\n", pattern);
      return 1;
    }
    // Woken by the log's growth; looked at again every few milliseconds in
    // case the log was made anew under the watch.
    pollfd p{in, POLLIN, 0};
    if (poll(&p, 1, 3) > 0) {
      char events[4096];
      while (read(in, events, sizeof events) > 0) {
      }
    }
  }
  std::printf("saw\n");
  // Tried again while root's command may still be on its way: until the
  // log says more (the command's output or the next line).
  for (int i = 0; i + 1 < count; i += 2) {
    int err = 0;
    while (rename(pairs[i], pairs[i + 1]) != 0) {
      err = errno;
      if (ReadLog(log).size() > seen.size()) break;
      usleep(200);
      err = 0;
    }
    if (err == 0) {
      std::printf("renamed %s\n", pairs[i]);
    } else {
      std::printf("refused %s: %s\n", pairs[i], std::strerror(err));
    }
  }
  std::printf("done\n");
  return 0;
}

int Exchange(const char* stop, const char* a, const char* b) {
  long exchanged = 0, refused = 0;
  const double end = Now() + 120;
  for (long round = 0; Now() < end; ++round) {
    if (round % 256 == 0 && access(stop, F_OK) == 0) break;
    if (syscall(SYS_renameat2, AT_FDCWD, a, AT_FDCWD, b, 2 /* RENAME_EXCHANGE */) == 0)
      ++exchanged;
    else
      ++refused;
  }
  std::printf("exchanged %ld refused %ld\ndone\n", exchanged, refused);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc == 5 && std::strcmp(argv[1], "--exchange") == 0) return Exchange(argv[2], argv[3], argv[4]);
  if (argc >= 5 && argc % 2 == 1) return Watch(argv[1], argv[2], argv + 3, argc - 3);
  std::fprintf(stderr, "usage: racer LOG PATTERN FROM TO [FROM TO ...] | racer --exchange STOP A B\n");
  return 2;
}
