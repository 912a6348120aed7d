// Writes the query model as the model file <stem>.DMP for the host programs; the stem is
// the one argument. Ends with status 1 when the file could not be written.
#include <cstdio>
#include <string>

#include "querymodel.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_query_model <stem>\n");
    return 1;
  }
  const std::string file = kvr::test::writeQueryModel(argv[1]);
  if (file.empty()) {
    std::fprintf(stderr, "the query model could not be written\n");
    return 1;
  }
  std::printf("%s\n", file.c_str());
  return 0;
}
