#include "platform/dirlist.h"

#include <dirent.h>
#include <fnmatch.h>
#include <strings.h>

#include <algorithm>
#include <cstddef>

namespace kvr::os {
namespace {

struct Search {
  bool open = false;
  std::vector<std::string> names;
  size_t next = 0;
};

Search& theSearch() {
  static Search search;
  return search;
}

// Orders names ignoring case; names equal but for case keep a fixed order by their bytes.
bool lessIgnoringCase(const std::string& a, const std::string& b) {
  int c = strcasecmp(a.c_str(), b.c_str());
  return c != 0 ? c < 0 : a < b;
}

}  // namespace

std::vector<std::string> listDirectory(std::string_view pattern, bool& ok) {
  std::vector<std::string> names;
  std::string dir = ".";
  std::string mask(pattern);
  size_t slash = pattern.rfind('/');
  if (slash != std::string_view::npos) {
    dir = slash == 0 ? std::string("/") : std::string(pattern.substr(0, slash));
    mask = std::string(pattern.substr(slash + 1));
  }
  if (mask == "*.*") mask = "*";

  DIR* d = opendir(dir.c_str());
  ok = d != nullptr;
  if (d == nullptr) return names;
  // An empty name part names the directory itself, not a file in it: nothing matches.
  if (!mask.empty()) {
    while (const dirent* e = readdir(d)) {
      if (fnmatch(mask.c_str(), e->d_name, FNM_CASEFOLD) == 0) names.emplace_back(e->d_name);
    }
  }
  closedir(d);
  std::sort(names.begin(), names.end(), lessIgnoringCase);
  return names;
}

bool searchOpen(std::string_view pattern, std::string& name) {
  Search& s = theSearch();
  bool ok = false;
  s.names = listDirectory(pattern, ok);
  s.next = 0;
  s.open = true;
  return searchNext(name);
}

bool searchNext(std::string& name) {
  Search& s = theSearch();
  if (!s.open || s.next >= s.names.size()) return false;
  name = s.names[s.next++];
  return true;
}

void searchClose() {
  Search& s = theSearch();
  s.open = false;
  s.names.clear();
  s.next = 0;
}

}  // namespace kvr::os
