#include "input/input_trace.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/debug_log.h"
#include "input/input.h"
#include "input/input_state.h"

namespace {

bool traceInput = false;
constexpr POINT kNoCursor = {INT32_MIN, INT32_MIN};
POINT lastTracedCursor = kNoCursor;

// The keys or buttons that went down (2) or up (1) at this poll, as "code:state".
std::string Edges(const uint8_t* current, const uint8_t* previous, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    int state = ButtonState(current[i], previous[i]);
    if (state != 1 && state != 2) continue;
    char item[16];
    std::snprintf(item, sizeof item, "%s%d:%d", text.empty() ? "" : " ", i, state);
    text += item;
  }
  return text;
}

}  // namespace

void StartInputTrace() {
  const char* setting = std::getenv("VDL_TRACE_INPUT");
  traceInput = setting && std::strcmp(setting, "1") == 0;
  lastTracedCursor = kNoCursor;
}

void TraceInputPoll() {
  if (!traceInput) return;
  std::string keys = Edges(Input().tables.keys, Input().tables.previousKeys, kKeyCount);
  std::string buttons = Edges(Input().tables.mouseButtons, Input().tables.previousMouseButtons, kMouseButtonCount);
  POINT cursor = Input().tables.cursor;
  bool moved = cursor.x != lastTracedCursor.x || cursor.y != lastTracedCursor.y;
  if (keys.empty() && buttons.empty() && !moved && Input().tables.wheel == 0) return;
  lastTracedCursor = cursor;
  LogPrintf("input: keys=[%s] buttons=[%s] cursor=(%d,%d) wheel=%d\n", keys.c_str(), buttons.c_str(), cursor.x,
            cursor.y, Input().tables.wheel);
}
