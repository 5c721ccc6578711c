// Wraps: NSProcessInfo's arguments, NSBundle's information values of the main bundle, the C
// library's standard output.
// Leaves out: the environment, localized information values, non-scalar values (they read as none).
#import <Foundation/Foundation.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "mac/foundation_values.h"
#include "mac/services.h"

namespace marlowick::mac {
namespace {

class MacProcess final : public platform::Process {
public:
    std::vector<std::string> arguments() override {
        std::vector<std::string> out;
        NSArray<NSString*>* all = NSProcessInfo.processInfo.arguments;
        for (NSUInteger i = 1; i < all.count; ++i)
            out.push_back(toString(all[i]));
        return out;
    }

    std::optional<platform::BundleValue> bundleValue(std::string_view key) override {
        NSString* name = toNSString(key);
        if (!name) return std::nullopt;
        return scalarOf<platform::BundleValue>([NSBundle.mainBundle objectForInfoDictionaryKey:name]);
    }

    void makeStandardOutputLineBuffered() override { std::setvbuf(stdout, nullptr, _IOLBF, 0); }
    void writeStandardOutput(std::string_view bytes) override {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    }
};

} // namespace

std::unique_ptr<platform::Process> makeProcess() {
    return std::make_unique<MacProcess>();
}

} // namespace marlowick::mac
