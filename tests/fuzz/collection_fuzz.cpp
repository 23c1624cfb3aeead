// libFuzzer entry for the collection file reader: the first byte chooses the
// picture or wave reader or one of the bitmap and wave decoders, the rest is
// the input. Anything but success or MediaError is a fault.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/collection_file.h"
#include "media/media_error.h"
#include "media/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t mode = data[0] % 5;
    const std::vector<uint8_t> bytes(data + 1, data + size);
    try {
        switch (mode) {
            case 0: {
                PictureCollection pictures;
                ReadPictureCollection(pictures, bytes);
                break;
            }
            case 1: {
                WaveCollection waves;
                ReadWaveCollection(waves, bytes);
                break;
            }
            case 2: DecodePackedDib(bytes.data(), bytes.size()); break;
            case 3: DecodeBmpFile(bytes.data(), bytes.size()); break;
            case 4: ParseWaveImage(bytes.data(), bytes.size()); break;
        }
    } catch (const MediaError&) {
    }
    return 0;
}
