#pragma once
// A fresh folder under /tmp for one test, removed with everything in it afterwards.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace hx::test {

class TTempFolder {
public:
    TTempFolder()
    {
        std::string pattern = "/tmp/hx-services-XXXXXX";
        FPath = ::mkdtemp(pattern.data());
        ::chmod(FPath.c_str(), 0755);  // reachable for the unprivileged children of tests
    }
    ~TTempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }

    // The names in the folder, sorted.
    std::string Listing() const
    {
        std::string names;
        std::vector<std::string> sorted;
        for (const auto& entry : std::filesystem::directory_iterator(FPath))
            sorted.push_back(entry.path().filename().string());
        std::sort(sorted.begin(), sorted.end());
        for (const auto& n : sorted)
            names += n + ";";
        return names;
    }

private:
    std::string FPath;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace hx::test
