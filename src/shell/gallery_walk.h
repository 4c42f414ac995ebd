// The plug-ins of a folder for the gallery: plug-in directories (any that
// holds a definition file), bare .x models and the plug-ins of zip archives,
// found recursively, each with a fingerprint of its files.
#pragma once
#include <string>
#include <vector>

struct GalleryEntry {
  std::string name;         // relative to the folder, as shown: "Train", "pack.zip!/Struct"
  std::string argument;     // what the viewer is given: absolute
  std::string id;           // the stem of its files in the output: hex of a hash of the name
  std::string fingerprint;  // changes when one of its files does
  std::string failure;      // why it cannot be shown, when the walk already knows (an unreadable archive)
};

// In the order of their names; `folder` is made absolute.
std::vector<GalleryEntry> FindGalleryPlugins(const std::string& folder);

// 16 hex digits of the FNV-1a hash of the text.
std::string HashHex(const std::string& text);
