// Why reading an X file stopped, and where.
#pragma once
#include <string>

struct XReadError {
  std::string place;  // "line 12" (text), "offset 345" (binary); empty when the file as a whole is at fault
  unsigned line = 0;  // the line of place; 0 when place is no line
  std::string what;
  std::string objectPath;  // the objects the reader stood in ("Frame Body/Mesh body"); empty at the top

  // "place: what", or what alone.
  std::string Text() const { return place.empty() ? what : place + ": " + what; }
};
