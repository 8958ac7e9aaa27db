#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "SysCmd.h"
#include "installer.h"
#include "test_support.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

int ThisYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// Runs a shell command line and gives its exit status.
int Shell(const std::string& line) {
  int status = std::system(line.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The conversions of a template, in order ("%%" is none): anything but %s
// and %d would be undefined behaviour in the printf that fills it.
std::string Conversions(const char* templ) {
  std::vector<std::string> conversions;
  const bool complete = FormatConversions(templ, &conversions);
  std::string found;
  for (const std::string& conversion : conversions) found += conversion.back();
  if (!complete) found += '?';
  return found;
}

TEST(ScriptTemplates, HoldOnlyTheConversionsTheirCallersFill) {
  EXPECT_EQ(Conversions(ScriptCopyRight), "d");
  EXPECT_EQ(Conversions(SimpleScript), "sss");
  EXPECT_EQ(Conversions(VexlaPrintvpxxScript), "sssssss");
  EXPECT_EQ(Conversions(VexlaVSFScript), "ss");
}

class Scripts : public CommandTableTest {
 protected:
  void SetUp() override {
    CommandTableTest::SetUp();
    CopyText(AppDir, sizeof AppDir, app.path().c_str());
  }

  // Write the scripts with the real runner, so chmod really runs.
  std::string Wrapper(const char* appDir, const char* program) {
    std::string path = app.File("wrapper");
    GenSimpleScript(path.c_str(), ScriptShShell, SimpleScript, appDir, appDir, program);
    return path;
  }
  std::string PrintScript() {
    std::string path = app.File("VexlaPrintvpxx");
    GenSimpleScript(path.c_str(), ScriptShShell, VexlaPrintvpxxScript, app.path().c_str(), "vpxx", "vprintvpxx",
                    "vprintvpxx", "vpxx", "vpxx", "vpxx");
    return path;
  }
  std::string VsfScript(const char* spoolDir) {
    std::string path = app.File("VexlaVSF");
    GenSimpleScript(path.c_str(), ScriptShShell, VexlaVSFScript, app.path().c_str(), spoolDir);
    return path;
  }

  ScratchDir app;
};

TEST_F(Scripts, WrapperHasShellLineBannerAndBody) {
  std::string path = Wrapper("/usr/Vexla/vpxx", "bin/tool");
  std::string text = ReadWholeFile(path);
  std::vector<std::string> lines = Lines(text);
  ASSERT_GE(lines.size(), 13u);
  EXPECT_EQ(lines[0], "#!/bin/sh");
  EXPECT_EQ(lines[1], std::string(63, '#'));
  EXPECT_EQ(lines[2], "##" + std::string(59, ' ') + "##");
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(lines[i].size(), 63u) << lines[i];
  EXPECT_NE(lines[3].find(std::to_string(ThisYear())), std::string::npos);
  EXPECT_EQ(lines[3].substr(0, 4), "##  ");
  EXPECT_EQ(lines[3].substr(59), "  ##");
  EXPECT_EQ(lines[6], "");
  std::vector<std::string> body(lines.begin() + 7, lines.end());
  EXPECT_EQ(body, (std::vector<std::string>{"", "VPrintFileSourceDir=`pwd`", "export VPrintFileSourceDir", "",
                                            "cd /usr/Vexla/vpxx", "exec /usr/Vexla/vpxx/bin/tool $*"}));
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
}

TEST_F(Scripts, PrintScriptsEndWithEsacAndPassTheShellChecks) {
  std::string print = PrintScript();
  std::string vsf = VsfScript("/var/spool/Vexla/vpxx");
  for (const std::string& path : {print, vsf}) {
    std::string text = ReadWholeFile(path);
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), "esac") << path;  // no line end after it
    EXPECT_EQ(Lines(text)[7], "ToolPath=\"" + app.path() + "\"");
    EXPECT_EQ(Lines(text)[8], "CfgFlags=`cat ${ToolPath}/.vp_cfg`");
    EXPECT_EQ(Shell("sh -n " + path), 0) << path;
    // $* and unquoted words are how these scripts pass the spooler's
    // arguments on; everything else shellcheck reports is a fault.
    if (Shell("command -v shellcheck >/dev/null") == 0) {
      EXPECT_EQ(Shell("shellcheck -s sh -S warning -e SC2048,SC2086 " + path), 0) << path;
    }
  }
  EXPECT_EQ(Lines(ReadWholeFile(vsf))[9], "SpoolDir=\"/var/spool/Vexla/vpxx\"");
}

// A stand-in for the print interface program: prints its arguments.
void WriteStandIn(const ScratchDir& dir, const std::string& name) {
  std::string path = dir.Write(name, "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done\n");
  chmod(path.c_str(), 0755);
}

// Runs a shell command line and gives what it printed on standard output.
std::string RunCaptured(const std::string& line) {
  ScratchDir outDir;
  std::string out = outDir.File("out.txt");
  std::system(("{ " + line + "; } > " + out).c_str());
  return ReadWholeFile(out);
}

TEST_F(Scripts, LprngBranchPassesEveryCopiesthFile) {
  std::string script = PrintScript();
  WriteStandIn(app, "vprvpxxtty");
  app.Write(".vp_cfg", " LPRng ");
  std::string cmd = "cd " + app.path() +
                    " && CONTROL='Hhost1\nPalice\nJjob title\nNfile\nUdfA001\nUdfB001\nZa=1,b=2\n' "
                    "SPOOL_DIR=/var/spool/lp PRINTER=lp1 sh " + script + " -print";
  std::string out = RunCaptured(cmd);
  EXPECT_EQ(out, "[-dlp1]\n[-Jjob]\n[-oa=1]\n[-ob=2]\n[-c2]\n[/var/spool/lp/dfB001]\nOutput for LPRng\n");
}

TEST_F(Scripts, LprngBranchWithoutFileLinesStillRuns) {
  std::string script = PrintScript();
  WriteStandIn(app, "vprvpxxtty");
  app.Write(".vp_cfg", " LPRng ");
  std::string cmd = "cd " + app.path() + " && CONTROL='Udf1\n' SPOOL_DIR=/s/q1 sh " + script + " -print";
  // No N line: one copy rather than a division by zero.
  EXPECT_EQ(RunCaptured(cmd), "[-dq1]\n[-c1]\n[/s/q1/df1]\nOutput for LPRng\n");
}

TEST_F(Scripts, BranchFollowsTheLastSpoolerWordAndDefaultsToSystemV) {
  std::string script = PrintScript();
  WriteStandIn(app, "vprvpxxtty");
  std::string v5 = "cd " + app.path() + " && sh " + script + " 17 bob title 1 opts file1";
  EXPECT_EQ(RunCaptured(v5), "[-dVexlaPrintvpxx]\n[-i]\n[file1]\n");  // no .vp_cfg
  app.Write(".vp_cfg", " BSD junk CUPS ");
  std::string cups = "cd " + app.path() + " && PRINTER=laser sh " + script + " 17 bob title 1 opts file1";
  EXPECT_EQ(RunCaptured(cups), "[-dlaser]\n[-i]\n[file1]\n");
}

TEST_F(Scripts, VsfFilterRetriesUntilItSucceeds) {
  std::string script = VsfScript(app.path().c_str());
  // Fails once, then succeeds.
  std::string vsf = app.Write("vsf", "#!/bin/sh\nif [ ! -f tried ]; then : > tried; exit 1; fi\necho \"vsf $*\"\n");
  chmod(vsf.c_str(), 0755);
  app.Write(".vp_cfg", " AIX ");
  EXPECT_EQ(RunCaptured("cd " + app.path() + " && sh " + script + " a b"), "vsf a b\n");
}

TEST_F(Scripts, UnwritableScriptIsReportedAndNotChmodded) {
  HostRecorder host;
  testing::internal::CaptureStderr();
  GenSimpleScript(app.File("no/such/script").c_str(), ScriptShShell, SimpleScript, "a", "b", "c");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: can't open file, " + app.File("no/such/script") + "\n");
  EXPECT_TRUE(host.lines.empty());
}

}  // namespace
