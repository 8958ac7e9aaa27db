// Terminal tests through tmux inside the sandbox.
#include "terminal.h"

#include <sstream>

#include "test_support.h"

std::string TmuxScript(const std::string& command, const std::vector<Step>& steps) {
  std::string s =
      "T='tmux -S /tmp/tmux.sock -f /tmp/tmux.conf'\n"
      "echo 'set -g status off' > /tmp/tmux.conf\n"
      "$T new-session -d -x 80 -y 24 \"" + command + "; echo EXIT=\\$?; sleep 60\" || exit 4\n"
      "wait_for() {\n"
      "  n=0\n"
      "  while [ $n -lt 100 ]; do\n"
      "    if $T capture-pane -p | grep -q -- \"$1\"; then return 0; fi\n"
      "    sleep 0.1; n=$((n+1))\n"
      "  done\n"
      "  echo \"=== timeout waiting for $1\"; $T capture-pane -p; $T kill-server; exit 3\n"
      "}\n";
  for (const Step& step : steps) {
    if (!step.keys.empty()) s += "$T send-keys " + step.keys + "\n";
    s += "wait_for '" + step.waitFor + "'\n";
    s += "echo '=== " + step.name + "'; $T capture-pane -p\n";
  }
  s += "$T kill-server\n";
  return s;
}

std::vector<std::string> Screen(const std::string& out, const std::string& name) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("=== ", 0) == 0) {
      inside = line == "=== " + name;
      continue;
    }
    if (inside) lines.push_back(line);
  }
  return lines;
}

SandboxResult RunTmux(const std::string& name, SandboxOptions o, const std::string& command,
                      const std::vector<Step>& steps) {
  ScratchDir scripts;
  o.copies.push_back({scripts.Write("run.sh", TmuxScript(command, steps)), "/tmp/run.sh"});
  o.timeoutSeconds = 90;
  o.env.push_back("TERM=vt100");  // tmux wants a terminal type of its own; the pane sets its own
  return RunInSandbox(name, o, {"/bin/sh", "/tmp/run.sh"});
}
