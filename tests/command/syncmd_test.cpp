// The synonyms: the synonym file, ADD, LIST, DELETE and SAVE with the answers of commands
// parsed from menu 100, the listing, and the expansion of typed lines into the pending
// command line.
#include "command/syncmd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "command/cmdini.h"
#include "command/cmdlin.h"
#include "messages/synsta.h"
#include "parsefixture.h"
#include "platform/unitio.h"
#include "plot/pltdsp.h"

namespace kvr {
namespace {

using test::Lines;

struct Entry {
  std::string name;
  int32_t searchNumber;
  std::string substitution;
  bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
  return os << "{" << e.name << ", " << e.searchNumber << ", \"" << e.substitution << "\"}";
}

// The lines handed to the host's message hook: the W messages.
inline std::vector<std::string> gWarnings;

class Synonyms : public test::ParseFixture {
 protected:
  void SetUp() override {
    ParseFixture::SetUp();
    std::filesystem::create_directory(dir.file("syn"));
    setenv("KVRSYN", dir.file("syn").c_str(), 1);
    // The console, so that the object kinds of the messages choose their writers.
    IOUNIT.slot(kSlotTerminalOutput) = kMessageUnit;
    IOUNIT.slot(kSlotTerminalInput) = io::kStdinUnit;
    PLTALP();
    enableJournals();
    gWarnings.clear();
    setLineWriterObserver([](LineWriter writer, int32_t, FText text) {
      if (writer == LineWriter::HCMSG) gWarnings.push_back(text.trimmed());
    });
  }
  void TearDown() override {
    gWarnings.clear();
    SYNSTA = {};
    ParseFixture::TearDown();
  }

  std::string synonymFile() { return dir.file("syn/kvrsyn.syn"); }
  void writeSynonyms(const std::string& text) { test::writeFile(synonymFile(), text); }

  static int32_t run(int32_t subcommand, const std::string& text = "") {
    std::string line = text;
    int32_t status = 99;
    SYNCMD(subcommand, FText(line), status);
    return status;
  }
  static int32_t read() { return run(kSynonymRead); }

  // Parses COMMAND from menu 100 and runs SUBCOMMAND on its answers.
  int32_t command(int32_t subcommand, const std::string& line) {
    parse(100, line);
    EXPECT_EQ(MNUCTL.inputState, kStateComplete) << line;
    return run(subcommand);
  }

  static std::string trimmedCodes(std::span<const int32_t> codes) {
    std::string s;
    for (int32_t c : codes) s.push_back(charOf(c));
    return s.substr(0, s.find_last_not_of(' ') + 1);
  }
  static Entry entry(int32_t i) {
    return {trimmedCodes(SYNSTA.name(i)), SYNSTA.searchNumber(i), trimmedCodes(SYNSTA.substitution(i))};
  }
  static std::vector<Entry> table() {
    std::vector<Entry> t;
    for (int32_t i = 1; i <= SYNSTA.count; ++i) t.push_back(entry(i));
    return t;
  }
  // Puts the synonyms into the table as they stand.
  static void define(const std::vector<Entry>& entries) {
    SYNSTA.count = 0;
    for (const Entry& e : entries) {
      const int32_t i = ++SYNSTA.count;
      std::ranges::fill(SYNSTA.name(i), kBlankCode);
      std::ranges::fill(SYNSTA.substitution(i), kBlankCode);
      for (size_t k = 0; k < e.name.size(); ++k) SYNSTA.name(i)[k] = codeOf(e.name[k]);
      for (size_t k = 0; k < e.substitution.size(); ++k) {
        SYNSTA.substitution(i)[k] = codeOf(e.substitution[k]);
      }
      SYNSTA.searchNumber(i) = e.searchNumber;
    }
  }
  // N synonyms S1, S2, ... with search number 1.
  static void fill(int32_t n) {
    std::vector<Entry> entries;
    for (int32_t k = 1; k <= n; ++k) entries.push_back({"S" + std::to_string(k), 1, "X"});
    define(entries);
  }

  // The pending command line, trimmed.
  static std::string pending() { return trimmedCodes(CMDLIN.lineCodes); }

  // The message unit's lines; then they are forgotten.
  Lines taken() {
    Lines lines = messages();
    Lines fresh(lines.begin() + static_cast<std::ptrdiff_t>(seen_), lines.end());
    seen_ = lines.size();
    return fresh;
  }

 private:
  test::SavedEnv env_{{"KVRSYN"}};
  size_t seen_ = 0;
};

// ---- The synonym file ---------------------------------------------------------------

TEST_F(Synonyms, FileLinesAndTheirEffect) {
  struct Case {
    std::string line;
    int32_t status;
    std::vector<Entry> entries;
    std::string error;  // the syntax-error line, empty for none
  };
  const Case cases[] = {
      {"+ ST 2 UTILITY SETUP", 0, {{"ST", 2, "UTILITY SETUP"}}, ""},
      {"U S S A ST 2 UTILITY SETUP", 0, {{"ST", 2, "UTILITY SETUP"}}, ""},
      {"UTIL SET SYN ADD LI 1 UTILITY SETUP SYNONYMS LIST", 0,
       {{"LI", 1, "UTILITY SETUP SYNONYMS LIST"}}, ""},
      {"utility setup synonym add st 2 x", 1, {}, "LINE : 2 : CHARACTER : 1"},  // letters as they stand
      {"+ ST 7 X", 0, {{"ST", 7, "X"}}, ""},
      {"+   ST   3     A   B   ", 0, {{"ST", 3, "A   B"}}, ""},
      {"+ st 2 utility setup", 0, {{"st", 2, "utility setup"}}, ""},
      {"+ ST 2", 0, {{"ST", 2, ""}}, ""},
      {"+ \"Q 2 X", 0, {{"\"Q", 2, "X"}}, ""},  // a quote is an ordinary character
      {"+ ABCDEFGHIJKLM 3 X", 0, {{"ABCDEFGHIJKL", 3, "X"}}, ""},  // cut to 12
      {"UTILITY SETUP SYNONYMS ADD ST 2 X", 1, {}, "LINE : 2 : CHARACTER : 15"},
      {"UTILITY SETUP SYNONYM DEL ST 2 X", 1, {}, "LINE : 2 : CHARACTER : 23"},
      {"+ ST 8 X", 1, {}, "LINE : 2 : CHARACTER : 6"},
      {"+ ST 0 X", 1, {}, "LINE : 2 : CHARACTER : 6"},
      {"+ ST TWO X", 1, {}, "LINE : 2 : CHARACTER : 6"},
      {"+ST 2 X", 1, {}, "LINE : 2 : CHARACTER : 1"},
      {"", 1, {}, "LINE : 2 : CHARACTER : 1"},
      {"   ", 1, {}, "LINE : 2 : CHARACTER : 1"},
      {"+ ST", 1, {}, "LINE : 2 : CHARACTER : 5"},  // where the number was looked for
      {"U S S", 1, {}, "LINE : 2 : CHARACTER : 6"},
      {"; comment", 0, {}, ""},
      {"* comment", 0, {}, ""},
      {"!comment", 0, {}, ""},
  };
  for (const Case& c : cases) {
    writeSynonyms("! comment\n" + c.line + "\n");
    SYNSTA.active = 0;
    EXPECT_EQ(read(), c.status) << c.line;
    EXPECT_EQ(table(), c.entries) << c.line;
    EXPECT_EQ(SYNSTA.active, 1);
    Lines expected = {" SYNONYM FILE FOUND", " SYNONYMS ACTIVATED"};
    if (!c.error.empty()) {
      expected.push_back(" ");
      expected.push_back(" SYNTAX ERROR SYNONYM FILE " + c.error);
    }
    EXPECT_EQ(taken(), expected) << c.line;
  }
}

TEST_F(Synonyms, ASyntaxErrorStopsTheReadingAndKeepsWhatCameBefore) {
  writeSynonyms("! comment\n+ ST 2 UTILITY SETUP\nUTILITY SETUP SYNONYMS ADD ST 2 X\n+ LI 1 LIST\n");
  EXPECT_EQ(read(), 1);
  EXPECT_EQ(table(), (std::vector<Entry>{{"ST", 2, "UTILITY SETUP"}}));
  EXPECT_EQ(taken(), (Lines{" SYNONYM FILE FOUND", " SYNONYMS ACTIVATED", " ",
                            " SYNTAX ERROR SYNONYM FILE LINE : 3 : CHARACTER : 15"}));

  // The file was closed: the next read starts again from its first line.
  writeSynonyms("+ LI 1 LIST\n");
  EXPECT_EQ(read(), 0);
  EXPECT_EQ(table(), (std::vector<Entry>{{"LI", 1, "LIST"}}));
}

TEST_F(Synonyms, RecordsAreEightyCharactersWithoutTheirCarriageReturn) {
  const std::string longText(90, 'Z');
  writeSynonyms("+ ST 2 UTILITY SETUP\r\n+ LO 1 " + longText + "\n");
  EXPECT_EQ(read(), 0);
  EXPECT_EQ(table(), (std::vector<Entry>{{"ST", 2, "UTILITY SETUP"}, {"LO", 1, std::string(73, 'Z')}}));
}

TEST_F(Synonyms, EveryReadStartsFromAnEmptyTable) {
  define({{"OLD", 1, "X"}, {"OLDER", 2, "Y"}});
  writeSynonyms("+ ST 2 UTILITY SETUP\n");
  EXPECT_EQ(read(), 0);
  EXPECT_EQ(table(), (std::vector<Entry>{{"ST", 2, "UTILITY SETUP"}}));

  // Without a file: no synonyms, no message, and the active flag as it was.
  std::filesystem::remove(synonymFile());
  for (int32_t active : {0, 1}) {
    define({{"OLD", 1, "X"}});
    SYNSTA.active = active;
    taken();
    EXPECT_EQ(read(), 0);
    EXPECT_EQ(SYNSTA.count, 0);
    EXPECT_EQ(SYNSTA.active, active);
    EXPECT_EQ(taken(), Lines{});
  }
}

TEST_F(Synonyms, TheThreeHundredAndFirstSynonymIsRefused) {
  std::string text = "! three hundred and one\n";
  for (int32_t k = 1; k <= 301; ++k) text += "+ S" + std::to_string(k) + " 1 X" + std::to_string(k) + "\n";
  writeSynonyms(text);
  EXPECT_EQ(read(), 0);
  EXPECT_EQ(SYNSTA.count, 300);
  EXPECT_EQ(entry(300), (Entry{"S300", 1, "X300"}));
  EXPECT_EQ(gWarnings, (Lines{"W3170: Maximum number of synonyms exceeded"}));
  EXPECT_EQ(journal1().back(), "  * W3170: Maximum number of synonyms exceeded");
  EXPECT_EQ(journal2().back(), "  * W3170: Maximum number of synonyms exceeded");
  EXPECT_EQ(taken(), (Lines{" SYNONYM FILE FOUND", " SYNONYMS ACTIVATED"}));
}

// What a synonym file costs is bounded by what is used of it: 80 characters a line, and
// at most 300 synonyms, however long its lines or how many of them.
TEST_F(Synonyms, LongLinesAndLongFilesAreReadToWhatIsUsed) {
  std::string many;
  for (int32_t k = 1; k <= 10'000; ++k) {
    many += "+ S" + std::to_string(k) + " 1 " + std::string(200, 'Y') + "\n";
  }
  struct Case {
    const char* what;
    std::string text;
    int32_t count;
    Entry last;
  };
  const Case cases[] = {
      {"a line of 10 MB", "+ LO 1 " + std::string(10'000'000, 'Z') + "\n+ ST 2 UTILITY SETUP\n", 2,
       {"ST", 2, "UTILITY SETUP"}},
      {"10,000 lines", many, 300, {"S300", 1, std::string(71, 'Y')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeSynonyms(c.text);
    io::resetLargestRecordRead();
    EXPECT_EQ(read(), 0);
    EXPECT_EQ(SYNSTA.count, c.count);
    EXPECT_EQ(entry(c.count), c.last);
    EXPECT_LE(io::largestRecordRead(), 80u);
  }
}

TEST_F(Synonyms, TheCommandProcessorResetReadsTheFile) {
  writeSynonyms("+ ST 2 UTILITY SETUP\n");
  int32_t status = -1;
  CMDINI(status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(SYNSTA.active, 1);
  EXPECT_EQ(SYNSTA.echo, 1);
  EXPECT_EQ(table(), (std::vector<Entry>{{"ST", 2, "UTILITY SETUP"}}));
  EXPECT_EQ(taken(), (Lines{" SYNONYM FILE FOUND", " SYNONYMS ACTIVATED"}));
}

// ---- ADD --------------------------------------------------------------------------

TEST_F(Synonyms, AddDefinesAndThenReplacesInPlace) {
  SYNSTA.echo = 1;
  EXPECT_EQ(command(kSynonymAdd, "UT SE SY AD ST 2 utility setup"), 0);
  EXPECT_EQ(table(), (std::vector<Entry>{{"ST", 2, "UTILITY SETUP"}}));
  EXPECT_EQ(SYNSTA.active, 1);
  EXPECT_EQ(taken(), (Lines{" Synonyms activated", " (ST) = UTILITY SETUP",
                            " Number of synonyms is now : 1"}));
  EXPECT_EQ(gWarnings, Lines{});

  define({{"AB", 1, "Q"}, {"ST", 2, "UTILITY SETUP"}, {"CD", 1, "R"}});
  EXPECT_EQ(command(kSynonymAdd, "UT SE SY AD st 2 list"), 0);
  EXPECT_EQ(table(), (std::vector<Entry>{{"AB", 1, "Q"}, {"ST", 2, "LIST"}, {"CD", 1, "R"}}));
  EXPECT_EQ(taken(), (Lines{" (ST) = LIST", " Synonym overwritten", " Number of synonyms is now : 3"}));
  EXPECT_EQ(gWarnings, (Lines{"W3150: Synonym match exists already", "New synonym will replace old"}));
}

TEST_F(Synonyms, AddRefusesWhatItMayNotChange) {
  SYNSTA.echo = 1;
  SYNSTA.active = 1;
  const std::vector<Entry> start = {{"STEP", 2, "UTILITY SETUP"}, {"HELP", 7, "UTILITY SETUP"}};
  struct Case {
    std::string command;
    Lines messages;
    Lines warnings;
  };
  const Case cases[] = {
      {"UT SE SY AD ST 0 X", {" Illegal search number : Synonym ignored"}, {}},
      {"UT SE SY AD ST 7 X", {" Illegal search number : Synonym ignored"}, {}},
      {"UT SE SY AD ST -1 X", {" Illegal search number : Synonym ignored"}, {}},
      {"UT SE SY AD STE 1 X", {}, {}},  // abbreviates STEP by its search number
      {"UT SE SY AD HELP 1 X", {" *** HELP *** UTILITY SETUP"}, {"W3180: This is a priority synonym"}},
  };
  for (const Case& c : cases) {
    define(start);
    gWarnings.clear();
    EXPECT_EQ(command(kSynonymAdd, c.command), 0);
    EXPECT_EQ(table(), start) << c.command;
    EXPECT_EQ(taken(), c.messages) << c.command;
    EXPECT_EQ(gWarnings, c.warnings) << c.command;
  }

  // "S" is shorter than STEP's search number: a synonym of its own.
  define(start);
  EXPECT_EQ(command(kSynonymAdd, "UT SE SY AD S 1 X"), 0);
  EXPECT_EQ(SYNSTA.count, 3);
  EXPECT_EQ(entry(3), (Entry{"S", 1, "X"}));
}

TEST_F(Synonyms, AddCutsNameAndSubstitution) {
  SYNSTA.echo = 0;
  define({{"ABCDEFGHIJKL", 1, "OLD"}});
  // Compared as it is stored: the first twelve characters name the entry it replaces.
  EXPECT_EQ(command(kSynonymAdd, "UT SE SY AD ABCDEFGHIJKLM 2 " + std::string(90, 'q')), 0);
  EXPECT_EQ(table(), (std::vector<Entry>{{"ABCDEFGHIJKL", 2, std::string(80, 'Q')}}));
  // Echo off: only the activation is reported.
  EXPECT_EQ(taken(), (Lines{" Synonyms activated"}));
}

TEST_F(Synonyms, AddReportsTheCountAndTheRoomLeft) {
  SYNSTA.echo = 1;
  SYNSTA.active = 1;
  fill(288);
  command(kSynonymAdd, "UT SE SY AD NEW 1 X");
  EXPECT_EQ(taken(), (Lines{" (N)EW = X", " Number of synonyms is now : 289"}));
  fill(289);
  command(kSynonymAdd, "UT SE SY AD NEW 1 X");
  EXPECT_EQ(taken(), (Lines{" (N)EW = X", " Number of synonyms is now : 290",
                            " Maximum number of synonyms : 300"}));
  fill(300);
  command(kSynonymAdd, "UT SE SY AD NEW 1 X");
  EXPECT_EQ(SYNSTA.count, 300);
  EXPECT_EQ(entry(300), (Entry{"S300", 1, "X"}));
  EXPECT_EQ(taken(), Lines{});
  EXPECT_EQ(gWarnings, (Lines{"W3170: Maximum number of synonyms exceeded"}));
}

// ---- LIST, DELETE, the listing ----------------------------------------------------------

TEST_F(Synonyms, ListByText) {
  const std::vector<Entry> start = {{"STEP", 2, "UTILITY SETUP"}, {"HELP", 7, "UTILITY SETUP"},
                                    {"STOP", 1, "EXIT"}, {"X", 1, "COPY $3"}};
  define(start);
  EXPECT_EQ(command(kSynonymList, "UT SE SY LI"), 0);
  EXPECT_EQ(taken(), (Lines{" (ST)EP = UTILITY SETUP", " *** HELP *** UTILITY SETUP", " (S)TOP = EXIT",
                            " (X) = COPY $3"}));
  EXPECT_EQ(command(kSynonymList, "UT SE SY LI st"), 0);
  EXPECT_EQ(taken(), (Lines{" (ST)EP = UTILITY SETUP", " (S)TOP = EXIT"}));
  EXPECT_EQ(command(kSynonymList, "UT SE SY LI HELPS"), 0);
  EXPECT_EQ(taken(), (Lines{" No synonyms match for this character string"}));
  EXPECT_EQ(table(), start);

  SYNSTA.count = 0;
  EXPECT_EQ(command(kSynonymList, "UT SE SY LI ST"), 1);
  EXPECT_EQ(command(kSynonymList, "UT SE SY LI"), 0);
  EXPECT_EQ(taken(), Lines{});
}

TEST_F(Synonyms, DeleteTakesOnlyAnExactName) {
  SYNSTA.echo = 1;
  define({{"A", 1, "X"}, {"HELP", 7, "Y"}, {"STEP", 2, "Z"}, {"LAST", 1, "W"}});
  EXPECT_EQ(command(kSynonymDelete, "UT SE SY DE step"), 0);
  EXPECT_EQ(table(), (std::vector<Entry>{{"A", 1, "X"}, {"HELP", 7, "Y"}, {"LAST", 1, "W"}}));
  EXPECT_EQ(taken(), (Lines{" Synonym deleted", " Number of synonyms is now : 3"}));

  EXPECT_EQ(command(kSynonymDelete, "UT SE SY DE HELP"), 0);
  EXPECT_EQ(taken(), (Lines{" Warning : Priority synonym cannot be deleted"}));
  EXPECT_EQ(command(kSynonymDelete, "UT SE SY DE LAS"), 0);  // an abbreviation is no match
  EXPECT_EQ(taken(), Lines{});
  EXPECT_EQ(gWarnings, (Lines{"W3140: No match for this synonym"}));
  EXPECT_EQ(SYNSTA.count, 3);

  SYNSTA.count = 0;
  gWarnings.clear();
  EXPECT_EQ(command(kSynonymDelete, "UT SE SY DE A"), 1);
  EXPECT_EQ(taken(), Lines{});
  EXPECT_EQ(gWarnings, Lines{});
}

TEST_F(Synonyms, ListingLines) {
  define({{"STEP", 2, "UTILITY SETUP"},
          {"HELP", 7, "UTILITY SETUP"},
          {"ABCDEFGHIJKL", 7, "Q"},
          {"ST", 6, "A B"},
          {"LONG", 1, std::string(80, 'L')}});
  for (int32_t i = 1; i <= 5; ++i) SYNLST(i);
  EXPECT_EQ(taken(), (Lines{" (ST)EP = UTILITY SETUP", " *** HELP *** UTILITY SETUP",
                            " *** ABCDEFGHIJKL*** Q", " (ST    ) = A B",
                            " (L)ONG = " + std::string(80, 'L')}));
}

// ---- SAVE ---------------------------------------------------------------------------

TEST_F(Synonyms, SaveWritesTheTableSoThatItReadsBack) {
  const std::vector<Entry> start = {{"STEP", 2, "UTILITY SETUP"}, {"HELP", 7, "UTILITY SETUP"},
                                    {"NONE", 3, ""}};
  // An earlier, longer file keeps none of its lines.
  writeSynonyms(std::string(30, '\n') + "+ OLD 1 X\n");
  define(start);
  EXPECT_EQ(command(kSynonymSave, "UT SE SY SA \"" + synonymFile() + "\""), 0);
  EXPECT_EQ(test::readLines(synonymFile()),
            (Lines{"U S S A STEP 2 UTILITY SETUP", "U S S A HELP 7 UTILITY SETUP", "U S S A NONE 3"}));

  SYNSTA.count = 0;
  EXPECT_EQ(read(), 0);
  EXPECT_EQ(table(), start);

  // With no synonyms nothing is written.
  const std::string other = dir.file("syn/other.syn");
  SYNSTA.count = 0;
  EXPECT_EQ(command(kSynonymSave, "UT SE SY SA \"" + other + "\""), 0);
  EXPECT_FALSE(std::filesystem::exists(other));
}

// ---- Expansion ----------------------------------------------------------------------

TEST_F(Synonyms, ExpansionOfTypedLines) {
  struct Case {
    Entry synonym;
    std::string typed;
    int32_t status;
    std::string pending;  // for status 0
  };
  const std::string many = [] {
    std::string s;
    for (int k = 0; k < 26; ++k) s += k == 0 ? "$1" : " $1";
    return s;
  }();
  const std::string word(20, 'W');
  std::string twelve = word;
  for (int k = 1; k < 12; ++k) twelve += " " + word;
  const Case cases[] = {
      {{"STEP", 2, "UTILITY SETUP"}, "ST A", 0, "UTILITY SETUP A"},
      {{"STEP", 2, "UTILITY SETUP"}, "step a", 0, "UTILITY SETUP a"},
      {{"STEP", 2, "UTILITY SETUP"}, "S A", 1, ""},
      {{"STEP", 2, "UTILITY SETUP"}, "STEPS A", 1, ""},
      {{"STEP", 2, "UTILITY SETUP"}, "   ", 1, ""},
      {{"HELP", 7, "UTILITY SETUP"}, "HELP", 0, "UTILITY SETUP"},
      {{"HELP", 7, "UTILITY SETUP"}, "HEL", 1, ""},
      {{"X", 1, "UTILITY SETUP $2 $1"}, "X ALPHA BETA GAMMA", 0, "UTILITY SETUP BETA ALPHA GAMMA"},
      {{"X", 1, "A $-2"}, "X W1 W2 W3", 0, "A W2 W3"},
      {{"X", 1, "TITLE $A"}, "X W1", 1, ""},
      {{"X", 1, "TITLE $0"}, "X W1", 1, ""},
      {{"X", 1, "TITLE $ 1"}, "X W1", 1, ""},
      {{"X", 1, "TITLE $"}, "X W1", 1, ""},
      {{"X", 1, "TITLE  \"A  B\"   C"}, "X", 0, "TITLE \"A  B\" C"},
      {{"X", 1, "T \" $1 \""}, "X P", 0, "T \" P \""},
      {{"X", 1, "TIME 12:30,A"}, "X", 0, "TIME 12:30 , A"},  // ":" stays inside a word
      {{"X", 1, ""}, "X W1  W2", 0, "W1 W2"},
      {{"X", 1, "A"}, "X B,C", 0, "A B , C"},
      {{"X", 1, many}, "X " + word, 0, twelve},
      // The first word that would reach past 255 ends the line, though a later one fits.
      {{"X", 1, std::string(30, 'P')}, "X " + std::string(200, 'B') + " " + std::string(40, 'C') + " D",
       0, std::string(30, 'P') + " " + std::string(200, 'B')},
  };
  for (const Case& c : cases) {
    define({{"OTHER", 1, "NO"}, c.synonym});
    setCommandLine("EARLIER");
    CMDLIN.pending = 0;
    EXPECT_EQ(run(kSynonymExpand, c.typed), c.status) << c.typed;
    EXPECT_EQ(CMDLIN.pending, c.status == 0 ? 1 : 0) << c.typed;
    EXPECT_EQ(pending(), c.status == 0 ? c.pending : "EARLIER") << c.typed;
  }
  SYNSTA.count = 0;
  EXPECT_EQ(run(kSynonymExpand, "X"), 1);
}

TEST_F(Synonyms, AMissingParameterIsAskedFor) {
  define({{"X", 1, "COPY $3"}});
  replies("ABC DEF\n");
  EXPECT_EQ(run(kSynonymExpand, "X W1 W2"), 0);
  EXPECT_EQ(pending(), "COPY ABC W1 W2");
  EXPECT_EQ(CMDLIN.pending, 1);
  const Lines shown = taken();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front(), " $3");  // the prompt echoed as a line
  EXPECT_EQ(journal1().front(), "  !  $3");

  // An empty reply asks again.
  CMDLIN = {};
  replies("\nabc\n");
  EXPECT_EQ(run(kSynonymExpand, "X W1 W2"), 0);
  EXPECT_EQ(pending(), "COPY abc W1 W2");

  // A cancelled prompt leaves nothing pending.
  for (const char* reply : {"/\n", ""}) {
    setCommandLine("");
    CMDLIN.pending = 0;
    replies(reply);
    EXPECT_EQ(run(kSynonymExpand, "X W1 W2"), -1);
    EXPECT_EQ(CMDLIN.pending, 0);
  }
}

}  // namespace
}  // namespace kvr
