// Records another process's live accessibility tree (Notification Center's, for a report) into the
// tree file's model. Bounded like every walk: kMaxRecordedDepth levels, kMaxRecordedElements
// elements; another process's values are taken only when they make sense (a NaN frame is left out).
#pragma once

#include "notificationcenter/tree_file.h"
#include "platform/accessibility.h"

namespace marlowick {

struct TreeRecording {
    RecordedTree tree;
    // The application element's own request failed, or the process stopped answering or the
    // permission went during the walk: the recording is not to be written.
    platform::AXError error = platform::kAXErrorSuccess;
    // Elements beyond the bounds were left out.
    bool cutOff = false;
};

// The tree below `application` through the platform's accessibility service, and the platform's
// screens in the service's coordinates. An element whose request fails (it went meanwhile) is left
// out.
TreeRecording recordTree(const platform::Element& application);

} // namespace marlowick
