#include "base/error_box.h"

#include "base/debug_log.h"
#include "platform/os/os.h"

void ShowErrorBox(const char* text) {
  LogPrintf("%s\n", text);
  OperatingSystem& os = Os();
  os.MessageBoxA(os.GetActiveWindow(), text, "エラー", MB_SYSTEMMODAL);
}
