#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Reads a whole regular file of at most maxBytes. Fails with the reason.
bool ReadFileBytes(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error);
