// The Core Foundation holder's ownership, counted: the patterns the adapters use (a Copy call's
// result adopted, a Get call's result retained, holders copied into lists and overwritten through
// out()) leave every object released exactly as often as it was retained, over 10,000 requests.
// Core Foundation itself is played by counting functions.
#include "mac/cf_ref.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// Each object's retain count beyond the one its creator holds.
std::map<const void*, int>& balances() {
    static std::map<const void*, int> counts;
    return counts;
}

} // namespace

extern "C" CFTypeRef CFRetain(CFTypeRef cf) {
    ++balances()[cf];
    return cf;
}
extern "C" void CFRelease(CFTypeRef cf) {
    --balances()[cf];
}

namespace marlowick::mac {
namespace {

struct FakeObject {
    int id;
};

// What a Copy call hands over: an object the caller owns once.
CFTypeRef copyValue(std::vector<FakeObject>& pool, int id) {
    pool.push_back({id});
    const void* object = &pool.back();
    ++balances()[object];
    return object;
}

TEST(CFRef, EveryRetainIsMatchedByOneReleaseOverTenThousandRequests) {
    balances().clear();
    std::vector<FakeObject> pool;
    pool.reserve(20'000);
    const FakeObject borrowed{-1}; // held by its owner throughout, as a Get call's result is
    {
        std::vector<CFRef<CFTypeRef>> kept;
        CFRef<CFTypeRef> reused;
        for (int request = 0; request < 10'000; ++request) {
            auto adopted = CFRef<CFTypeRef>::adopt(copyValue(pool, request));
            auto retained = CFRef<CFTypeRef>::retain(&borrowed);
            *reused.out() = copyValue(pool, request); // drops the previous request's value
            CFRef<CFTypeRef> copy = adopted;
            CFRef<CFTypeRef> moved = std::move(retained);
            if (request % 100 == 0) kept.push_back(copy);
            copy = moved; // assignment releases what it held
        }
        for (const auto& [object, balance] : balances()) {
            if (object == &borrowed) continue;
            EXPECT_GE(balance, 0);
        }
    }
    for (const auto& [object, balance] : balances())
        EXPECT_EQ(balance, 0) << "object " << static_cast<const FakeObject*>(object)->id;
    EXPECT_EQ(balances().size(), 20'001u);
}

} // namespace
} // namespace marlowick::mac
