/* The floor of a fourth-game load as a whole process: read the file and inflate its four
   chunks with zlib, nothing else. bench_info_process runs it beside "slabwright-cli info". */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

static uint32_t U32(const unsigned char* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}

int main(int argc, char** argv) {
  if (argc != 2) return 1;
  FILE* f = fopen(argv[1], "rb");
  if (!f) return 1;
  fseek(f, 0, SEEK_END);
  long size = ftell(f);
  fseek(f, 0, SEEK_SET);
  unsigned char* bytes = malloc((size_t)size);
  if (!bytes || fread(bytes, 1, (size_t)size, f) != (size_t)size) return 1;
  fclose(f);
  size_t pos = 4 + 6; /* version word, page counts */
  unsigned long total = 0;
  for (int chunk = 0; chunk < 4; ++chunk) {
    if (pos + 8 > (size_t)size) return 1;
    uLongf length = U32(bytes + pos);
    uint32_t compressed = U32(bytes + pos + 4);
    unsigned char* out = malloc(length ? length : 1);
    if (!out || uncompress(out, &length, bytes + pos + 8, compressed) != Z_OK) return 1;
    total += out[length / 2];
    free(out);
    pos += 8 + compressed;
  }
  free(bytes);
  printf("%lu\n", total);
  return 0;
}
