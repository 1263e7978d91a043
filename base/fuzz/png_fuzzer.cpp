// Decodes arbitrary bytes as PNG: the reader may only fail with QorPNG::Exception.
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/exceptions.h"
#include "base/png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        QorPNG::MemorySource source(bytes);
        QorPNG::Reader reader(source);
        const auto pixels = static_cast<size_t>(reader.GetWidth()) * static_cast<size_t>(reader.GetHeight());
        if (pixels > 1024 * 1024) {
            return 0; // valid but too slow to decode on every run
        }
        if (size > 0 && (data[0] & 1) != 0) {
            reader.SetGamma(1.8);
        }
        if (reader.GetChannelCount() == 1 || reader.GetChannelCount() == 3) {
            std::vector<uint8_t> grey(pixels);
            reader.ReadGrey(grey.data());
        } else {
            std::vector<uint32_t> argb(pixels);
            reader.ReadARGB(argb.data(), true);
        }
    } catch (const QorPNG::Exception&) {
    }
    return 0;
}
