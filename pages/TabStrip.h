// The tab strip TabControl1 as plain state: one caption per page, the selected tab.
// The window's tab row mirrors it. Selecting a tab from a command raises no tab event.
// Captions are page names as CP932 bytes, as a settings file holds them; the window
// converts them for display only.
#pragma once

#include <string>
#include <vector>

namespace mxc9 {

class TabStrip {
  public:
    class Listener {
      public:
        virtual ~Listener() = default;
        // Any change of the captions, their number or the selection.
        virtual void tabsChanged() = 0;
    };

    void setListener(Listener* listener) { listener_ = listener; }

    // The changes made while a Batch lives reach the listener as one change when the
    // last Batch ends, so that a command adding a thousand tabs has the window show them
    // once, not once per tab.
    class Batch {
      public:
        explicit Batch(TabStrip& tabs) : tabs_(tabs) { ++tabs_.batches_; }
        ~Batch() {
            if (--tabs_.batches_ == 0 && tabs_.changed_) {
                tabs_.changed_ = false;
                tabs_.notify();
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        TabStrip& tabs_;
    };

    int count() const { return static_cast<int>(captions_.size()); }
    const std::string& caption(int index) const { return captions_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& captions() const { return captions_; }
    int selected() const { return selected_; }

    void setCaption(int index, const std::string& caption) {
        captions_.at(static_cast<size_t>(index)) = caption;
        notify();
    }
    void append(const std::string& caption) {
        captions_.push_back(caption);
        if (selected_ < 0) selected_ = 0;
        notify();
    }
    void remove(int index) {
        captions_.erase(captions_.begin() + index);
        if (selected_ >= count()) selected_ = count() - 1;
        notify();
    }
    void clear() {
        captions_.clear();
        selected_ = -1;
        notify();
    }
    void select(int index) {
        selected_ = index;
        notify();
    }
    // True when another tab than `except` has this caption (byte for byte).
    bool hasCaption(const std::string& caption, int except = -1) const {
        for (int i = 0; i < count(); ++i)
            if (i != except && captions_[static_cast<size_t>(i)] == caption) return true;
        return false;
    }

  private:
    void notify() {
        if (batches_ > 0) {
            changed_ = true;
        } else if (listener_) {
            listener_->tabsChanged();
        }
    }

    Listener* listener_ = nullptr;
    int batches_ = 0;
    bool changed_ = false;
    std::vector<std::string> captions_;
    int selected_ = -1;
};

}  // namespace mxc9
