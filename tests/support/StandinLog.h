// Reading what the tool stand-ins logged, and pointing them at a log.
//
// A stand-in appends one TAB-separated line per run (see
// standins/StandinEnvironment.h); ReadStandinLog splits the lines into entries
// in the order the runs logged them. A missing log reads as no entries. Tests
// that use this link kolvanta_standins.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "standins/StandinEnvironment.h"

struct StandinLogEntry {
    std::string tool;          // "ZarO3.exe", "doom3.exe" or "xtract.bat"
    std::string commandLine;   // exes: GetCommandLineA(); batch file: %0 and %*
    std::string folder;        // working folder, without a trailing backslash
    std::string firstArgument; // batch file only: %1 as typed, quotes kept
};

inline std::vector<StandinLogEntry> ReadStandinLog(const std::string& path)
{
    std::vector<StandinLogEntry> entries;
    std::ifstream log(path, std::ios::binary);
    std::string line;
    while (std::getline(log, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
            fields.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        fields.push_back(line.substr(start));
        fields.resize(4);
        entries.push_back({fields[0], fields[1], fields[2], fields[3]});
    }
    return entries;
}

// Sets an environment variable of this process (inherited by what it launches)
// for the lifetime of the object, then restores the previous value.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const std::string& value) : m_name(name)
    {
        char previous[32768];
        DWORD length = ::GetEnvironmentVariableA(name, previous, sizeof(previous));
        m_hadValue = length > 0 && length < sizeof(previous);
        if (m_hadValue)
            m_previous.assign(previous, length);
        ::SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnvironmentVariable() { ::SetEnvironmentVariableA(m_name.c_str(), m_hadValue ? m_previous.c_str() : nullptr); }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::string m_name;
    std::string m_previous;
    bool m_hadValue = false;
};
