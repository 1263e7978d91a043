// Runs arbitrary bytes as an ORV source the way the editor's vector view does, over a small image
// with the editor's statement and recursion limits. Every failure must be an ORDO exception.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "ordo/exceptions.h"
#include "ordo/variables.h"
#include "orv/run.h"
#include "raster/image.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Trace output would only slow the fuzzer down.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that any read past the end is caught.
    const std::vector<char> bytes(data, data + size);
    QorRaster::Image image(QorRaster::IntRect(0, 0, 24, 16));
    ORDO::Variables variables;
    try {
        ORV::RunSource(image, 1.5, variables, std::string_view(bytes.data(), bytes.size()));
    } catch (const ORDO::Exception&) {
    }
    return 0;
}
