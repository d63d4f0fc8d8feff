// Runs a program to its end and collects what a caller of it can observe: the
// exit code and everything written to standard output and standard error, as
// raw bytes. Standard input is empty.
//
// Arguments are passed as given (quoted for the Windows command line). Throws
// std::runtime_error when the program cannot be started.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int nExitCode = -1;
    std::string out;
    std::string err;
};

ProcessResult RunProcess(const std::string& strProgram, const std::vector<std::string>& args);

// The path of the built scorvel program in the form this platform's calls take.
std::string ScorvelProgram();
