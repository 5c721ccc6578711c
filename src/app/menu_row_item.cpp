#include "app/menu_row_item.h"

namespace marlowick {

namespace {

class ItemHost final : public MenuRowHost {
public:
    explicit ItemHost(std::weak_ptr<platform::MenuItem> item) : item_(std::move(item)) {}

    bool isEnabled() const override {
        auto item = item_.lock();
        return item && item->isEnabled();
    }
    bool isHighlighted() const override {
        auto item = item_.lock();
        return item && item->isHighlighted();
    }
    bool hasMenu() const override { return menu() != nullptr; }
    bool menuCanHighlightItems() const override {
        auto owner = menu();
        return owner && owner->respondsToHighlightItem();
    }
    void highlightInMenu() override {
        auto item = item_.lock();
        auto owner = menu();
        if (item && owner && owner->respondsToHighlightItem()) owner->highlightItem(item);
    }
    void cancelMenuTracking() override {
        if (auto owner = menu()) owner->cancelTracking();
    }
    int indexInMenu() const override {
        auto item = item_.lock();
        auto owner = menu();
        return item && owner ? owner->indexOfItem(*item) : -1;
    }
    void performMenuActionAtIndex(int index) override {
        if (auto owner = menu()) owner->performActionForItemAt(index);
    }

private:
    std::shared_ptr<platform::Menu> menu() const {
        auto item = item_.lock();
        return item ? item->menu() : nullptr;
    }

    std::weak_ptr<platform::MenuItem> item_;
};

class RowView final : public platform::MenuItemView {
public:
    explicit RowView(std::shared_ptr<MenuRowView> row) : row_(std::move(row)) {}
    platform::Rect frame() const override { return row_->frame(); }
    void setWidth(double width) override {
        auto frame = row_->frame();
        if (frame.width() == width) return;
        row_->setFrame(platform::Rect(frame.origin, {width, frame.height()}));
    }
    void draw(platform::Canvas& canvas, const platform::SystemColors& colors) override {
        row_->draw(canvas, colors);
    }
    void mouseUp() override { row_->mouseUp(); }
    void setDisplayRequest(std::function<void()> request) override {
        row_->displayRequest = std::move(request);
    }

private:
    std::shared_ptr<MenuRowView> row_;
};

} // namespace

void hostRow(const std::shared_ptr<platform::MenuItem>& item, const std::shared_ptr<MenuRowView>& row) {
    item->setView(std::make_shared<RowView>(row));
    row->setHost(std::make_shared<ItemHost>(item));
}

} // namespace marlowick
