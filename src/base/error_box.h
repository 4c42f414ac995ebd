// The box shown when the program cannot do its job, with its text in the log.
#pragma once

// Logs the text as one line, then shows it in a system-modal box over the active window.
void ShowErrorBox(const char* text);
