#include "base/files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/exceptions.h"

namespace {

// A fresh folder that is removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "base-files-XXXXXX").string();
        fPath = mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(fPath); }
    std::filesystem::path Write(const std::string& name, const std::string& contents) const
    {
        std::ofstream(fPath / name, std::ios::binary) << contents;
        return fPath / name;
    }
    QorFiles::Path Path() const { return QorFiles::Path(fPath.wstring()); }

private:
    std::filesystem::path fPath;
};

std::string ParentError(const std::wstring& text)
{
    try {
        QorFiles::Path(text).GetParent();
    } catch (const QorFiles::Exception& e) {
        return e.what();
    }
    return "no error";
}

TEST(Path, JoinsRelativeTextToABase)
{
    const QorFiles::Path base(L"/a/b");
    EXPECT_EQ(QorFiles::Path(base, L"c/d").GetText(), L"/a/b/c/d");
    EXPECT_EQ(QorFiles::Path(QorFiles::Path(L"/a/"), L"c").GetText(), L"/a/c");
    EXPECT_EQ(QorFiles::Path(base, L"/x").GetText(), L"/x");
    EXPECT_EQ(QorFiles::Path(base, L"").GetText(), L"/a/b");
    EXPECT_EQ(QorFiles::Path(QorFiles::Path(), L"rel").GetText(), L"rel");
    EXPECT_TRUE(QorFiles::Path().IsEmpty());
}

TEST(Path, ParentDropsTheLastNameOrFails)
{
    EXPECT_EQ(QorFiles::Path(L"/a/b/c").GetParent().GetText(), L"/a/b");
    EXPECT_EQ(QorFiles::Path(L"/a/b//").GetParent().GetText(), L"/a");
    EXPECT_EQ(QorFiles::Path(L"/a//b").GetParent().GetText(), L"/a");
    EXPECT_EQ(QorFiles::Path(L"/a").GetParent().GetText(), L"/");
    EXPECT_EQ(QorFiles::Path(L"a/b").GetParent().GetText(), L"a");
    EXPECT_EQ(ParentError(L"/"), "Error obtaining parent path");
    EXPECT_EQ(ParentError(L"//"), "Error obtaining parent path");
    EXPECT_EQ(ParentError(L""), "Error obtaining parent path");
    EXPECT_EQ(ParentError(L"name"), "Error obtaining parent path");
}

TEST(Path, TellsFilesFromFoldersWithUnicodeNames)
{
    TempFolder folder;
    folder.Write("caf\xc3\xa9.txt", "x");
    const QorFiles::Path file(folder.Path(), L"caf\u00e9.txt");
    EXPECT_TRUE(file.IsFile());
    EXPECT_FALSE(file.IsDirectory());
    EXPECT_TRUE(folder.Path().IsDirectory());
    EXPECT_FALSE(folder.Path().IsFile());
    const QorFiles::Path missing(folder.Path(), L"missing");
    EXPECT_FALSE(missing.IsFile());
    EXPECT_FALSE(missing.IsDirectory());
    EXPECT_FALSE(QorFiles::Path().IsFile());
    EXPECT_EQ(file.GetParent(), folder.Path());
    // The OS would read an embedded NUL as the end of the text and find the shorter name.
    const QorFiles::Path cut(file.GetText() + std::wstring(L"\0x", 2));
    EXPECT_FALSE(cut.IsFile());
    EXPECT_FALSE(QorFiles::Path(folder.Path().GetText() + std::wstring(L"\0", 1)).IsDirectory());
    EXPECT_THROW(QorFiles::File{cut}, QorFiles::Exception);
}

TEST(File, ReadsExactlyOrFails)
{
    TempFolder folder;
    folder.Write("data", "0123456789");
    const QorFiles::File file(QorFiles::Path(folder.Path(), L"data"));
    EXPECT_EQ(file.GetSize(), 10);
    char buffer[4] = {};
    file.ReadExactlyAt(3, 4, buffer);
    EXPECT_EQ(std::string(buffer, 4), "3456");
    file.ReadExactlyAt(6, 4, buffer);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    file.ReadExactlyAt(10, 0, buffer);
    EXPECT_THROW(file.ReadExactlyAt(7, 4, buffer), QorFiles::Exception);
    EXPECT_THROW(file.ReadExactlyAt(-1, 1, buffer), QorFiles::Exception);
    EXPECT_EQ(file.ReadAt(8, 4, buffer), 2u);
    try {
        file.ReadExactlyAt(100, 1, buffer);
        FAIL();
    } catch (const QorFiles::Exception& e) {
        EXPECT_STREQ(e.what(), "Error reading from file");
    }
}

TEST(File, OpeningAMissingFileNamesIt)
{
    try {
        QorFiles::File file(QorFiles::Path(L"/nonexistent/\u00e9"));
        FAIL();
    } catch (const QorFiles::Exception& e) {
        EXPECT_STREQ(e.what(), "Error opening file: /nonexistent/\xc3\xa9");
    }
}

TEST(ReadFileAsString, ReadsEveryByteAcrossChunks)
{
    TempFolder folder;
    std::string contents;
    for (int i = 0; i < 200000; ++i) {
        contents.push_back(static_cast<char>(i * 7));
    }
    folder.Write("big", contents);
    folder.Write("empty", "");
    EXPECT_EQ(Wex::ReadFileAsString(QorFiles::Path(folder.Path(), L"big")), contents);
    EXPECT_EQ(Wex::ReadFileAsString(QorFiles::Path(folder.Path(), L"empty")), "");
    EXPECT_THROW(Wex::ReadFileAsString(folder.Path()), QorFiles::Exception); // a folder
}

} // namespace
