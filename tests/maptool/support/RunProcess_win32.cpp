#include "RunProcess.h"

#include "TestFiles.h"

#include <windows.h>

#include <stdexcept>

namespace {

// One argument quoted by the rules the C runtime uses to split a command line.
std::string Quote(const std::string& strArg)
{
    std::string quoted = "\"";
    std::size_t nBackslashes = 0;
    for (char c : strArg) {
        if (c == '\\') {
            ++nBackslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * nBackslashes + 1 : nBackslashes, '\\');
        nBackslashes = 0;
        quoted += c;
    }
    quoted.append(2 * nBackslashes, '\\');
    return quoted + "\"";
}

HANDLE CreateInheritable(const std::string& strPath, DWORD nAccess, DWORD nDisposition)
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE h = ::CreateFileA(strPath.c_str(), nAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, nDisposition,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + strPath);
    return h;
}

} // namespace

ProcessResult RunProcess(const std::string& strProgram, const std::vector<std::string>& args)
{
    CTempFolder streams;
    const std::string strOut = streams.File("out");
    const std::string strErr = streams.File("err");
    std::string strCommand = Quote(strProgram);
    for (const std::string& strArg : args)
        strCommand += " " + Quote(strArg);

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = CreateInheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    si.hStdOutput = CreateInheritable(strOut, GENERIC_WRITE, CREATE_ALWAYS);
    si.hStdError = CreateInheritable(strErr, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION pi = {};
    const BOOL bStarted = ::CreateProcessA(strProgram.c_str(), strCommand.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                           nullptr, &si, &pi);
    ::CloseHandle(si.hStdInput);
    ::CloseHandle(si.hStdOutput);
    ::CloseHandle(si.hStdError);
    if (!bStarted)
        throw std::runtime_error("cannot start " + strProgram);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD nExitCode = 0;
    ::GetExitCodeProcess(pi.hProcess, &nExitCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);

    ProcessResult result;
    result.nExitCode = static_cast<int>(nExitCode);
    result.out = ReadBytes(strOut);
    result.err = ReadBytes(strErr);
    return result;
}

std::string ScorvelProgram()
{
    // The build knows the program by its Linux path; under Wine the Linux file
    // system is drive Z:.
    std::string strPath = SCORVEL_PROGRAM;
    if (!strPath.empty() && strPath[0] == '/') {
        strPath = "Z:" + strPath;
        for (char& c : strPath)
            if (c == '/')
                c = '\\';
    }
    return strPath;
}
