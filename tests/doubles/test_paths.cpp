#include "test_paths.h"

std::string SourcePath(const std::string& relative) { return std::string(VDL_SOURCE_DIR) + "/" + relative; }

std::string TestDataPath(const std::string& relative) { return std::string(VDL_TESTDATA_DIR) + "/" + relative; }
