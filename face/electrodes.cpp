#include "face/electrodes.h"

#include <array>
#include <vector>

namespace wuffel {

namespace {

bool samePlace(const ElementInfo& a, const ElementInfo& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// For each segment, the segments at its place in drawing order.
const std::array<std::vector<ElementId>, kElementCount>& membersByElement() {
  static const auto table = [] {
    std::array<std::vector<ElementId>, kElementCount> t;
    for (const auto& e : kElements)
      for (const auto& other : kElements)
        if (e.kind == ElementKind::Segment && other.kind == ElementKind::Segment && samePlace(e, other))
          t[indexOf(e.id)].push_back(other.id);
    return t;
  }();
  return table;
}

}  // namespace

ElementId electrodeOf(ElementId segment) {
  const auto& members = membersByElement()[indexOf(segment)];
  return members.empty() ? segment : members.front();
}

std::span<const ElementId> electrodeMembers(ElementId segment) { return membersByElement()[indexOf(segment)]; }

std::optional<ElementId> litMember(const Face& face, ElementId electrode) {
  for (ElementId m : electrodeMembers(electrode))
    if (face.visible(m) && face.picture(m)) return m;
  return std::nullopt;
}

}  // namespace wuffel
