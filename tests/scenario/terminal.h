// Terminal tests: a program run in a tmux session of 80 by 24 (no status
// line) inside the sandbox, driven by keys, with the screens read back.
#pragma once

#include <string>
#include <vector>

#include "sandbox.h"

// One step of a terminal session: keys to send (none for the first), then
// a text to wait for on the screen (a grep pattern), then the screen is
// kept under name.
struct Step {
  std::string keys;
  std::string waitFor;
  std::string name;
};

// A shell script that runs command in a tmux session and takes the steps;
// every wait is bounded (10 s). It prints each screen after a line
// "=== <name>"; the command's exit status shows on the screen as EXIT=n.
std::string TmuxScript(const std::string& command, const std::vector<Step>& steps);

// The screens of a run, by name: 24 lines each.
std::vector<std::string> Screen(const std::string& out, const std::string& name);

// Runs command through the steps in a sandbox made from o.
SandboxResult RunTmux(const std::string& name, SandboxOptions o, const std::string& command,
                      const std::vector<Step>& steps);
