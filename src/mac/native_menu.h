// What the Mac's menus give the adapters that show them: the NSMenu behind a platform menu, so a
// status item can hang it from its button. Objective-C++ only.
#pragma once

#import <AppKit/AppKit.h>

namespace marlowick::mac {

class NativeMenu {
public:
    virtual NSMenu* _Nonnull nsMenu() const = 0;

protected:
    ~NativeMenu() = default;
};

} // namespace marlowick::mac
