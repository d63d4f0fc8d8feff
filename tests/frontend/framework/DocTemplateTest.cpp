#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CommandLineInfo.h"
#include "DocTemplate.h"
#include "Document.h"
#include "FrameWnd.h"
#include "RecentFileList.h"
#include "TestFiles.h"
#include "View.h"

namespace {

const char kDocString[] = "Kolvanta Rev.0\n\nKolvanta\n\n\nKolvanta.Document\nKolvanta.Document";

TEST(DocString, FieldsAreSeparatedByNewlines)
{
    EXPECT_EQ(CSingleDocTemplate::ExtractDocString(kDocString, CSingleDocTemplate::windowTitle), "Kolvanta Rev.0");
    EXPECT_EQ(CSingleDocTemplate::ExtractDocString(kDocString, CSingleDocTemplate::docName), "");
    EXPECT_EQ(CSingleDocTemplate::ExtractDocString(kDocString, CSingleDocTemplate::fileNewName), "Kolvanta");
    EXPECT_EQ(CSingleDocTemplate::ExtractDocString(kDocString, CSingleDocTemplate::filterExt), "");
    EXPECT_EQ(CSingleDocTemplate::ExtractDocString(kDocString, CSingleDocTemplate::regFileTypeName),
              "Kolvanta.Document");
    EXPECT_EQ(CSingleDocTemplate::ExtractDocString(kDocString, 7), "");
    EXPECT_EQ(CSingleDocTemplate::ExtractDocString("Title only", CSingleDocTemplate::fileNewName), "");
}

TEST(CommandLine, NoArgumentsMeansNew)
{
    CCommandLineInfo info;
    info.ParseArguments({});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST(CommandLine, FirstNameOpensFlagsAreSkipped)
{
    CCommandLineInfo info;
    info.ParseArguments({"/dde", "C:\\maps\\e1m1.txt", "-x", "second.txt"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "C:\\maps\\e1m1.txt");

    CCommandLineInfo flagsOnly;
    flagsOnly.ParseArguments({"/Embedding", "-p"});
    EXPECT_EQ(flagsOnly.m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndNoLongerThanItsSize)
{
    CRecentFileList list(L"", 3);
    list.Add("C:\\a.txt");
    list.Add("C:\\b.txt");
    list.Add("c:\\A.TXT");
    list.Add("C:\\c.txt");
    list.Add("C:\\d.txt");
    ASSERT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list[0], "C:\\d.txt");
    EXPECT_EQ(list[1], "C:\\c.txt");
    EXPECT_EQ(list[2], "c:\\A.TXT");
}

TEST(RecentFiles, WrittenOnlyAfterAChangeAndReadBack)
{
    const std::wstring key = L"Software\\KolvantaTests\\Recent File List";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KolvantaTests");

    CRecentFileList unchanged(key, 4);
    unchanged.ReadList();
    EXPECT_EQ(unchanged.GetCount(), 0u);
    EXPECT_TRUE(unchanged.WriteList());
    HKEY probe = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &probe), ERROR_SUCCESS)
        << "an unchanged list created its key";

    CRecentFileList written(key, 4);
    written.Add("C:\\first.txt");
    written.Add("C:\\second.txt");
    ASSERT_TRUE(written.WriteList());

    CRecentFileList read(key, 4);
    read.ReadList();
    ASSERT_EQ(read.GetCount(), 2u);
    EXPECT_EQ(read[0], "C:\\second.txt");
    EXPECT_EQ(read[1], "C:\\first.txt");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KolvantaTests");
}

// The first frame becomes the main window and posts the quit message when it
// goes; a test that made one takes that message away again at its end.
struct QuitMessageDrain {
    ~QuitMessageDrain()
    {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
};

class TitledDocument : public CDocument {};

class PlainFrame : public CFrameWnd {};

std::unique_ptr<CDocument> MakeDocument()
{
    return std::make_unique<TitledDocument>();
}

std::unique_ptr<CFrameWnd> MakeFrame()
{
    return std::make_unique<PlainFrame>();
}

std::unique_ptr<CView> MakeView()
{
    return std::make_unique<CView>();
}

TEST(SingleDocTemplate, FrameWithAddToTitleShowsTheDocumentFirst)
{
    QuitMessageDrain drain;
    CSingleDocTemplate docTemplate(128, &MakeDocument, &MakeFrame, &MakeView);
    CDocument* document = docTemplate.OpenDocumentFile(nullptr, false);
    ASSERT_NE(document, nullptr);
    CFrameWnd* frame = docTemplate.GetFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->AddsDocumentToTitle());
    EXPECT_EQ(frame->GetWindowText(), "Untitled - Kolvanta Rev.0");
    ASSERT_NE(frame->GetActiveView(), nullptr);
    EXPECT_EQ(frame->GetActiveView()->GetDocument(), document);
    EXPECT_EQ(::GetDlgCtrlID(frame->GetActiveView()->GetSafeHwnd()), static_cast<int>(AFX_IDW_PANE_FIRST));
    docTemplate.CloseAll();
    EXPECT_EQ(docTemplate.GetFrame(), nullptr);
}

TEST(SingleDocTemplate, OpeningAFileTitlesTheDocumentWithItsName)
{
    QuitMessageDrain drain;
    testsupport::TempFolder folder;
    const std::string path = folder.MakeFile("level.txt", "x");
    CSingleDocTemplate docTemplate(128, &MakeDocument, &MakeFrame, &MakeView);
    CDocument* document = docTemplate.OpenDocumentFile(path.c_str(), false);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle(), "level.txt");
    EXPECT_EQ(docTemplate.GetFrame()->GetWindowText(), "level.txt - Kolvanta Rev.0");
}

TEST(SingleDocTemplate, AFileThatCannotBeOpenedLeavesNoFrame)
{
    QuitMessageDrain drain;
    testsupport::TempFolder folder;
    CSingleDocTemplate docTemplate(128, &MakeDocument, &MakeFrame, &MakeView);
    EXPECT_EQ(docTemplate.OpenDocumentFile(folder.Join("missing.txt").c_str(), false), nullptr);
    EXPECT_EQ(docTemplate.GetFrame(), nullptr);
    EXPECT_EQ(docTemplate.GetDocument(), nullptr);
}

}  // namespace
