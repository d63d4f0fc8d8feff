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
  for (const auto& [set, variants] : variantsBySet) {
    deployment.variants += variants.size();
    const std::string path = VariantFilePath(set, StemOf(package));
    const auto existing = pk4::ReadPackageEntry(package, path);
    VariantDecls decls = existing ? ReadVariantFile(*existing) : VariantDecls{};
    const std::size_t before = decls.size();
    if (!MergeVariants(decls, variants)) continue;
    deployment.added += decls.size() - before;
    changed.push_back({path, WriteVariantFile(set, decls)});
  }
  if (!changed.empty()) {
    pk4::ReplacePackageEntries(package, changed);
    deployment.written = true;
  }
  return deployment;
}

}  // namespace zaro3
