#include "PackageUpdate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ZipWriter.h"

namespace fs = std::filesystem;

namespace {

class PackageUpdateTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() /
               ("pk4_update_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }

  std::string Path(const std::string& name) const { return (m_folder / name).string(); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

  // A package made by the kit's own zip writer: one stored and one deflated file.
  std::string MakePackage(const std::string& name) {
    Write(Path("image.tga"), std::string(300, '\x07') + "image");
    Write(Path("base.mtr"), "textures/a/B\n{\n\tdiffusemap textures/a/B.tga\n}\n");
    const std::string package = Path(name);
    zip::ZipWriter writer(package, 9);
    writer.AddDirectory("textures/", m_folder);
    writer.AddFile("textures/a/B.tga", Path("image.tga"));
    writer.AddFile("materials/a.mtr", Path("base.mtr"));
    writer.Commit();
    return package;
  }

  std::size_t Leftovers() const {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(m_folder)) count += entry.path().string().find(".tmp") != std::string::npos;
    return count;
  }

  fs::path m_folder;
};

}  // namespace

TEST_F(PackageUpdateTest, APackageGainsAndReplacesFilesKeepingEveryOtherEntryByteForByte) {
  const std::string package = MakePackage("ztex.pk4");
  const std::string before = Read(package);
  pk4::ReplacePackageEntries(package, {{"materials/a_variants.mtr", std::string(5000, 'v')}});
  EXPECT_EQ(pk4::ReadPackageEntry(package, "textures/a/B.tga"), std::string(300, '\x07') + "image");
  EXPECT_EQ(pk4::ReadPackageEntry(package, "materials/a.mtr"), Read(Path("base.mtr")));
  EXPECT_EQ(pk4::ReadPackageEntry(package, "materials/a_variants.mtr"), std::string(5000, 'v'));
  // The old entries' bytes come first, unchanged, up to where the old directory began.
  const std::string after = Read(package);
  const std::size_t oldEntries = before.find(std::string("PK\x01\x02", 4));
  EXPECT_EQ(after.substr(0, oldEntries), before.substr(0, oldEntries));

  // Replacing a file keeps one entry of that name (matched without regard to case).
  pk4::ReplacePackageEntries(package, {{"Materials/A_Variants.mtr", "second"}});
  EXPECT_EQ(pk4::ReadPackageEntry(package, "materials/a_variants.mtr"), "second");
  std::size_t directoryRecords = 0;
  const std::string last = Read(package);
  for (std::size_t at = last.find("PK\x01\x02"); at != std::string::npos; at = last.find("PK\x01\x02", at + 4)) ++directoryRecords;
  EXPECT_EQ(directoryRecords, 4u);  // the folder, the image, the base materials, the variants
  EXPECT_FALSE(pk4::ReadPackageEntry(package, "materials/absent.mtr").has_value());
  // Several at once: those held, keyed as asked.
  const auto some = pk4::ReadPackageEntries(package, {"MATERIALS/A.MTR", "materials/absent.mtr", "materials/a_variants.mtr"});
  ASSERT_EQ(some.size(), 2u);
  EXPECT_EQ(some.at("MATERIALS/A.MTR"), Read(Path("base.mtr")));
  EXPECT_EQ(some.at("materials/a_variants.mtr"), "second");
  EXPECT_EQ(Leftovers(), 0u);
}

TEST_F(PackageUpdateTest, ADamagedPackageIsAnErrorAndStaysAsItWas) {
  const std::string package = MakePackage("ztex.pk4");
  std::string damaged = Read(package);
  damaged.resize(damaged.size() - 30);  // the directory's end is cut off
  Write(package, damaged);
  EXPECT_THROW(pk4::ReplacePackageEntries(package, {{"materials/x.mtr", "x"}}), pk4::PackageError);
  EXPECT_THROW(pk4::ReadPackageEntry(package, "materials/a.mtr"), pk4::PackageError);
  EXPECT_EQ(Read(package), damaged);
  EXPECT_THROW(pk4::ReplacePackageEntries(Path("absent.pk4"), {{"x", "x"}}), pk4::PackageError);
  EXPECT_FALSE(fs::exists(Path("absent.pk4")));
  EXPECT_EQ(Leftovers(), 0u);
}

TEST_F(PackageUpdateTest, APackageThatCannotBeWrittenAnewStaysIntact) {
#ifdef _WIN32
  GTEST_SKIP() << "the file name trick needs a file system with 255-byte names";
#else
  // A name so long that the temporary file beside it cannot be made.
  const std::string package = Path(std::string(250, 'z') + ".pk4");
  fs::rename(MakePackage("short.pk4"), package);
  const std::string before = Read(package);
  try {
    pk4::ReplacePackageEntries(package, {{"materials/x.mtr", "x"}});
    FAIL() << "expected a PackageError";
  } catch (const pk4::PackageError& e) {
    EXPECT_NE(std::string(e.what()).find("cannot write"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Read(package), before);
  EXPECT_EQ(Leftovers(), 0u);
#endif
}
