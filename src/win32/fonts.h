// The controls' fonts: created for the display's DPI, shared between the
// controls that use the same one, with a substitute when the layout's face is
// not installed on this machine.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ui/controls.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

// The faces to try for a font, best first: the face itself, then the faces
// that look closest to it, ending with the dialog font every Windows has.
std::vector<std::wstring> candidateFaces(const std::wstring& face);

// The first candidate for which `installed` holds; the last resort when none.
std::wstring chooseFace(const std::wstring& face,
                        const std::function<bool(const std::wstring&)>& installed);

// Whether a font family of that name is installed (EnumFontFamiliesExW).
bool fontFamilyInstalled(const std::wstring& face);

// Character height of a font of the given size at a DPI, as a LOGFONT height
// (negative: the em height without the internal leading).
int fontHeight(double points, int dpi);

class FontCache {
 public:
  // The font for a layout font at a DPI; made on first use. Never null: when
  // CreateFontW fails, the default GUI font.
  HFONT get(const Font& font, int dpi);
  // Frees the fonts made for other DPIs; the controls must already use new ones.
  void keepOnly(int dpi);
  // The face actually used for a layout face (after substitution).
  std::wstring resolvedFace(const std::string& face);

 private:
  using Key = std::tuple<std::string, double, int, int, int>;  // face, points, charset, weight, dpi
  std::map<Key, unique_hfont> fonts_;
  std::map<std::string, std::wstring> faces_;
};

}  // namespace vitrolux::platform::win32
