// The constant tables of the property descriptors, in slot order: the material groups,
// concepts and parameters, and the physical type, section types and section parameters.

#include "modeldb/descriptors.h"

namespace kvr {
namespace {

// Material behaviour groups (group store): kind 2, children in the concept store.
constexpr ListEntry kGroups[] = {
    {1, "Elasticity", "ELAST", 2, 0, {1, 2, 3, 4}},
    {2, "Plasticity", "PLAST", 2, 0, {7, 8, 9, 10, 40}},
    {3, "Hardening", "HARDEN", 2, 0, {11, 12, 39}},
    {4, "Cracking", "CRACK", 2, 0, {13, 14, 15}},
    {5, "Viscosity", "VISC", 2, 0, {16, 17}},
    {6, "Hyperelasticity - Deviatoric", "HYP-DEV", 2, 0, {20, 27, 32}},
    {7, "Hyperelasticity - Hydrostatic", "HYP-HYP", 2, 0, {33, 34, 35}},
};

// Concepts and sub-concepts (concept store): kind 4 lists parameter slots, kind 2
// concept slots, kind 0 nothing.
constexpr ListEntry kConcepts[] = {
    {1, "Concept 1 for elasticity", "CE1", 4, 0, {1, 2, 3, 4}},
    {2, "Concept 2 for elasticity", "CE2", 4, 0, {5, 6}},
    {3, "Concept 3 for elasticity", "CE3", 4, 0, {7, 8, 9}},
    {4, "Concept 4 for elasticity", "CE4", 4, 0, {10}},
    {7, "Concept 1 for plasticity", "CP1", 4, 0, {20, 21}},
    {8, "Concept 2 for plasticity", "CP2", 4, 0, {22, 35}},
    {9, "Concept 3 for plasticity", "CP3", 4, 0, {23, 24, 25}},
    {10, "Concept 4 for plasticity", "CP4", 4, 0,
     {26, 27, 28, 29, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115,
      116, 117, 118, 119, 120, 121, 122}},
    {11, "Concept 1 for hardening", "CH1", 4, 0, {30, 31}},  // 10
    {12, "Concept 2 for hardening", "CH2", 4, 0, {32, 33}},
    {13, "Concept 1 for cracking", "CC1", 4, 0, {40}},
    {14, "Concept 2 for cracking", "CC2", 4, 0, {41, 42}},
    {15, "Concept 3 for cracking", "CC3", 4, 0, {43, 44, 45}},
    {16, "Concept 1 for viscosity", "CV1", 4, 0, {46}},
    {17, "Concept 2 for viscosity", "CV2", 4, 0, {47, 48}},
    {20, "Concept 1 for Hyper-Dev", "CHD1", 2, 0, {21, 22, 23}},
    {21, "Sub concept 1.1 for HYP-DEV", "SHD11", 4, 0, {60, 61}},
    {22, "Sub concept 1.2 for HYP-DEV", "SHD12", 4, 0, {62, 63}},
    {23, "Sub concept 1.3 for HYP-DEV", "SHD13", 2, 0, {24, 25, 26}},  // 20
    {24, "Sub concept 1.3.1 for HYP-DEV", "SHD131", 4, 0, {64, 65}},
    {25, "Sub concept 1.3.2 for HYP-DEV", "SHD132", 4, 0, {66, 67, 68, 69}},
    {26, "Sub concept 1.3.3 for HYP-DEV", "SHD133", 4, 0, {70, 71, 72}},
    {27, "Concept 2 for Hyper-Dev", "CHD2", 2, 0, {28, 29, 30}},
    {28, "Sub concept 2.1 for HYP-DEV", "SHD21", 4, 0, {73, 74}},
    {29, "Sub concept 2.2 for HYP-DEV", "SHD22", 4, 0, {75}},
    {30, "Sub concept 2.3 for HYP-DEV", "SHD23", 4, 0, {76, 77, 78, 79}},
    {32, "Concept 3 for Hyper-Dev", "CHD3", 4, 0, {80, 81, 82}},
    {33, "Concept 1 for Hyper-Hyd", "CHH1", 4, 0, {83, 84, 85}},
    {34, "Concept 2 for Hyper-Hyd", "CHH2", 4, 0, {86, 87}},  // 30
    {35, "Concept 3 for Hyper-Hyd", "CHH3", 2, 0, {36, 37}},
    {36, "Sub concept 3.1 for HYP-HYD", "SHH31", 4, 0, {88, 89}},
    {37, "Sub concept 3.2 for HYP-HYD", "SHH32", 4, 0, {90}},
    {38, "Concept 4 for Hyper-Hyd", "CHH4", 4, 0, {91, 92, 93}},
    {39, "Concept 3 for hardening", "NONE", 0, 0, {}},
    {40, "Concept 5 for plasticity", "CP5", 2, 0, {94}},
    {94, "Sub Concept 5.1 for plasticity", "PP51", 2, 0, {95}},
    {95, "Sub Concept 5.1.1 for plasticity", "PP511", 2, 0, {96}},
    {96, "Sub Concept 5.1.1.1 for plasticity", "PP5111", 2, 0, {97}},
    {97, "Sub Concept 5.1.1.1.1 for plasticity", "PP51111", 2, 0, {98}},  // 40
    {98, "Sub Concept 5.1.1.1.1.1 for plasticity", "PP511111", 4, 0, {99, 100, 101}},
};

// Material parameters (parameter store) by slot.
constexpr ParameterName kParameterNames[] = {
    {1, "E1A"}, {2, "E1B"}, {3, "E1C"}, {4, "E1D"}, {5, "E2A"},
    {6, "E2B"}, {7, "E3A"}, {8, "E3B"}, {9, "E3C"}, {10, "E4A"},  // 10
    {20, "P1A"}, {21, "P1B"}, {22, "P2A"}, {23, "P3A"}, {24, "P3B"},
    {25, "P3C"}, {26, "P4A"}, {27, "P4B"}, {28, "P4C"}, {29, "P4D"},  // 20
    {30, "H1A"}, {31, "H1B"}, {32, "H2A"}, {33, "H2B"}, {35, "P2B"},
    {40, "C1A"}, {41, "C2A"}, {42, "C2B"}, {43, "C3A"}, {44, "C3B"},  // 30
    {45, "C3C"}, {46, "V1A"}, {47, "V2A"}, {48, "V2B"}, {60, "HD11A"},
    {61, "HD11B"}, {62, "HD12A"}, {63, "HD12B"}, {64, "HD131A"}, {65, "HD131B"},  // 40
    {66, "HD132A"}, {67, "HD132B"}, {68, "HD132C"}, {69, "HD132D"}, {70, "HD133A"},
    {71, "HD133B"}, {72, "HD133C"}, {73, "HD21A"}, {74, "HD21B"}, {75, "HD22A"},  // 50
    {76, "HD23A"}, {77, "HD23B"}, {78, "HD23C"}, {79, "HD23D"}, {80, "HD3A"},
    {81, "HD3B"}, {82, "HD3C"}, {83, "HH1A"}, {84, "HH1B"}, {85, "HH1C"},  // 60
    {86, "HH2A"}, {87, "HH2B"}, {88, "HH31A"}, {89, "HH31B"}, {90, "HH32A"},
    {91, "HH4A"}, {92, "HH4B"}, {93, "HH4C"}, {99, "P5A"}, {100, "P5B"},  // 70
    {101, "P5C"}, {102, "P4E"}, {103, "P4F"}, {104, "P4G"}, {105, "P4H"},
    {106, "P4I"}, {107, "P4J"}, {108, "P4K"}, {109, "P4L"}, {110, "P4M"},  // 80
    {111, "P4N"}, {112, "P4O"}, {113, "P4P"}, {114, "P4Q"}, {115, "P4R"},
    {116, "P4S"}, {117, "P4T"}, {118, "P4U"}, {119, "P4V"}, {120, "P4W"},  // 90
    {121, "P4X"}, {122, "P4Y"},
};

// Material parameters that differ from the default (value type 1, code word 11, values
// 0, 100 and the slot number).
constexpr ParameterValues kParameterExceptions[] = {
    {1, 1, 19, 3, {0, 100, 1}, ""},
    {2, 1, 10, 3, {0, 100, 2}, ""},
    {3, 1, 21, 3, {0, 100, 3}, ""},
    {4, 1, 18, 3, {0, 100, 4}, ""},
    {6, 1, 9, 3, {0, 0, 6}, ""},
    {10, 1, 17, 3, {9, 100, 10}, ""},
    {20, 2, 20, 3, {0.1f, 500, 20}, ""},
    {22, 4, 0, 0, {}, "File data for 2nd plasticity concept,1st parameter"},
    {26, 1, 11, 1, {26}, ""},
    {35, 4, 0, 0, {}, "File data for 2nd plasticity concept,2st parameter"},  // 10
    {99, 2, 20, 3, {0.1f, 510, 99}, ""},
    {100, 4, 0, 0, {}, "File data for 5TH plasticity concept,2ND parameter"},
    {101, 2, 20, 3, {0.1f, 500, 101}, ""},
};

// The physical type record: kind 2, children in the section-type store.
constexpr ListEntry kPhysicalType = {
    1, "Physical Type", "TYPE", 2, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};

// Section types (section-type store): kind 4, the class word, parameter slots.
constexpr ListEntry kSectionTypes[] = {
    {1, "Truss", "TRUSS", 4, 5, {11}},
    {2, "BEAM 2D", "BEAM_2D", 4, 5, {19, 20, 21, 22, 23}},
    {3, "BEAM 3D", "BEAM_3D", 4, 5, {30, 31, 32, 33, 34, 35}},
    {4, "Pipe section", "PIPE", 4, 5, {42, 43}},
    {5, "Box section", "BOX", 4, 5, {51, 52, 53, 54, 55, 56}},
    {6, "Rectangular section", "RECTAN", 4, 5, {71, 72}},
    {7, "Thickness", "THICK", 4, 0, {81}},
    {8, "I shape", "ISHAPE", 4, 5, {91, 92, 93, 94, 95, 96}},
    {9, "T shape", "TSHAPE", 4, 5, {111, 112, 113, 114}},
    {10, "U shape", "USHAPE", 4, 5, {131, 132, 133, 134, 135}},  // 10
    {11, "L shape", "LSHAPE", 4, 5, {121, 122, 123, 124}},
};

// Section parameters (parameter store): value type 2; code word 0 carries no values,
// 10 two and 11 three.
constexpr SectionParameter kSectionParameters[] = {
    {"Cross Section Area (CSA)", "CSA", {11, 2, 0, 0, {}, ""}},
    {"Cross Section Area (CSA)", "CSA", {19, 2, 11, 3, {1, 100, 1.1f}, ""}},
    {"Mom. Inertia Iz", "Iz", {20, 2, 0, 0, {}, ""}},
    {"Mom. Inertia Iy", "Iy", {21, 2, 0, 0, {}, ""}},
    {"Mom. Inertia Iyz", "Iyz", {22, 2, 0, 0, {}, ""}},
    {"Mom. Inertia It", "It", {23, 2, 0, 0, {}, ""}},
    {"Cross Section Area (CSA)", "CSA", {30, 2, 11, 3, {1, 100, 1.1f}, ""}},
    {"Torsional Rigidity (Wt)", "Wt", {31, 2, 0, 0, {}, ""}},
    {"Mom. Inertia Iz", "Iz", {32, 2, 0, 0, {}, ""}},
    {"Mom. Inertia Iy", "Iy", {33, 2, 0, 0, {}, ""}},  // 10
    {"Mom. Inertia Iyz", "Iyz", {34, 2, 0, 0, {}, ""}},
    {"Mom. Inertia It", "It", {35, 2, 0, 0, {}, ""}},
    {"Outer diameter (D)", "D", {42, 2, 11, 3, {0, 100, 45}, ""}},
    {"Pipe thickness (T)", "T", {43, 2, 10, 2, {0, 49}, ""}},
    {"Height (H)", "H", {51, 2, 11, 3, {1, 100, 1.1f}, ""}},
    {"Width (B)", "B", {52, 2, 10, 2, {0, 20}, ""}},
    {"Thickness 1 (T1)", "T1", {53, 2, 10, 2, {0, 100}, ""}},
    {"Thickness 2 (T2)", "T2", {54, 2, 10, 2, {0, 100}, ""}},
    {"Thickness 3 (T3)", "T3", {55, 2, 11, 3, {0, 5, 0.3f}, ""}},
    {"Thickness 4 (T4)", "T4", {56, 2, 11, 3, {0, 5, 0.3f}, ""}},  // 20
    {"Height (H)", "H", {71, 2, 11, 3, {1, 100, 1.1f}, ""}},
    {"Width (B)", "B", {72, 2, 10, 2, {0, 20}, ""}},
    {"Thickness", "THICK", {81, 2, 0, 0, {}, ""}},
    {"Height (H)", "H", {91, 2, 11, 3, {1, 100, 1.1f}, ""}},
    {"Width (BU)", "BU", {92, 2, 10, 2, {0, 20}, ""}},
    {"Width (BL)", "BL", {93, 2, 10, 2, {0, 20}, ""}},
    {"Thickness (TBU)", "TBU", {94, 2, 10, 2, {0, 100}, ""}},
    {"Thickness (TBL)", "TBL", {95, 2, 10, 2, {0, 100}, ""}},
    {"Thickness (TH)", "TH", {96, 2, 11, 3, {0, 5, 0.3f}, ""}},
    {"Height (H)", "H", {111, 2, 11, 3, {1, 100, 1.1f}, ""}},  // 30
    {"Width (B)", "B", {112, 2, 10, 2, {0, 20}, ""}},
    {"Flange Thickness (TB)", "TB", {113, 2, 11, 3, {0, 5, 0.3f}, ""}},
    {"Web Thickness (TH)", "TH", {114, 2, 10, 2, {0, 100}, ""}},
    {"Height (H)", "H", {121, 2, 11, 3, {1, 100, 1.1f}, ""}},
    {"Width (B)", "B", {122, 2, 10, 2, {0, 20}, ""}},
    {"Flange Thickness (TB)", "TB", {123, 2, 11, 3, {0, 5, 0.3f}, ""}},
    {"Web Thickness (TH)", "TH", {124, 2, 10, 2, {0, 100}, ""}},
    {"Height (H)", "H", {131, 2, 11, 3, {1, 100, 1.1f}, ""}},
    {"Breadth (B)", "B", {132, 2, 10, 2, {0, 20}, ""}},
    {"Flange Thickness (TB)", "TB", {133, 2, 11, 3, {0, 5, 0.3f}, ""}},  // 40
    {"Web Thickness 1 (TH1)", "TH1", {134, 2, 10, 2, {0, 100}, ""}},
    {"Web Thickness 2 (TH2)", "TH2", {135, 2, 10, 2, {0, 100}, ""}},
};

}  // namespace

std::span<const ListEntry> materialGroups() { return kGroups; }
std::span<const ListEntry> materialConcepts() { return kConcepts; }
std::span<const ParameterName> materialParameterNames() { return kParameterNames; }
std::span<const ParameterValues> materialParameterExceptions() { return kParameterExceptions; }
const ListEntry& physicalTypeEntry() { return kPhysicalType; }
std::span<const ListEntry> physicalSectionTypes() { return kSectionTypes; }
std::span<const SectionParameter> physicalParameters() { return kSectionParameters; }

}  // namespace kvr
