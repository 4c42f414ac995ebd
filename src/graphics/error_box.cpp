#include "graphics/device_setup.h"
#include "platform/os/os.h"

void ShowErrorBox(const char* text) {
  OperatingSystem& os = Os();
  os.MessageBoxA(os.GetActiveWindow(), text, "エラー", MB_SYSTEMMODAL);
}
