#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>

#include "host/command_line.h"

namespace Marovell {

// What "render-orv" was asked to do.
struct RenderOrvRequest {
    std::string sourcePath;
    std::string outputPath;
    int32_t width = 0;
    int32_t height = 0;
    double scale = 1.0;
    uint32_t background = 0; // premultiplied ARGB
};

// Reads the arguments after the command name; on a usage error returns nothing and sets problem.
std::optional<RenderOrvRequest> ParseRenderOrvArguments(std::span<char* const> arguments, std::string& problem);

// Runs the source over an image of the background colour, as the editor's vector view does, and
// writes the image as PNG. Trace lines go to standard output. On an error writes "error: " and the
// message (and "statement: " and the failing statement when there is one) to errors, writes no
// file and returns 1; returns 0 on success.
int RenderOrv(const RenderOrvRequest& request, std::ostream& errors);

} // namespace Marovell
