#pragma once

// Reading back the pixels of 32-bit bitmaps in tests.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/png.h"
#include "gui/bitmap_context.h"

namespace GuiTest {

inline std::uint32_t Pixel(Wex::rcBitmapGraphicsContext& bitmap, int x, int y) {
  std::uint32_t value;
  std::memcpy(&value, bitmap.GetPixels() + y * bitmap.GetBytesPerRow() + x * 4, 4);
  return value;
}

inline void SetPixel(Wex::rcBitmapGraphicsContext& bitmap, int x, int y, std::uint32_t value) {
  std::memcpy(bitmap.GetPixels() + y * bitmap.GetBytesPerRow() + x * 4, &value, 4);
}

// The number of pixels in the rectangle that differ from the value.
inline int CountOther(Wex::rcBitmapGraphicsContext& bitmap, const Wex::cRect& r, std::uint32_t value) {
  int count = 0;
  for (int y = r.fTop; y < r.fBottom; ++y) {
    for (int x = r.fLeft; x < r.fRight; ++x) count += Pixel(bitmap, x, y) != value;
  }
  return count;
}

// A picture of distinct pixels: green is the column, blue the row.
inline std::uint32_t Colors(int x, int y) { return 0xff000000u | std::uint32_t(x) << 8 | std::uint32_t(y); }

// The picture of Colors as a PNG file.
inline std::string ColorsPNG(int width, int height) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < width * height; ++i) pixels.push_back(Colors(i % width, i / width));
  return QorPNG::WritePremultipliedARGB(pixels.data(), width, height, width);
}

}  // namespace GuiTest
