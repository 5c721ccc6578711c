#include "app/tree_dump.h"

#include "app/log.h"
#include "input/command_line.h"
#include "notificationcenter/reader.h"
#include "notificationcenter/tree_recording.h"
#include "platform/platform.h"

namespace marlowick {

namespace {

// A path that begins "~/" lies in the home folder: no shell has expanded it when the app is started
// with `open --args` and a quoted path.
std::string expandHome(std::string path) {
    if (path.starts_with("~/")) return platform::current().files->homeDirectory() + path.substr(1);
    return path;
}

int refuse(const std::string& reason) {
    log("Cannot record Notification Center's tree: " + reason);
    return 1;
}

std::string readFailure(platform::AXError error) {
    switch (error) {
    case platform::kAXErrorAPIDisabled:
        return "the Accessibility permission is missing (reads are refused)";
    case platform::kAXErrorCannotComplete:
        return "Notification Center does not answer";
    case platform::kAXErrorInvalidUIElement:
        return "Notification Center has quit";
    default:
        return "its application element cannot be read (error " + std::to_string(error) + ")";
    }
}

bool writeFile(const std::string& path, const std::string& text) {
    auto& files = *platform::current().files;
    if (!files.createFile(path)) return false;
    auto handle = files.openForWriting(path);
    return handle && handle->write(text);
}

} // namespace

std::optional<int> dumpTreeIfAsked() {
    auto arguments = platform::current().process->arguments();
    if (!hasFlag(arguments, kDumpTreeFlag)) return std::nullopt;
    auto file = flagValue(arguments, kDumpTreeFlag);
    // "--dump-tree --keep-texts FILE" names no file: the flag that follows is not one to write.
    if (!file || file->empty() || file->starts_with("--")) {
        log(std::string(kDumpTreeFlag) +
            " needs the file to write, as in --dump-tree ~/Desktop/nc-tree.json");
        return 2;
    }
    std::string path = expandHome(std::string(*file));
    bool keepTexts = hasFlag(arguments, kKeepTextsFlag);

    auto& accessibility = *platform::current().accessibility;
    if (!accessibility.isProcessTrusted()) return refuse("the Accessibility permission is missing");
    auto application = notificationCenterApp();
    if (!application) return refuse("Notification Center is not running");
    accessibility.setMessagingTimeout(accessibility.systemWide(), kDumpMessagingTimeout);
    auto recording = recordTree(*application);
    if (recording.error != platform::kAXErrorSuccess) return refuse(readFailure(recording.error));
    if (recording.cutOff)
        log("Notification Center's tree is larger than a recording holds: elements below " +
            std::to_string(kMaxRecordedDepth) + " levels or past " + std::to_string(kMaxRecordedElements) +
            " are left out");
    if (!keepTexts) replaceTexts(recording.tree);
    if (!writeFile(path, writeTreeFile(recording.tree)))
        return refuse("cannot write " + escapeUntrusted(path));
    log("Wrote Notification Center's tree to " + escapeUntrusted(path) + ": " +
        std::to_string(elementCount(recording.tree.application)) + " elements, " +
        (keepTexts ? "texts kept" : "texts replaced by placeholders"));
    return 0;
}

} // namespace marlowick
