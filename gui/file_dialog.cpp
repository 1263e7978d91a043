#include "gui/file_dialog.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "gui/nib.h"
#include "gui/toolkit_text.h"
#include "platform/modal_run.h"
#include "platform/text.h"

namespace Wex {

namespace {

void CopyText(char (&to)[128], const char* from) {
  const std::size_t length = from != nullptr ? strnlen(from, sizeof to - 1) : 0;
  std::memcpy(to, from != nullptr ? from : "", length);
  std::memset(to + length, 0, sizeof to - length);
}

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return g_ascii_tolower(c); });
  return text;
}

bool HasExtension(const std::string& name, const std::string& lowercaseExtension) {
  const std::string lowercase = Lowercase(name);
  return lowercase.size() > lowercaseExtension.size() &&
         lowercase.compare(lowercase.size() - lowercaseExtension.size() - 1, std::string::npos,
                           "." + lowercaseExtension) == 0;
}

// A path of a file name in the file-system encoding (taken over); names that are no UTF-8 keep
// their readable part. Null for none.
ref<rcFileSystemPath> ToFileSystemPath(gchar* filename, const std::string& appendedExtension = {}) {
  if (filename == nullptr) return nullptr;
  gchar* utf8 = g_filename_to_utf8(filename, -1, nullptr, nullptr, nullptr);
  std::string name = utf8 != nullptr ? utf8 : filename;
  g_free(utf8);
  g_free(filename);
  if (!appendedExtension.empty() && !HasExtension(name, Lowercase(appendedExtension))) {
    name += "." + appendedExtension;
  }
  return ref<rcFileSystemPath>(new rcFileSystemPath(
      ref<rcMacCFObject>(new rcMacCFObject(ref<rc>(new Platform::rcCFURL(QorFiles::Path(UTF8ToWide(name))))))));
}

// Shows the folder of the path in the chooser.
void ShowFolder(GtkWidget* chooser, const rcFileSystemPath& folder) {
  const std::string utf8 = ToQorFilesPath(folder.GetURL().Get()).GetNativeText();
  gchar* filename = g_filename_from_utf8(utf8.c_str(), static_cast<gssize>(utf8.size()), nullptr, nullptr, nullptr);
  if (filename != nullptr) gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), filename);
  g_free(filename);
}

}  // namespace

cFileType::cFileType(const char* description, const char* extension, std::uint32_t typeCode)
    : fCreator{'?', '?', '?', '?'}, fTypeCode(typeCode) {
  CopyText(fDescription, description);
  CopyText(fExtension, extension);
}

rcMacCocoaFileDialog::rcMacCocoaFileDialog(bool save, const refString& title) {
  const GtkFileChooserAction action = save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
  fChooser = GTK_WIDGET(g_object_ref_sink(
      gtk_file_chooser_dialog_new(nullptr, nullptr, action, "_Cancel", GTK_RESPONSE_CANCEL,
                                  save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr)));
  if (title) gtk_window_set_title(GTK_WINDOW(fChooser), ToToolkitText(title).c_str());
  if (save) gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(fChooser), TRUE);
  g_signal_connect(fChooser, "response", G_CALLBACK(+[](GtkDialog*, gint response, gpointer) {
                     Platform::StopModalRun(response == GTK_RESPONSE_ACCEPT ? 1 : 0);
                   }),
                   nullptr);
  g_signal_connect(fChooser, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer) { return TRUE; }),
                   nullptr);
}

rcMacCocoaFileDialog::~rcMacCocoaFileDialog() { rcMacCocoaFileDialog::Close(); }

void rcMacCocoaFileDialog::SetAccessoryView(const ref<rcResourceFile>& resourceFile, const refString& nibName,
                                            const refString&, std::uint32_t, const iref<iDialogHandler>& handler) {
  fAccessoryFile = resourceFile;
  fAccessoryNib = nibName;
  fAccessoryHandler = handler;
}

void rcMacCocoaFileDialog::SetFileTypes(const cFileType* const* types, std::int64_t count) {
  // No types offer every file.
  if (count == 0) return;
  auto* extensions = new std::vector<std::string>();
  std::string name;
  for (std::int64_t i = 0; i < count; ++i) {
    extensions->push_back(Lowercase(Platform::Latin1ToUTF8(types[i]->fExtension)));
    name += (i > 0 ? ", " : "") + Platform::Latin1ToUTF8(types[i]->fDescription);
  }
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, name.c_str());
  gtk_file_filter_add_custom(
      filter, GTK_FILE_FILTER_DISPLAY_NAME,
      [](const GtkFileFilterInfo* info, gpointer data) -> gboolean {
        const auto& extensions = *static_cast<const std::vector<std::string>*>(data);
        return info->display_name != nullptr &&
               std::any_of(extensions.begin(), extensions.end(),
                           [&](const std::string& e) { return HasExtension(info->display_name, e); });
      },
      extensions, [](gpointer data) { delete static_cast<std::vector<std::string>*>(data); });
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(fChooser), filter);
}

bool rcMacCocoaFileDialog::Run() {
  const ref<rcMacCocoaFileDialog> self(this);
  const iref<iFileDialog> dialog(self);
  struct Uninstaller {
    rcMacCocoaFileDialog& fDialog;
    ~Uninstaller() { fDialog.Uninstall(); }
  } uninstaller{*this};
  if (fChooser == nullptr) return false;

  if (fListener) {
    fDelegate = new comkelvane_brimlib_20150413151123_FileDialogDelegate(this);
    fDelegateHandlers[0] = g_signal_connect(fChooser, "current-folder-changed",
                                            G_CALLBACK(+[](GtkFileChooser*, gpointer delegate) {
                                              static_cast<comkelvane_brimlib_20150413151123_FileDialogDelegate*>(delegate)
                                                  ->panelDidChangeToDirectory();
                                            }),
                                            fDelegate.Get());
    fDelegateHandlers[1] = g_signal_connect(fChooser, "selection-changed",
                                            G_CALLBACK(+[](GtkFileChooser*, gpointer delegate) {
                                              static_cast<comkelvane_brimlib_20150413151123_FileDialogDelegate*>(delegate)
                                                  ->panelSelectionDidChange();
                                            }),
                                            fDelegate.Get());
  }

  iref<iDialogHandler> openedHandler;
  if (fAccessoryNib) {
    if (!fAccessoryFile) throw xExceptionWithRCString("Could not open dialog resource");
    GtkWidget* view = LoadDialogView(*fAccessoryFile, fAccessoryNib);
    fAccessory = new CocoaAccessoryDialog(ref<rcExtWindow>(new rcExtWindow(GTK_WINDOW(fChooser))), view);
    g_object_unref(view);
    fItemTarget = new comkelvane_brimlib_20150413151123_DialogItemTarget(iref<iDialog>(fAccessory), fAccessoryHandler);
    ConnectControls(view, *fItemTarget);
    gtk_widget_show(view);
    gtk_file_chooser_set_extra_widget(GTK_FILE_CHOOSER(fChooser), view);
    openedHandler = fAccessoryHandler;
    if (openedHandler) openedHandler->DialogOpening(iref<iDialog>(fAccessory));
  }

  fRunStarted = true;
  const std::int32_t result = RunPanel();
  if (const iref<iFileDialogOKCancelHandler> handler = fOKCancelHandler) {
    if (result == 1) {
      handler->FileDialogOK(dialog);
    } else {
      handler->FileDialogCancelled(dialog);
    }
  }
  if (openedHandler) openedHandler->DialogClosed(iref<iDialog>(fAccessory));
  return result == 1;
}

std::int32_t rcMacCocoaFileDialog::RunPanel() {
  return fChooser != nullptr ? Platform::RunModalWindow(GTK_WINDOW(fChooser), nullptr, 0) : 0;
}

void rcMacCocoaFileDialog::Uninstall() {
  if (fChooser != nullptr) {
    for (unsigned long& handler : fDelegateHandlers) {
      if (handler != 0) g_signal_handler_disconnect(fChooser, handler);
      handler = 0;
    }
    gtk_file_chooser_set_extra_widget(GTK_FILE_CHOOSER(fChooser), nullptr);
  }
  fDelegate = nullptr;
  fItemTarget = nullptr;
  fAccessory = nullptr;
}

ref<rcFileSystemPath> rcMacCocoaFileDialog::GetPath() {
  if (fChooser == nullptr || !fRunStarted) return nullptr;
  return ToFileSystemPath(gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(fChooser)), fAppendedExtension);
}

ref<rcFileSystemPath> rcMacCocoaFileDialog::GetDirectory() {
  if (fChooser == nullptr) return nullptr;
  return ToFileSystemPath(gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(fChooser)));
}

bool rcMacCocoaFileDialog::SetDirectory(const ref<rcFileSystemPath>& folder) {
  if (fChooser != nullptr && folder) ShowFolder(fChooser, *folder);
  return true;
}

void rcMacCocoaFileDialog::Close() {
  Uninstall();
  if (fChooser != nullptr) {
    gtk_widget_destroy(fChooser);
    g_object_unref(fChooser);
    fChooser = nullptr;
  }
  fAccessoryFile = nullptr;
  fAccessoryHandler = nullptr;
  fListener = nullptr;
  fOKCancelHandler = nullptr;
}

rcMacCocoaOpenFileDialog::rcMacCocoaOpenFileDialog(const ref<rcVector<ref<rcFileType>>>& types,
                                                   const ref<rcFileSystemPath>& startFolder, const refString& title)
    : rcMacCocoaFileDialog(false, title), fStartFolder(startFolder) {
  if (!types) return;
  std::vector<const cFileType*> list;
  for (const ref<rcFileType>& type : *types) {
    if (type) list.push_back(&type->Get());
  }
  SetFileTypes(list.data(), static_cast<std::int64_t>(list.size()));
}

bool rcMacCocoaOpenFileDialog::ReservedQuery() { throw xExceptionWithRCString("Method is not available"); }
void rcMacCocoaOpenFileDialog::ReservedCommand() { throw xExceptionWithRCString("Method is not available"); }

std::int32_t rcMacCocoaOpenFileDialog::RunPanel() {
  if (GetChooser() != nullptr && fStartFolder) ShowFolder(GetChooser(), *fStartFolder);
  return rcMacCocoaFileDialog::RunPanel();
}

rcMacCocoaSaveFileDialog::rcMacCocoaSaveFileDialog(const ref<rcFileType>& type, const ref<rcVector<UniChar>>& fileName,
                                                   const ref<rcFileSystemPath>& startFolder, const refString& title)
    : rcMacCocoaFileDialog(true, title) {
  if (fileName) {
    const std::string name = Platform::UTF16ToUTF8(fileName->GetData(), static_cast<std::size_t>(fileName->GetSize()));
    gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(GetChooser()), name.c_str());
  }
  if (startFolder) ShowFolder(GetChooser(), *startFolder);
  if (type) {
    const cFileType* types[] = {&type->Get()};
    SetFileTypes(types, 1);
    SetAppendedExtension(Platform::Latin1ToUTF8(type->Get().fExtension));
  }
}

}  // namespace Wex

void comkelvane_brimlib_20150413151123_FileDialogDelegate::panelDidChangeToDirectory() {
  try {
    const iref<Wex::iFileDialogListener> listener = fileDialog->GetListener();
    if (listener) listener->DirectoryChanged(iref<Wex::iFileDialog>(fileDialog));
  } catch (...) {
  }
}

void comkelvane_brimlib_20150413151123_FileDialogDelegate::panelSelectionDidChange() {
  try {
    const iref<Wex::iFileDialogListener> listener = fileDialog->GetListener();
    if (listener) listener->SelectionChanged(iref<Wex::iFileDialog>(fileDialog));
  } catch (...) {
  }
}
