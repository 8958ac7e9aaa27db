// What a run notes for its end: the steps that failed without ending it,
// and, in a preview, what the installation would write or ask.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "installer.h"
#include "utils.h"

unsigned char flPreview = 0;

namespace {

// The failed steps noted so far; the first few are kept to name them.
constexpr size_t kNamedFailures = 20;
int failedSteps = 0;
std::vector<std::string> failureTexts;

std::vector<std::string> notes;  // the preview's, in the order noted

// A note's text: format filled with args, cut at a log line's length.
[[gnu::format(printf, 1, 0)]] std::string NoteText(const char* format, va_list args) {
  char text[kLineBufSize];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

}  // namespace

void NoteFailedStep(const char* format, ...) {
  ++failedSteps;
  if (failureTexts.size() >= kNamedFailures) return;
  va_list args;
  va_start(args, format);
  failureTexts.push_back(NoteText(format, args));
  va_end(args);
  PutLogMsg("ERROR: %s\n", failureTexts.back().c_str());
}

int FailedStepCount() { return failedSteps; }

int ReportFailedSteps() {
  if (failedSteps == 0) return 0;
  for (const std::string& text : failureTexts) SayToStderr(common_116, text.c_str());
  if (static_cast<size_t>(failedSteps) > failureTexts.size())
    SayError(200, failedSteps - static_cast<int>(failureTexts.size()));
  SayError(failedSteps == 1 ? 201 : 202, failedSteps, pLogPath, my_name);
  return failedSteps;
}

void PreviewNote(const char* format, ...) {
  if (!flPreview) return;
  va_list args;
  va_start(args, format);
  std::string text = NoteText(format, args);
  va_end(args);
  for (const std::string& other : notes)
    if (other == text) return;
  notes.push_back(std::move(text));
}

const std::vector<std::string>& PreviewNotes() { return notes; }
