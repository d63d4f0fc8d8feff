#include "Pk4Archive.h"

#include <gtest/gtest.h>

#include "PreviewError.h"
#include "PreviewTestFiles.h"

namespace mappreview {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(Pk4Archive, ReadsStoredAndDeflatedEntriesIgnoringCase) {
  previewtest::ScratchFolder folder;
  std::string repeated(5000, 'x');
  previewtest::WriteBytes(folder / "t.pk4", previewtest::MakeZip({{"textures/a/Stored.tga", Bytes("plain"), false},
                                                                   {"textures/a/packed.tga", Bytes(repeated), true},
                                                                   {"empty.txt", {}, true}}));
  Pk4Archive archive((folder / "t.pk4").string());
  EXPECT_EQ(archive.EntryCount(), 3u);
  EXPECT_TRUE(archive.Contains("TEXTURES/A/stored.TGA"));
  EXPECT_FALSE(archive.Contains("textures/a/other.tga"));
  EXPECT_EQ(archive.Read("textures/a/stored.tga"), Bytes("plain"));
  EXPECT_EQ(archive.Read("textures/a/packed.tga"), Bytes(repeated));
  EXPECT_TRUE(archive.Read("empty.txt").empty());
  EXPECT_THROW(archive.Read("missing"), PreviewError);
}

TEST(Pk4Archive, RefusesMissingShortAndDirectorylessFiles) {
  previewtest::ScratchFolder folder;
  EXPECT_THROW(Pk4Archive((folder / "absent.pk4").string()), PreviewError);
  previewtest::WriteBytes(folder / "short.pk4", Bytes("PK"));
  EXPECT_THROW(Pk4Archive((folder / "short.pk4").string()), PreviewError);
  previewtest::WriteBytes(folder / "text.pk4", Bytes(std::string(300, 'a')));
  EXPECT_THROW(Pk4Archive((folder / "text.pk4").string()), PreviewError);
}

TEST(Pk4Archive, CorruptDirectoryOrDataIsAnError) {
  previewtest::ScratchFolder folder;
  std::vector<uint8_t> zip = previewtest::MakeZip({{"a.tga", Bytes(std::string(400, 'q')), true}});

  std::vector<uint8_t> badOffset = zip;
  badOffset[badOffset.size() - 6] = 0xF0;  // central directory offset beyond the file
  previewtest::WriteBytes(folder / "offset.pk4", badOffset);
  EXPECT_THROW(Pk4Archive((folder / "offset.pk4").string()), PreviewError);

  std::vector<uint8_t> badData = zip;
  badData[30 + 5 + 2] ^= 0xFF;  // inside the deflated bytes
  previewtest::WriteBytes(folder / "data.pk4", badData);
  Pk4Archive archive((folder / "data.pk4").string());
  try {
    archive.Read("a.tga");
    FAIL() << "damaged data was read";
  } catch (const PreviewError& e) {
    EXPECT_EQ(e.Code(), ExitCode::BadInput);
  }
}

}  // namespace
}  // namespace mappreview
