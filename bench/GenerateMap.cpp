// Writes a large brush-format map for the benchmark: a worldspawn followed by
// many small entities (most unnamed), each with six-plane box brushes.
//
//   scorvel_genmap OUTPUT SIZE_MB
//
// The content is deterministic, so runs compare like with like.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class Random {
public:
    std::uint32_t Next(std::uint32_t nRange)
    {
        m_nState = m_nState * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(m_nState >> 33) % nRange;
    }

private:
    std::uint64_t m_nState = 0x5eed;
};

const char* const kTextures[] = {"textures/base_wall/lfwall13f3", "textures/base_floor/tilesmall",
                                 "textures/base_trim/bluetex1", "textures/common/caulk",
                                 "textures/base_door/smalldoor", "textures/hell/cbrick1"};

void AppendBox(std::string& out, Random& random)
{
    const int x = static_cast<int>(random.Next(8192)) - 4096, y = static_cast<int>(random.Next(8192)) - 4096;
    const int z = static_cast<int>(random.Next(1024)) - 512;
    const int a = x, b = y, c = z, d = x + 8 + static_cast<int>(random.Next(248)),
              e = y + 8 + static_cast<int>(random.Next(248)), f = z + 8 + static_cast<int>(random.Next(120));
    const int planes[6][9] = {{a, b, c, a, b + 1, c, a, b, c + 1}, {d, b, c, d, b, c + 1, d, b + 1, c},
                              {a, b, c, a, b, c + 1, a + 1, b, c}, {a, e, c, a + 1, e, c, a, e, c + 1},
                              {a, b, c, a + 1, b, c, a, b + 1, c}, {a, b, f, a, b + 1, f, a + 1, b, f}};
    const char* pszTexture = kTextures[random.Next(6)];
    char line[256];
    out += "{\n";
    for (const auto& p : planes) {
        std::snprintf(line, sizeof line, "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) %s 0 0 0 0.500000 0.500000\n", p[0],
                      p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], pszTexture);
        out += line;
    }
    out += "}\n";
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fputs("usage: scorvel_genmap OUTPUT SIZE_MB\n", stderr);
        return 1;
    }
    const unsigned long long nTarget = std::strtoull(argv[2], nullptr, 10) << 20;
    std::FILE* pOut = std::fopen(argv[1], "wb");
    if (pOut == nullptr)
        return 1;
    Random random;
    std::string chunk = "{\n\"classname\" \"worldspawn\"\n\"name\" \"world\"\n";
    for (int i = 0; i < 64; ++i)
        AppendBox(chunk, random);
    chunk += "}\n";
    unsigned long long nWritten = 0;
    for (unsigned n = 0; nWritten < nTarget; ++n) {
        char line[128];
        chunk += "{\n";
        std::snprintf(line, sizeof line, "\"origin\" \"%d %d %d\"\n\"classname\" \"func_static\"\n",
                      static_cast<int>(random.Next(8192)) - 4096, static_cast<int>(random.Next(8192)) - 4096,
                      static_cast<int>(random.Next(512)));
        chunk += line;
        if (n % 10 == 0) {
            std::snprintf(line, sizeof line, "\"name\" \"static_%u\"\n", n);
            chunk += line;
        }
        for (std::uint32_t nBrushes = 1 + random.Next(3); nBrushes != 0; --nBrushes)
            AppendBox(chunk, random);
        chunk += "}\n";
        if (chunk.size() >= (1u << 20)) {
            if (std::fwrite(chunk.data(), 1, chunk.size(), pOut) != chunk.size())
                return 1;
            nWritten += chunk.size();
            chunk.clear();
        }
    }
    if (std::fwrite(chunk.data(), 1, chunk.size(), pOut) != chunk.size() || std::fclose(pOut) != 0)
        return 1;
    return 0;
}
