// VariantFile: the material files in a texture package that gather the
// variants of every level converted, one file per texture set and image.
//
// One file per image keeps a conversion's work to the images the level shows:
// only their files are read, and only those that gain a variant are written.
// A file is a comment line and then one declaration per variant, sorted by
// name, each `textures/<name>` and its braced body. Reading takes any run of
// declarations (comments skipped, braces balanced) and keys them by their name
// without "textures/"; Merge adds the new ones (a name already there takes the
// new text, so a kit that changed how it writes a variant mends the file) and
// says whether anything changed, so that converting a level again writes
// nothing. Values only.
#pragma once

#include <map>
#include <string>

namespace zaro3 {

// Variant name (without "textures/") -> its whole declaration text.
using VariantDecls = std::map<std::string, std::string>;

// The path in a package of the file holding the variants of `image` (a variant's base
// material without its set: "STARTAN3", "flats/FLOOR0_1"):
// materials/<set>_variants_<package stem>_<image, '/' as '_'>.mtr (a name no other
// package's file takes, since the engine reads only one file of a path).
std::string VariantFilePath(const std::string& set, const std::string& packageStem, const std::string& image);

// The one file of a set that earlier kits wrote: materials/<set>_variants_<package stem>.mtr.
std::string WholeSetFilePath(const std::string& set, const std::string& packageStem);

// The image a variant shows: its name between the set and the last '/'
// ("doom2/flats/FLOOR0_1/k1_5f" -> "flats/FLOOR0_1"); the name without its set when it has no phase.
std::string VariantImage(const std::string& variantName);

// The variants by their image.
std::map<std::string, VariantDecls> ByImage(const VariantDecls& decls);

// The declarations of a file's text; text that is not a declaration is dropped.
VariantDecls ReadVariantFile(const std::string& text);

// Adds `added` to `into`; true when a name was new or its text changed.
bool MergeVariants(VariantDecls& into, const VariantDecls& added);

// The text of the file of `set` and `image`.
std::string WriteVariantFile(const std::string& set, const std::string& image, const VariantDecls& decls);

}  // namespace zaro3
