// Writing a file that root may be asked to write where other users can
// reach: the new content goes into a file of its own beside the target,
// created exclusively (never through a link, never onto anything planted
// there), given its mode on the open file, flushed to the disk and renamed
// over the target. A planted link at the target is replaced, not followed;
// a write that fails or is cut short leaves the old file, and a reader
// never sees half of the new one.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>

class ReplacingFile {
 public:
  // Creates the new file beside path (in path's folder, which is held open
  // from here to the rename). get() is NULL when that failed (errno says
  // why), and when something other than a file or a link stands at path.
  explicit ReplacingFile(const char* path);
  ~ReplacingFile();  // removes the new file when it was never committed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  FILE* get() const { return stream_; }

  // Gives the new file mode (0 keeps 0666 less the umask), writes it to the
  // disk and renames it over the target. False when any of that failed
  // (errno says why): the target is then as it was.
  bool Commit(mode_t mode);

 private:
  int folder_ = -1;     // the target's folder
  std::string leaf_;    // the target's name in it
  std::string temp_;    // the new file's name in it, empty once renamed
  FILE* stream_ = nullptr;
};

// Writes text as the whole content of path through a ReplacingFile; false
// with errno set when it could not.
bool ReplaceFileText(const char* path, mode_t mode, const std::string& text);
