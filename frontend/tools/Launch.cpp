#include "Launch.h"

#include <vector>

#include "app/AppGlobals.h"
#include "Handle.h"

bool LaunchProcess(CString application, CString commandLine, CString workingFolder, bool wait)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof(process));

    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> writableCommandLine(commandLine.GetString(),
                                          commandLine.GetString() + commandLine.GetLength() + 1);

    // An empty folder is no folder: the process then starts in ours, where the
    // platform would otherwise refuse to create it.
    const char* folder = workingFolder.IsEmpty() ? nullptr : workingFolder.GetString();
    const char* program = application.IsEmpty() ? nullptr : application.GetString();

    if (!::CreateProcessA(program, writableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder, &startup, &process))
        return false;

    CHandle thread(process.hThread);
    CHandle processHandle(process.hProcess);
    if (wait) {
        ::WaitForSingleObject(thread.Get(), INFINITE);
        ::WaitForSingleObject(processHandle.Get(), INFINITE);
    }
    processHandle.Close();
    thread.Close();
    return true;
}

bool LaunchInToolFolder(CString application, CString commandLine, bool wait)
{
    return LaunchProcess(application, commandLine, g_strProgramFolder, wait);
}
