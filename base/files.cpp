#include "base/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/encoding.h"
#include "base/exceptions.h"

namespace QorFiles {

namespace {

// The text that the OS functions take, or an empty text for a path that cannot name a file (an
// empty one, or one with an embedded NUL, which the OS would cut short).
std::string GetOSText(const Path& path)
{
    std::string text = path.GetNativeText();
    if (text.find('\0') != std::string::npos) {
        text.clear();
    }
    return text;
}

// The file type bits of the path, or 0 when it does not exist.
mode_t GetFileType(const Path& path)
{
    const std::string text = GetOSText(path);
    struct stat status{};
    if (text.empty() || stat(text.c_str(), &status) != 0) {
        return 0;
    }
    return status.st_mode & S_IFMT;
}

} // namespace

Path::Path(const Path& base, std::wstring_view relative)
{
    if (base.IsEmpty() || (!relative.empty() && relative[0] == L'/')) {
        fText = relative;
        return;
    }
    fText = base.fText;
    if (fText.back() != L'/' && !relative.empty()) {
        fText += L'/';
    }
    fText += relative;
}

std::string Path::GetNativeText() const
{
    return Wex::WideToUTF8(fText);
}

Path Path::GetParent() const
{
    size_t end = fText.size();
    while (end > 1 && fText[end - 1] == L'/') {
        --end;
    }
    const size_t slash = fText.rfind(L'/', end - 1);
    if (end == 0 || slash == std::wstring::npos || (slash == 0 && end == 1)) {
        throw Exception("Error obtaining parent path");
    }
    size_t parentEnd = slash;
    while (parentEnd > 1 && fText[parentEnd - 1] == L'/') {
        --parentEnd;
    }
    return Path(fText.substr(0, parentEnd == 0 ? 1 : parentEnd));
}

bool Path::IsFile() const
{
    const mode_t type = GetFileType(*this);
    return type != 0 && type != S_IFDIR;
}

bool Path::IsDirectory() const
{
    return GetFileType(*this) == S_IFDIR;
}

File::File(const Path& path) : fDescriptor(-1)
{
    const std::string text = GetOSText(path);
    if (!text.empty()) {
        fDescriptor = open(text.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fDescriptor < 0) {
        throw Exception("Error opening file: " + path.GetNativeText());
    }
}

File::~File()
{
    close(fDescriptor);
}

int64_t File::GetSize() const
{
    struct stat status{};
    if (fstat(fDescriptor, &status) != 0) {
        throw Exception("Error reading from file");
    }
    return static_cast<int64_t>(status.st_size);
}

size_t File::ReadAt(int64_t position, size_t count, void* buffer) const
{
    size_t done = 0;
    while (done < count) {
        if (position < 0 || static_cast<uint64_t>(position) + done > static_cast<uint64_t>(INT64_MAX)) {
            throw Exception("Error reading from file");
        }
        const ssize_t got = pread(fDescriptor, static_cast<char*>(buffer) + done, count - done,
                                  static_cast<off_t>(position + static_cast<int64_t>(done)));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw Exception("Error reading from file");
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

void File::ReadExactlyAt(int64_t position, size_t count, void* buffer) const
{
    if (ReadAt(position, count, buffer) != count) {
        throw Exception("Error reading from file");
    }
}

} // namespace QorFiles

namespace Wex {

std::string ReadFileAsString(const QorFiles::Path& path)
{
    constexpr size_t kChunk = 64 * 1024;
    const QorFiles::File file(path);
    std::string contents;
    for (;;) {
        const size_t size = contents.size();
        contents.resize(size + kChunk);
        const size_t got = file.ReadAt(static_cast<int64_t>(size), kChunk, contents.data() + size);
        contents.resize(size + got);
        if (got < kChunk) {
            return contents;
        }
    }
}

} // namespace Wex
