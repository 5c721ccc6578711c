// What the Mac's menus give the adapters that show them: the NSMenu behind a platform menu, so a
// status item can hang it from its button, and the NSMenuItem behind a platform item. Objective-C++
// only.
#pragma once

#import <AppKit/AppKit.h>

namespace marlowick::mac {

class NativeMenu {
public:
    virtual NSMenu* _Nonnull nsMenu() const = 0;

protected:
    ~NativeMenu() = default;
};

class NativeMenuItem {
public:
    virtual NSMenuItem* _Nonnull nsItem() const = 0;

protected:
    ~NativeMenuItem() = default;
};

} // namespace marlowick::mac
