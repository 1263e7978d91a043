#pragma once

// The program's bundle and its resources. A bundle is a plain folder whose resources lie in its
// "Resources" folder as "<name>.<type>"; the current bundle is the folder that a set-up call
// chose, else the folder that holds the program file containing this code. Bundles and file URLs
// travel in platform-object holders, like texts do.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/files.h"
#include "base/rc.h"
#include "platform/mac_cf_object.h"

namespace Platform {

// Stand-in of a CFBundle: the bundle's folder, an absolute path without a trailing separator.
class rcCFBundle : public Wex::rc {
 public:
  explicit rcCFBundle(QorFiles::Path folder) : fFolder(std::move(folder)) {}
  const QorFiles::Path& GetFolder() const { return fFolder; }

 private:
  QorFiles::Path fFolder;
};

// Stand-in of a file CFURL: a file-system path.
class rcCFURL : public Wex::rc {
 public:
  explicit rcCFURL(QorFiles::Path path) : fPath(std::move(path)) {}
  const QorFiles::Path& GetPath() const { return fPath; }

 private:
  QorFiles::Path fPath;
};

}  // namespace Platform

namespace Wex {

// A bundle of resources: the holder of its bundle object.
class rcResourceFile : public rc {
 public:
  explicit rcResourceFile(ref<rcMacCFObject> bundle) : fBundle(std::move(bundle)) {}
  const ref<rcMacCFObject>& GetBundle() const { return fBundle; }

 private:
  ref<rcMacCFObject> fBundle;
};

// A path as the file dialogs hand it around: the holder of its URL object.
class rcFileSystemPath : public rc {
 public:
  explicit rcFileSystemPath(ref<rcMacCFObject> url) : fURL(std::move(url)) {}
  const ref<rcMacCFObject>& GetURL() const { return fURL; }

 private:
  ref<rcMacCFObject> fURL;
};

// An input stream over one resource: it answers its length and reads on from a running position.
class rcResourceStream : public rc {
 public:
  // Opens only a regular file, so that a FIFO cannot block the open and a device cannot feed
  // bytes without end: anything else (a missing path included) throws QorFiles::Exception "Not a
  // regular file: " and the path, unopened; a file that cannot be opened throws "Error opening
  // file: " and the path.
  explicit rcResourceStream(const QorFiles::Path& path);

  std::int64_t GetLength() const { return fLength; }
  // The bytes from the running position to the length; throws as Read.
  std::string ReadRest();
  // Reads exactly `count` bytes at the running position and moves past them; throws
  // xCannotReadBeyondEnd, reading nothing, when fewer remain.
  void Read(void* buffer, std::int64_t count);

 private:
  QorFiles::File fFile;
  std::int64_t fLength;
  std::int64_t fPosition = 0;
};

// Makes `folder` the current bundle; an empty path restores the default, the folder of the
// program file that holds this code.
void SetCurrentImageBundleFolder(const QorFiles::Path& folder);

// The current bundle. Throws xExceptionWithRCString "Could not create bundle from current image
// URL" when the program file cannot be found, "Could not obtain bundle from current image" when
// the folder does not exist.
ref<rcResourceFile> GetCurrentImageBundle();

// A holder of the URL of the current bundle's folder; throws as GetCurrentImageBundle.
ref<rcMacCFObject> GetCurrentBundleURL();

// The path of a URL holder; no holder, or one holding no URL, gives an empty path.
QorFiles::Path ToQorFilesPath(const rcMacCFObject* url);

// The resource "<name>.<type>" of the bundle, opened for reading. Name and type are ISO Latin-1.
// A resource that does not exist as a regular file throws xExceptionWithRCString "Cannot get URL
// for resource: NAME (type: TYPE)".
ref<rcResourceStream> OpenBundleResource(const rcResourceFile& bundle, std::string_view type, std::string_view name);

}  // namespace Wex
