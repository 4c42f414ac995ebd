#include "shell/usage.h"

namespace {

constexpr char kUsage[] =
    "Usage: vondrel-viewer <plug-in path> [options]\n"
    "\n"
    "The plug-in path is a definition file (Train.txt, Struct.txt, Station.txt,\n"
    "Surface.txt), a plug-in directory that holds one with its Model.x, or a bare\n"
    ".x model. Options follow the path.\n"
    "\n"
    "The viewer (a window on a display; one copy at a time):\n"
    "  -win              windowed (the default)\n"
    "  -full             full screen, the picture scaled with its aspect kept\n"
    "  -2nd              on the second display, when there is one\n"
    "  -night            start at night (TAB switches)\n"
    "  -linear           start with linear texture filtering (SPACE switches)\n"
    "  -notext           no overlay text\n"
    "  -watch            reload the plug-in whenever one of its files is saved\n"
    "  -dbf              append the debug log to debug.txt beside the program, or,\n"
    "                    where that cannot be written, to\n"
    "                    $XDG_STATE_HOME/vondrel-viewer/debug.txt\n"
    "                    (~/.local/state/vondrel-viewer/debug.txt); one line says so\n"
    "\n"
    "A picture (no display, no window, any number at once):\n"
    "  -shot <out.png>   write the window's first frame, without the frame rate\n"
    "  -size <W>x<H>     fit the 640x480 picture into W x H, aspect kept\n"
    "  -night, -linear, -notext as above\n"
    "\n"
    "A report (no display, no GPU):\n"
    "  -check            load the plug-in and report its definition file, model,\n"
    "                    textures and every problem found, with file and line\n"
    "  -json             the report as one JSON document\n"
    "  -ignore CODE[,CODE...]  leave out findings of these codes (docs/checks.md)\n"
    "\n"
    "Standard error carries only what is wrong: the plug-in's problems, a failure\n"
    "and its reason. With any of the above:\n"
    "  -log              the whole debug log on standard error too\n"
    "\n"
    "  -h, --help        this text\n"
    "  --version         the version\n"
    "\n"
    "Exit status:\n"
    "  0  the window was closed, the picture written, or -check found no error\n"
    "     and no warning\n"
    "  1  the plug-in cannot be shown, or there is no display for the window, or the\n"
    "     window, the graphics, the input or the picture file failed\n"
    "  2  a usage error\n"
    "  3  -check found an error or a warning\n"
    "\n"
    "Example: vondrel-viewer samples/Train -shot train.png -size 256x256\n";

}  // namespace

void PrintUsage(FILE* out) { std::fputs(kUsage, out); }

void PrintVersion(FILE* out) { std::fprintf(out, "vondrel-viewer %s\n", VDL_VERSION); }
