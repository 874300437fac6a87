#pragma once

#include "ParamImage.h"

#include <array>

namespace zyrk {

// The undo ring: 200 snapshots of the image with the page that was on show. At most 199
// steps can be undone; the oldest snapshot is overwritten when the ring is full.
class History {
  public:
    static constexpr int kSlots = 200;

    void Start(const ParamImage& image, int page);
    // Records the image when it differs from the current snapshot; true when it did.
    bool Push(const ParamImage& image, int page);
    // Puts the previous (next) snapshot into image and page; false at the end of the ring.
    bool Undo(ParamImage& image, int& page);
    bool Redo(ParamImage& image, int& page);
    bool CanUndo() const { return current_ != oldest_; }
    bool CanRedo() const { return current_ != newest_; }

  private:
    struct Snapshot {
        ParamImage::Bytes bytes{};
        int page = 0;
    };
    static uint16_t Next(uint16_t i) { return i + 1 >= kSlots ? 0 : static_cast<uint16_t>(i + 1); }
    static uint16_t Prev(uint16_t i) { return i == 0 ? kSlots - 1 : static_cast<uint16_t>(i - 1); }

    std::array<Snapshot, kSlots> slots_{};
    uint16_t current_ = 0;
    uint16_t oldest_ = 0;
    uint16_t newest_ = 0;
};

} // namespace zyrk
