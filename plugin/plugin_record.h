#pragma once

// What the plug-in framework knows of the product it runs.

#include <cstdint>
#include <string>

struct PlugInRecord {
  std::string fName;  // ISO Latin-1
  std::uint8_t fMajorVersion = 0;
  std::uint8_t fMinorVersion = 0;
};
