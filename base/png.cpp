#include "base/png.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "base/exceptions.h"
#include "base/image_size.h"
#include "base/png_glue.h"

namespace QorPNG {

namespace {

const std::string kReadError = "Error reading PNG image : ";
const std::string kWriteError = "Error writing PNG image : ";

// Pointers to the rows of a packed pixel buffer.
std::vector<unsigned char*> RowPointers(unsigned char* buffer, uint32_t height, size_t rowBytes)
{
    std::vector<unsigned char*> rows(height);
    for (uint32_t y = 0; y < height; ++y) {
        rows[y] = buffer + y * rowBytes;
    }
    return rows;
}

uint8_t Premultiply(uint32_t c, uint32_t a)
{
    return static_cast<uint8_t>(a == 0 ? 0 : (c * (a + 1)) >> 8);
}

uint8_t Unpremultiply(uint32_t c, uint32_t a)
{
    return static_cast<uint8_t>(a == 0 ? 0 : std::min<uint32_t>(255, (c * 255 + a / 2) / a));
}

int AppendBytes(void* context, unsigned char* data, size_t size) noexcept
{
    try {
        static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(data), size);
        return 0;
    } catch (...) {
        return 1;
    }
}

} // namespace

void MemorySource::Read(void* buffer, size_t count)
{
    if (count > fBytes.size() - fPosition) {
        throw Exception(kReadError + "unexpected end of data");
    }
    std::memcpy(buffer, fBytes.data() + fPosition, count);
    fPosition += count;
}

Reader::Reader(Source& source)
    : fSource(source), fGlue(QorPNGCreateReader(Transfer, this, Wex::kMaxImageSide, Wex::kMaxImageSide), QorPNGDestroy)
{
    if (!fGlue) {
        Fail("out of memory");
    }
    QorPNGHeader header{};
    if (QorPNGReadHeader(fGlue.get(), &header) != 0) {
        FailFromGlue();
    }
    if (!Wex::IsValidImageSize(header.width, header.height)) {
        Fail("image too large");
    }
    fWidth = static_cast<int32_t>(header.width);
    fHeight = static_cast<int32_t>(header.height);
    fChannelCount = header.channels + (header.hasTRNS ? 1 : 0);
    fIsColor = header.isColor != 0;
    fHasAlpha = header.hasAlpha != 0;
}

Reader::~Reader() = default;

void Reader::SetGamma(double gamma)
{
    if (!(gamma > 0) || !std::isfinite(gamma)) {
        Fail("invalid gamma");
    }
    fGamma = gamma;
}

void Reader::ReadARGB(uint32_t* buffer, bool premultiply)
{
    // Decodes RGBA bytes in place, then turns each pixel's four bytes into its word.
    auto* bytes = reinterpret_cast<uint8_t*>(buffer);
    Decode(bytes, false);
    const size_t pixels = static_cast<size_t>(fWidth) * static_cast<size_t>(fHeight);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* p = bytes + i * 4;
        const uint32_t a = p[3];
        uint32_t r = p[0];
        uint32_t g = p[1];
        uint32_t b = p[2];
        if (premultiply) {
            r = Premultiply(r, a);
            g = Premultiply(g, a);
            b = Premultiply(b, a);
        }
        buffer[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
}

void Reader::ReadGrey(uint8_t* buffer)
{
    if (fHasAlpha) {
        Fail("unsupported pixel model");
    }
    Decode(buffer, true);
}

void Reader::Decode(uint8_t* buffer, bool grey)
{
    if (fDecoded) {
        Fail("the image has been read");
    }
    fDecoded = true;
    std::vector<unsigned char*> rows = RowPointers(buffer, static_cast<uint32_t>(fHeight), static_cast<size_t>(fWidth) * (grey ? 1 : 4));
    if (QorPNGReadImage(fGlue.get(), grey ? 1 : 0, fGamma, rows.data()) != 0) {
        FailFromGlue();
    }
}

void Reader::Fail(const std::string& message) const
{
    throw Exception(kReadError + message);
}

void Reader::FailFromGlue() const
{
    Fail(fSourceError.empty() ? QorPNGGetError(fGlue.get()) : fSourceError);
}

int Reader::Transfer(void* context, unsigned char* data, size_t size) noexcept
{
    auto* reader = static_cast<Reader*>(context);
    try {
        reader->fSource.Read(data, size);
        return 0;
    } catch (const Exception& e) {
        // The source's own PNG error already carries the prefix.
        const std::string_view message = e.what();
        reader->fSourceError = message.substr(message.starts_with(kReadError) ? kReadError.size() : 0);
    } catch (const std::exception& e) {
        reader->fSourceError = e.what();
    } catch (...) {
        reader->fSourceError = "read failed";
    }
    if (reader->fSourceError.empty()) {
        reader->fSourceError = "read failed";
    }
    return 1;
}

std::string WritePremultipliedARGB(const uint32_t* pixels, int32_t width, int32_t height, int64_t stride)
{
    if (!Wex::IsValidImageSize(width, height) || stride < width) {
        throw Exception(kWriteError + "invalid image size");
    }
    const auto w = static_cast<size_t>(width);
    const auto h = static_cast<size_t>(height);
    std::vector<uint8_t> rgba(w * h * 4);
    for (size_t y = 0; y < h; ++y) {
        const uint32_t* row = pixels + y * static_cast<size_t>(stride);
        for (size_t x = 0; x < w; ++x) {
            const uint32_t argb = row[x];
            const uint32_t a = argb >> 24;
            uint8_t* p = &rgba[(y * w + x) * 4];
            p[0] = Unpremultiply((argb >> 16) & 0xff, a);
            p[1] = Unpremultiply((argb >> 8) & 0xff, a);
            p[2] = Unpremultiply(argb & 0xff, a);
            p[3] = static_cast<uint8_t>(a);
        }
    }
    std::string file;
    const std::unique_ptr<QorPNGGlue, void (*)(QorPNGGlue*)> glue(QorPNGCreateWriter(AppendBytes, &file), QorPNGDestroy);
    if (!glue) {
        throw Exception(kWriteError + "out of memory");
    }
    std::vector<unsigned char*> rows = RowPointers(rgba.data(), static_cast<uint32_t>(h), w * 4);
    if (QorPNGWriteImage(glue.get(), static_cast<uint32_t>(width), static_cast<uint32_t>(height), rows.data()) != 0) {
        throw Exception(kWriteError + QorPNGGetError(glue.get()));
    }
    return file;
}

} // namespace QorPNG
