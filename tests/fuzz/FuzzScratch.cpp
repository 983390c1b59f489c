#include "tests/fuzz/FuzzScratch.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace hx::fuzz {

namespace {

std::string MakeFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    for (const char* base : {"/dev/shm", tmp ? tmp : "/tmp", "/tmp"}) {
        if (::access(base, W_OK) != 0)
            continue;
        std::string pattern = std::string(base) + "/hexatint-fuzz.XXXXXX";
        if (::mkdtemp(pattern.data()))
            return pattern;
    }
    Fail("cannot make a scratch folder");
}

std::string gFolder;

void RemoveFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(gFolder, ignored);
}

} // namespace

const std::string& ScratchFile()
{
    static const std::string file = [] {
        gFolder = MakeFolder();
        std::atexit(RemoveFolder);
        return gFolder + "/settings.ini";
    }();
    return file;
}

void WriteScratch(std::string_view bytes)
{
    std::ofstream out(ScratchFile(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        Fail("cannot write the scratch file");
}

std::string ReadScratch()
{
    std::ifstream in(ScratchFile(), std::ios::binary);
    if (!in)
        Fail("cannot read the scratch file");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "\n*** %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace hx::fuzz
