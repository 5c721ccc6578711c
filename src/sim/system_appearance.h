// The simulated system appearance behind platform::SystemAppearance.
// Models: light or dark, switched at any time, observers told on a later turn of the main run loop
// (a handle dropped before then is not called); the Reduce Motion switch; the user's accent colour and
// the system colours it and the appearance resolve to (menus follow the system's appearance). Not
// modelled: the automatic schedule, the highlight colour, per-window appearances.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/appearance.h"
#include "platform/run_loop.h"
#include "platform/system_colors.h"

namespace marlowick::sim {

class SimSystemAppearance final : public platform::SystemAppearance {
public:
    explicit SimSystemAppearance(platform::RunLoop& loop);
    ~SimSystemAppearance() override;
    SimSystemAppearance(const SimSystemAppearance&) = delete;
    SimSystemAppearance& operator=(const SimSystemAppearance&) = delete;

    platform::Appearance current() const override { return current_; }
    bool reducesMotion() const override { return reducesMotion_; }
    platform::Subscription observe(std::function<void()> changed) override;

    // The user picks an appearance in the system settings; nothing happens when it is already in force.
    void set(platform::Appearance appearance);
    // The user switches Reduce Motion in the accessibility settings.
    void setReducesMotion(bool reduces) { reducesMotion_ = reduces; }
    // The user picks an accent colour; what draws afterwards takes it.
    void setAccent(platform::AccentColor accent) { accent_ = accent; }
    platform::AccentColor accent() const { return accent_; }
    // The system colours in the current appearance and accent, as a menu's draw pass gets them.
    platform::SystemColors colors() const { return platform::standardColors(current_, accent_); }

private:
    using Observers = std::map<std::uint64_t, std::function<void()>>;
    platform::RunLoop& loop_;
    platform::Appearance current_ = platform::Appearance::Light;
    bool reducesMotion_ = false;
    platform::AccentColor accent_ = platform::AccentColor::Blue;
    std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
    std::uint64_t nextObserver_ = 1;
};

} // namespace marlowick::sim
