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

// The paths of tar and compress; false after saying which is missing.
bool FindTools(std::string* tar, std::string* compress) {
  *tar = FindOnPath("tar");
  if (tar->empty()) {
    Complain("cannot find the program tar on PATH");
    return false;
  }
  *compress = FindOnPath("compress");
  if (compress->empty()) {
    Complain("cannot find the program compress on PATH (on Debian it comes with the package ncompress)");
    return false;
  }
  return true;
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
bool WaitTool(pid_t pid, const std::string& name, bool report) {
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

// tar's command line for the product: its entries, sorted, packed with
// owner and group root (and reproducibly with opts.sourceDateEpoch); false
// after saying why the folder cannot be read.
bool TarCommand(const Options& opts, std::vector<std::string>* args) {
  const std::string& product = opts.product;
  std::vector<std::string> entries;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(product, ec)) entries.push_back(e.path().filename());
  if (ec) {
    Complain("cannot read the product folder %s: %s", product.c_str(), ec.message().c_str());
    return false;
  }
  std::sort(entries.begin(), entries.end());
  // Owner and group root: the installer unpacks as root and copies with
  // cp -p, so the packager's own ids must not reach the target.
  *args = {"tar", "-cf",   "-", "--format=ustar", "--owner=0", "--group=0", "--numeric-owner", "--sort=name",
           "-C",  product};
  if (opts.Reproducible()) {
    // A checkout's times and the umask it was made under vary; what it
    // keeps of a mode is whether a file is a program. So: no time past
    // SOURCE_DATE_EPOCH, group and others the owner's rights but writing,
    // which gives 755 and 644 for any umask that lets the owner read.
    args->insert(args->end(), {"--mtime=@" + opts.sourceDateEpoch, "--clamp-mtime", "--mode=u+rw,go=u-w"});
  }
  args->push_back("--");
  args->insert(args->end(), entries.begin(), entries.end());
  return true;
}

// A pipe's two ends, closed when it goes.
struct Pipe {
  Fd readEnd;
  Fd writeEnd;
};

// Opens the pipe, both ends close-on-exec; false after saying why.
bool MakePipe(Pipe* ends) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    ComplainErrno("cannot make a pipe");
    return false;
  }
  ends->readEnd = Fd(fds[0]);
  ends->writeEnd = Fd(fds[1]);
  return true;
}

// Copies the tar stream into compress, counting its bytes; both ends
// close when it returns.
void ForwardTar(Fd from, Fd to, unsigned long long* bytes) {
  std::vector<char> buf(65536);
  for (;;) {
    ssize_t n = read(from.get(), buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || !WriteAll(to.get(), buf.data(), static_cast<size_t>(n))) break;
    *bytes += static_cast<unsigned long long>(n);
  }
}

// The compressed stream cut into pieces of pieceSize bytes in the medium
// folder as it comes, each hashed as it is written. Past the most pieces
// a list can name the stream is only counted.
class PieceCutter {
 public:
  PieceCutter(const OutputDir& out, const MediumNames& names, unsigned long long pieceSize, Archive* archive)
      : out_(out), names_(names), pieceSize_(pieceSize), archive_(archive) {}
  // Cuts the next size bytes of the stream; false after saying why.
  bool Take(const char* data, size_t size);
  // At the end of the stream: ends the last piece; false after saying why.
  bool Finish();

 private:
  bool StartPiece();
  bool EndPiece();

  const OutputDir& out_;
  const MediumNames& names_;
  const unsigned long long pieceSize_;
  Archive* archive_;
  Progress progress_;
  Fd piece_;  // the piece being written; not ok() between pieces and past the last name
  std::string path_;
  Sha256 sum_;
  unsigned long long inPiece_ = 0;  // bytes of the stream in the piece so far
};

bool PieceCutter::Take(const char* data, size_t size) {
  for (size_t at = 0; at < size;) {
    if (inPiece_ == 0 && archive_->pieceDigests.size() < kMaxPieces && !StartPiece()) return false;
    const size_t n = static_cast<size_t>(std::min<unsigned long long>(pieceSize_ - inPiece_, size - at));
    if (piece_.ok() && !WriteAll(piece_.get(), data + at, n)) {
      ComplainErrno("cannot write %s", path_.c_str());
      return false;
    }
    if (piece_.ok()) sum_.Update(data + at, n);
    at += n;
    inPiece_ += n;
    archive_->bytes += n;
    if (inPiece_ == pieceSize_ && !EndPiece()) return false;
  }
  return true;
}

bool PieceCutter::Finish() {
  const bool ok = inPiece_ == 0 || EndPiece();
  progress_.End();
  return ok;
}

bool PieceCutter::StartPiece() {
  path_ = out_.File(PieceName(names_, static_cast<unsigned>(archive_->pieceDigests.size() + 1)));
  piece_ = CreateNew(path_, 0644);
  if (!piece_.ok()) return false;
  sum_ = Sha256();
  return true;
}

bool PieceCutter::EndPiece() {
  inPiece_ = 0;
  if (!piece_.ok()) return true;
  const bool ok = FinishFile(piece_, path_);
  archive_->pieceDigests.push_back(sum_.HexDigest());
  progress_.Show(archive_->pieceDigests.size(), archive_->bytes);
  return ok;
}

// Cuts the compressed stream read from the descriptor from into the
// pieces; false after saying why.
bool CutPieces(int from, const OutputDir& out, const MediumNames& names, unsigned long long pieceSize,
               Archive* archive) {
  PieceCutter cutter(out, names, pieceSize, archive);
  std::vector<char> buf(65536);
  for (;;) {
    ssize_t got = read(from, buf.data(), buf.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ComplainErrno("cannot read the output of compress");
      return false;
    }
    if (got == 0) return cutter.Finish();
    if (!cutter.Take(buf.data(), static_cast<size_t>(got))) return false;
  }
}

}  // namespace

bool PackProduct(const Options& opts, const OutputDir& out, const MediumNames& names, Archive* archive) {
  std::string tar, compress;
  if (!FindTools(&tar, &compress)) return false;
  std::vector<std::string> tarArgs;
  if (!TarCommand(opts, &tarArgs)) return false;
  Pipe tarOut, zIn, zOut;
  if (!MakePipe(&tarOut) || !MakePipe(&zIn) || !MakePipe(&zOut)) return false;
  const pid_t tarPid = StartTool(tar, tarArgs, -1, tarOut.writeEnd.get());
  tarOut.writeEnd.Close();
  // -f: compress even when that saves nothing, instead of refusing.
  const pid_t zPid = StartTool(compress, {"compress", "-c", "-f"}, zIn.readEnd.get(), zOut.writeEnd.get());
  zIn.readEnd.Close();
  zOut.writeEnd.Close();
  std::thread forward(ForwardTar, std::move(tarOut.readEnd), std::move(zIn.writeEnd), &archive->tarBytes);
  bool cut = CutPieces(zOut.readEnd.get(), out, names, opts.pieceSize, archive);
  // Closing our end stops compress, and so tar, when the cutting failed.
  zOut.readEnd.Close();
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
