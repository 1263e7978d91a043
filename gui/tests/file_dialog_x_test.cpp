// Open and save choosers on a private X display, answered from inside.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/files.h"
#include "gui/file_dialog.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/tests/modal_driver.h"
#include "gui/tests/x_harness.h"

namespace {

using GuiTest::ErrorOf;
using GuiTest::Repeat;
using Log = std::vector<std::string>;

std::string PathText(const ref<Wex::rcFileSystemPath>& path) {
  return path ? Wex::WideToUTF8(Wex::ToQorFilesPath(path->GetURL().Get()).GetText()) : "null";
}

ref<Wex::rcFileSystemPath> MakePath(const std::filesystem::path& path) {
  return ref<Wex::rcFileSystemPath>(new Wex::rcFileSystemPath(ref<Wex::rcMacCFObject>(
      new Wex::rcMacCFObject(ref<Wex::rc>(new Platform::rcCFURL(QorFiles::Path(Wex::UTF8ToWide(path.string()))))))));
}

ref<Wex::rcFileType> Type(const char* description, const char* extension) {
  return ref<Wex::rcFileType>(new Wex::rcFileType(Wex::cFileType(description, extension, 0x46505868)));
}

// Logs the handlers' and the listener's calls; the listener throws on every call.
class rcLogger : public Wex::rc,
                 public Wex::iFileDialogListener,
                 public Wex::iFileDialogOKCancelHandler,
                 public Wex::iDialogHandler {
 public:
  Log fLog;
  int fListened = 0;

  void DirectoryChanged(const iref<Wex::iFileDialog>& dialog) override { Listened(dialog); }
  void SelectionChanged(const iref<Wex::iFileDialog>& dialog) override { Listened(dialog); }
  void FileDialogOK(const iref<Wex::iFileDialog>&) override { fLog.push_back("ok"); }
  void FileDialogCancelled(const iref<Wex::iFileDialog>&) override { fLog.push_back("cancelled"); }
  void DialogOpening(const iref<Wex::iDialog>& dialog) override {
    fLog.push_back(dialog ? "opening" : "opening null");
    dialog->SetItemState(1, true);
  }
  bool ItemAction(const iref<Wex::iDialog>& dialog, std::int32_t tag) override {
    fLog.push_back("action " + std::to_string(tag));
    dialog->EndModal(7);
    return true;
  }
  void DialogClosed(const iref<Wex::iDialog>& dialog) override {
    fLog.push_back(dialog ? "closed " + std::to_string(dialog->GetItemState(1)) : "closed null");
  }

 private:
  void Listened(const iref<Wex::iFileDialog>& dialog) {
    ++fListened;
    if (!dialog) fLog.push_back("listener got no dialog");
    throw std::runtime_error("dropped by the chooser");
  }
};

class FileDialogOnX : public ::testing::Test {
 protected:
  FileDialogOnX() {
    fBundle.WriteResource("Accessory", "ui", GuiTest::SourceFile("gui/tests/accessory.ui"));
    fBundle.WriteResource("Items", "ui", GuiTest::SourceFile("gui/tests/dialog_items.ui"));
    fBundle.WriteFile("files/a.txt", "a");
    fBundle.WriteFile("files/b.DAT", "b");
  }

  // Runs the dialog, acting on the chooser when it shows until the act succeeds and the run
  // ends. A chooser that still loads its folder ignores an accept: the act is repeated every
  // half second while the chooser stays.
  bool Run(Wex::rcMacCocoaFileDialog& dialog, std::function<bool(GtkFileChooser*)> act) {
    bool finished = false;
    Repeat([&dialog, &finished, act, acted = false, wait = 0]() mutable {
      GtkWidget* chooser = dialog.GetChooser();
      if (chooser == nullptr || !gtk_widget_get_mapped(chooser)) return finished = acted;
      if (wait-- > 0) return false;
      acted = act(GTK_FILE_CHOOSER(chooser));
      wait = acted ? 50 : 0;
      return false;
    });
    const bool confirmed = dialog.Run();
    EXPECT_TRUE(GuiTest::RunUntil([&] { return finished; }));
    return confirmed;
  }

  static bool Accept(GtkFileChooser* chooser) {
    gtk_button_clicked(GTK_BUTTON(gtk_dialog_get_widget_for_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT)));
    return true;
  }

  std::filesystem::path Files() const { return fBundle.GetFolder() / "files"; }

  ResourcesTest::TemporaryBundle fBundle;
  ref<rcLogger> fLogger{new rcLogger()};
};

TEST_F(FileDialogOnX, AnOpenDialogChoosesAFileOfItsTypesAndTellsItsHandlers) {
  const ref<Wex::rcVector<ref<Wex::rcFileType>>> types(new Wex::rcVector<ref<Wex::rcFileType>>());
  types->Append(Type("Data", "dat"));
  types->Append(Type("Banks", "fxb"));
  const ref<Wex::rcMacCocoaOpenFileDialog> dialog(
      new Wex::rcMacCocoaOpenFileDialog(types, MakePath(Files()), Wex::MakeRCString("Open \xe9")));
  EXPECT_EQ(PathText(dialog->GetPath()), "null");
  EXPECT_EQ(std::string(gtk_window_get_title(GTK_WINDOW(dialog->GetChooser()))), "Open \u00e9");
  dialog->SetListener(iref<Wex::iFileDialogListener>(fLogger));
  dialog->SetOKCancelHandler(iref<Wex::iFileDialogOKCancelHandler>(fLogger));
  const std::string chosen = (Files() / "b.DAT").string();
  bool filtered = false;
  EXPECT_TRUE(Run(*dialog, [&](GtkFileChooser* chooser) {
    gtk_file_chooser_select_filename(chooser, chosen.c_str());
    gchar* selected = gtk_file_chooser_get_filename(chooser);
    const bool ready = g_strcmp0(selected, chosen.c_str()) == 0;
    g_free(selected);
    if (!ready) return false;
    // The types' extensions are matched without regard to case.
    GtkFileFilter* filter = gtk_file_chooser_get_filter(chooser);
    const auto matches = [filter](const char* name) {
      GtkFileFilterInfo info{GTK_FILE_FILTER_DISPLAY_NAME, nullptr, nullptr, name, nullptr};
      return gtk_file_filter_filter(filter, &info) != FALSE;
    };
    filtered = matches("b.DAT") && matches("c.fxb") && !matches("a.txt") && !matches("dat");
    return Accept(chooser);
  }));
  EXPECT_TRUE(filtered);
  EXPECT_EQ(PathText(dialog->GetPath()), chosen);
  EXPECT_EQ(PathText(dialog->GetDirectory()), Files().string());
  // The listener's calls arrived; what they threw was dropped.
  EXPECT_GT(fLogger->fListened, 0);
  EXPECT_EQ(fLogger->fLog, Log{"ok"});
  EXPECT_EQ(ErrorOf([&] { dialog->ReservedQuery(); }), "Method is not available");

  EXPECT_FALSE(Run(*dialog, [](GtkFileChooser* chooser) {
    gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_CANCEL);
    return true;
  }));
  EXPECT_EQ(fLogger->fLog, (Log{"ok", "cancelled"}));
}

TEST_F(FileDialogOnX, ASaveDialogAppendsTheExtensionThatTheNameLacks) {
  const std::pair<const char16_t*, std::string> names[] = {{u"Patch \u00e9", "Patch \u00e9.fxp"},
                                                           {u"Bank.FXP", "Bank.FXP"}};
  for (const auto& [name, expected] : names) {
    const ref<Wex::rcVector<UniChar>> units(
        new Wex::rcVector<UniChar>(name, static_cast<std::int64_t>(std::char_traits<char16_t>::length(name))));
    const ref<Wex::rcMacCocoaSaveFileDialog> dialog(
        new Wex::rcMacCocoaSaveFileDialog(Type("Patch", "fxp"), units, MakePath(Files()), nullptr));
    EXPECT_TRUE(dialog->ReservedQuery());
    EXPECT_TRUE(Run(*dialog, Accept));
    EXPECT_EQ(PathText(dialog->GetPath()), (Files() / expected).string());
    EXPECT_EQ(PathText(dialog->GetDirectory()), Files().string());
  }
}

TEST_F(FileDialogOnX, AnAccessoryEndsTheRunWithoutConfirming) {
  const ref<Wex::rcMacCocoaSaveFileDialog> dialog(
      new Wex::rcMacCocoaSaveFileDialog(nullptr, nullptr, nullptr, nullptr));
  dialog->SetAccessoryView(Wex::GetCurrentImageBundle(), Wex::MakeRCString("Accessory"), nullptr, 0,
                           iref<Wex::iDialogHandler>(fLogger));
  dialog->SetOKCancelHandler(iref<Wex::iFileDialogOKCancelHandler>(fLogger));
  GtkWidget* shownAccessory = nullptr;
  EXPECT_FALSE(Run(*dialog, [&](GtkFileChooser* chooser) {
    shownAccessory = gtk_file_chooser_get_extra_widget(chooser);
    GuiTest::ClickById(shownAccessory, "tag-7");
    return true;
  }));
  EXPECT_NE(shownAccessory, nullptr);
  EXPECT_EQ(fLogger->fLog, (Log{"opening", "action 7", "cancelled", "closed 1"}));
  // The accessory is gone after the run.
  EXPECT_EQ(gtk_file_chooser_get_extra_widget(GTK_FILE_CHOOSER(dialog->GetChooser())), nullptr);
}

TEST_F(FileDialogOnX, AnAccessoryThatCannotLoadFailsTheRunAndLeavesNothingInstalled) {
  const ref<Wex::rcMacCocoaOpenFileDialog> dialog(new Wex::rcMacCocoaOpenFileDialog(nullptr, nullptr, nullptr));
  dialog->SetListener(iref<Wex::iFileDialogListener>(fLogger));
  const std::pair<const char*, std::string> accessories[] = {{"Items", "Missing view resource"},
                                                             {"", "Could not open dialog resource"}};
  for (const auto& accessory : accessories) {
    dialog->SetAccessoryView(Wex::GetCurrentImageBundle(), Wex::MakeRCString(accessory.first), nullptr, 0,
                             iref<Wex::iDialogHandler>(fLogger));
    EXPECT_EQ(ErrorOf([&] { dialog->Run(); }), accessory.second);
  }
  // No delegate stays: changes after the run reach no listener.
  const int listened = fLogger->fListened;
  gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog->GetChooser()), Files().c_str());
  GuiTest::RunUntil([] { return false; }, 200);
  EXPECT_EQ(fLogger->fListened, listened);
  // The accessory handler heard nothing of views that never loaded.
  EXPECT_EQ(fLogger->fLog, Log{});
}

}  // namespace
