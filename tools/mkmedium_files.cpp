// mkmedium: the medium's files. Their names, plain or DOS; the inputs
// they come from, checked before anything is made; the string databases
// and the translations found beside them; the list of every file and the
// disks list made from it; the marker's text; and the copies of the
// installer program, its help file and the databases.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "mkmedium.h"

namespace fs = std::filesystem;

namespace mkmedium {

namespace {

// The installer reads at most this much of the disks list.
constexpr size_t kMaxDisksListBytes = 4095;

// A language folder's name: two lower-case letters, '_' and two upper-case
// ones, as the LANG values that setup understands (fr_FR, ge_GE, pr_BR).
bool IsLanguageName(const std::string& name) {
  return name.size() == 5 && std::islower(static_cast<unsigned char>(name[0])) &&
         std::islower(static_cast<unsigned char>(name[1])) && name[2] == '_' &&
         std::isupper(static_cast<unsigned char>(name[3])) && std::isupper(static_cast<unsigned char>(name[4]));
}

// The translation's file beside the database dbFile.
std::string TranslationFile(const std::string& dbFile, const std::string& language) {
  const fs::path db(dbFile);
  return db.parent_path() / language / db.filename();
}

// The name of the string database on the medium: <db>/<file> for English
// (language empty), <db>/<LANG>/<file> for a translation; upper case on a
// DOS medium.
std::string MediumDbName(const MediumNames& names, const std::string& language) {
  std::string folder = language;
  if (&names == &kDosMediumNames)
    for (char& c : folder) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::string(names.dbFolder) + "/" + (folder.empty() ? "" : folder + "/") + names.dbFile;
}

bool CheckRegularFile(const std::string& path, const char* what) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    ComplainErrno("no %s %s", what, path.c_str());
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    Complain("the %s %s is not a regular file", what, path.c_str());
    return false;
  }
  if (access(path.c_str(), R_OK) != 0) {
    ComplainErrno("cannot read the %s %s", what, path.c_str());
    return false;
  }
  return true;
}

bool CheckProduct(const std::string& product) {
  struct stat st;
  if (stat(product.c_str(), &st) != 0) {
    ComplainErrno("no product folder %s", product.c_str());
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    Complain("the product %s is not a folder", product.c_str());
    return false;
  }
  return CheckRegularFile(product + "/pkg/pkg.list", "package list");
}

// Makes the db folder and one folder a language in it on the medium.
bool MakeDbFolders(const Options& opts, const OutputDir& out, const MediumNames& names) {
  std::vector<std::string> folders = {names.dbFolder};
  for (const std::string& language : opts.languages)
    folders.push_back(fs::path(MediumDbName(names, language)).parent_path());
  for (const std::string& folder : folders) {
    if (mkdir(out.File(folder).c_str(), 0755) != 0 || chmod(out.File(folder).c_str(), 0755) != 0) {
      ComplainErrno("cannot create the folder %s", out.File(folder).c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

const MediumNames& MediumNamesFor(bool dos) { return dos ? kDosMediumNames : kUnixMediumNames; }

std::string PieceName(const MediumNames& names, unsigned n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%03u", names.piecePrefix, n);
  return buf;
}

std::vector<std::string> FindTranslations(const std::string& dbFile) {
  const fs::path db(dbFile);
  std::vector<std::string> languages;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(db.parent_path().empty() ? "." : db.parent_path(), ec)) {
    const std::string name = e.path().filename();
    struct stat st;
    if (IsLanguageName(name) && stat((e.path() / db.filename()).c_str(), &st) == 0 && S_ISREG(st.st_mode))
      languages.push_back(name);
  }
  std::sort(languages.begin(), languages.end());
  return languages;
}

bool CheckInputs(const Options& opts) {
  if (!CheckProduct(opts.product)) return false;
  if (!CheckRegularFile(opts.program, "installer program")) return false;
  if (!opts.helpFile.empty() && !CheckRegularFile(opts.helpFile, "help file")) return false;
  if (!opts.dbFile.empty() && !CheckRegularFile(opts.dbFile, "string database")) return false;
  for (const std::string& language : opts.languages)
    if (!CheckRegularFile(TranslationFile(opts.dbFile, language), "string database")) return false;
  return true;
}

std::vector<std::string> MediumFiles(const Options& opts, const MediumNames& names, unsigned pieces) {
  std::vector<std::string> files = {names.program};
  if (!opts.helpFile.empty()) files.push_back(names.helpFile);
  if (!opts.dbFile.empty()) files.push_back(MediumDbName(names, ""));
  for (const std::string& language : opts.languages) files.push_back(MediumDbName(names, language));
  files.insert(files.end(), {names.marker, names.isize, names.tsize, names.disks, names.checksums});
  if (!opts.signKey.empty()) files.push_back(names.signature);
  for (unsigned n = 1; n <= pieces; ++n) files.push_back(PieceName(names, n));
  return files;
}

std::string DisksList(const std::vector<std::string>& files) {
  std::string list;
  for (const std::string& f : files) list += f + "\n";
  list += "end_of_list\n";
  if (list.size() > kMaxDisksListBytes) {
    Complain(
        "the disks list would be %zu bytes, but the installer reads only %zu: "
        "give a larger --piece-size",
        list.size(), kMaxDisksListBytes);
    return "";
  }
  return list;
}

const char* Marker(const Options& opts) { return opts.diskette ? "diskette" : "installation site"; }

bool CopyInputs(const Options& opts, const OutputDir& out, const MediumNames& names) {
  if (!CopyFile(opts.program, out.File(names.program), 0755)) return false;
  if (!opts.helpFile.empty() && !CopyFile(opts.helpFile, out.File(names.helpFile), 0644)) return false;
  if (opts.dbFile.empty()) return true;
  if (!MakeDbFolders(opts, out, names)) return false;
  if (!CopyFile(opts.dbFile, out.File(MediumDbName(names, "")), 0644)) return false;
  for (const std::string& language : opts.languages)
    if (!CopyFile(TranslationFile(opts.dbFile, language), out.File(MediumDbName(names, language)), 0644))
      return false;
  return true;
}

}  // namespace mkmedium
