// TextureLibrary: the floor images of materials, found in the packages.
//
// Material `a/b` is the image `textures/a/b.tga`; a later package on the
// command line wins over an earlier one, as the engine lets later packages
// override. Each image found is kept with a chain of halved copies (each
// texel the mean of four, wrapping at the edges) so a floor seen from far
// keeps its average colour instead of flickering. A missing or broken image
// gives a flat colour derived from the material's name; both are counted.
// The library borrows the archives, which must outlive it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Picture.h"
#include "Pk4Archive.h"

namespace mappreview {

struct FloorTexture {
  std::vector<Picture> levels;  // full size first; empty means "use flat"
  Rgb flat;                     // the mean colour, or the name's colour when no image
};

class TextureLibrary {
public:
  explicit TextureLibrary(std::vector<Pk4Archive*> archives) : m_archives(std::move(archives)) {}

  // The texture of `material`, loaded on first use; the reference lives as long as the library.
  const FloorTexture& Find(const std::string& material);

  int MissingCount() const { return m_missing; }
  int BrokenCount() const { return m_broken; }
  std::size_t MaterialCount() const { return m_textures.size(); }

private:
  std::vector<Pk4Archive*> m_archives;
  std::map<std::string, FloorTexture> m_textures;
  int m_missing = 0;
  int m_broken = 0;
};

// A stable, pleasant flat colour for a material name.
Rgb ColourOfName(const std::string& material);

}  // namespace mappreview
