// The ".ign" writer and reader.
//
// Input: its first 400 bytes (repeated when the input is shorter) are an image for the
// writer; the whole input is also read as a file.

#include "FuzzCheck.h"
#include "ParamImage.h"
#include "ParameterFile.h"

#include <QByteArray>
#include <cstdint>

using namespace zyrk;

namespace {

constexpr qsizetype kFileBytes = 2591;
constexpr qsizetype kFileLines = 37;
constexpr int kFlagOffsets[] = {off::ServoEnable,  off::ServoEnable + 1, off::TpEnable,
                                off::TpEnable + 1, off::Procenta,        off::Procenta + 1};

ParamImage ImageOf(const uint8_t* data, size_t size, uint8_t fill) {
    ParamImage image;
    for (int i = 0; i < kImageSize; ++i)
        image.Set(i, size == 0 ? fill : data[static_cast<size_t>(i) % size]);
    return image;
}

// The file keeps a flag as 0 or 1: any other byte that means "on" comes back as 1.
ParamImage FlagsAsOnOff(ParamImage image) {
    for (int at : kFlagOffsets)
        image.Set(at, image.At(at) != 0 ? 1 : 0);
    return image;
}

ParamImage Filled(uint8_t fill) {
    ParamImage image;
    for (int i = 0; i < kImageSize; ++i)
        image.Set(i, fill);
    return image;
}

// What the writer writes reads back to the same image, into any image: the fields it
// carries take the written values, every other byte stays as the target had it.
void CheckRoundTrip(const ParamImage& source) {
    const QByteArray text = WriteParameterFile(source);
    FUZZ_CHECK(text.size() == kFileBytes, "a parameter file is 2591 bytes");
    FUZZ_CHECK(text.count('\n') + 1 == kFileLines, "a parameter file is 37 lines");
    const ParamImage expected = FlagsAsOnOff(source);

    ParamImage same = source;
    FUZZ_CHECK(ReadParameterFile(text, same) == FileRead::Ok, "a written file reads cleanly");
    FUZZ_CHECK(same == expected, "what the writer writes reads back to the same image");

    ParamImage zeros = Filled(0x00);
    ParamImage ones = Filled(0xFF);
    FUZZ_CHECK(ReadParameterFile(text, zeros) == FileRead::Ok, "a written file reads cleanly");
    FUZZ_CHECK(ReadParameterFile(text, ones) == FileRead::Ok, "a written file reads cleanly");
    for (int i = 0; i < kImageSize; ++i) {
        const bool carried = zeros.At(i) == expected.At(i) && ones.At(i) == expected.At(i);
        const bool kept = zeros.At(i) == 0x00 && ones.At(i) == 0xFF;
        FUZZ_CHECK(carried || kept, "a byte is either carried by the file or left as it was");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckRoundTrip(ImageOf(data, size, 0));

    const QByteArray text =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ParamImage before = ImageOf(data, size, 0x5A);
    ParamImage image = before;
    const FileRead result = ReadParameterFile(text, image);
    if (result != FileRead::Ok) {
        FUZZ_CHECK(image == before, "a file the reader rejects leaves the image untouched");
        return 0;
    }
    // Whatever was accepted is an image the tool can hold, and so must survive a save.
    CheckRoundTrip(image);
    return 0;
}
