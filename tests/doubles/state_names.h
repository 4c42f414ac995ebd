// Short names for the parts of the program's state that tests set and read
// again and again, each a reference into its record (Program(), Graphics(),
// Plugins(), Textures()).
#pragma once
#include "base/program_state.h"
#include "graphics/graphics_state.h"
#include "plugins/plugin_list.h"
#include "resources/texture_cache.h"

inline auto& application = Program().application;
inline auto& blinkAngle = Program().blinkAngle;
inline auto& clientHeight = Program().clientHeight;
inline auto& clientWidth = Program().clientWidth;
inline auto& configuredWindowMode = Graphics().configuredWindowMode;
inline auto& d3dDevice = Graphics().d3dDevice;
inline auto& debugLogPath = Program().debugLogPath;
inline auto& deviceSetup = Graphics().deviceSetup;
inline auto& direct3d = Graphics().direct3d;
inline auto& directionalLight = Graphics().directionalLight;
inline auto& framePacing = Program().framePacing;
inline auto& isActive = Program().isActive;
inline auto& isLinearFilter = Program().isLinearFilter;
inline auto& isWindowed = Graphics().isWindowed;
inline auto& mainWindow = Program().mainWindow;
inline auto& nightMode = Program().nightMode;
inline auto& projectionMatrix = Graphics().projectionMatrix;
inline auto& requestedHeight = Graphics().requestedHeight;
inline auto& requestedWidth = Graphics().requestedWidth;
inline auto& screenHeight = Program().screenHeight;
inline auto& screenWidth = Program().screenWidth;
inline auto& stationList = Plugins().stationList;
inline auto& structList = Plugins().structList;
inline auto& surfaceList = Plugins().surfaceList;
inline auto& textureCache = Textures();
inline auto& trainList = Plugins().trainList;
inline auto& viewMatrix = Graphics().viewMatrix;
inline auto& worldMatrix = Graphics().worldMatrix;
