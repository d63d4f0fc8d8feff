// VariantFile: the material file in a texture package that gathers the
// variants of every level converted, one file per texture set.
//
// The file is a comment line and then one declaration per variant, sorted by
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

// The file's path in a package: materials/<set>_variants_<package stem>.mtr (a name no
// other package's file takes, since the engine reads only one file of a path).
std::string VariantFilePath(const std::string& set, const std::string& packageStem);

// The declarations of a file's text; text that is not a declaration is dropped.
VariantDecls ReadVariantFile(const std::string& text);

// Adds `added` to `into`; true when a name was new or its text changed.
bool MergeVariants(VariantDecls& into, const VariantDecls& added);

// The file's text for `set`.
std::string WriteVariantFile(const std::string& set, const VariantDecls& decls);

}  // namespace zaro3
