// The class the desktop knows the program's windows by: X11's WM_CLASS and
// Wayland's app id. The desktop entry's StartupWMClass names it.
#pragma once

constexpr char kWindowClassName[] = "VDL_CLASS_VONDREL";

// SDL reads the class once, when its video subsystem starts: call this before.
void NameWindowClass();
