#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestFiles.h"

using namespace testsupport;

namespace {

// The built program started in a fresh program folder of its own, with its page.
class KolvantaProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string exe = m_folder.Join("kolvanta.exe");
        ASSERT_TRUE(::CopyFileA(KOLVANTA_EXE_PATH, exe.c_str(), FALSE)) << KOLVANTA_EXE_PATH;
        m_folder.MakeFolder("core");
        ASSERT_TRUE(::CopyFileA(KOLVANTA_PAGE_PATH, m_folder.Join("core\\new_page_1.htm").c_str(), FALSE));

        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA startup {};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                     m_folder.Path().c_str(), &startup, &m_process));
        ::CloseHandle(m_process.hThread);
        m_process.hThread = nullptr;
        m_window = WaitForMainWindow();
    }

    void TearDown() override
    {
        if (!m_process.hProcess)
            return;
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.hProcess, 99);
            ::WaitForSingleObject(m_process.hProcess, 5000);
        }
        ::CloseHandle(m_process.hProcess);
    }

    // The process's visible top-level window, waiting up to 20 s for it.
    HWND WaitForMainWindow() const
    {
        struct Search {
            DWORD processId;
            HWND found;
        };
        for (int attempt = 0; attempt < 200; ++attempt) {
            Search search {m_process.dwProcessId, nullptr};
            ::EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto* state = reinterpret_cast<Search*>(data);
                    DWORD owner = 0;
                    ::GetWindowThreadProcessId(window, &owner);
                    if (owner == state->processId && ::IsWindowVisible(window) && !::GetWindow(window, GW_OWNER)) {
                        state->found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found)
                return search.found;
            if (::WaitForSingleObject(m_process.hProcess, 100) != WAIT_TIMEOUT)
                return nullptr;
        }
        return nullptr;
    }

    bool HasDescendantWithText(const std::string& text) const
    {
        struct Search {
            std::string text;
            bool found;
        } search {text, false};
        ::EnumChildWindows(
            m_window,
            [](HWND child, LPARAM data) -> BOOL {
                auto* state = reinterpret_cast<Search*>(data);
                char buffer[256] = {};
                ::GetWindowTextA(child, buffer, sizeof(buffer));
                state->found = state->text == buffer;
                return state->found ? FALSE : TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // The exit code once the process ended within 10 s, or -1.
    int WaitForExit() const
    {
        if (::WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return static_cast<int>(code);
    }

    TempFolder m_folder;
    PROCESS_INFORMATION m_process {};
    HWND m_window = nullptr;
};

TEST_F(KolvantaProcess, MainWindowCarriesTheTitleAndShowsTheCommands)
{
    ASSERT_NE(m_window, nullptr);
    char caption[64] = {};
    ::GetWindowTextA(m_window, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Kolvanta Rev.0");
    // No HTML engine in the test prefix: the button panel stands in for the page.
    EXPECT_TRUE(HasDescendantWithText("&Configure..."));
    EXPECT_TRUE(HasDescendantWithText("Copy, compile and &run..."));
}

TEST_F(KolvantaProcess, ClosingTheWindowEndsTheProgram)
{
    ASSERT_NE(m_window, nullptr);
    ::PostMessageA(m_window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(KolvantaProcess, ExitCommandEndsTheProgram)
{
    ASSERT_NE(m_window, nullptr);
    ::PostMessageA(m_window, WM_COMMAND, 57665, 0);
    EXPECT_EQ(WaitForExit(), 0);
}

}  // namespace
