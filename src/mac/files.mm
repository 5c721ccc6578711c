// Wraps: NSFileManager (folders, file sizes, existence, empty files), NSFileHandle for appending,
// NSHomeDirectory.
// Leaves out: reading files, permissions and attributes other than the size, coordination.
#import <Foundation/Foundation.h>

#include <memory>
#include <optional>
#include <string>

#include "mac/foundation_values.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

class MacFileHandle final : public platform::FileHandle {
public:
    explicit MacFileHandle(NSFileHandle* handle) : handle_(handle) {}
    ~MacFileHandle() override { [handle_ closeAndReturnError:nil]; }

    bool seekToEnd() override { return [handle_ seekToEndReturningOffset:nullptr error:nil]; }
    bool write(std::string_view bytes) override {
        return [handle_ writeData:[NSData dataWithBytes:bytes.data() length:bytes.size()] error:nil];
    }

private:
    NSFileHandle* handle_;
};

class MacFiles final : public platform::Files {
public:
    std::string homeDirectory() override {
        std::string home = toString(NSHomeDirectory());
        while (home.size() > 1 && home.back() == '/')
            home.pop_back();
        return home;
    }

    bool createDirectory(const std::string& path) override {
        NSString* folder = toNSString(path);
        if (!folder || [NSFileManager.defaultManager fileExistsAtPath:folder]) return false;
        return [NSFileManager.defaultManager createDirectoryAtPath:folder
                                       withIntermediateDirectories:YES
                                                        attributes:nil
                                                             error:nil];
    }

    std::optional<std::uint64_t> fileSize(const std::string& path) override {
        NSString* file = toNSString(path);
        if (!file) return std::nullopt;
        NSDictionary* attributes = [NSFileManager.defaultManager attributesOfItemAtPath:file error:nil];
        if (!attributes) return std::nullopt;
        return static_cast<std::uint64_t>([attributes fileSize]);
    }

    bool fileExists(const std::string& path) override {
        NSString* file = toNSString(path);
        return file && [NSFileManager.defaultManager fileExistsAtPath:file];
    }

    bool createFile(const std::string& path) override {
        NSString* file = toNSString(path);
        return file && [NSFileManager.defaultManager createFileAtPath:file
                                                             contents:[NSData data]
                                                           attributes:nil];
    }

    std::unique_ptr<platform::FileHandle> openForWriting(const std::string& path) override {
        NSString* file = toNSString(path);
        NSFileHandle* handle = file ? [NSFileHandle fileHandleForWritingAtPath:file] : nil;
        if (!handle) return nullptr;
        return std::make_unique<MacFileHandle>(handle);
    }
};

} // namespace

std::unique_ptr<platform::Files> makeFiles() {
    return std::make_unique<MacFiles>();
}

} // namespace marlowick::mac
