#pragma once
// A fresh directory under $TMPDIR (or /tmp), removed with everything in it at the end of a test.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace velkora::testing {

class TempDir {
public:
    TempDir()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/velkora-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Names of the directory's entries, sorted.
    std::vector<std::string> fileNames() const
    {
        const std::set<std::string> names = entries(path_);
        return {names.begin(), names.end()};
    }

    // Names of the entries of `dir`, hidden ones included.
    static std::set<std::string> entries(const std::filesystem::path& dir)
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush())
        throw std::runtime_error("cannot write " + file.string());
}

inline std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline unsigned permissions(const std::filesystem::path& file)
{
    return static_cast<unsigned>(std::filesystem::status(file).permissions()) & 0777u;
}

} // namespace velkora::testing
