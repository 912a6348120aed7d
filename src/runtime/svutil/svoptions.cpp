#include "runtime/svutil/svoptions.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "runtime/svutil/rcsio.h"
#include "runtime/svutil/svdiag.h"
#include "runtime/svutil/svenv.h"
#include "runtime/svutil/svmemory.h"
#include "runtime/svutil/svpath.h"
#include "runtime/svutil/svstrings.h"
#include "runtime/svutil/svwords.h"

namespace kvr {
namespace {

SvOption*& installed() {
  static SvOption* table = nullptr;
  return table;
}

bool isEnd(const SvOption* o) { return o->kind == kSvOptEnd && o->name == nullptr; }

// Calls VISIT for every record of TABLE before its end record.
template <class Visit>
void forEach(SvOption* table, Visit visit) {
  if (table == nullptr) return;
  for (SvOption* o = table; !isEnd(o); ++o) visit(*o);
}

bool isSymbol(const SvOption& o) { return o.kind == kSvOptSymbol && o.name != nullptr; }

// Replaces the string in SLOT with a copy of VALUE, freeing the old one.
void replace(char*& slot, const char* value) {
  char* copy = SvStrdup(value);
  SvFree(slot, SV_TAG("SvArgs"));
  slot = copy;
}

void printLine(std::FILE* out, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), out);
  std::fputc('\n', out);
}

// Appends a copy of WORD to OUT, keeping room for the closing nullptr.
bool passOn(const char* word, char** out, int32_t& outCount, int32_t capacity) {
  if (out == nullptr || outCount >= capacity - 1) {
    sv::errorLine("Too many arguments in SvScanArgs (" + sv::number(outCount) + ")");
    return false;
  }
  out[outCount++] = SvStrdup(word);
  out[outCount] = nullptr;
  return true;
}

// Handles the flag group WORDS[I] ("-" and letters); I moves past a consumed argument.
bool scanFlags(int32_t count, const char* const* words, int32_t& i, SvOption* table, char** out,
               int32_t& outCount, int32_t capacity, int32_t overwrite) {
  for (const char* letter = words[i] + 1; *letter != '\0'; ++letter) {
    SvOption* flag = SvFindFlag(table, *letter);
    if (flag == nullptr) {
      const char passed[3] = {'-', *letter, '\0'};
      if (!passOn(passed, out, outCount, capacity)) return false;
      continue;
    }
    if ((flag->kind == kSvOptCount && flag->counter == nullptr) ||
        (flag->kind == kSvOptArg && flag->variable == nullptr)) {
      sv::errorLine(std::string("Zero address for Flag Argument ") + *letter);
      return false;
    }
    if (flag->kind == kSvOptCount) {
      if (overwrite) {
        ++*flag->counter;
      } else if (*flag->counter == 0) {
        *flag->counter = 1;
      }
      continue;
    }
    if (i + 1 >= count || words[i + 1] == nullptr) {
      sv::errorLine("Argument Flag without argument");
      return false;
    }
    ++i;
    if (overwrite || *flag->variable == nullptr) replace(*flag->variable, words[i]);
    break;  // the rest of the group is ignored after a flag with an argument
  }
  return true;
}

int32_t symbolCount(SvOption* table) {
  int32_t n = 0;
  forEach(table, [&n](SvOption& o) { n += isSymbol(o) ? 1 : 0; });
  return n;
}

// Step 9 of the configuration: SVOBIN in front of PATH, once.
void prefixPath() {
  const char* path = SvGetenv("PATH");
  if (path == nullptr || *path == '\0') return;
  std::string oldPath = path;
  const char* bin = SvGetenv("SVOBIN");
  if (bin == nullptr || *bin == '\0') return;
  std::string prefix = std::string(bin) + ":";
  if (oldPath.compare(0, prefix.size(), prefix) == 0) return;
  vSvSetenv("PATH=%s%c%s", bin, ':', oldPath.c_str());
}

}  // namespace

SvOption* SvInstalledTable() { return installed(); }

void SvInstallTable(SvOption* table) { installed() = table; }

SvOption* SvFindSymRec(SvOption* table, const char* name) {
  if (name == nullptr) return nullptr;
  SvOption* found = nullptr;
  forEach(table, [&](SvOption& o) {
    if (found == nullptr && isSymbol(o) && std::strcmp(o.name, name) == 0) found = &o;
  });
  return found;
}

const char* SvFindSymbol(SvOption* table, const char* name) {
  SvOption* rec = SvFindSymRec(table, name);
  return rec ? rec->value : nullptr;
}

SvOption* SvFindFlag(SvOption* table, int letter) {
  SvOption* found = nullptr;
  forEach(table, [&](SvOption& o) {
    if (found == nullptr && (o.kind == kSvOptCount || o.kind == kSvOptArg) && o.name != nullptr &&
        o.name[0] == static_cast<char>(letter)) {
      found = &o;
    }
  });
  return found;
}

int32_t SvSetSymbol(SvOption* table, const char* value, const char* name, int32_t overwrite) {
  SvOption* rec = SvFindSymRec(table, name);
  if (rec == nullptr) return 0;
  if (rec->value == nullptr || overwrite) replace(rec->value, value);
  return 1;
}

int32_t SvScanArgs(int32_t count, const char* const* words, SvOption* table, char** out, int32_t outCount,
                   int32_t capacity, int32_t overwrite) {
  for (int32_t i = 0; i < count; ++i) {
    const char* word = words[i];
    if (word == nullptr) continue;
    if (word[0] == '-' && word[1] == '-') {
      if (!passOn(word, out, outCount, capacity)) return -1;
      continue;
    }
    if (word[0] == '-') {
      if (!scanFlags(count, words, i, table, out, outCount, capacity, overwrite)) return -1;
      continue;
    }
    if (const char* eq = std::strchr(word, '=')) {
      std::string name(word, static_cast<std::size_t>(eq - word));
      if (SvOption* symbol = SvFindSymRec(table, name.c_str())) {
        if (overwrite || symbol->value == nullptr) {
          replace(symbol->value, eq + 1);
          SvPutenv(name.c_str(), eq + 1);
        }
        continue;
      }
    }
    if (!passOn(word, out, outCount, capacity)) return -1;
  }
  return outCount;
}

int32_t SvArgsFromRc(const char* path, const char* name, SvOption* table, char** out, int32_t outCount,
                     int32_t capacity) {
  const char* found = SvFindFileRcs(name, path);
  if (found == nullptr) return outCount;
  SvRcsFile* reader = SvRcsOpen(found, "r");
  if (reader == nullptr) return outCount;
  std::vector<std::string> collected;
  std::vector<char> line(kSvRcLine);
  bool full = false;
  while (!full && SvRcsGetls(line.data(), kSvRcLine, reader, kSvJoinDrop) != 0) {
    if (line[0] == '#') continue;
    char** words = nullptr;
    int32_t n = SvWords(line.data(), &words);
    for (int32_t k = 0; k < n && words[k][0] != '#'; ++k) {
      if (collected.size() >= static_cast<std::size_t>(kSvRcMaxWords)) {
        sv::errorLine("To many arguments from rc file");
        full = true;
        break;
      }
      collected.emplace_back(words[k]);
    }
    SvFreeWords(words);
  }
  SvRcsClose(reader);
  std::vector<const char*> pointers;
  for (const std::string& w : collected) pointers.push_back(w.c_str());
  return SvScanArgs(static_cast<int32_t>(pointers.size()), pointers.data(), table, out, outCount, capacity, 0);
}

int32_t SvHandleEnvir(SvOption* symbol, SvOption* table) {
  if (symbol == nullptr || symbol->value == nullptr) return 0;
  const std::string in = symbol->value;
  std::string out;
  int32_t replaced = 0;
  std::size_t i = 0;
  while (i < in.size()) {
    std::size_t dollar = in.find('$', i);
    if (dollar == std::string::npos) {
      out.append(in, i, std::string::npos);
      break;
    }
    out.append(in, i, dollar - i);
    if (dollar + 1 >= in.size()) {
      out += '$';
      break;
    }
    char open = in[dollar + 1];
    std::string name;
    if (open == '(' || open == '{') {
      char close = open == '(' ? ')' : '}';
      std::size_t end = in.find(close, dollar + 2);
      if (end == std::string::npos) {
        sv::errorLine(std::string("SvHandleEnvir Missing ") + close + " in " + in);
        return 0;
      }
      name = in.substr(dollar + 2, end - dollar - 2);
      i = end + 1;
    } else {
      name = in.substr(dollar + 1, 1);
      i = dollar + 2;
    }
    SvOption* ref = SvFindSymRec(table, name.c_str());
    if (ref != nullptr && ref->value != nullptr) {
      out += ref->value;
      ++replaced;
    } else {
      out += "${" + name + "}";
    }
  }
  replace(symbol->value, out.c_str());
  return replaced;
}

void SvPrintConfig(std::FILE* out) {
  if (out == nullptr) return;
  SvOption* table = installed();
  printLine(out, "Active Configuration symbols:");
  forEach(table, [out](SvOption& o) {
    if (!isSymbol(o)) return;
    printLine(out, std::string("  ") + o.name + " = \"" + (o.value ? o.value : "{NULL}") + "\"");
  });
  printLine(out, "Active Configuration flags:");
  forEach(table, [out](SvOption& o) {
    if (o.name == nullptr) return;
    if (o.kind == kSvOptCount && o.counter != nullptr && *o.counter != 0) {
      printLine(out, std::string("  -") + o.name + " (count = " + sv::number(*o.counter) + ")");
    } else if (o.kind == kSvOptArg && o.variable != nullptr && *o.variable != nullptr) {
      printLine(out, std::string("  -") + o.name + " " + *o.variable);
    }
  });
}

void SvExportSymbols(SvOption* table) {
  forEach(table ? table : installed(), [](SvOption& o) {
    if (isSymbol(o) && o.value != nullptr) vputenv("%s=%s", o.name, o.value);
  });
}

int32_t SvConfigure(int32_t count, const char* const* words, SvOption* table, const char* rcName,
                    const char* rcPath, char*** out) {
  if (out) *out = nullptr;
  if (count < 0 || words == nullptr) count = 0;
  const int32_t capacity = count + kSvRcMaxWords;
  auto** vector = static_cast<char**>(SvMalloc(static_cast<std::size_t>(capacity) * sizeof(char*), SV_TAG("SvArgs")));
  int32_t n = 0;
  vector[0] = nullptr;
  if (count >= 1 && words[0] != nullptr) {
    vector[n++] = SvStrdup(words[0]);
    vector[n] = nullptr;
  }
  // A scanning error leaves the configuration undone: the caller hears -1.
  if (count > 1) n = SvScanArgs(count - 1, words + 1, table, vector, n, capacity, 1);
  if (n >= 0 && rcName != nullptr) n = SvArgsFromRc(rcPath, rcName, table, vector, n, capacity);
  if (n < 0) {
    SvFreeWords(vector);
    return -1;
  }
  vector[n] = nullptr;
  vector = static_cast<char**>(SvReallocX(vector, static_cast<std::size_t>(n + 1) * sizeof(char*), SV_TAG("SvArgs")));
  SvInstallTable(table);

  forEach(table, [](SvOption& o) {
    if (!isSymbol(o) || o.value != nullptr) return;
    if (const char* v = env::get(o.name)) {
      replace(o.value, v);
    } else if (const char* r = SvGetRegistry(o.name)) {
      replace(o.value, r);
    }
  });
  SvRegClose();

  forEach(table, [](SvOption& o) {
    if (o.kind == kSvOptArg && o.variable != nullptr && *o.variable == nullptr && o.defaultValue != nullptr) {
      *o.variable = SvStrdup(o.defaultValue);
    } else if (isSymbol(o) && o.value == nullptr && o.defaultValue != nullptr) {
      o.value = SvStrdup(o.defaultValue);
    }
  });

  // Values that refer to themselves, directly or round a cycle, never settle: after one
  // pass more than there are symbols they are left as they stand.
  const int32_t passes = symbolCount(table) + 1;
  for (int32_t pass = 0; pass < passes; ++pass) {
    int32_t replaced = 0;
    forEach(table, [&](SvOption& o) {
      if (isSymbol(o) && o.value != nullptr && std::strchr(o.value, '$') != nullptr) {
        replaced += SvHandleEnvir(&o, table);
      }
    });
    if (replaced == 0) break;
  }

  forEach(table, [](SvOption& o) {
    if (!isSymbol(o) || o.value == nullptr || o.searchPath == nullptr) return;
    if (const char* file = SvFindFileRcs(o.value, o.searchPath)) replace(o.value, file);
  });

  prefixPath();
  if (out) {
    *out = vector;
  } else {
    SvFreeWords(vector);
  }
  return n;
}

}  // namespace kvr
