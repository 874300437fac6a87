#include "Frame.h"

namespace zyrk {

uint8_t CheckByte(uint8_t command, const uint8_t* data) {
    uint8_t check = static_cast<uint8_t>(~command);
    for (int i = 0; i < kFrameData; ++i)
        check ^= data[i];
    return check;
}

bool FrameIsValid(const QByteArray& frame) {
    if (frame.size() < kFrameSize)
        return false;
    uint8_t x = 0xFF;
    for (int i = 0; i < kFrameSize; ++i)
        x ^= FrameByte(frame, i);
    return x == 0;
}

QByteArray MakeFrame(uint8_t command, const uint8_t* data) {
    QByteArray frame(kFrameSize, '\0');
    frame[0] = static_cast<char>(command);
    if (data) {
        for (int i = 0; i < kFrameData; ++i)
            frame[1 + i] = static_cast<char>(data[i]);
    }
    frame[kFrameSize - 1] = static_cast<char>(CheckByte(command, FrameData(frame)));
    return frame;
}

} // namespace zyrk
