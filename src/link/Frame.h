#pragma once

#include <QByteArray>
#include <cstdint>

namespace zyrk {

// Every exchange is one 52-byte frame each way: command, 50 data bytes, check byte.
constexpr int kFrameSize = 52;
constexpr int kFrameData = 50;
constexpr uint8_t kCmdMonitor = 0x30;
constexpr uint8_t kCmdMonitorReply = 0xB0;
constexpr uint8_t kCmdReadFlag = 0x40;
constexpr uint8_t kReplyFlag = 0x80;
constexpr uint8_t kBlockMask = 0x3F;

// Check byte: NOT command, XOR every data byte, so that all 52 bytes XOR to 0xFF.
uint8_t CheckByte(uint8_t command, const uint8_t* data);

// A frame is good when 0xFF XOR all of its 52 bytes is 0. Shorter buffers are never good.
bool FrameIsValid(const QByteArray& frame);

// Builds a frame; data may be null for 50 zero bytes.
QByteArray MakeFrame(uint8_t command, const uint8_t* data = nullptr);

inline uint8_t FrameByte(const QByteArray& frame, int i) {
    return static_cast<uint8_t>(frame[i]);
}
inline int FrameWord(const QByteArray& frame, int i) {
    return FrameByte(frame, i) | (FrameByte(frame, i + 1) << 8);
}
inline const uint8_t* FrameData(const QByteArray& frame) {
    return reinterpret_cast<const uint8_t*>(frame.constData()) + 1;
}

} // namespace zyrk
