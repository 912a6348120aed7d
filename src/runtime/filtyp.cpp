#include "runtime/filtyp.h"

#include <array>

#include "runtime/iounit.h"  // IoUnit::kSlots

namespace kvr {
namespace {

using E = Extension;
using K = FileKind;
using R = RecordLength;

constexpr std::array<FileTypeRow, kLastFileType> kFileTypes{{
    {K::Terminal, 1, 1, "", "", E::None, "", false, R::None},           // 1 terminal input
    {K::Terminal, 2, 2, "", "", E::None, "", false, R::None},           // 2 terminal output
    {K::Default, 3, 3, "plt", "", E::PlotDevice, "", false, R::None},   // 3 plot file
    {K::Default, 4, 4, "lst", "", E::Fixed, "lst", false, R::None},     // 4 list file
    {K::Default, 5, 5, "log", "", E::Fixed, "log", false, R::None},     // 5 log file
    {K::Default, 6, 6, "model", "", E::Fixed, "tli", true, R::None},    // 6 model file
    {K::ModelFile, 8, 8, "", "", E::IndexFile, "", false, R::IndexPage},   // 7 index file
    {K::ModelFile, 9, 9, "", "", E::DataFile, "", false, R::DataPage},     // 8 data file
    {K::Default, 7, 7, "arc", "", E::Fixed, "tla", false, R::None},     // 9 archive file
    {K::Terminal, 10, 10, "", "", E::None, "", false, R::None},         // 10
    {K::Terminal, 11, 11, "", "", E::None, "", false, R::None},         // 11
    {K::CallerName, 12, 12, "", "", E::None, "", false, R::RecordWord},  // 12 slot scratch
    {K::CallerName, 13, 13, "", "", E::None, "", false, R::RecordWord},  // 13 stream scratch
    {K::Default, 14, 14, "batch", "", E::Fixed, "bat", true, R::None},  // 14 command file
    {K::None, 0, 0, "", "", E::None, "", false, R::None},               // 15 no such type
    {K::AlwaysStandard, 16, 16, "str", "KVRSTR", E::Fixed, "str", false, R::None},  // 16
    {K::None, 0, 23, "", "", E::None, "", false, R::None},              // 17 closing only
    {K::None, 0, 24, "", "", E::None, "", false, R::None},              // 18 closing only
    {K::Standard, 22, 22, "syn", "KVRSYN", E::Fixed, "syn", false, R::None},  // 19 synonyms
    {K::Default, 17, 17, "modelo", "", E::Fixed, "kva", false, R::None},  // 20
    {K::ModelFile, 18, 18, "", "", E::GeometryFile, "", false, R::ModelPage},  // 21 geometry
    {K::NameRequired, 19, 19, "", "", E::Fixed, "bak", false, R::ModelPage},  // 22 dump
    {K::CallerName, 20, 20, "", "", E::None, "", false, R::RecordWord},  // 23 half-buffer
    {K::None, 0, 0, "", "", E::None, "", false, R::None},               // 24 cannot open
    {K::Default, 21, 21, "modelo", "", E::Fixed, "anl", false, R::None},  // 25
    {K::CallerName, 25, 25, "", "", E::None, "", false, R::Fixed1000},  // 26
    {K::Default, 26, 26, "modelo", "", E::Fixed, "his", false, R::None},  // 27
    {K::Standard, 27, 27, "cmap", "KVRSTR", E::Fixed, "str", false, R::None},  // 28 colours
}};

// Default unit of each slot, slot 1 first.
constexpr std::array<int32_t, IoUnit::kSlots> kSlotUnits{
    5,  6,  3,  2,  7,  1,  11, 4,  8,  5,   // slots 1-10
    6,  9,  14, 12, 0,  12, 17, 18, 19, 10,  // slots 11-20
    26, 15, 21, 22, 23, 24, 25,              // slots 21-27
};

}  // namespace

const FileTypeRow* fileTypeRow(int32_t type) {
  if (type < kFirstFileType || type > kLastFileType) return nullptr;
  return &kFileTypes[static_cast<size_t>(type - 1)];
}

int32_t defaultSlotUnit(int32_t k) {
  if (k < 1 || k > IoUnit::kSlots) return 0;
  return kSlotUnits[static_cast<size_t>(k - 1)];
}

}  // namespace kvr
