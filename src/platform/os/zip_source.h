// A zip archive as a file source, read in place without unpacking. Member
// names are taken as raw bytes: UTF-8 when the archive's flag says so, else
// read as the overlay reads text (UTF-8 when valid, else code page 932), as
// archives made on Windows store them. A name that points outside the archive
// ('..', an absolute path, a drive) is passed over. The bytes inflated are
// counted as they come, whatever the archive claims.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/os/file_source.h"

// "archive.zip!/Folder": the archive, and the folder or file inside it.
struct ArchivePath {
  std::string archive;
  std::string inside;  // empty: the archive as a whole
};

// The separator between an archive and a name inside it.
inline constexpr char kArchiveSeparator[] = "!/";

// Whether the argument names a zip archive (".zip" in any letter case and no
// directory, maybe followed by "!/" and a name inside); the parts when it does.
bool IsArchivePath(const std::string& argument, ArchivePath* parts = nullptr);

// The archive at path (relative to the current directory or absolute); null
// with the reason when it cannot be read as one.
// Members passed over are named in `notes`, one line each, when given.
std::unique_ptr<FileSource> OpenZipFiles(const std::string& path, std::string& error,
                                         std::vector<std::string>* notes = nullptr);
// The archive held in bytes, which must outlive the source (tests, fuzzing).
std::unique_ptr<FileSource> OpenZipFilesInMemory(std::span<const uint8_t> bytes, std::string& error);
