// Where the tests find the sources, the sample plug-ins and the shared test files.
#pragma once
#include <string>

std::string SourcePath(const std::string& relative);    // below the repository root
std::string TestDataPath(const std::string& relative);  // below tests/data (x-peer/ holds files from other exporters)
