// The input layer's state: the devices and the tables of the last two polls,
// reached through Input() by the files of this directory.
#pragma once
#include "input/input_devices.h"
#include "input/input_tables.h"

struct InputState {
  InputDevices devices;
  InputTables tables{};
};

InputState& Input();
