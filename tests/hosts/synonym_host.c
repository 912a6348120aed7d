/* Host program: opens the query model through dll_ustrt2, as an analysis program does,
   with KVRSYN naming a directory that holds the synonym file kvrsyn.syn, and then with
   one that holds none. The model opening reads the synonym file and says so on the
   standard output, the message unit: the run's standard output is caught in a file for
   each opening and searched for the two lines. The model file is named by KVR_QUERY_MODEL. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "hostcheck.h"
#include "kvr7dbio.h"

enum { WORK_WORDS = 4096 };

static const char* const kFound = " SYNONYM FILE FOUND\n";
static const char* const kActivated = " SYNONYMS ACTIVATED\n";

/* Opens MODEL with the standard output caught in CAUGHT; answers the status and leaves the
   output, at most CAPACITY - 1 characters, in OUTPUT. */
static int32_t openCaught(const char* model, const char* caught, char* output, size_t capacity) {
  char name[KVR_USTRT2_NAME_LENGTH];
  static int32_t work[WORK_WORDS];
  int32_t size = WORK_WORDS;
  int32_t status = -1;
  int saved;
  int fd;
  FILE* in;
  size_t n;

  pad(name, KVR_USTRT2_NAME_LENGTH, model);
  fflush(stdout);
  saved = dup(1);
  fd = open(caught, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (saved < 0 || fd < 0) return -99;
  dup2(fd, 1);
  close(fd);
  dll_ustrt2(name, work, &size, &status);
  fflush(stdout);
  dup2(saved, 1);
  close(saved);

  output[0] = '\0';
  in = fopen(caught, "r");
  if (in != NULL) {
    n = fread(output, 1, capacity - 1, in);
    output[n] = '\0';
    fclose(in);
  }
  remove(caught);
  return status;
}

int main(void) {
  const char* model = getenv("KVR_QUERY_MODEL");
  char with[] = "synonym_host_with";
  char without[] = "synonym_host_without";
  char file[64];
  char output[8192];
  FILE* syn;
  int32_t status;

  if (model == NULL || strlen(model) > KVR_USTRT2_NAME_LENGTH) {
    printf("FAILED KVR_QUERY_MODEL names no model file of at most 80 characters\n");
    return 1;
  }
  setenv("KVR_REGISTRY_USER", "/nonexistent/kvr-user-registry", 1);
  setenv("KVR_REGISTRY_MACHINE", "/nonexistent/kvr-machine-registry", 1);
  mkdir(with, 0755);
  mkdir(without, 0755);
  snprintf(file, sizeof file, "%s/kvrsyn.syn", with);
  syn = fopen(file, "w");
  if (syn == NULL) {
    printf("FAILED the synonym file could not be written\n");
    return 1;
  }
  fputs("! a synonym for the setup menu\n+ ST 2 UTILITY SETUP\n", syn);
  fclose(syn);

  setenv("KVRSYN", with, 1);
  status = openCaught(model, "synonym_host_with.out", output, sizeof output);
  expect(status == 0, "the model opens with the synonym file");
  expect(strstr(output, kFound) != NULL, "SYNONYM FILE FOUND on the standard output");
  expect(strstr(output, kActivated) != NULL, "SYNONYMS ACTIVATED on the standard output");

  setenv("KVRSYN", without, 1);
  status = openCaught(model, "synonym_host_without.out", output, sizeof output);
  expect(status == 0, "the model opens without a synonym file");
  expect(strstr(output, kFound) == NULL, "no SYNONYM FILE FOUND without the file");
  expect(strstr(output, kActivated) == NULL, "no SYNONYMS ACTIVATED without the file");

  remove(file);
  rmdir(with);
  rmdir(without);
  return report();
}
