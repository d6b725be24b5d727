#include "win32/fonts.h"

#include <cmath>
#include <cwchar>
#include <iterator>

#include "win32/text_encoding.h"

namespace vitrolux::platform::win32 {
namespace {

constexpr wchar_t kLastResortFace[] = L"MS Shell Dlg 2";

// The layout's Chinese face, by its localised name; English systems and
// Wine know it (or its relatives) by other names.
const std::vector<std::wstring>& yaHeiSubstitutes() {
  static const std::vector<std::wstring> faces = {L"Microsoft YaHei", L"Microsoft YaHei UI",
                                                  L"WenQuanYi Micro Hei", L"Noto Sans CJK SC",
                                                  L"SimSun"};
  return faces;
}

// The text boxes show Chinese hints. Where Segoe UI is missing there is
// usually no font linking either (Wine), so a face that has the Chinese
// glyphs itself comes before the Latin-only Tahoma.
const std::vector<std::wstring>& segoeSubstitutes() {
  static const std::vector<std::wstring> faces = {L"Microsoft YaHei UI", L"Microsoft YaHei",
                                                  L"WenQuanYi Micro Hei", L"Noto Sans CJK SC",
                                                  L"Tahoma"};
  return faces;
}

int CALLBACK noteFamilyFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

}  // namespace

std::vector<std::wstring> candidateFaces(const std::wstring& face) {
  std::vector<std::wstring> faces;
  if (!face.empty()) faces.push_back(face);
  const std::vector<std::wstring>* substitutes = nullptr;
  if (face == L"\u5FAE\u8F6F\u96C5\u9ED1" || face == L"Microsoft YaHei") {
    substitutes = &yaHeiSubstitutes();
  } else if (face == L"Segoe UI") {
    substitutes = &segoeSubstitutes();
  }
  if (substitutes != nullptr) {
    for (const std::wstring& candidate : *substitutes) {
      if (candidate != face) faces.push_back(candidate);
    }
  }
  if (face != kLastResortFace) faces.emplace_back(kLastResortFace);
  return faces;
}

std::wstring chooseFace(const std::wstring& face,
                        const std::function<bool(const std::wstring&)>& installed) {
  for (const std::wstring& candidate : candidateFaces(face)) {
    if (installed(candidate)) return candidate;
  }
  // The dialog font is a font substitute, not a family, so enumeration may
  // not list it; CreateFontW maps it all the same.
  return kLastResortFace;
}

bool fontFamilyInstalled(const std::wstring& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  std::wmemcpy(query.lfFaceName, face.c_str(), face.size() + 1);
  const unique_hdc_window screen(nullptr);
  if (!screen) return false;
  bool found = false;
  ::EnumFontFamiliesExW(screen.get(), &query, noteFamilyFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

int fontHeight(double points, int dpi) {
  return -static_cast<int>(std::lround(points * dpi / 72.0));
}

std::wstring FontCache::resolvedFace(const std::string& face) {
  auto known = faces_.find(face);
  if (known == faces_.end()) {
    known = faces_.emplace(face, chooseFace(widen(face), fontFamilyInstalled)).first;
  }
  return known->second;
}

HFONT FontCache::get(const Font& font, int dpi) {
  const Key key{font.face, font.points, font.charset, font.weight, dpi};
  auto made = fonts_.find(key);
  if (made == fonts_.end()) {
    const std::wstring face = resolvedFace(font.face);
    unique_hfont created(::CreateFontW(fontHeight(font.points, dpi), 0, 0, 0, font.weight, FALSE,
                                       FALSE, FALSE, static_cast<DWORD>(font.charset),
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
    if (!created) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    made = fonts_.emplace(key, std::move(created)).first;
  }
  return made->second.get();
}

void FontCache::keepOnly(int dpi) {
  for (auto it = fonts_.begin(); it != fonts_.end();) {
    it = std::get<4>(it->first) == dpi ? std::next(it) : fonts_.erase(it);
  }
}

}  // namespace vitrolux::platform::win32
