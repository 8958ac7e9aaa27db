#include "installer.h"

int main(int argc, char** argv) { SetupMain(argc, argv); }
