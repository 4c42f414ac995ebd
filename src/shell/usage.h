// The program's usage text and version.
#pragma once
#include <cstdio>

void PrintUsage(FILE* out);
void PrintVersion(FILE* out);
