// The video's Opus track and the FFmpeg steps both tracks share: the mixer's
// 44100 Hz stereo is resampled to 48000 Hz (705.6 samples a tick become
// exactly 768), queued, and encoded in the encoder's 20 ms frames.
#include <algorithm>
#include <stdexcept>

#include "media/wave.h"
#include "video/tracks.h"

namespace video {

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    FFmpeg().av_strerror(code, text, sizeof text);
    return text;
}

void Fail(const std::string& path, const std::string& what, int code) {
    std::string message = "video '" + path + "': " + what;
    if (code < 0) message += " (" + ErrorText(code) + ")";
    throw std::runtime_error(message);
}

void MissingEncoder(const std::string& path, const std::string& encoders) {
    // Debian's libavcodec is built with libvpx and libopus; a trimmed build
    // is replaced by the distribution's own (or its "extra" flavour).
    const std::string package = "libavcodec" + std::to_string(LIBAVCODEC_VERSION_MAJOR);
    Fail(path, "the installed FFmpeg has no " + encoders + " encoder; install the Debian package " + package + " (or " +
                   "libavcodec-extra" + std::to_string(LIBAVCODEC_VERSION_MAJOR) + "), which provides it");
}

void Encode(AVFormatContext* file, AVCodecContext* codec, AVStream* stream, const AVFrame* frame, AVPacket* packet,
            const std::string& path) {
    int error = FFmpeg().avcodec_send_frame(codec, frame);
    if (error < 0) Fail(path, "the encoder refused a frame", error);
    for (;;) {
        error = FFmpeg().avcodec_receive_packet(codec, packet);
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return;
        if (error < 0) Fail(path, "cannot encode", error);
        // A picture lasts one tick, the last one too, so the file's length
        // is the number of ticks times 16 ms.
        if (packet->duration == 0 && codec->codec_type == AVMEDIA_TYPE_VIDEO) packet->duration = 1;
        FFmpeg().av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        error = FFmpeg().av_interleaved_write_frame(file, packet);
        if (error < 0) Fail(path, "cannot write", error);
    }
}

namespace {

constexpr int kOpusRate = 48000;
constexpr int kOpusBitRate = 128000;

bool Supports(const AVSampleFormat* formats, AVSampleFormat wanted) {
    for (; formats && *formats != AV_SAMPLE_FMT_NONE; ++formats)
        if (*formats == wanted) return true;
    return false;
}

}  // namespace

SoundTrack::SoundTrack(AVFormatContext* file_, const std::string& path_) : file(file_), path(path_) {
    // libopus first; FFmpeg's own Opus encoder is experimental but will do.
    const AVCodec* encoder = FFmpeg().avcodec_find_encoder_by_name("libopus");
    if (!encoder) encoder = FFmpeg().avcodec_find_encoder(AV_CODEC_ID_OPUS);
    if (!encoder) MissingEncoder(path, "Opus (libopus)");
    codec = FFmpeg().avcodec_alloc_context3(encoder);
    if (!codec) Fail(path, "cannot set up the Opus encoder", AVERROR(ENOMEM));
    codec->sample_fmt = Supports(encoder->sample_fmts, AV_SAMPLE_FMT_S16) || !encoder->sample_fmts
                            ? AV_SAMPLE_FMT_S16
                            : encoder->sample_fmts[0];
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;  // FFmpeg 5 takes it unconst
    FFmpeg().av_channel_layout_copy(&codec->ch_layout, &stereo);
    codec->sample_rate = kOpusRate;
    codec->bit_rate = kOpusBitRate;
    codec->time_base = AVRational{1, kOpusRate};
    codec->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
    if (file->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int error = FFmpeg().avcodec_open2(codec, encoder, nullptr);
    if (error < 0) Fail(path, std::string("cannot open the Opus encoder ") + encoder->name, error);
    smallLastFrame = (encoder->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;

    stream = FFmpeg().avformat_new_stream(file, nullptr);
    if (!stream) Fail(path, "cannot add the sound track", AVERROR(ENOMEM));
    stream->time_base = codec->time_base;
    error = FFmpeg().avcodec_parameters_from_context(stream->codecpar, codec);
    if (error < 0) Fail(path, "cannot describe the sound track", error);

    error = FFmpeg().swr_alloc_set_opts2(&resampler, &codec->ch_layout, codec->sample_fmt, kOpusRate, &stereo,
                                         AV_SAMPLE_FMT_S16, kMixRate, 0, nullptr);
    if (error >= 0) error = FFmpeg().swr_init(resampler);
    if (error < 0) Fail(path, "cannot set up the resampler", error);
    queue = FFmpeg().av_audio_fifo_alloc(codec->sample_fmt, 2, 4 * codec->frame_size);
    frame = FFmpeg().av_frame_alloc();
    packet = FFmpeg().av_packet_alloc();
    if (!queue || !frame || !packet) Fail(path, "cannot set up the sound track", AVERROR(ENOMEM));
    frame->format = codec->sample_fmt;
    frame->sample_rate = kOpusRate;
    frame->nb_samples = codec->frame_size;
    FFmpeg().av_channel_layout_copy(&frame->ch_layout, &codec->ch_layout);
    error = FFmpeg().av_frame_get_buffer(frame, 0);
    if (error < 0) Fail(path, "cannot set up the sound track", error);
}

SoundTrack::~SoundTrack() {
    if (resampled) FFmpeg().av_freep(&resampled[0]);
    FFmpeg().av_freep(&resampled);
    FFmpeg().av_packet_free(&packet);
    FFmpeg().av_frame_free(&frame);
    if (queue) FFmpeg().av_audio_fifo_free(queue);
    FFmpeg().swr_free(&resampler);
    FFmpeg().avcodec_free_context(&codec);
}

void SoundTrack::Queue(const uint8_t* const* input, int count) {
    const int room = FFmpeg().swr_get_out_samples(resampler, count);
    if (room > resampledCapacity) {
        if (resampled) FFmpeg().av_freep(&resampled[0]);
        FFmpeg().av_freep(&resampled);
        const int error =
            FFmpeg().av_samples_alloc_array_and_samples(&resampled, nullptr, 2, room, codec->sample_fmt, 0);
        if (error < 0) Fail(path, "cannot resample the sound", error);
        resampledCapacity = room;
    }
    const int got = FFmpeg().swr_convert(resampler, resampled, room, const_cast<const uint8_t**>(input), count);
    if (got < 0) Fail(path, "cannot resample the sound", got);
    if (got > 0 && FFmpeg().av_audio_fifo_write(queue, reinterpret_cast<void**>(resampled), got) < got)
        Fail(path, "cannot queue the sound", AVERROR(ENOMEM));
}

void SoundTrack::EncodeQueued(bool last) {
    const int size = codec->frame_size;
    while (FFmpeg().av_audio_fifo_size(queue) >= size || (last && FFmpeg().av_audio_fifo_size(queue) > 0)) {
        const int n = std::min(FFmpeg().av_audio_fifo_size(queue), size);
        const int error = FFmpeg().av_frame_make_writable(frame);
        if (error < 0) Fail(path, "cannot encode the sound", error);
        frame->nb_samples = n < size && !smallLastFrame ? size : n;
        FFmpeg().av_audio_fifo_read(queue, reinterpret_cast<void**>(frame->data), n);
        if (frame->nb_samples > n)
            FFmpeg().av_samples_set_silence(frame->data, n, frame->nb_samples - n, 2, codec->sample_fmt);
        frame->pts = nextPts + codec->initial_padding;
        nextPts += frame->nb_samples;
        Encode(file, codec, stream, frame, packet, path);
    }
}

void SoundTrack::Add(const int16_t* samples, int count) {
    const uint8_t* input[1] = {reinterpret_cast<const uint8_t*>(samples)};
    Queue(input, count);
    EncodeQueued(false);
}

void SoundTrack::Finish() {
    Queue(nullptr, 0);  // what the resampler still holds
    EncodeQueued(true);
    Encode(file, codec, stream, nullptr, packet, path);
}

}  // namespace video
