// Reads fuzz input from the front: bytes, 16-bit numbers and doubles that are mostly small
// coordinates but may be any bit pattern (NaN, infinities and huge values included).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace QorRaster::Fuzzing {

// Past the end of the input every read gives zeros.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : fData(data), fSize(size) {}

  bool AtEnd() const { return fPosition >= fSize; }
  std::uint8_t Byte() { return fPosition < fSize ? fData[fPosition++] : 0; }
  std::int16_t Int16() {
    const std::uint8_t low = Byte();
    return static_cast<std::int16_t>(low | Byte() << 8);
  }
  // Mostly small coordinates in 1/16 pixel; a tag bit selects a raw double (NaN, infinities and
  // huge values included).
  double Number() {
    if ((Byte() & 0x80) == 0) {
      return Int16() / 16.0;
    }
    std::uint8_t bytes[8];
    for (std::uint8_t& b : bytes) {
      b = Byte();
    }
    double v;
    std::memcpy(&v, bytes, sizeof v);
    return v;
  }

 private:
  const std::uint8_t* fData;
  std::size_t fSize;
  std::size_t fPosition = 0;
};

// Reads n numbers in order (the order in which a call evaluates its arguments is unspecified).
template <std::size_t n>
std::array<double, n> Numbers(Reader& in) {
  std::array<double, n> values;
  for (double& v : values) {
    v = in.Number();
  }
  return values;
}

}  // namespace QorRaster::Fuzzing
