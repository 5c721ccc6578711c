#include "sim/system_appearance.h"

#include <vector>

namespace marlowick::sim {

SimSystemAppearance::SimSystemAppearance(platform::RunLoop& loop) : loop_(loop) {}

SimSystemAppearance::~SimSystemAppearance() {
    observers_->clear();
}

platform::Subscription SimSystemAppearance::observe(std::function<void()> changed) {
    auto id = nextObserver_++;
    observers_->emplace(id, std::move(changed));
    std::weak_ptr<Observers> weak = observers_;
    return platform::Subscription([weak, id] {
        if (auto observers = weak.lock()) observers->erase(id);
    });
}

void SimSystemAppearance::set(platform::Appearance appearance) {
    if (appearance == current_) return;
    current_ = appearance;
    std::weak_ptr<Observers> weak = observers_;
    loop_.async([weak] {
        auto observers = weak.lock();
        if (!observers) return;
        std::vector<std::uint64_t> ids;
        for (const auto& [id, observer] : *observers)
            ids.push_back(id);
        // An observer may drop its own handle or another's while it runs.
        for (auto id : ids) {
            auto found = observers->find(id);
            if (found == observers->end()) continue;
            auto observer = found->second;
            observer();
            if (weak.expired()) return;
        }
    });
}

} // namespace marlowick::sim
