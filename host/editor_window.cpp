#include "host/editor_window.h"

#include <csignal>

#include <glib-unix.h>
#include <gtk/gtk.h>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "gui/embedded_view.h"
#include "platform/modal_run.h"
#include "plugin/plugin_controller.h"

namespace Marovell {

namespace {

// The host's window: a toplevel holding the fixed container that stands for the host's view.
// It goes with this object; the editor must be closed before.
class HostWindow {
public:
    HostWindow(const std::string& title, int32_t width, int32_t height)
        : fWindow(gtk_window_new(GTK_WINDOW_TOPLEVEL)), fView(gtk_fixed_new())
    {
        gtk_window_set_title(GTK_WINDOW(fWindow), Wex::WideToUTF8(Wex::Latin1ToWide(title)).c_str());
        gtk_window_set_resizable(GTK_WINDOW(fWindow), FALSE);
        gtk_widget_set_size_request(fView, width, height);
        gtk_container_add(GTK_CONTAINER(fWindow), fView);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow() { gtk_widget_destroy(fWindow); }

    GtkWidget* fWindow;
    GtkWidget* fView;
};

// The main loop, which the window's close box and the signals end. The editor is closed after the
// loop returns, never from inside a modal run that one of its views started: a signal cancels
// the open runs (and any that would start after it), so that the loop returns through them.
class MainLoop {
public:
    explicit MainLoop(GtkWidget* window) : fLoop(g_main_loop_new(nullptr, FALSE))
    {
        fDeleteHandler = g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), fLoop);
        fWindow = window;
        fSources[0] = g_unix_signal_add(SIGINT, OnSignal, fLoop);
        fSources[1] = g_unix_signal_add(SIGTERM, OnSignal, fLoop);
    }
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;
    ~MainLoop()
    {
        for (const guint source : fSources)
            g_source_remove(source);
        g_signal_handler_disconnect(fWindow, fDeleteHandler);
        g_main_loop_unref(fLoop);
    }

    void Run() { g_main_loop_run(fLoop); }

private:
    // The window stays until the editor is closed.
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer loop)
    {
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        return TRUE;
    }
    static gboolean OnSignal(gpointer loop)
    {
        Platform::CancelModalRuns();
        g_main_loop_quit(static_cast<GMainLoop*>(loop));
        return G_SOURCE_CONTINUE;
    }

    GMainLoop* fLoop;
    GtkWidget* fWindow;
    gulong fDeleteHandler;
    guint fSources[2];
};

} // namespace

void ShowEditorWindow(PlugInController& controller, int32_t width, int32_t height)
{
    if (!gtk_init_check(nullptr, nullptr))
        throw Exception("Cannot open the display; render the editor without one with --png OUT.png");
    HostWindow window(controller.GetApplicationName(), width, height);
    const Wex::cRect bounds{0, 0, width, height};
    const ref<Wex::rcNativeView> view(new Wex::rcNativeView(bounds));
    view->AttachToParentView(GTK_CONTAINER(window.fView));
    controller.Initialize(iref<Wex::iNativeView>(view), bounds);
    gtk_widget_show_all(window.fWindow);
    MainLoop loop(window.fWindow);
    loop.Run();
    controller.Close();
}

} // namespace Marovell
