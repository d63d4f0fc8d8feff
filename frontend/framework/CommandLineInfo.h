// CCommandLineInfo: what the program's command line asks the framework to do.
//
// Parameters starting with "/" or "-" are flags; the framework knows none and
// skips them. The first other parameter names a file to open; further ones are
// ignored. Without a file name the command is FileNew.
#pragma once

#include <vector>

#include "String.h"

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    virtual ~CCommandLineInfo() = default;

    // One parameter (flag: without its leading "/" or "-"); last on the final one.
    virtual void ParseParam(const char* param, bool flag, bool last);

    // Feeds every parameter (the program name excluded) through ParseParam.
    void ParseArguments(const std::vector<CString>& arguments);

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
};
