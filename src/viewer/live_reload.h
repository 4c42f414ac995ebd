// -watch: the plug-in shown is loaded again, in place, when a file it reads is
// saved, once the writes have settled. The camera, the light and the switches
// stay as they are. A reload that fails keeps the plug-in shown and puts the
// reason on the screen and in the log until a good one.
#pragma once
#include <memory>
#include <string>

#include "platform/os/file_watch.h"
#include "viewer/plugin_reload.h"

// Watches the plug-in shown with inotify; the log says so when it cannot.
void WatchPlugin(const PluginSource& source);
// Watches the files of the plug-in shown with this watcher and has the message
// pump call CheckWatchedFiles.
void StartWatching(const PluginSource& source, std::unique_ptr<FileWatcher> watcher);
void StopWatching();
// Takes the watcher's changes without waiting; reloads once they have settled.
void CheckWatchedFiles();
// Why the last reload failed, empty after a good one; drawn in every frame
// while there is one.
const std::string& ReloadAlert();
// The errors and warnings of the plug-in shown ("エラー 2  警告 1"), for a few
// seconds after a good reload; empty otherwise. Drawn where the alert goes.
std::string ReloadCounts();
void DrawReloadAlert();
