#include "platform/modal_run.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <vector>

namespace Platform {

namespace {

struct ModalRun {
  GMainLoop* fLoop = nullptr;
  std::int32_t fCode = 0;
  bool fStopped = false;

  void Stop(std::int32_t code) {
    fCode = code;
    fStopped = true;
    g_main_loop_quit(fLoop);
  }
};

// The active runs of modal windows, the innermost last.
std::vector<ModalRun*> gRuns;
// Every active nested loop, those of the runs included.
std::vector<GMainLoop*> gLoops;
bool gCancelled = false;

}  // namespace

std::int32_t RunModalWindow(GtkWindow* window, GtkWindow* parent, std::int32_t cancelCode) {
  if (gCancelled) return cancelCode;
  g_object_ref(window);
  ModalRun run;
  run.fLoop = g_main_loop_new(nullptr, FALSE);
  const gulong destroyHandler = g_signal_connect(
      window, "destroy", G_CALLBACK(+[](GtkWidget*, gpointer data) { static_cast<ModalRun*>(data)->Stop(0); }), &run);
  gtk_window_set_modal(window, TRUE);
  if (parent != nullptr && parent != window) gtk_window_set_transient_for(window, parent);
  gRuns.push_back(&run);
  gtk_window_present(window);
  // A stop that came before the loop runs (while the window was presented) is not lost.
  if (!run.fStopped) RunNestedLoop(run.fLoop);
  gRuns.erase(std::find(gRuns.begin(), gRuns.end(), &run));
  // Destruction drops the handlers itself.
  if (g_signal_handler_is_connected(window, destroyHandler)) g_signal_handler_disconnect(window, destroyHandler);
  gtk_widget_hide(GTK_WIDGET(window));
  g_main_loop_unref(run.fLoop);
  g_object_unref(window);
  return gCancelled ? cancelCode : run.fCode;
}

void StopModalRun(std::int32_t code) {
  if (!gRuns.empty()) gRuns.back()->Stop(code);
}

bool RunNestedLoop(GMainLoop* loop) {
  if (gCancelled) return false;
  gLoops.push_back(loop);
  g_main_loop_run(loop);
  gLoops.erase(std::find(gLoops.begin(), gLoops.end(), loop));
  return !gCancelled;
}

void CancelModalRuns() {
  gCancelled = true;
  for (GMainLoop* loop : gLoops) g_main_loop_quit(loop);
}

}  // namespace Platform
