// Settings files with the attributes a test needs.
#pragma once

#include "sim/sim_files.h"

namespace vitrolux::testing {

inline sim::SimFile hiddenFile() {
  sim::SimFile f;
  f.hidden = true;
  return f;
}
inline sim::SimFile systemFile() {
  sim::SimFile f;
  f.system = true;
  return f;
}
inline sim::SimFile readOnlyFile() {
  sim::SimFile f;
  f.readOnly = true;
  return f;
}
// Held open by another program without sharing.
inline sim::SimFile lockedFile() {
  sim::SimFile f;
  f.locked = true;
  return f;
}

}  // namespace vitrolux::testing
