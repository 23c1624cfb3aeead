// Reading the RIFF wave image of a wave item: "RIFF", size, "WAVE", then
// chunks; the "fmt " chunk gives the format, the "data" chunk the samples,
// any other chunk is skipped by its size. The image's own length bounds
// everything: reading stops at its end.
#include <algorithm>
#include <cstring>

#include "media/media_error.h"
#include "media/object_stream.h"
#include "media/wave.h"

namespace {

[[noreturn]] void Invalid() { throw MediaError("Wave is invalid"); }

bool IsId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

}  // namespace

WaveData ParseWaveImage(const uint8_t* data, size_t size) {
    WaveData wave;
    if (size == 0) return wave;
    ByteReader in(data, size, ByteReader::OnEnd::WaveInvalid);
    if (!IsId(in.Take(4), "RIFF")) Invalid();
    in.U32();  // RIFF size: the binary's length is what counts
    if (!IsId(in.Take(4), "WAVE")) Invalid();

    bool haveFormat = false, haveData = false;
    // Chunks follow one another without padding; fewer than 8 bytes left
    // cannot hold another chunk header and end the image.
    while (in.Remaining() >= 8) {
        const uint8_t* id = in.Take(4);
        // A chunk claiming more than is left (some recorders write the data
        // chunk's size as 0xFFFFFFFF) ends at the end of the image.
        const uint32_t claimed = in.U32();
        const size_t chunkSize = std::min<size_t>(claimed, in.Remaining());
        if (IsId(id, "fmt ")) {
            if (chunkSize < 16) Invalid();
            ByteReader fmt(in.Take(chunkSize), chunkSize, ByteReader::OnEnd::WaveInvalid);
            wave.format.formatTag = fmt.U16();
            wave.format.channels = fmt.U16();
            wave.format.sampleRate = fmt.U32();
            wave.format.byteRate = fmt.U32();
            wave.format.blockAlign = fmt.U16();
            wave.format.bitsPerSample = fmt.U16();
            haveFormat = true;
        } else if (IsId(id, "data")) {
            const uint8_t* samples = in.Take(chunkSize);
            wave.samples.assign(samples, samples + chunkSize);
            haveData = true;
        } else {
            in.Skip(chunkSize);
        }
    }
    if (haveData && !haveFormat) Invalid();
    if (haveFormat && (wave.format.channels == 0 || wave.format.sampleRate == 0 || wave.format.bitsPerSample == 0 ||
                       wave.format.blockAlign == 0))
        Invalid();
    return wave;
}
