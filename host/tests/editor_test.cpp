// Runs "marovell editor" end to end without a display: the sample editor drawn into PNG images,
// the errors of malformed resources and of the command line.
#include <algorithm>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/tests/host_fixture.h"

namespace {

using namespace HostTest;

// Colours of the sample editor.
constexpr uint32_t kBackground = 0xFF282C34, kHeader = 0xFF404654, kMeterPanel = 0xFF1C2229,
                   kOrange = 0xFFFF8A3D, kKnobCap = 0xFF5A6070, kButton = 0xFF505868, kSliderCap = 0xFFAAB4C8,
                   kBlack = 0xFF000000;
// Places in the sample: on the knob's dial at 0 and at 1 (17.5 pixels from its centre at -135 and
// 135 degrees), on the meter's bar at 0, a quarter and all of the mix, beyond the bar at a quarter,
// on the slider's slit at both ends.
constexpr std::pair<int, int> kDialAt0{50, 121}, kDialAt1{85, 121}, kBarAt0{150, 149}, kBarAtQuarter{180, 149},
                                   kBarAt1{280, 149}, kBeyondQuarter{200, 149}, kButtonFace{146, 76},
                                   kSlitStart{236, 76}, kSlitEnd{300, 76};

// The number of pixels in the rectangle whose red, green and blue are all above 0xC0.
int CountBright(const Image& image, int left, int top, int right, int bottom)
{
    int count = 0;
    for (int y = top; y < std::min(bottom, image.height); ++y) {
        for (int x = left; x < std::min(right, image.width); ++x) {
            const uint32_t p = image.At(x, y);
            count += (p >> 16 & 0xFF) > 0xC0 && (p >> 8 & 0xFF) > 0xC0 && (p & 0xFF) > 0xC0;
        }
    }
    return count;
}

using EditorTest = HostFixture;

TEST_F(EditorTest, TheSampleRendersWithoutADisplay)
{
    const Image badge = ReadImage(kSample / "Resources" / "badge.png");
    const struct {
        std::vector<std::string> options;
        int32_t width, height;
        std::map<std::pair<int, int>, uint32_t> pixels;
        bool named = false;  // the patch has a name
    } cases[] = {
        // The background, the header strip, the button's face, the knob at an empty mix (0), the
        // meter's panel and its shortest bar, and the slider's cap at an empty tone (0).
        {{}, 320, 180,
         {{{4, 100}, kBackground}, {{100, 38}, kHeader}, {kButtonFace, kButton}, {kDialAt0, kOrange},
          {kDialAt1, kKnobCap}, {kBarAt0, kOrange}, {kBarAtQuarter, kMeterPanel}, {kBarAt1, kMeterPanel},
          {kSlitStart, kSliderCap}, {kSlitEnd, kKnobCap}}},
        // The knob's dial and the meter follow the mix, the slider's cap the tone.
        {{"--set", "params.mix=1", "--set", "params.tone=1"}, 320, 180,
         {{kDialAt0, kKnobCap}, {kDialAt1, kOrange}, {kBarAtQuarter, kOrange}, {kBarAt1, kOrange},
          {kSlitStart, kKnobCap}, {kSlitEnd, kSliderCap}}},
        {{"--set", "params.mix=0.25", "--set", "patch.name=Warm Echo"}, 320, 180,
         {{kBarAtQuarter, kOrange}, {kBeyondQuarter, kMeterPanel}, {kBarAt1, kMeterPanel}}, true},
        // A larger editor is black beyond the description's size, a smaller one cut.
        {{"--size", "400x200"}, 400, 200, {{{4, 100}, kBackground}, {{350, 100}, kBlack}, {{100, 190}, kBlack}}},
        {{"--size", "50x20"}, 50, 20, {{{40, 19}, kHeader}}},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunEditor(kSample, c.options);
        const std::string name = testing::PrintToString(c.options);
        ASSERT_EQ(outcome.status, 0) << name << outcome.err;
        EXPECT_EQ(outcome.out, "") << name;
        EXPECT_EQ(outcome.err, "") << name;
        const Image editor = ReadImage(Png());
        ASSERT_EQ(editor.width, c.width) << name;
        ASSERT_EQ(editor.height, c.height) << name;
        for (const auto& [place, color] : c.pixels)
            EXPECT_EQ(editor.At(place.first, place.second), color)
                << name << " at " << place.first << "," << place.second;
        // Every pixel is opaque, the button shows its caption, the header "Patch:" and the name
        // after it, and the badge is drawn as its picture wherever it is opaque.
        for (const uint32_t pixel : editor.pixels)
            ASSERT_EQ(pixel >> 24, 0xFFu) << name;
        if (c.width >= 320) {
            EXPECT_GT(CountBright(editor, 140, 64, 212, 88), 20) << name;
            EXPECT_GT(CountBright(editor, 18, 12, 60, 36), 50) << name;
            EXPECT_EQ(CountBright(editor, 60, 12, 238, 36) > 20, c.named) << name;
        }
        for (int y = 0; y < badge.height && 13 + y < c.height; ++y) {
            for (int x = 0; x < badge.width && 284 + x < c.width; ++x) {
                if (badge.At(x, y) >> 24 == 0xFF) {
                    ASSERT_EQ(editor.At(284 + x, 13 + y), badge.At(x, y)) << name << " badge " << x << "," << y;
                }
            }
        }
        fs::remove(Png());
    }
}

TEST_F(EditorTest, MalformedResourcesGiveTheirErrorAndNoImage)
{
    const std::string pngHeader("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const auto main = [](const std::string& views) { return "bounds: { 0, 0, 40, 30 }, views: { " + views + " }"; };
    const std::string raster = main("{ type: raster, image: pic }");
    // An error that quotes a long value shows cut to 300 bytes, the last three "...".
    const std::string reddish(100000, 'r');
    const struct {
        std::string main;  // the files in Resources, each absent when empty
        std::string error;
        std::string picture = "", strings = "Hello: Hello";
    } cases[] = {
        {main("{ type: dial }"), "Unrecognized view type : \"dial\""},
        {main("{ bounds: { 0, 0, 4, 4 } }"), "Missing view type"},
        {main("{ type: rectangle, bounds: { 0, 0, -4, 4 } }"), "View bounds has negative width and/or height"},
        {main("{ type: rectangle, fill: reddish }"), "Invalid color: \"reddish\""},
        {main("{ type: rectangle, fill: " + reddish + " }"), "Invalid color: \"" + reddish.substr(0, 281) + "..."},
        {main("{ type: rectangle, fill: { 1, 2 } }"), "Invalid number of color components: \"{ 1, 2 }\""},
        {"bounds: { 0, 0, 40, 30 }, views: { {", "Missing }"},
        {main(""), "Missing }", "", "Hello: {"},
        {"", "Cannot get URL for resource: Marovell_main (type: velto)"},
        {main(""), "Cannot get URL for resource: Marovell_strings (type: txt)", "", ""},
        {raster, "Error reading PNG image : Not a PNG file", "not a picture"},
        {raster, "Error reading PNG image : Cannot read beyond end", pngHeader},
        {"views: {}", "Invalid editor size: 0x0"},
        {"bounds: { 0, 0, 16385, 2 }", "Invalid editor size: 16385x2"},
        // Within the sides' limit, beyond the pixels' (64 M): refused before anything is drawn.
        {"bounds: { 0, 0, 16384, 4097 }", "Invalid editor size: 16384x4097"},
        {"bounds: { 0, 0, 2, -1 }", "Invalid editor size: 2x-1"},
    };
    int index = 0;
    for (const auto& c : cases) {
        const fs::path bundle = fDirectory / ("bundle" + std::to_string(index++));
        fs::create_directories(bundle / "Resources");
        const std::pair<const char*, std::string> files[] = {
            {"Marovell_main.velto", c.main}, {"Marovell_strings.txt", c.strings}, {"pic.png", c.picture}};
        for (const auto& [name, contents] : files) {
            if (!contents.empty())
                Write(bundle.filename() / "Resources" / name, contents);
        }
        const Outcome outcome = RunEditor(bundle);
        EXPECT_EQ(outcome.status, 1) << c.error;
        EXPECT_EQ(outcome.err, "error: " + c.error + "\n");
        EXPECT_EQ(outcome.out, "");
        EXPECT_FALSE(fs::exists(Png())) << c.error;
    }
}

TEST_F(EditorTest, TheOverrideFolderBesideTheBundleReplacesItsResources)
{
    WriteBundle("bundle", "bounds: { 0, 0, 4, 2 }, views: { { type: rectangle, fill: red } }");
    Write("Marovell V1.0 Resources/Marovell_main.velto",
          "bounds: { 0, 0, 3, 1 }, views: { { type: rectangle, fill: blue } }");
    const Outcome outcome = RunEditor((fDirectory / "bundle").string() + "/");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(ReadImage(Png()).pixels, (std::vector<uint32_t>(3, 0xFF0000FF)));
}

TEST_F(EditorTest, DescriptionsThatFanOutEndWithTooManyViews)
{
    // Four nested views in each of the descriptions d1 ... d<levels - 1> (their variables name the
    // next description), one view in d<levels>; or one description of `flat` views.
    const struct {
        int levels, flat;
        const char* error;  // none when it renders
    } cases[] = {
        {12, 0, "Too many views"},  // 4^11 views, loaded by the first refresh
        {0, 100001, "Too many views"},
        {6, 0, nullptr},  // 1365 views
    };
    for (const auto& c : cases) {
        const std::string row = std::to_string(c.levels) + "-" + std::to_string(c.flat);
        const fs::path bundle = fDirectory / ("bundle" + row);
        std::vector<std::string> options;
        const auto views = [](int count, const std::string& view) {
            std::string text = "views: { ";
            for (int i = 0; i < count; ++i)
                text += view;
            return text + "}";
        };
        for (int level = 1; level <= c.levels; ++level) {
            const std::string name = "d" + std::to_string(level);
            Write(bundle.filename() / "Resources" / (name + ".velto"),
                  level < c.levels ? views(4, "{ type: velto, layoutVariable: d" + std::to_string(level + 1) + " }")
                                   : views(1, "{ type: rectangle, fill: red }"));
            options.insert(options.end(), {"--set", name + "=" + name});
        }
        WriteBundle(bundle.filename(), "bounds: { 0, 0, 4, 2 }, " +
                                           (c.levels > 0 ? views(1, "{ type: velto, layoutVariable: d1 }")
                                                         : views(c.flat, "{ type: rectangle, fill: red }")));
        const Outcome outcome = RunEditor(bundle, options);
        EXPECT_EQ(outcome.status, c.error ? 1 : 0) << row;
        EXPECT_EQ(outcome.err, c.error ? "error: " + std::string(c.error) + "\n" : "") << row;
        EXPECT_EQ(fs::exists(Png()), !c.error) << row;
        fs::remove(Png());
    }
}

TEST_F(EditorTest, NestedGroupsHoldTheirViewsTextOnce)
{
    // A view with 2 MB of text in its description, alone and inside 60 groups: a copy of it per
    // group would cost 120 MB more.
    const std::string view = "{ type: rectangle, fill: red, note: " + std::string(2 << 20, 'x') + " }";
    long peakKilobytes[2] = {};
    for (const int depth : {0, 60}) {
        std::string open, close;
        for (int i = 0; i < depth; ++i) {
            open += "{ type: group, views: { ";
            close += " } }";
        }
        const Outcome outcome =
            RunEditor(WriteBundle("bundle", "bounds: { 0, 0, 4, 2 }, views: { " + open + view + close + " }"));
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(ReadImage(Png()).pixels, (std::vector<uint32_t>(8, 0xFFFF0000)));
        peakKilobytes[depth != 0] = outcome.peakKilobytes;
    }
    EXPECT_GT(peakKilobytes[0], 0);
    EXPECT_LT(peakKilobytes[1] - peakKilobytes[0], 20 * 1024);
}

TEST_F(EditorTest, PlatformTextOfAnySizeDrawsInBoundedMemory)
{
    // Captions of 26 capitals on a 200 x 100 editor, `count` sizes from `first` pixels per em in
    // steps of `step`: images of their glyphs at full size would take gigabytes.
    const struct {
        int first, step, count;
    } cases[] = {{8000, 50, 8}, {600, 2, 300}};
    for (const auto& c : cases) {
        const std::string row = std::to_string(c.first) + "+" + std::to_string(c.step);
        std::string views = "{ type: rectangle, fill: white }";
        for (int i = 0; i < c.count; ++i)
            views += ", { type: caption, bounds: { 0, 0, 200, 100 }, text: ABCDEFGHIJKLMNOPQRSTUVWXYZ, "
                     "font: { face: \"DejaVu Sans\", size: " +
                     std::to_string(c.first + i * c.step) + ", color: black } }";
        const Outcome outcome =
            RunEditor(WriteBundle("bundle" + row, "bounds: { 0, 0, 200, 100 }, views: { " + views + " }"));
        ASSERT_EQ(outcome.status, 0) << row << outcome.err;
        // The top of the first letter covers much of the editor.
        const Image editor = ReadImage(Png());
        const auto dark = std::count_if(editor.pixels.begin(), editor.pixels.end(),
                                        [](uint32_t p) { return (p >> 16 & 0xFF) < 0x80; });
        EXPECT_GT(dark, 5000) << row;
        EXPECT_LT(outcome.peakKilobytes, 256 * 1024) << row;
        fs::remove(Png());
    }
}

TEST_F(EditorTest, TheWindowNeedsADisplay)
{
    const Outcome outcome = Run({"editor", kSample}, "-u DISPLAY");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "error: Cannot open the display; render the editor without one with --png OUT.png\n");
}

TEST_F(EditorTest, UsageErrorsWriteNothing)
{
    const std::string usage = Run({"--help"}).out;
    EXPECT_NE(usage.find("       marovell editor RESOURCES [--size WxH] [--set NAME=VALUE]... [--png OUT.png]\n"),
              std::string::npos);
    const std::string image = (fDirectory / "out.png").string();
    const std::string file = Write("file", "").string();
    const struct {
        std::vector<std::string> arguments;
        const char* problem;
    } cases[] = {
        {{"editor"}, "no resources folder"},
        {{"editor", "--png", image}, "no resources folder"},
        {{"editor", file, "--png", image}, "not a folder: "},
        {{"editor", (fDirectory / "none").string(), "--png", image}, "not a folder: "},
        {{"editor", kSample, kSample, "--png", image}, "unexpected argument "},
        {{"editor", kSample, "--png"}, "--png needs a value"},
        {{"editor", kSample, "--png", ""}, "invalid --png "},
        {{"editor", kSample, "--png", image, "--png", image}, "--png is given twice"},
        {{"editor", kSample, "--size", "0x10", "--png", image}, "invalid --size 0x10"},
        {{"editor", kSample, "--size", "10x16385", "--png", image}, "invalid --size 10x16385"},
        {{"editor", kSample, "--size", "16384x4097", "--png", image}, "invalid --size 16384x4097"},
        {{"editor", kSample, "--size", std::string(1000, '9'), "--png", image}, "invalid --size 999"},
        {{"editor", kSample, "--size", "10x10", "--size", "10x10", "--png", image}, "--size is given twice"},
        {{"editor", kSample, "--set", "params.mix", "--png", image}, "invalid --set params.mix"},
        {{"editor", kSample, "--set", "=1", "--png", image}, "invalid --set =1"},
        {{"editor", kSample, "--set"}, "--set needs a value"},
        {{"editor", kSample, "--scale", "2", "--png", image}, "unexpected argument --scale"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Run(c.arguments);
        const std::string name = testing::PrintToString(c.arguments);
        EXPECT_EQ(outcome.status, 2) << name;
        EXPECT_EQ(outcome.out, "") << name;
        EXPECT_TRUE(outcome.err.starts_with("marovell: " + std::string(c.problem))) << name << outcome.err;
        // A long value shows cut.
        EXPECT_LE(outcome.err.find('\n'), std::string("marovell: ").size() + 300) << name;
        EXPECT_TRUE(outcome.err.ends_with(usage)) << name;
        EXPECT_FALSE(fs::exists(image)) << name;
    }
}

TEST_F(EditorTest, TheSampleBundleHoldsWhatItIsMadeFrom)
{
    // The badge is its source's render.
    const fs::path image = fDirectory / "badge.png";
    const Outcome outcome =
        Run({"render-orv", (kSample / "badge.orv").string(), "--size", "24x24", "-o", image.string()});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(ReadAll(image), ReadAll(kSample / "Resources" / "badge.png"));
    // The dialogs' resources are the GUI's own.
    std::istringstream dialogs(MAROVELL_DIALOG_RESOURCES);
    std::string path;
    int count = 0;
    while (std::getline(dialogs, path, '|')) {
        ++count;
        const fs::path installed = kSample / "Resources" / fs::path(path).filename();
        ASSERT_TRUE(fs::exists(installed)) << installed;
        EXPECT_TRUE(fs::equivalent(installed, path)) << installed;
    }
    EXPECT_GT(count, 0);
}

} // namespace
