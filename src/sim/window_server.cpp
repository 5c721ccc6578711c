#include "sim/window_server.h"

#include <algorithm>
#include <utility>

namespace marlowick::sim {

class SimWindowServer::SimPanel final : public platform::Panel {
public:
    SimPanel(SimWindowServer& server, std::shared_ptr<PanelRecord> record)
        : server_(server), alive_(server.alive_), record_(std::move(record)) {}
    ~SimPanel() override {
        record_->released = true;
        if (!*alive_) return;
        server_.orderOut(record_.get());
        server_.forgetReleased();
    }

    void setLevel(int level) override { record_->level = level; }
    void setOpaque(bool opaque) override { record_->opaque = opaque; }
    void setBackgroundColor(const platform::Color& color) override { record_->background = color; }
    void setIgnoresMouseEvents(bool ignores) override { record_->ignoresMouseEvents = ignores; }
    void setCollectionBehavior(std::uint64_t behavior) override { record_->collectionBehavior = behavior; }
    void setHidesOnDeactivate(bool hides) override { record_->hidesOnDeactivate = hides; }
    void setBecomesKeyOnlyIfNeeded(bool onlyIfNeeded) override {
        record_->becomesKeyOnlyIfNeeded = onlyIfNeeded;
    }
    void setContentView(std::shared_ptr<platform::Layer> view) override {
        if (view) view->setFrame({0, 0, record_->frame.width(), record_->frame.height()});
        record_->contentView = std::move(view);
    }

    platform::Rect frame() const override { return record_->frame; }
    void setFrame(const platform::Rect& frame, platform::Display) override {
        record_->frame = frame;
        record_->frameHistory.push_back(frame);
        // The content view fills the panel.
        if (record_->contentView) record_->contentView->setFrame({0, 0, frame.width(), frame.height()});
    }
    void orderFrontRegardless() override {
        if (*alive_) server_.orderFront(record_);
    }
    void orderOut() override {
        record_->hiddenWhileInactive = false;
        if (*alive_) server_.orderOut(record_.get());
    }
    bool isVisible() const override { return record_->visible; }
    double backingScaleFactor() const override {
        return *alive_ ? server_.screens_.backingScaleFor(record_->frame) : 1.0;
    }

private:
    SimWindowServer& server_;
    std::shared_ptr<bool> alive_;
    std::shared_ptr<PanelRecord> record_;
};

SimWindowServer::SimWindowServer(SimScreens& screens) : screens_(screens) {}

SimWindowServer::~SimWindowServer() {
    *alive_ = false;
}

std::shared_ptr<platform::Panel> SimWindowServer::makePanel(const platform::Rect& contentRect,
                                                            std::uint64_t styleMask) {
    auto record = std::make_shared<PanelRecord>();
    record->styleMask = styleMask;
    record->frame = contentRect;
    panels_.push_back(record);
    ++made_;
    return std::make_shared<SimPanel>(*this, std::move(record));
}

std::vector<std::shared_ptr<const SimWindowServer::PanelRecord>> SimWindowServer::panels() const {
    return {panels_.begin(), panels_.end()};
}

std::vector<std::shared_ptr<const SimWindowServer::PanelRecord>> SimWindowServer::onScreen() const {
    return {order_.begin(), order_.end()};
}

void SimWindowServer::applicationDidResignActive() {
    for (auto& panel : panels_) {
        if (!panel->visible || !panel->hidesOnDeactivate) continue;
        orderOut(panel.get());
        panel->hiddenWhileInactive = true;
    }
}

void SimWindowServer::applicationDidBecomeActive() {
    for (auto& panel : panels_) {
        if (std::exchange(panel->hiddenWhileInactive, false) && !panel->released) orderFront(panel);
    }
}

void SimWindowServer::orderFront(const std::shared_ptr<PanelRecord>& record) {
    orderOut(record.get());
    record->hiddenWhileInactive = false;
    // In front of every panel of its level or below, behind those of higher levels.
    auto place = std::find_if(order_.begin(), order_.end(),
                              [&](const auto& other) { return other->level <= record->level; });
    order_.insert(place, record);
    record->visible = true;
}

void SimWindowServer::forgetReleased() {
    std::size_t released = static_cast<std::size_t>(
        std::count_if(panels_.begin(), panels_.end(), [](const auto& panel) { return panel->released; }));
    for (auto it = panels_.begin(); released > kReleasedPanelsKept && it != panels_.end();) {
        if ((*it)->released) {
            it = panels_.erase(it);
            --released;
        } else {
            ++it;
        }
    }
}

void SimWindowServer::orderOut(const PanelRecord* record) {
    std::erase_if(order_, [&](const auto& other) { return other.get() == record; });
    for (auto& panel : panels_) {
        if (panel.get() == record) panel->visible = false;
    }
}

} // namespace marlowick::sim
