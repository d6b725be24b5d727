// Marks the changes the adapter itself makes to a control, so that the
// notification that follows (a text change, a scroll) is not taken for the
// user's doing.
#pragma once

namespace vitrolux::platform::win32 {

class OwnChange {
 public:
  explicit OwnChange(int& depth) : depth_(depth) { ++depth_; }
  ~OwnChange() { --depth_; }
  OwnChange(const OwnChange&) = delete;
  OwnChange& operator=(const OwnChange&) = delete;

 private:
  int& depth_;
};

}  // namespace vitrolux::platform::win32
