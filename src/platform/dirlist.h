// Directory listing: the names of a directory that match a wildcard pattern, one search
// open at a time, as the directory lister of the file utilities walks them.
//
// The pattern's directory part (up to its last "/") names the directory searched, the
// current one when there is none. The name part is matched with the shell's wildcards
// ("*", "?", "[...]") ignoring case, as file names were matched where these patterns come
// from; "*.*" means every name. "." and ".." are listed when they match. Names come back
// without their directory, sorted ignoring case, directories among them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvr::os {

// Every name of the directory that matches PATTERN, in the listing order. OK is false
// when the directory cannot be read.
std::vector<std::string> listDirectory(std::string_view pattern, bool& ok);

// The one open search. searchOpen starts it (closing one still open) and gives the first
// name; searchNext gives each further name; both answer false when there is none.
// searchClose ends it; closing when nothing is open does nothing.
bool searchOpen(std::string_view pattern, std::string& name);
bool searchNext(std::string& name);
void searchClose();

}  // namespace kvr::os
