// Slabwright2: the desktop map viewer and editor, and its command-line jobs.
#include "app/start_up.h"

int main(int argc, char** argv) { return slab::RunProgram(argc, argv); }
