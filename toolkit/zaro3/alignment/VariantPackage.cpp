#include "VariantPackage.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "PackageUpdate.h"

namespace zaro3 {

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string InFolder(const std::string& folder, const std::string& file) {
  return (folder.empty() || folder == ".") ? file : (fs::path(folder) / file).string();
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The newer of two packages that may exist; "" when neither does.
std::string NewerOf(const std::string& a, const std::string& b) {
  if (!IsFile(a)) return IsFile(b) ? b : "";
  if (!IsFile(b)) return a;
  std::error_code error;
  const auto timeA = fs::last_write_time(a, error);
  const auto timeB = fs::last_write_time(b, error);
  return error || timeA >= timeB ? a : b;
}

std::string StemOf(const std::string& package) { return fs::path(package).stem().string(); }

}  // namespace

std::string FindVariantPackage(const std::string& folder, const std::string& wadPath,
                               const std::vector<TextureSet>& sets) {
  const std::string own = InFolder(folder, "z" + Lower(fs::path(wadPath).stem().string()) + "tex.pk4");
  if (IsFile(own)) return own;
  for (auto set = sets.rbegin(); set != sets.rend(); ++set) {
    std::string package;
    switch (*set) {
      case TextureSet::Plutonia: package = InFolder(folder, "zplutoniatex.pk4"); break;
      case TextureSet::Tnt: package = InFolder(folder, "ztnttex.pk4"); break;
      case TextureSet::Doom2: package = InFolder(folder, "zdoom2tex.pk4"); break;
      case TextureSet::Doom:
        package = NewerOf(InFolder(folder, "zdoomtex.pk4"), InFolder(folder, "zdoom1tex.pk4"));
        break;
      case TextureSet::Custom: break;  // its package is the wad's own, looked for above
    }
    if (!package.empty() && IsFile(package)) return package;
  }
  return "";
}

VariantDeployment DeployVariants(const std::string& package,
                                 const std::map<std::string, VariantDecls>& variantsBySet) {
  VariantDeployment deployment;
  std::vector<pk4::PackageFile> changed;
  const std::string stem = StemOf(package);
  for (const auto& [set, variants] : variantsBySet) {
    deployment.variants += variants.size();
    std::map<std::string, VariantDecls> byImage = ByImage(variants);
    // A package from a kit that kept a set's variants in one file: they move to their
    // images' files, and that file is emptied so that no variant is declared twice.
    const std::string wholeSetPath = WholeSetFilePath(set, stem);
    const auto wholeSet = pk4::ReadPackageEntry(package, wholeSetPath);
    std::map<std::string, VariantDecls> moved;
    if (wholeSet) {
      moved = ByImage(ReadVariantFile(*wholeSet));
      for (const auto& entry : moved) byImage[entry.first];
    }
    std::vector<std::string> paths;
    for (const auto& entry : byImage) paths.push_back(VariantFilePath(set, stem, entry.first));
    const std::map<std::string, std::string> existing = pk4::ReadPackageEntries(package, paths);
    for (const auto& [image, imageVariants] : byImage) {
      const std::string path = VariantFilePath(set, stem, image);
      const auto held = existing.find(path);
      VariantDecls decls = held != existing.end() ? ReadVariantFile(held->second) : VariantDecls{};
      bool movesHere = false;
      const auto movedHere = moved.find(image);
      // What the file already holds wins over the old whole-set copy.
      if (movedHere != moved.end()) {
        for (const auto& entry : movedHere->second) movesHere = decls.emplace(entry.first, entry.second).second || movesHere;
      }
      const std::size_t before = decls.size();
      const bool gained = MergeVariants(decls, imageVariants);
      if (!gained && !movesHere) continue;
      deployment.added += decls.size() - before;
      changed.push_back({path, WriteVariantFile(set, image, decls)});
    }
    if (!moved.empty()) {
      changed.push_back({wholeSetPath, "// The variants of the " + set +
                                           " images are in materials/" + set + "_variants_" + stem + "_<image>.mtr.\n"});
    }
  }
  if (!changed.empty()) {
    pk4::ReplacePackageEntries(package, changed);
    deployment.written = true;
  }
  return deployment;
}

}  // namespace zaro3
