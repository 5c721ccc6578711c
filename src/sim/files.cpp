#include "sim/files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace marlowick::sim {

namespace fs = std::filesystem;

namespace {

class StreamHandle final : public platform::FileHandle {
public:
    explicit StreamHandle(std::FILE* file) : file_(file) {}
    ~StreamHandle() override { std::fclose(file_); }
    bool seekToEnd() override { return std::fseek(file_, 0, SEEK_END) == 0; }
    bool write(std::string_view bytes) override {
        bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
        return std::fflush(file_) == 0 && written;
    }

private:
    std::FILE* file_;
};

bool isWithin(const std::string& path, const std::string& folder) {
    if (path.compare(0, folder.size(), folder) != 0) return false;
    return path.size() == folder.size() || path[folder.size()] == '/';
}

} // namespace

bool SimFiles::isWritable(const std::string& path) const {
    for (const auto& folder : readOnly_) {
        if (isWithin(path, folder)) return false;
    }
    return true;
}

bool SimFiles::createDirectory(const std::string& path) {
    std::error_code error;
    if (fs::exists(path, error)) return false;
    // Refused when any folder that would have to be made lies in a read-only folder.
    fs::path probe = path;
    while (!probe.empty() && !fs::exists(probe, error)) {
        if (!isWritable(probe.string())) return false;
        probe = probe.parent_path();
    }
    if (!isWritable(probe.string()) && probe.string() != path) return false;
    return fs::create_directories(path, error) && !error;
}

std::optional<std::uint64_t> SimFiles::fileSize(const std::string& path) {
    std::error_code error;
    auto size = fs::file_size(path, error);
    if (error) return std::nullopt;
    return size;
}

bool SimFiles::fileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

bool SimFiles::createFile(const std::string& path) {
    if (!isWritable(path)) return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file);
}

std::unique_ptr<platform::FileHandle> SimFiles::openForWriting(const std::string& path) {
    if (!isWritable(path)) return nullptr;
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return nullptr;
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file) return nullptr;
    return std::make_unique<StreamHandle>(file);
}

} // namespace marlowick::sim
