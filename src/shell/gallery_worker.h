// A gallery worker: a process that keeps one off-screen OpenGL device and
// draws and checks plug-in after plug-in on it, through the same loading,
// pictures and report as -shot and -check.
#pragma once
#include <string>
#include <vector>

#include "shell/gallery_record.h"
#include "shell/gallery_walk.h"

// Reads job numbers (indices into entries), one a line, from the file
// descriptor `jobs` until it ends; for each writes its pictures and page into
// outputDirectory and answers "<index>\t<state line>\n" on `results`.
void RunGalleryWorker(const std::vector<GalleryEntry>& entries, const std::string& outputDirectory, int jobs,
                      int results);

// Writes all of a line to a file descriptor; false when it cannot.
bool WriteWhole(int fd, const std::string& text);
