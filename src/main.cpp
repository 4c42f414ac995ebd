#include "base/command_line.h"
#include "shell/application.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"

int main(int argc, char** argv) {
  SetCommandLine(argc, argv);
  GetProgramDirectory(programDirectory);
  SetDisplaySize();
  if (!ApplicationStartup()) {
    ApplicationShutdown();
    return 1;
  }
  ViewerStartup();
  RunMainLoop();
  ViewerShutdown();
  ApplicationShutdown();
  return 0;
}
