// What the two halves of the PostScript driver share: the opening of a document (opcode
// 1: settings, page layout, prolog, colours) and the line writer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvr {

// Opcode 1 of LASPLT, with the colour switch as PSMONO or PSCOLR left it.
void LASOPN();

// Writes LINE as one record on the plot unit.
void psLine(std::string_view line);

// Numbers of the document: VALUE as Iw, or as Fw.d. A value too wide for its field is
// written in full after one blank, never as asterisks: PostScript reads numbers as
// words of any width, but asterisks would end the document with an error.
std::string psI(int64_t value, int w);
std::string psF(float value, int w, int d);

// Exchanges shades 1 and 8 of the basic colour table in all three rows: on white paper
// basic colour 1 draws dark and 8 light.
void psSwapWhiteAndBlack();

// Gives back the colour save area PSCSAV (nothing when no opcode 1 saved it).
void psRestoreColours();

}  // namespace kvr
