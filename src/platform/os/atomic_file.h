// Writing a file whole or not at all, so a reader never sees half of it.
#pragma once
#include <cstdint>
#include <span>
#include <string>

// Writes the bytes into a temporary file beside `path` and renames it over
// `path`. On failure nothing is left behind and `error` says why.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string& error);
