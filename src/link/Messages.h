#pragma once

#include "TextRow.h"

#include <QString>
#include <array>

namespace zyrk {

// Slots of the message table; the numbers are the slots the tool has always used.
enum MsgId : int {
    MsgProgramError = 1,
    MsgVerifyError = 2,
    MsgReadError = 3,
    MsgProgramDevice = 4,
    MsgUnmatchedVersion = 5,
    MsgVerify = 6,
    MsgRead = 7,
    MsgProgramCount = 9,
    MsgComOpenError = 17,
    MsgOpenFileError = 18,
    MsgDefaultSetting = 19,
    MsgUnmatchedFileVersion = 20,
    MsgSaving = 34,
    MsgServoDesired = 38,
    MsgServoMeasured = 39,
    MsgNoPrinter = 40,
};

// The language-dependent texts the code shows, in the language in force at the last fill.
class MessageTable {
  public:
    static constexpr int kSlots = 45;
    const QString& operator[](MsgId id) const { return slots_[static_cast<size_t>(id)]; }
    // Rewrites every used slot with the given language's form.
    void Fill(int language);

  private:
    std::array<QString, kSlots> slots_;
};

} // namespace zyrk
