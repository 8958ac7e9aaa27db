#include "utils.h"

namespace {
char defaultName[] = "setup";
}  // namespace

char* my_name = defaultName;
char* pToolPath = nullptr;
