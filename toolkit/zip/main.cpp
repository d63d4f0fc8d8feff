// The archiver's entry point: parse, collect, pack, and report any failure as
// one line with the matching exit code.
#include "CommandLine.h"
#include "InputCollector.h"
#include "ZipError.h"
#include "ZipWriter.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

std::filesystem::path ArchivePath(const std::string& name) {
  std::filesystem::path path(name);
  if (!path.has_extension()) path += ".zip";
  return path;
}

void Report(const zip::PackedEntry& entry) {
  if (entry.directory) {
    std::printf("  adding: %s (stored 0%%)\n", entry.name.c_str());
  } else if (entry.method == 8) {
    const unsigned saved = entry.size == 0 ? 0 : static_cast<unsigned>(((entry.size - entry.packedSize) * 100) / entry.size);
    std::printf("  adding: %s (deflated %u%%)\n", entry.name.c_str(), saved);
  } else {
    std::printf("  adding: %s (stored 0%%)\n", entry.name.c_str());
  }
}

int Run(const std::vector<std::string>& args) {
  const zip::CommandLine line = zip::ParseCommandLine(args);
  if (line.help) {
    std::fputs(zip::UsageText(), stdout);
    return 0;
  }
  const std::filesystem::path archive = ArchivePath(line.archive);
  const std::vector<zip::Entry> entries = zip::CollectEntries(line.inputs, line.recurse, archive);
  zip::ZipWriter writer(archive, line.level);
  for (const zip::Entry& entry : entries) {
    const zip::PackedEntry& packed =
        entry.directory ? writer.AddDirectory(entry.name, entry.source) : writer.AddFile(entry.name, entry.source);
    if (!line.quiet) Report(packed);
  }
  writer.Commit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const zip::ZipError& error) {
    std::fprintf(stderr, "zip: %s\n", error.what());
    return error.exitCode();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zip: %s\n", error.what());
    return 3;
  }
}
