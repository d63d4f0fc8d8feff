// TextureLibrary: the floor images of materials, found in the packages.
//
// A material the packages' material files define shows the image of its first
// diffuse stage (at time 0, every shader parm 0) through that stage's texture
// matrix, as DOOM 3 draws it; any other material `a/b` is the image
// `textures/a/b.tga` laid as DOOM lays flats. A later package on the command
// line wins over an earlier one, for images and material definitions alike,
// as the engine lets later packages override. Each image found is kept with a
// chain of halved copies (each texel the mean of four, wrapping at the edges) so a floor seen from far
// keeps its average colour instead of flickering. A missing or broken image
// gives a flat colour derived from the material's name; both are counted.
// The library borrows the archives, which must outlive it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Canvas.h"
#include "MaterialDecls.h"
#include "Picture.h"
#include "Pk4Archive.h"

namespace mappreview {

struct FloorTexture {
  std::vector<Picture> levels;  // full size first; empty means "use flat"
  Rgb flat;                     // the mean colour, or the name's colour when no image
  // Defined by a material: the stage matrix applies to DOOM 3's floor projection
  // (s = y / 32, t = x / 32 in map units); otherwise DOOM's own flat layout.
  bool staged = false;
  material::TextureMatrix matrix;
};

class TextureLibrary {
public:
  // Reads the material files of `archives`; throws PreviewError when one cannot be read.
  explicit TextureLibrary(std::vector<Pk4Archive*> archives);

  // The texture of `material`, loaded on first use; the reference lives as long as the library.
  const FloorTexture& Find(const std::string& material);

  int MissingCount() const { return m_missing; }
  int BrokenCount() const { return m_broken; }
  std::size_t MaterialCount() const { return m_textures.size(); }

private:
  FloorTexture Load(const std::string& image);

  std::vector<Pk4Archive*> m_archives;
  material::MaterialDecls m_materials;
  std::map<std::string, FloorTexture> m_textures;
  int m_missing = 0;
  int m_broken = 0;
};

// A stable, pleasant flat colour for a material name.
Rgb ColourOfName(const std::string& material);

}  // namespace mappreview
