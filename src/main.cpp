#include "shell/application.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"

int main(int argc, char** argv) {
  SetCommandLine(argc, argv);
  GetProgramDirectory(programDirectory);
  SetDisplaySize();
  if (!application.Startup()) {
    application.Shutdown();
    return 1;
  }
  ViewerStartup();
  RunMainLoop();
  ViewerShutdown();
  application.Shutdown();
  return 0;
}
