// The program's stored pictures: the title bar's buttons with their hover
// pictures, and the launch tiles. Each names a bitmap the program embeds.
#pragma once

#include "resource_ids.h"
#include "ui/controls.h"

namespace vitrolux::model::picture {

inline constexpr platform::Picture kFullScreenNormal{IDB_RESTORE_NORMAL};
inline constexpr platform::Picture kFullScreenHover{IDB_RESTORE_HOVER};
inline constexpr platform::Picture kCloseNormal{IDB_CLOSE_NORMAL};
inline constexpr platform::Picture kCloseHover{IDB_CLOSE_HOVER};
inline constexpr platform::Picture kMinNormal{IDB_MIN_NORMAL};
inline constexpr platform::Picture kMinHover{IDB_MIN_HOVER};
inline constexpr platform::Picture kPin{IDB_PIN};
inline constexpr platform::Picture kOptions{IDB_OPTIONS};
inline constexpr platform::Picture kTileIe{IDB_TILE_IE};
inline constexpr platform::Picture kTileChrome{IDB_TILE_CHROME};
inline constexpr platform::Picture kTileFirefox{IDB_TILE_FIREFOX};
inline constexpr platform::Picture kTilePicture{IDB_TILE_PICTURE};
inline constexpr platform::Picture kTileAny{IDB_TILE_ANY};

}  // namespace vitrolux::model::picture
