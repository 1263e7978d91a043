#pragma once

// Open and save file choosers, with an optional accessory view loaded from a dialog resource
// (gui/nib.h) whose items are driven through iDialog, a listener of folder and selection
// changes, and a handler of how the run ended. Portable code sees only iFileDialog. Main thread
// only.

#include <cstdint>
#include <string>

#include "base/rc.h"
#include "base/rc_string.h"
#include "base/rc_vector.h"
#include "gui/dialog.h"
#include "platform/bundle.h"

typedef struct _GtkWidget GtkWidget;

namespace Wex {

// One file type that a chooser offers: only the extension counts here.
struct cFileType {
  // Each text is cut to 127 bytes and terminated; the creator is "????".
  cFileType(const char* description, const char* extension, std::uint32_t typeCode);

  char fDescription[128];
  char fCreator[4];
  std::uint32_t fTypeCode;
  char fExtension[128];
};

// A file type as callers hand it over.
class rcFileType : public rc {
 public:
  explicit rcFileType(const cFileType& type) : fType(type) {}
  const cFileType& Get() const { return fType; }

 private:
  cFileType fType;
};

class iFileDialogListener;
class iFileDialogOKCancelHandler;

class iFileDialog {
 public:
  // The accessory view: the resource `nibName` of the resource file, whose items report to the
  // handler. The view name and the code are not used here. Replaces the earlier one.
  virtual void SetAccessoryView(const ref<rcResourceFile>& resourceFile, const refString& nibName,
                                const refString& viewName, std::uint32_t code, const iref<iDialogHandler>& handler) = 0;
  virtual void SetOKCancelHandler(const iref<iFileDialogOKCancelHandler>& handler) = 0;
  virtual void SetListener(const iref<iFileDialogListener>& listener) = 0;
  // Shows the chooser modally; true when the user confirmed. Throws xExceptionWithRCString
  // "Could not open dialog resource" or "Missing view resource" for an accessory that cannot
  // load; exceptions of the handlers reach the caller.
  virtual bool Run() = 0;
  // The chosen file (null before any run) and the folder shown; null when there is none.
  virtual ref<rcFileSystemPath> GetPath() = 0;
  virtual ref<rcFileSystemPath> GetDirectory() = 0;
  // The folder to show; answers true.
  virtual bool SetDirectory(const ref<rcFileSystemPath>& folder) = 0;
  virtual bool ReservedQuery() = 0;
  virtual void ReservedCommand() = 0;
  // Destroys the chooser and releases the handlers; the dialog does nothing afterwards.
  virtual void Close() = 0;

 protected:
  virtual ~iFileDialog() = default;
};

// Calls arrive also while the chooser is set up and for changes made from code, sometimes
// repeatedly. Exceptions are dropped.
class iFileDialogListener {
 public:
  virtual void DirectoryChanged(const iref<iFileDialog>& dialog) = 0;
  virtual void SelectionChanged(const iref<iFileDialog>& dialog) = 0;

 protected:
  virtual ~iFileDialogListener() = default;
};

class iFileDialogOKCancelHandler {
 public:
  virtual void FileDialogOK(const iref<iFileDialog>& dialog) = 0;
  virtual void FileDialogCancelled(const iref<iFileDialog>& dialog) = 0;

 protected:
  virtual ~iFileDialogOKCancelHandler() = default;
};

class rcMacCocoaFileDialog;

}  // namespace Wex

// Passes the chooser's folder and selection changes to the dialog's listener of the moment.
class comkelvane_brimlib_20150413151123_FileDialogDelegate : public Wex::rc {
 public:
  explicit comkelvane_brimlib_20150413151123_FileDialogDelegate(Wex::rcMacCocoaFileDialog* dialog)
      : fileDialog(dialog) {}

  void panelDidChangeToDirectory();
  void panelSelectionDidChange();

 private:
  Wex::rcMacCocoaFileDialog* fileDialog;
};

namespace Wex {

class rcMacCocoaFileDialog : public rc, public iFileDialog {
 public:
  rcMacCocoaFileDialog(const rcMacCocoaFileDialog&) = delete;
  rcMacCocoaFileDialog& operator=(const rcMacCocoaFileDialog&) = delete;
  ~rcMacCocoaFileDialog() override;

  void SetAccessoryView(const ref<rcResourceFile>& resourceFile, const refString& nibName, const refString& viewName,
                        std::uint32_t code, const iref<iDialogHandler>& handler) override;
  void SetOKCancelHandler(const iref<iFileDialogOKCancelHandler>& handler) override { fOKCancelHandler = handler; }
  void SetListener(const iref<iFileDialogListener>& listener) override { fListener = listener; }
  bool Run() override;
  ref<rcFileSystemPath> GetPath() override;
  ref<rcFileSystemPath> GetDirectory() override;
  bool SetDirectory(const ref<rcFileSystemPath>& folder) override;
  void Close() override;

  const iref<iFileDialogListener>& GetListener() const { return fListener; }
  // The chooser dialog; null after Close.
  GtkWidget* GetChooser() const { return fChooser; }

 protected:
  // A chooser that opens (files) or saves, with its title (ISO Latin-1; null leaves none).
  rcMacCocoaFileDialog(bool save, const refString& title);

  // Runs the chooser modally: 1 when it was accepted, else 0.
  virtual std::int32_t RunPanel();
  // Offers only files with one of the types' extensions, compared without regard to case; no
  // types offer every file.
  void SetFileTypes(const cFileType* const* types, std::int64_t count);
  // The extension that a chosen name lacking it gets (UTF-8, without the dot).
  void SetAppendedExtension(std::string extension) { fAppendedExtension = std::move(extension); }

 private:
  // Removes the delegate and the accessory, as every exit from Run does.
  void Uninstall();

  ref<rcResourceFile> fAccessoryFile;
  // Null when no accessory is set; an empty name fails to load.
  refString fAccessoryNib;
  iref<iDialogHandler> fAccessoryHandler;
  iref<iFileDialogListener> fListener;
  iref<iFileDialogOKCancelHandler> fOKCancelHandler;
  GtkWidget* fChooser = nullptr;
  ref<comkelvane_brimlib_20150413151123_FileDialogDelegate> fDelegate;
  unsigned long fDelegateHandlers[2] = {0, 0};
  ref<comkelvane_brimlib_20150413151123_DialogItemTarget> fItemTarget;
  ref<CocoaAccessoryDialog> fAccessory;
  std::string fAppendedExtension;
  bool fRunStarted = false;
};

class rcMacCocoaOpenFileDialog : public rcMacCocoaFileDialog {
 public:
  // Types and start folder may be null.
  rcMacCocoaOpenFileDialog(const ref<rcVector<ref<rcFileType>>>& types, const ref<rcFileSystemPath>& startFolder,
                           const refString& title);

  // Raise "Method is not available".
  bool ReservedQuery() override;
  void ReservedCommand() override;

 protected:
  // Shows the start folder, when there is one, and runs.
  std::int32_t RunPanel() override;

 private:
  ref<rcFileSystemPath> fStartFolder;
};

class rcMacCocoaSaveFileDialog : public rcMacCocoaFileDialog {
 public:
  // The type, the proposed name (UTF-16) and the start folder may be null. With a type, the
  // chooser offers its extension only, and a chosen name gets it appended when it lacks it.
  rcMacCocoaSaveFileDialog(const ref<rcFileType>& type, const ref<rcVector<UniChar>>& fileName,
                           const ref<rcFileSystemPath>& startFolder, const refString& title);

  bool ReservedQuery() override { return true; }
  void ReservedCommand() override {}
};

}  // namespace Wex
