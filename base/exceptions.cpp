#include "base/exceptions.h"

#include <algorithm>
#include <iterator>

namespace Wex {

namespace {

struct StatusText {
    int32_t status;
    const char* text;
};

// The OS statuses that this program's platform layer reports, in ascending order.
constexpr StatusText kStatusTexts[] = {
    {-10810, "Cannot open with the default application"},
    {-128, "User cancelled"},
    {-120, "Folder not found"},
    {-108, "Not enough memory"},
    {-61, "Write permission denied"},
    {-54, "Permission denied"},
    {-50, "Invalid parameter"},
    {-48, "File already exists"},
    {-43, "File not found"},
    {-39, "End of file"},
    {-36, "Input/output error"},
    {-34, "Disk full"},
    {0, "No error"},
};

} // namespace

const char* xException::what() const noexcept
{
    return "Unspecified error";
}

xExceptionWithRCString::xExceptionWithRCString(std::string_view message) : fMessage(MakeRCString(message)) {}

const char* xExceptionWithRCString::what() const noexcept
{
    return fMessage ? fMessage->GetChars() : "";
}

xOSError::xOSError(int32_t status, std::string_view message) : fStatus(status), fMessage(MakeRCString(message)) {}

const char* xOSError::what() const noexcept
{
    return fMessage->GetChars();
}

xMacOSError::xMacOSError(int32_t status) : xOSError(status, FormatMacOSStatus(status)) {}

const char* xCannotReadBeyondEnd::what() const noexcept
{
    return "Cannot read beyond end";
}

const char* xCannotWriteBeyondEnd::what() const noexcept
{
    return "Cannot write beyond end";
}

std::string FormatMacOSStatus(int32_t status)
{
    const auto* entry = std::lower_bound(std::begin(kStatusTexts), std::end(kStatusTexts), status,
                                         [](const StatusText& e, int32_t s) { return e.status < s; });
    std::string number = "OS status " + std::to_string(status);
    if (entry != std::end(kStatusTexts) && entry->status == status) {
        return std::string(entry->text) + " (" + number + ")";
    }
    return number;
}

} // namespace Wex
