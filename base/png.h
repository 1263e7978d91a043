// Reading and writing PNG images (over libpng).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct QorPNGGlue;

namespace QorPNG {

// Where the reader gets its bytes.
class Source {
public:
    virtual ~Source() = default;
    // Delivers exactly `count` bytes, or throws.
    virtual void Read(void* buffer, size_t count) = 0;
};

// Bytes in memory, which must outlive the source; reading past their end throws QorPNG::Exception.
class MemorySource : public Source {
public:
    explicit MemorySource(std::string_view bytes) : fBytes(bytes) {}
    explicit MemorySource(std::string&&) = delete;
    void Read(void* buffer, size_t count) override;

private:
    std::string_view fBytes;
    size_t fPosition = 0;
};

// Decodes one PNG image: the constructor reads the header, one Read call the pixels. Every
// failure (malformed, truncated or oversized data, a failing source) throws QorPNG::Exception
// with a message that begins "Error reading PNG image : ". Images are held to the size limit of
// base/image_size.h.
class Reader {
public:
    // The source must outlive the reader.
    explicit Reader(Source& source);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // The stored channel count, plus one when a tRNS chunk gives transparency.
    int GetChannelCount() const noexcept { return fChannelCount; }
    int32_t GetWidth() const noexcept { return fWidth; }
    int32_t GetHeight() const noexcept { return fHeight; }
    // Decoding corrects gamma with the value as screen gamma and the file's gAMA (1/2.2 when
    // absent) as file gamma. The value must be positive.
    void SetGamma(double gamma);

    // Width x height 32-bit ARGB words (alpha in the top byte), row after row. With `premultiply`
    // each colour channel c of a pixel of alpha a becomes (c * (a + 1)) >> 8, or 0 when a is 0.
    void ReadARGB(uint32_t* buffer, bool premultiply);
    // Width x height 8-bit grey values, colour converted to grey. A picture with transparency
    // throws "Error reading PNG image : unsupported pixel model".
    void ReadGrey(uint8_t* buffer);

private:
    // Decodes the pixels into `buffer`: one grey byte or four RGBA bytes a pixel.
    void Decode(uint8_t* buffer, bool grey);
    [[noreturn]] void Fail(const std::string& message) const;
    [[noreturn]] void FailFromGlue() const;
    static int Transfer(void* context, unsigned char* data, size_t size) noexcept;

    Source& fSource;
    std::unique_ptr<QorPNGGlue, void (*)(QorPNGGlue*)> fGlue;
    std::string fSourceError;
    int32_t fWidth = 0;
    int32_t fHeight = 0;
    int fChannelCount = 0;
    bool fIsColor = false;
    bool fHasAlpha = false;
    bool fDecoded = false;
    double fGamma = 0;
};

// The PNG file (8-bit RGBA) of a premultiplied 32-bit ARGB image of width x height pixels whose
// rows start `stride` words apart. Throws QorPNG::Exception "Error writing PNG image : " and the
// reason on failure ("invalid image size" for a size beyond the limit of base/image_size.h).
std::string WritePremultipliedARGB(const uint32_t* pixels, int32_t width, int32_t height, int64_t stride);

} // namespace QorPNG
