// How an X file is stored, for reports: the loader itself reads the header
// as part of the file.
#pragma once
#include <string>

struct XFileForm {
  bool binary = false;
  bool compressed = false;  // MSZIP
  unsigned floatBits = 32;  // of the floats of binary lists (text files name it too)
};

// False, with the reason, when the file cannot be read or has no X-file header.
bool ReadXFileForm(const char* path, XFileForm& form, std::string& error);
