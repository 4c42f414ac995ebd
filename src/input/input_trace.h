// Diagnostic trace: with VDL_TRACE_INPUT=1 in the environment, each input poll
// that changes a key or button, or moves the cursor or the wheel, writes one
// line to the debug log.
#pragma once

void StartInputTrace();  // reads the environment
void TraceInputPoll();
