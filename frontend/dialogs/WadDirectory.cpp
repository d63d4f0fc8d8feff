#include "WadDirectory.h"

#include <cstdint>
#include <fstream>

namespace {

// Each name ends in a line feed; one more line feed ends the list.
const char kLevelNameList[] =
    "E1M1\nE1M2\nE1M3\nE1M4\nE1M5\nE1M6\nE1M7\nE1M8\nE1M9\n"
    "E2M1\nE2M2\nE2M3\nE2M4\nE2M5\nE2M6\nE2M7\nE2M8\nE2M9\n"
    "E3M1\nE3M2\nE3M3\nE3M4\nE3M5\nE3M6\nE3M7\nE3M8\nE3M9\n"
    "E4M1\nE4M2\nE4M3\nE4M4\nE4M5\nE4M6\nE4M7\nE4M8\nE4M9\n"
    "MAP01\nMAP02\nMAP03\nMAP04\nMAP05\nMAP06\nMAP07\nMAP08\nMAP09\nMAP10\n"
    "MAP11\nMAP12\nMAP13\nMAP14\nMAP15\nMAP16\nMAP17\nMAP18\nMAP19\nMAP20\n"
    "MAP21\nMAP22\nMAP23\nMAP24\nMAP25\nMAP26\nMAP27\nMAP28\nMAP29\nMAP30\n"
    "MAP31\nMAP32\n"
    "\n";

const int kHeaderSize = 12;
const int kEntrySize = 16;
const int kNameSize = 8;

std::uint32_t ReadUInt32(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0])
        | (static_cast<std::uint32_t>(bytes[1]) << 8)
        | (static_cast<std::uint32_t>(bytes[2]) << 16)
        | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool ReadBytes(std::ifstream& file, unsigned char* buffer, int count)
{
    file.read(reinterpret_cast<char*>(buffer), count);
    return file.gcount() == count;
}

CString LumpName(const unsigned char* nameBytes)
{
    int length = 0;
    while (length < kNameSize && nameBytes[length] != 0)
        ++length;
    CString name(reinterpret_cast<const char*>(nameBytes), length);
    name.MakeUpper();
    return name;
}

} // namespace

bool IsLevelName(const CString& name)
{
    const char* line = kLevelNameList;
    while (*line != '\n') {
        const char* end = line;
        while (*end != '\n')
            ++end;
        if (name == CString(line, static_cast<int>(end - line)))
            return true;
        line = end + 1;
    }
    return false;
}

bool ReadWadLevels(const CString& path, std::vector<CString>& levels)
{
    levels.clear();
    std::ifstream file(path.GetString(), std::ios::binary);
    if (!file.is_open())
        return false;

    file.seekg(0, std::ios::end);
    const std::streamoff fileSize = file.tellg();
    file.seekg(0, std::ios::beg);
    if (fileSize < 0 || !file)
        return false;

    unsigned char header[kHeaderSize];
    if (!ReadBytes(file, header, kHeaderSize))
        return false;
    const std::uint32_t lumpCount = ReadUInt32(header + 4);
    const std::uint32_t directoryOffset = ReadUInt32(header + 8);
    if (static_cast<std::streamoff>(directoryOffset) > fileSize)
        return false;
    // A directory that cannot fit in the file is cut short; say so before reading
    // anything rather than walking a bogus count entry by entry.
    const std::uint64_t directorySize = static_cast<std::uint64_t>(lumpCount) * kEntrySize;
    if (directorySize > static_cast<std::uint64_t>(fileSize - directoryOffset))
        return false;

    file.seekg(static_cast<std::streamoff>(directoryOffset), std::ios::beg);
    if (!file || file.tellg() != static_cast<std::streamoff>(directoryOffset))
        return false;

    std::vector<CString> found;
    for (std::uint32_t i = 0; i < lumpCount; ++i) {
        unsigned char entry[kEntrySize];
        if (!ReadBytes(file, entry, kEntrySize))
            return false;
        CString name = LumpName(entry + 8);
        if (IsLevelName(name))
            found.push_back(name);
    }
    levels.swap(found);
    return true;
}
