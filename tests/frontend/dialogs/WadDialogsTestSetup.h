// What the wad and map conversion dialog tests share: crafted wads, a temporary
// program folder holding the tool stand-ins, and the stand-ins' log.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "StandinLog.h"
#include "Standins.h"
#include "TestFiles.h"
#include "TestGlobals.h"

namespace waddialogs {

inline void PutUInt32(std::string& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A wad with one empty lump per name, its directory right after the header.
inline std::string MakeWad(const std::vector<std::string>& names)
{
    std::string bytes = "PWAD";
    PutUInt32(bytes, static_cast<std::uint32_t>(names.size()));
    PutUInt32(bytes, 12);
    for (const std::string& name : names) {
        PutUInt32(bytes, 12);
        PutUInt32(bytes, 0);
        std::string padded = name.substr(0, 8);
        padded.resize(8, '\0');
        bytes += padded;
    }
    return bytes;
}

// The program folder as a test's tools see it: a temporary folder holding the
// stand-ins, made the program folder and (so that a program named without a
// path is found there) the current folder; the stand-ins log to a file outside
// it. Everything is undone when the object goes away.
class ToolFolder {
public:
    ToolFolder()
        : m_logVariable(KOLVANTA_STANDIN_LOG_VARIABLE, m_logs.Join("standins.log")),
          m_standinsInstalled(InstallStandins(m_program.Path())),
          m_current(m_program.Path())
    {
        testsupport::SetProgramFolder(m_program.Path());
    }
    ToolFolder(const ToolFolder&) = delete;
    ToolFolder& operator=(const ToolFolder&) = delete;

    bool StandinsInstalled() const { return m_standinsInstalled; }
    const testsupport::TempFolder& Program() const { return m_program; }
    std::string AddWad(const std::string& name, const std::vector<std::string>& lumps) const
    {
        return m_program.MakeFile(name, MakeWad(lumps));
    }
    std::vector<StandinLogEntry> Log() const { return ReadStandinLog(m_logs.Join("standins.log")); }

private:
    testsupport::TempFolder m_program;
    testsupport::TempFolder m_logs;
    ScopedEnvironmentVariable m_logVariable;
    bool m_standinsInstalled;
    testsupport::ScopedCurrentFolder m_current;
};

} // namespace waddialogs
