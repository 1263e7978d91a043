#include "host/render_orv.h"

#include <charconv>
#include <cmath>
#include <new>
#include <ostream>
#include <string_view>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/files.h"
#include "base/png.h"
#include "base/text.h"
#include "ordo/exceptions.h"
#include "ordo/variables.h"
#include "orv/run.h"
#include "raster/image.h"
#include "raster/solid.h"

namespace Marovell {

namespace {

bool ParseScale(std::string_view text, double& scale)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(scale) && scale > 0;
}

// #AARRGGBB, premultiplied: no colour channel above alpha.
bool ParseBackground(std::string_view text, uint32_t& color)
{
    if (text.size() != 9 || text.front() != '#')
        return false;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 9, color, 16);
    if (error != std::errc() || end != text.data() + 9)
        return false;
    const uint32_t alpha = color >> 24;
    return ((color >> 16) & 0xFF) <= alpha && ((color >> 8) & 0xFF) <= alpha && (color & 0xFF) <= alpha;
}

} // namespace

std::optional<RenderOrvRequest> ParseRenderOrvArguments(std::span<char* const> arguments, std::string& problem)
{
    RenderOrvRequest request;
    CommandOption options[] = {
        {"--size", false, [&](std::string_view value) { return ParseImageSize(value, request.width, request.height); }},
        {"--scale", false, [&](std::string_view value) { return ParseScale(value, request.scale); }},
        {"--background", false, [&](std::string_view value) { return ParseBackground(value, request.background); }},
        {"-o", false, [&](std::string_view value) {
             request.outputPath = value;
             return true;
         }},
    };
    std::optional<std::string> source;
    if (!ReadCommandArguments(arguments, options, source, problem))
        return std::nullopt;
    if (!source || !options[0].given || !options[3].given) {
        problem = !source ? "no source file" : !options[0].given ? "no --size" : "no -o";
        return std::nullopt;
    }
    request.sourcePath = *source;
    return request;
}

int RenderOrv(const RenderOrvRequest& request, std::ostream& errors)
{
    try {
        const std::string source = Wex::ReadFileAsString(QorFiles::Path(Wex::UTF8ToWide(request.sourcePath)));
        QorRaster::Image image(QorRaster::IntRect(0, 0, request.width, request.height));
        QorRaster::SolidPaint background(request.background);
        image.Render(background);
        ORDO::Variables variables;
        ORV::RunSource(image, request.scale, variables, source);
        WriteOutputFile(request.outputPath, QorPNG::WritePremultipliedARGB(image.At(0, 0), request.width, request.height,
                                                                     image.GetStride()));
        return 0;
    } catch (const ORDO::Exception& error) {
        errors << "error: " << Wex::ShortenForDisplay(error.message) << '\n';
        if (!error.statement.empty())
            errors << "statement: " << Wex::ShortenForDisplay(error.statement) << '\n';
    } catch (const std::bad_alloc&) {
        errors << "error: out of memory\n";
    } catch (const std::exception& error) {
        errors << "error: " << Wex::ShortenForDisplay(error.what()) << '\n';
    }
    return 1;
}

} // namespace Marovell
