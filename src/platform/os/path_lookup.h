// Finding the files that plug-ins name. Plug-ins are written on Windows: their
// names may use '\', differ from the files in letter case, be Shift-JIS, or
// point to where the files lay on their author's machine.
#pragma once
#include <string>

// How a file was found.
enum class PathMatch {
  kExact,             // the name as stored
  kCaseOrSeparators,  // with '\' read as '/' or letter case ignored
  kCodePage932,       // decoded from code page 932, as an archive unpacked on Linux names the file
  kTrailingPath,      // the name's last elements (folders and file), in the model's directory
  kModelDirectory,    // the name's last element, in the model's directory
  kMissing,           // nowhere
};

struct ResolvedPath {
  std::string path;  // the file to open; empty when kMissing
  PathMatch match = PathMatch::kMissing;
};

// The regular file a name read from a plug-in stands for, relative names taken
// from the current directory of the current file source (Files()). Tried in
// order: the name as stored; then with '\' read as '/' and runs of separators
// as one, then also decoded from code page 932 when the name is not valid
// UTF-8; each of these first as written, then
// with every path element matched against its directory ignoring ASCII letter
// case. Directories, pipes and devices are passed over: Windows opens none of
// them as a file.
ResolvedPath ResolvePath(const std::string& name);

// As ResolvePath; when that finds nothing, for texture names that still hold
// the path of the author's machine, the name's trailing elements are looked
// for in modelDirectory (empty: the current directory), from the longest that
// stays inside it down to the file name alone, with the same spellings and
// letter case rules: C:\Game\Tex\Wood.jpg finds Tex/Wood.jpg there.
ResolvedPath ResolveTexturePath(const std::string& name, const std::string& modelDirectory);

// ResolvePath(name).path: the path alone.
std::string ResolveExistingPath(const std::string& name);
