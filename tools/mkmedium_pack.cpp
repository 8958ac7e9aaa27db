// mkmedium: packing the product. tar packs the product folder, compress
// compresses the stream, and the compressed stream is cut into the pieces
// pkg_tar.001, pkg_tar.002, ... as it comes, each hashed as it is written.
// tar and compress are found on PATH and started directly (fork/exec,
// never through a shell), run side by side, and their exit statuses are
// checked; no archive is kept anywhere but in the pieces.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include "Sha256.h"
#include "mkmedium.h"

namespace fs = std::filesystem;

namespace mkmedium {

namespace {

// Piece names carry a three-digit number.
constexpr unsigned kMaxPieces = 999;

// The full path of program on PATH, or empty when there is none.
std::string FindOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    // An empty entry stands for the current folder.
    const std::string dir = end == start ? std::string(".") : dirs.substr(start, end - start);
    const std::string full = dir + "/" + program;
    struct stat st;
    if (stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(full.c_str(), X_OK) == 0) return full;
    start = end + 1;
  }
  return {};
}

// Starts the program with the arguments (args[0] is its name), its standard
// input and output from the descriptors given (-1: this program's own;
// our other descriptors are opened close-on-exec). The process id, or -1
// after saying why.
pid_t StartTool(const std::string& program, const std::vector<std::string>& args, int in = -1, int out = -1) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    ComplainErrno("cannot start %s", args[0].c_str());
    return -1;
  }
  if (pid == 0) {
    if ((in >= 0 && dup2(in, 0) < 0) || (out >= 0 && dup2(out, 1) < 0)) _exit(127);
    // We ignore SIGPIPE; the tools must see a closed pipe the usual way.
    signal(SIGPIPE, SIG_DFL);
    execv(program.c_str(), argv.data());
    std::fprintf(stderr, "%s: cannot run %s: %s\n", kTool, program.c_str(), std::strerror(errno));
    _exit(127);
  }
  return pid;
}

// Waits for the program started as pid. True when it exited with status 0;
// otherwise says why (when report is true).
bool WaitTool(pid_t pid, const std::string& name, bool report = true) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      ComplainErrno("cannot wait for %s", name.c_str());
      return false;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  if (!report) return false;
  if (WIFEXITED(status))
    Complain("%s failed with exit status %d", name.c_str(), WEXITSTATUS(status));
  else if (WIFSIGNALED(status))
    Complain("%s was killed by signal %d", name.c_str(), WTERMSIG(status));
  else
    Complain("%s ended abnormally", name.c_str());
  return false;
}

// The entries of the product folder, sorted, for tar's command line.
bool ProductEntries(const std::string& product, std::vector<std::string>* names) {
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(product, ec)) names->push_back(e.path().filename());
  if (ec) {
    Complain("cannot read the product folder %s: %s", product.c_str(), ec.message().c_str());
    return false;
  }
  std::sort(names->begin(), names->end());
  return true;
}

// Copies the tar stream into compress, counting its bytes; closes both ends.
void ForwardTar(int from, int to, unsigned long long* bytes) {
  std::vector<char> buf(65536);
  for (;;) {
    ssize_t n = read(from, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || !WriteAll(to, buf.data(), static_cast<size_t>(n))) break;
    *bytes += static_cast<unsigned long long>(n);
  }
  close(from);
  close(to);
}

// Cuts the compressed stream into pieces of pieceSize bytes in the medium
// folder, each hashed as it is written. Past the most pieces a list can
// name the stream is only counted. False after saying why.
bool CutPieces(int from, const OutputDir& out, const MediumNames& names, unsigned long long pieceSize,
               Archive* archive) {
  Progress progress;
  std::vector<char> buf(65536);
  std::unique_ptr<Fd> piece;
  std::string path;
  Sha256 sum;
  unsigned long long inPiece = 0;
  auto finishPiece = [&] {
    inPiece = 0;
    if (!piece) return true;
    const bool ok = FinishFile(*piece, path);
    piece.reset();
    archive->pieceDigests.push_back(sum.HexDigest());
    progress.Show(archive->pieceDigests.size(), archive->bytes);
    return ok;
  };
  for (;;) {
    ssize_t got = read(from, buf.data(), buf.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ComplainErrno("cannot read the output of compress");
      return false;
    }
    if (got == 0) break;
    for (size_t at = 0; at < static_cast<size_t>(got);) {
      if (inPiece == 0 && archive->pieceDigests.size() < kMaxPieces) {
        path = out.File(PieceName(names, static_cast<unsigned>(archive->pieceDigests.size() + 1)));
        piece = std::make_unique<Fd>(CreateNew(path, 0644));
        if (!piece->ok()) return false;
        sum = Sha256();
      }
      const size_t n = static_cast<size_t>(std::min<unsigned long long>(pieceSize - inPiece, got - at));
      if (piece && !WriteAll(piece->get(), buf.data() + at, n)) {
        ComplainErrno("cannot write %s", path.c_str());
        return false;
      }
      if (piece) sum.Update(buf.data() + at, n);
      at += n;
      inPiece += n;
      archive->bytes += n;
      if (inPiece == pieceSize && !finishPiece()) return false;
    }
  }
  const bool ok = inPiece == 0 || finishPiece();
  progress.End();
  return ok;
}

}  // namespace

bool PackProduct(const std::string& product, const OutputDir& out, const MediumNames& names,
                 unsigned long long pieceSize, Archive* archive) {
  std::string tar = FindOnPath("tar");
  if (tar.empty()) {
    Complain("cannot find the program tar on PATH");
    return false;
  }
  std::string compress = FindOnPath("compress");
  if (compress.empty()) {
    Complain("cannot find the program compress on PATH (on Debian it comes with the package ncompress)");
    return false;
  }
  std::vector<std::string> entries;
  if (!ProductEntries(product, &entries)) return false;
  // Owner and group root: the installer unpacks as root and copies with
  // cp -p, so the packager's own ids must not reach the target.
  std::vector<std::string> tarArgs = {
      "tar", "-cf",   "-", "--format=ustar", "--owner=0", "--group=0", "--numeric-owner", "--sort=name",
      "-C",  product, "--"};
  tarArgs.insert(tarArgs.end(), entries.begin(), entries.end());
  int tarOut[2], zIn[2], zOut[2];
  if (pipe2(tarOut, O_CLOEXEC) != 0 || pipe2(zIn, O_CLOEXEC) != 0 || pipe2(zOut, O_CLOEXEC) != 0) {
    ComplainErrno("cannot make a pipe");
    return false;
  }
  const pid_t tarPid = StartTool(tar, tarArgs, -1, tarOut[1]);
  close(tarOut[1]);
  // -f: compress even when that saves nothing, instead of refusing.
  const pid_t zPid = StartTool(compress, {"compress", "-c", "-f"}, zIn[0], zOut[1]);
  close(zIn[0]);
  close(zOut[1]);
  std::thread forward(ForwardTar, tarOut[0], zIn[1], &archive->tarBytes);
  bool cut = CutPieces(zOut[0], out, names, pieceSize, archive);
  // Closing our end stops compress, and so tar, when the cutting failed.
  close(zOut[0]);
  forward.join();
  // A tool stopped because the cutting failed has nothing to add, nor has
  // a tar stopped because compress ended.
  const bool zOk = zPid > 0 && WaitTool(zPid, "compress", cut);
  const bool tarOk = tarPid > 0 && WaitTool(tarPid, "tar", cut && zOk);
  if (!cut || !tarOk || !zOk) return false;
  if (archive->bytes == 0) {
    Complain("compress made no archive");
    return false;
  }
  return true;
}

unsigned CountPieces(const Archive& archive, unsigned long long pieceSize) {
  const unsigned long long count = (archive.bytes + pieceSize - 1) / pieceSize;
  if (count > kMaxPieces) {
    Complain(
        "the archive of %llu bytes would make %llu pieces of %llu bytes; at most %u can be named: "
        "give a larger --piece-size",
        archive.bytes, count, pieceSize, kMaxPieces);
    return 0;
  }
  return static_cast<unsigned>(count);
}

}  // namespace mkmedium
