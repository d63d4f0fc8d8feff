// The demo's stand-in for doom3.exe: records how it was started and the
// console scripts it was asked to run (+exec <name>, read from base\ as the
// game would), in doom3-started.txt beside itself, and ends.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string OwnFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "(cannot be read)\n";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

int main(int argc, char** argv)
{
    std::ofstream log(OwnFolder() + "doom3-started.txt", std::ios::binary | std::ios::app);
    log << "command line: " << ::GetCommandLineA() << "\r\n";
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) != "+exec")
            continue;
        log << "script base\\" << argv[i + 1] << ":\r\n" << ReadWhole(std::string("base\\") + argv[i + 1]);
    }
    return log ? 0 : 1;
}
