// marovell: the stand-in host program, which runs parts of the editor from the command line.
#include <iostream>
#include <span>
#include <string>
#include <string_view>

#include "base/text.h"
#include "host/editor.h"
#include "host/render_orv.h"

namespace {

constexpr const char* kUsage =
    "usage: marovell render-orv SOURCE.orv --size WxH [--scale S] [--background #AARRGGBB] -o OUT.png\n"
    "       marovell editor RESOURCES [--size WxH] [--set NAME=VALUE]... [--png OUT.png]\n"
    "       marovell help | --help | -h\n"
    "\n"
    "render-orv  Runs an ORV source as the editor's vector view does and writes the image as PNG.\n"
    "  --size        image width and height in pixels (1 to 16384 each, 64 M pixels in all)\n"
    "  --scale       uniform scale of the initial transform (default 1)\n"
    "  --background  premultiplied colour the image starts with (default #00000000)\n"
    "  -o            the PNG file to write\n"
    "editor      Opens the product's editor from a bundle folder (RESOURCES/Resources/<name>.<type>)\n"
    "            in a window, on an X display, until the window is closed or the program is\n"
    "            interrupted; prints each edit of a GUI variable (set, begin, end).\n"
    "  --size        window or image width and height in pixels (1 to 16384 each, 64 M pixels in\n"
    "                all; default the editor description's size)\n"
    "  --set         stores a GUI variable before the editor opens (repeatable)\n"
    "  --png         draws the editor once into this PNG file instead, without a display\n"
    "help        Prints this usage.\n"
    "\n"
    "Exit status: 0 on success, 1 on an error, 2 on a usage error.\n";

int UsageError(const std::string& problem)
{
    if (!problem.empty())
        std::cerr << "marovell: " << Wex::ShortenForDisplay(problem) << '\n';
    std::cerr << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::span<char* const> arguments(argv, size_t(argc));
    if (arguments.size() < 2)
        return UsageError("");
    const std::string_view command = arguments[1];
    if (command == "help" || command == "--help" || command == "-h") {
        if (arguments.size() > 2)
            return UsageError("unexpected argument " + std::string(arguments[2]));
        std::cout << kUsage;
        return 0;
    }
    std::string problem;
    if (command == "editor") {
        const auto request = Marovell::ParseEditorArguments(arguments.subspan(2), problem);
        if (!request)
            return UsageError(problem);
        return Marovell::RunEditor(*request, std::cout, std::cerr);
    }
    if (command != "render-orv")
        return UsageError((command.starts_with("-") ? "unknown option " : "unknown command ") + std::string(command));
    const auto request = Marovell::ParseRenderOrvArguments(arguments.subspan(2), problem);
    if (!request)
        return UsageError(problem);
    return Marovell::RenderOrv(*request, std::cerr);
}
