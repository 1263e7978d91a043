#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace Marovell {

// What "editor" was asked to do.
struct EditorRequest {
    std::string resourcesPath;                                  // the bundle's folder
    int32_t width = 0;                                          // 0: the description's size
    int32_t height = 0;
    std::vector<std::pair<std::string, std::string>> variables; // in the order given
    std::string pngPath;                                        // empty: open a window
};

// Reads the arguments after the command name; on a usage error (a RESOURCES that is no folder
// included) returns nothing and sets problem.
std::optional<EditorRequest> ParseEditorArguments(std::span<char* const> arguments, std::string& problem);

// Makes the folder the current bundle, opens the product's editor with the variables stored and
// either draws it once into a PNG file, on no display, or shows it in a window until the window
// is closed or SIGINT or SIGTERM arrives. Variable edits and ORV trace lines go to out. On an
// error writes "error: " and the message to errors, opens no window, writes no file and returns
// 1; returns 0 on success. The registry is released on every way out.
int RunEditor(const EditorRequest& request, std::ostream& out, std::ostream& errors);

} // namespace Marovell
