// The neutral text file: every dataset the host finishes, written as fixed-format text
// lines to the neutral-file unit LUNEU of DICTL, in DICTL's number format (0 "I5, E12.5",
// 1 "I10, E12.5", 2 "I10, E14.7").
//
// A dataset's lines are an image of its temporary stream: one header line per dataset
// header (a model header is followed by the header of the dataset it opens, or by the
// component lines of an assembly build), then one or more lines per record in stream
// order, then the end line " -3". The file's last line is " 9999".
//
// Every line begins with one blank and ends after its last field; numbers go through the
// library's Fortran editing. Identifier fields are I5 in format 0 and I10 otherwise;
// coordinates of nodes and Gauss points are E14.7 in format 2; every other field keeps
// its width in all three formats. Records longer than a line go on continuation lines
// that start with " -2".
//
// The counts a stream carries (members, values, repeats) only drive its reads: nothing is
// sized from them, so a corrupt count ends in a read failure, never in an overrun.
#pragma once

#include <cstdint>

namespace kvr {

// What writing a dataset answers.
inline constexpr int32_t kNeutralOk = 0;
inline constexpr int32_t kNeutralReadFailed = 1;   // the stream ended early or could not be read
inline constexpr int32_t kNeutralWriteFailed = 2;  // LUNEU refused a line

// Writes the dataset held on temporary channel K as lines of the neutral text file,
// reading the stream with TMPRD from where the channel stands: the caller has rewound the
// unit and reset the channel, so the read starts at the dataset's header. Stops at the
// first failure; the lines written before it stay in the file.
int32_t writeNeutralDataset(int32_t k);

// Writes the neutral text file's last line, " 9999". Answers kNeutralOk or
// kNeutralWriteFailed.
int32_t writeNeutralEnd();

}  // namespace kvr
