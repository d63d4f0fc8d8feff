#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "File.h"
#include "FileDialog.h"
#include "FileFind.h"
#include "TestFiles.h"

using namespace testsupport;

namespace {

std::vector<std::string> RawListing(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry {};
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(entry.cFileName);
    while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return names;
}

TEST(FileFind, WalksEntriesInFileSystemOrder)
{
    TempFolder folder;
    folder.MakeFolder("base");
    folder.MakeFolder("d3xp");
    folder.MakeFile("readme.txt", "x");

    CFileFind finder;
    std::vector<std::string> names;
    std::vector<std::string> folders;
    bool more = finder.FindFile((folder.Path() + "\\*.*").c_str());
    ASSERT_TRUE(more);
    while (more) {
        more = finder.FindNextFile();
        names.push_back(finder.GetFileName().str());
        EXPECT_EQ(finder.GetFilePath(), CString((folder.Path() + "\\" + names.back()).c_str()));
        if (finder.IsDirectory() && !finder.IsDots())
            folders.push_back(names.back());
        EXPECT_EQ(finder.IsDots(), names.back() == "." || names.back() == "..");
    }
    EXPECT_EQ(names, RawListing(folder.Path() + "\\*.*"));
    EXPECT_EQ(folders.size(), 2u);
    EXPECT_FALSE(finder.FindNextFile()); // stays finished
}

TEST(FileFind, NothingToFind)
{
    TempFolder folder;
    CFileFind finder;
    EXPECT_FALSE(finder.FindFile((folder.Path() + "\\missing\\*.*").c_str()));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_EQ(finder.GetFileName(), "");
    EXPECT_FALSE(finder.IsDirectory());
}

TEST(FileStatus, FilesAndFoldersArePresentLongPathsAreNot)
{
    TempFolder folder;
    const std::string file = folder.MakeFile("zip.exe", "12345");
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(file.c_str(), status));
    EXPECT_EQ(status.m_size, 5u);
    EXPECT_FALSE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(CFile::GetStatus(folder.Path().c_str(), status));
    EXPECT_TRUE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(CFile::GetStatus(folder.Join("scorvel.exe").c_str(), status));
    EXPECT_FALSE(CFile::GetStatus(nullptr, status));

    // The same existing file named through a path of 260 characters or more.
    std::string longPath = folder.Path();
    while (longPath.size() < MAX_PATH)
        longPath += "\\.";
    longPath += "\\zip.exe";
    EXPECT_FALSE(CFile::GetStatus(longPath.c_str(), status));
}

TEST(FileDialog, FilterBecomesNulSeparatedAndTheNameBufferIsLarge)
{
    CFileDialog dialog(true, nullptr, "C:\\Games\\(DIR)", OFN_HIDEREADONLY, "(DIR)|*.*||", nullptr);
    const char expected[] = "(DIR)\0*.*\0\0";
    ASSERT_NE(dialog.m_ofn.lpstrFilter, nullptr);
    EXPECT_EQ(std::string(dialog.m_ofn.lpstrFilter, sizeof(expected) - 1), std::string(expected, sizeof(expected) - 1));
    EXPECT_GE(dialog.m_ofn.nMaxFile, 32768u);
    EXPECT_EQ(dialog.GetPathName(), "C:\\Games\\(DIR)");
    EXPECT_EQ(dialog.GetFileName(), "(DIR)");
}

} // namespace
