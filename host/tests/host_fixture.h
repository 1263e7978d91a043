#pragma once

// Runs the marovell program end to end: a fresh folder per test for its files, the program run
// through the shell with its standard output and error captured, and PNG images read back.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/png.h"

namespace HostTest {

namespace fs = std::filesystem;

// The sample editor's bundle.
inline const fs::path kSample = fs::path(MAROVELL_SOURCE_DIR) / "samples" / "editor";

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
    // The most memory that the program held, or that this process held when it started the
    // program as a copy of itself, if that was more.
    long peakKilobytes = 0;
};

inline std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An image as premultiplied ARGB pixels, row after row.
struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

inline Image ReadImage(const fs::path& path)
{
    const std::string bytes = ReadAll(path);
    QorPNG::MemorySource source(bytes);
    QorPNG::Reader reader(source);
    Image image{reader.GetWidth(), reader.GetHeight(), {}};
    image.pixels.resize(size_t(image.width) * size_t(image.height));
    reader.ReadARGB(image.pixels.data(), true);
    return image;
}

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        fDirectory = fs::temp_directory_path() /
                     ("marovell-" + std::to_string(::getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(fDirectory);
    }
    void TearDown() override { fs::remove_all(fDirectory); }

    // Writes the file (its folders made as needed) and answers its path.
    fs::path Write(const fs::path& name, const std::string& text)
    {
        const fs::path path = fDirectory / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // A bundle folder of that name with the top-level description and no texts; answers its path.
    fs::path WriteBundle(const std::string& name, const std::string& main)
    {
        Write(name + "/Resources/Marovell_strings.txt", "");
        Write(name + "/Resources/Marovell_main.velto", main);
        return fDirectory / name;
    }

    // Runs marovell with the arguments (each quoted for the shell) after the environment
    // settings ("env" arguments such as "-u DISPLAY").
    Outcome Run(const std::vector<std::string>& arguments, const std::string& environment = {})
    {
        std::string command = environment.empty() ? "" : "env " + environment + " ";
        command += "'" MAROVELL_EXECUTABLE "'";
        for (const std::string& argument : arguments)
            command += " '" + argument + "'";
        const fs::path out = fDirectory / "stdout", err = fDirectory / "stderr";
        command += " >'" + out.string() + "' 2>'" + err.string() + "'";
        // The shell's usage holds the largest resident size of the program, which it waits for.
        const pid_t shell = ::fork();
        if (shell == 0) {
            ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = -1;
        rusage usage{};
        if (shell < 0 || ::wait4(shell, &status, 0, &usage) != shell)
            return {};
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err), usage.ru_maxrss};
    }

    // Runs "marovell editor" on the resources with the options, rendering into Png().
    Outcome RunEditor(const fs::path& resources, const std::vector<std::string>& options = {},
                      const std::string& environment = "-u DISPLAY")
    {
        std::vector<std::string> arguments = {"editor", resources, "--png", Png()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return Run(arguments, environment);
    }
    fs::path Png() const { return fDirectory / "editor.png"; }

    fs::path fDirectory;
};

} // namespace HostTest
