#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "Dialog.h"
#include "DialogDriver.h"
#include "TestFiles.h"
#include "resource.h"

using namespace testsupport;

namespace {

TEST(DialogDriver, WatchdogEndsADialogNobodyAnswers)
{
    CDialog about(IDD_ABOUTBOX);
    DialogDriver driver(300);
    driver.Then("No such caption", nullptr);
    EXPECT_EQ(about.DoModal(), IDCANCEL);
    EXPECT_TRUE(driver.WatchdogFired());
    EXPECT_FALSE(driver.AllStepsDone());
}

TEST(DialogDriver, AnswersTheShellsOverwriteConfirmation)
{
    TempFolder folder;
    const std::string source = folder.MakeFile("a\\map.map", "new");
    const std::string target = folder.MakeFile("b\\map.map", "old");
    const std::string sources = source + '\0';
    const std::string destination = folder.Join("b") + '\0';
    SHFILEOPSTRUCTA copy {};
    copy.wFunc = FO_COPY;
    copy.pFrom = sources.c_str();
    copy.pTo = destination.c_str();
    copy.fFlags = FOF_SIMPLEPROGRESS;

    DialogDriver driver;
    driver.AnswerConfirmations(IDYES);
    EXPECT_EQ(::SHFileOperationA(&copy), 0);
    EXPECT_EQ(ReadFileBytes(target), "new");
    ASSERT_EQ(driver.Confirmations().size(), 1u);
    EXPECT_EQ(driver.Confirmations()[0].rfind("Confirm", 0), 0u);
    EXPECT_TRUE(driver.MessageBoxes().empty());
    EXPECT_FALSE(driver.WatchdogFired());
}

} // namespace
