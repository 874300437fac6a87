#pragma once

#include "Port.h"

#include <QString>

namespace zyrk {

// What the link needs from its owner: the editing operations the transfer runs between
// blocks, and a modal message box (which runs a nested event loop; the tick keeps firing).
class LinkHost {
  public:
    virtual ~LinkHost() = default;
    virtual void ApplyLimits() = 0;
    virtual void ShowImage() = 0;
    virtual void ShowMessage(const QString& text) = 0;
    // The port-opening message with the device path and the reason; an owner that has no
    // room for the detail shows the text alone.
    virtual void ShowPortOpenError(const QString& text, const QString& /*path*/,
                                   const PortOpenFailure& /*failure*/) {
        ShowMessage(text);
    }
};

} // namespace zyrk
