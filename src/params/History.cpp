#include "History.h"

namespace zyrk {

void History::Start(const ParamImage& image, int page) {
    current_ = oldest_ = newest_ = 0;
    slots_[0] = {image.Data(), page};
}

bool History::Push(const ParamImage& image, int page) {
    if (slots_[current_].bytes == image.Data())
        return false;
    current_ = Next(current_);
    newest_ = current_; // whatever could have been redone is gone
    if (oldest_ == current_)
        oldest_ = Next(oldest_);
    slots_[current_] = {image.Data(), page};
    return true;
}

bool History::Undo(ParamImage& image, int& page) {
    if (!CanUndo())
        return false;
    current_ = Prev(current_);
    image.Assign(slots_[current_].bytes);
    page = slots_[current_].page;
    return true;
}

bool History::Redo(ParamImage& image, int& page) {
    if (!CanRedo())
        return false;
    current_ = Next(current_);
    image.Assign(slots_[current_].bytes);
    page = slots_[current_].page;
    return true;
}

} // namespace zyrk
