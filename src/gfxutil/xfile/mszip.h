// MSZIP, the compression of "tzip" and "bzip" X files: after the header, a
// DWORD with the size of the whole decompressed file (header included), then
// chunks of WORD uncompressed size, WORD compressed size, "CK" and a raw
// deflate stream. Each chunk continues the history of the chunks before it.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// `data` is everything after the 16-byte header. On success `body` holds the
// decompressed bytes that follow the header.
bool InflateMszip(std::span<const uint8_t> data, std::vector<uint8_t>& body, std::string& error);
