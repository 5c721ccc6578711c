#include "sim/status_bar.h"

namespace marlowick::sim {

class SimStatusBar::Item final : public platform::StatusItem, public platform::StatusBarButton {
public:
    platform::StatusBarButton* button() override { return this; }
    void setMenu(std::shared_ptr<platform::Menu> menu) override { menu_ = std::move(menu); }
    std::shared_ptr<platform::Menu> menu() const override { return menu_; }
    void setImage(platform::DrawnImage image) override {
        image_ = std::move(image);
        ++imageChanges_;
    }
    const platform::DrawnImage& image() const override { return image_; }
    int imageChanges() const { return imageChanges_; }

private:
    std::shared_ptr<platform::Menu> menu_;
    platform::DrawnImage image_;
    int imageChanges_ = 0;
};

std::shared_ptr<platform::StatusItem> SimStatusBar::makeStatusItem(double) {
    auto item = std::make_shared<Item>();
    items_.push_back(item);
    return item;
}

std::vector<std::shared_ptr<platform::StatusItem>> SimStatusBar::items() const {
    std::vector<std::shared_ptr<platform::StatusItem>> live;
    for (const auto& weak : items_) {
        if (auto item = weak.lock()) live.push_back(item);
    }
    return live;
}

void SimStatusBar::click(std::size_t index) {
    auto live = items();
    if (index >= live.size()) return;
    if (auto menu = live[index]->menu()) menus_.open(menu);
}

std::vector<int> SimStatusBar::imageChanges() const {
    std::vector<int> counts;
    for (const auto& weak : items_) {
        if (auto item = weak.lock()) counts.push_back(item->imageChanges());
    }
    return counts;
}

} // namespace marlowick::sim
