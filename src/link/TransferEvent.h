#pragma once

#include <cstdint>

namespace zyrk {

// What a block transfer did, for whoever reports it block by block (the command line) or
// points the technician at the block that failed (the window's status bar).
struct TransferEvent {
    enum class Kind : uint8_t {
        Block,   // block accepted (read, programmed or verified)
        Done,    // the verify that ends every transfer passed its last block
        Failed,  // five sends of the block without an acceptable reply
        Version, // the unit reports another program version; the transfer stopped at block 0
    };
    Kind kind = Kind::Block;
    uint8_t mode = 0;         // the LinkMode the event happened in
    int block = 0;            // 0..7
    bool aside = false;       // a read into the side image, or the verify that follows it
    bool beforeWrite = false; // that side read is the one before the first write (restore point)
};

} // namespace zyrk
