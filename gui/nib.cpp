#include "gui/nib.h"

#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "base/exceptions.h"

namespace Wex {

namespace {

const char* IdOf(GObject* object) { return GTK_IS_BUILDABLE(object) ? gtk_buildable_get_name(GTK_BUILDABLE(object)) : nullptr; }

// The builder's objects with one reference each.
class BuiltObjects {
 public:
  explicit BuiltObjects(GtkBuilder* builder) {
    GSList* objects = gtk_builder_get_objects(builder);
    for (GSList* o = objects; o != nullptr; o = o->next) fObjects.push_back(G_OBJECT(g_object_ref(o->data)));
    g_slist_free(objects);
  }
  ~BuiltObjects() {
    for (GObject* object : fObjects) g_object_unref(object);
  }
  BuiltObjects(const BuiltObjects&) = delete;
  BuiltObjects& operator=(const BuiltObjects&) = delete;

  // The object of the kind with the id, else the only object of the kind; null when there is
  // none or more than one.
  template <class IsKind>
  GObject* Find(const char* id, IsKind isKind) const {
    GObject* only = nullptr;
    int count = 0;
    for (GObject* object : fObjects) {
      if (!isKind(object)) continue;
      if (g_strcmp0(IdOf(object), id) == 0) return object;
      only = object;
      ++count;
    }
    return count == 1 ? only : nullptr;
  }

  // Destroys every toplevel window but the one kept.
  void DestroyWindowsBut(GObject* kept) const {
    for (GObject* object : fObjects) {
      if (object != kept && GTK_IS_WINDOW(object)) gtk_widget_destroy(GTK_WIDGET(object));
    }
  }

 private:
  std::vector<GObject*> fObjects;
};

// A builder over the resource's file; the windows of a file that fails are destroyed.
GtkBuilder* OpenBuilder(const rcResourceFile& bundle, const refString& name) {
  std::string contents;
  try {
    const ref<rcResourceStream> stream = OpenBundleResource(bundle, "ui", name ? name->GetText() : std::string_view());
    contents.resize(static_cast<std::size_t>(stream->GetLength()));
    stream->Read(contents.data(), stream->GetLength());
  } catch (const std::exception&) {
    throw xExceptionWithRCString("Could not open dialog resource");
  }
  // The builder takes a truncated file for a complete one: the file is checked whole first.
  GMarkupParser parser{};
  GMarkupParseContext* check = g_markup_parse_context_new(&parser, GMarkupParseFlags(0), nullptr, nullptr);
  const bool wellFormed =
      g_markup_parse_context_parse(check, contents.data(), static_cast<gssize>(contents.size()), nullptr) &&
      g_markup_parse_context_end_parse(check, nullptr);
  g_markup_parse_context_free(check);
  if (!wellFormed) throw xExceptionWithRCString("Could not open dialog resource");
  GtkBuilder* builder = gtk_builder_new();
  GError* error = nullptr;
  if (gtk_builder_add_from_string(builder, contents.data(), static_cast<gsize>(contents.size()), &error) == 0) {
    g_error_free(error);
    BuiltObjects(builder).DestroyWindowsBut(nullptr);
    g_object_unref(builder);
    throw xExceptionWithRCString("Could not open dialog resource");
  }
  return builder;
}

// Takes the object that `find` chooses among the resource's objects, or throws `missing`.
template <class Find>
GObject* Take(const rcResourceFile& bundle, const refString& name, Find find, const char* missing) {
  GtkBuilder* builder = OpenBuilder(bundle, name);
  GObject* taken = nullptr;
  {
    const BuiltObjects objects(builder);
    taken = find(objects);
    if (taken != nullptr) g_object_ref(taken);
    objects.DestroyWindowsBut(taken);
  }
  g_object_unref(builder);
  if (taken == nullptr) throw xExceptionWithRCString(missing);
  return taken;
}

}  // namespace

GtkWindow* LoadDialogWindow(const rcResourceFile& bundle, const refString& name) {
  return GTK_WINDOW(Take(
      bundle, name,
      [](const BuiltObjects& objects) { return objects.Find("window", [](GObject* o) { return GTK_IS_WINDOW(o); }); },
      "Missing window resource"));
}

GtkWidget* LoadDialogView(const rcResourceFile& bundle, const refString& name) {
  return GTK_WIDGET(Take(
      bundle, name,
      [](const BuiltObjects& objects) {
        return objects.Find("view", [](GObject* o) {
          return GTK_IS_WIDGET(o) && !GTK_IS_WINDOW(o) && gtk_widget_get_parent(GTK_WIDGET(o)) == nullptr;
        });
      },
      "Missing view resource"));
}

}  // namespace Wex
