// kvpublic: the command-line host of the export library.
#include "app/CommandLine.h"

int main(int argc, char** argv) { return kv::app::RunCommandLine(argc, argv); }
