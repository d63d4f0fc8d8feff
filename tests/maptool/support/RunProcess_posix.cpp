#include "RunProcess.h"

#include "TestFiles.h"

#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

ProcessResult RunProcess(const std::string& strProgram, const std::vector<std::string>& args)
{
    CTempFolder streams;
    const std::string strOut = streams.File("out");
    const std::string strErr = streams.File("err");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(strProgram.c_str()));
    for (const std::string& strArg : args)
        argv.push_back(const_cast<char*>(strArg.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int hIn = ::open("/dev/null", O_RDONLY);
        const int hOut = ::open(strOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int hErr = ::open(strErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (hIn < 0 || hOut < 0 || hErr < 0 || ::dup2(hIn, 0) < 0 || ::dup2(hOut, 1) < 0 || ::dup2(hErr, 2) < 0)
            ::_exit(127);
        ::execv(strProgram.c_str(), argv.data());
        ::_exit(127);
    }
    int nStatus = 0;
    while (::waitpid(pid, &nStatus, 0) < 0) {
    }
    ProcessResult result;
    result.nExitCode = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
    result.out = ReadBytes(strOut);
    result.err = ReadBytes(strErr);
    return result;
}

std::string ScorvelProgram()
{
    return SCORVEL_PROGRAM;
}
