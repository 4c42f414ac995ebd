// The command line as the program received it.
#pragma once

// argv[1..]; set by main.
void SetCommandLine(int argc, char** argv);
// The first argument after the program name, or null when there is none.
const char* PluginArgument();
// True when an argument after the program name equals the option exactly.
bool HasOption(const char* option);
