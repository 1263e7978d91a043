// Runs "marovell editor" in its window on the test's X display: the window shows the same pixels
// as the headless render, real input from xdotool edits the GUI variables and the window shows
// them, SIGTERM closes it, and SIGTERM and SIGINT close it from inside a dialog too.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/tests/host_fixture.h"

// After the test framework: Xlib defines None as a macro.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace {

using namespace HostTest;

// Long enough for the sanitizers' slowness.
constexpr std::chrono::milliseconds kPatience = std::chrono::seconds(60);

// Polls the condition until it holds or the patience runs out.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds patience = kPatience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Runs xdotool and answers its standard output; empty when it fails.
std::string Xdotool(const std::vector<std::string>& arguments)
{
    std::vector<gchar*> argv{const_cast<gchar*>("xdotool")};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<gchar*>(argument.c_str()));
    argv.push_back(nullptr);
    gchar* out = nullptr;
    gint status = 0;
    const auto flags = GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_STDERR_TO_DEV_NULL);
    const bool ran =
        g_spawn_sync(nullptr, argv.data(), nullptr, flags, nullptr, nullptr, &out, nullptr, &status, nullptr);
    std::string text = ran && g_spawn_check_wait_status(status, nullptr) && out != nullptr ? out : "";
    g_free(out);
    return text;
}

// One run of the program, its standard output and error going to files.
class EditorProcess {
public:
    EditorProcess(const fs::path& folder, const std::vector<std::string>& arguments)
        : fOut(folder / "editor.out"), fErr(folder / "editor.err")
    {
        std::vector<std::string> all = {MAROVELL_EXECUTABLE, "editor"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : all)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        fPid = fork();
        if (fPid == 0) {
            dup2(open(fOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open(fErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }
    EditorProcess(const EditorProcess&) = delete;
    EditorProcess& operator=(const EditorProcess&) = delete;
    ~EditorProcess()
    {
        if (fStatus < 0) {
            kill(fPid, SIGKILL);
            waitpid(fPid, nullptr, 0);
        }
    }

    std::string Out() const { return ReadAll(fOut); }
    std::string Err() const { return ReadAll(fErr); }
    // The exit status once the program has ended; -1 while it runs or after a signal ended it.
    int Wait(std::chrono::milliseconds patience = kPatience)
    {
        WaitFor([this] {
            int status = 0;
            if (waitpid(fPid, &status, WNOHANG) != fPid)
                return false;
            fStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 1000;
            return true;
        }, patience);
        return fStatus == 1000 ? -1 : fStatus;
    }
    void Signal(int signal) { kill(fPid, signal); }
    // The program's shown window titled "Marovell", or 0.
    unsigned long FindWindow() const
    {
        const std::string found =
            Xdotool({"search", "--onlyvisible", "--pid", std::to_string(fPid), "--name", "^Marovell$"});
        return found.empty() ? 0 : std::stoul(found);
    }
    // Whether one of the program's shown windows is of the kind.
    bool Shows(GdkWindowTypeHint kind) const
    {
        std::istringstream found(Xdotool({"search", "--onlyvisible", "--pid", std::to_string(fPid)}));
        for (unsigned long xid = 0; found >> xid;) {
            GdkWindow* window = gdk_x11_window_foreign_new_for_display(gdk_display_get_default(), xid);
            if (window == nullptr)
                continue;
            const bool shown = gdk_window_get_type_hint(window) == kind;
            g_object_unref(window);
            if (shown)
                return true;
        }
        return false;
    }

private:
    fs::path fOut;
    fs::path fErr;
    pid_t fPid = -1;
    int fStatus = -1;
};

// The pixels of a window of another program as opaque ARGB, read from the X server; none when
// the window cannot be read. They are read from the screen where the window lies: the toolkit's
// wrapper of the window itself would keep the size of an ended run's window that had its id.
Image ReadWindow(unsigned long xid)
{
    GdkWindow* window = gdk_x11_window_foreign_new_for_display(gdk_display_get_default(), xid);
    if (window == nullptr)
        return {};
    Image image;
    int left = 0, top = 0;
    gdk_window_get_geometry(window, nullptr, nullptr, &image.width, &image.height);
    gdk_window_get_origin(window, &left, &top);
    g_object_unref(window);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), left, top, image.width, image.height);
    if (pixbuf == nullptr)
        return {};
    const int channels = gdk_pixbuf_get_n_channels(pixbuf), stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* bytes = gdk_pixbuf_read_pixels(pixbuf);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const guchar* p = bytes + y * stride + x * channels;
            image.pixels.push_back(0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
        }
    }
    g_object_unref(pixbuf);
    return image;
}

// The number of pixels that differ between the images in the rectangle; -1 when their sizes differ.
int CountDifferences(const Image& a, const Image& b, int left, int top, int right, int bottom)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            count += a.At(x, y) != b.At(x, y);
    }
    return count;
}

class EditorWindowTest : public HostFixture {
protected:
    static void SetUpTestSuite()
    {
        // The accessibility bus is not needed, and its library keeps memory to the end.
        g_setenv("NO_AT_BRIDGE", "1", TRUE);
        gdk_set_allowed_backends("x11");
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "no X display";
    }

    // The resources (the sample unless named) drawn headless with the options.
    Image Render(const std::vector<std::string>& options = {}, const fs::path& resources = kSample)
    {
        const Outcome outcome = RunEditor(resources, options, "");
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        return ReadImage(Png());
    }
};

TEST_F(EditorWindowTest, RealInputEditsTheVariablesUntilTerminated)
{
    const Image initial = Render();
    // A drag of 100 pixels moves the knob by half its range; the button renames the patch.
    const Image edited = Render({"--set", "params.mix=0.5", "--set", "patch.name=Init"});
    ASSERT_EQ(initial.width, 320);
    // The hint that the button shows lies right of this and below the button: the rest of the
    // window must show the edited editor.
    constexpr int kUncovered = 170;
    ASSERT_GT(CountDifferences(initial, edited, 28, 64, 108, 144), 0);  // the knob
    ASSERT_GT(CountDifferences(initial, edited, 18, 12, kUncovered, 36), 0);  // the caption
    EditorProcess editor(fDirectory, {kSample});
    unsigned long xid = 0;
    ASSERT_TRUE(WaitFor([&] { return (xid = editor.FindWindow()) != 0; })) << editor.Err();
    // Whether the window comes to show the image left of the column.
    int differences = -1;
    const auto shows = [&](const Image& expected, int right) {
        return WaitFor([&] {
            return (differences = CountDifferences(ReadWindow(xid), expected, 0, 0, right, expected.height)) == 0;
        });
    };
    // The first frame: the pixels of the headless render.
    EXPECT_TRUE(shows(initial, initial.width)) << differences << " pixels differ (-1: the window is another size)";

    // Press inside the knob's cap, 100 pixels up, release once the value has followed; click the
    // button. After each step the output ends with the line (or, when whole, is just it).
    const std::string id = std::to_string(xid);
    const struct {
        std::vector<std::vector<std::string>> commands;
        const char* line;
        bool whole = false;
    } steps[] = {
        {{{"mousemove", "--window", id, "68", "140"}, {"mousedown", "1"}}, "begin \"params.mix\"\n", true},
        {{{"mousemove", "--window", id, "68", "40"}}, "set \"params.mix\" \"0.5\"\n"},
        {{{"mouseup", "1"}}, "end \"params.mix\"\n"},
        {{{"mousemove", "--window", id, "176", "76"}, {"click", "1"}}, "set \"patch.name\" \"Init\"\n"},
    };
    for (const auto& step : steps) {
        for (const auto& command : step.commands)
            Xdotool(command);
        EXPECT_TRUE(WaitFor([&] {
            const std::string out = editor.Out();
            return step.whole ? out == step.line : out.ends_with(step.line);
        })) << editor.Out();
    }
    std::vector<std::string> lines;
    std::istringstream out(editor.Out());
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), "begin \"params.mix\"");
    for (size_t i = 1; i + 2 < lines.size(); ++i)
        EXPECT_TRUE(lines[i].starts_with("set \"params.mix\" \"")) << lines[i];
    EXPECT_EQ(lines[lines.size() - 2], "end \"params.mix\"");

    // The knob's dial and the caption show the new values, read back from the X server.
    EXPECT_TRUE(shows(edited, kUncovered)) << differences << " pixels differ";

    editor.Signal(SIGTERM);
    EXPECT_EQ(editor.Wait(), 0);
    EXPECT_EQ(editor.Err(), "");
}

TEST_F(EditorWindowTest, SignalsEndTheEditorFromInsideADialogAsACancel)
{
    // Editors whose one view, clicked, asks with an alert or a menu whose every answer sets x.
    const auto asking = [this](const std::string& name, const std::string& action) {
        return WriteBundle(name, "bounds: { 0, 0, 100, 60 }, views: { { type: click, " + action + " } }");
    };
    const struct {
        fs::path bundle;
        GdkWindowTypeHint asks;
        int signal;
        bool typed = false;  // a new name typed into the dialog, never confirmed
    } cases[] = {
        // The patch's name opens the text-edit dialog.
        {kSample, GDK_WINDOW_TYPE_HINT_DIALOG, SIGTERM, true},
        {kSample, GDK_WINDOW_TYPE_HINT_DIALOG, SIGINT},
        {asking("alert", "action: alert, params: { reactions: { ok: { set, { x, 1 } }, cancel: { set, { x, 0 } } } }"),
         GDK_WINDOW_TYPE_HINT_DIALOG, SIGTERM},
        {asking("menu", "action: popup, params: { items: { { One, set, { x, 1 } } } }"),
         GDK_WINDOW_TYPE_HINT_POPUP_MENU, SIGINT},
    };
    for (const auto& c : cases) {
        const std::string name = c.bundle.filename().string() + " " + std::to_string(c.signal);
        EditorProcess editor(fDirectory, {c.bundle});
        unsigned long xid = 0;
        ASSERT_TRUE(WaitFor([&] { return (xid = editor.FindWindow()) != 0; })) << name << editor.Err();
        Xdotool({"mousemove", "--window", std::to_string(xid), "60", "24"});
        Xdotool({"click", "1"});
        ASSERT_TRUE(WaitFor([&] { return editor.Shows(c.asks); })) << name;
        if (c.typed)
            Xdotool({"type", "Renamed"});
        editor.Signal(c.signal);
        // Within a second, as a cancel: nothing stored.
        EXPECT_EQ(editor.Wait(std::chrono::seconds(1)), 0) << name;
        EXPECT_EQ(editor.Out(), "") << name;
        EXPECT_EQ(editor.Err(), "") << name;
    }
}

TEST_F(EditorWindowTest, EveryViewFollowsTheVariablesThatInputStores)
{
    // A console that echoes typed keys (no cursor, so that it draws alike active or not), a slider
    // outside a nested view and, in the nested view, a button that sets the slider's variable.
    const std::string bundle = WriteBundle("bundle", R"({
        bounds: { 0, 0, 240, 100 },
        views: {
          { type: rectangle, fill: { 40, 44, 52 } },
          { type: console, bounds: { 8, 8, 150, 40 }, dimensions: { 10, 2 }, outputVariable: shown,
            inputVariable: typed, font: { face: "DejaVu Sans", size: 13, color: white },
            cursor: { character: "" } },
          { type: slider, bounds: { 8, 60, 80, 24 }, variable: level, range: { 0, 1 }, default: 0,
            slit: { start: { 8, 12 }, end: { 72, 12 }, thickness: 4, color: { 90, 96, 112 } },
            cap: { rounded: 100, size: { 14, 14 }, color: { 170, 180, 200 } } },
          { type: velto, bounds: { 120, 56, 100, 32 }, layoutVariable: page, transitions: false }
        } })");
    Write("bundle/Resources/Inner.velto", R"({ views: {
          { type: button, bounds: { 0, 0, 100, 32 }, caption: Up, action: set, params: { level, 1 },
            standard: { fill: { 80, 88, 104 }, font: { face: "DejaVu Sans", size: 12, color: white } } }
        } })");
    // Each row opens the editor with the variables, gives it the input ("ID" stands for the
    // window) and waits for the output's last line to begin with the text; the window must then
    // show, in the rectangle, the headless render with the same variables and the expected ones
    // ("$" stands for the value that the last line printed). The closing input ends the row.
    const struct {
        std::string resources;
        std::vector<std::string> opening;
        std::vector<std::vector<std::string>> input;
        std::string line;
        std::vector<std::string> expected;
        int left, top, right, bottom;
        std::vector<std::vector<std::string>> closing;
    } rows[] = {
        // The meter follows the knob during the drag.
        {kSample.string(), {}, {{"mousemove", "--window", "ID", "68", "140"}, {"mousedown", "1"},
                                {"mousemove", "--window", "ID", "68", "90"}},
         "set \"params.mix\" \"", {"params.mix=$"}, 140, 100, 300, 160, {{"mouseup", "1"}}},
        // The keys typed into the clicked console of the focused window echo; Return stores them.
        {bundle, {}, {{"windowfocus", "--sync", "ID"}, {"mousemove", "--window", "ID", "40", "20"}, {"click", "1"},
                      {"type", "ab"}, {"key", "Return"}},
         "set \"typed\" \"ab\\n\"", {"shown=ab"}, 8, 8, 150, 40, {}},
        // An action inside the nested view moves the slider outside it.
        {bundle, {"page=Inner"}, {{"mousemove", "--window", "ID", "170", "72"}, {"click", "1"}},
         "set \"level\" \"1\"", {"level=1"}, 8, 60, 88, 84, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        std::vector<std::string> arguments = {row.resources}, options;
        for (const std::string& variable : row.opening)
            options.insert(options.end(), {"--set", variable});
        arguments.insert(arguments.end(), options.begin(), options.end());
        EditorProcess editor(fDirectory, arguments);
        unsigned long xid = 0;
        ASSERT_TRUE(WaitFor([&] { return (xid = editor.FindWindow()) != 0; })) << editor.Err();
        for (std::vector<std::string> command : row.input) {
            std::replace(command.begin(), command.end(), std::string("ID"), std::to_string(xid));
            Xdotool(command);
        }
        std::string last;
        EXPECT_TRUE(WaitFor([&] {
            const std::string out = editor.Out();
            const size_t start = out.size() < 2 ? 0 : out.rfind('\n', out.size() - 2) + 1;
            last = out.substr(start);
            return last.starts_with(row.line);
        })) << editor.Out();
        // The value of the last line, without its closing quote and line end.
        const std::string value =
            last.starts_with(row.line) ? last.substr(row.line.size(), last.size() - row.line.size() - 2) : "";
        for (const std::string& variable : row.expected) {
            const bool printed = variable.ends_with('$');
            const std::string stored = printed ? variable.substr(0, variable.size() - 1) + value : variable;
            options.insert(options.end(), {"--set", stored});
        }
        const Image expected = Render(options, row.resources);
        int differences = -1;
        EXPECT_TRUE(WaitFor([&] {
            differences = CountDifferences(ReadWindow(xid), expected, row.left, row.top, row.right, row.bottom);
            return differences == 0;
        })) << differences << " pixels differ (-1: the window is another size)";
        for (const auto& command : row.closing)
            Xdotool(command);
        editor.Signal(SIGTERM);
        EXPECT_EQ(editor.Wait(), 0);
        EXPECT_EQ(editor.Err(), "");
    }
}

TEST_F(EditorWindowTest, AnEditorThatCannotLoadOpensNoWindow)
{
    const fs::path bundle = WriteBundle("bundle", "bounds: { 0, 0, 40, 30 }, views: { { type: dial } }");
    EditorProcess editor(fDirectory, {bundle.string()});
    EXPECT_EQ(editor.Wait(), 1);
    EXPECT_EQ(editor.Err(), "error: Unrecognized view type : \"dial\"\n");
    EXPECT_EQ(Xdotool({"search", "--name", "^Marovell$"}), "");
}

} // namespace
