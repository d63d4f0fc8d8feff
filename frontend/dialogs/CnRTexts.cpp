#include "CnRTexts.h"

#include "app/Paths.h"

CnRPaths MakeCnRPaths(const CString& doom3Folder, const CString& modFolderName, const CString& mapName)
{
    CnRPaths paths;
    paths.modFolder = JoinPath(doom3Folder, modFolderName);
    paths.mapsFolder = JoinPath(paths.modFolder, "maps");
    paths.mapCopy = JoinPath(paths.mapsFolder, mapName);
    paths.compileScript = JoinPath(paths.modFolder, "brask_compile.cfg");
    paths.runScript = JoinPath(paths.modFolder, "brask_runmap.cfg");
    paths.doom3Program = JoinPath(doom3Folder, "doom3.exe");
    return paths;
}

CString FormatCompileScript(const CString& mapName)
{
    CString text;
    text.Format("dmap noflood %s\r\n", mapName.GetString());
    return text;
}

CString FormatRunScript(const CString& mapName)
{
    CString text;
    text.Format("map %s\r\n", mapName.GetString());
    return text;
}

CString FormatDoom3Options(bool compile, bool run)
{
    CString options(" +com_allowConsole 1");
    if (compile)
        options += " +exec brask_compile.cfg";
    if (run)
        options += " +exec brask_runmap.cfg";
    return options;
}

CString FormatDoom3CommandLine(const CString& doom3Program, bool compile, bool run)
{
    CString commandLine;
    commandLine.Format("\"%s\"%s", doom3Program.GetString(), FormatDoom3Options(compile, run).GetString());
    return commandLine;
}

CString FormatMapToolCommandLine(const CString& mapCopyPath)
{
    CString commandLine;
    commandLine.Format("scorvel.exe \"%s\"", mapCopyPath.GetString());
    return commandLine;
}
