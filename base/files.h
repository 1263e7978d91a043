// File-system paths and reading files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace QorFiles {

// A file-system path of 32-bit characters; it may be empty. The OS sees it as UTF-8.
class Path {
public:
    Path() = default;
    explicit Path(std::wstring text) : fText(std::move(text)) {}
    // The path that `relative` gives relative to the folder `base`; an absolute `relative` stands
    // for itself.
    Path(const Path& base, std::wstring_view relative);

    const std::wstring& GetText() const noexcept { return fText; }
    bool IsEmpty() const noexcept { return fText.empty(); }
    // The UTF-8 form that the OS functions take. A path with an embedded NUL names no file: it
    // neither exists nor opens.
    std::string GetNativeText() const;

    // The containing folder; throws QorFiles::Exception "Error obtaining parent path" for the
    // root, an empty path or a single relative name.
    Path GetParent() const;
    // True when the path exists and is not a folder.
    bool IsFile() const;
    // True when the path exists and is a folder.
    bool IsDirectory() const;

    bool operator==(const Path& other) const = default;

private:
    std::wstring fText;
};

// A file opened for reading.
class File {
public:
    // Throws QorFiles::Exception "Error opening file: " and the path.
    explicit File(const Path& path);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // The file's length in bytes.
    int64_t GetSize() const;
    // Reads up to `count` bytes at the position; answers the count read, 0 at the end.
    size_t ReadAt(int64_t position, size_t count, void* buffer) const;
    // Reads exactly `count` bytes at the position; throws QorFiles::Exception "Error reading
    // from file" when fewer are there.
    void ReadExactlyAt(int64_t position, size_t count, void* buffer) const;

private:
    int fDescriptor;
};

} // namespace QorFiles

namespace Wex {

// The whole contents of the file as bytes.
std::string ReadFileAsString(const QorFiles::Path& path);

} // namespace Wex
