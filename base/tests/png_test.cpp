#include "base/png.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/exceptions.h"

namespace {

// Builds PNG files sample by sample, so that every colour type and depth can be tested.
struct PNGSpec {
    uint32_t width;
    uint32_t height;
    int colorType; // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    int bitDepth;
    std::vector<uint32_t> samples; // row after row, channel after channel
    std::string chunksBeforeData;   // complete chunks (PLTE, tRNS, gAMA)
    bool interlaced = false;
};

void PutWord(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>(value >> shift));
    }
}

std::string Chunk(const std::string& type, const std::string& data)
{
    std::string chunk;
    PutWord(chunk, static_cast<uint32_t>(data.size()));
    const std::string body = type + data;
    chunk += body;
    PutWord(chunk, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
    return chunk;
}

int ChannelsOf(int colorType)
{
    return colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
}

// The filtered rows (filter 0) of the pixels whose coordinates the pass selects.
void AppendRows(const PNGSpec& spec, uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy, std::string& raw)
{
    const int channels = ChannelsOf(spec.colorType);
    for (uint32_t y = y0; y < spec.height; y += dy) {
        if (x0 >= spec.width) {
            return;
        }
        raw.push_back(0);
        uint32_t bits = 0;
        int used = 0;
        for (uint32_t x = x0; x < spec.width; x += dx) {
            for (int c = 0; c < channels; ++c) {
                const uint32_t sample = spec.samples[(y * spec.width + x) * channels + c];
                if (spec.bitDepth == 16) {
                    raw.push_back(static_cast<char>(sample >> 8));
                    raw.push_back(static_cast<char>(sample));
                    continue;
                }
                bits = (bits << spec.bitDepth) | sample;
                used += spec.bitDepth;
                if (used == 8) {
                    raw.push_back(static_cast<char>(bits));
                    bits = 0;
                    used = 0;
                }
            }
        }
        if (used > 0) {
            raw.push_back(static_cast<char>(bits << (8 - used)));
        }
    }
}

std::string MakePNG(const PNGSpec& spec)
{
    std::string file = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutWord(header, spec.width);
    PutWord(header, spec.height);
    header += {static_cast<char>(spec.bitDepth), static_cast<char>(spec.colorType), 0, 0, static_cast<char>(spec.interlaced)};
    file += Chunk("IHDR", header);
    file += spec.chunksBeforeData;
    std::string raw;
    if (spec.interlaced) {
        const uint32_t passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : passes) {
            AppendRows(spec, p[0], p[1], p[2], p[3], raw);
        }
    } else {
        AppendRows(spec, 0, 0, 1, 1, raw);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    packed.resize(size);
    file += Chunk("IDAT", packed);
    file += Chunk("IEND", "");
    return file;
}

// The signature, the header of an 8-bit grey image and an empty data chunk.
std::string HeaderOnly(uint32_t width, uint32_t height)
{
    std::string header;
    PutWord(header, width);
    PutWord(header, height);
    header += {8, 0, 0, 0, 0};
    return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header) + Chunk("IDAT", "");
}

std::vector<uint32_t> ReadARGB(const std::string& file, bool premultiply, double gamma = 0)
{
    QorPNG::MemorySource source(file);
    QorPNG::Reader reader(source);
    if (gamma != 0) {
        reader.SetGamma(gamma);
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(reader.GetWidth()) * static_cast<size_t>(reader.GetHeight()));
    reader.ReadARGB(pixels.data(), premultiply);
    return pixels;
}

std::vector<uint8_t> ReadGrey(const std::string& file)
{
    QorPNG::MemorySource source(file);
    QorPNG::Reader reader(source);
    std::vector<uint8_t> pixels(static_cast<size_t>(reader.GetWidth()) * static_cast<size_t>(reader.GetHeight()));
    reader.ReadGrey(pixels.data());
    return pixels;
}

std::string ReadError(const std::string& file)
{
    try {
        ReadARGB(file, true);
    } catch (const QorPNG::Exception& e) {
        return e.what();
    }
    return "no error";
}

int ChannelCount(const std::string& file)
{
    QorPNG::MemorySource source(file);
    return QorPNG::Reader(source).GetChannelCount();
}

const std::string kPalette = Chunk("PLTE", std::string("\xff\x00\x00\x00\xff\x00\x00\x00\xff", 9));
const std::string kPaletteAlpha = Chunk("tRNS", std::string("\x80\x00", 2));
const PNGSpec kRGBA{2, 2, 6, 8, {200, 100, 50, 128, 10, 20, 30, 0, 255, 255, 255, 255, 1, 2, 3, 1}, ""};

TEST(PNGReader, ReportsSizeAndChannelsWithTransparencyCounted)
{
    const std::string file = MakePNG({3, 2, 2, 8, std::vector<uint32_t>(18, 7), ""});
    QorPNG::MemorySource source(file);
    QorPNG::Reader reader(source);
    EXPECT_EQ(reader.GetWidth(), 3);
    EXPECT_EQ(reader.GetHeight(), 2);
    EXPECT_EQ(reader.GetChannelCount(), 3);
    EXPECT_EQ(ChannelCount(MakePNG({1, 1, 0, 8, {0}, ""})), 1);
    EXPECT_EQ(ChannelCount(MakePNG({1, 1, 4, 8, {0, 0}, ""})), 2);
    EXPECT_EQ(ChannelCount(MakePNG(kRGBA)), 4);
    EXPECT_EQ(ChannelCount(MakePNG({1, 1, 3, 8, {0}, kPalette})), 1);
    EXPECT_EQ(ChannelCount(MakePNG({1, 1, 3, 8, {0}, kPalette + kPaletteAlpha})), 2);
}

TEST(PNGReader, ReadsARGBStraightOrPremultiplied)
{
    const std::string file = MakePNG(kRGBA);
    EXPECT_EQ(ReadARGB(file, false), (std::vector<uint32_t>{0x80c86432, 0x000a141e, 0xffffffff, 0x01010203}));
    // (c * (a + 1)) >> 8: 200 * 129 >> 8 = 100; alpha 0 clears; alpha 1 gives (c * 2) >> 8 = 0.
    EXPECT_EQ(ReadARGB(file, true), (std::vector<uint32_t>{0x80643219, 0x00000000, 0xffffffff, 0x01000000}));
}

TEST(PNGReader, ExpandsGreyPaletteAndDeepSamples)
{
    EXPECT_EQ(ReadARGB(MakePNG({2, 1, 0, 8, {0, 128}, ""}), true), (std::vector<uint32_t>{0xff000000, 0xff808080}));
    EXPECT_EQ(ReadARGB(MakePNG({3, 1, 0, 1, {1, 0, 1}, ""}), true), (std::vector<uint32_t>{0xffffffff, 0xff000000, 0xffffffff}));
    EXPECT_EQ(ReadARGB(MakePNG({2, 1, 4, 8, {255, 128, 100, 255}, ""}), false), (std::vector<uint32_t>{0x80ffffff, 0xff646464}));
    EXPECT_EQ(ReadARGB(MakePNG({3, 1, 3, 2, {0, 1, 2}, kPalette + kPaletteAlpha}), false),
              (std::vector<uint32_t>{0x80ff0000, 0x0000ff00, 0xff0000ff}));
    EXPECT_EQ(ReadARGB(MakePNG({1, 1, 2, 16, {0xffff, 0x8080, 0x0000}, ""}), false), (std::vector<uint32_t>{0xffff8000}));
    const std::string greyTRNS = Chunk("tRNS", std::string("\x00\x05", 2));
    EXPECT_EQ(ReadARGB(MakePNG({2, 1, 0, 8, {5, 6}, greyTRNS}), false), (std::vector<uint32_t>{0x00050505, 0xff060606}));
}

TEST(PNGReader, InterlacedImagesDecodeLikePlainOnes)
{
    PNGSpec spec{11, 9, 6, 8, {}, ""};
    for (uint32_t i = 0; i < spec.width * spec.height * 4; ++i) {
        spec.samples.push_back((i * 37) & 0xff);
    }
    const std::vector<uint32_t> plain = ReadARGB(MakePNG(spec), true);
    spec.interlaced = true;
    EXPECT_EQ(ReadARGB(MakePNG(spec), true), plain);
}

TEST(PNGReader, GammaUsesTheFileGammaOrOneOver2Point2)
{
    const std::string noGamma = MakePNG({1, 1, 0, 8, {128}, ""});
    EXPECT_EQ(ReadARGB(noGamma, false, 2.2), (std::vector<uint32_t>{0xff808080}));
    std::string gammaOne;
    PutWord(gammaOne, 100000);
    const uint32_t corrected = ReadARGB(MakePNG({1, 1, 0, 8, {128}, Chunk("gAMA", gammaOne)}), false, 2.2)[0] & 0xff;
    EXPECT_NEAR(corrected, 255 * std::pow(128 / 255.0, 1 / 2.2), 1.0);
    QorPNG::MemorySource source(noGamma);
    QorPNG::Reader reader(source);
    EXPECT_THROW(reader.SetGamma(0), QorPNG::Exception);
    EXPECT_THROW(reader.SetGamma(NAN), QorPNG::Exception);
}

TEST(PNGReader, ReadsGreyAndConvertsColour)
{
    EXPECT_EQ(ReadGrey(MakePNG({3, 1, 0, 8, {0, 77, 255}, ""})), (std::vector<uint8_t>{0, 77, 255}));
    EXPECT_EQ(ReadGrey(MakePNG({3, 1, 2, 8, {0, 0, 0, 100, 100, 100, 255, 255, 255}, ""})), (std::vector<uint8_t>{0, 100, 255}));
    const std::vector<uint8_t> fromPalette = ReadGrey(MakePNG({2, 1, 3, 8, {0, 1}, kPalette}));
    EXPECT_LT(fromPalette[0], fromPalette[1]); // pure green is lighter than pure red
}

TEST(PNGReader, GreyOfATransparentPictureIsUnsupported)
{
    for (const std::string& file : {MakePNG(kRGBA), MakePNG({1, 1, 4, 8, {1, 2}, ""}), MakePNG({1, 1, 3, 8, {0}, kPalette + kPaletteAlpha})}) {
        try {
            ReadGrey(file);
            FAIL();
        } catch (const QorPNG::Exception& e) {
            EXPECT_STREQ(e.what(), "Error reading PNG image : unsupported pixel model");
        }
    }
}

TEST(PNGReader, MalformedTruncatedAndOversizedDataThrow)
{
    const std::string good = MakePNG(kRGBA);
    EXPECT_EQ(ReadError(""), "Error reading PNG image : unexpected end of data");
    EXPECT_EQ(ReadError("not a png at all"), "Error reading PNG image : Not a PNG file");
    // Every prefix either fails cleanly or, once the image data is whole, decodes.
    for (size_t length = 0; length < good.size(); ++length) {
        const std::string error = ReadError(good.substr(0, length));
        EXPECT_TRUE(error.starts_with("Error reading PNG image : ") || (error == "no error" && length >= good.size() - 12)) << length;
    }
    std::string badCRC = good;
    badCRC[29] ^= 1; // inside the IHDR checksum
    EXPECT_EQ(ReadError(badCRC), "Error reading PNG image : IHDR: CRC error");
    EXPECT_EQ(ReadError(HeaderOnly(20000, 1)), "Error reading PNG image : Invalid IHDR data");
    EXPECT_EQ(ReadError(HeaderOnly(9000, 9000)), "Error reading PNG image : image too large");
    EXPECT_EQ(ReadError(HeaderOnly(0, 1)), "Error reading PNG image : Invalid IHDR data");
    std::string corruptData = good;
    corruptData[45] ^= 0x55; // inside the compressed data
    EXPECT_TRUE(ReadError(corruptData).starts_with("Error reading PNG image : "));
}

TEST(PNGReader, AFailingSourceBecomesAPNGError)
{
    struct Failing : QorPNG::Source {
        void Read(void*, size_t) override { throw std::runtime_error("disk gone"); }
    } source;
    try {
        QorPNG::Reader reader(source);
        FAIL();
    } catch (const QorPNG::Exception& e) {
        EXPECT_STREQ(e.what(), "Error reading PNG image : disk gone");
    }
}

TEST(PNGReader, PixelsCanBeReadOnlyOnce)
{
    const std::string file = MakePNG({1, 1, 0, 8, {9}, ""});
    QorPNG::MemorySource source(file);
    QorPNG::Reader reader(source);
    uint32_t pixel = 0;
    reader.ReadARGB(&pixel, true);
    EXPECT_EQ(pixel, 0xff090909);
    EXPECT_THROW(reader.ReadARGB(&pixel, true), QorPNG::Exception);
}

TEST(PNGWriter, WritesPremultipliedImagesThatReadBack)
{
    // 3 x 2 pixels in rows 4 words apart; the fourth word of each row is not part of the image.
    const std::vector<uint32_t> image = {0xff102030, 0x80402010, 0x00000000, 0xdeadbeef,
                                         0x01010101, 0xffffffff, 0x40404040, 0xdeadbeef};
    const std::string file = QorPNG::WritePremultipliedARGB(image.data(), 3, 2, 4);
    EXPECT_EQ(file.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const std::vector<uint32_t> straight = ReadARGB(file, false);
    EXPECT_EQ(straight, (std::vector<uint32_t>{0xff102030, 0x80804020, 0x00000000, 0x01ffffff, 0xffffffff, 0x40ffffff}));
    // Premultiplying again restores these pixels exactly.
    EXPECT_EQ(ReadARGB(file, true), (std::vector<uint32_t>{image[0], image[1], image[2], image[4], image[5], image[6]}));
    EXPECT_THROW(QorPNG::WritePremultipliedARGB(image.data(), 0, 2, 4), QorPNG::Exception);
    EXPECT_THROW(QorPNG::WritePremultipliedARGB(image.data(), 3, 2, 2), QorPNG::Exception);
}

} // namespace
