// Runs the marovell program end to end and checks its exit status, its output and its images.
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "host/tests/host_fixture.h"

namespace {

using namespace HostTest;

using RenderOrvTest = HostFixture;

TEST_F(RenderOrvTest, RendersASourceToPng)
{
    const fs::path source = Write("square.orv", "format orv-1\nfill red; rect 1,1,2,1\ntrace done\n");
    const fs::path image = fDirectory / "square.png";
    const Outcome outcome = Run({"render-orv", source, "--size", "4x3", "--background", "#FF000000", "-o", image});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "done\n");
    EXPECT_EQ(outcome.err, "");
    const Image square = ReadImage(image);
    ASSERT_EQ(square.width, 4);
    ASSERT_EQ(square.height, 3);
    EXPECT_EQ(square.pixels, (std::vector<uint32_t>{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,   //
                                                    0xFF000000, 0xFFFF0000, 0xFFFF0000, 0xFF000000,   //
                                                    0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}));
}

TEST_F(RenderOrvTest, ScaleAppliesToTheWholeSource)
{
    const fs::path source = Write("scaled.orv", "fill #80000080; rect 0,0,1,1");
    const fs::path image = fDirectory / "scaled.png";
    ASSERT_EQ(Run({"render-orv", source, "-o", image, "--scale", "2", "--size", "3x1"}).status, 0);
    EXPECT_EQ(ReadImage(image).pixels, (std::vector<uint32_t>{0x80000080, 0x80000080, 0}));
}

TEST_F(RenderOrvTest, ErrorsNameTheStatementEndRunawaySourcesAndWriteNothing)
{
    // A malformed statement; texts that double in a call frame, absurd shapes and too many dashes
    // fail at once instead of taking the machine's memory.
    const struct {
        const char* source;
        const char* error;
    } cases[] = {
        {"fill red\ncontext [\n  rect 1,2\n]\n", "error: Too few list elements\nstatement: rect 1,2\n"},
        {"call [local y = a; repeat 60 [y = $y$y]]", "error: Text length limit reached\nstatement: y = $y$y\n"},
        {"fill red; star 2,2,2147483647,2", "error: Value out of range\nstatement: star 2,2,2147483647,2\n"},
        {"pen red width: 2000 caps: round dash: 0.5; path svg: [M0 0 H131000]",
         "error: Value out of range\nstatement: path svg: [M0 0 H131000]\n"},
    };
    const fs::path image = fDirectory / "broken.png";
    for (const auto& c : cases) {
        const Outcome outcome = Run({"render-orv", Write("broken.orv", c.source), "--size", "4x4", "-o", image});
        EXPECT_EQ(outcome.status, 1) << c.source;
        EXPECT_EQ(outcome.err, c.error);
        EXPECT_FALSE(fs::exists(image));
    }

    const Outcome missing = Run({"render-orv", (fDirectory / "none.orv").string(), "--size", "1x1", "-o", image});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("error: ", 0), 0u) << missing.err;
    EXPECT_FALSE(fs::exists(image));

    // A folder cannot be written as the image, and an empty one stays.
    const fs::path folder = fDirectory / "empty";
    fs::create_directory(folder);
    const Outcome unwritable = Run({"render-orv", Write("valid.orv", "fill red"), "--size", "1x1", "-o", folder});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err.rfind("error: ", 0), 0u) << unwritable.err;
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(RenderOrvTest, UsageGoesToStandardOutputOnlyWhenAskedFor)
{
    const std::string usage = Run({"--help"}).out;
    for (const char* line : {"usage: marovell render-orv SOURCE.orv --size WxH [--scale S] [--background #AARRGGBB] "
                             "-o OUT.png\n",
                             "       marovell help | --help | -h\n"})
        EXPECT_NE(usage.find(line), std::string::npos) << line;
    for (const char* help : {"--help", "-h", "help"}) {
        const Outcome outcome = Run({help});
        EXPECT_EQ(outcome.status, 0) << help;
        EXPECT_EQ(outcome.out, usage) << help;
        EXPECT_EQ(outcome.err, "") << help;
    }

    const fs::path source = Write("empty.orv", "");
    const std::string image = (fDirectory / "out.png").string();
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"render"},
        {"--version"},
        {"-H"},
        {"help", "render-orv"},
        {"--help", "-o", image},
        {"render-orv"},
        {"render-orv", "--help"},
        {"render-orv", source, "--size", "4x4"},
        {"render-orv", "--size", "4x4", "-o", image},
        {"render-orv", source, source, "--size", "4x4", "-o", image},
        {"render-orv", source, "--size", "0x4", "-o", image},
        {"render-orv", source, "--size", "4x", "-o", image},
        {"render-orv", source, "--size", "4x16385", "-o", image},
        {"render-orv", source, "--size", "16384x4097", "-o", image},
        {"render-orv", source, "--size", "4x4x4", "-o", image},
        {"render-orv", source, "--size", "4x4", "--size", "4x4", "-o", image},
        {"render-orv", source, "--size", "4x4", "--scale", "0", "-o", image},
        {"render-orv", source, "--size", "4x4", "--scale", "inf", "-o", image},
        {"render-orv", source, "--size", "4x4", "--background", "#FF0000", "-o", image},
        {"render-orv", source, "--size", "4x4", "--background", "#80FF0000", "-o", image},
        {"render-orv", source, "--size", "4x4", "--width", "4", "-o", image},
        {"render-orv", source, "--size", "4x4", "-o"},
    };
    for (const auto& arguments : wrong) {
        const Outcome outcome = Run(arguments);
        EXPECT_EQ(outcome.status, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(outcome.out, "");
        EXPECT_TRUE(outcome.err.ends_with(usage)) << outcome.err;
        EXPECT_FALSE(fs::exists(image));
    }
    EXPECT_EQ(Run({"--version"}).err, "marovell: unknown option --version\n" + usage);
    EXPECT_EQ(Run({"render"}).err, "marovell: unknown command render\n" + usage);
}

TEST_F(RenderOrvTest, TheShowcaseUsesEveryInstructionAndRenders)
{
    const fs::path source = fs::path(MAROVELL_SOURCE_DIR) / "samples" / "showcase.orv";
    // The first word of every statement: after a line start, a ';' or a '['.
    const std::string text = ReadAll(source);
    std::set<std::string> words;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && text[i - 1] != '\n' && text[i - 1] != ';' && text[i - 1] != '[')
            continue;
        size_t start = text.find_first_not_of(" \t", i);
        size_t end = start;
        while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end])))
            ++end;
        if (start < end)
            words.insert(text.substr(start, end - start));
    }
    for (const char* name : {"rect", "ellipse", "star", "path", "fill", "pen", "wipe", "matrix", "scale", "rotate",
                             "offset", "shear", "context", "mask", "bounds", "options", "reset"})
        EXPECT_EQ(words.count(name), 1u) << name;
    // Both kinds of gradient, patterns, and both inside masks.
    for (const char* paint : {"gradient: [linear", "gradient: [radial", "pattern: [", "mask [fill gradient:",
                              "mask [fill pattern:"})
        EXPECT_NE(text.find(paint), std::string::npos) << paint;
    const fs::path image = fDirectory / "showcase.png";
    const Outcome outcome = Run({"render-orv", source, "--size", "256x256", "-o", image});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const Image showcase = ReadImage(image);
    ASSERT_EQ(showcase.width, 256);
    const auto at = [&](int x, int y) { return showcase.At(x, y); };
    EXPECT_EQ(at(0, 0), 0xFF15191Fu);   // the wiped backdrop
    EXPECT_EQ(at(128, 32), 0xFFC8D2DCu);  // the top tick of the scale
    EXPECT_EQ(at(220, 36), 0xFFFFC633u);  // the star badge, hsv(0.12,0.8,1)
    const auto channel = [&](int x, int y, int shift) { return at(x, y) >> shift & 0xFF; };
    // The plate darkens downwards, the knob's body is lit at its upper left.
    EXPECT_GT(channel(128, 12, 0), channel(128, 244, 0));
    EXPECT_GT(channel(100, 100, 0), channel(128, 128, 0));
    EXPECT_GT(channel(128, 128, 0), channel(128, 190, 0));
    // The meter: unlit dots of the grille, lit ones green at the left and amber further on.
    EXPECT_EQ(at(147, 213), 0xFF2A323Du);
    EXPECT_EQ(at(177, 225), 0xFF2A323Du);
    EXPECT_GT(channel(75, 213, 8), channel(75, 213, 16));
    EXPECT_GT(channel(75, 213, 8), channel(75, 213, 0));
    EXPECT_GT(channel(141, 219, 16), 0xF0u);
    EXPECT_LT(channel(141, 219, 0), 0x80u);
    EXPECT_NE(at(78, 216), at(75, 213)); // between the dots
}

} // namespace
