// The size limit of every image that the program makes or reads: bitmaps, PNG files and the
// editor's window or picture.
#pragma once

#include <cstdint>

namespace Wex {

// Pixels a side, and in all.
inline constexpr int32_t kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 26;

// True when each side is 1..kMaxImageSide and the image has at most kMaxImagePixels.
constexpr bool IsValidImageSize(int64_t width, int64_t height)
{
    return width >= 1 && width <= kMaxImageSide && height >= 1 && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

} // namespace Wex
