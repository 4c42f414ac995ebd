// The one overlay font and the text drawing of the frame routines: white text
// with a one-pixel black shadow to the lower right, clipped to the screen.
#pragma once

// Replaces the current font. Returns 0, and logs why, when no font can be
// made or none is wanted; text drawing then draws nothing.
int CreateOverlayFont(int height, int weight);
// Whether fonts are made (the default), or left out for a picture without
// text, which then loads no font library at all.
void WantOverlayFont(bool wanted);
void ReleaseOverlayFont();

void DrawOverlayText(int x, int y, const char* text);
void DrawOverlayTextf(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
// The same in the alert colour, for what the user must not miss.
void DrawOverlayAlert(int x, int y, const char* text);
void DrawFps(int x, int y);
