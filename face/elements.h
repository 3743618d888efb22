// The face's picture elements, as data: identifiers, places, sizes, kinds,
// which pictures are shared at start-up, and the buttons' hints and pointers.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "face/element_list.h"

namespace wuffel {

enum class ElementId : int {
#define WUFFEL_ELEMENT_ENUM(name, kind, left, top, width, height, picture) name,
  WUFFEL_ELEMENTS(WUFFEL_ELEMENT_ENUM)
#undef WUFFEL_ELEMENT_ENUM
};

inline constexpr std::size_t kElementCount = 0
#define WUFFEL_ELEMENT_COUNT(name, kind, left, top, width, height, picture) +1
    WUFFEL_ELEMENTS(WUFFEL_ELEMENT_COUNT)
#undef WUFFEL_ELEMENT_COUNT
    ;

enum class ElementKind {
  FacePhoto,      // the photograph of the handheld, opaque
  ButtonPicture,  // opaque picture of a button, hidden while the button is held
  ButtonArea,     // no picture; catches clicks only
  Segment,        // liquid-crystal figure, see-through
  DigitPosition,  // segment whose picture is a digit glyph assigned at run time
  DigitGlyph,     // hidden picture source of one digit
  MouseOverlay,   // no picture; catches the mouse over the screen area
};

enum class PictureOrigin { Own, Shared, None };

struct ElementInfo {
  ElementId id;
  std::string_view name;
  ElementKind kind;
  int left;
  int top;
  int width;
  int height;
  PictureOrigin picture;

  bool seeThrough() const {
    return kind == ElementKind::Segment || kind == ElementKind::DigitPosition;
  }
  bool visibleAtStart() const {
    return kind != ElementKind::Segment && kind != ElementKind::DigitGlyph;
  }
  bool contains(int x, int y) const {
    return x >= left && x < left + width && y >= top && y < top + height;
  }
};

inline constexpr std::array<ElementInfo, kElementCount> kElements{{
#define WUFFEL_ELEMENT_INFO(name, kind, left, top, width, height, picture) \
  {ElementId::name, #name, ElementKind::kind, left, top, width, height, PictureOrigin::picture},
    WUFFEL_ELEMENTS(WUFFEL_ELEMENT_INFO)
#undef WUFFEL_ELEMENT_INFO
}};

inline constexpr const ElementInfo& elementInfo(ElementId id) {
  return kElements[static_cast<std::size_t>(id)];
}
inline constexpr std::string_view nameOf(ElementId id) { return elementInfo(id).name; }
inline constexpr std::size_t indexOf(ElementId id) { return static_cast<std::size_t>(id); }

// The pictures that eleven segments copy from another element at start-up,
// in the order in which they are assigned.
struct SharedPicture {
  ElementId target;
  ElementId source;
};
inline constexpr std::array<SharedPicture, 11> kSharedPictures{{
    {ElementId::Im_Miss2, ElementId::Im_Miss3},
    {ElementId::Im_Miss1, ElementId::Im_Miss3},
    {ElementId::Im_Ball18, ElementId::Im_Tobbel3},
    {ElementId::Im_Ball27, ElementId::Im_Tobbel3},
    {ElementId::Im_Ball36, ElementId::Im_Tobbel3},
    {ElementId::Im_Ball45, ElementId::Im_Ball31},
    {ElementId::Im_Ball55, ElementId::Im_Ball21},
    {ElementId::Im_Ball65, ElementId::Im_Ball11},
    {ElementId::Im_Ball66, ElementId::Im_Ball10},
    {ElementId::Im_Ball56, ElementId::Im_Ball20},
    {ElementId::Im_Ball46, ElementId::Im_Ball30},
}};

enum class PointerShape { Arrow, Hand, Help };

struct ButtonHint {
  ElementId id;
  std::string_view hint;
  PointerShape pointer;
};
inline constexpr std::array<ButtonHint, 8> kButtonHints{{
    {ElementId::Puls_GameA, "Click to start Game A (hold to view hiscore)", PointerShape::Hand},
    {ElementId::Puls_GameB, "Click to start Game B (hold to view hiscore)", PointerShape::Hand},
    {ElementId::Puls_Time, "Click to view current time (hold to view alarm time)", PointerShape::Hand},
    {ElementId::Puls_Alarm, "Button disabled", PointerShape::Help},
    {ElementId::Puls_ACL, "Click to reset game", PointerShape::Hand},
    {ElementId::Puls_Hit, "Use 'CTRL' key to hit ball", PointerShape::Help},
    {ElementId::Puls_Up, "Use up arrow key", PointerShape::Help},
    {ElementId::Puls_Down, "Use down arrow key", PointerShape::Help},
}};

// The rectangle of the handheld's screen: the place of the mouse overlay.
inline constexpr const ElementInfo& kScreenArea = elementInfo(ElementId::Im_BaseTop);

}  // namespace wuffel
