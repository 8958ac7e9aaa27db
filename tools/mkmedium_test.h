// Helpers of the medium builder's tests: running the built mkmedium with
// TMPDIR in a scratch folder, readers of the media it makes (lists, words,
// file names and contents, sizes), joining and unpacking a medium as the
// installer does, and the fixture that makes a small product.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

extern char** environ;

namespace fs = std::filesystem;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs mkmedium (or the program given) with the arguments; TMPDIR points
// into the scratch folder, and PATH is replaced when one is given.
inline ToolRun RunMkmedium(const ScratchDir& scratch, const std::vector<std::string>& args, const char* path = nullptr,
                    const char* program = MKMEDIUM_PATH) {
  std::string tmp = scratch.File("tmp");
  fs::create_directories(tmp);
  std::vector<std::string> env = {"TMPDIR=" + tmp};
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "TMPDIR=", 7) == 0) continue;
    if (path != nullptr && std::strncmp(*e, "PATH=", 5) == 0) continue;
    env.push_back(*e);
  }
  if (path != nullptr) env.push_back(std::string("PATH=") + path);
  std::vector<char*> envp, argv = {const_cast<char*>(program)};
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> copy = args;
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::string outFile = scratch.File("run.out"), errFile = scratch.File("run.err");
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, 1);
    dup2(err, 2);
    execve(program, argv.data(), envp.data());
    _exit(127);
  }
  ToolRun run;
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadWholeFile(outFile);
  run.err = ReadWholeFile(errFile);
  return run;
}

inline std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen());
  return s;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

inline std::set<std::string> FilesIn(const std::string& dir) {
  std::set<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) names.insert(e.path().filename());
  return names;
}

// Relative path -> content of every regular file below dir.
inline std::map<std::string, std::string> TreeContents(const std::string& dir) {
  std::map<std::string, std::string> tree;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) tree[fs::relative(e.path(), dir)] = ReadWholeFile(e.path());
  return tree;
}

inline unsigned long long DuKiB(const std::string& path) {
  std::string out = path + ".du";
  std::string cmd = "du -sk '" + path + "' > '" + out + "'";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  return std::strtoull(ReadWholeFile(out).c_str(), nullptr, 10);
}

inline unsigned long long FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
}

// The names of the disks list before end_of_list; expects end_of_list to
// be its last line.
inline std::vector<std::string> ListedNames(const std::string& list) {
  std::vector<std::string> lines = Lines(list);
  EXPECT_FALSE(lines.empty());
  if (lines.empty()) return {};
  EXPECT_EQ(lines.back(), "end_of_list");
  lines.pop_back();
  return lines;
}

// Joins the pieces the list names, as the installer does, uncompresses the
// archive and unpacks it into dir/unpacked, the way the installer does.
// Returns the size of the uncompressed tar.
inline unsigned long long Unpack(const std::string& medium, const std::vector<std::string>& listed, const std::string& dir,
                          const char* prefix) {
  std::string cmd = "cat";
  for (const std::string& name : listed)
    if (name.rfind(prefix, 0) == 0) cmd += " '" + medium + "/" + name + "'";
  cmd += " > '" + dir + "/a.tar.Z' && uncompress '" + dir + "/a.tar.Z' && mkdir '" + dir + "/unpacked' && cd '" + dir +
         "/unpacked' && tar xfp ../a.tar";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  return FileSize(dir + "/a.tar");
}

class Mkmedium : public ::testing::Test {
 protected:
  Mkmedium() {
    program = scratch.Write("setup-program", "#!/bin/sh\necho setup stand-in\n");
    helpFile = scratch.Write("help.html", "<html>help</html>\n");
  }
  // A product of a list, a binary file, an executable and a small tree.
  std::string SmallProduct(size_t binaryBytes = 6000) {
    std::string p = scratch.File("product");
    scratch.Write("product/pkg/pkg.list", "c data.bin\nc tool mode 755\ndir lib\n");
    scratch.Write("product/pkg/data.bin", RandomBytes(binaryBytes, 7));
    scratch.Write("product/pkg/tool", "#!/bin/sh\necho tool\n");
    chmod((p + "/pkg/tool").c_str(), 0755);
    scratch.Write("product/pkg/lib/a/b.txt", "b\n");
    scratch.Write("product/pkg/lib/c.txt", std::string(5000, 'c'));
    return p;
  }
  ToolRun Make(const std::string& product, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"-o", medium(), "-p", program};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(product);
    return RunMkmedium(scratch, args);
  }
  std::string medium() const { return scratch.File("medium"); }

  ScratchDir scratch;
  std::string program, helpFile;
};
