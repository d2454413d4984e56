// kvpublic: the command-line host of the export library.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    std::printf("usage: kvpublic demo [DIR] | kvpublic export ...\n");
    return argc < 2 ? 2 : 0;
  }
  std::fprintf(stderr, "kvpublic: unknown command \"%s\"\n", argv[1]);
  return 2;
}
