#include "host/editor.h"

#include <cstring>
#include <filesystem>
#include <new>
#include <ostream>
#include <string_view>
#include <vector>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/files.h"
#include "base/image_size.h"
#include "base/png.h"
#include "base/text.h"
#include "gui/bitmap_context.h"
#include "host/command_line.h"
#include "host/editor_window.h"
#include "platform/bundle.h"
#include "plugin/plugin_controller.h"
#include "plugin/registry_access.h"
#include "velto/root_view.h"

namespace Marovell {

namespace {

// NAME=VALUE with a NAME that is not empty.
bool ParseVariable(std::string_view text, EditorRequest& request)
{
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return false;
    request.variables.emplace_back(text.substr(0, equals), text.substr(equals + 1));
    return true;
}

// The folder as an absolute path without a trailing separator, as the bundle wants it.
QorFiles::Path BundleFolder(const std::string& path)
{
    std::filesystem::path folder = std::filesystem::absolute(path).lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    return QorFiles::Path(Wex::UTF8ToWide(folder.string()));
}

// The size asked for, else the description's, which must be within the image size limit: the
// bitmap that the editor draws into and the PNG writer take every such size.
std::pair<int32_t, int32_t> EditorSize(const EditorRequest& request, PlugInController& controller)
{
    if (request.width != 0)
        return {request.width, request.height};
    const auto [width, height] = controller.GetEditorSize();
    if (!Wex::IsValidImageSize(width, height))
        throw FormatException("Invalid editor size: " + std::to_string(width) + "x" + std::to_string(height));
    return {width, height};
}

// Opens the editor on no host, draws it once over its whole size and writes it as PNG. The
// editor is opaque, and so is every pixel written.
void RenderEditor(PlugInController& controller, int32_t width, int32_t height, const std::string& path)
{
    const Wex::cRect bounds{0, 0, width, height};
    controller.Initialize(nullptr, bounds);
    const ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(width, height, true));
    controller.GetEditorContainer()->Draw(*bitmap, bounds);
    controller.Close();
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    const uint8_t* row = bitmap->GetPixels();
    for (int32_t y = 0; y < height; ++y, row += bitmap->GetBytesPerRow()) {
        uint32_t* out = &pixels[size_t(y) * size_t(width)];
        std::memcpy(out, row, size_t(width) * sizeof(uint32_t));
        for (int32_t x = 0; x < width; ++x)
            out[x] |= 0xFF000000u;
    }
    WriteOutputFile(path, QorPNG::WritePremultipliedARGB(pixels.data(), width, height, width));
}

void OpenEditor(const EditorRequest& request, std::ostream& out, std::ostream& errors)
{
    PlugInController controller(kMarovellRecord, out, errors);
    for (const auto& [name, value] : request.variables)
        controller.RestoreVariable(name, value);
    const auto [width, height] = EditorSize(request, controller);
    if (!request.pngPath.empty())
        RenderEditor(controller, width, height, request.pngPath);
    else
        ShowEditorWindow(controller, width, height);
}

} // namespace

std::optional<EditorRequest> ParseEditorArguments(std::span<char* const> arguments, std::string& problem)
{
    EditorRequest request;
    CommandOption options[] = {
        {"--size", false, [&](std::string_view value) { return ParseImageSize(value, request.width, request.height); }},
        {"--set", true, [&](std::string_view value) { return ParseVariable(value, request); }},
        {"--png", false, [&](std::string_view value) {
             request.pngPath = value;
             return !value.empty();
         }},
    };
    std::optional<std::string> resources;
    if (!ReadCommandArguments(arguments, options, resources, problem))
        return std::nullopt;
    if (!resources) {
        problem = "no resources folder";
        return std::nullopt;
    }
    request.resourcesPath = *resources;
    std::error_code error;
    if (!std::filesystem::is_directory(request.resourcesPath, error)) {
        problem = "not a folder: " + request.resourcesPath;
        return std::nullopt;
    }
    return request;
}

int RunEditor(const EditorRequest& request, std::ostream& out, std::ostream& errors)
{
    Wex::SetCurrentImageBundleFolder(BundleFolder(request.resourcesPath));
    int status = 1;
    try {
        OpenEditor(request, out, errors);
        status = 0;
    } catch (const std::bad_alloc&) {
        errors << "error: out of memory\n";
    } catch (...) {
        const std::string text = Velto::CurrentErrorText();
        errors << "error: " << Wex::ShortenForDisplay(text.empty() ? "Unexpected error" : text) << '\n';
    }
    ReleaseResourceRegistry();
    return status;
}

} // namespace Marovell
