// Files and the home folder, as much as the product writes itself (the log).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace marlowick::platform {

class FileHandle {
public:
    virtual ~FileHandle() = default;
    virtual bool seekToEnd() = 0;
    virtual bool write(std::string_view bytes) = 0;
};

class Files {
public:
    virtual ~Files() = default;
    // The current user's home folder, without a trailing slash.
    virtual std::string homeDirectory() = 0;
    // Creates the folder and every missing parent; false on any error, also when it exists.
    virtual bool createDirectory(const std::string& path) = 0;
    // The size in bytes, or none when the attributes cannot be read.
    virtual std::optional<std::uint64_t> fileSize(const std::string& path) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    // Creates an empty file, replacing any file at the path.
    virtual bool createFile(const std::string& path) = 0;
    virtual std::unique_ptr<FileHandle> openForWriting(const std::string& path) = 0;
};

} // namespace marlowick::platform
