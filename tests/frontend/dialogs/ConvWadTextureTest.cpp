#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogControls.h"
#include "DialogDriver.h"
#include "TestFiles.h"
#include "TestGlobals.h"
#include "dialogs/ConvWadDlg.h"

using namespace testsupport;

namespace {

const char kOpenCaption[] = "Open";
const int kFileNameBox = 1148;
const int kFileTypeBox = 1136;

class ConvWadTextureTest : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(m_program.Path()); }

    TempFolder m_program;
    TempFolder m_elsewhere;
};

} // namespace

TEST_F(ConvWadTextureTest, CancelGivesFalseAndCopiesNothing)
{
    m_elsewhere.MakeFile("doom2.wad", "IWAD");
    DialogDriver driver;
    driver.Then(kOpenCaption, [&](HWND dialog) {
        EXPECT_EQ(GetItemText(dialog, kFileNameBox), "doom2.wad");
        PostCommand(dialog, IDCANCEL);
    });
    EXPECT_FALSE(ConvertTextureWad("doom2.wad"));
    EXPECT_TRUE(driver.AllStepsDone()) << "the open-file dialog was never shown";
    EXPECT_FALSE(FileExists(m_program.Join("doom2.wad")));
}

TEST_F(ConvWadTextureTest, UnsafeCharactersShowAsUnderscoresInNameAndFilter)
{
    DialogDriver driver;
    driver.Then(kOpenCaption, [&](HWND dialog) {
        EXPECT_EQ(GetItemText(dialog, kFileNameBox), "C__tex_my_x.wad");
        EXPECT_EQ(GetComboItems(dialog, kFileTypeBox), (std::vector<std::string> { "C__tex_my_x.wad (*.wad)" }));
        PostCommand(dialog, IDCANCEL);
    });
    EXPECT_FALSE(ConvertTextureWad("C:\\tex|my:x.wad"));
    EXPECT_TRUE(driver.AllStepsDone());
}

TEST_F(ConvWadTextureTest, ChosenWadIsCopiedIntoTheProgramFolder)
{
    const std::string source = m_elsewhere.MakeFile("tnt.wad", "IWAD texture data");
    DialogDriver driver;
    driver.Then(kOpenCaption, [&](HWND dialog) {
        SetItemText(dialog, kFileNameBox, source);
        PostCommand(dialog, IDOK);
    });
    EXPECT_TRUE(ConvertTextureWad("tnt.wad"));
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_EQ(ReadFileBytes(m_program.Join("tnt.wad")), "IWAD texture data");
    EXPECT_EQ(ReadFileBytes(source), "IWAD texture data");
}

TEST_F(ConvWadTextureTest, LongChosenPathIsCopiedWhole)
{
    // A path longer than 256 bytes: cutting it would name a file that is not there.
    std::string folder = m_elsewhere.MakeFolder(std::string(100, 'a'));
    const size_t room = 258 - folder.size() - std::string("\\\\x.wad").size();
    folder = MakeFolders(folder + "\\" + std::string(room, 'b')) ? folder + "\\" + std::string(room, 'b') : std::string();
    ASSERT_FALSE(folder.empty());
    const std::string source = folder + "\\x.wad";
    ASSERT_EQ(source.size(), 258u);
    ASSERT_TRUE(WriteFileBytes(source, "long way"));

    DialogDriver driver;
    driver.Then(kOpenCaption, [&](HWND dialog) {
        SetItemText(dialog, kFileNameBox, source);
        PostCommand(dialog, IDOK);
    });
    EXPECT_TRUE(ConvertTextureWad("x.wad"));
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_EQ(ReadFileBytes(m_program.Join("x.wad")), "long way");
}
