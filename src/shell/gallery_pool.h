// The gallery's worker processes: forked before any graphics is set up, each
// keeps its own device and program state, and takes one plug-in at a time so
// that slow plug-ins do not hold the others back. A worker that ends without
// answering is replaced; its plug-in is answered for it.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "shell/gallery_walk.h"

// For each job, its index into entries and the worker's state line; when the
// worker ended without one, an empty line and the reason.
using GalleryAnswer = std::function<void(size_t index, const std::string& stateLine, const std::string& failure)>;

// Runs the jobs (indices into entries) on up to `workers` processes.
void RunGalleryPool(const std::vector<GalleryEntry>& entries, const std::vector<size_t>& jobs,
                    const std::string& outputDirectory, int workers, const GalleryAnswer& answer);
