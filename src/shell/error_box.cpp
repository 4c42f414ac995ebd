#include "shell/error_box.h"

#include "platform/os/os.h"
#include "shell/debug_log.h"

void ShowErrorBox(const char* text) {
  LogPrintf("%s\n", text);
  OperatingSystem& os = Os();
  os.MessageBoxA(os.GetActiveWindow(), text, "エラー", MB_SYSTEMMODAL);
}
