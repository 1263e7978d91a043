#include "gui/resources/font.h"

namespace Velto {

void iFont::DrawCharacters(Wex::rcGraphicsContext& context, std::int32_t count, const Wex::cPoint* points,
                           const std::uint32_t* characters, Wex::cPoint* endPoints) {
  for (std::int32_t i = 0; i < count; ++i) {
    const UniChar unit = static_cast<UniChar>(characters[i] & 0xffff);
    const ref<Wex::rcVector<UniChar>> text(new Wex::rcVector<UniChar>(&unit, 1));
    const Wex::cPoint end = Draw(context, points[i], *text);
    if (endPoints != nullptr) endPoints[i] = end;
  }
}

}  // namespace Velto
