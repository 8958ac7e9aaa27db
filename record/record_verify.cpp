// verify: the host compared with the manifest of an installation, one
// line a difference (or one JSON object), then the number that differ.
#include <cstdio>
#include <string>
#include <vector>

#include "TerminalCharset.h"
#include "installer.h"
#include "record.h"
#include "record_format.h"
#include "JsonWriter.h"
#include "setup_extensions.h"
#include "utils.h"

namespace {

using Entry = ManifestEntry;

}  // namespace

namespace {

// One difference of an entry from the host: its kind (missing, type, mode,
// owner, group, size, content, link, unreadable), the path, and what the
// manifest wants and the host has where the kind compares values.
struct Difference {
  std::string kind, path, want, have;
};

// The differences of one entry from the host.
std::vector<Difference> Differences(const Entry& want) {
  std::vector<Difference> out;
  const std::string& p = want.path;
  Entry have;
  if (!DescribeEntry(want.path, want.type == 'f', &have)) return {{"missing", p, "", ""}};
  if (have.type != want.type && !(want.type == 'n' && have.type == 'f') && !(want.type == 'f' && have.type == 'n'))
    return {{"type", p, std::string(1, want.type), std::string(1, have.type)}};
  char modes[2][8];
  std::snprintf(modes[0], sizeof modes[0], "%04o", want.mode);
  std::snprintf(modes[1], sizeof modes[1], "%04o", have.mode);
  if (want.type != 'l' && have.mode != want.mode) out.push_back({"mode", p, modes[0], modes[1]});
  if (have.owner != want.owner) out.push_back({"owner", p, want.owner, have.owner});
  if (have.group != want.group) out.push_back({"group", p, want.group, have.group});
  if (want.type == 'f') {
    if (have.sha == "unreadable") {
      out.push_back({"unreadable", p, "", ""});
    } else if (have.size != want.size) {
      out.push_back({"size", p, want.size, have.size});
    } else if (have.sha != want.sha) {
      out.push_back({"content", p, want.sha, have.sha});
    }
  }
  if (want.type == 'l' && have.target != want.target) out.push_back({"link", p, want.target, have.target});
  return out;
}

// The kinds of difference as --json names them, and the entries of the
// message tables that name them to a person.
const struct {
  const char* kind;
  int message;
} kKindTexts[] = {{"missing", 289}, {"type", 290},    {"mode", 291}, {"owner", 292},      {"group", 293},
                  {"size", 294},    {"content", 295}, {"link", 296}, {"unreadable", 297}};

// A difference as verify prints it: the kind, the path and, where values
// are compared (not for the digests of a content difference), "WANT is
// HAVE"; the control characters of a path or link target shown as '?'.
std::string DifferenceLine(const Difference& d) {
  const char* kind = d.kind.c_str();
  for (const auto& k : kKindTexts)
    if (d.kind == k.kind) kind = NlsSetupStrCvt(k.message);
  std::string line = std::string(kind) + " " + d.path;
  if (!d.want.empty() && d.kind != "content")
    line = SetupText(298, kind, d.path.c_str(), d.want.c_str(), d.have.c_str());
  return ShownWithoutControls(line);
}

// What verify finds: every difference of the entries from the host, in
// the manifest's order, and how many entries differ.
struct Findings {
  std::vector<Difference> differences;
  long long differing = 0;
};

Findings CompareWithHost(const std::vector<Entry>& entries) {
  Findings f;
  for (const Entry& e : entries) {
    const std::vector<Difference> found = Differences(e);
    f.differences.insert(f.differences.end(), found.begin(), found.end());
    if (!found.empty()) ++f.differing;
  }
  return f;
}

// verify --json: the manifest, the medium it records, every path it lists
// and every difference, as one object; the status as verify ends with.
int VerifyAsJson(const std::string& path) {
  std::vector<Entry> entries;
  std::string why, medium;
  MediumSigner signer;
  signer.state = MediumSigner::kNotRecorded;
  int badLine = 0;
  const ManifestRead read = ReadTrustedManifest(path, &entries, &why, &badLine, &medium, &signer);
  static const char* const kRead[] = {"read", "missing", "untrusted", "damaged"};
  JsonObject o;
  o.Add("manifest", path).Add("manifest_state", kRead[read]);
  int status = 2;
  if (read == kManifestRead) {
    const Findings found = CompareWithHost(entries);
    std::vector<JsonObject> differences;
    for (const Difference& d : found.differences)
      differences.push_back(
          JsonObject().Add("kind", d.kind).Add("path", d.path).Add("want", d.want).Add("have", d.have));
    std::vector<std::string> paths;
    for (const Entry& e : entries) paths.push_back(e.path);
    status = found.differing == 0 ? 0 : 1;
    o.Add("medium_sha256", medium).Add("signature", SignerJson(signer));
    o.Add("checked", static_cast<long long>(entries.size())).Add("differing", found.differing);
    o.Add("differences", differences).Add("paths", paths);
  } else {
    o.Add("reason", read == kManifestMissing ? std::string("no manifest") : why);
  }
  o.Add("status", static_cast<long long>(status));
  std::printf("%s\n", o.Text().c_str());
  std::fflush(stdout);
  return status;
}

}  // namespace

int VerifyInstallation(const char* appDir, bool json) {
  const std::string path = ManifestPath(appDir);
  if (json) return VerifyAsJson(path);
  std::vector<Entry> entries;
  if (!LoadManifest(path, NlsSetupStrCvt(303), &entries)) return 2;
  const Findings found = CompareWithHost(entries);
  for (const Difference& d : found.differences) std::printf("%s\n", DifferenceLine(d).c_str());
  SayLine(stdout, 299, entries.size(), path.c_str(), static_cast<int>(found.differing));
  std::fflush(stdout);
  return found.differing == 0 ? 0 : 1;
}
