#include "CommandLineInfo.h"

void CCommandLineInfo::ParseParam(const char* param, bool flag, bool)
{
    if (flag || !param || !*param || !m_strFileName.IsEmpty())
        return;
    m_strFileName = param;
    m_nShellCommand = FileOpen;
}

void CCommandLineInfo::ParseArguments(const std::vector<CString>& arguments)
{
    for (size_t index = 0; index < arguments.size(); ++index) {
        const CString& argument = arguments[index];
        const bool flag = !argument.IsEmpty() && (argument.GetAt(0) == '/' || argument.GetAt(0) == '-');
        const bool last = index + 1 == arguments.size();
        ParseParam(flag ? argument.Mid(1).GetString() : argument.GetString(), flag, last);
    }
}
