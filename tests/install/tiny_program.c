/* A program built against the installed engine: prints the engine's
 * version, and with a data file's path starts the engine on it, reads
 * how many charsets it holds, and stops it. */
#include <inkrec/inkrec.h>
#include <stdio.h>

int main(int argc, char** argv) {
  char version[64];
  if (crmGetVersion(version, sizeof version) < 0) return 1;
  printf("inkrec %s\n", version);
  if (argc < 2) return 0;
  char16_t path[1024];
  int n = 0;
  for (; argv[1][n] != 0 && n < 1023; ++n) path[n] = (unsigned char)argv[1][n];
  path[n] = 0;
  const int status = crInitCrMan(path, 0, 0, 0, 0, 0, 0);
  if (status != 0) {
    printf("cannot start the engine: status %d\n", status);
    return 1;
  }
  uint32_t count = 0;
  crmGetCharSetCount(&count);
  printf("charsets: %u\n", (unsigned)count);
  crFreeCrMan();
  return 0;
}
