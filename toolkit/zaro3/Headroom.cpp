#include "Headroom.h"

#include <cmath>

#include "PlayerFit.h"

namespace zaro3 {

HeadroomReport CheckHeadroom(const wad::Level& level, const std::vector<PortalSite>& sites, const Scale& scale) {
  HeadroomReport report;
  for (const PortalSite& site : sites) {
    bool blocking = false;
    for (const int l : site.linedefs) blocking = blocking || (level.linedefs[l].flags & wad::kLineBlocking);
    if (blocking) continue;
    const int64_t height = site.high - site.low;
    // Only a run between walls has a width of its own; whole units are enough here.
    const int64_t width = static_cast<int64_t>(std::floor(
        std::hypot(static_cast<double>(site.to.x - site.from.x), static_cast<double>(site.to.y - site.from.y))));
    if (height < kDoomPlayerHeight || (site.betweenWalls && width < kDoomPlayerWidth)) continue;
    ++report.openings;
    const bool wide = !site.betweenWalls || CompareScaled(width, scale, kDoom3PlayerWidth) >= 0;
    if (wide && CompareScaled(height, scale, kDoom3StandingHeight) >= 0) continue;
    if (wide && CompareScaled(height, scale, kDoom3CrouchingHeight) >= 0) ++report.crouch;
    else ++report.blocked;
  }
  return report;
}

}  // namespace zaro3
