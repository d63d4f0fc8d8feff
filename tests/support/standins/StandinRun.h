// What every executable stand-in does: wait if asked, append its line to the
// log, and tell which exit code to end with. Shared by the stand-ins only.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "StandinEnvironment.h"

inline std::string StandinVariable(const char* name)
{
    char value[MAX_PATH * 2];
    DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
    if (length == 0 || length >= sizeof(value))
        return std::string();
    return std::string(value, length);
}

inline std::string StandinCurrentFolder()
{
    char folder[MAX_PATH * 2];
    DWORD length = ::GetCurrentDirectoryA(sizeof(folder), folder);
    return length > 0 && length < sizeof(folder) ? std::string(folder, length) : std::string();
}

// Logs this run as the named tool; returns the exit code the stand-in ends with.
inline int RunStandin(const char* toolName)
{
    std::string sleepMs = StandinVariable(KOLVANTA_STANDIN_SLEEP_VARIABLE);
    if (!sleepMs.empty())
        ::Sleep(static_cast<DWORD>(std::strtoul(sleepMs.c_str(), nullptr, 10)));

    std::string logPath = StandinVariable(KOLVANTA_STANDIN_LOG_VARIABLE);
    if (logPath.empty())
        logPath = KOLVANTA_STANDIN_DEFAULT_LOG;
    std::string line = std::string(toolName) + '\t' + ::GetCommandLineA() + '\t' + StandinCurrentFolder() + "\r\n";
    if (std::FILE* log = std::fopen(logPath.c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), log);
        std::fclose(log);
    }

    return StandinVariable(KOLVANTA_STANDIN_FAIL_VARIABLE).empty() ? 0 : KOLVANTA_STANDIN_FAIL_EXIT_CODE;
}
