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
    bool haveSource = false, haveSize = false, haveOutput = false, haveScale = false, haveBackground = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const bool isOption = argument == "--size" || argument == "--scale" || argument == "--background" ||
                              argument == "-o";
        if (!isOption) {
            if (argument.starts_with("-") || haveSource) {
                problem = "unexpected argument " + std::string(argument);
                return std::nullopt;
            }
            request.sourcePath = argument;
            haveSource = true;
            continue;
        }
        if (i + 1 == arguments.size()) {
            problem = std::string(argument) + " needs a value";
            return std::nullopt;
        }
        const std::string_view value = arguments[++i];
        bool& seen = argument == "--size" ? haveSize : argument == "--scale" ? haveScale
                   : argument == "--background" ? haveBackground : haveOutput;
        if (seen) {
            problem = std::string(argument) + " is given twice";
            return std::nullopt;
        }
        seen = true;
        bool valid = true;
        if (argument == "--size")
            valid = ParseImageSize(value, request.width, request.height);
        else if (argument == "--scale")
            valid = ParseScale(value, request.scale);
        else if (argument == "--background")
            valid = ParseBackground(value, request.background);
        else
            request.outputPath = value;
        if (!valid) {
            problem = "invalid " + std::string(argument) + " " + std::string(value);
            return std::nullopt;
        }
    }
    if (!haveSource || !haveSize || !haveOutput) {
        problem = !haveSource ? "no source file" : !haveSize ? "no --size" : "no -o";
        return std::nullopt;
    }
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
        errors << "error: " << error.message << '\n';
        if (!error.statement.empty())
            errors << "statement: " << error.statement << '\n';
    } catch (const std::bad_alloc&) {
        errors << "error: out of memory\n";
    } catch (const std::exception& error) {
        errors << "error: " << error.what() << '\n';
    }
    return 1;
}

} // namespace Marovell
