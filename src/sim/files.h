// The simulated file system: real files under the simulated user's home folder, so that what the
// program writes can be read back. Models: folders that refuse writes (the simulation runs as root,
// where permission bits would not refuse anything). Not modelled: quotas, a full disk.
#pragma once

#include <set>
#include <string>

#include "platform/files.h"

namespace marlowick::sim {

class SimFiles final : public platform::Files {
public:
    explicit SimFiles(std::string home) : home_(std::move(home)) {}

    std::string homeDirectory() override { return home_; }
    bool createDirectory(const std::string& path) override;
    std::optional<std::uint64_t> fileSize(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool createFile(const std::string& path) override;
    std::unique_ptr<platform::FileHandle> openForWriting(const std::string& path) override;

    // Nothing can be created or written inside this folder (or below it) from now on.
    void makeReadOnly(const std::string& folder) { readOnly_.insert(folder); }
    bool isWritable(const std::string& path) const;

private:
    std::string home_;
    std::set<std::string> readOnly_;
};

} // namespace marlowick::sim
