// The "default.ini" writer and reader.
//
// Input: its first 402 bytes (repeated when the input is shorter) are an image and the two
// AllCells values; the whole input is also read as a file.

#include "FuzzCheck.h"
#include "ParamImage.h"
#include "Settings.h"

#include <QByteArray>
#include <cstdint>

using namespace zyrk;

namespace {

constexpr int kValues = kImageSize + kServoCount;
constexpr qsizetype kFileBytes = 2508;

uint8_t ByteAt(const uint8_t* data, size_t size, int i, uint8_t fill) {
    return size == 0 ? fill : data[static_cast<size_t>(i) % size];
}

uint8_t ValueAt(const ParamImage& image, const AllCells& allCells, int i) {
    return i < kImageSize ? image.At(i) : allCells[static_cast<size_t>(i - kImageSize)];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ParamImage image;
    AllCells allCells{};
    for (int i = 0; i < kImageSize; ++i)
        image.Set(i, ByteAt(data, size, i, 0));
    for (int s = 0; s < kServoCount; ++s)
        allCells[static_cast<size_t>(s)] = ByteAt(data, size, kImageSize + s, 0);

    const QByteArray text = DefaultIniText(image, allCells);
    FUZZ_CHECK(text.size() == kFileBytes, "default.ini is 2508 bytes");
    ParamImage back;
    AllCells backCells{};
    for (int i = 0; i < kImageSize; ++i)
        back.Set(i, static_cast<uint8_t>(~image.At(i)));
    FUZZ_CHECK(ReadDefaultIni(text, back, backCells) == kValues, "all 402 values read back");
    FUZZ_CHECK(back == image, "the image reads back as written");
    FUZZ_CHECK(backCells == allCells, "AllCells reads back as written");

    // Any text: the values it does not reach stay as they were, so a file cut short or
    // damaged half-way leaves the rest of the image alone.
    const ParamImage before = back;
    const AllCells cellsBefore = backCells;
    const int count = ReadDefaultIni(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
        back, backCells);
    FUZZ_CHECK(count >= 0 && count <= kValues, "the count read is within the file's values");
    for (int i = count; i < kValues; ++i)
        FUZZ_CHECK(ValueAt(back, backCells, i) == ValueAt(before, cellsBefore, i),
                   "values past the count read stay as they were");
    // What was read is what a writer would write for it.
    ParamImage again = back;
    AllCells againCells = backCells;
    FUZZ_CHECK(ReadDefaultIni(DefaultIniText(back, backCells), again, againCells) == kValues &&
                   again == back && againCells == backCells,
               "a read image writes out and reads back unchanged");
    return 0;
}
