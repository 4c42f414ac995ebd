// Where a plug-in's files are read from: the file system, relative names taken
// from the current directory, or a zip archive, relative names taken from the
// plug-in's folder inside it. Every load (definition file, model, textures,
// the names -watch watches) reads through the current source, so one loading
// path serves both.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// What a path element must be: a directory on the way, a file at the end.
enum class EntryKind { kDirectory, kFile };

// A file larger than the limit given to Read.
enum class BeyondLimit {
  kRefuse,  // fails, naming the size
  kCut,     // the first bytes, up to the limit
};

class FileSource {
 public:
  virtual ~FileSource() = default;

  // Whether path names an entry of the kind; symbolic links count as what
  // they point to.
  virtual bool IsEntry(const std::string& path, EntryKind kind) const = 0;
  // The names of a directory's entries; directory empty for the current one,
  // else ending in '/'. Empty when it cannot be listed.
  virtual std::vector<std::string> EntryNames(const std::string& directory) const = 0;
  // The bytes of a file, at most maxBytes of them. Fails with the reason.
  virtual bool Read(const std::string& path, uint64_t maxBytes, BeyondLimit beyond, std::vector<uint8_t>& bytes,
                    std::string& error) const = 0;
  // True when paths are files on disk, to be mapped as they are.
  virtual bool OnDisk() const = 0;
  // Makes path (relative to the current directory, or absolute) the current
  // directory. False, leaving it as it was, when it is no directory.
  virtual bool EnterDirectory(const std::string& path) = 0;
  // The current directory as shown to people, ending in '/'.
  virtual std::string CurrentDirectory() const = 0;
  // The archive file on disk that holds every file of the source; empty for
  // the file system.
  virtual std::string ArchiveFile() const = 0;
  // Reads the source again after it changed on disk (an archive saved anew).
  virtual bool Refresh(std::string& error) = 0;
};

// The source every load reads through; the file system until another is set.
FileSource& Files();
// Makes source the current one; null: the file system.
void UseFiles(std::unique_ptr<FileSource> source);

// The file system, relative names from the process's current directory.
std::unique_ptr<FileSource> DiskFiles();

// A definition file's bytes (at most maxBytes, the rest cut) as a stream to
// read with stdio; null with the reason when it cannot be read.
FILE* OpenFileStream(const std::string& path, uint64_t maxBytes, std::string& error);
