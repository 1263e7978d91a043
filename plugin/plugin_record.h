#pragma once

// What the plug-in framework knows of the product it runs.

#include <cstdint>
#include <string>

struct PlugInRecord {
  std::string fName;  // ISO Latin-1
  std::uint8_t fMajorVersion = 0;
  std::uint8_t fMinorVersion = 0;
};

// The product: its editor's strings are "Marovell_strings", its top-level description
// "Marovell_main", and its override folder is labelled "Marovell V1.0".
inline const PlugInRecord kMarovellRecord{"Marovell", 1, 0};
