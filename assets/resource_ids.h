/* Resource identifiers shared by vitrolux.rc and the C++ sources.
   Plain #defines only: the resource compiler reads this file too. */
#ifndef VITROLUX_RESOURCE_IDS_H
#define VITROLUX_RESOURCE_IDS_H

#define IDI_APP                 1

#define IDC_HAND_CURSOR         101

#define IDB_RESTORE_NORMAL      201
#define IDB_RESTORE_HOVER       202
#define IDB_CLOSE_NORMAL        203
#define IDB_CLOSE_HOVER         204
#define IDB_MIN_NORMAL          205
#define IDB_MIN_HOVER           206
#define IDB_PIN                 207
#define IDB_OPTIONS             208

#define IDB_TILE_IE             211
#define IDB_TILE_CHROME         212
#define IDB_TILE_FIREFOX        213
#define IDB_TILE_PICTURE        214
#define IDB_TILE_ANY            215

#define VITROLUX_VERSION_MAJOR  0
#define VITROLUX_VERSION_MINOR  1
#define VITROLUX_VERSION_PATCH  0
#define VITROLUX_VERSION_STR    "0.1.0"

#endif
