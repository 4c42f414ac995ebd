#include "viewer/change_settling.h"

void ChangeSettling::NoteChange(uint32_t now) {
  pending = true;
  lastChange = now;
}

bool ChangeSettling::TakeSettled(uint32_t now) {
  if (!pending || now - lastChange < quietMs) return false;
  pending = false;
  return true;
}
