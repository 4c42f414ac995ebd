// The gallery's files beside the plug-ins' pages and pictures: index.html
// with its tiles, filter and sort; gallery.css; gallery.jsonl; and the state
// file that lets a second run skip the plug-ins whose files did not change.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "shell/gallery_record.h"

// The records of the last run, by id; empty when there was none or the state
// was written by another version of the gallery.
std::map<std::string, GalleryRecord> ReadGalleryState(const std::string& outputDirectory);

// Writes index.html, gallery.css, gallery.jsonl and the state, each whole or
// not at all, and removes pages and pictures of plug-ins no longer there.
// False with the reason.
// The index is titled with `title`, the folder's name.
bool WriteGallerySite(const std::string& outputDirectory, const std::string& title,
                      const std::vector<GalleryRecord>& records, std::string& error);
