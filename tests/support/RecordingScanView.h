#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scan/ScanView.h"

namespace tarnwk::test {

// A scan view that keeps everything the walk shows, and runs a script at each
// "do events" (where a real window would process an Abort click).
class RecordingScanView final : public ScanView {
public:
    void doEvents() override {
        ++doEventsCount;
        if (onDoEvents) onDoEvents(doEventsCount);
    }
    void showFolder(std::string_view text) override { folderLabels.emplace_back(text); }
    void showObjectsScanned(std::int32_t count) override {
        objectsScannedLabel = objectsScannedText(count);
    }
    void showAdwareFound(std::size_t count) override { adwareFoundLabel = adwareFoundText(count); }
    void addFoundItem(FoundItem item) override {
        items.push_back(std::move(item));
        if (onFoundItem) onFoundItem();
    }
    std::size_t foundItemCount() const override { return items.size(); }

    std::vector<std::string> itemTexts() const {
        std::vector<std::string> texts;
        for (const auto& item : items) texts.push_back(item.text);
        return texts;
    }

    int doEventsCount = 0;
    std::function<void(int)> onDoEvents;
    std::function<void()> onFoundItem;
    std::vector<std::string> folderLabels;
    std::string objectsScannedLabel;
    std::string adwareFoundLabel;
    std::vector<FoundItem> items;
};

}  // namespace tarnwk::test
